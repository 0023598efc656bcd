// What a file given to the window from outside does: dropped on it, named on the command line
// ("Open with") or handed over by a later start of the program. An .mpak opens as "Open Game
// .MPAK File" would open it, an .mpkg, .fsb or .mmod runs its tool, a folder directly inside
// ExtractedFiles becomes the pack folder; anything else is refused on the status line.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class MainWindow;

// Handles the file once the window's event loop runs, so that whoever handed it over (the
// file manager's drag, a later start) is not kept waiting by the command.
void openFromOutside(MainWindow& window, const QString& path);
// A drop: exactly one local file or folder is handled as above.
void handleDrop(MainWindow& window, const QList<QUrl>& urls);
