#include "pack/plain_name.h"

#include "common/paths.h"

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos &&
           name.find_first_of(kDriveCharacters) == std::string_view::npos;
}
