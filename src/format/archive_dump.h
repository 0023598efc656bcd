// What opening an archive would show, as one text for the mpak-dump tool and for scripts.
// Sections, each introduced by a line "== name" (LF):
//   == log    the log text          == list   one list line per entry, each ended by LF
//   == toc    the .toc text as written
//   == stoc   the .stoc text as written (no body when no .stoc would be written)
// or, when the open fails, "== error" followed by the error box text. Texts are the bytes as
// the program holds them, CR LF kept; a non-empty text is followed by one LF of its own.
#pragma once

#include <filesystem>
#include <string>

struct ArchiveDump {
    std::string text;
    bool opened = false;
};

// Reads the archive through the same code as ProcessLibrary; writes nothing.
ArchiveDump dumpArchive(const std::filesystem::path& archive);
