#include "gui/drop_handling.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <filesystem>
#include <string>

#include "common/files.h"
#include "common/text.h"
#include "gui/host_paths.h"
#include "gui/main_window.h"
#include "pack/pack_folder.h"
#include "shell/commands.h"

namespace fs = std::filesystem;

namespace {

struct FileKind {
    const char* extension;  // lower case; matched ignoring ASCII letter case
    Command command;        // the button's command, its prompt answered with the file
};

const FileKind kFileKinds[] = {
    {".mpak", SelectMPAKfile},
    {".mpkg", DecompressMPKG},
    {".fsb", ConvertFSB},
    {".mmod", GetModelGraphics},
};

constexpr const char* kNotHandled =
    "Not opened: only an .mpak, .mpkg, .fsb or .mmod file, or a folder in ExtractedFiles.";

// The status line says why; while a command runs, it paints the line at its next frame.
void refuse(MainWindow& window, const std::string& why) {
    if (window.commandRunning())
        window.setStatus(why);
    else
        window.runCommand([&why](Form& form) { form.window.setStatus(why); });
}

void handle(MainWindow& window, const QString& path) {
    if (window.commandRunning()) return refuse(window, "Not opened: a command is running; try again when it ends.");
    const fs::path host = hostPathOf(path);
    std::error_code ec;
    if (fs::is_directory(host, ec)) {
        if (!isPackableFolder(window.form().extractedFilesPath, host)) return refuse(window, kNotHandled);
        return window.runCommand([&host](Form& f) { setPackFolderName(f, packFolderCaption(host)); });
    }
    const std::string extension = asciiLower(pathText(host.extension()));
    for (const FileKind& kind : kFileKinds)
        if (extension == kind.extension) return window.runCommandOn(kind.command, path);
    refuse(window, kNotHandled);
}

}  // namespace

void openFromOutside(MainWindow& window, const QString& path) {
    // Absolute and without a trailing separator: the remembered folder is the file's, and a
    // folder's name is its last part.
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QTimer::singleShot(0, &window, [&window, absolute] { handle(window, QDir::toNativeSeparators(absolute)); });
}

void handleDrop(MainWindow& window, const QList<QUrl>& urls) {
    if (urls.size() == 1 && urls.front().isLocalFile())
        openFromOutside(window, urls.front().toLocalFile());
    else
        refuse(window, "Not opened: drop one file or folder at a time.");
}
