// The window's controls, built from one table: each one's kind, name, caption, design place
// and the command its click runs.
#pragma once

#include <functional>

#include "gui/window_layout.h"

struct Form;
class QWidget;

using Command = void (*)(Form&);

// Builds every control of the window in its design state. A button's click calls `run` with
// its command.
void buildControls(QWidget& window, const std::function<void(Command)>& run);

// Puts a control at a place given in twips.
void place(QWidget* control, const Rect& twips);
