#include "common/leftovers.h"

#include "common/files.h"
#include "common/links.h"

namespace fs = std::filesystem;

namespace {

// Takes the leading digits off `text`; false when it starts with none.
bool consumeDigits(std::string_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    text.remove_prefix(digits);
    return digits > 0;
}

bool consume(std::string_view& text, std::string_view part) {
    if (text.substr(0, part.size()) != part) return false;
    text.remove_prefix(part.size());
    return true;
}

bool removeIfLeftover(const fs::directory_entry& entry) {
    std::error_code ec;
    return !entry.is_directory(ec) && isLeftoverName(pathText(entry.path().filename())) && fs::remove(entry.path(), ec);
}

}  // namespace

bool isLeftoverName(std::string_view name) {
    if (consume(name, ".inflated-")) return consumeDigits(name) && name.empty();
    if (consume(name, ".zlibc-")) return consumeDigits(name) && name == ".tmp";
    return consume(name, ".vr-") && consumeDigits(name) && consume(name, "-") && consumeDigits(name) && name == ".tmp";
}

int removeLeftovers(const fs::path& folder, bool recursive) {
    int removed = 0;
    std::error_code ec;
    if (!recursive) {
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            removed += removeIfLeftover(*it);
        return removed;
    }
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isLinkOrJunction(it->path()))
            it.disable_recursion_pending();
        else
            removed += removeIfLeftover(*it);
    }
    return removed;
}

std::string leftoversRemovedLine(int count) {
    return "Removed " + std::to_string(count) + (count == 1 ? " unfinished work file" : " unfinished work files") +
           " left by an interrupted run.";
}
