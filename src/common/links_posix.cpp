#include "common/links.h"

namespace fs = std::filesystem;

bool isLinkOrJunction(const fs::path& path) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(path, ec));
}

bool nameExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

fs::path resolvedPath(const fs::path& path) {
    std::error_code ec;
    return fs::weakly_canonical(fs::absolute(path, ec), ec);
}
