#include "update/update_cache.h"

#include <sstream>

#include "common/files.h"

namespace fs = std::filesystem;

namespace {

const char* const kFormatLine = "VantrelRipper update cache 1\n";

// Coarser than any file system's clock steps (FAT keeps times to 2 s).
constexpr std::int64_t kClockMargin = 3'000'000'000;

std::string stampText(const FileStamp& s) {
    return std::to_string(s.size) + " " + std::to_string(s.modified) + " " + std::to_string(s.changed) + " " +
           std::to_string(s.volume) + " " + std::to_string(s.id);
}

bool oneLine(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

}  // namespace

UpdateCache::UpdateCache(fs::path file, const fs::path& archive, const fs::path& folder, std::int64_t startedAt)
    : file_(std::move(file)), startedAt_(startedAt) {
    const std::optional<FileStamp> archiveStamp = fileStamp(archive);
    const std::string archiveText = pathText(fs::absolute(archive)), folderText = pathText(fs::absolute(folder));
    if (!archiveStamp || !oneLine(archiveText) || !oneLine(folderText)) return;
    identity_ = kFormatLine + archiveText + "\n" + stampText(*archiveStamp) + "\n" + folderText + "\n";
    std::string text;
    try {
        text = readWholeFile(file_);
    } catch (const std::exception&) {
        return;
    }
    if (text.compare(0, identity_.size(), identity_) != 0) return;
    std::istringstream lines(text.substr(identity_.size()));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        Known known{};
        FileStamp& s = known.stamp;
        std::string path;
        if (fields >> known.entry >> s.size >> s.modified >> s.changed >> s.volume >> s.id && fields.get() == ' ' &&
            std::getline(fields, path))
            read_[path] = known;
    }
}

bool UpdateCache::knownSame(std::size_t entry, const std::string& entryPath, const FileStamp& stamp) const {
    auto known = read_.find(entryPath);
    return known != read_.end() && known->second.entry == entry && known->second.stamp == stamp;
}

void UpdateCache::remember(std::size_t entry, const std::string& entryPath, const FileStamp& stamp) {
    const std::int64_t settled = startedAt_ - kClockMargin;
    if (identity_.empty() || !oneLine(entryPath) || stamp.changed == 0 || stamp.changed >= settled ||
        stamp.modified >= settled)
        return;
    remembered_[entryPath] = {entry, stamp};
}

void UpdateCache::save() const {
    if (identity_.empty()) return;
    std::string text = identity_;
    for (const auto& [path, known] : remembered_)
        text += std::to_string(known.entry) + " " + stampText(known.stamp) + " " + path + "\n";
    try {
        writeFileReplacing(file_, text);
    } catch (const std::exception&) {
    }
}
