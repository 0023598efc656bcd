// "List Model Graphics" (GetModelGraphics) and its work, ScanModelFile.
#include "tools/model_graphics.h"

#include <cstdint>
#include <exception>
#include <string>

#include "common/files.h"
#include "common/text.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/open_file_command.h"
#include "shell/shell_ops.h"
#include "tools/texture_name_scan.h"

namespace {

// The whole model, or nothing and why when it cannot be read.
std::string readModel(const fs::path& model, std::string& failure) {
    try {
        std::uint64_t size = fileSizeOf(model);
        if (size > static_cast<std::uint64_t>(INT32_MAX))
            failFile("read", model, "it holds " + std::to_string(size) + " bytes; a model may hold at most 2147483647");
        return readFileRange(model, 0, size);
    } catch (const std::exception& e) {
        failure = e.what();
        return {};
    }
}

}  // namespace

std::string ScanModelFile(Form& form, const fs::path& modelPath) {
    Window& window = form.window;
    std::string failure;
    std::string model = readModel(modelPath, failure);
    window.yield();
    std::string modelName = pathText(modelPath.filename());
    window.showLogText("", Caret::Start);
    form.logText.clear();
    window.setBusy(true);

    std::vector<TextureNameHit> hits = findTextureNames(model);
    for (const TextureNameHit& hit : hits) window.setStatus(hit.name + " loc=" + hexUpper(hit.offset));
    std::vector<std::string> names = listedTextureNames(hits);

    window.setBusy(false);
    window.setStatus("");
    appendLogLine(form, "GRAPHICS FOR MODEL: " + modelName);
    appendLogLine(form, "");
    for (const std::string& name : names) appendLogLine(form, name);
    appendLogLine(form, "");
    appendLogLine(form, "Operation complete.");
    ShowLog(form);
    return failure;
}

// The window lists no names for a model it cannot read and says no more; the outcome says why.
Outcome GetModelGraphics(Form& form) {
    return runOpenFileCommand(form, "GetModelGraphics", kModelPrompt, [&form](const fs::path& chosen) {
        std::string unread = ScanModelFile(form, chosen);
        return unread.empty() ? Outcome{} : Outcome::failed(unread, false);
    });
}
