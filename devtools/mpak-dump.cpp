// mpak-dump ARCHIVE: prints what opening ARCHIVE in the window would show (the log, the list
// lines, the library texts, or the error box text; format in format/archive_dump.h) and
// writes nothing. Exit status: 0 when the archive opens, 1 when it does not, 2 for a usage
// error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/utf8_main.h"
#include "format/archive_dump.h"

int utf8Main(const std::vector<std::string>& argv) {
    if (argv.size() != 2) {
        std::fputs("usage: mpak-dump ARCHIVE\n", stderr);
        return 2;
    }
    ArchiveDump dump = dumpArchive(hostPath(argv[1]));
    std::fwrite(dump.text.data(), 1, dump.text.size(), stdout);
    return dump.opened ? 0 : 1;
}
