/* The floor of the benchmarks: a statically linked program that exits at once, so the cost of
   starting and waiting for a process can be told apart from zlibc's own work. It is linked as
   zlibc is (against musl where it is installed), so that both start alike. */
int main(void) { return 0; }
