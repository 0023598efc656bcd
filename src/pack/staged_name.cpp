#include "pack/staged_name.h"

#include "common/failure.h"
#include "common/paths.h"
#include "common/text.h"

std::string buildStagedName(std::string_view relativePath, std::int64_t originalSize, std::string_view copies,
                            bool newFile, bool compressed) {
    std::string name = flattenPath(relativePath);
    name += '.';
    name += std::to_string(originalSize);
    name += '.';
    name += copies;
    name += newFile ? ".1" : ".0";
    name += compressed ? ".cmp" : ".unc";
    return name;
}

namespace {

[[noreturn]] void badName(std::string_view stagedName, const std::string& why) {
    throw Failure("The staged file name '" + quotedName(stagedName) + "' " + why);
}

// Cuts the text after the last "." off `rest` (dot included) and returns it.
std::string_view cutLastField(std::string_view& rest, std::string_view stagedName, const char* field) {
    std::size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos) badName(stagedName, std::string("has no ") + field + " field.");
    std::string_view value = rest.substr(dot + 1);
    rest = rest.substr(0, dot);
    return value;
}

// A whole decimal number from 0 to `max`, digits only.
long long wholeNumber(std::string_view text, long long max, std::string_view stagedName, const char* field) {
    long long value = 0;
    bool ok = !text.empty();
    for (char c : text) {
        if (c < '0' || c > '9' || (value = value * 10 + (c - '0')) > max) {
            ok = false;
            break;
        }
    }
    if (!ok)
        badName(stagedName, std::string("has ") + field + " field '" + std::string(text) +
                                "', not a whole number from 0 to " + std::to_string(max) + ".");
    return value;
}

}  // namespace

StagedName parseStagedName(std::string_view stagedName) {
    StagedName result;
    std::string_view rest = stagedName;
    std::size_t kindDot = rest.rfind('.');
    if (kindDot == std::string_view::npos) badName(stagedName, "has no kind field.");
    result.compressed = rest.substr(kindDot) == ".cmp";
    rest = rest.substr(0, kindDot);
    result.newFile = cutLastField(rest, stagedName, "new-file flag") == "1";
    result.copies = static_cast<std::int16_t>(
        wholeNumber(cutLastField(rest, stagedName, "copies"), kMaxCopies, stagedName, "copies"));
    result.originalSize = static_cast<std::int32_t>(
        wholeNumber(cutLastField(rest, stagedName, "original size"), INT32_MAX, stagedName, "original size"));
    if (rest.empty()) badName(stagedName, "has no path.");
    result.tocName = replaceAll(unflattenName(rest), '\\', '/');
    return result;
}
