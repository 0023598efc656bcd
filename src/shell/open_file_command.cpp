#include "shell/open_file_command.h"

#include <optional>

#include "shell/form.h"
#include "shell/shell_ops.h"

void runOpenFileCommand(Form& form, const std::string& command, const FilePrompt& prompt,
                        const std::function<void(const std::filesystem::path&)>& procedure) {
    std::optional<std::filesystem::path> chosen;
    runGuarded(form, command, [&] { chosen = form.window.promptForFile(prompt); });
    if (!chosen) return;
    runGuarded(form, command, [&] { procedure(*chosen); });
}
