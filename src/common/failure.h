// The one error type of the core: a failure whose description is what the error box shows
// after "<Command> error." and two CR LF pairs.
#pragma once

#include <stdexcept>
#include <string>

struct Failure : std::runtime_error {
    explicit Failure(const std::string& description) : std::runtime_error(description) {}
};

// The text of the error box for a failure of `command`: "<command> error." + CR LF CR LF +
// description.
inline std::string errorBoxText(const std::string& command, const std::string& description) {
    return command + " error.\r\n\r\n" + description;
}
