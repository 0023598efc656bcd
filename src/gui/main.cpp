// Vantrel Ripper: one window; a second running copy closes silently.
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <cstdio>

#include "gui/host_paths.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString appFolder = QCoreApplication::applicationDirPath();

    // One copy per application folder. A lock that cannot be made at all (no writable
    // temporary folder) does not keep the window from opening.
    QByteArray hash = QCryptographicHash::hash(appFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QLockFile lock(QDir::tempPath() + QStringLiteral("/VantrelRipper-") + QString::fromLatin1(hash) +
                   QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) return 0;

    MainWindow window(hostPathOf(appFolder));
    if (!window.startUp()) return 1;
    window.show();
    return app.exec();
}
