// The conventions every command follows: the log view, the progress bar, the error box,
// and emptying Temp.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "shell/outcome.h"

struct Form;

class Window;

// Empties the file list: "0 Items".
void clearFileList(Window& window);
// That, the status line and the log view: the start of a command that shows an archive's list
// or a tool's log afresh.
void clearListAndLog(Window& window);

// Puts logText into the log view with the caret at the end.
void ShowLog(Form& form);
// Appends one line and CR LF to logText.
void appendLogLine(Form& form, const std::string& line);
// The same for a line that says an entry was refused, skipped or failed; counts it in
// entriesLeftOutCount.
void appendLeftOutLine(Form& form, const std::string& line);

// The status line at a command's end names the folder its results went to: "Results in <folder>".
// Kept in form.resultsFolder as well.
void showResultsFolder(Form& form, const std::filesystem::path& folder);

// Shows that text with the exclamation icon and the program's title; fails with it.
Outcome showFailure(Form& form, const std::string& text);
// The same for "<command> error." and the description.
Outcome reportError(Form& form, const std::string& command, const std::string& description);
// Done, or EntriesLeftOut when the command counted any in entriesLeftOutCount.
Outcome finishedOutcome(const Form& form);
// Shows a notice with the information icon and the program's title.
void showNotice(Form& form, const std::string& text);

// Runs `body` under the command's error report: a Failure (or any other exception) ends it
// with `cleanup` (if any), the busy pointer reset and the error box, and fails with the box's
// text. Done when `body` ended without one.
Outcome runGuarded(Form& form, const std::string& command, const std::function<void()>& body,
                const std::function<void()>& cleanup = {});

// Deletes every file directly inside Temp, in name order, yielding after each; sub-folders
// stay. The first file that cannot be deleted ends it with a Failure. `remove` is the
// deletion itself (tests replace it to simulate a file that cannot be deleted).
using FileRemover = std::function<bool(const std::filesystem::path&, std::error_code&)>;
void ClearTempFolder(Form& form, const FileRemover& remove = {});
// The same where a file that cannot be deleted only stops the clearing.
void clearTempFolderQuietly(Form& form, const FileRemover& remove = {});
