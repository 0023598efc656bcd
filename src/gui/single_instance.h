// One running window per work folder. The start that holds the work-folder lock listens on a
// local socket named after the work folder (instanceSocketName); a later start finds the folder
// locked, hands its file argument (or none) to that window and ends. The window comes to the
// front and handles the file as if it had been dropped on it.
#pragma once

#include <QString>
#include <filesystem>

class MainWindow;

// In a later start: hands `file` (absolute, or empty for none) to the running window, waiting a
// few seconds for a window that is still starting to listen. False when none answered.
bool handOverToRunningWindow(const std::filesystem::path& workFolder, const QString& file);

// In the start that holds the lock: removes the socket that a run which ended abruptly left
// behind, and listens. False when the socket cannot be made.
bool listenForLaterStarts(MainWindow& window, const std::filesystem::path& workFolder);
