// WorkerProcess on POSIX: one socket pair carries both directions, so that a write to a worker
// that has gone fails with EPIPE instead of raising SIGPIPE in the window's process.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "shell/spawn_posix.h"
#include "shell/worker_process.h"

struct WorkerProcess::Host {
    pid_t pid = -1;
    int channel = -1;  // one socket: the program's input and output
};

WorkerProcess::WorkerProcess() : host_(std::make_unique<Host>()) {}

bool WorkerProcess::start(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const pid_t child = spawnHelper(program.string(), std::move(words), actions);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return false;
    }
    host_->pid = child;
    host_->channel = ends[0];
    return true;
}

bool WorkerProcess::send(std::string_view bytes) {
    while (!bytes.empty() && host_->channel >= 0) {
        ssize_t sent = ::send(host_->channel, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return bytes.empty();
}

bool WorkerProcess::receive(std::string& into) {
    char buffer[4096];
    while (host_->channel >= 0) {
        ssize_t got = recv(host_->channel, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
            // Less than asked for is all there was: the next call takes what comes later, or
            // finds the output closed.
            if (static_cast<std::size_t>(got) < sizeof buffer) return true;
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
    return false;
}

void WorkerProcess::waitForAny(const std::vector<WorkerProcess*>& workers, int milliseconds) {
    std::vector<pollfd> channels;
    for (const WorkerProcess* worker : workers)
        if (worker->host_->channel >= 0) channels.push_back({worker->host_->channel, POLLIN, 0});
    poll(channels.data(), channels.size(), milliseconds);
}

std::int32_t WorkerProcess::stop(bool kill) {
    if (host_->channel >= 0) close(host_->channel), host_->channel = -1;
    if (host_->pid < 0) return -1;
    if (kill) ::kill(host_->pid, SIGKILL);
    int status = 0;
    pid_t child = host_->pid;
    host_->pid = -1;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

WorkerProcess::~WorkerProcess() { stop(true); }
