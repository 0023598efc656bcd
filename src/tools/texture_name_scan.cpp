// The windowed ".tga" search behind "List Model Graphics".
#include "tools/texture_name_scan.h"

#include <unordered_set>

namespace {

constexpr std::size_t kWindowSize = 1024;
constexpr std::string_view kExtension = ".tga";

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII letters compared without regard to case, other bytes exactly.
bool extensionAt(std::string_view bytes, std::size_t i) {
    if (i + kExtension.size() > bytes.size()) return false;
    for (std::size_t n = 0; n < kExtension.size(); ++n)
        if (lowerAscii(bytes[i + n]) != kExtension[n]) return false;
    return true;
}

std::size_t findExtension(std::string_view window) {
    for (std::size_t i = 0; i + kExtension.size() <= window.size(); ++i)
        if (extensionAt(window, i)) return i;
    return std::string_view::npos;
}

// Moves the window back from `start` one byte at a time while the search would keep doing so:
// its first ".tga" (at `at`) has no zero byte before it in the window. A step changes only
// the window's ends, so only they are looked at. Stops, without going below `floor`, at the
// first start where the search does something else: the new first byte is the zero byte, or
// the ".tga" no longer fits in the window.
std::size_t moveBack(std::string_view model, std::size_t start, std::size_t at, std::size_t floor) {
    while (start > floor) {
        --start;
        if (extensionAt(model, start))
            at = start;  // a nearer ".tga" enters at the front
        else if (at + kExtension.size() > start + kWindowSize || model[start] == '\0')
            break;
    }
    return start;
}

}  // namespace

std::vector<TextureNameHit> findTextureNames(std::string_view model) {
    std::vector<TextureNameHit> hits;
    std::size_t start = 0;
    // The window never moves back to `floor`'s left: the window that starts there was
    // searched already (after a jump, the one the jump came from; after a name, the one
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
            start = moveBack(model, start, start + k, floor);
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
