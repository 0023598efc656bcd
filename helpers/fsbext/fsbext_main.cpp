// fsbext: not built yet.
#include <cstdio>
int main() {
    std::fputs("fsbext: not built yet\n", stderr);
    return 2;
}
