#include "processor_check.h"

#ifdef ZLIBC_LIBDEFLATE_X86_FEATURES
// libdeflate's record of the instructions found: 0 until checked; the top bit says "checked".
extern volatile unsigned int libdeflate_x86_cpu_features;
#endif

// Under 16 KiB the plain code costs less than the check.
enum { kLargestSmallInput = 16 * 1024 };

void skipProcessorCheckForSmallInput(size_t inputSize) {
#ifdef ZLIBC_LIBDEFLATE_X86_FEATURES
    if (inputSize <= kLargestSmallInput) libdeflate_x86_cpu_features = 0x80000000u;
#else
    (void)inputSize;
#endif
}
