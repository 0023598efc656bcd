// "Select All" and "Extract Selected File(s)".
#include "shell/commands.h"
#include "shell/form.h"

void SelectAll(Form&) {}
void MassExtract(Form&) {}
