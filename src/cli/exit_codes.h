// The command line's exit codes, as --help and the README list them, and the one place that
// turns a command's outcome into one.
#pragma once

#include "shell/outcome.h"

enum ExitCode {
    kExitDone = 0,
    kExitFailed = 1,          // the command failed: its error was printed
    kExitBadUsage = 2,        // the arguments make no command
    kExitEntriesLeftOut = 3,  // done, but some entries were refused, skipped or failed
    kExitWorkFolderBusy = 4,  // another copy of the program is using the work folder
};

inline ExitCode exitCodeOf(const Outcome& outcome) {
    switch (outcome.kind) {
        case Outcome::Kind::Done:
            return kExitDone;
        case Outcome::Kind::EntriesLeftOut:
            return kExitEntriesLeftOut;
        case Outcome::Kind::Failed:
        case Outcome::Kind::Refused:
            break;
    }
    return kExitFailed;
}
