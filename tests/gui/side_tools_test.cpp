// The three side tools through the real window: "Unpack .MPKG", "Convert .FSB" and "List
// Model Graphics" with the real helper programs.
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>

#include "fixtures/mpak_builder.h"
#include "gui_fixture.h"
#include "tools/fsb3_bank_builder.h"

namespace {

class SideToolsGuiTest : public GuiTest {
protected:
    // Opens a one-entry archive so that the tools have an archive display to reset.
    void openArchive() {
        writeFile(game / "Level1.MPAK", MpakBuilder().entry("a.txt", "a").build());
        dialogs->fileAnswers.push_back(answer(game / "Level1.MPAK"));
        click("butSelectMPAKfile");
        ASSERT_EQ(control<QListView>("List1")->model()->rowCount(), 1);
    }

    void expectNoArchiveLoaded() {
        EXPECT_EQ(control<QListView>("List1")->model()->rowCount(), 0);
        EXPECT_EQ(control<QLabel>("Label2")->text(), "0 Items");
        EXPECT_TRUE(control<QLabel>("Label5")->text().isEmpty());
        EXPECT_TRUE(control<QLineEdit>("Text1")->text().isEmpty());
        // The extract command reacts as when no archive has been opened.
        dialogs->messages.clear();
        click("butMassExtract");
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].text.rfind("No .MPAK file loaded.", 0), 0u);
        dialogs->messages.clear();
    }

    TempDir game;
};

TEST_F(SideToolsGuiTest, UnpackMpkgInflatesIntoTempAndLeavesNoArchiveLoaded) {
    start();
    openArchive();
    const std::string logBefore = window->logViewText();
    // Two leading bytes, then one stored deflate block holding "unpacked".
    writeFile(game / "level.mpkg", std::string("\x01\x02\x01\x08\x00\xF7\xFF", 7) + "unpacked");
    dialogs->fileAnswers.push_back(answer(game / "level.mpkg"));
    click("butDecompressMPKG");

    EXPECT_EQ(dialogs->openCalls.back().title, "Select File [.mpkg]");
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(readFile(app / "Temp" / "mpkg.dat"), "unpacked");
    EXPECT_EQ(window->logViewText(), logBefore + "Unzipping: " + (game / "level.mpkg").string() + "\r\n");
    expectNoArchiveLoaded();
}

TEST_F(SideToolsGuiTest, ConvertFsbWritesTheSoundsAndLogsCompletion) {
    writeFile(app / "Sounds" / "other.wav", "kept");
    start();
    openArchive();
    writeFile(game / "voices.fsb", fsb3Bank({{"hello.wav", std::string(10, '\x01')}, {"bye.wav", "\x02\x02"}}));
    dialogs->fileAnswers.push_back(answer(game / "voices.fsb"));
    click("butConvertFSB");

    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(window->logViewText().ends_with("Converting: voices.fsb\r\nOperation complete.\r\n"))
        << window->logViewText();
    EXPECT_EQ(readFile(app / "Sounds" / "hello.wav").size(), 44u + 10u);
    EXPECT_EQ(readFile(app / "Sounds" / "bye.wav").size(), 44u + 2u);
    EXPECT_EQ(readFile(app / "Sounds" / "other.wav"), "kept");
    expectNoArchiveLoaded();
}

TEST_F(SideToolsGuiTest, FailedConversionShowsTheBoxWithoutIconTitledVantrelRipper) {
    start();
    // Long enough to hold a name, but not an FSB3 bank: fsbext exits with 2.
    writeFile(game / "broken.fsb", std::string(64, '\0'));
    dialogs->fileAnswers.push_back(answer(game / "broken.fsb"));
    click("butConvertFSB");

    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "FSB conversion error (2).\r\n\r\nOperation terminated.\r\n");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::None);
    EXPECT_EQ(dialogs->messages[0].title, "VantrelRipper");
    EXPECT_EQ(window->logViewText(), "");
    EXPECT_TRUE(control<QPlainTextEdit>("RichTextBox1")->toPlainText().isEmpty());
}

TEST_F(SideToolsGuiTest, ListModelGraphicsShowsTheNamesInTheLog) {
    start();
    const std::string z(1, '\0');
    writeFile(game / "tank.mmod", "head" + z + "hull.tga" + z + "TRACKS.TGA" + z + "hull.tga" + z);
    dialogs->fileAnswers.push_back(answer(game / "tank.mmod"));
    click("butGetModelGraphics");

    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(window->logViewText(),
              "GRAPHICS FOR MODEL: tank.mmod\r\n\r\nhull.tga\r\nTRACKS.TGA\r\n\r\nOperation complete.\r\n");
    EXPECT_EQ(control<QPlainTextEdit>("RichTextBox1")->toPlainText().toStdString(),
              "GRAPHICS FOR MODEL: tank.mmod\n\nhull.tga\nTRACKS.TGA\n\nOperation complete.\n");
    EXPECT_TRUE(control<QLineEdit>("Text1")->text().isEmpty());
    EXPECT_FALSE(window->isBusy());
}

}  // namespace
