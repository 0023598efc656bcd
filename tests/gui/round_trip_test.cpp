// A modder's round trip through the real window and the real helper programs: open a game
// archive, extract a scattered selection and then everything, edit the folder, pack it and
// check every entry, group and byte of the new archive. Then what only the list itself shows:
// its sideways extent, and a failed open.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <set>

#include "common/files.h"
#include "common/text.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/zlib_reference.h"
#include "format/archive_tables.h"
#include "gui_fixture.h"

namespace {

enum class Edit { None, Changed, Added };

struct GameFile {
    std::string name;     // as the TOC stores it, "/" separators
    std::string content;  // as the modder leaves it
    bool compressed;
    int copies;
    Edit edit = Edit::None;
};

// In the order a packed archive holds them: by name, "/" counting as "+" and "+" as "%2B".
const std::vector<GameFile> kGameFiles = {
    {"data.v2/x.y", "dots", true, 1},  // dots the staged name must not split at
    {"levels/a/b/c/empty.dat", "", false, 1},
    {"levels/a/b/c/map.dat", std::string(100000, 'm'), true, 4},
    {"mods/new/added.txt", "a new file\r\n", true, 1, Edit::Added},
    {"readme.txt", awkwardBytes(777, 11), false, 1},
    {"sound/bank+1.fsb", awkwardBytes(20000, 15), true, 1},  // a "+" that is not a separator
    {"textures/sky.dds", awkwardBytes(70000, 99), true, 2, Edit::Changed},
    {"textures/ui/hud.tga", awkwardBytes(4096, 13), false, 3},
};
const std::vector<std::vector<std::string>> kGameGroups = {
    {"textures/sky.dds", "sky.dds"},
    {"levels/a/b/c/map.dat", "map.dat", "levels/map.dat"},
    {"readme.txt"},  // a group of one
};

// A name that the archive and folder labels must not read as markup.
const char* const kArchive = "<b>x.mpak";

// What the game's archive holds.
std::string gameContent(const GameFile& f) { return f.edit == Edit::Changed ? awkwardBytes(120000, 12) : f.content; }

std::set<std::string> filesBelow(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& item : fs::recursive_directory_iterator(folder))
        if (item.is_regular_file()) names.insert(item.path().lexically_relative(folder).generic_string());
    return names;
}

class RoundTrip : public GuiTest {
protected:
    fs::path buildGameArchive() {
        MpakBuilder builder;
        for (const GameFile& f : kGameFiles) {
            if (f.edit == Edit::Added) continue;
            const std::string content = gameContent(f);
            builder.entry(f.name, f.compressed ? rawDeflate(content) : content,
                          MpakEntryOptions()
                              .compressed(f.compressed ? 1 : 0)
                              .originalSize(static_cast<std::int32_t>(content.size()))
                              .copies(f.copies));
        }
        for (const auto& group : kGameGroups) builder.stocGroup(group);
        builder.stocEntryCount = static_cast<std::int16_t>(kGameGroups.size());  // the reader counts a group of one
        writeFile(game / kArchive, builder.build());
        return game / kArchive;
    }

    void packAndCheck(bool autoAdd, bool compressAll) {
        SCOPED_TRACE(std::string("auto-add ") + (autoAdd ? "on" : "off") + ", compress all " +
                     (compressAll ? "on" : "off"));
        control<QRadioButton>(autoAdd ? "radAutoAddNewFiles" : "radIWillMaintainLibrarySTOC")->setChecked(true);
        control<QCheckBox>("chkCompressAllFiles")->setChecked(compressAll);
        click("butPackMPAK");
        EXPECT_TRUE(dialogs->messages.empty());
        EXPECT_TRUE(window->logViewText().ends_with(".MPAK pack complete.\r\n")) << window->logViewText();

        const fs::path packed = app / "NewMPAKs" / kArchive;
        ArchiveTables tables = readArchiveTables(packed, readArchiveLayout(packed));
        ASSERT_EQ(tables.entries.size(), kGameFiles.size());
        for (std::size_t i = 0; i < kGameFiles.size(); ++i) {
            const EntrySlot& slot = tables.entries[i];
            const GameFile& f = kGameFiles[i];
            const bool compressed = f.compressed || compressAll;
            EXPECT_EQ(std::tuple(slot.entryPath, slot.entryCompressed, slot.entryCopies, slot.entryOriginalSize),
                      std::tuple(replaceAll(f.name, '/', '\\'), compressed ? 1 : 0, f.copies, f.content.size()));
            const std::string copy = readFileRange(packed, slot.entryDataOffset, slot.entryStoredSize);
            EXPECT_EQ(compressed ? inflateRaw(copy, f.content.size()) : copy, f.content) << f.name;
            std::string copies;  // every copy holds the same bytes
            for (int k = 0; k < f.copies; ++k) copies += copy;
            EXPECT_EQ(readFileRange(packed, slot.entryDataOffset, copies.size()), copies) << f.name;
        }
        std::vector<std::vector<std::string>> groups;
        for (const auto& group : tables.stocGroups) groups.push_back(group.names);
        std::vector<std::vector<std::string>> expectedGroups = kGameGroups;
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
    EXPECT_EQ(filesBelow(folder), (std::set<std::string>{"levels/a/b/c/empty.dat", "levels/a/b/c/map.dat", "readme.txt",
                                                         "textures/ui/hud.tga"}));

    click("butSelectAll");
    click("butMassExtract");
    EXPECT_EQ(QApplication::focusWidget(), control("RichTextBox1"));
    // The log view shows CR LF as one line break; the window keeps the bytes.
    EXPECT_EQ(control<QPlainTextEdit>("RichTextBox1")->toPlainText().replace('\n', "\r\n").toStdString(),
              window->logViewText());
    for (const GameFile& f : kGameFiles) {
        if (f.edit != Edit::Added) {
            EXPECT_EQ(readFile(folder / f.name), gameContent(f)) << f.name;
        }
        if (f.edit != Edit::None) writeFile(folder / f.name, f.content);  // the modder's edits
    }
    dialogs->folderAnswers.push_back(answer(folder));
    click("butSelectMPAKFolder");
    EXPECT_EQ(dialogs->folderStartedIn, answer(app / "ExtractedFiles"));
    for (auto* label : {control<QLabel>("Label5"), control<QLabel>("Label13")})  // as named, not read as markup
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(kArchive))
            << label->text().toStdString();
    packAndCheck(true, false);
    packAndCheck(false, true);
}

TEST_F(GuiTest, TheListsScrollExtentNeverShrinksAndAFailedOpenLeavesNoArchiveLoaded) {
    TempDir game;
    writeFile(game / "wide.mpak", MpakBuilder().entry(std::string(200, 'w'), "w").build());
    writeFile(game / "narrow.mpak", MpakBuilder().entry("caf\xC3\xA9", "a").build());
    writeFile(game / "cut.mpak", MpakBuilder().entry("a", "a").build().substr(0, 22));
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

    openArchive(game / "cut.mpak");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.starts_with("ProcessLibrary error.\r\n\r\nThe TOC entry 1 at offset 0x14"))
        << dialogs->messages[0].text;
    EXPECT_TRUE(shownLines().isEmpty());
    EXPECT_EQ(control<QLabel>("Label2")->text(), "0 Items");
    EXPECT_TRUE(control<QLabel>("Label5")->text().isEmpty());
    EXPECT_FALSE(window->isBusy());
}

}  // namespace
