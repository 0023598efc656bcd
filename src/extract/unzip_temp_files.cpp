#include "extract/unzip_temp_files.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/files.h"
#include "common/links.h"
#include "common/paths.h"
#include "common/text.h"
#include "extract/inflate_ahead.h"
#include "shell/app_paths.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

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

// A ".gz" file parked by the extraction and the file it becomes (nothing when its name would
// lead out of ExtractedFiles).
struct ParkedFile {
    fs::path gzFile;
    std::string tempName;
    std::optional<fs::path> output;
};

// ExtractedFiles\<archive name>\<entry path> for the unflattened Temp name: the archive's own
// name is a host file name (a ":" is allowed outside Windows), the rest an entry path.
std::optional<fs::path> outputOf(const Form& form, std::string_view relative, CheckedFolders& checked) {
    const std::size_t separator = relative.find('\\');
    const std::string_view archiveName = relative.substr(0, separator);
    if (separator == std::string_view::npos || !isPlainName(archiveName)) return std::nullopt;
    const fs::path archiveFolder = form.extractedFilesPath / hostPath(archiveName);
    if (checked.insert(archiveFolder.native()).second && isLinkOrJunction(archiveFolder)) {
        checked.erase(archiveFolder.native());
        return std::nullopt;
    }
    return safeJoin(archiveFolder, relative.substr(separator + 1), &checked);
}

// What Temp holds, and the files the extraction parked that it no longer holds, in the order of
// the names.
std::vector<fs::path> filesInTempAnd(const Form& form, const std::vector<fs::path>& parked) {
    std::vector<fs::path> files = filesIn(form.tempPath);
    std::unordered_set<fs::path::string_type> listed;
    for (const fs::path& file : files) listed.insert(file.filename().native());
    const std::size_t inTemp = files.size();
    for (const fs::path& file : parked)
        if (listed.count(file.filename().native()) == 0) files.push_back(file);
    if (files.size() == inTemp) return files;
    std::stable_sort(files.begin(), files.end(),
                     [](const fs::path& a, const fs::path& b) { return pathText(a.filename()) < pathText(b.filename()); });
    return files;
}

std::vector<ParkedFile> parkedFiles(const Form& form, const std::vector<fs::path>& expected) {
    std::vector<ParkedFile> parked;
    CheckedFolders checked;
    for (const fs::path& gzFile : filesInTempAnd(form, expected)) {
        std::string tempName = pathText(gzFile.filename());
        if (!endsWith(tempName, ".gz")) continue;  // case-sensitive: "x.GZ" is not ours
        std::string relative = unflattenName(std::string_view(tempName).substr(0, tempName.size() - 3));
        parked.push_back({gzFile, tempName, outputOf(form, relative, checked)});
    }
    return parked;
}

// zlibc's exit code for one parked file: the job done ahead moved onto the finished file, or,
// when that job failed or its result cannot be moved there, a job done now, which leaves what a
// run at this turn leaves.
std::int32_t inflateAtTurn(Form& form, InflateAhead& ahead, const ParkedFile& file) {
    const std::function<void()> yield = [&form] { form.window.yield(); };
    std::optional<InflateAhead::Result> early = ahead.take(file.gzFile, yield);
    std::error_code ec;
    if (early && early->exitCode == 0) {
        fs::rename(early->inflated, *file.output, ec);
        if (!ec) return 0;
        fs::remove(early->inflated, ec);
    }
    return ahead.inflateNow(file.gzFile, *file.output, yield);
}

}  // namespace

void UnzipTempFiles(Form& form) {
    InflateAhead ahead(helperProgramPath(form.programFolder, "zlibc"), form.tempPath, form.helperRunsAtOnce);
    UnzipTempFiles(form, ahead);
}

void UnzipTempFiles(Form& form, InflateAhead& ahead, const std::vector<fs::path>& expected) {
    const std::vector<ParkedFile> parked = parkedFiles(form, expected);
    std::int32_t gone = 0;
    for (const ParkedFile& file : parked)  // files parked before the extraction began, if any
        if (file.output) ahead.add(file.gzFile);
    for (std::size_t i = 0; i < parked.size(); ++i) {
        const ParkedFile& file = parked[i];
        // The bar and the file's line move on at its turn, before its job is waited for.
        const float total = static_cast<float>(form.filesUnzippedCount);
        form.window.setProgress(total > 0 ? static_cast<float>(i + 1) / total : 1.0f);
        if (file.output) {
            std::string line = "Unzipping " + std::to_string(i + 1) + "\\" + std::to_string(form.filesUnzippedCount) +
                               ": " + file.tempName;
            form.window.setStatus(line);
            appendLogLine(form, line);
            std::int32_t exitCode = inflateAtTurn(form, ahead, file);
            std::error_code ec;
            if (exitCode != 0 && !nameExists(file.gzFile)) {
                ++gone;
                appendLeftOutLine(form, "Unzip failed (gone from Temp): " + file.tempName);
            } else if (exitCode != 0 || !fs::is_regular_file(*file.output, ec)) {
                appendLeftOutLine(form, "Unzip failed (" + std::to_string(exitCode) + "): " + file.tempName);
            }
        } else {
            appendLeftOutLine(
                form, "Refused unsafe path: " + unflattenName(file.tempName.substr(0, file.tempName.size() - 3)));
        }
        form.window.yield();
        form.window.yield();
        std::error_code ignored;
        fs::remove(file.gzFile, ignored);
        form.window.yield();
        form.window.yield();
        form.window.yield();
    }
    form.filesUnzippedCount -= gone;
    form.filesExtractedCount -= gone;
}
