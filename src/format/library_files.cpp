// Writing the library files of an opened archive.
#include "format/library_files.h"

#include "common/failure.h"
#include "common/files.h"
#include "common/links.h"
#include "common/paths.h"
#include "common/text.h"
#include "format/mpak_records.h"

namespace fs = std::filesystem;

fs::path libraryFilePath(const fs::path& libraryPath, const std::string& archiveName, const char* extension) {
    const std::string name = archiveName + extension;
    const fs::path path = libraryPath / hostPath(name);
    if (!isPlainName(name) || isLinkOrJunction(path))
        throw Failure("The archive name '" + quotedName(archiveName) + "' cannot name a library file in '" +
                      pathText(libraryPath) + "'.");
    return path;
}

namespace {

void writeIfAbsent(const fs::path& path, std::string_view text) {
    if (!fileExists(path)) writeFileReplacing(path, trimTrailingCrLf(text), Durability::Synced);
}

}  // namespace

void writeLibraryFiles(const fs::path& libraryPath, const std::string& archiveName, std::string_view tocText,
                       std::string_view stocText) {
    writeIfAbsent(libraryFilePath(libraryPath, archiveName, ".toc"), tocText);
    if (!stocText.empty()) writeIfAbsent(libraryFilePath(libraryPath, archiveName, ".stoc"), stocText);
}

std::vector<std::string> readLibraryLines(const fs::path& file) {
    static_assert(kMaxLibraryLineLength > kMaxNameLength + 16, "room for a name, its fields and blanks");
    SequentialReader reader(file);
    std::vector<std::string> lines;
    std::string line;
    auto refuse = [&] {
        throw Failure("Line " + std::to_string(lines.size() + 1) + " of the library file '" + pathText(file) +
                      "' is longer than " + std::to_string(kMaxLibraryLineLength) +
                      " bytes; an archive's entry paths and names hold at most " + std::to_string(kMaxNameLength) +
                      ".");
    };
    bool empty = true;
    for (std::string_view piece; !(piece = reader.read(1 << 16)).empty(); empty = false) {
        for (char c : piece) {
            if (c == '\n' && !line.empty() && line.back() == '\r') {
                line.pop_back();
                lines.push_back(std::move(line));
                line.clear();
                continue;
            }
            line += c;
            // A last CR may yet begin the CR LF that ends the line.
            if (line.size() > kMaxLibraryLineLength + (c == '\r' ? 1 : 0)) refuse();
        }
    }
    if (line.size() > kMaxLibraryLineLength) refuse();
    if (!empty) lines.push_back(std::move(line));
    return lines;
}
