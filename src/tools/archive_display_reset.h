// The reset of the archive display that the .mpkg and .fsb tools begin with: afterwards no
// archive counts as open.
#pragma once

struct Form;

// Empties the file list, the status line, the archive name and the log view; "0 Items".
void clearArchiveDisplay(Form& form);
// The same, then repaints the window and lets it process pending messages.
void resetArchiveDisplay(Form& form);
