// The one window, Form1: its controls at their design places, the Window port over them,
// and each button wired to its command.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "gui/qt_dialogs.h"
#include "gui/window_controls.h"
#include "shell/form.h"
#include "shell/window.h"

class MainWindow : public QWidget, public Window {
    Q_OBJECT
public:
    // `dialogs` defaults to the real platform dialogs.
    explicit MainWindow(std::filesystem::path applicationFolder, std::unique_ptr<Dialogs> dialogs = {});
    ~MainWindow() override;

    // Start-up after the single-copy test. Returns false when it failed (the
    // "Initialization error." box has been shown and the program is to end).
    bool startUp();

    Form& form() { return form_; }
    bool isBusy() const { return busy_; }
    bool commandRunning() const { return commandRunning_; }
    // Runs a command unless one is running already; a failure it leaves ends in its error box.
    void runCommand(const std::function<void(Form&)>& command);
    // Runs an open-file command with its prompt answered by `file` instead of the dialog; the
    // remembered folder becomes the file's, as when the file is chosen.
    void runCommandOn(Command command, const QString& file);
    // What closing the window does; tests replace the default, which ends the process at once.
    void setExitHandler(std::function<void()> handler) { exitHandler_ = std::move(handler); }

    // Window
    void clearList() override;
    void addListLine(const std::string& line) override;
    int listLineCount() const override;
    std::string listLine(int index) const override;
    std::vector<int> selectedLines() const override;
    void selectAllLines() override;
    int selectedLineCount() const override;
    int nextSelectedLine(int index) const override;
    void repaintList() override;
    void setItemCountText(const std::string& text) override;
    void setListExtent(int characters) override;
    void showArchiveName(const std::string& name) override;
    void showPackFolderName(const std::string& name) override;
    void setStatus(const std::string& text) override;
    std::string logViewText() const override;
    void showLogText(const std::string& text, Caret where) override;
    void focusLog() override;
    void setProgress(float fraction) override;
    void setBusy(bool busy) override;
    void repaintWindow() override;
    bool autoAddNewFiles() const override;
    bool compressAllFiles() const override;
    void showMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    std::optional<std::filesystem::path> promptForFile(const FilePrompt& prompt) override;
    std::optional<std::filesystem::path> browseFolder(const std::string& title) override;
    bool openFolder(const std::filesystem::path& folder) override;
    void yield() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Selects the lines that the pattern field's patterns match.
    void selectByPattern();
    // Paints what changed and runs the window's pending messages now.
    void processPendingEvents();
    void applyLayout();
    void updateMinimumSize();

    std::unique_ptr<Dialogs> dialogs_;
    std::optional<QString> promptAnswer_;  // answers the next open-file prompt instead of the dialog
    Form form_;
    std::function<void()> exitHandler_;
    bool commandRunning_ = false;
    bool busy_ = false;
    std::string logBytes_;  // what the log view shows, as bytes
    std::string status_;    // the status line's text, given to the line when the window paints
    bool statusShown_ = true;
    float progressFullWidth_ = 0;  // the bar's width at start-up, in twips
    static constexpr qint64 kFrameMilliseconds = 16;
    QElapsedTimer sinceEvents_;  // since pending messages last ran

    FileListView* fileList_ = nullptr;
    QLineEdit* patternField_ = nullptr;
    QLabel* itemCountLabel_ = nullptr;
    QLineEdit* statusLine_ = nullptr;
    QPlainTextEdit* logView_ = nullptr;
    QFrame* optionsPanel_ = nullptr;
    QLabel* progressBar_ = nullptr;
    QLabel* archiveNameLabel_ = nullptr;
    QLabel* packFolderLabel_ = nullptr;
    QRadioButton* autoAddOption_ = nullptr;
    QCheckBox* compressAllOption_ = nullptr;
};
