// "Convert .FSB" (ConvertFSB) and its work, ProcessFSB.
#include "tools/fsb_convert.h"

#include <exception>

#include "common/failure.h"
#include "common/files.h"
#include "common/links.h"
#include "common/text.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/open_file_command.h"
#include "shell/shell_ops.h"
#include "shell/tool_runner.h"
#include "tools/archive_display_reset.h"
#include "tools/sound_name.h"

namespace {

// In an FSB3 bank the 24-byte bank header is followed by the first sample header, whose
// 2-byte size field is followed by the 30-byte name.
constexpr std::uint64_t kFirstNameOffset = 26;
constexpr std::uint64_t kNameFieldSize = 30;

// The title of the conversion error box has no space, unlike every other box.
const std::string kFsbErrorTitle = "VantrelRipper";

// A sound file of an earlier conversion with the name the first sound will be written under.
// A name that could point outside the Sounds folder deletes nothing, and neither does the
// bank itself lying in Sounds under that name: fsbext is about to read it.
void deleteEarlierSound(Form& form, const fs::path& bank, const std::string& soundName) {
    if (!isPlainSoundFileName(soundName)) return;
    const fs::path earlier = form.soundsPath / hostPath(soundName);
    std::error_code ec;
    if (!isLinkOrJunction(earlier) && !fs::is_regular_file(fs::symlink_status(earlier, ec))) return;
    if (fs::equivalent(earlier, bank, ec)) return;
    fs::remove(earlier, ec);
    if (ec) failFile("delete", earlier, ec.message());
    form.window.yield();
}

Outcome convertBank(Form& form, const fs::path& bank) {
    form.resultsFolder.clear();
    appendLogLine(form, "Converting: " + pathText(bank.filename()));
    form.window.showLogText(form.logText, Caret::End);

    std::string soundName = firstSoundName(bank);
    form.window.yield();
    deleteEarlierSound(form, bank, soundName);

    const std::int32_t exitCode = runAndWait(fsbextCommand(helperProgramPath(form.programFolder, "fsbext"), form.soundsPath, bank));
    form.window.yield();
    if (exitCode != 0) {
        form.window.showLogText("", Caret::Start);
        form.window.showMessage(fsbConversionErrorText(exitCode), MessageIcon::None, kFsbErrorTitle);
        return Outcome::failed(fsbConversionErrorText(exitCode));
    }
    appendLogLine(form, "Operation complete.");
    form.window.showLogText(form.logText, Caret::End);
    showResultsFolder(form, form.soundsPath);
    return {};
}

}  // namespace

std::string fsbextCommand(const fs::path& fsbext, const fs::path& soundsFolder, const fs::path& bank) {
    // Quoted as the tool runner splits them, so a name holding '"' or ending in '\' stays one
    // argument, and the program is the one named, whatever blanks its path holds.
    return quoteProgramPath(pathText(fsbext)) + " -d " + quoteArgument(pathText(soundsFolder)) + " -a " +
           quoteArgument(pathText(bank));
}

std::string fsbConversionErrorText(std::int32_t exitCode) {
    return "FSB conversion error (" + std::to_string(exitCode) + ").\r\n\r\nOperation terminated.\r\n";
}

std::string firstSoundName(const fs::path& bank) {
    std::uint64_t size = fileSizeOf(bank);
    if (size < kFirstNameOffset + kNameFieldSize)
        throw Failure("'" + pathText(bank) + "' is " + byteCount(size) +
                      " long, too short for a sound bank: the first sound's name ends at byte 56.");
    std::string field = readFileRange(bank, kFirstNameOffset, kNameFieldSize);
    std::size_t end = field.find('\0');
    if (end == std::string::npos)
        throw Failure("The first sound's name in '" + pathText(bank) +
                      "' (30 bytes at offset 0x1A) has no terminating zero byte.");
    return field.substr(0, end);
}

Outcome ProcessFSB(Form& form, const fs::path& bank) {
    Outcome converted;
    Outcome guarded = runGuarded(
        form, "ProcessFSB",
        [&] {
            resetArchiveDisplay(form);
            converted = convertBank(form, bank);
        },
        [&] {
            form.window.yield();
            form.window.showLogText("", Caret::Start);
        });
    return guarded.done() ? converted : guarded;
}

Outcome ConvertFSB(Form& form) {
    return runOpenFileCommand(form, "ConvertFSB", kFsbPrompt, [&form](const fs::path& chosen) { return ProcessFSB(form, chosen); });
}
