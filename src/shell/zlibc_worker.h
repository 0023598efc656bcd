// One `zlibc --serve` process (its protocol: helpers/zlibc/zlibc_serve.h): jobs written to it,
// each answered in turn with the exit code and the line that a one-shot run would give. It
// holds up to two jobs, so that it goes on to the next one without waiting for us.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "shell/helper_job.h"
#include "shell/worker_process.h"

class ZlibcWorker {
public:
    enum class State {
        Starting,  // its first line has not come yet; a job may already wait in its input
        Ready,     // serving
        Refused,   // not a zlibc that serves jobs (or one that never said so in time)
        Gone,      // it ended during a job
    };
    // How long a new worker has to name its protocol.
    static constexpr std::chrono::milliseconds kGreetingTime{3000};
    static constexpr std::size_t kJobsHeld = 2;

    ~ZlibcWorker();  // a worker that serves is told to end and waited for; any other is killed

    bool start(const std::filesystem::path& program);
    // Hands it a job; it must hold fewer than kJobsHeld.
    void send(const HelperJob& job);
    // Reads what it has written; gives the oldest job's result once answered, or once the
    // worker has ended during that job (128 + the signal that ended it, or -1). The jobs it
    // held behind that one were never started.
    std::optional<ToolResult> poll();
    State state() const { return state_; }
    std::size_t jobsHeld() const { return held_; }
    WorkerProcess& process() { return process_; }

private:
    std::optional<ToolResult> takeAnswer();

    WorkerProcess process_;
    State state_ = State::Starting;
    std::size_t held_ = 0;
    std::string received_;
    std::chrono::steady_clock::time_point greetingDeadline_;
};

// The job as the worker reads it: "<d|k> <length of IN> <length of OUT>\n" IN OUT, UTF-8.
std::string encodeJob(const HelperJob& job);
// The first answer in `bytes` ("<exit code> <length>\n" MESSAGE), taken off the front; nothing
// while it is incomplete. A malformed answer gives -1 and leaves `malformed` set.
std::optional<ToolResult> takeAnswerFrom(std::string& bytes, bool& malformed);
