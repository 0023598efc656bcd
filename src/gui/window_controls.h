// The window's controls, built from one table: each one's kind, name, caption, design place
// and the command its click runs.
#pragma once

#include <functional>

#include "gui/window_layout.h"

struct Form;
struct Outcome;
class FileListView;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QWidget;

using Command = Outcome (*)(Form&);

// The controls that the window works with after building them.
struct WindowControls {
    FileListView* fileList = nullptr;        // List1
    QLineEdit* patternField = nullptr;       // txtSelectPattern
    QLabel* itemCount = nullptr;             // Label2
    QLineEdit* statusLine = nullptr;         // Text1
    QPlainTextEdit* logView = nullptr;       // RichTextBox1
    QFrame* optionsPanel = nullptr;          // Frame1
    QLabel* progressBar = nullptr;           // Label9
    QLabel* archiveName = nullptr;           // Label5
    QLabel* packFolder = nullptr;            // Label13
    QRadioButton* autoAddOption = nullptr;   // radAutoAddNewFiles
    QCheckBox* compressAllOption = nullptr;  // chkCompressAllFiles
};

// Builds every control of the window in its design state. A button's click calls `run` with
// its command.
WindowControls buildControls(QWidget& window, const std::function<void(Command)>& run);

// Puts a control at a place given in twips.
void place(QWidget* control, const Rect& twips);
