// mpak-dump ARCHIVE: prints what opening ARCHIVE in the window would show (the log, the list
// lines, the library texts, or the error box text; format in format/archive_dump.h) and
// writes nothing. Exit status: 0 when the archive opens, 1 when it does not, 2 for a usage
// error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/files.h"
#include "format/archive_dump.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "common/utf16.h"
#endif

static int run(const std::vector<std::string>& argv) {
    if (argv.size() != 2) {
        std::fputs("usage: mpak-dump ARCHIVE\n", stderr);
        return 2;
    }
    ArchiveDump dump = dumpArchive(hostPath(argv[1]));
    std::fwrite(dump.text.data(), 1, dump.text.size(), stdout);
    return dump.opened ? 0 : 1;
}

#ifdef _WIN32
// The archive's name as UTF-16, whatever the system's code page; standard output in binary
// mode, so that the texts' CR LF pairs go out unchanged.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return run(utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv, argv + argc)); }
#endif
