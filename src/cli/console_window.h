// The Window port on a console. Prompts are answered from the command's arguments; the log
// view's text goes to standard output when a command ends (on a terminal with names escaped);
// notices and error boxes go to standard error as one line each ("note: ...", "error: ...");
// the status line and the progress bar become one line on standard error, rewritten in place,
// shown only on a terminal and only when asked for.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/window.h"

struct ConsoleSettings {
    bool showStatusLine = false;  // standard error is a terminal and -q was not given
    bool quiet = false;           // -q: no notes (errors are always printed)
    bool printLog = true;         // the log on standard output: without -q, or with --log
    bool autoAddNewFiles = true;
    bool compressAllFiles = false;
    bool overwrite = false;  // --overwrite: every question ("Replace them…?") is answered Yes
};

// A message box's text as one console line: each CR LF (and any other line break) becomes a
// blank, other control characters "?"; trailing blanks go.
std::string consoleLine(std::string_view text);
// "error: " and the text as one console line, on standard error.
void printError(std::string_view text);

class ConsoleWindow : public Window {
public:
    explicit ConsoleWindow(ConsoleSettings settings, std::FILE* out = stdout, std::FILE* err = stderr);

    // The answer to the next open-file prompt and to the next folder prompt.
    void answerPrompts(const std::filesystem::path& answer) { fileAnswer_ = folderAnswer_ = answer; }
    // Selects these list lines (ascending) and no others.
    void selectLines(std::vector<int> lines) { selection_ = std::move(lines); }
    // "note: " and the text as one line on standard error, unless quiet.
    void printNote(const std::string& text);
    // The end of a command: the status line goes, and the log view's text is printed when it
    // changed since the last command's.
    void finishCommand();

    void clearList() override;
    void addListLine(const std::string& line) override { lines_.push_back(line); }
    int listLineCount() const override { return static_cast<int>(lines_.size()); }
    std::string listLine(int index) const override { return lines_.at(static_cast<std::size_t>(index)); }
    std::vector<int> selectedLines() const override { return selection_; }
    void selectAllLines() override;
    int selectedLineCount() const override { return static_cast<int>(selection_.size()); }
    int nextSelectedLine(int index) const override;
    void repaintList() override {}
    void setItemCountText(const std::string&) override {}
    void setListExtent(int) override {}
    void showArchiveName(const std::string&) override {}
    void showPackFolderName(const std::string&) override {}

    void setStatus(const std::string& text) override;
    std::string logViewText() const override { return log_; }
    void showLogText(const std::string& text, Caret) override { log_ = text; }
    void focusLog() override {}
    void setProgress(float fraction) override;
    void setBusy(bool) override {}
    void repaintWindow() override {}

    bool autoAddNewFiles() const override { return settings_.autoAddNewFiles; }
    bool compressAllFiles() const override { return settings_.compressAllFiles; }

    void showMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    // No one is there to ask: Yes with --overwrite, otherwise No, and the question is an error.
    bool askYesNo(const std::string& text, const std::string& title) override;
    std::optional<std::filesystem::path> promptForFile(const FilePrompt& prompt) override;
    std::optional<std::filesystem::path> browseFolder(const std::string& title) override;
    bool openFolder(const std::filesystem::path&) override { return false; }
    void yield() override {}

private:
    void paintStatusLine();
    void clearStatusLine();

    ConsoleSettings settings_;
    std::FILE* out_;
    std::FILE* err_;
    bool outTerminal_;  // names in the log are shown escaped (terminal_text.h)
    std::optional<std::filesystem::path> fileAnswer_, folderAnswer_;
    std::vector<std::string> lines_;
    std::vector<int> selection_;
    std::string log_, logPrinted_;
    // The status line: what it says, how full the bar is (below 0: no bar yet), when it may be
    // painted next, and whether a painted one stands on the terminal.
    std::string status_;
    float progress_ = -1;
    std::chrono::steady_clock::time_point nextPaint_{};
    bool statusPainted_ = false;
};
