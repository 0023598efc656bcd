#include "shell/startup.h"

#include "common/leftovers.h"
#include "shell/app_paths.h"
#include "shell/form.h"

std::string windowTitle() {
    return "Vantrel Ripper  ver-" + std::to_string(VR_VERSION_MAJOR) + " build-" + std::to_string(VR_VERSION_REVISION);
}

void initializeForm(Form& form) {
    setWorkFolderPaths(form);
    form.window.setStatus("");
    form.window.showLogText("", Caret::Start);
}

void prepareWorkFolders(Form& form, const FileRemover& remove) {
    createWorkFolders(form);
    // What a killed run left where whole files are written; the extraction and the pack folders
    // are looked at by the commands that write there.
    for (const fs::path& folder : {form.newMpaksPath, form.libraryPath, form.soundsPath})
        removeLeftovers(folder, false);
    clearTempFolderQuietly(form, remove);  // start-up goes on
}

std::string initializationErrorText(const std::string& description) {
    return "Initialization error.\r\n\r\n" + description + "\r\n\r\nTerminating.";
}
