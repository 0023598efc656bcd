// The "Open Folder" and "?" buttons of the three sections. The file manager is started and
// not waited for, and a notice names the folder when none can be started; help texts go into
// the log view without touching logText.
#include <string>

#include "common/files.h"
#include "common/links.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

namespace {

Outcome showHelpText(Form& form, const char* fileName) {
    const fs::path file = form.programFolder / hostPath(fileName);
    std::string text;
    // A missing help file is created empty, so the view shows nothing; every failure is ignored.
    try {
        if (!nameExists(file)) writeWholeFile(file, "");
        text = readWholeFile(file);
    } catch (const std::exception&) {
    }
    form.window.yield();
    form.window.showLogText(text, Caret::Start);
    return {};
}

Outcome openInFileManager(Form& form, const fs::path& folder) {
    if (form.window.openFolder(folder)) return {};
    const std::string notice =
        "The folder " + pathText(folder) + " could not be opened: no file manager could be started.";
    showNotice(form, notice);
    return Outcome::failed(notice);
}

}  // namespace

Outcome OpenExtractorFolder(Form& form) {
    const std::string& archive = form.archiveName;
    if (!archive.empty()) {
        fs::path folder = form.appFolder / "ExtractedFiles" / hostPath(archive);
        std::error_code ec;
        if (fs::is_directory(folder, ec)) return openInFileManager(form, folder);
    }
    return openInFileManager(form, form.appFolder / "ExtractedFiles");
}

Outcome OpenNewMPAKsFolder(Form& form) { return openInFileManager(form, form.appFolder / "NewMPAKs"); }

Outcome OpenSoundsFolder(Form& form) { return openInFileManager(form, form.appFolder / "Sounds"); }

Outcome ShowExtractorHelp(Form& form) { return showHelpText(form, "extracting_files.txt"); }

Outcome ShowPackerHelp(Form& form) { return showHelpText(form, "packing_files.txt"); }

Outcome ShowSoundHelp(Form& form) { return showHelpText(form, "converting_fsb.txt"); }
