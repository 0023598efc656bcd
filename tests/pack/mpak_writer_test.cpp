// The writer on its own: staged files and library groups in, an archive out, compared byte for
// byte with one built by hand.
#include "pack/mpak_writer.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/zlib_wrapping.h"
#include "fixtures/archive_contents.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zlib_reference.h"
#include "format/archive_tables.h"
#include "format/saved_archive_check.h"
#include "format/whole_inflate.h"
#include "pack/written_entry_check.h"

using namespace std::string_literals;

namespace {

const char* const kHeaderAndAb = "\x78\x9C\x61\x62";  // a zlib header, then "ab"

class MpakWriterTest : public ::testing::Test {
protected:
    void stage(const std::string& stagedName, const std::string& bytes) {
        writeFile(temp / stagedName, bytes);
        job.stagedFiles.push_back(temp / stagedName);
    }
    void group(std::vector<std::string> names, int line = 1) {
        job.libraryGroups.push_back({static_cast<std::int32_t>(names.size()), std::move(names), line});
    }
    // Writes the archive over an earlier one: its bytes, or the failure's text. No work file is
    // left, and a failure keeps the earlier archive.
    std::string write() {
        writeFile(work / "x.mpak", "earlier archive");
        job.workFolder = work.path();
        job.output = work / "x.mpak";
        std::string result;
        try {
            writeMpak(job, progress, counts);
            result = readFile(job.output);
        } catch (const Failure& f) {
            EXPECT_EQ(readFile(job.output), "earlier archive");
            result = f.what();
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), {}), 1) << "work files left";
        return result;
    }

    TempDir temp, work;
    MpakWriterJob job;
    MpakWriterProgress progress;
    MpakWriterCounts counts;
};

}  // namespace

TEST_F(MpakWriterTest, StoredAndCompressedFilesWithAnyCopyCountGiveTheArchiveBuiltByHand) {
    const std::string stream = zlibWrapped(rawDeflate(std::string(300, 'c')));
    stage("a.txt.5.0.0.unc", "hello");
    stage("b.txt.3.3.0.unc", "xyz");
    stage("c.bin.300.1.0.cmp", stream);
    stage("d.bin.4.1.0.CMP", kHeaderAndAb);  // only ".cmp" exactly is compressed
    MpakBuilder expected;
    expected.entry("a.txt", "hello", MpakEntryOptions().copies(0));
    expected.entry("b.txt", "xyz", MpakEntryOptions().copies(3));  // offsets 4, 7, 10
    expected.entry("c.bin", rawDeflate(std::string(300, 'c')), MpakEntryOptions().compressed(1).originalSize(300));
    expected.entry("d.bin", kHeaderAndAb);
    EXPECT_EQ(write(), expected.build());
}

TEST_F(MpakWriterTest, LibraryGroupsComeFirstThenAGroupPerNewFile) {
    group({"g", "h"});
    group({"solo"});  // a group of one counts like any other, so the reader reads it back
    group({});        // a header of 0 writes nothing
    stage("dir+f.txt.1.1.1.unc", "1");
    stage("old.txt.1.1.0.unc", "2");
    stage("top.txt.1.1.1.unc", "3");
    MpakBuilder expected;
    expected.entry("dir/f.txt", "1").entry("old.txt", "2").entry("top.txt", "3");
    expected.stocGroup({"g", "h"})
        .stocRecord("solo")
        .stocGroup({"dir/f.txt", "f.txt"})
        .stocGroup({"top.txt", "top.txt"});
    expected.stocEntryCount = 4;
    EXPECT_EQ(write(), expected.build());
}

