#include "gui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gui/host_paths.h"
#include "shell/commands.h"
#include "shell/shell_ops.h"
#include "shell/startup.h"
#include "gui/window_layout.h"

// Rows as wide as the list's horizontal extent, which never shrinks while the program runs. The
// list takes its scroll range from its rows' width; it is widened here rather than by setting
// the range, which Qt recomputes on every layout.
class WideRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void widenTo(int pixels) {
        if (pixels <= width_) return;
        width_ = pixels;
        emit sizeHintChanged(QModelIndex());  // the view lays its rows out again
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        width_ = std::max(width_, size.width());  // a row once measured keeps the list as wide
        return {width_, size.height()};
    }

private:
    mutable int width_ = 0;
};

namespace {

int px(float twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

void place(QWidget* w, float left, float top, float width, float height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

QFont namedFont(const char* family, double points = 0) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::Monospace);
    if (points > 0) font.setPointSizeF(points);
    return font;
}

void whiteOnBlack(QLabel* label) {
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setFont(namedFont("Courier New"));
}

template <typename T>
T* named(QWidget* parent, const char* name) {
    T* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QSettings preferences() { return QSettings(QStringLiteral("VantrelRipper"), QStringLiteral("VantrelRipper")); }

}  // namespace

MainWindow::MainWindow(std::filesystem::path applicationFolder, std::unique_ptr<Dialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()),
      form_(*this, std::move(applicationFolder)),
      exitHandler_([] { std::_Exit(0); }) {
    setObjectName(QStringLiteral("Form1"));
    // The controls were laid out for an 8-point dialog font; larger defaults clip the captions.
    QFont dialogFont = font();
    dialogFont.setPointSizeF(8);
    setFont(dialogFont);
    buildControls();
    resize(px(kDesignClientWidth), px(kDesignClientHeight));
    updateMinimumSize();
}

MainWindow::~MainWindow() {
    if (busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::buildControls() {
    auto* label1 = named<QLabel>(this, "Label1");
    label1->setText(QStringLiteral("File List"));
    whiteOnBlack(label1);
    place(label1, 120, 120, 1815, 255);

    auto* butSelectAll = named<QPushButton>(this, "butSelectAll");
    butSelectAll->setText(QStringLiteral("Select All"));
    place(butSelectAll, 5760, 120, 1455, 255);
    wire(butSelectAll, SelectAll);

    label2_ = named<QLabel>(this, "Label2");
    label2_->setText(QStringLiteral("0 Items"));
    place(label2_, 7920, 120, 1095, 255);

    list1_ = named<QListWidget>(this, "List1");
    listRows_ = new WideRows(list1_);
    list1_->setItemDelegate(listRows_);
    list1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list1_->setUniformItemSizes(true);
    list1_->setTextElideMode(Qt::ElideNone);  // long lines scroll sideways instead
    list1_->setFont(namedFont("Lucida Console"));
    place(list1_, 120, 360, 8895, 4845);

    text1_ = named<QLineEdit>(this, "Text1");
    text1_->setReadOnly(true);
    text1_->setFont(namedFont("Lucida Console"));
    text1_->setStyleSheet(QStringLiteral("background-color: palette(button);"));
    place(text1_, 120, 5280, 8895, 285);

    richTextBox1_ = named<QPlainTextEdit>(this, "RichTextBox1");
    richTextBox1_->setFont(namedFont("Lucida Console"));
    richTextBox1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    place(richTextBox1_, 120, 5640, 8895, 2175);

    frame1_ = named<QFrame>(this, "Frame1");
    frame1_->setAccessibleName(QStringLiteral("Options"));
    place(frame1_, 9120, 0, 3735, 7815);
    QFrame* f = frame1_;

    // Section rectangles first, so the titles and "?" buttons lie over their top strips.
    for (auto [name, left, top, width, height] :
         {std::tuple{"Shape1", 120, 480, 3495, 1935}, std::tuple{"Shape2", 120, 2640, 3495, 2775},
          std::tuple{"Shape4", 120, 5640, 3495, 855}, std::tuple{"Shape5", 240, 3720, 3255, 735}}) {
        auto* shape = named<QFrame>(f, name);
        shape->setFrameShape(QFrame::Box);
        place(shape, left, top, width, height);
    }

    label9_ = named<QLabel>(f, "Label9");
    label9_->setAutoFillBackground(true);
    QPalette progressPalette = label9_->palette();
    progressPalette.setColor(QPalette::Window, QColor(128, 128, 255));
    label9_->setPalette(progressPalette);
    place(label9_, 120, 120, 3495, 255);
    progressFullWidth_ = 3495;

    auto title = [&](const char* name, const char* text, float top) {
        auto* label = named<QLabel>(f, name);
        label->setText(QString::fromLatin1(text));
        whiteOnBlack(label);
        place(label, 120, top, 3495, 255);
    };
    auto button = [&](const char* name, const char* text, float left, float top, float width, float height,
                      void (*command)(Form&)) {
        auto* b = named<QPushButton>(f, name);
        b->setText(QString::fromLatin1(text));
        place(b, left, top, width, height);
        wire(b, command);
        return b;
    };
    auto captionLabel = [&](const char* name, float top) {
        auto* label = named<QLabel>(f, name);
        label->setFont(namedFont("Lucida Console"));
        place(label, 240, top, 3255, 255);
        return label;
    };

    title("Label10", "          File Extractor", 480);
    button("butFileExtractorQuestion", "?", 3360, 480, 255, 255, ShowExtractorHelp);
    button("butSelectMPAKfile", "Open Game .MPAK File", 240, 840, 1935, 255, SelectMPAKfile);
    label5_ = captionLabel("Label5", 1080);
    button("butMassExtract", "Extract Selected File(s)", 240, 1440, 2055, 375, MassExtract);
    button("butOpenFolder", "Open Folder", 2400, 1440, 1095, 375, OpenExtractorFolder);
    button("butGetModelGraphics", "List Model Graphics", 240, 1920, 1695, 375, GetModelGraphics);
    auto* butDecompressMPKG = button("butDecompressMPKG", "Unpack .MPKG", 2040, 1920, 1455, 375, DecompressMPKG);
    // Its one switched-off design attribute: the Tab key passes over it.
    butDecompressMPKG->setFocusPolicy(Qt::ClickFocus);

    title("Label11", "   File Packer (Make an MPAK)", 2640);
    button("butFilePackerQuestion", "?", 3360, 2640, 255, 255, ShowPackerHelp);
    button("butSelectMPAKFolder", "Select .MPAK Folder", 240, 3000, 1935, 255, SelectMPAKFolder);
    label13_ = captionLabel("Label13", 3240);
    auto* label6 = named<QLabel>(f, "Label6");
    label6->setText(QStringLiteral(".MPAK Sub Table of Contents"));
    place(label6, 360, 3600, 2175, 255);
    radAutoAddNewFiles_ = named<QRadioButton>(f, "radAutoAddNewFiles");
    radAutoAddNewFiles_->setText(QStringLiteral("Auto-add new files to .MPAK STOC"));
    radAutoAddNewFiles_->setChecked(true);
    place(radAutoAddNewFiles_, 360, 3840, 2895, 255);
    radIWillMaintainLibrarySTOC_ = named<QRadioButton>(f, "radIWillMaintainLibrarySTOC");
    radIWillMaintainLibrarySTOC_->setText(QStringLiteral("I will maintain the Library .stoc"));
    place(radIWillMaintainLibrarySTOC_, 360, 4080, 2895, 255);
    chkCompressAllFiles_ = named<QCheckBox>(f, "chkCompressAllFiles");
    chkCompressAllFiles_->setText(QStringLiteral("Force compression of all files"));
    place(chkCompressAllFiles_, 480, 4560, 2400, 255);
    button("butPackMPAK", "Pack New .MPAK", 240, 4920, 2055, 375, PackMPAK);
    button("butOpenNewMPAKsFolder", "Open Folder", 2400, 4920, 1095, 375, OpenNewMPAKsFolder);

    title("Label4", "  Sound File Conversion (.FSB)", 5640);
    button("butSoundConversionQuestion", "?", 3360, 5640, 255, 255, ShowSoundHelp);
    button("butConvertFSB", "Convert .FSB", 240, 6000, 2055, 375, ConvertFSB);
    button("butOpenSoundsFolder", "Open Folder", 2400, 6000, 1095, 375, OpenSoundsFolder);

    auto* label3 = named<QLabel>(f, "Label3");
    label3->setText(QStringLiteral("Vantrel Ripper"));
    label3->setFont(namedFont("Courier", 9.75));
    place(label3, 120, 6720, 3615, 255);

    auto* image1 = named<QLabel>(f, "Image1");
    QPixmap picture(32, 32);
    picture.fill(QColor(128, 128, 255));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("VR"));
    painter.end();
    image1->setPixmap(picture);
    place(image1, 120, 7080, 480, 480);
}

void MainWindow::wire(QPushButton* button, void (*command)(Form&)) {
    connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
}

void MainWindow::runCommand(void (*command)(Form&)) {
    // A command that yields to the window must not be joined by a second one: it could
    // empty Temp under the first.
    if (commandRunning_) return;
    commandRunning_ = true;
    try {
        command(form_);
    } catch (const std::exception& e) {
        setBusy(false);
        reportError(form_, "Command", e.what());
    }
    commandRunning_ = false;
}

bool MainWindow::startUp() {
    try {
        setWindowTitle(QString::fromStdString(::windowTitle()));
        initializeForm(form_);
    } catch (const std::exception& e) {
        showMessage(initializationErrorText(e.what()), MessageIcon::Critical, kAppTitle);
        return false;
    }
    prepareWorkFolders(form_);
    return true;
}

// --- layout

void MainWindow::applyLayout() {
    if (isMinimized()) return;
    LeftColumnLayout l = layoutForClientSize(width() * kTwipsPerPixel, height() * kTwipsPerPixel);
    frame1_->move(px(l.frameLeft), frame1_->y());
    place(list1_, l.list.left, l.list.top, l.list.width, l.list.height);
    place(text1_, l.status.left, l.status.top, l.status.width, l.status.height);
    place(richTextBox1_, l.log.left, l.log.top, l.log.width, l.log.height);
    label2_->move(px(l.itemCountLeft), label2_->y());
}

void MainWindow::updateMinimumSize() {
    QSize frame = frameGeometry().size() - geometry().size();
    Size minimum = minimumClientSize(frame.width() * kTwipsPerPixel, frame.height() * kTwipsPerPixel);
    setMinimumSize(px(minimum.width), px(minimum.height));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLayout();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateMinimumSize();
    applyLayout();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) setFocus();
    if (event->type() == QEvent::WindowStateChange) applyLayout();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    exitHandler_();
}

// --- Window: list and labels

void MainWindow::clearList() {
    listRowsPainted_ = 0;
    list1_->clear();
    listLines_.clear();
}

void MainWindow::addListLine(const std::string& line) {
    listLines_.push_back(line);
    list1_->addItem(QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size())));
}

