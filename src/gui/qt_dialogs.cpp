#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "gui/host_paths.h"

QString displayText(const std::string& bytes) {
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString qtFileFilter(const std::string& filter) {
    auto bar = filter.find('|');
    std::string description = filter.substr(0, bar);
    std::string pattern = bar == std::string::npos ? "*" : filter.substr(bar + 1);
    auto open = description.rfind('(');
    std::string label = open == std::string::npos ? description : description.substr(0, open);
    while (!label.empty() && label.back() == ' ') label.pop_back();
    return QString::fromUtf8(label + " (" + pattern + ")");
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& title, const QString& initialFolder,
                                           const QString& filter) {
    // Game files are named .MPAK as often as .mpak. Qt's own dialog matches a pattern in any letter
    // case; a native one outside Windows may not.
    QFileDialog::Options options;
#ifndef Q_OS_WIN
    options |= QFileDialog::DontUseNativeDialog;
#endif
    QString chosen = QFileDialog::getOpenFileName(parent, title, initialFolder, filter, nullptr, options);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& initialFolder) {
    QString chosen = QFileDialog::getExistingDirectory(parent, title, initialFolder);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

void QtDialogs::message(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& title) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(title));
    box.setText(displayText(text));
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::question(QWidget* parent, const std::string& text, const std::string& title) {
    return QMessageBox::question(parent, QString::fromUtf8(title), displayText(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::openFolder(const std::filesystem::path& folder) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open hands the folder to the desktop's file manager and ends, or ends with an error
    // when nothing there shows folders, which QDesktopServices would not tell. One still running
    // after a moment is the file manager itself, or on its way: it is left to run.
    auto* opener = new QProcess(qApp);
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start(QStringLiteral("xdg-open"), {qtPathOf(folder)});
    if (!opener->waitForStarted()) {
        opener->deleteLater();
        return false;
    }
    constexpr int kHandOverMilliseconds = 2000;
    if (!opener->waitForFinished(kHandOverMilliseconds)) return true;
    return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
#else
    // Not waited for.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qtPathOf(folder)));
#endif
}
