// The check of a new archive before it replaces anything: read back from its file as opening
// it reads it, every entry's data inside the file and every compressed entry inflating to the
// size its TOC gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

// How the check takes one entry's data. Inflate: a compressed entry is inflated from the file.
// Crc: the stored bytes inflated in full to the TOC's size as they were written, so they are read
// back and their CRC-32 compared, and inflated from the file only when it differs. Place: the
// bytes were carried over unchanged, so only where they lie is checked.
struct EntryCheck {
    enum Way { Inflate, Crc, Place } way = Inflate;
    std::uint32_t crc = 0;
};

// Fails (a Failure) naming the first entry that is not whole. The entries are checked on every
// core; `how` may be called from any of them (every entry Inflate when it is not given).
void checkSavedArchive(const std::filesystem::path& archive,
                       const std::function<EntryCheck(std::size_t entry)>& how = {});
