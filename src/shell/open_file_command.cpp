#include "shell/open_file_command.h"

#include <optional>

#include "shell/form.h"
#include "shell/shell_ops.h"

Outcome runOpenFileCommand(Form& form, const std::string& command, const FilePrompt& prompt,
                           const std::function<Outcome(const std::filesystem::path&)>& procedure) {
    std::optional<std::filesystem::path> chosen;
    Outcome prompted = runGuarded(form, command, [&] { chosen = form.window.promptForFile(prompt); });
    if (!prompted.done()) return prompted;
    if (!chosen) return Outcome::refused();
    Outcome outcome;
    Outcome guarded = runGuarded(form, command, [&] { outcome = procedure(*chosen); });
    return guarded.done() ? outcome : guarded;
}
