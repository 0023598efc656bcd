// "Select .MPAK Folder" and "Pack New .MPAK".
#include "shell/commands.h"
#include "shell/form.h"

void SelectMPAKFolder(Form&) {}
void PackMPAK(Form&) {}
