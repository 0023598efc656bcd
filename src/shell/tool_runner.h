// Starts a helper program hidden from one command-line string, waits for it without limit
// and returns its exit code.
#pragma once

#include <cstdint>
#include <string>

struct Form;

// The exit code as a signed 32-bit value; -1 when the program cannot be started.
// The program path comes first and is not quoted.
std::int32_t runAndWait(const std::string& commandLine);
// The same, leaving the result in form.toolExitCode as well.
std::int32_t RunAndWait(Form& form, const std::string& commandLine);