int MainWindow::listLineCount() const { return list1_->count(); }

std::string MainWindow::listLine(int index) const {
    return index >= 0 && index < static_cast<int>(listLines_.size()) ? listLines_[index] : std::string();
}

// The selected rows as [top, bottom] intervals, in order and without overlaps. Working from
// the selection's ranges costs per range, not per row (selectedRows() tests every row against
// every range), and the extract command asks once per entry of lists of thousands of lines.
static std::vector<std::pair<int, int>> selectedRowIntervals(const QListWidget* list) {
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : list->selectionModel()->selection())
        if (range.isValid()) ranges.emplace_back(range.top(), range.bottom());
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return merged;
}

std::vector<int> MainWindow::selectedLines() const {
    std::vector<int> lines;
    for (const auto& [top, bottom] : selectedRowIntervals(list1_))
        for (int row = top; row <= bottom; ++row) lines.push_back(row);
    return lines;
}

int MainWindow::selectedLineCount() const {
    int count = 0;
    for (const auto& [top, bottom] : selectedRowIntervals(list1_)) count += bottom - top + 1;
    return count;
}

int MainWindow::nextSelectedLine(int index) const {
    for (const auto& [top, bottom] : selectedRowIntervals(list1_))
        if (bottom > index) return std::max(top, index + 1);
    return -1;
}

