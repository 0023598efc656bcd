// The platform dialogs behind the window: open-file prompt, folder picker, message box and
// the file manager. GUI tests replace them with scripted answers.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "shell/window.h"

class QWidget;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& initialFolder,
                                            const QString& filter) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& initialFolder) = 0;
    virtual void message(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& title) = 0;
    virtual bool question(QWidget* parent, const std::string& text, const std::string& title) = 0;
    // False when no file manager could be started.
    virtual bool openFolder(const std::filesystem::path& folder) = 0;
};

// The real dialogs: QFileDialog, QMessageBox, QDesktopServices.
class QtDialogs : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& initialFolder,
                                    const QString& filter) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& initialFolder) override;
    void message(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& title) override;
    bool question(QWidget* parent, const std::string& text, const std::string& title) override;
    bool openFolder(const std::filesystem::path& folder) override;
};

// "desc (*.mpak)|*.mpak" as the Qt filter "desc (*.mpak)".
QString qtFileFilter(const std::string& filter);
// Bytes to a string for display; CR LF shown as one line break.
QString displayText(const std::string& bytes);
