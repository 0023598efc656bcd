// A stamp from what stat says of a file, for code that stats files itself.
#pragma once

#include <sys/stat.h>

#include <optional>

#include "common/file_stamp.h"

// Nothing for anything but a regular file.
std::optional<FileStamp> stampOfStatus(const struct stat& status);
