#include "pack/pack_folder.h"

#include "common/files.h"

namespace fs = std::filesystem;

namespace {

fs::path withoutTrailingSeparator(const fs::path& folder) {
    return folder.has_filename() || !folder.has_relative_path() ? folder : folder.parent_path();
}

}  // namespace

bool isPackableFolder(const fs::path& extractedFilesPath, const fs::path& folder) {
    const fs::path given = withoutTrailingSeparator(folder);
    std::error_code ec;
    return given.has_filename() && fs::is_directory(given, ec) &&
           fs::equivalent(given, extractedFilesPath / given.filename(), ec);
}

std::string packFolderCaption(const fs::path& folder) { return pathText(withoutTrailingSeparator(folder).filename()); }

std::string notPackableText(const fs::path& extractedFilesPath, const fs::path& folder) {
    return pathText(withoutTrailingSeparator(folder)) + " is not a folder in ExtractedFiles.\r\n\r\nThe folders that " +
           "can be packed are the ones extraction makes there, one per archive: " + pathText(extractedFilesPath) +
           ".";
}
