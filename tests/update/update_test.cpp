// "update" with the real zlibc on archives built byte by byte, read back through the archive
// reader and zlib: what it replaces, adds, removes and keeps, and what it leaves alone.
#include <chrono>
#include <thread>

#include "fixtures/app_folder.h"
#include "fixtures/archive_contents.h"
#include "fixtures/zlib_reference.h"
#include "inspect/archive_diff.h"
#include "inspect/verify_archive.h"
#include "update/update_command.h"

namespace {

class UpdateTest : public AppFolderTest {
protected:
    UpdateTest() { installHelpers({"zlibc"}); }
    fs::path source() const { return app / "game" / "x.mpak"; }
    fs::path folder() const { return form.extractedFilesPath / "x.mpak"; }
    fs::path updated() const { return form.newMpaksPath / "x.mpak"; }
    Outcome update(std::vector<std::string> removePatterns = {}) {
        return UpdateMPAK(form, {source(), folder(), std::move(removePatterns)});
    }
    // Each entry's TOC record and stored bytes of its first copy, as the archive holds them.
    static std::vector<std::string> storedRecords(const fs::path& archive) {
        const ArchiveTables tables = readArchiveTables(archive, readArchiveLayout(archive), {}, true);
        std::vector<std::string> records;
        for (std::size_t i = 0; i < tables.entries.size(); ++i) {
            const EntrySlot& slot = tables.entries[i];
            records.push_back(
                tables.tocHeads[i] + "|" +
                readFileRange(archive, std::uint64_t(slot.entryDataOffset), std::uint64_t(slot.entryStoredSize)));
        }
        return records;
    }
};

std::vector<std::string> groupNames(const fs::path& archive) {
    std::vector<std::string> groups;
    for (const StocGroup& group : readArchiveTables(archive, readArchiveLayout(archive)).stocGroups) {
        std::string joined;
        for (const std::string& name : group.names) joined += (joined.empty() ? "" : ",") + name;
        groups.push_back(joined);
    }
    return groups;
}

}  // namespace