void MainWindow::selectAllLines() { list1_->selectAll(); }

void MainWindow::repaintList() {
    label2_->repaint();
    // Lines added below the visible rows painted last time change only the scroll bar.
    const int lastVisibleRow = list1_->indexAt(QPoint(0, list1_->viewport()->height() - 1)).row();
    if (lastVisibleRow >= 0 && lastVisibleRow < listRowsPainted_) {
        list1_->verticalScrollBar()->repaint();
        return;
    }
    list1_->repaint();
    listRowsPainted_ = list1_->count();
}

void MainWindow::setItemCountText(const std::string& text) { label2_->setText(QString::fromLocal8Bit(text)); }

void MainWindow::setListExtent(int characters) {
    // Room for that many characters of the list's fixed-pitch font, and a little margin.
    const int charWidth = list1_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    listExtent_ = characters * charWidth + 2 * charWidth;
    listRows_->widenTo(listExtent_);
}

std::string MainWindow::archiveName() const { return archiveName_; }

void MainWindow::setArchiveName(const std::string& name) {
    archiveName_ = name;
    label5_->setText(QString::fromLocal8Bit(name));
    label5_->repaint();
}

std::string MainWindow::packFolderName() const { return packFolderName_; }

void MainWindow::setPackFolderName(const std::string& name) {
    packFolderName_ = name;
    label13_->setText(QString::fromLocal8Bit(name));
    label13_->repaint();
}

