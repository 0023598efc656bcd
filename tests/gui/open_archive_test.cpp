// Opening an archive through the real window: list, item count, archive name, log and the
// library files.
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "fixtures/mpak_builder.h"
#include "gui_fixture.h"

namespace {

QStringList listTexts(QListView* list) {
    QStringList texts;
    for (int i = 0; i < list->model()->rowCount(); ++i) texts << list->model()->index(i, 0).data().toString();
    return texts;
}

TEST_F(GuiTest, OpeningAnArchiveFillsTheListLabelsLogAndLibraryFiles) {
    MpakBuilder b;
    b.entry("textures/sky.tga", std::string(0x30, 'c'), MpakEntryOptions().compressed(1).originalSize(0x2000));
    b.entry("sounds/a b.wav", "RIFF", MpakEntryOptions().copies(2));
    b.stocGroup({"textures/sky.tga", "sky.tga"});
    TempDir game;
    writeFile(game / "Level1.MPAK", b.build());
    start();

    dialogs->fileAnswers.push_back(answer(game / "Level1.MPAK"));
    click("butSelectMPAKfile");

    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(listTexts(control<QListView>("List1")),
              QStringList({"00000081 000000B0 00000030 00002000 01 1 textures\\sky.tga",
                           "000000B1 000000B4 00000004 00000004 00 2 sounds\\a b.wav"}));
    EXPECT_EQ(control<QLabel>("Label2")->text(), "2 Items");
    EXPECT_EQ(control<QLabel>("Label5")->text(), "Level1.MPAK");
    EXPECT_EQ(window->archiveName(), "Level1.MPAK");
    const std::string log = "TOC = x10, 2 entries\r\nSTOC = x5C, 1 entries\r\nRAWD = x7D\r\n\r\n";
    EXPECT_EQ(window->logViewText(), log);
    EXPECT_EQ(control<QPlainTextEdit>("RichTextBox1")->toPlainText().toStdString(),
              "TOC = x10, 2 entries\nSTOC = x5C, 1 entries\nRAWD = x7D\n\n");
    EXPECT_FALSE(window->isBusy());

    std::string toc = readFile(app / "Library" / "Level1.MPAK.toc");
    EXPECT_TRUE(toc.starts_with("--Comment lines start with double (--) dashes\r\n")) << toc;
    EXPECT_TRUE(toc.ends_with("1 copy.\r\n\r\n01 1 textures\\sky.tga\r\n00 2 sounds\\a b.wav")) << toc;
    std::string stoc = readFile(app / "Library" / "Level1.MPAK.stoc");
    EXPECT_TRUE(stoc.starts_with("--Comment lines start with double (--) dashes.\r\n")) << stoc;
    EXPECT_TRUE(stoc.ends_with("to the game.\r\n\r\n[2]\r\ntextures/sky.tga\r\nsky.tga")) << stoc;
}

TEST_F(GuiTest, TheListsScrollExtentNeverShrinksAndAFailedOpenLeavesNoArchiveLoaded) {
    TempDir game;
    writeFile(game / "wide.mpak", MpakBuilder().entry(std::string(200, 'w'), "w").build());
    writeFile(game / "narrow.mpak", MpakBuilder().entry("a", "a").build());
    writeFile(game / "cut.mpak", MpakBuilder().entry("a", "a").build().substr(0, 22));
    start();
    auto open = [&](const char* name) {
        dialogs->fileAnswers.push_back(answer(game / name));
        click("butSelectMPAKfile");
        QCoreApplication::processEvents();  // Qt lays the list out again after a change
    };
    QScrollBar* bar = control<QListView>("List1")->horizontalScrollBar();
    open("wide.mpak");
    const int wideRange = bar->maximum();
    EXPECT_GT(wideRange, 0);
    open("narrow.mpak");
    EXPECT_EQ(bar->maximum(), wideRange);

    open("cut.mpak");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.starts_with("ProcessLibrary error.\r\n\r\nThe TOC entry 1 at offset 0x14"))
        << dialogs->messages[0].text;
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(control<QListView>("List1")->model()->rowCount(), 0);
    EXPECT_EQ(control<QLabel>("Label2")->text(), "0 Items");
    EXPECT_TRUE(control<QLabel>("Label5")->text().isEmpty());
    EXPECT_FALSE(window->isBusy());
    EXPECT_FALSE(fs::exists(app / "Library" / "cut.mpak.toc"));
}

}  // namespace
