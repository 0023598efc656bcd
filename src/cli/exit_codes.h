// The command line's exit codes, as --help and the README list them.
#pragma once

enum ExitCode {
    kExitDone = 0,
    kExitFailed = 1,          // the command failed: its error was printed
    kExitBadUsage = 2,        // the arguments make no command
    kExitEntriesLeftOut = 3,  // done, but some entries were refused, skipped or failed
    kExitWorkFolderBusy = 4,  // another copy of the program is using the work folder
};
