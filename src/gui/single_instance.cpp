#include "gui/single_instance.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <exception>

#include "gui/drop_handling.h"
#include "gui/instance_peer.h"
#include "gui/main_window.h"
#include "shell/work_folder_lock.h"

namespace {

constexpr int kStartingWindowMilliseconds = 5000;  // how long a later start waits for the socket
constexpr qint64 kLongestMessage = 64 * 1024;      // a path and its line end

QString serverName(const std::filesystem::path& workFolder) {
    try {
        return QString::fromStdString(instanceSocketName(workFolder));
    } catch (const std::exception&) {
        return {};  // a folder name the system cannot convert: no socket
    }
}

void bringToFront(QWidget& window) {
    if (window.isMinimized()) window.showNormal();
    window.raise();
    window.activateWindow();
}

// One later start's message: the file's path in UTF-8 and a line end. The connection is closed
// once it has arrived, which tells the later start that it may end.
void serve(MainWindow& window, QLocalSocket* socket) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, &window, [&window, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kLongestMessage) socket->abort();
            return;
        }
        QByteArray line = socket->readLine(kLongestMessage);
        line.chop(1);
        socket->disconnectFromServer();
        bringToFront(window);
        if (!line.isEmpty()) openFromOutside(window, QString::fromUtf8(line));
    });
}

}  // namespace

bool handOverToRunningWindow(const std::filesystem::path& workFolder, const QString& file) {
    const QString name = serverName(workFolder);
    if (name.isEmpty()) return false;
    QElapsedTimer waited;
    waited.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(1000)) {
            if (!peerIsThisUser(socket.socketDescriptor())) return false;  // not our window: told nothing
            socket.write(file.toUtf8() + '\n');
            socket.waitForBytesWritten(2000);
            return socket.state() == QLocalSocket::UnconnectedState ||
                   socket.waitForDisconnected(kStartingWindowMilliseconds);
        }
        QThread::msleep(100);  // the window holding the lock may not listen yet
    } while (waited.elapsed() < kStartingWindowMilliseconds);
    return false;
}

bool listenForLaterStarts(MainWindow& window, const std::filesystem::path& workFolder) {
    const QString name = serverName(workFolder);
    if (name.isEmpty()) return false;
    QLocalServer::removeServer(name);
    auto* server = new QLocalServer(&window);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server, &QLocalServer::newConnection, &window, [&window, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) serve(window, socket);
    });
    return server->listen(name);
}
