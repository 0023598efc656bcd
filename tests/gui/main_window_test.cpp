#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "gui_fixture.h"
#include "shell/form.h"

namespace {
QRect twips(int left, int top, int width, int height) { return QRect(left / 15, top / 15, width / 15, height / 15); }
}  // namespace

TEST_F(GuiTest, StartsInItsDesignStateWithEveryControlNamedAndCaptioned) {
    MainWindow& w = start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vantrel Ripper  ver-1 build-1"));
    EXPECT_EQ(control<QLabel>("Label1")->text(), "File List");
    EXPECT_EQ(control<QLabel>("Label2")->text(), "0 Items");
    EXPECT_EQ(control<QLabel>("Label10")->text(), "          File Extractor");
    EXPECT_EQ(control<QLabel>("Label11")->text(), "   File Packer (Make an MPAK)");
    EXPECT_EQ(control<QLabel>("Label4")->text(), "  Sound File Conversion (.FSB)");
    EXPECT_EQ(control<QLabel>("Label6")->text(), ".MPAK Sub Table of Contents");
    EXPECT_EQ(control<QLabel>("Label3")->text(), "Vantrel Ripper");
    EXPECT_TRUE(control<QLabel>("Label5")->text().isEmpty());
    EXPECT_TRUE(control<QLabel>("Label13")->text().isEmpty());
    const std::pair<const char*, const char*> buttons[] = {
        {"butSelectAll", "Select All"},
        {"butFileExtractorQuestion", "?"},
        {"butSelectMPAKfile", "Open Game .MPAK File"},
        {"butMassExtract", "Extract Selected File(s)"},
        {"butOpenFolder", "Open Folder"},
        {"butGetModelGraphics", "List Model Graphics"},
        {"butDecompressMPKG", "Unpack .MPKG"},
        {"butFilePackerQuestion", "?"},
        {"butSelectMPAKFolder", "Select .MPAK Folder"},
        {"butPackMPAK", "Pack New .MPAK"},
        {"butOpenNewMPAKsFolder", "Open Folder"},
        {"butSoundConversionQuestion", "?"},
        {"butConvertFSB", "Convert .FSB"},
        {"butOpenSoundsFolder", "Open Folder"},
    };
    for (auto [name, caption] : buttons) EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    EXPECT_TRUE(control<QPushButton>("butDecompressMPKG")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("butDecompressMPKG")->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(control<QRadioButton>("radAutoAddNewFiles")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("radIWillMaintainLibrarySTOC")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkCompressAllFiles")->isChecked());
    EXPECT_EQ(control<QListView>("List1")->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(control<QListView>("List1")->model()->rowCount(), 0);
    EXPECT_TRUE(control<QLineEdit>("Text1")->text().isEmpty());
    EXPECT_TRUE(control<QPlainTextEdit>("RichTextBox1")->toPlainText().isEmpty());
    EXPECT_EQ(w.form().zlibHeader, std::string("\x78\x9C", 2));
    EXPECT_EQ(w.form().zlibTrailer, std::string(4, '\0'));
}

TEST_F(GuiTest, ControlsSitAtTheirDesignPlacesInTheDesignClientArea) {
    MainWindow& w = start();
    EXPECT_EQ(w.size(), QSize(858, 530));
    // The resize rules move the left column and the panel by a pixel at most from the design.
    EXPECT_EQ(control("Frame1")->geometry(), QRect(609, 0, 249, 521));
    EXPECT_EQ(control("List1")->geometry(), QRect(8, 24, 601, 324));
    EXPECT_EQ(control("Label2")->x(), 535);
    EXPECT_EQ(control("Label1")->geometry(), twips(120, 120, 1815, 255));
    EXPECT_EQ(control("butSelectAll")->geometry(), twips(5760, 120, 1455, 255));
    EXPECT_EQ(control("Label9")->geometry(), twips(120, 120, 3495, 255));
    EXPECT_EQ(control("butSelectMPAKfile")->geometry(), twips(240, 840, 1935, 255));
    EXPECT_EQ(control("butPackMPAK")->geometry(), twips(240, 4920, 2055, 375));
    EXPECT_EQ(control("Image1")->geometry(), twips(120, 7080, 480, 480));
}

TEST_F(GuiTest, ResizingKeepsThePanelRightAndTheListAboveTheLog) {
    MainWindow& w = start();
    w.resize(1200, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(control("Frame1")->x(), 1200 - 249);
    EXPECT_EQ(control("List1")->width(), 1200 - 249 - 8);
    EXPECT_EQ(control("butSelectAll")->x(), 384);
    EXPECT_EQ(control("RichTextBox1")->geometry().bottom() + 1, 800 - 8);
    // Below the minimum the window keeps 12000 x 8460 twips outside, counting the design frame.
    w.resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(800 - 8, 564 - 34));
}

TEST_F(GuiTest, StartupCreatesTheFiveFoldersAndEmptiesTempOfFilesOnly) {
    writeFile(app / "Temp" / "old.gz", "x");
    writeFile(app / "Temp" / "keep" / "inner.txt", "y");
    start();
    for (const char* folder : {"ExtractedFiles", "Temp", "NewMPAKs", "Library", "Sounds"})
        EXPECT_TRUE(fs::is_directory(app / folder)) << folder;
    EXPECT_FALSE(fs::exists(app / "Temp" / "old.gz"));
    EXPECT_EQ(readFile(app / "Temp" / "keep" / "inner.txt"), "y");
}

TEST_F(GuiTest, ClosingTheWindowEndsTheProgram) {
    MainWindow& w = start();
    w.close();
    EXPECT_TRUE(exitRequested);
}
