// Starts a helper program hidden from one command-line string, waits for it without limit
// and returns its exit code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The exit code as a signed 32-bit value; -1 when the program cannot be started; 128 + the
// signal number when a signal ends it. The program path comes first, quoted or not (see
// resolveCommandLine). With `errors`, what the program wrote to its standard error (its first
// 4 KiB) is given there. It is never shown: the window has no console.
std::int32_t runAndWait(const std::string& commandLine, std::string* errors = nullptr);

// Helper programs started by this process so far (runs and workers alike), for the benchmark.
void countHelperStart();
std::size_t helperStartCount();

// A program path for the start of a command line our code builds, in double quotes so that
// no shorter prefix of it can be taken for the program. A path holding a double quote cannot
// be written so; it gives "", which names no program and makes the run fail with -1.
std::string quoteProgramPath(std::string_view path);

// A command line taken apart: the program to start and the arguments after it.
struct ToolCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// Finds the program as CreateProcess does. A quoted program path runs to the closing quote.
// An unquoted one may contain blanks: the text up to each blank, shortest first, then the
// whole line, is tried, and the first that names an existing executable file is taken. The
// rest of the line splits as splitArguments says. Nothing when no program is found.
std::optional<ToolCommand> resolveCommandLine(std::string_view commandLine);

// Splits argument text as the Windows C runtime does: blanks (space, tab) separate; double
// quotes group; 2n backslashes before a quote give n backslashes and the quote groups, 2n+1
// give n and a literal quote; other backslashes are literal; "" inside quotes is one quote.
std::vector<std::string> splitArguments(std::string_view text);

// The argument in double quotes, escaped so that splitArguments gives it back unchanged.
// A path without quotes and without a trailing backslash is simply enclosed.
std::string quoteArgument(std::string_view argument);
