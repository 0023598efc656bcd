// The tool runner: CreateProcess on Windows; on POSIX the command line is taken apart as
// Windows would take it apart, and the program is started with posix_spawn.
#include "shell/tool_runner.h"

#include <algorithm>
#include <filesystem>

#include "shell/form.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

extern char** environ;
#endif

namespace {

constexpr std::size_t kErrorTextLimit = 4096;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool namesExecutableFile(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
#ifdef _WIN32
    return true;
#else
    return access(path.c_str(), X_OK) == 0;
#endif
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

#ifdef _WIN32

std::int32_t runAndWait(const std::string& commandLine, std::string* errors) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (errors) {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return -1;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = writeEnd;
    }
    PROCESS_INFORMATION process{};
    std::string writable = commandLine;  // CreateProcessA may write into the line
    BOOL started = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                                  nullptr, &startup, &process);
    if (writeEnd) CloseHandle(writeEnd);
    if (!started) {
        if (readEnd) CloseHandle(readEnd);
        return -1;
    }
    if (errors) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            if (errors->size() < kErrorTextLimit)
                errors->append(buffer, std::min<std::size_t>(got, kErrorTextLimit - errors->size()));
        CloseHandle(readEnd);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = static_cast<DWORD>(-1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<std::int32_t>(exitCode);
}

#else

namespace {

// Reads the child's standard error until it closes it, keeping the first bytes.
void catchErrors(int readEnd, std::string& errors) {
    char buffer[4096];
    for (;;) {
        ssize_t got = read(readEnd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (errors.size() < kErrorTextLimit)
            errors.append(buffer,
                          std::min<std::size_t>(static_cast<std::size_t>(got), kErrorTextLimit - errors.size()));
    }
    close(readEnd);
}

}  // namespace

std::int32_t runAndWait(const std::string& commandLine, std::string* errors) {
    std::optional<ToolCommand> command = resolveCommandLine(commandLine);
    if (!command) return -1;

    std::vector<char*> argv;
    argv.push_back(command->program.data());
    for (std::string& argument : command->arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (errors) {
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return -1;
        }
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    }
    // The child starts with no blocked signals, whatever the window's thread blocks.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t child = 0;
    // Handles, environment and current folder are inherited; posix_spawn reports a failed
    // exec as its own failure, so a program that cannot run gives -1 here.
    int spawnError = posix_spawn(&child, command->program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (errors) {
        close(pipeEnds[1]);
        if (spawnError == 0)
            catchErrors(pipeEnds[0], *errors);
        else
            close(pipeEnds[0]);
    }
    if (spawnError != 0) return -1;

    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;  // the child cannot be waited for: no exit code to give
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

#endif

std::int32_t RunAndWait(Form& form, const std::string& commandLine, std::string* errors) {
    form.toolExitCode = runAndWait(commandLine, errors);
    return form.toolExitCode;
}
