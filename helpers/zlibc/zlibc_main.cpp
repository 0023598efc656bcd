// zlibc: not built yet.
#include <cstdio>
int main() {
    std::fputs("zlibc: not built yet\n", stderr);
    return 2;
}
