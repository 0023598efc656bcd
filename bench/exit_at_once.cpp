// The floor of the tool benchmark: a statically linked program that exits at once, so the
// cost of starting and waiting for a process can be told apart from zlibc's own work.
int main() { return 0; }
