// The side tools: .mpkg unpacking, .fsb conversion, model texture listing.
#include "shell/commands.h"
#include "shell/form.h"

void GetModelGraphics(Form&) {}
void DecompressMPKG(Form&) {}
void ConvertFSB(Form&) {}
