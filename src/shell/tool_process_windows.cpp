// ToolProcess on Windows: CreateProcessW hidden and without a console of its own, with the
// child's standard error on a pipe; waiting is WaitForSingleObject with a timeout, the pipe
// read as it fills so that a child writing much to it never blocks.
#include <windows.h>

#include <algorithm>
#include <optional>

#include "common/utf16.h"
#include "shell/tool_process.h"
#include "shell/tool_runner.h"

namespace {

constexpr int kStartAttempts = 3;

}  // namespace

struct ToolProcess::Host {
    explicit Host(ToolProcess& r) : run(r) {}
    void drainErrors();  // what the pipe holds now, without waiting

    ToolProcess& run;
    HANDLE process = nullptr;
    HANDLE errorPipe = nullptr;
};

ToolProcess::ToolProcess() : host_(std::make_unique<Host>(*this)) {}

bool ToolProcess::start(const std::string& commandLine) {
    // The program that the line names, found as on POSIX, and the line itself in UTF-16: the
    // narrow CreateProcessA would pass both through the system's code page.
    std::optional<ToolCommand> command = resolveCommandLine(commandLine);
    if (!command) return false;
    std::optional<std::wstring> program = utf16FromUtf8(command->program), line = utf16FromUtf8(commandLine);
    if (!program || !line) return false;

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    // CREATE_NO_WINDOW: a console program started from the window gets no console host, which
    // thousands of zlibc runs would otherwise each create and tear down.
    // A start that fails has started nothing, so it is tried again: the system can refuse one
    // for a moment under load (wine answers ERROR_INTERNAL_ERROR about once in a thousand).
    BOOL started = FALSE;
    for (int attempt = 0; !started && attempt < kStartAttempts; ++attempt) {
        if (attempt > 0) Sleep(static_cast<DWORD>(kPauseMilliseconds));
        started = CreateProcessW(program->c_str(), line->data(), nullptr, nullptr, TRUE,
                                 NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    }
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    countHelperStart();
    CloseHandle(process.hThread);
    host_->process = process.hProcess;
    host_->errorPipe = readEnd;
    return true;
}

void ToolProcess::Host::drainErrors() {
    HANDLE pipe = errorPipe;
    char buffer[4096];
    DWORD available = 0, got = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) && got > 0)
        run.keepErrors(buffer, got);
}

bool ToolProcess::ended() {
    if (!host_->process) return true;
    host_->drainErrors();
    return WaitForSingleObject(host_->process, 0) != WAIT_TIMEOUT;
}

void ToolProcess::waitForAny(const std::vector<ToolProcess*>& runs, int milliseconds) {
    std::vector<HANDLE> processes;
    for (const ToolProcess* run : runs)
        if (run->host_->process) processes.push_back(run->host_->process);
    if (processes.size() != runs.size() || processes.empty()) return;
    DWORD count = static_cast<DWORD>(std::min<std::size_t>(processes.size(), MAXIMUM_WAIT_OBJECTS));
    WaitForMultipleObjects(count, processes.data(), FALSE, static_cast<DWORD>(milliseconds));
}

std::int32_t ToolProcess::finish(const std::function<void()>& whileWaiting) {
    if (!host_->process) return -1;
    HANDLE process = host_->process, pipe = host_->errorPipe;
    while (WaitForSingleObject(process, static_cast<DWORD>(kPauseMilliseconds)) == WAIT_TIMEOUT) {
        host_->drainErrors();
        if (whileWaiting) whileWaiting();
    }
    host_->drainErrors();
    DWORD exitCode = static_cast<DWORD>(-1);
    if (!GetExitCodeProcess(process, &exitCode)) exitCode = static_cast<DWORD>(-1);
    CloseHandle(pipe);
    CloseHandle(process);
    host_->process = host_->errorPipe = nullptr;
    return static_cast<std::int32_t>(exitCode);
}

ToolProcess::~ToolProcess() { finish(); }
