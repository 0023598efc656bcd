// Opening the archive at form.archivePath: the log's chunk lines, the entry table, the file
// list and the library files.
#pragma once

#include "shell/outcome.h"

struct Form;

// Reads form.archivePath and the archive name in Label5. Reports its own errors: a failure
// leaves no archive loaded (Label5 empty, the list empty, "0 Items") and shows
// "ProcessLibrary error." with what went wrong, and fails with that box's text.
Outcome ProcessLibrary(Form& form);
