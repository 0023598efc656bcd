#include "format/mpak_records.h"

#include "common/bytes.h"
#include "common/failure.h"
#include "common/text.h"

namespace {

std::string nameTooLong(std::string_view name) {
    return "name '" + quotedName(name) + "' is " + std::to_string(name.size()) +
           " bytes long; an archive holds names of at most " + std::to_string(kMaxNameLength) + " bytes.";
}

}  // namespace

void appendTocEntryHead(std::string& toc, std::string_view name, std::int32_t storedSize, std::int32_t originalSize,
                        bool compressed, std::int16_t copies) {
    if (name.size() > kMaxNameLength) throw Failure("The " + nameTooLong(name));
    appendI16(toc, static_cast<std::int16_t>(name.size() + 11));
    appendI32(toc, storedSize);
    appendI32(toc, originalSize);
    appendU8(toc, compressed ? 1 : 0);
    appendU8(toc, static_cast<std::uint8_t>(name.size()));
    toc += name;
    appendU8(toc, 0);
    appendI16(toc, copies);
}

void appendStocGroup(std::string& stoc, const std::vector<std::string>& names, const std::string& what) {
    if (names.size() > kMaxGroupNames)
        throw Failure(what + " has " + std::to_string(names.size()) + " names; a STOC group holds at most " +
                      std::to_string(kMaxGroupNames) + ".");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (name.size() > kMaxNameLength) throw Failure(what + ": the " + nameTooLong(name));
        // The reader tells a group's first record from a plain one by the byte after a plain
        // record's terminator, which is the next name's first byte: it must not be 0.
        if (name.empty() || name.front() == '\0')
            throw Failure(what +
                          ": a name is empty or begins with a zero byte, which the archive reader would take "
                          "for the start of a group.");
        appendU8(stoc, static_cast<std::uint8_t>(name.size()));
        stoc += name;
        appendU8(stoc, 0);
        if (i == 0 && names.size() >= 2) appendI16(stoc, static_cast<std::int16_t>(names.size() - 1));
    }
}

std::string mpakHeader(std::int32_t tocSize, std::int32_t stocSize, std::int16_t tocEntryCount,
                       std::int16_t stocEntryCount) {
    std::string header = "MPAK";
    appendI32(header, tocSize);
    appendI32(header, stocSize);
    appendI16(header, tocEntryCount);
    appendI16(header, stocEntryCount);
    return header;
}
