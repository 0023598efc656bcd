// Extraction through the real window: open an archive, select all, extract.
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <map>

#include "common/text.h"
#include "extract/test_data.h"
#include "fixtures/mpak_builder.h"
#include "gui_fixture.h"

namespace {

struct Stored {
    std::string name;  // as the archive stores it, "/" separators
    std::string content;
    bool compressed;
};

std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder))
        if (item.is_regular_file()) files[item.path().lexically_relative(folder).generic_string()] = readFile(item);
    return files;
}

TEST_F(GuiTest, SelectAllThenExtractWritesEveryEntryByteForByteInflatedWhereCompressed) {
    const std::vector<Stored> stored = {{"readme.txt", awkwardBytes(777, 1), false},
                                        {"textures/sky.dds", awkwardBytes(90000, 2), true},
                                        {"textures/ui/hud.tga", awkwardBytes(4096, 3), false},
                                        {"sound/bank+1.fsb", awkwardBytes(20000, 4), true},
                                        {"empty.txt", "", false},
                                        {"levels/a/b/c/map.dat", std::string(100000, 'm'), true}};
    MpakBuilder builder;
    std::map<std::string, std::string> expected;
    for (const Stored& s : stored) {
        builder.entry(s.name, s.compressed ? rawDeflate(s.content) : s.content,
                      MpakEntryOptions()
                          .compressed(s.compressed ? 1 : 0)
                          .originalSize(static_cast<std::int32_t>(s.content.size())));
        expected[s.name] = s.content;
    }
    TempDir game;
    writeFile(game / "x.mpak", builder.build());
    start();

    dialogs->fileAnswers.push_back(answer(game / "x.mpak"));
    click("butSelectMPAKfile");
    ASSERT_EQ(control<QListView>("List1")->model()->rowCount(), 6);
    click("butSelectAll");
    EXPECT_EQ(control<QListView>("List1")->selectionModel()->selectedRows().size(), 6);
    click("butMassExtract");

    EXPECT_EQ(filesBelow(app / "ExtractedFiles" / "x.mpak"), expected);
    EXPECT_TRUE(fs::is_empty(app / "Temp"));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(control<QLineEdit>("Text1")->text().isEmpty());
    QString log = control<QPlainTextEdit>("RichTextBox1")->toPlainText();
    EXPECT_TRUE(log.startsWith("Extracting 1\\6: \\readme.txt\n")) << log.toStdString();
    EXPECT_TRUE(log.endsWith("3 files unzipped.\n6 files extracted.\nExtraction complete.\n")) << log.toStdString();
    EXPECT_EQ(window->logViewText(), window->form().logText);
    EXPECT_EQ(QApplication::focusWidget(), control("RichTextBox1"));
}

TEST_F(GuiTest, ExtractWalksOnlyTheSelectedLinesOfAScatteredSelection) {
    MpakBuilder builder;
    for (int i = 0; i < 8; ++i) builder.entry("f" + std::to_string(i), std::to_string(i));
    TempDir game;
    writeFile(game / "x.mpak", builder.build());
    start();
    dialogs->fileAnswers.push_back(answer(game / "x.mpak"));
    click("butSelectMPAKfile");
    auto* list = control<QListView>("List1");
    for (int row : {1, 2, 3, 6, 2})  // ranges may overlap
        list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
    EXPECT_EQ(window->selectedLineCount(), 4);
    EXPECT_EQ(window->nextSelectedLine(3), 6);
    EXPECT_EQ(window->nextSelectedLine(6), -1);
    click("butMassExtract");
    EXPECT_EQ(filesBelow(app / "ExtractedFiles" / "x.mpak"),
              (std::map<std::string, std::string>{{"f1", "1"}, {"f2", "2"}, {"f3", "3"}, {"f6", "6"}}));
    EXPECT_TRUE(window->form().logText.starts_with("Extracting 1\\4: \\f1\r\n")) << window->form().logText;
}

}  // namespace
