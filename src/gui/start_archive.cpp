#include "gui/start_archive.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <utility>

#include "gui/main_window.h"

namespace {

class DialogsOpening : public QtDialogs {
public:
    explicit DialogsOpening(QString archive) : archive_(std::move(archive)) {}

    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& initialFolder,
                                    const QString& filter) override {
        if (archive_.isEmpty()) return QtDialogs::openFile(parent, title, initialFolder, filter);
        return std::exchange(archive_, QString());
    }

private:
    QString archive_;
};

}  // namespace

std::unique_ptr<Dialogs> dialogsOpening(const QString& archive) {
    // Absolute, so that the remembered folder is the archive's wherever the program started.
    return std::make_unique<DialogsOpening>(QFileInfo(archive).absoluteFilePath());
}

void openArchiveWhenShown(MainWindow& window) {
    QTimer::singleShot(0, &window, [&window] {
        if (auto* open = window.findChild<QPushButton*>(QStringLiteral("butSelectMPAKfile"))) open->click();
    });
}
