// A modder's round trip through the real window and the real helper programs: open a game
// archive, extract a scattered selection and then everything, edit the folder, pack it and
// check every entry, group and byte of the new archive, and update the game's archive from the
// same folder. Then what only the list itself shows: its sideways extent and its lines.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "common/files.h"
#include "fixtures/archive_contents.h"
#include "fixtures/zlib_reference.h"
#include "format/archive_tables.h"
#include "gui_fixture.h"

namespace {

// The folder as the modder leaves it, in the order a packed archive holds it: by name, "/"
// counting as "+" and "+" as "%2B". The game's archive lacks the added file and holds other
// bytes for the changed one.
const std::vector<TestEntry> kModFiles = {
    {"data.v2/x.y", "dots", true},  // dots the staged name must not split at
    {"levels/a/b/c/empty.dat", ""},
    {"levels/a/b/c/map.dat", std::string(100000, 'm'), true, 4},
    {"mods/new/added.txt", "a new file\r\n", true},
    {"readme.txt", awkwardBytes(777, 11)},
    {"sound/bank+1.fsb", awkwardBytes(20000, 15), true},  // a "+" that is not a separator
    {"textures/sky.dds", awkwardBytes(70000, 99), true, 2},
    {"textures/ui/hud.tga", awkwardBytes(4096, 13), false, 3},
};
const std::size_t kAdded = 3, kChanged = 6;
const std::vector<std::vector<std::string>> kGameGroups = {
    {"textures/sky.dds", "sky.dds"},
    {"levels/a/b/c/map.dat", "map.dat", "levels/map.dat"},
    {"readme.txt"},  // a group of one
};
// A name that the archive and folder labels must not read as markup (Windows allows no "<").
#ifdef _WIN32
const char* const kArchive = "&lt;b&gt;x.mpak";
#else
const char* const kArchive = "<b>x.mpak";
#endif

class RoundTrip : public GuiTest {
protected:
    fs::path buildGameArchive() {
        std::vector<TestEntry> files = kModFiles;
        files[kChanged].content = awkwardBytes(120000, 12);
        files.erase(files.begin() + kAdded);
        MpakBuilder builder = archiveOf(files);
        for (const auto& group : kGameGroups) builder.stocGroup(group);
        builder.stocEntryCount = static_cast<std::int16_t>(kGameGroups.size());  // the reader counts a group of one
        writeFile(game / kArchive, builder.build());
        return game / kArchive;
    }

    void packAndCheck(bool autoAdd, bool compressAll) {
        SCOPED_TRACE(std::to_string(autoAdd) + " auto-add, " + std::to_string(compressAll) + " compress all");
        control<QRadioButton>(autoAdd ? "radAutoAddNewFiles" : "radIWillMaintainLibrarySTOC")->setChecked(true);
        control<QCheckBox>("chkCompressAllFiles")->setChecked(compressAll);
        click("butPackMPAK");
        EXPECT_TRUE(dialogs->messages.empty());
        EXPECT_TRUE(window->logViewText().ends_with(".MPAK pack complete.\r\n")) << window->logViewText();

        const fs::path packed = app / "NewMPAKs" / kArchive;
        ArchiveTables tables = readArchiveTables(packed, readArchiveLayout(packed));
        ASSERT_EQ(tables.entries.size(), kModFiles.size());
        for (std::size_t i = 0; i < kModFiles.size(); ++i) {
            const EntrySlot& slot = tables.entries[i];
            const TestEntry& f = kModFiles[i];
            const bool compressed = f.compressed || compressAll;
            EXPECT_EQ(std::tuple(slot.entryPath, slot.entryCompressed, slot.entryCopies, slot.entryOriginalSize),
                      std::tuple(replaceAll(f.path, '/', '\\'), compressed ? 1 : 0, f.copies, f.content.size()));
            // Every copy holds the same bytes.
            const std::string copies = readFileRange(packed, slot.entryDataOffset, slot.entryStoredSize * f.copies);
            for (int k = 0; k < f.copies; ++k) {
                const std::string copy = copies.substr(k * std::size_t(slot.entryStoredSize), slot.entryStoredSize);
                EXPECT_EQ(compressed ? inflateRaw(copy, f.content.size()) : copy, f.content) << f.path;
            }
        }
        std::vector<std::vector<std::string>> groups, expectedGroups = kGameGroups;
        for (const auto& group : tables.stocGroups) groups.push_back(group.names);
        if (autoAdd) expectedGroups.push_back({"mods/new/added.txt", "added.txt"});
        EXPECT_EQ(groups, expectedGroups);
    }

