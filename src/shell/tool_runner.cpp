// The tool runner's command lines: taken apart as Windows takes them apart (on POSIX, where
// the program is started with posix_spawn) and put together so that they come apart again.
#include "shell/tool_runner.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "common/files.h"
#include "shell/form.h"
#include "shell/host_conventions.h"
#include "shell/tool_process.h"


namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool namesExecutableFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(hostPath(path), ec) && mayRun(hostPath(path));
}

}  // namespace

std::optional<ToolCommand> resolveCommandLine(std::string_view commandLine) {
    std::size_t start = 0;
    while (start < commandLine.size() && isBlank(commandLine[start])) ++start;
    std::string_view line = commandLine.substr(start);

    if (!line.empty() && line.front() == '"') {
        std::size_t close = line.find('"', 1);
        std::string program(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        if (!namesExecutableFile(program)) return std::nullopt;
        std::string_view rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
        return ToolCommand{std::move(program), splitArguments(rest)};
    }
    for (std::size_t end = 0; end <= line.size(); ++end) {
        if (end < line.size() && !isBlank(line[end])) continue;
        std::string program(line.substr(0, end));
        if (namesExecutableFile(program)) return ToolCommand{std::move(program), splitArguments(line.substr(end))};
    }
    return std::nullopt;
}

std::vector<std::string> splitArguments(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) return arguments;
        std::string argument;
        bool inQuotes = false;
        for (;;) {
            std::size_t backslashes = 0;
            while (i < text.size() && text[i] == '\\') ++backslashes, ++i;
            bool atQuote = i < text.size() && text[i] == '"';
            bool copyQuote = false;
            if (atQuote) {
                if (backslashes % 2 == 1) {
                    copyQuote = true;
                } else if (inQuotes && i + 1 < text.size() && text[i + 1] == '"') {
                    copyQuote = true;  // "" inside quotes: one literal quote, still quoted
                    ++i;
                } else {
                    inQuotes = !inQuotes;
                }
                backslashes /= 2;
            }
            argument.append(backslashes, '\\');
            if (i == text.size() || (!inQuotes && !atQuote && isBlank(text[i]))) break;
            if (!atQuote || copyQuote) argument += text[i];
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
}

std::string quoteProgramPath(std::string_view path) {
    if (path.find('"') != std::string_view::npos) return "\"\"";
    return "\"" + std::string(path) + "\"";
}

std::string quoteArgument(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only where a quote follows them.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');  // before the closing quote
    quoted += '"';
    return quoted;
}

static std::atomic<std::size_t> helperStarts{0};

void countHelperStart() { ++helperStarts; }

std::size_t helperStartCount() { return helperStarts; }

std::int32_t runAndWait(const std::string& commandLine, std::string* errors) {
    ToolProcess process;
    if (!process.start(commandLine)) return -1;
    std::int32_t exitCode = process.finish();
    if (errors) *errors = process.errors();
    return exitCode;
}
