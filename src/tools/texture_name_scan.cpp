// The windowed ".tga" search behind "List Model Graphics".
#include "tools/texture_name_scan.h"

#include <unordered_set>

namespace {

constexpr std::size_t kWindowSize = 1024;
constexpr std::string_view kExtension = ".tga";

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The index of the first ".tga" in the window (ASCII letters in any case, other bytes
// exactly), or npos.
std::size_t findExtension(std::string_view window) {
    for (std::size_t i = 0; i + kExtension.size() <= window.size(); ++i) {
        std::size_t n = 0;
        while (n < kExtension.size() && lowerAscii(window[i + n]) == kExtension[n]) ++n;
        if (n == kExtension.size()) return i;
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<TextureNameHit> findTextureNames(std::string_view model) {
    std::vector<TextureNameHit> hits;
    std::size_t start = 0;
    // When the zero byte before a ".tga" lies before the window, the window moves back one
    // byte at a time. It never moves back to `floor`'s left: the window that starts there
    // was searched already (after a jump, the one the jump came from; after a name, the one
    // holding that name), so moving past it could only find the same thing again and go
    // round for ever. Offset 0 is the first floor. A ".tga" whose zero byte is out of reach
    // from the floor is passed over.
    std::size_t floor = 0;
    while (start < model.size()) {
        std::string_view window = model.substr(start, kWindowSize);
        std::size_t k = findExtension(window);
        if (k == std::string_view::npos) {
            floor = start + 1;
            start += kWindowSize;
            continue;
        }
        std::size_t zero = window.substr(0, k).rfind('\0');
        if (zero == std::string_view::npos && start > floor) {
            --start;
            continue;
        }
        if (zero != std::string_view::npos) {
            std::size_t nameEnd = k + kExtension.size();
            hits.push_back({std::string(window.substr(zero + 1, nameEnd - zero - 1)), start + k});
        }
        // The next window begins with the "t" of the extension just found.
        start += k + 1;
        floor = start;
    }
    return hits;
}

std::vector<std::string> listedTextureNames(const std::vector<TextureNameHit>& hits) {
    std::vector<std::string> entries;
    std::unordered_set<std::string> seen;
    for (const TextureNameHit& hit : hits) {
        std::size_t from = 0;
        for (;;) {
            std::size_t bar = hit.name.find('|', from);
            std::string entry = hit.name.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
            if (seen.insert(entry).second) entries.push_back(std::move(entry));
            if (bar == std::string::npos) break;
            from = bar + 1;
        }
    }
    return entries;
}
