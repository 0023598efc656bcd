#include "block_arena.h"

#include <stdint.h>
#include <stdlib.h>

// Enough for a file of a few MiB with its output and libdeflate's state; larger ones come from
// malloc, where the cost of mapping them is small beside their own work.
enum { kArenaSize = 16 * 1024 * 1024, kAlignment = 64 };

// Under AddressSanitizer every block comes from malloc, so that it is checked on its own.
#if defined(__SANITIZE_ADDRESS__)
#define ZLIBC_ARENA 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZLIBC_ARENA 0
#endif
#endif
#ifndef ZLIBC_ARENA
#define ZLIBC_ARENA 1
#endif

static _Alignas(kAlignment) unsigned char arena[kArenaSize];
static size_t arenaUsed, lastBlockStart;

static size_t roundedUp(size_t size) { return (size + kAlignment - 1) / kAlignment * kAlignment; }

void* zlibcAllocate(size_t size) {
    size_t rounded = roundedUp(size);
    if (ZLIBC_ARENA && rounded >= size && rounded <= kArenaSize - arenaUsed) {
        void* block = arena + arenaUsed;
        lastBlockStart = arenaUsed;
        arenaUsed += rounded;
        return block;
    }
    return malloc(size);
}

void zlibcFree(void* block) {
    uintptr_t at = (uintptr_t)block, start = (uintptr_t)arena;
    if (at < start || at >= start + kArenaSize) free(block);
}

void zlibcKeepFront(void* block, size_t size) {
    if ((unsigned char*)block == arena + lastBlockStart && roundedUp(size) <= arenaUsed - lastBlockStart)
        arenaUsed = lastBlockStart + roundedUp(size);
}

void zlibcResetArena(void) { arenaUsed = lastBlockStart = 0; }
