// "Open Game .MPAK File".
#include "shell/commands.h"
#include "shell/form.h"

void SelectMPAKfile(Form&) {}
