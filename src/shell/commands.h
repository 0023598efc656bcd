// The commands behind the window's buttons. Each is a free function over the Form; the
// window wires each button's click to one of them.
#pragma once

struct Form;

// File Extractor
void SelectMPAKfile(Form& form);
void SelectAll(Form& form);
void MassExtract(Form& form);
void OpenExtractorFolder(Form& form);
void GetModelGraphics(Form& form);
void DecompressMPKG(Form& form);
// File Packer
void SelectMPAKFolder(Form& form);
void PackMPAK(Form& form);
void OpenNewMPAKsFolder(Form& form);
// Sound File Conversion
void ConvertFSB(Form& form);
void OpenSoundsFolder(Form& form);
// The three "?" buttons
void ShowExtractorHelp(Form& form);
void ShowPackerHelp(Form& form);
void ShowSoundHelp(Form& form);
