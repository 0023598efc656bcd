// What the command line asks of the system: its own folder and its terminal.
#pragma once

#include <cstdio>
#include <filesystem>

// The folder of the running executable; `argv0`'s folder when the system cannot say.
std::filesystem::path runningProgramFolder(const char* argv0);
// Whether the stream writes to a terminal, and how many columns that terminal has (80 when it
// cannot be told).
bool isTerminal(std::FILE* stream);
int terminalColumns(std::FILE* stream);
// A command line's run is short: the memory it frees is kept for its next files instead of
// going back to the system, which would hand it out afresh at a fault per page.
void keepFreedMemory();
