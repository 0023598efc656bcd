// The reset of the archive display shared by the .mpkg and .fsb tools.
#include "tools/archive_display_reset.h"

#include "shell/form.h"
#include "shell/shell_ops.h"

void clearArchiveDisplay(Window& window) {
    window.setArchiveName("");
    clearListAndLog(window);
}

void resetArchiveDisplay(Form& form) {
    clearArchiveDisplay(form.window);
    form.window.repaintWindow();
    form.window.yield();
}
