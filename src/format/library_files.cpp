// Writing the library files of an opened archive.
#include "format/library_files.h"

#include "common/failure.h"
#include "common/files.h"
#include "common/links.h"
#include "common/paths.h"
#include "common/text.h"

namespace fs = std::filesystem;

fs::path libraryFilePath(const fs::path& libraryPath, const std::string& archiveName, const char* extension) {
    const std::string name = archiveName + extension;
    const fs::path path = libraryPath / hostPath(name);
    if (!isPlainName(name) || isLinkOrJunction(path))
        throw Failure("The archive name '" + archiveName + "' cannot name a library file in '" + pathText(libraryPath) +
                      "'.");
    return path;
}

namespace {

void writeIfAbsent(const fs::path& path, std::string_view text) {
    if (!fileExists(path)) writeFileReplacing(path, trimTrailingCrLf(text));
}

}  // namespace

void writeLibraryFiles(const fs::path& libraryPath, const std::string& archiveName, std::string_view tocText,
                       std::string_view stocText) {
    writeIfAbsent(libraryFilePath(libraryPath, archiveName, ".toc"), tocText);
    if (!stocText.empty()) writeIfAbsent(libraryFilePath(libraryPath, archiveName, ".stoc"), stocText);
}
