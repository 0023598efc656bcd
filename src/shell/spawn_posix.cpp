#include "shell/spawn_posix.h"

#include <csignal>

#include "shell/tool_runner.h"

extern char** environ;

pid_t spawnHelper(const std::string& program, std::vector<std::string> words, const posix_spawn_file_actions_t& actions) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (spawnError != 0) return -1;
    countHelperStart();
    return child;
}
