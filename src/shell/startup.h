// Start-up of the window: title, folders and shared state, work folders and Temp.
#pragma once

#include <string>

#include "shell/shell_ops.h"

struct Form;

// "Vantrel Ripper  ver-<major> build-<revision>"
std::string windowTitle();
// Steps that must succeed: folder paths, empty status line and log view.
void initializeForm(Form& form);
// Steps tried each on its own with errors ignored: create the five folders, remove unfinished
// work files of a killed run from NewMPAKs, Library and Sounds, empty Temp.
void prepareWorkFolders(Form& form, const FileRemover& remove = {});
// "Initialization error." + CR LF CR LF + description + CR LF CR LF + "Terminating."
std::string initializationErrorText(const std::string& description);
