#include "gui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTextCursor>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "common/text.h"
#include "extract/selection.h"
#include "gui/drop_handling.h"
#include "gui/file_list_view.h"
#include "gui/host_paths.h"
#include "gui/window_layout.h"
#include "shell/shell_ops.h"
#include "shell/startup.h"

namespace {

QSettings preferences() { return QSettings(QStringLiteral("VantrelRipper"), QStringLiteral("VantrelRipper")); }

}  // namespace

MainWindow::MainWindow(std::filesystem::path applicationFolder, std::unique_ptr<Dialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()),
      form_(*this, std::move(applicationFolder)),
      exitHandler_([] { std::_Exit(0); }) {
    setObjectName(QStringLiteral("Form1"));
    // The controls were laid out for a narrow dialog font: Tahoma, or where it is missing
    // DejaVu Sans Condensed, at 7.5 points (10 pixels at 96 dpi) fits every caption.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    dialogFont.setPointSizeF(7.5);
    setFont(dialogFont);
    const WindowControls controls = buildControls(*this, [this](Command command) { runCommand(command); });
    fileList_ = controls.fileList;
    patternField_ = controls.patternField;
    connect(patternField_, &QLineEdit::returnPressed, this, &MainWindow::selectByPattern);
    setAcceptDrops(true);
    itemCountLabel_ = controls.itemCount;
    statusLine_ = controls.statusLine;
    logView_ = controls.logView;
    optionsPanel_ = controls.optionsPanel;
    progressBar_ = controls.progressBar;
    archiveNameLabel_ = controls.archiveName;
    packFolderLabel_ = controls.packFolder;
    autoAddOption_ = controls.autoAddOption;
    compressAllOption_ = controls.compressAllOption;
    progressFullWidth_ = static_cast<float>(progressBar_->width()) * kTwipsPerPixel;
    resize(pixels(kDesignClientWidth), pixels(kDesignClientHeight));
    updateMinimumSize();
}

MainWindow::~MainWindow() {
    if (busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::runCommand(const std::function<void(Form&)>& command) {
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
    // What the command set last is painted now, not at the next frame; a click that waited
    // meanwhile still finds the command running and is ignored.
    processPendingEvents();
    commandRunning_ = false;
}

void MainWindow::runCommandOn(Command command, const QString& file) {
    if (commandRunning_) return;
    promptAnswer_ = file;
    runCommand(command);
    promptAnswer_.reset();
}

void MainWindow::selectByPattern() {
    const std::string patterns = patternField_->text().toStdString();
    if (trimSpaces(patterns).empty()) return;
    runCommand([this, &patterns](Form& form) {
        const std::vector<int> lines = linesMatching(form, patterns);
        fileList_->selectLines(lines);
        setStatus(patternMatchStatus(lines.size(), listLineCount(), patterns));
    });
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
    processPendingEvents();
    return true;
}

// --- layout

void MainWindow::applyLayout() {
    if (isMinimized()) return;
    LeftColumnLayout l = layoutForClientSize(width() * kTwipsPerPixel, height() * kTwipsPerPixel);
    optionsPanel_->move(pixels(l.frameLeft), optionsPanel_->y());
    place(fileList_, l.list);
    place(statusLine_, l.status);
    place(logView_, l.log);
    itemCountLabel_->move(pixels(l.itemCountLeft), itemCountLabel_->y());
}

void MainWindow::updateMinimumSize() {
    QSize frame = frameGeometry().size() - geometry().size();
    Size minimum = minimumClientSize(frame.width() * kTwipsPerPixel, frame.height() * kTwipsPerPixel);
    setMinimumSize(pixels(minimum.width), pixels(minimum.height));
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    handleDrop(*this, event->mimeData()->urls());
}

// --- Window: list and labels

void MainWindow::clearList() { fileList_->clear(); }

void MainWindow::addListLine(const std::string& line) { fileList_->append(line); }

int MainWindow::listLineCount() const { return fileList_->lineCount(); }

std::string MainWindow::listLine(int index) const { return fileList_->line(index); }

std::vector<int> MainWindow::selectedLines() const { return fileList_->selectedLines(); }

int MainWindow::selectedLineCount() const { return fileList_->selectedLineCount(); }

int MainWindow::nextSelectedLine(int index) const { return fileList_->nextSelectedLine(index); }

void MainWindow::selectAllLines() { fileList_->selectAll(); }

void MainWindow::repaintList() { yield(); }

void MainWindow::setItemCountText(const std::string& text) { itemCountLabel_->setText(QString::fromUtf8(text)); }

void MainWindow::setListExtent(int characters) { fileList_->widenToCharacters(characters); }

void MainWindow::showArchiveName(const std::string& name) { archiveNameLabel_->setText(QString::fromUtf8(name)); }

void MainWindow::showPackFolderName(const std::string& name) { packFolderLabel_->setText(QString::fromUtf8(name)); }

// --- Window: status, log, progress, pointer

// Laying the line's text out costs more than the rest of a file's extraction: only the text
// there is when the window paints is given to the line.
void MainWindow::setStatus(const std::string& text) {
    status_ = text;
    statusShown_ = false;
}

std::string MainWindow::logViewText() const { return logBytes_; }

void MainWindow::showLogText(const std::string& text, Caret where) {
    logBytes_ = text;
    logView_->setPlainText(displayText(text));
    logView_->moveCursor(where == Caret::End ? QTextCursor::End : QTextCursor::Start);
    logView_->ensureCursorVisible();
}

void MainWindow::focusLog() { logView_->setFocus(); }

void MainWindow::setProgress(float fraction) {
    int width = std::max(0, pixels(fraction * progressFullWidth_));
    // One pixel is many entries of a large archive.
    if (width != progressBar_->width()) progressBar_->resize(width, progressBar_->height());
}

void MainWindow::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::repaintWindow() { yield(); }

bool MainWindow::autoAddNewFiles() const { return autoAddOption_->isChecked(); }

bool MainWindow::compressAllFiles() const { return compressAllOption_->isChecked(); }

// --- Window: dialogs

void MainWindow::showMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    processPendingEvents();
    dialogs_->message(this, text, icon, title);
}

bool MainWindow::askYesNo(const std::string& text, const std::string& title) {
    processPendingEvents();
    return dialogs_->question(this, text, title);
}

std::optional<std::filesystem::path> MainWindow::promptForFile(const FilePrompt& prompt) {
    processPendingEvents();
    QString initialFolder = qtPathOf(form_.appFolder);
    {
        QSettings settings = preferences();
        initialFolder = settings.value(QStringLiteral("Preferences/OpenFilePath"), initialFolder).toString();
    }
    std::optional<QString> chosen = promptAnswer_ ? std::exchange(promptAnswer_, std::nullopt)
                                                  : dialogs_->openFile(this, QString::fromUtf8(prompt.title),
                                                                       initialFolder, qtFileFilter(prompt.filter));
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
    processPendingEvents();
    std::optional<QString> chosen =
        dialogs_->chooseFolder(this, QString::fromUtf8(title), qtPathOf(form_.extractedFilesPath));
    if (!chosen) return std::nullopt;
    return hostPathOf(QDir::toNativeSeparators(*chosen));
}

bool MainWindow::openFolder(const std::filesystem::path& folder) { return dialogs_->openFolder(folder); }

// Commands set texts and yield thousands of times a second; the window paints what they set, and
// takes clicks and the close button, at display rate.
void MainWindow::yield() {
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kFrameMilliseconds) processPendingEvents();
}

void MainWindow::processPendingEvents() {
    if (!statusShown_) statusLine_->setText(QString::fromUtf8(status_));
    statusShown_ = true;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}
