// wmain on Windows: the arguments in UTF-8, standard output and error in binary mode.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "common/utf16.h"
#include "common/utf8_main.h"

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return utf8Main(utf8Arguments(argc, argv));
}
