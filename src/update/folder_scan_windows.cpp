#include "update/folder_scan.h"

// The walk's own listing serves here.
std::optional<std::vector<ScannedFile>> scanPlainFolder(const std::filesystem::path&, const std::function<void()>&) {
    return std::nullopt;
}
