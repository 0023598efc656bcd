// Vantrel Ripper: one window per work folder. A file named as the argument (a file manager's
// "Open with") is handled as if dropped on the window; a later start on the same work folder
// hands its argument to the running window and ends.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <filesystem>

#include "gui/drop_handling.h"
#include "gui/host_paths.h"
#include "gui/main_window.h"
#include "gui/program_picture.h"
#include "gui/single_instance.h"
#include "shell/work_folder_choice.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(programIcon());
    const std::filesystem::path appFolder = hostPathOf(QCoreApplication::applicationDirPath());
    const QStringList arguments = QCoreApplication::arguments();
    // Absolute here: a running window that takes it over started in another folder.
    const QString file = arguments.size() > 1 ? QFileInfo(arguments[1]).absoluteFilePath() : QString();

    // Beside the program when it may write there (a portable copy), else in the user's data
    // folder; locked as the command line locks it. Without a lock the window does not open:
    // a second copy working beside it could delete its files.
    const ClaimedWorkFolder claimed = claimWorkFolder(appFolder);
    const std::filesystem::path& workFolder = claimed.folder;
    const LockState lock = claimed.lock->state();
    if (lock == LockState::HeldByAnother) {
        handOverToRunningWindow(workFolder, file);  // a window that does not answer is left alone
        return 0;
    }
    if (lock == LockState::Unavailable) {
        QMessageBox::critical(nullptr, QString::fromStdString(kAppTitle),
                              QString::fromStdString(lockRefusalText(workFolder, claimed.lock->problem())));
        return 1;
    }

    MainWindow window(workFolder);
    window.form().programFolder = appFolder;  // helper programs and help texts
    if (!window.startUp()) return 1;
    window.show();
    listenForLaterStarts(window, workFolder);
    if (!file.isEmpty()) openFromOutside(window, file);
    return app.exec();
}