TEST_F(MpakWriterTest, RefusesWhatTheReaderCouldNotReadBackAndKeepsTheEarlierArchive) {
    const std::string longName = std::string(199, 'n') + "\xC3\xA9" + std::string(55, 'n');  // quoted cut before "é"
    const std::vector<std::string> tooLongName = {"a", longName}, zeroByteName = {"a", "\0b"s};
    std::vector<std::string> manyNames;
    for (int i = 0; i < 257; ++i) manyNames.push_back("n" + std::to_string(i));
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { job.stagedFiles.assign(10002, temp / "f.0.1.0.unc"); },
         "Temp holds 10002 staged files; an archive holds at most 10001 files."},
        {[&] { stage("a.1.8192.0.unc", "1"); },
         "The staged file name 'a.1.8192.0.unc' has copies field '8192', not a whole number from 0 to 8191."},
        {[&] { group(manyNames, 3); },
         "The library .stoc group at line 3 has 257 names; a STOC group holds at most 256."},
        {[&] { group(tooLongName); }, "The library .stoc group at line 1: the name '" + longName.substr(0, 199) +
                                          "...' is 256 bytes long; an archive holds names of at most 255 bytes."},
        {[&] { group(zeroByteName); },
         "The library .stoc group at line 1: a name is empty or begins with a zero byte, which the archive reader "
         "would take for the start of a group."},
        {[&] { stage("a.1.1.0.cmp", kHeaderAndAb); },
         "The staged file 'a.1.1.0.cmp' is 4 bytes long, too short to be a zlib stream."},
        {[&] { stage("a.301.1.0.cmp", zlibWrapped(rawDeflate(std::string(300, 'a')))); },
         "The new archive failed its check before replacing anything: entry 1, a: it inflates to 300 bytes, not 301."},
    };
    for (const auto& [setUp, says] : cases) {
        job = {};
        setUp();
        EXPECT_EQ(write(), says);
    }
}

// The entries inflated beside the writing: only a stream that fills its TOC's size exactly is
// taken back by its CRC; the check inflates every other entry, and one whose bytes no longer
// match their CRC, from the file, so that it says what the full check says.
TEST(SavedArchiveCheck, ACrcTakenBesideTheWritingStandsForTheInflationOnlyWhileTheBytesMatchIt) {
    const std::string raw = rawDeflate(awkwardBytes(3000, 7));
    WrittenEntryCheck beside;
    beside.add(0, zlibWrapped(raw), kZlibHeaderBytes, raw.size(), 3000);
    beside.add(1, raw, 0, raw.size(), 3001);
    beside.add(3, "not a stream", 0, 12, 5);
    beside.finish();
    EXPECT_EQ(beside.checkOf(0).way, EntryCheck::Crc);
    EXPECT_EQ(beside.checkOf(0).crc, crc32Of(raw));
    for (std::size_t entry : {1, 2, 3, 4}) EXPECT_EQ(beside.checkOf(entry).way, EntryCheck::Inflate) << entry;

    TempDir dir;
    const fs::path archive = dir / "x.mpak";
    writeFile(archive, archiveOf({{"a.dds", awkwardBytes(3000, 7), true}}).build());
    const EntrySlot slot = readArchiveTables(archive, readArchiveLayout(archive)).entries.at(0);
    const EntryCheck byCrc{EntryCheck::Crc, crc32Of(raw)}, otherCrc{EntryCheck::Crc, ~crc32Of(raw)};
    for (const EntryCheck& how : {byCrc, otherCrc})
        EXPECT_NO_THROW(checkSavedArchive(archive, [&](auto) { return how; }));
    std::string bytes = readFile(archive);
    bytes[std::size_t(slot.entryDataOffset)] = 0x07;  // a block of the reserved type
    writeFile(archive, bytes);
    auto failure = [&](const std::function<EntryCheck(std::size_t)>& how) -> std::string {
        try {
            checkSavedArchive(archive, how);
        } catch (const Failure& f) {
            return f.what();
        }
        return "passed";
    };
    const std::string full = failure({});
    EXPECT_TRUE(full.starts_with("The new archive failed its check before replacing anything: entry 1, a.dds: "))
        << full;
    EXPECT_EQ(failure([&](auto) { return byCrc; }), full);
    EXPECT_EQ(failure([](auto) { return EntryCheck{EntryCheck::Place}; }), "passed");
}
