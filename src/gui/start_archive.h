// An archive named as the program's argument, as the desktop entry and a file manager's "Open
// with" pass it: the window opens it through "Open Game .MPAK File" once it shows, the prompt
// answered with that file, so that it is opened and remembered as a chosen file is.
#pragma once

#include <QString>
#include <memory>

#include "gui/qt_dialogs.h"

class MainWindow;

// The real dialogs, except that the first open-file prompt is answered with `archive`.
std::unique_ptr<Dialogs> dialogsOpening(const QString& archive);
// Clicks "Open Game .MPAK File" once the event loop runs.
void openArchiveWhenShown(MainWindow& window);
