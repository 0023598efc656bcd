// The reset of the archive display shared by the .mpkg and .fsb tools.
#include "tools/archive_display_reset.h"

#include "shell/form.h"
#include "shell/shell_ops.h"

void clearArchiveDisplay(Form& form) {
    setArchiveName(form, "");
    clearListAndLog(form.window);
}

void resetArchiveDisplay(Form& form) {
    clearArchiveDisplay(form);
    form.window.repaintWindow();
    form.window.yield();
}
