#include "cli/console_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cli/platform.h"
#include "cli/terminal_text.h"

namespace {

// The status line is painted at most this often; a command's end clears it.
constexpr std::chrono::milliseconds kPaintInterval(100);

// Log lines end in CR LF in the program; a console's lines end in LF. On a terminal, what lies
// between those line ends is shown escaped: only names bring control characters into the log
// (a name's own CR LF cannot be told from a line end and stays one).
std::string consoleText(std::string_view log, bool terminal) {
    std::string text;
    text.reserve(log.size() + 1);
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = std::min(log.find("\r\n", start), log.size());
        if (terminal)
            appendTerminalText(text, log.substr(start, end - start));
        else
            text.append(log, start, end - start);
        if (end < log.size()) text += '\n';
        start = end + 2;
    }
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text;
}

// The first `columns` bytes, not cutting a UTF-8 character in two.
std::string fitted(std::string line, std::size_t columns) {
    if (line.size() <= columns) return line;
    std::size_t end = columns;
    while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    line.resize(end);
    return line;
}

// Names from an archive may hold control characters; on a terminal they would act.
char shown(char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F ? '?' : c; }

}  // namespace

std::string consoleLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        line += (text[i] == '\r' || text[i] == '\n') ? ' ' : shown(text[i]);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

void printError(std::string_view text) {
    std::string line = "error: " + consoleLine(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

ConsoleWindow::ConsoleWindow(ConsoleSettings settings, std::FILE* out, std::FILE* err)
    : settings_(settings), out_(out), err_(err), outTerminal_(isTerminal(out)) {}

void ConsoleWindow::finishCommand() {
    clearStatusLine();
    status_.clear();
    progress_ = -1;
    if (log_ == logPrinted_ || !settings_.printLog) return;
    std::string text = consoleText(log_, outTerminal_);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
    logPrinted_ = log_;
}

void ConsoleWindow::clearList() {
    lines_.clear();
    selection_.clear();
}

void ConsoleWindow::selectAllLines() {
    selection_.resize(lines_.size());
    for (std::size_t i = 0; i < selection_.size(); ++i) selection_[i] = static_cast<int>(i);
}

int ConsoleWindow::nextSelectedLine(int index) const {
    auto next = std::upper_bound(selection_.begin(), selection_.end(), index);
    return next == selection_.end() ? -1 : *next;
}

void ConsoleWindow::setStatus(const std::string& text) {
    if (!settings_.showStatusLine) return;
    status_ = text;
    paintStatusLine();
}

void ConsoleWindow::setProgress(float fraction) {
    if (!settings_.showStatusLine) return;
    progress_ = fraction;
    paintStatusLine();
}

void ConsoleWindow::paintStatusLine() {
    auto time = std::chrono::steady_clock::now();
    if (time < nextPaint_) return;
    std::string line;
    if (progress_ >= 0) {
        char percent[16];
        std::snprintf(percent, sizeof percent, "[%3d%%] ",
                      static_cast<int>(std::lround(std::clamp(progress_, 0.0f, 1.0f) * 100)));
        line = percent;
    }
    line += consoleLine(status_);
    if (line.empty() && !statusPainted_) return;
    nextPaint_ = time + kPaintInterval;
    auto columns = static_cast<std::size_t>(std::max(terminalColumns(err_) - 1, 1));
    line = "\r" + fitted(line, columns) + "\x1b[K";
    std::fwrite(line.data(), 1, line.size(), err_);
    std::fflush(err_);
    statusPainted_ = true;
}

void ConsoleWindow::clearStatusLine() {
    if (!statusPainted_) return;
    std::fputs("\r\x1b[K", err_);
    statusPainted_ = false;
}

void ConsoleWindow::showMessage(const std::string& text, MessageIcon icon, const std::string&) {
    const bool notice = icon == MessageIcon::Information;
    if (notice) return printNote(text);
    clearStatusLine();
    std::string line = "error: " + consoleLine(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), err_);
    std::fflush(err_);
}

void ConsoleWindow::printNote(const std::string& text) {
    if (settings_.quiet) return;
    clearStatusLine();
    std::string line = "note: " + consoleLine(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), err_);
    std::fflush(err_);
}

bool ConsoleWindow::askYesNo(const std::string& text, const std::string&) {
    if (settings_.overwrite) return true;
    showMessage(text + " Answered No: --overwrite answers Yes.", MessageIcon::Exclamation, "");
    return false;
}

std::optional<std::filesystem::path> ConsoleWindow::promptForFile(const FilePrompt&) {
    return std::exchange(fileAnswer_, std::nullopt);
}

std::optional<std::filesystem::path> ConsoleWindow::browseFolder(const std::string&) {
    return std::exchange(folderAnswer_, std::nullopt);
}
