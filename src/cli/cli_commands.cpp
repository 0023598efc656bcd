// The commands over a work folder: each runs the functions behind the window's buttons, in
// the order a person clicks them, through a ConsoleWindow, and turns their outcome into an
// exit code.
#include "cli/cli_commands.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_window.h"
#include "cli/exit_codes.h"
#include "cli/list_command.h"
#include "cli/platform.h"
#include "common/files.h"
#include "common/text.h"
#include "extract/selection.h"
#include "format/entry_pattern.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/shell_ops.h"
#include "shell/startup.h"
#include "shell/work_folder_choice.h"
#include "shell/work_folder_lock.h"
#include "update/update_command.h"

namespace {

// The exit code of a command that has ended. An error no box has shown is said here; the folder
// the results of a command that did its work went to is named.
int finish(const Form& form, ConsoleWindow& window, const Outcome& outcome) {
    window.finishCommand();
    if (!outcome.shown && !outcome.error.empty()) printError(outcome.error);
    const ExitCode code = exitCodeOf(outcome);
    if ((code == kExitDone || code == kExitEntriesLeftOut) && !form.resultsFolder.empty())
        window.printNote("Results in " + pathText(form.resultsFolder));
    return code;
}

// The open-file prompt takes only files that exist; so does the command line.
std::optional<fs::path> existingFile(const std::string& operand) {
    std::error_code ec;
    if (fs::is_regular_file(hostPath(operand), ec)) return fs::absolute(hostPath(operand), ec);
    printError("No such file: '" + operand + "'.");
    return std::nullopt;
}

// The lines whose entry path matches any pattern (each argument a ";"-separated list, as in the
// window's field); nothing when a pattern matches no entry (that has been said), so that a
// mistyped pattern does not pass unseen.
std::optional<std::vector<int>> linesMatching(const Form& form, const std::vector<std::string>& arguments) {
    std::vector<std::string_view> patterns;
    for (const std::string& argument : arguments)
        for (std::string_view pattern : splitPatternList(argument)) patterns.push_back(pattern);
    if (patterns.empty()) return printError("No pattern given: every PATTERN is empty."), std::nullopt;
    PatternMatch match = matchLines(form, patterns);
    if (match.unmatched) return printError("No entry matches " + std::string(*match.unmatched)), std::nullopt;
    return std::move(match.lines);
}

int extract(Form& form, ConsoleWindow& window, const std::vector<std::string>& operands) {
    std::optional<fs::path> archive = existingFile(operands[0]);
    if (!archive) return kExitFailed;
    window.answerPrompts(*archive);
    const Outcome opened = SelectMPAKfile(form);
    if (!opened.done()) return finish(form, window, opened);
    window.finishCommand();
    const std::vector<std::string> patterns(operands.begin() + 1, operands.end());
    if (patterns.empty()) {
        SelectAll(form);
    } else {
        std::optional<std::vector<int>> lines = linesMatching(form, patterns);
        if (!lines) return kExitFailed;
        window.selectLines(std::move(*lines));
    }
    return finish(form, window, MassExtract(form));
}

// FOLDER is a folder name in ExtractedFiles or a path to such a folder; the folder prompt
// refuses any other, as in the window.
int pack(Form& form, ConsoleWindow& window, const std::string& folder) {
#ifdef _WIN32
    const bool path = folder.find_first_of("\\/") != std::string::npos;
#else
    const bool path = folder.find('/') != std::string::npos;
#endif
    window.answerPrompts(path ? hostPath(folder) : form.extractedFilesPath / hostPath(folder));
    const Outcome chosen = SelectMPAKFolder(form);
    return finish(form, window, chosen.done() ? PackMPAK(form) : chosen);
}

// FOLDER defaults to the archive's extraction folder; the patterns are split as extract's are.
int update(Form& form, ConsoleWindow& window, const CliRequest& request) {
    std::optional<fs::path> archive = existingFile(request.operands[0]);
    if (!archive) return kExitFailed;
    UpdateRequest job{*archive, form.extractedFilesPath / archive->filename(), {}};
    std::error_code ec;
    if (request.operands.size() > 1) job.folder = fs::absolute(hostPath(request.operands[1]), ec);
    for (const std::string& argument : request.removePatterns)
        for (std::string_view pattern : splitPatternList(argument)) job.removePatterns.emplace_back(pattern);
    return finish(form, window, UpdateMPAK(form, job));
}

int sideTool(Form& form, ConsoleWindow& window, Outcome (*command)(Form&), const std::string& operand) {
    std::optional<fs::path> file = existingFile(operand);
    if (!file) return kExitFailed;
    window.answerPrompts(*file);
    return finish(form, window, command(form));
}

int runCommand(Form& form, ConsoleWindow& window, const CliRequest& request) {
    const std::vector<std::string>& operands = request.operands;
    switch (request.command) {
        case CliCommand::Extract:
            return extract(form, window, operands);
        case CliCommand::Pack:
            return pack(form, window, operands[0]);
        case CliCommand::Update:
            return update(form, window, request);
        case CliCommand::Mpkg:
            return sideTool(form, window, DecompressMPKG, operands[0]);
        case CliCommand::Fsb:
            return sideTool(form, window, ConvertFSB, operands[0]);
        case CliCommand::Textures:
            return sideTool(form, window, GetModelGraphics, operands[0]);
        default:
            return kExitBadUsage;
    }
}

// In the work folder, made and locked: the Form set up as the window's start-up does, then the
// command; as in the window, anything a command lets escape is its error.
int runInWorkFolder(const CliRequest& request, const fs::path& programFolder, const fs::path& work) {
    ConsoleSettings settings;
    settings.showStatusLine = !request.quiet && isTerminal(stderr);
    settings.quiet = request.quiet;
    settings.printLog = !request.quiet || request.printLog;
    settings.autoAddNewFiles = !request.manualStoc;
    settings.compressAllFiles = request.forceCompression;
    settings.overwrite = request.overwrite;
    ConsoleWindow window(settings);
    Form form(window, work);
    form.programFolder = programFolder;
    form.helperRunsAtOnce = request.jobs.value_or(form.helperRunsAtOnce);
    try {
        initializeForm(form);
        prepareWorkFolders(form);
        return runCommand(form, window, request);
    } catch (const std::exception& e) {
        return finish(form, window, reportError(form, "Command", e.what()));
    }
}

}  // namespace

