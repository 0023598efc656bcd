// Packing through the real window: an archive built by hand is opened, extracted whole and
// packed again; the new archive holds the same entries, flags, copies, groups and data.
#include <zlib.h>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <algorithm>

#include "archive/archive_tables.h"
#include "common/files.h"
#include "common/text.h"
#include "extract/test_data.h"
#include "fixtures/mpak_builder.h"
#include "gui_fixture.h"
#include "pack/staged_name.h"

namespace {

struct Original {
    std::string name;  // "/" separators, as stored
    std::string content;
    bool compressed;
    int copies;
};

std::string inflateRaw(const std::string& stored, std::size_t originalSize) {
    std::string out(originalSize, '\0');
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data()));
    z.avail_in = static_cast<uInt>(stored.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    inflateEnd(&z);
    return out;
}

ArchiveTables tablesOf(const fs::path& archive) { return readArchiveTables(archive, readArchiveLayout(archive)); }

TEST_F(GuiTest, ExtractedArchivePacksBackIntoTheSameEntriesGroupsAndData) {
    const std::vector<Original> originals = {{"readme.txt", awkwardBytes(777, 1), false, 1},
                                             {"textures/sky.dds", awkwardBytes(90000, 2), true, 2},
                                             {"textures/ui/hud.tga", awkwardBytes(4096, 3), false, 3},
                                             {"sound/bank+1.fsb", awkwardBytes(20000, 4), true, 1},
                                             {"empty.txt", "", false, 1},
                                             {"levels/a/b/c/map.dat", std::string(100000, 'm'), true, 1},
                                             {"data.v2/x.y", "dots", true, 1}};
    MpakBuilder builder;
    for (const Original& o : originals)
        builder.entry(o.name, o.compressed ? rawDeflate(o.content) : o.content,
                      MpakEntryOptions()
                          .compressed(o.compressed ? 1 : 0)
                          .originalSize(static_cast<std::int32_t>(o.content.size()))
                          .copies(o.copies));
    builder.stocGroup({"textures/sky.dds", "sky.dds"});
    builder.stocGroup({"levels/a/b/c/map.dat", "map.dat", "levels/map.dat"});
    builder.stocRecord("readme.txt");  // a group of one
    builder.stocEntryCount = 3;
    TempDir game;
    writeFile(game / "x.mpak", builder.build());
    start();

    dialogs->fileAnswers.push_back(answer(game / "x.mpak"));
    click("butSelectMPAKfile");
    ASSERT_EQ(control<QListWidget>("List1")->count(), 7);
    click("butSelectAll");
    click("butMassExtract");
    dialogs->folderAnswers.push_back(answer(app / "ExtractedFiles" / "x.mpak"));
    click("butSelectMPAKFolder");
    EXPECT_EQ(control<QLabel>("Label13")->text(), QStringLiteral("x.mpak"));
    click("butPackMPAK");

    EXPECT_TRUE(dialogs->messages.empty());
    QString log = control<QPlainTextEdit>("RichTextBox1")->toPlainText();
    EXPECT_TRUE(
        log.endsWith("4 files zipped.\n7 files packed.\nTOC entries processed: 7\n"
                     "STOC entries processed: 3\n.MPAK pack complete.\n"))
        << log.toStdString();
    EXPECT_TRUE(fs::is_empty(app / "Temp"));

    fs::path repacked = app / "NewMPAKs" / "x.mpak";
    dialogs->fileAnswers.push_back(answer(repacked));
    click("butSelectMPAKfile");
    EXPECT_EQ(control<QListWidget>("List1")->count(), 7);

    // The new archive lists the entries in the byte order of their staged names.
    std::vector<Original> expected = originals;
    auto stagedName = [](const Original& o) {
        return buildStagedName(replaceAll(o.name, '/', '\\'), static_cast<std::int64_t>(o.content.size()),
                               std::to_string(o.copies), false, o.compressed);
    };
    std::sort(expected.begin(), expected.end(),
              [&](const Original& a, const Original& b) { return stagedName(a) < stagedName(b); });
    ArchiveTables tables = tablesOf(repacked);
    ASSERT_EQ(tables.entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const EntrySlot& slot = tables.entries[i];
        const Original& o = expected[i];
        SCOPED_TRACE(o.name);
        EXPECT_EQ(slot.entryPath, replaceAll(o.name, '/', '\\'));
        EXPECT_EQ(slot.entryCompressed, o.compressed ? 1 : 0);
        EXPECT_EQ(slot.entryCopies, o.copies);
        EXPECT_EQ(slot.entryOriginalSize, static_cast<std::int32_t>(o.content.size()));
        std::string stored = readFileRange(repacked, static_cast<std::uint64_t>(slot.entryDataOffset),
                                           static_cast<std::uint64_t>(slot.entryStoredSize));
        EXPECT_EQ(o.compressed ? inflateRaw(stored, o.content.size()) : stored, o.content);
    }
    std::vector<StocGroup> groups = tablesOf(game / "x.mpak").stocGroups;
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_EQ(tables.stocGroups.size(), 3u);
    for (std::size_t i = 0; i < groups.size(); ++i) EXPECT_EQ(tables.stocGroups[i].names, groups[i].names);
}

}  // namespace
