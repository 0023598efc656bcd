// Writes the benchmark's archive of COUNT game files, FILES_PER_FOLDER to a folder, to OUT:
//   make_game_archive COUNT FILES_PER_FOLDER OUT
#include <cstdio>
#include <cstdlib>

#include "common/files.h"
#include "game_files.h"

int main(int argc, char** argv) {
    if (argc != 4) return std::fprintf(stderr, "usage: make_game_archive COUNT FILES_PER_FOLDER OUT\n"), 2;
    writeWholeFile(argv[3], buildGameArchive(makeGameFiles(std::atoi(argv[1]), std::atoi(argv[2]))));
    return 0;
}
