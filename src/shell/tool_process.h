// One run of a helper program: started from a command line, then waited for. Its standard error
// is always caught (its first 4 KiB), so that a caller can say why it failed; the window's own
// console is never written to.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ToolProcess {
public:
    // How long a wait for a run lasts before the window gets its turn.
    static constexpr int kPauseMilliseconds = 16;

    ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;
    ~ToolProcess();  // a run still going is waited for

    // Starts the program that the command line names (see resolveCommandLine); false when it
    // cannot be started.
    bool start(const std::string& commandLine);
    // Waits until the run ends and gives its exit code: 128 + the signal number when a signal
    // ended it, -1 when it never started or cannot be waited for. While it runs, `whileWaiting`
    // (when given) is called about every 16 ms.
    std::int32_t finish(const std::function<void()>& whileWaiting = {});
    // True once the run has ended (or never started): finish then gives its code at once.
    // Reads what the program has written to its standard error so far; never waits.
    bool ended();
    // Waits until one of `runs` may have ended or `milliseconds` have passed.
    static void waitForAny(const std::vector<ToolProcess*>& runs, int milliseconds);
    const std::string& errors() const { return errors_; }

private:
    // The first 4 KiB of what the program writes to its standard error.
    void keepErrors(const char* bytes, std::size_t count) {
        constexpr std::size_t kErrorTextLimit = 4096;
        if (errors_.size() < kErrorTextLimit) errors_.append(bytes, std::min(count, kErrorTextLimit - errors_.size()));
    }

    // The platform's handles and waits, in tool_process_<platform>.cpp.
    struct Host;
    std::unique_ptr<Host> host_;
    std::string errors_;
};
