// The window itself: its controls in their design state and places, its picture, the resize
// rules, what it does while a command runs, and the message box.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTimer>

#include "common/files.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/zlib_reference.h"
#include "gui/program_picture.h"
#include "gui_fixture.h"

namespace {

// Room for a caption in its control, in pixels: inside a button's frame less the style's margin,
// beside a check mark, or a label's whole width.
int captionRoom(QWidget& control) {
    QStyleOptionButton option;
    option.initFrom(&control);
    QStyle& style = *control.style();
    if (qobject_cast<QPushButton*>(&control))
        return style.subElementRect(QStyle::SE_PushButtonContents, &option, &control).width() -
               style.pixelMetric(QStyle::PM_ButtonMargin, &option, &control);
    if (!qobject_cast<QAbstractButton*>(&control)) return control.contentsRect().width();
    auto beside = qobject_cast<QCheckBox*>(&control) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
    return style.subElementRect(beside, &option, &control).width();
}

// A caption's width on a screen of `dpi` dots per inch, in the window's pixels, which scale with it.
double captionWidth(const QWidget& control, const QString& caption, int dpi) {
    QImage screen(1, 1, QImage::Format_RGB32);
    screen.setDotsPerMeterY(qRound(dpi / 0.0254));  // what sets a font's size in pixels
    return QFontMetricsF(control.font(), &screen).horizontalAdvance(caption) * 96 / dpi;
}

TEST_F(GuiTest, StartsInItsDesignLayoutWithItsPictureAndReadableCaptionsAt96And144DpiAndFollowsTheResizeRules) {
    MainWindow& w = start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vantrel Ripper  ver-1 build-1"));
    int captioned = 0;
    for (QWidget* control : w.findChildren<QWidget*>()) {
        const QString caption = control->property("text").toString();
        if (caption.isEmpty() || control->objectName().isEmpty()) continue;
        ++captioned;
        for (int dpi : {96, 144})
            EXPECT_LE(captionWidth(*control, caption, dpi), captionRoom(*control))
                << control->objectName().toStdString() << " " << dpi;
    }
    EXPECT_EQ(captioned, 25);
    EXPECT_TRUE(control<QRadioButton>("radAutoAddNewFiles")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("radIWillMaintainLibrarySTOC")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkCompressAllFiles")->isChecked());
    EXPECT_FALSE(control<QPushButton>("butDecompressMPKG")->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(control<QListView>("List1")->selectionMode(), QAbstractItemView::ExtendedSelection);
    const QImage picture = control<QLabel>("Image1")->pixmap().toImage();
    EXPECT_EQ(picture, programPicture(32).toImage());
    EXPECT_EQ(qAlpha(picture.pixel(16, 16)), 255);  // the SVG was found and drawn
    EXPECT_EQ(w.size(), QSize(858, 530));
    EXPECT_EQ(control("butSelectAll")->geometry(), QRect(384, 8, 97, 17));  // 5760, 120, 1455, 255 twips
    // The panel follows the right edge; the list and the log take what is left.
    w.resize(1200, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(control("Frame1")->geometry().right(), 1200 - 1);
    EXPECT_EQ(control("List1")->geometry().right() + 1, control("Frame1")->x());
    EXPECT_EQ(control("butSelectAll")->x(), 384);
    EXPECT_EQ(control("RichTextBox1")->geometry().bottom() + 1, 800 - 8);
    // Below the minimum the window keeps 12000 x 8460 twips outside, counting the design frame.
    w.resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(800 - 8, 564 - 34));
    EXPECT_GT(control("Label2")->x(), control("butSelectAll")->geometry().right());  // the count keeps clear
}

// A command that yields to the window must not be joined by a second one (it could empty Temp
// under the first); closing the window ends the program at once, here while four zlibc runs at
// a time unzip the entries parked in Temp.
TEST_F(GuiTest, WhileACommandRunsASecondIsIgnoredAndClosingEndsTheProgram) {
    TempDir game;
    MpakBuilder archive;
    for (int i = 0; i < 300; ++i)
        archive.entry("e" + std::to_string(i), rawDeflate("entry"), MpakEntryOptions().compressed(1).originalSize(5));
    writeFile(game / "x.mpak", archive.build());
    start().form().helperRunsAtOnce = 4;
    openArchive(game / "x.mpak");
    std::size_t leftToUnzip = 0;
    window->setExitHandler([&] { exitRequested = true, leftToUnzip = filesDirectlyIn(app / "Temp").size(); });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (filesDirectlyIn(app / "Temp").empty()) return;
        closer.stop();
        click("butSelectMPAKfile");
        window->close();
    });
    closer.start(0);
    click("butSelectAll");
    click("butMassExtract");
    EXPECT_TRUE(exitRequested);
    EXPECT_GT(leftToUnzip, 0u);
    EXPECT_EQ(dialogs->openCalls.size(), 1u);
}

// The real message box, as the failed FSB conversion shows it.
TEST(MessageBox, ShowsTitleIconAndTextWithCrLfAsLineBreaks) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle(), text = box->text(), icon = box->icon();
        box->accept();
    });
    QtDialogs().message(nullptr, "FSB conversion error (2).\r\n\r\nOperation terminated.\r\n", MessageIcon::None,
                        "VantrelRipper");
    EXPECT_EQ(title, "VantrelRipper");
    EXPECT_EQ(text, "FSB conversion error (2).\n\nOperation terminated.\n");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
}

// The real file manager start: xdg-open ending with an error (nothing shows folders) is a
// failure the "Open Folder" buttons report.
TEST(FileManager, AFolderNothingCouldShowIsAFailureOneHandedOverIsNot) {
#ifdef _WIN32
    GTEST_SKIP() << "Explorer shows folders on Windows; xdg-open is for other systems";
#else
    TempDir bin;
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.path().string() + ":" + path).c_str(), 1);
    for (const auto& [script, shown] : {std::pair{"exit 3", false}, {"exit 0", true}, {"sleep 5", true}}) {
        writeFile(bin / "xdg-open", std::string("#!/bin/sh\n") + script + "\n");
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        EXPECT_EQ(QtDialogs().openFolder(bin.path()), shown) << script;
    }
    setenv("PATH", path.c_str(), 1);
#endif
}

}  // namespace
