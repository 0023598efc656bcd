#include "shell/app_paths.h"

#include "common/files.h"
#include "shell/form.h"
#include "shell/helper_pipeline.h"
#include "shell/host_conventions.h"

Form::Form(Window& w, fs::path applicationFolder)
    : window(w),
      appFolder(std::move(applicationFolder)),
      programFolder(appFolder),
      helperRunsAtOnce(defaultHelperRuns()) {
    setWorkFolderPaths(*this);
}

void setArchiveName(Form& form, const std::string& name) {
    form.archiveName = name;
    form.window.showArchiveName(name);
}

void setPackFolderName(Form& form, const std::string& name) {
    form.packFolderName = name;
    form.window.showPackFolderName(name);
}

std::array<fs::path, 5> workFolderPaths(const fs::path& folder) {
    return {folder / "ExtractedFiles", folder / "Temp", folder / "NewMPAKs", folder / "Library", folder / "Sounds"};
}

void setWorkFolderPaths(Form& form) {
    auto [extracted, temp, newMpaks, library, sounds] = workFolderPaths(form.appFolder);
    form.extractedFilesPath = extracted;
    form.tempPath = temp;
    form.newMpaksPath = newMpaks;
    form.libraryPath = library;
    form.soundsPath = sounds;
}

void createWorkFolders(const Form& form) {
    for (const fs::path* folder :
         {&form.extractedFilesPath, &form.tempPath, &form.newMpaksPath, &form.libraryPath, &form.soundsPath}) {
        std::error_code ignored;
        fs::create_directory(*folder, ignored);
    }
}

fs::path helperProgramPath(const fs::path& programFolder, const char* name) {
    return programFolder / hostPath(programFileName(name));
}
