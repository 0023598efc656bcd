// "Open Game .MPAK File": the prompt, then the archive's name and path, then ProcessLibrary.
#include "archive/process_library.h"
#include "common/files.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/open_file_command.h"

Outcome SelectMPAKfile(Form& form) {
    return runOpenFileCommand(form, "SelectMPAKfile", kMpakPrompt, [&form](const std::filesystem::path& chosen) {
        setArchiveName(form, pathText(chosen.filename()));
        form.archivePath = chosen;
        return ProcessLibrary(form);
    });
}
