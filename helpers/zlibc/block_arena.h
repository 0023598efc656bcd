// zlibc's memory. A run needs a few blocks (the input, the output, libdeflate's state), all
// given up when it ends, so they are cut in turn from one static arena: its pages cost nothing
// until touched, and no block is mapped and unmapped on its own, as the C library's malloc
// does with large blocks (two system calls and a TLB flush each, per run).
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// A block of `size` bytes, aligned for any type; from malloc once the arena is used up. NULL
// when memory runs out.
void* zlibcAllocate(size_t size);
// Gives a block back: a block of the arena stays where it is until the run ends.
void zlibcFree(void* block);
// Keeps only the first `size` bytes of the block allocated last: what follows it in the arena
// is handed out again, so that the next block lies on pages already touched.
void zlibcKeepFront(void* block, size_t size);
// Hands the whole arena out again; only once every block of it has been given back.
void zlibcResetArena(void);

#ifdef __cplusplus
}
#endif
