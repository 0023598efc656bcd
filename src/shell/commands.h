// The commands behind the window's buttons. Each is a free function over the Form; the
// window wires each button's click to one of them. Each returns what it did (outcome.h).
#pragma once

#include "shell/outcome.h"

struct Form;

// File Extractor
Outcome SelectMPAKfile(Form& form);
Outcome SelectAll(Form& form);
Outcome MassExtract(Form& form);
Outcome OpenExtractorFolder(Form& form);
Outcome GetModelGraphics(Form& form);
Outcome DecompressMPKG(Form& form);
// File Packer
Outcome SelectMPAKFolder(Form& form);
Outcome PackMPAK(Form& form);
// The open archive anew in NewMPAKs with the changed and new files of its ExtractedFiles folder.
Outcome UpdateMPAK(Form& form);
Outcome OpenNewMPAKsFolder(Form& form);
// Sound File Conversion
Outcome ConvertFSB(Form& form);
Outcome OpenSoundsFolder(Form& form);
// The three "?" buttons
Outcome ShowExtractorHelp(Form& form);
Outcome ShowPackerHelp(Form& form);
Outcome ShowSoundHelp(Form& form);
