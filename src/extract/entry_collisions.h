// Entries that would land on one file. Windows takes names that differ in letter case or in
// trailing dots and blanks for one file, and device names (NUL, COM1...) for no file; and no
// system lets one path be a file for one entry and a folder for another. The first entry in
// the table's order that claims a place keeps it, on every system alike, so that a folder
// extracted here packs into an archive that Windows extracts whole.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "format/entry_slot.h"

class EntryCollisions {
public:
    // `written` says which entries an extraction would write at all.
    EntryCollisions(const std::vector<EntrySlot>& entries, const std::function<bool(const EntrySlot&)>& written);

    // "Refused: <path> would overwrite <earlier path>", "Refused: <path> names a device on
    // Windows" or "Refused: <path> names no file on Windows"; nothing when the entry may be
    // written.
    std::optional<std::string> refusal(std::size_t index) const;
    // The same without "Refused: ".
    std::optional<std::string> reason(std::size_t index) const;

private:
    std::unordered_map<std::size_t, std::string> refusals_;
};
