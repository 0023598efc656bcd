#include "pack/toc_library_index.h"

#include "common/failure.h"
#include "common/text.h"
#include "pack/staged_name.h"

namespace {

bool isCopyCount(std::string_view text) {
    if (text.empty()) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > kMaxCopies) return false;
    }
    return true;
}

}  // namespace

TocLibraryIndex::TocLibraryIndex(std::vector<TocLibraryLine> lines) : lines_(std::move(lines)) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const TocLibraryLine& line = lines_[i];
        if (!isCopyCount(line.copiesField))
            throw Failure("Library .toc line " + std::to_string(line.lineNumber) + ": copies field '" +
                          quotedName(line.copiesField) + "' is not a whole number from 0 to " +
                          std::to_string(kMaxCopies) + ".");
        firstLineOfPath_.emplace(asciiLower(line.path), i);  // keeps the first line of a path
    }
}

const TocLibraryLine* TocLibraryIndex::find(std::string_view relativePath) const {
    auto it = firstLineOfPath_.find(asciiLower(relativePath));
    return it == firstLineOfPath_.end() ? nullptr : &lines_[it->second];
}
