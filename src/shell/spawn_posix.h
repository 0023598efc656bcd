// Starting a helper program on POSIX: posix_spawn with the given file actions, the program's
// words as its arguments (its path first), the environment and current folder inherited, and
// no blocked signals, whatever the calling thread blocks. The child's id, or -1 when it cannot
// be started (posix_spawn reports a failed exec as its own failure). Counts the start.
#pragma once

#include <spawn.h>
#include <sys/types.h>

#include <string>
#include <vector>

pid_t spawnHelper(const std::string& program, std::vector<std::string> words, const posix_spawn_file_actions_t& actions);
