// Shared by the archive tests: the example archive and the comment lines that open the library files.
#pragma once

#include <string>

#include "fixtures/mpak_builder.h"

inline const std::string kTocIntro =
    "--Comment lines start with double (--) dashes\r\n"
    "--Field 1: 00=file is not compressed, 01=file is compressed.\r\n"
    "--Field 2: # of copies of file packed in raw data (RAWD) area. Probably also # of copies of file maintained "
    "in memory by the game.\r\n"
    "--Field 3: File path.\r\n"
    "--It is possible to add new file references to this table if you wish.\r\n"
    "--However, Vantrel Ripper will automatically add new files to the .MPAK. By default, they will be compressed "
    "(01), 1 copy.\r\n";

inline const std::string kStocIntro =
    "--Comment lines start with double (--) dashes.\r\n"
    "--[x] # of files in the next group.\r\n"
    "--At least 2 file entries are always present.\r\n"
    "--1st file entry is always file path.\r\n"
    "--2nd file entry is usually file name but can be file path.\r\n"
    "--3rd file entry (if present) is usually file path.\r\n"
    "--File entries probably indicate path pointers to a common file.\r\n"
    "--It is possible to add new file references to this table if you wish, and necessary if you add new files "
    "to the game.\r\n";

// The example entry: 0xA4C stored bytes of a compressed 0x2000-byte file whose data sits at 0xE6B4.
inline MpakBuilder skyArchive(bool withStocGroup = false) {
    MpakBuilder b;
    if (withStocGroup) b.stocGroup({"textures/sky.tga", "sky.tga"});
    std::int32_t rawdStart = 16 + (4 + 15 + 16 + 4) + b.builtStocSize();
    b.entry("textures/sky.tga", std::string(0xA4C, '\x5A'),
            MpakEntryOptions().compressed(1).originalSize(0x2000).rawdOffset(0xE6B4 - rawdStart));
    return b;
}

inline const std::string kSkyListLine = "0000E6B4 0000F0FF 00000A4C 00002000 01 1 textures\\sky.tga";