    TempDir game;
};

TEST_F(RoundTrip, ExtractedEditedAndPackedFolderHoldsWhatTheEditsShouldGive) {
    start();
    openArchive(buildGameArchive());
    ASSERT_EQ(shownLines().size(), 7);
    EXPECT_EQ(control<QLabel>("Label2")->text(), "7 Items");

    // A scattered selection whose ranges overlap: only its lines are extracted.
    auto* list = control<QListView>("List1");
    for (int row : {1, 2, 3, 6, 2})
        list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
    EXPECT_EQ(window->selectedLineCount(), 4);
    click("butMassExtract");
    const fs::path folder = app / "ExtractedFiles" / kArchive;
    EXPECT_EQ(filesBelow(folder), (Files{{"levels/a/b/c/empty.dat", ""},
                                         {"levels/a/b/c/map.dat", kModFiles[2].content},
                                         {"readme.txt", kModFiles[4].content},
                                         {"textures/ui/hud.tga", kModFiles[7].content}}));

    click("butSelectAll");
    click("butMassExtract");
    EXPECT_EQ(QApplication::focusWidget(), control("RichTextBox1"));
    // The log view shows CR LF as one line break; the window keeps the bytes.
    EXPECT_EQ(control<QPlainTextEdit>("RichTextBox1")->toPlainText().replace('\n', "\r\n").toStdString(),
              window->logViewText());
    EXPECT_EQ(filesBelow(folder).size(), 7u);
    EXPECT_EQ(readFile(folder / kModFiles[kChanged].path), awkwardBytes(120000, 12));
    for (std::size_t i : {kAdded, kChanged}) writeFile(folder / kModFiles[i].path, kModFiles[i].content);  // the edits
    dialogs->folderAnswers.push_back(answer(folder));
    click("butSelectMPAKFolder");
    EXPECT_EQ(dialogs->folderStartedIn, answer(app / "ExtractedFiles"));
    for (auto* label : {control<QLabel>("Label5"), control<QLabel>("Label13")})  // as named, not read as markup
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(kArchive))
            << label->text().toStdString();
    packAndCheck(true, false);
    packAndCheck(false, true);

    // Update: the game's entries in their order, the changed one replaced, then the added file.
    click("butUpdateMPAK");
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(window->logViewText().ends_with(".MPAK update complete.\r\n")) << window->logViewText();
    Entries expected;
    for (std::size_t i : {0, 1, 2, 4, 5, 6, 7, 3})
        expected.emplace_back(replaceAll(kModFiles[i].path, '/', '\\'), kModFiles[i].content);
    EXPECT_EQ(archiveContents(app / "NewMPAKs" / kArchive), expected);
}

TEST_F(RoundTrip, TheListsScrollExtentNeverShrinksAndItsLinesAreTheirBytes) {
    writeFile(game / "wide.mpak", MpakBuilder().entry(std::string(200, 'w'), "w").build());
    writeFile(game / "narrow.mpak", MpakBuilder().entry("caf\xC3\xA9", "a").build());
    start();
    QScrollBar* bar = control<QListView>("List1")->horizontalScrollBar();
    openArchive(game / "wide.mpak");
    const int wideRange = bar->maximum();
    EXPECT_GT(wideRange, 0);
    openArchive(game / "narrow.mpak");
    EXPECT_EQ(bar->maximum(), wideRange);
    // The list shows the line's bytes as text and gives them back unchanged.
    EXPECT_TRUE(window->listLine(0).ends_with(" 00 1 caf\xC3\xA9")) << window->listLine(0);
    EXPECT_EQ(shownLines(), QStringList{QString::fromUtf8(window->listLine(0))});
}

}  // namespace
