// zlibc's serving mode, `zlibc --serve`: one process does the jobs of many runs. It first writes
// the line "zlibc-serve 1\n" (the protocol and its version) to its standard output, then reads
// jobs from its standard input until that closes, answering each before it reads the next:
//
//   job:    "<d|k> <length of IN> <length of OUT>\n" IN OUT    (the paths' UTF-8 bytes)
//   answer: "<exit code> <length of MESSAGE>\n" MESSAGE
//
// A job means what `zlibc -d|-k IN OUT` means; its answer is that run's exit code and the line
// it writes to standard error (empty on success). Lengths count bytes, so any path, a newline
// in a name included, passes unchanged. A job that cannot be read ends the process with 2.
#pragma once

#include <stdbool.h>

#include "zlibc_failure.h"

#ifdef __cplusplus
extern "C" {
#endif

// One conversion of IN to OUT; false with the reason when it fails.
typedef bool (*ZlibcConversion)(bool inflate, const char* in, const char* out, ZlibcFailure* failure);
// The one line that a failed run writes: "zlibc: <reason>\n" with no other line break. Gives
// its length; `line` holds at least sizeof(ZlibcFailure) + 16 bytes.
int formatReasonLine(char* line, int capacity, const char* reason);
// Serves jobs until the input ends; gives the process's exit code.
int serveJobs(ZlibcConversion convert);

#ifdef __cplusplus
}
#endif
