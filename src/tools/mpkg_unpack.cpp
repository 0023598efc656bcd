// "Unpack .MPKG" (DecompressMPKG) and its work, ProcessMPKG.
#include "tools/mpkg_unpack.h"

#include <exception>

#include "common/bytes.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/text.h"
#include "common/zlib_wrapping.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/compression_tool.h"
#include "shell/form.h"
#include "shell/open_file_command.h"
#include "shell/shell_ops.h"
#include "shell/tool_runner.h"
#include "tools/archive_display_reset.h"

namespace {

// The two leading bytes of an .mpkg are not part of its deflate body.
constexpr std::int32_t kMpkgLeadSize = 2;

void deleteEarlierResult(const fs::path& output) {
    std::error_code ec;
    fs::remove(output, ec);
    if (ec) failFile("delete the earlier result", output, ec.message());
}

void unpackMpkg(Form& form, const fs::path& source) {
    form.entriesLeftOutCount = 0;
    form.resultsFolder.clear();
    const std::int32_t fileLength = toInt32(static_cast<long long>(fileSizeOf(source)), "the length of the .mpkg file");
    if (fileLength < kMpkgLeadSize)
        throw Failure("'" + pathText(source) + "' is " + byteCount(static_cast<std::uint64_t>(fileLength)) +
                      " long; an .mpkg file holds at least its two leading bytes.");
    std::string body = readFileRange(source, kMpkgLeadSize, fileLength - kMpkgLeadSize);
    form.window.yield();

    const fs::path workFile = form.tempPath / "mpkg.gz";
    writeFileReplacing(workFile, zlibWrapped(body));
    form.window.yield();

    // An mpkg.dat left by an earlier unpack must never pass for this one's result.
    const fs::path output = form.tempPath / "mpkg.dat";
    deleteEarlierResult(output);

    appendLogLine(form, "Unzipping: " + pathText(source));
    form.window.showLogText(form.logText, Caret::End);
    const std::int32_t exitCode =
        runAndWait(zlibcCommand(helperProgramPath(form.programFolder, "zlibc"), {true, workFile, output}));
    if (exitCode != 0 || !fileExists(output)) {
        appendLeftOutLine(form, "Unzip failed (" + std::to_string(exitCode) + "): mpkg.gz");
        form.window.showLogText(form.logText, Caret::End);
    } else {
        showResultsFolder(form, form.tempPath);
    }
    form.window.yield();
}

}  // namespace

Outcome ProcessMPKG(Form& form, const fs::path& mpkg) {
    Outcome guarded = runGuarded(
        form, "ProcessMPKG",
        [&] {
            resetArchiveDisplay(form);
            unpackMpkg(form, mpkg);
        },
        [&] {
            form.window.yield();
            form.window.yield();
            clearArchiveDisplay(form);
        });
    return guarded.done() ? finishedOutcome(form) : guarded;
}

Outcome DecompressMPKG(Form& form) {
    return runOpenFileCommand(form, "DecompressMPKG", kMpkgPrompt,
                              [&form](const fs::path& chosen) { return ProcessMPKG(form, chosen); });
}
