// libdeflate asks the processor which instructions it has before its first call: CPUID, a few
// microseconds each on a virtual machine (each a trip to the hypervisor), so a good part of a
// run on a small file. For a small input the answer does not pay for itself: libdeflate is told
// that nothing beyond the baseline is there and takes its plain code, which gives the same bytes.
#pragma once

#include <stddef.h>

// Before the first libdeflate call on an input of `inputSize` bytes.
void skipProcessorCheckForSmallInput(size_t inputSize);
