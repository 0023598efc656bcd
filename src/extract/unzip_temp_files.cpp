#include "extract/unzip_temp_files.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "shell/compression_tool.h"
#include "shell/form.h"
#include "shell/shell_ops.h"
#include "shell/tool_runner.h"

namespace {

// The files in Temp when the pass starts; a folder that cannot be read gives none (every
// step of the pass runs with errors ignored).
std::vector<fs::path> filesIn(const fs::path& folder) {
    try {
        return filesDirectlyIn(folder);
    } catch (const std::exception&) {
        return {};
    }
}

void inflateOne(Form& form, const fs::path& gzFile, const fs::path& output, const std::string& line) {
    form.window.setStatus(line);
    appendLogLine(form, line);
    std::int32_t exitCode = RunAndWait(form, zlibcInflateCommand(form, gzFile, output));
    std::error_code ec;
    if (exitCode != 0 || !fs::is_regular_file(output, ec))
        appendLogLine(form, "Unzip failed (" + std::to_string(exitCode) + "): " + pathText(gzFile.filename()));
}

}  // namespace

void UnzipTempFiles(Form& form) {
    std::int32_t done = 0;
    for (const fs::path& gzFile : filesIn(form.tempPath)) {
        std::string tempName = pathText(gzFile.filename());
        if (!endsWith(tempName, ".gz")) continue;  // case-sensitive: "x.GZ" is not ours

        std::string relative = unflattenName(std::string_view(tempName).substr(0, tempName.size() - 3));
        if (std::optional<fs::path> output = safeJoin(form.extractedFilesPath, relative))
            inflateOne(form, gzFile, *output,
                       "Unzipping " + std::to_string(done + 1) + "\\" + std::to_string(form.filesUnzippedCount) + ": " +
                           tempName);
        else
            appendLogLine(form, "Refused unsafe path: " + relative);

        form.window.yield();
        form.window.yield();
        std::error_code ignored;
        fs::remove(gzFile, ignored);
        form.window.yield();
        form.window.yield();

        ++done;
        float total = static_cast<float>(form.filesUnzippedCount);
        form.window.setProgress(total > 0 ? static_cast<float>(done) / total : 1.0f);
        form.window.yield();
    }
}