// --- Window: status, log, progress, pointer

void MainWindow::setStatus(const std::string& text) {
    text1_->setText(QString::fromLocal8Bit(text));
    text1_->repaint();
}

std::string MainWindow::logViewText() const { return logBytes_; }

void MainWindow::showLogText(const std::string& text, Caret where) {
    logBytes_ = text;
    richTextBox1_->setPlainText(displayText(text));
    richTextBox1_->moveCursor(where == Caret::End ? QTextCursor::End : QTextCursor::Start);
    richTextBox1_->ensureCursorVisible();
    richTextBox1_->repaint();
}

void MainWindow::focusLog() { richTextBox1_->setFocus(); }

void MainWindow::setProgress(float fraction) {
    int width = std::max(0, px(fraction * progressFullWidth_));
    // Repaint only when the visible width changes: one pixel is many entries of a large archive.
    if (width == label9_->width()) return;
    label9_->resize(width, label9_->height());
    label9_->repaint();
}

void MainWindow::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::repaintWindow() { repaint(); }

bool MainWindow::autoAddNewFiles() const { return radAutoAddNewFiles_->isChecked(); }

bool MainWindow::compressAllFiles() const { return chkCompressAllFiles_->isChecked(); }

// --- Window: dialogs

void MainWindow::showMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    dialogs_->message(this, text, icon, title);
}

bool MainWindow::askYesNo(const std::string& text, const std::string& title) {
    return dialogs_->question(this, text, title);
}

std::optional<std::filesystem::path> MainWindow::promptForFile(const FilePrompt& prompt) {
    QString initialFolder = qtPathOf(form_.appFolder);
    {
        QSettings settings = preferences();
        initialFolder = settings.value(QStringLiteral("Preferences/OpenFilePath"), initialFolder).toString();
    }
    std::optional<QString> chosen =
        dialogs_->openFile(this, QString::fromLocal8Bit(prompt.title), initialFolder, qtFileFilter(prompt.filter));
    if (!chosen) return std::nullopt;
    QString native = QDir::toNativeSeparators(*chosen);
    QString folder = native.left(std::max<qsizetype>(0, native.lastIndexOf(QDir::separator())));
    if (folder.isEmpty() && native.startsWith(QDir::separator())) folder = QDir::separator();
    QSettings settings = preferences();
    settings.setValue(QStringLiteral("Preferences/OpenFilePath"), folder);
    settings.sync();
    return hostPathOf(native);
}

std::optional<std::filesystem::path> MainWindow::browseFolder(const std::string& title) {
    std::optional<QString> chosen = dialogs_->chooseFolder(this, QString::fromLocal8Bit(title));
    if (!chosen) return std::nullopt;
    return hostPathOf(QDir::toNativeSeparators(*chosen));
}

void MainWindow::openFolder(const std::filesystem::path& folder) { dialogs_->openFolder(folder); }

void MainWindow::yield() { QCoreApplication::processEvents(); }
