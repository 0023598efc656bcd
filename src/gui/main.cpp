// Vantrel Ripper: one window; a second copy on the same work folder closes silently.
#include <QApplication>
#include <filesystem>

#include "gui/host_paths.h"
#include "gui/main_window.h"
#include "gui/program_picture.h"
#include "gui/start_archive.h"
#include "shell/work_folder_choice.h"
#include "shell/work_folder_lock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(programIcon());
    const std::filesystem::path appFolder = hostPathOf(QCoreApplication::applicationDirPath());
    // Beside the program when it may write there (a portable copy), else in the user's data folder.
    const std::filesystem::path workFolder = chooseWorkFolder(appFolder);

    // The same lock as the command line's. A lock that cannot be made at all (no writable
    // temporary folder) does not keep the window from opening.
    WorkFolderLock lock(workFolder);
    if (lock.state() == LockState::HeldByAnother) return 0;

    // An archive given as the argument (a file manager's "Open with") is opened as the button does.
    const QStringList arguments = QCoreApplication::arguments();
    MainWindow window(workFolder, arguments.size() > 1 ? dialogsOpening(arguments[1]) : nullptr);
    window.form().programFolder = appFolder;  // helper programs and help texts
    if (!window.startUp()) return 1;
    window.show();
    if (arguments.size() > 1) openArchiveWhenShown(window);
    return app.exec();
}