// Extracting all of the update gives the archive's contents with the folder's files laid over
// them, less the removed entries; its tables list the archive's entries in order, then the
// added files.
TEST_F(UpdateTest, ReplacesChangedEntriesAsTheyWereStoredAddsNewFilesRemovesMatchesAndKeepsTheRest) {
    const std::string sky = awkwardBytes(30000, 1);
    writeFile(source(), archiveOf({{"readme.txt", "old readme"},
                                   {"textures/sky.dds", sky, true, 3},
                                   {"sounds/a.wav", "AAAA", true},
                                   {"data/none.bin", "", false, 0},
                                   {"old/gone.txt", "gone"},
                                   {"old/stays.txt", "stays"}})
                            .stocGroup({"readme.txt", "readme"})
                            .stocGroup({"old/gone.txt", "gone.txt"})
                            .stocGroup({"old/stays.txt", "old/gone.txt"})
                            .build());
    writeFile(folder() / "readme.txt", "new readme");
    writeFile(folder() / "textures" / "sky.dds", sky + "edited");
    writeFile(folder() / "sounds" / "a.wav", "AAAA");  // as extracted
    writeFile(folder() / "old" / "gone.txt", "removed all the same");
    writeFile(folder() / "textures" / "new.dds", awkwardBytes(5000, 2));
    const std::vector<std::string> before = storedRecords(source());

    ASSERT_TRUE(update({"old/g*"}).done()) << form.logText;
    EXPECT_EQ(archiveContents(updated()), (Entries{{"readme.txt", "new readme"},
                                                   {"textures\\sky.dds", sky + "edited"},
                                                   {"sounds\\a.wav", "AAAA"},
                                                   {"data\\none.bin", ""},
                                                   {"old\\stays.txt", "stays"},
                                                   {"textures\\new.dds", awkwardBytes(5000, 2)}}));
    const std::vector<std::string> after = storedRecords(updated());
    EXPECT_EQ(after[2], before[2]);  // kept as stored, not compressed again
    EXPECT_EQ(after[3], before[3]);
    EXPECT_EQ(after[4], before[5]);
    const ArchiveTables tables = readArchiveTables(updated(), readArchiveLayout(updated()));
    std::vector<std::string> fields;
    for (const EntrySlot& slot : tables.entries)
        fields.push_back(std::to_string(slot.entryCompressed) + "/" + std::to_string(slot.entryCopies));
    EXPECT_EQ(fields, (std::vector<std::string>{"0/1", "1/3", "1/1", "0/0", "0/1", "1/1"}));
    // The group that only the removed entry named goes; one naming another entry too stays.
    EXPECT_EQ(groupNames(updated()),
              (std::vector<std::string>{"readme.txt,readme", "old/stays.txt", "textures/new.dds,new.dds"}));
    EXPECT_TRUE(verifyArchive(updated()).problems.empty());
    EXPECT_EQ(form.logText,
              "Removed: old\\gone.txt\r\n"
              "Replaced: readme.txt\r\n"
              "Zipping 1: textures\\sky.dds\r\n"
              "Replaced: textures\\sky.dds\r\n"
              "Zipping 2: textures\\new.dds\r\n"
              "Added: textures\\new.dds\r\n"
              "Entries written: 6 (2 replaced, 1 added, 1 removed, 3 kept as stored)\r\n"
              "STOC groups written: 3\r\n"
              ".MPAK update complete.\r\n");
    std::vector<std::string> differences;
    for (const ArchiveDifference& d : diffArchives(source(), updated())) differences.push_back(d.line);
    EXPECT_EQ(differences,
              (std::vector<std::string>{
                  "Changed: readme.txt (content)", "Changed: textures\\sky.dds (content)", "Only in A: old\\gone.txt",
                  "Only in B: textures\\new.dds", "STOC group removed: old/gone.txt (2 names)",
                  "STOC group changed: old/stays.txt", "STOC group added: textures/new.dds (2 names)"}));
    EXPECT_TRUE(filesBelow(form.tempPath).empty());
}

TEST_F(UpdateTest, FromAPartialExtractionTheOtherEntriesKeepTheirRecordsAndStoredBytes) {
    std::vector<TestEntry> entries;
    for (int i = 0; i < 50; ++i)
        entries.push_back(
            {"f" + std::to_string(i) + ".bin", awkwardBytes(300 + i, unsigned(i)), i % 2 == 0, 1 + i % 3});
    entries.push_back({"F7.BIN", "a second entry of one path keeps its own bytes", true});
    writeFile(source(), archiveOf(entries).build());
    for (int i : {7, 20, 41}) writeFile(folder() / ("f" + std::to_string(i) + ".bin"), "edited " + std::to_string(i));
    ASSERT_TRUE(update().done()) << form.logText;
    const std::vector<std::string> before = storedRecords(source()), after = storedRecords(updated());
    ASSERT_EQ(after.size(), 51u);
    EXPECT_EQ(after[50], before[50]);
    const Entries contents = archiveContents(updated());
    for (int i = 0; i < 50; ++i) {
        const bool edited = i == 7 || i == 20 || i == 41;
        EXPECT_EQ(after[i] == before[i], !edited) << i;
        EXPECT_EQ(contents[i].second, edited ? "edited " + std::to_string(i) : entries[i].content) << i;
    }
}

