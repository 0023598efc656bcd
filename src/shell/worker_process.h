// A helper program that serves many jobs: it reads them from its standard input and answers on
// its standard output, both connected to us; its standard error is discarded. Nothing here
// knows the jobs' format (see zlibc_worker.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class WorkerProcess {
public:
    WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;
    ~WorkerProcess();  // as stop(true)

    // Starts `program` with `arguments`, hidden and without a console; false when it cannot run.
    bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments);
    // Writes all of `bytes` to the program's input; false once the program has gone.
    bool send(std::string_view bytes);
    // Appends what the program has written so far, without waiting; false once its output has
    // closed (it ended, or is ending) and everything it wrote has been taken.
    bool receive(std::string& into);
    // Waits until one of `workers` has written more or closed its output, or `milliseconds` pass.
    static void waitForAny(const std::vector<WorkerProcess*>& workers, int milliseconds);
    // Closes the program's input, which tells it to end, kills it first when `kill`, waits for
    // it and gives its exit code: 128 + the signal number when a signal ended it, -1 when it
    // never started or cannot be waited for.
    std::int32_t stop(bool kill);

private:
    // The platform's handles and waits, in worker_process_<platform>.cpp.
    struct Host;
    std::unique_ptr<Host> host_;
};
