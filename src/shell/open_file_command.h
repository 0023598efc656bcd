// The four open-file commands share one shape: the prompt with the remembered folder, then
// the command's procedure under the command's error report. Cancel changes nothing and is
// refused with no error text.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "shell/outcome.h"
#include "shell/window.h"

struct Form;

inline const FilePrompt kMpakPrompt{"Select File [.mpak]", ".mpak type files (*.mpak)|*.mpak"};
inline const FilePrompt kModelPrompt{"Select File [.mmod]", ".mmod type files (*.mmod)|*.mmod"};
inline const FilePrompt kFsbPrompt{"Select File [.fsb]", ".fsb type files (*.fsb)|*.fsb"};
inline const FilePrompt kMpkgPrompt{"Select File [.mpkg]", ".mpkg type files (*.mpkg)|*.mpkg"};

Outcome runOpenFileCommand(Form& form, const std::string& command, const FilePrompt& prompt,
                           const std::function<Outcome(const std::filesystem::path&)>& procedure);