// The cache of what the last update compared: a file it found unchanged is taken as it was until
// anything writes it, even with its modification time set back; another archive or folder, or a
// damaged cache, is no cache. Updates through the command keep it beside the library files.
TEST_F(UpdateTest, AFileTheLastUpdateFoundUnchangedIsTakenAsItWasUntilAnythingWritesIt) {
    writeFile(source(), archiveOf({{"a.txt", "alpha"}, {"b.dds", "bravo", true}}).build());
    writeFile(folder() / "a.txt", "alpha"), writeFile(folder() / "b.dds", "bravo");
    const fs::path cacheFile = app / "x.cache";
    const std::int64_t later = stampNow() + 10'000'000'000;  // files written now count as settled
    auto kinds = [&](std::int64_t startedAt) {
        UpdateCache cache(cacheFile, source(), folder(), startedAt);
        const UpdatePlan plan = planUpdate({source(), folder(), {}}, {}, &cache);
        cache.save();
        std::string text;
        for (const UpdateItem& item : plan.items) text += item.kind == UpdateItem::Kept ? "K" : "R";
        return text;
    };
    auto known = [&](const fs::path& cacheFolder, std::size_t entry, const char* name) {
        return UpdateCache(cacheFile, source(), cacheFolder, later).knownSame(entry, name, *fileStamp(folder() / name));
    };
    EXPECT_EQ(kinds(later), "KK");
    EXPECT_TRUE(known(folder(), 1, "b.dds"));
    EXPECT_FALSE(known(app / "game", 1, "b.dds"));               // the cache of another folder
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // past the change time's clock step
    const auto time = fs::last_write_time(folder() / "b.dds");
    writeFile(folder() / "b.dds", "BRAVO");
    fs::last_write_time(folder() / "b.dds", time);
    EXPECT_EQ(kinds(later), "KR");
    EXPECT_EQ(kinds(stampNow()), "KR");  // an update beginning now takes no file this young
    EXPECT_FALSE(known(folder(), 0, "a.txt"));

    EXPECT_TRUE(UpdateMPAK(form, {source(), folder(), {}}).done());
    EXPECT_TRUE(readFile(form.libraryPath / "x.mpak.update-cache").starts_with("VantrelRipper update cache 1\n"));
}

// Nothing is written when nothing differs, when the request cannot be met, or when zlibc
// fails; an earlier update stays as it was.
TEST_F(UpdateTest, WhatCannotBeUpdatedWritesNothingAndSaysWhy) {
    writeFile(source(), archiveOf({{"a.txt", "a"}, {"b.dds", "bravo", true}}).build());
    writeFile(updated(), "an earlier update");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::vector<std::string> remove;
        std::string error;  // empty: done, nothing said but the notice
    };
    const std::vector<Case> cases = {
        {"no folder", [] {}, {}, "No such folder: '"},
        {"as extracted", [&] { writeFile(folder() / "a.txt", "a"), writeFile(folder() / "b.dds", "bravo"); }, {}, ""},
        {"a pattern matching nothing", [] {}, {"c*"}, "No entry matches c*"},
        {"zlibc failing",
         [&] {
             writeFile(folder() / "b.dds", "changed");
             writeFile(app / programFile("zlibc"), "not a program");
         },
         {},
         "Staging failed: b.dds ("},
    };
    fs::remove_all(folder());
    for (const Case& c : cases) {
        c.arrange();
        window.messages.clear();
        const Outcome outcome = update(c.remove);
        EXPECT_EQ(outcome.done(), c.error.empty()) << c.what;
        EXPECT_NE(outcome.error.find(c.error), std::string::npos) << c.what << ": " << outcome.error;
        if (c.error.empty()) {
            EXPECT_TRUE(startsWith(onlyMessage(), "Nothing to update: every file in ")) << c.what;
        }
        EXPECT_EQ(readFile(updated()), "an earlier update") << c.what;
        EXPECT_TRUE(filesBelow(form.tempPath).empty()) << c.what;
    }
    POSIX_ONLY("names that differ in letter case alone, and a shell script standing in for zlibc");
    writeFile(folder() / "A.TXT", "x");
    EXPECT_NE(update().error.find("'A.TXT' and 'a.txt' in the folder are one entry path"), std::string::npos);
    fs::remove(folder() / "A.TXT");
    installZlibcWritingABrokenStream();
    EXPECT_NE(update().error.find("The new archive failed its check before replacing anything: entry 2, b.dds: its "
                                  "compressed data does not inflate."),
              std::string::npos);
    EXPECT_EQ(readFile(updated()), "an earlier update");
    EXPECT_EQ(filesBelow(form.newMpaksPath).size(), 1u);
}
