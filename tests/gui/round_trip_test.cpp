// A modder's round trip through the real window and the real helper programs: open a game
// archive, extract everything, edit the folder, pack it with every combination of the STOC
// and compression options, and open each new archive to check every entry, group and byte.

#include <QCheckBox>
#include <QListView>
#include <QRadioButton>
#include <algorithm>
#include <map>

#include "format/archive_tables.h"
#include "common/files.h"
#include "common/text.h"
#include "extract/test_data.h"
#include "fixtures/mpak_builder.h"
#include "gui_fixture.h"
#include "pack/staged_name.h"

namespace {

struct GameFile {
    std::string name;  // as the TOC stores it, "/" separators
    std::string content;
    bool compressed;
    int copies;
    bool isNew = false;
};

const std::vector<GameFile> kGameFiles = {
    {"readme.txt", awkwardBytes(777, 11), false, 1},
    {"textures/sky.dds", awkwardBytes(120000, 12), true, 2},
    {"textures/ui/hud.tga", awkwardBytes(4096, 13), false, 3},
    {"textures/ui/font.tga", std::string(30000, 'f'), true, 1},
    {"sound/music/theme.fsb", awkwardBytes(50000, 14), true, 1},
    {"levels/a/b/c/map.dat", std::string(100000, 'm'), true, 4},
    {"levels/a/b/c/empty.dat", "", false, 1},
    {"scripts/main.lua", "print('hello')\r\n", false, 2},
    {"sound/bank+1.fsb", awkwardBytes(20000, 15), true, 1},  // a "+" that is not a separator
    {"data.v2/x.y", "dots", true, 1},                         // dots the staged name must not split at
};
const std::vector<std::vector<std::string>> kGameGroups = {
    {"textures/sky.dds", "sky.dds"},
    {"levels/a/b/c/map.dat", "map.dat", "levels/map.dat"},
    {"sound/music/theme.fsb", "theme.fsb"},
    {"readme.txt"},  // a group of one
};

class RoundTrip : public GuiTest {
protected:
    void packAndCheck(bool autoAdd, bool compressAll, const std::vector<GameFile>& files) {
        SCOPED_TRACE(std::string("auto-add ") + (autoAdd ? "on" : "off") + ", compress all " +
                     (compressAll ? "on" : "off"));
        (autoAdd ? control<QRadioButton>("radAutoAddNewFiles") : control<QRadioButton>("radIWillMaintainLibrarySTOC"))
            ->setChecked(true);
        control<QCheckBox>("chkCompressAllFiles")->setChecked(compressAll);
        click("butPackMPAK");
        EXPECT_TRUE(dialogs->messages.empty());
        EXPECT_TRUE(endsWith(window->logViewText(), ".MPAK pack complete.\r\n")) << window->logViewText();

        fs::path repacked = app / "NewMPAKs" / "x.mpak";
        dialogs->fileAnswers.push_back(answer(repacked));
        click("butSelectMPAKfile");
        ASSERT_EQ(control<QListView>("List1")->model()->rowCount(), static_cast<int>(files.size()));

        // What the edits should give: entries in the byte order of their staged names.
        std::vector<GameFile> expected = files;
        for (GameFile& f : expected) f.compressed = f.compressed || compressAll;
        auto staged = [](const GameFile& f) {
            return buildStagedName(replaceAll(f.name, '/', '\\'), static_cast<std::int64_t>(f.content.size()),
                                   std::to_string(f.copies), f.isNew, f.compressed);
        };
        std::sort(expected.begin(), expected.end(),
                  [&](const GameFile& a, const GameFile& b) { return staged(a) < staged(b); });

        ArchiveTables tables = readArchiveTables(repacked, readArchiveLayout(repacked));
        ASSERT_EQ(tables.entries.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const EntrySlot& slot = tables.entries[i];
            const GameFile& f = expected[i];
            SCOPED_TRACE(f.name);
            EXPECT_EQ(slot.entryPath, replaceAll(f.name, '/', '\\'));
            EXPECT_EQ(slot.entryCompressed, f.compressed ? 1 : 0);
            EXPECT_EQ(slot.entryCopies, f.copies);
            EXPECT_EQ(slot.entryOriginalSize, static_cast<std::int32_t>(f.content.size()));
            // Every copy holds the same bytes.
            std::string stored = readFileRange(repacked, static_cast<std::uint64_t>(slot.entryDataOffset),
                                               static_cast<std::uint64_t>(slot.entryStoredSize) * f.copies);
            for (int k = 1; k < f.copies; ++k)
                EXPECT_EQ(stored.substr(k * slot.entryStoredSize, slot.entryStoredSize),
                          stored.substr(0, slot.entryStoredSize));
            stored.resize(slot.entryStoredSize);
            EXPECT_EQ(f.compressed ? inflateRaw(stored, f.content.size()) : stored, f.content);
        }

        std::vector<std::vector<std::string>> expectedGroups = kGameGroups;
        if (autoAdd)
            for (const GameFile& f : expected)
                if (f.isNew) expectedGroups.push_back({f.name, std::string(afterLast(f.name, '/'))});
        ASSERT_EQ(tables.stocGroups.size(), expectedGroups.size());
        for (std::size_t i = 0; i < expectedGroups.size(); ++i)
            EXPECT_EQ(tables.stocGroups[i].names, expectedGroups[i]);
    }
};

TEST_F(RoundTrip, EditedFolderPacksWithEveryOptionCombinationIntoWhatTheEditsShouldGive) {
    MpakBuilder builder;
    for (const GameFile& f : kGameFiles)
        builder.entry(f.name, f.compressed ? rawDeflate(f.content) : f.content,
                      MpakEntryOptions()
                          .compressed(f.compressed ? 1 : 0)
                          .originalSize(static_cast<std::int32_t>(f.content.size()))
                          .copies(f.copies));
    for (const auto& group : kGameGroups) builder.stocGroup(group);
    builder.stocEntryCount = static_cast<std::int16_t>(kGameGroups.size());  // the reader counts a group of one
    TempDir game;
    writeFile(game / "x.mpak", builder.build());
    start();  // an empty application folder but for the helper programs and help texts

    dialogs->fileAnswers.push_back(answer(game / "x.mpak"));
    click("butSelectMPAKfile");
    click("butSelectAll");
    click("butMassExtract");
    const fs::path folder = app / "ExtractedFiles" / "x.mpak";
    for (const GameFile& f : kGameFiles) EXPECT_EQ(readFile(folder / f.name), f.content) << f.name;

    // The modder's edits: one file changed, one new file in a new sub-folder.
    std::vector<GameFile> edited = kGameFiles;
    edited[1].content = awkwardBytes(70000, 99);
    writeFile(folder / edited[1].name, edited[1].content);
    GameFile added{"mods/new/added.txt", "a new file\r\n", true, 1, true};
    writeFile(folder / added.name, added.content);
    edited.push_back(added);

    dialogs->folderAnswers.push_back(answer(folder));
    click("butSelectMPAKFolder");
    for (bool autoAdd : {true, false})
        for (bool compressAll : {false, true}) packAndCheck(autoAdd, compressAll, edited);
}

}  // namespace
