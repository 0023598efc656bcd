// The "Open Folder" and "?" buttons of the three sections.
#include "shell/commands.h"
#include "shell/form.h"

void OpenExtractorFolder(Form&) {}
void OpenNewMPAKsFolder(Form&) {}
void OpenSoundsFolder(Form&) {}
void ShowExtractorHelp(Form&) {}
void ShowPackerHelp(Form&) {}
void ShowSoundHelp(Form&) {}
