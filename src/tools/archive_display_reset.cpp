// The reset of the archive display shared by the .mpkg and .fsb tools.
#include "tools/archive_display_reset.h"

#include "shell/form.h"

void clearArchiveDisplay(Window& window) {
    window.clearList();
    window.setItemCountText("0 Items");
    window.setStatus("");
    window.setArchiveName("");
    window.showLogText("", Caret::Start);
}

void resetArchiveDisplay(Form& form) {
    clearArchiveDisplay(form.window);
    form.window.repaintWindow();
    form.window.yield();
}
