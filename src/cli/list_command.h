// "list": an archive's list lines or entry paths on standard output, read with the format
// library alone, so that nothing is written anywhere. Each ends in LF, or in a zero byte when
// `nulEnded` (-0); on a terminal, and not with -0, names are shown as appendTerminalText does.
#pragma once

#include <filesystem>

// An exit code: kExitDone, or kExitFailed when the archive does not open (the error the
// window's open would show has been printed).
int listArchive(const std::filesystem::path& archive, bool pathsOnly, bool nulEnded);

// "verify": the problems found and the summary on standard output (escaped on a terminal, as
// list's names are); kExitDone when there are none, kExitEntriesLeftOut when there are, and
// kExitFailed when the archive does not open.
int verifyArchiveCommand(const std::filesystem::path& archive);

// "diff": one line per difference on standard output (only the path with `pathsOnly`);
// kExitDone when the archives hold the same, kExitEntriesLeftOut when they differ.
int diffArchivesCommand(const std::filesystem::path& a, const std::filesystem::path& b, bool pathsOnly);
