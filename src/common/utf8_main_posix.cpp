// main on POSIX: the arguments are bytes already, passed on as they are.
#include "common/utf8_main.h"

int main(int argc, char** argv) { return utf8Main(std::vector<std::string>(argv, argv + argc)); }