int runCliCommand(const CliRequest& request, const fs::path& programFolder) {
    if (request.command == CliCommand::List) {
        std::optional<fs::path> archive = existingFile(request.operands[0]);
        return archive ? listArchive(*archive, request.pathsOnly, request.nulEnded) : kExitFailed;
    }
    if (request.command == CliCommand::Verify) {
        std::optional<fs::path> archive = existingFile(request.operands[0]);
        return archive ? verifyArchiveCommand(*archive) : kExitFailed;
    }
    if (request.command == CliCommand::Diff) {
        std::optional<fs::path> a = existingFile(request.operands[0]);
        std::optional<fs::path> b = a ? existingFile(request.operands[1]) : std::nullopt;
        return b ? diffArchivesCommand(*a, *b, request.pathsOnly) : kExitFailed;
    }
    // Without --work, the window's folder: beside the program when it may write there. Either
    // is locked before anything is made in it.
    std::error_code ec;
    ClaimedWorkFolder claimed;
    if (request.workFolder) {
        claimed.folder = fs::absolute(*request.workFolder, ec);
        claimed.lock = std::make_unique<WorkFolderLock>(claimed.folder);
    } else {
        claimed = claimWorkFolder(programFolder);
        claimed.folder = fs::absolute(claimed.folder, ec);
    }
    const fs::path& work = claimed.folder;
    if (claimed.lock->state() == LockState::HeldByAnother) {
        printError("Another copy of Vantrel Ripper is using the work folder '" + pathText(work) + "'.");
        return kExitWorkFolderBusy;
    }
    fs::create_directories(work, ec);
    if (ec || !fs::is_directory(work, ec)) {
        printError("Cannot make the work folder '" + pathText(work) + "'" + (ec ? ": " + ec.message() : "") + ".");
        return kExitFailed;
    }
    if (claimed.lock->state() == LockState::Unavailable) {
        printError(lockRefusalText(work, claimed.lock->problem()));
        return kExitFailed;
    }
    return runInWorkFolder(request, programFolder, work);
}
