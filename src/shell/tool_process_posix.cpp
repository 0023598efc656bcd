// ToolProcess on POSIX: posix_spawn with the child's standard error on a pipe. Waiting is a poll
// on that pipe with a timeout; whether the child has ended is asked of the child itself
// (waitpid), since a program may close its standard error long before it exits. Once the pipe
// is closed, the poll is on a pidfd, which tells when the child has ended.
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "shell/spawn_posix.h"
#include "shell/tool_process.h"
#include "shell/tool_runner.h"

bool ToolProcess::start(const std::string& commandLine) {
    std::optional<ToolCommand> command = resolveCommandLine(commandLine);
    if (!command) return false;
    std::vector<std::string> words{command->program};
    words.insert(words.end(), command->arguments.begin(), command->arguments.end());

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    const pid_t child = spawnHelper(command->program, std::move(words), actions);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return false;
    }
    pid_ = child;
    errorPipe_ = pipeEnds[0];
    return true;
}

bool ToolProcess::errorPipeOpen(int milliseconds) {
    char buffer[4096];
    while (errorPipe_ >= 0) {
        pollfd ready{errorPipe_, POLLIN, 0};
        int polled = poll(&ready, 1, milliseconds);
        if (polled == 0) return true;
        if (polled < 0 && errno == EINTR) continue;
        ssize_t got = polled < 0 ? -1 : read(errorPipe_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) {
            keepErrors(buffer, static_cast<std::size_t>(got));
            continue;
        }
        close(errorPipe_);  // every holder of the write end has closed it
        errorPipe_ = -1;
    }
    return false;
}

bool ToolProcess::reaped() {
    if (pid_ < 0) return true;
    int status = 0;
    pid_t got = 0;
    while ((got = waitpid(pid_, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (got == 0) return false;
    pid_ = -1;
    exitCode_ = got < 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    // What the program wrote before it ended is in the pipe already; a program it started may
    // still hold the pipe open, so nothing more is waited for.
    errorPipeOpen(0);
    if (errorPipe_ >= 0) close(errorPipe_), errorPipe_ = -1;
    if (exitWatch_ >= 0) close(exitWatch_), exitWatch_ = -1;
    return true;
}

bool ToolProcess::ended() {
    errorPipeOpen(0);
    return reaped();
}

int ToolProcess::waitHandle() {
    if (errorPipe_ >= 0 || pid_ < 0) return errorPipe_;
    if (exitWatch_ < 0) exitWatch_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    return exitWatch_;
}

void ToolProcess::waitForAny(const std::vector<ToolProcess*>& runs, int milliseconds) {
    std::vector<pollfd> handles;
    for (ToolProcess* run : runs)
        if (int handle = run->waitHandle(); handle >= 0) handles.push_back({handle, POLLIN, 0});
    // A run that can only be asked again (a kernel without pidfds) is asked after a short pause.
    if (handles.size() < runs.size()) milliseconds = std::min(milliseconds, 1);
    poll(handles.data(), handles.size(), milliseconds);
}

std::int32_t ToolProcess::finish(const std::function<void()>& whileWaiting) {
    const int timeout = whileWaiting ? kPauseMilliseconds : -1;
    while (!ended()) {
        if (errorPipe_ >= 0) {
            errorPipeOpen(timeout);
        } else {
            pollfd exit{waitHandle(), POLLIN, 0};  // the program closed its standard error but runs on
            poll(&exit, 1, exit.fd >= 0 ? timeout : 1);
        }
        if (whileWaiting) whileWaiting();
    }
    return exitCode_;
}

ToolProcess::~ToolProcess() { finish(); }
