// The one error type of the core: a failure whose description is what the error box shows
// after "<Command> error." and two CR LF pairs.
#pragma once

#include <stdexcept>
#include <string>

struct Failure : std::runtime_error {
    explicit Failure(const std::string& description) : std::runtime_error(description) {}
};
