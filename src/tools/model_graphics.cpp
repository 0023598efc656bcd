// "List Model Graphics" (GetModelGraphics) and its work, ScanModelFile.
#include "tools/model_graphics.h"

#include <exception>

#include "common/bytes.h"
#include "common/files.h"
#include "common/text.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/open_file_command.h"
#include "shell/shell_ops.h"
#include "tools/texture_name_scan.h"

namespace {

// The whole model, or nothing when it cannot be read.
std::string readModel(const fs::path& model) {
    try {
        std::uint64_t size = fileSizeOf(model);
        toInt32(static_cast<long long>(size), "the length of the model file");
        return readFileRange(model, 0, size);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

void ScanModelFile(Form& form, const fs::path& modelPath) {
    Window& window = form.window;
    std::string model = readModel(modelPath);
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
}

void GetModelGraphics(Form& form) {
    runOpenFileCommand(form, "GetModelGraphics", kModelPrompt,
                       [&form](const fs::path& chosen) { ScanModelFile(form, chosen); });
}
