#include "archive/other_archive.h"

#include <algorithm>
#include <unordered_set>

#include "common/files.h"
#include "common/links.h"
#include "common/paths.h"
#include "common/text.h"
#include "format/library_files.h"
#include "format/library_readers.h"
#include "shell/form.h"

namespace fs = std::filesystem;

namespace {

// An archive path as the packer matches it: segments joined by "\", ASCII letters in lower case.
std::string matchKey(std::string_view archivePath) {
    std::string key;
    if (std::optional<std::vector<std::string_view>> segments = archivePathSegments(archivePath))
        for (std::string_view segment : *segments) key += (key.empty() ? "" : "\\") + asciiLower(segment);
    return key;
}

std::unordered_set<std::string> entryKeys(const Form& form) {
    std::unordered_set<std::string> keys;
    for (std::int32_t i = 0; i < form.entryCount && static_cast<std::size_t>(i) < form.entries.size(); ++i)
        keys.insert(matchKey(form.entries[static_cast<std::size_t>(i)].entryPath));
    return keys;
}

void note(NotListed& notListed, const std::string& path) {
    if (notListed.count++ == 0) notListed.first = path;
}

}  // namespace

NotListed entriesTheLibraryTocLacks(const Form& form, const std::string& archiveName) {
    NotListed lacking;
    const fs::path toc = form.libraryPath / hostPath(archiveName + ".toc");
    std::vector<std::string> lines;
    try {
        if (!fileExists(toc)) return lacking;
        lines = readLibraryLines(toc);
    } catch (const std::exception&) {
        return lacking;
    }
    std::unordered_set<std::string> listed;
    for (const TocLibraryLine& line : readTocLibrary(lines)) listed.insert(matchKey(line.path));
    for (std::int32_t i = 0; i < form.entryCount && static_cast<std::size_t>(i) < form.entries.size(); ++i) {
        const std::string& path = form.entries[static_cast<std::size_t>(i)].entryPath;
        if (listed.count(matchKey(path)) == 0) note(lacking, path);
    }
    // A .toc that lists nothing the archive lacks is the archive's own, the archive a repack
    // with files added to it.
    const std::unordered_set<std::string> entries = entryKeys(form);
    const bool listsOthers = std::any_of(listed.begin(), listed.end(), [&](const std::string& key) { return entries.count(key) == 0; });
    return listsOthers ? lacking : NotListed{};
}

NotListed filesTheArchiveLacks(const Form& form, const fs::path& archiveFolder) {
    NotListed foreign;
    const std::unordered_set<std::string> listed = entryKeys(form);
    std::vector<std::string> paths;
    std::error_code ec;
    // Links are not followed: extraction never writes through one. (isLinkOrJunction sees the
    // junctions and links that mingw's symlink_status does not.)
    for (fs::recursive_directory_iterator it(archiveFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (isLinkOrJunction(it->path())) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_directory(typeError)) continue;
        const std::string path = archivePathOf(archiveFolder, it->path());
        if (listed.count(matchKey(path)) == 0) paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) note(foreign, path);
    return foreign;
}

std::string libraryTocLacksLine(const std::string& archiveName, const NotListed& entries) {
    return "Library\\" + archiveName + ".toc does not list " + std::to_string(entries.count) +
           " of this archive's entries (first: " + entries.first + "): it was written for another archive named " +
           archiveName + ".";
}

std::string otherArchiveQuestion(const std::string& archiveName, const NotListed& foreignFiles,
                                 const NotListed& unlistedEntries) {
    std::string text;
    if (foreignFiles.count > 0)
        text += "ExtractedFiles\\" + archiveName + " holds " + std::to_string(foreignFiles.count) +
                " files that this archive does not list (first: " + foreignFiles.first +
                "): they may come from another archive named " + archiveName +
                ", and a pack of the folder would take them in.\r\n\r\n";
    if (unlistedEntries.count > 0)
        text += "Library\\" + archiveName + ".toc does not list " + std::to_string(unlistedEntries.count) +
                " of this archive's entries (first: " + unlistedEntries.first +
                "): it was written for another archive named " + archiveName +
                ", and a pack would store those entries as new files.\r\n\r\n";
    return text.empty() ? text : text + "Extract into ExtractedFiles\\" + archiveName + " anyway?";
}
