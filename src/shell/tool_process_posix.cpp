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

struct ToolProcess::Host {
    explicit Host(ToolProcess& r) : run(r) {}
    // Reads the pipe, waiting up to `milliseconds` (-1: without limit) for more; false once the
    // program has closed its end, which it does as it ends.
    bool errorPipeOpen(int milliseconds);
    // True once the program has ended; its code is then in exitCode. Never waits.
    bool reaped();
    // What to poll to wait for the run: its pipe while open, then a pidfd (-1 without one).
    int waitHandle();

    ToolProcess& run;
    pid_t pid = -1;
    int exitWatch = -1;
    std::int32_t exitCode = -1;
    int errorPipe = -1;
};

ToolProcess::ToolProcess() : host_(std::make_unique<Host>(*this)) {}

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
    host_->pid = child;
    host_->errorPipe = pipeEnds[0];
    return true;
}

bool ToolProcess::Host::errorPipeOpen(int milliseconds) {
    char buffer[4096];
    while (errorPipe >= 0) {
        pollfd ready{errorPipe, POLLIN, 0};
        int polled = poll(&ready, 1, milliseconds);
        if (polled == 0) return true;
        if (polled < 0 && errno == EINTR) continue;
        ssize_t got = polled < 0 ? -1 : read(errorPipe, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) {
            run.keepErrors(buffer, static_cast<std::size_t>(got));
            continue;
        }
        close(errorPipe);  // every holder of the write end has closed it
        errorPipe = -1;
    }
    return false;
}

bool ToolProcess::Host::reaped() {
    if (pid < 0) return true;
    int status = 0;
    pid_t got = 0;
    while ((got = waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (got == 0) return false;
    pid = -1;
    exitCode = got < 0               ? -1
               : WIFEXITED(status)   ? WEXITSTATUS(status)
               : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                     : -1;
    // What the program wrote before it ended is in the pipe already; a program it started may
    // still hold the pipe open, so nothing more is waited for.
    errorPipeOpen(0);
    if (errorPipe >= 0) close(errorPipe), errorPipe = -1;
    if (exitWatch >= 0) close(exitWatch), exitWatch = -1;
    return true;
}

bool ToolProcess::ended() {
    host_->errorPipeOpen(0);
    return host_->reaped();
}

int ToolProcess::Host::waitHandle() {
    if (errorPipe >= 0 || pid < 0) return errorPipe;
    if (exitWatch < 0) exitWatch = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    return exitWatch;
}

void ToolProcess::waitForAny(const std::vector<ToolProcess*>& runs, int milliseconds) {
    std::vector<pollfd> handles;
    for (ToolProcess* run : runs)
        if (int handle = run->host_->waitHandle(); handle >= 0) handles.push_back({handle, POLLIN, 0});
    // A run that can only be asked again (a kernel without pidfds) is asked after a short pause.
    if (handles.size() < runs.size()) milliseconds = std::min(milliseconds, 1);
    poll(handles.data(), handles.size(), milliseconds);
}

std::int32_t ToolProcess::finish(const std::function<void()>& whileWaiting) {
    const int timeout = whileWaiting ? kPauseMilliseconds : -1;
    while (!ended()) {
        if (host_->errorPipe >= 0) {
            host_->errorPipeOpen(timeout);
        } else {
            pollfd exit{host_->waitHandle(), POLLIN, 0};  // the program closed its standard error but runs on
            poll(&exit, 1, exit.fd >= 0 ? timeout : 1);
        }
        if (whileWaiting) whileWaiting();
    }
    return host_->exitCode;
}

ToolProcess::~ToolProcess() { finish(); }
