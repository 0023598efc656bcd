#include "update/update_cache.h"

#include <algorithm>
#include <charconv>
#include <string_view>

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

// The next blank-ended number of `line`, taken off its front.
template <typename Number>
bool takeNumber(std::string_view& line, Number& number) {
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc() || end == line.data() + line.size() || *end != ' ') return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()) + 1);
    return true;
}

// The entries are at most 32767: an index past that is a damaged cache line.
constexpr std::size_t kMostEntries = 1 << 15;

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
    loaded_ = true;
    std::string_view rest = std::string_view(text).substr(identity_.size());
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        std::size_t entry = 0;
        FileStamp s;
        if (takeNumber(line, entry) && takeNumber(line, s.size) && takeNumber(line, s.modified) &&
            takeNumber(line, s.changed) && takeNumber(line, s.volume) && takeNumber(line, s.id) && entry < kMostEntries)
            put(read_, entry, {std::string(line), s});
    }
    remembered_.resize(read_.size());
}

void UpdateCache::put(Entries& entries, std::size_t entry, Known known) {
    if (entry >= entries.size()) entries.resize(entry + 1);
    entries[entry] = std::move(known);
}

bool UpdateCache::knownSame(std::size_t entry, const std::string& entryPath, const FileStamp& stamp) const {
    return entry < read_.size() && read_[entry] && read_[entry]->entryPath == entryPath && read_[entry]->stamp == stamp;
}

void UpdateCache::remember(std::size_t entry, const std::string& entryPath, const FileStamp& stamp) {
    const std::int64_t settled = startedAt_ - kClockMargin;
    if (identity_.empty() || entry >= kMostEntries || !oneLine(entryPath) || stamp.changed == 0 ||
        stamp.changed >= settled || stamp.modified >= settled)
        return;
    put(remembered_, entry, {entryPath, stamp});
}

void UpdateCache::save() const {
    if (identity_.empty() || (loaded_ && remembered_ == read_)) return;  // the file says it already
    std::string text = identity_;
    for (std::size_t entry = 0; entry < remembered_.size(); ++entry)
        if (const std::optional<Known>& known = remembered_[entry])
            text += std::to_string(entry) + " " + stampText(known->stamp) + " " + known->entryPath + "\n";
    try {
        writeFileReplacing(file_, text);
    } catch (const std::exception&) {
    }
}
