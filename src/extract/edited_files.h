// A modder's edits in the extraction folder: selected entries whose extracted file exists with
// other bytes than the archive's copy would give. Extraction asks before replacing them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

struct Form;
struct EntrySlot;
class EntryCollisions;

// Whether a file holds what extracting the entry from the archive (of `archiveSize` bytes)
// gives, compared as editedFiles compares them.
enum class FileComparison { Same, Differs, EntryUnreadable, FileUnreadable };
FileComparison compareFileWithEntry(const std::filesystem::path& archive, const EntrySlot& slot,
                                    const std::filesystem::path& file, std::uint64_t archiveSize);

struct EditedFiles {
    int count = 0;
    std::string firstPath;  // the first one's entry path, in list order
    bool firstUnreadable = false;
};

// Looks at every selected entry whose file exists below `archiveFolder`: a different size or,
// for the same size, different bytes (a compressed entry is inflated as it is compared, a
// piece at a time, up to the first difference). A file that cannot be read counts. An entry
// whose data cannot be read or inflated would not replace its file: it does not count, nor does
// one that `collisions` refuses (its path names another entry's file).
EditedFiles findEditedFiles(const Form& form, const std::filesystem::path& archiveFolder, std::uint64_t archiveSize,
                            const EntryCollisions& collisions);

// "N extracted files differ from the archive (first: <path>). Replace them with the archive's
// copies?", the path followed by ", which cannot be read" when the first file is unreadable.
std::string replaceQuestion(const EditedFiles& edited);
