// WorkerProcess on Windows: CreateProcessW hidden and without a console, with two anonymous
// pipes for the worker's input and output. An anonymous pipe cannot be waited on, so a thread
// reads the output as it comes and signals an event that can.
#include <windows.h>

#include <memory>
#include <string>

#include "common/files.h"
#include "common/utf16.h"
#include "shell/tool_runner.h"
#include "shell/worker_process.h"

namespace {

// A thread that reads the program's output as it comes.
struct Reader {
    HANDLE pipe = nullptr, thread = nullptr;
    HANDLE arrived = CreateEventW(nullptr, TRUE, FALSE, nullptr);  // data or the end came
    CRITICAL_SECTION lock;
    std::string pending;
    bool closed = false;

    Reader() { InitializeCriticalSection(&lock); }
    ~Reader() {
        if (thread) WaitForSingleObject(thread, INFINITE), CloseHandle(thread);
        if (pipe) CloseHandle(pipe);
        CloseHandle(arrived);
        DeleteCriticalSection(&lock);
    }
    static DWORD WINAPI read(void* self) {
        Reader& reader = *static_cast<Reader*>(self);
        char buffer[4096];
        DWORD got = 0;
        for (bool more = true; more;) {
            more = ReadFile(reader.pipe, buffer, sizeof buffer, &got, nullptr) && got > 0;
            EnterCriticalSection(&reader.lock);
            if (more)
                reader.pending.append(buffer, got);
            else
                reader.closed = true;
            SetEvent(reader.arrived);
            LeaveCriticalSection(&reader.lock);
        }
        return 0;
    }
};

}  // namespace

struct WorkerProcess::Host {
    HANDLE process = nullptr;
    HANDLE input = nullptr;
    std::unique_ptr<Reader> reader;
};

WorkerProcess::WorkerProcess() : host_(std::make_unique<Host>()) {}

bool WorkerProcess::start(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    std::string line = quoteProgramPath(pathText(program));
    for (const std::string& argument : arguments) line += " " + quoteArgument(argument);
    std::optional<std::wstring> wideLine = utf16FromUtf8(line);
    if (!wideLine) return false;

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inputRead = nullptr, inputWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inheritable, 0)) return false;
    if (!CreatePipe(&outputRead, &outputWrite, &inheritable, 0)) {
        CloseHandle(inputRead), CloseHandle(inputWrite);
        return false;
    }
    // Our ends stay ours: a worker started later must not hold them open.
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nowhere =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = nowhere;
    PROCESS_INFORMATION process{};
    const std::wstring wideProgram = program.wstring();
    BOOL started = CreateProcessW(wideProgram.c_str(), wideLine->data(), nullptr, nullptr, TRUE,
                                  NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (nowhere != INVALID_HANDLE_VALUE) CloseHandle(nowhere);
    if (!started) {
        CloseHandle(inputWrite), CloseHandle(outputRead);
        return false;
    }
    countHelperStart();
    CloseHandle(process.hThread);
    host_->process = process.hProcess;
    host_->input = inputWrite;
    host_->reader = std::make_unique<Reader>();
    host_->reader->pipe = outputRead;
    host_->reader->thread = CreateThread(nullptr, 0, &Reader::read, host_->reader.get(), 0, nullptr);
    if (!host_->reader->thread) host_->reader->closed = true, SetEvent(host_->reader->arrived);
    return true;
}

bool WorkerProcess::send(std::string_view bytes) {
    while (!bytes.empty() && host_->input) {
        DWORD written = 0;
        if (!WriteFile(host_->input, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return bytes.empty();
}

bool WorkerProcess::receive(std::string& into) {
    if (!host_->reader) return false;
    EnterCriticalSection(&host_->reader->lock);
    into += host_->reader->pending;
    host_->reader->pending.clear();
    const bool open = !host_->reader->closed;
    if (open) ResetEvent(host_->reader->arrived);
    LeaveCriticalSection(&host_->reader->lock);
    return open;
}

void WorkerProcess::waitForAny(const std::vector<WorkerProcess*>& workers, int milliseconds) {
    std::vector<HANDLE> events;
    for (const WorkerProcess* worker : workers)
        if (worker->host_->reader && events.size() < MAXIMUM_WAIT_OBJECTS)
            events.push_back(worker->host_->reader->arrived);
    if (events.empty()) return Sleep(static_cast<DWORD>(milliseconds));
    WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, static_cast<DWORD>(milliseconds));
}

std::int32_t WorkerProcess::stop(bool kill) {
    if (host_->input) CloseHandle(host_->input), host_->input = nullptr;
    if (!host_->process) return -1;
    HANDLE process = host_->process;
    if (kill) TerminateProcess(process, static_cast<UINT>(-1));
    WaitForSingleObject(process, INFINITE);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (!GetExitCodeProcess(process, &exitCode)) exitCode = static_cast<DWORD>(-1);
    CloseHandle(process);
    host_->process = nullptr;
    host_->reader.reset();  // its thread ends with the worker's output
    return static_cast<std::int32_t>(exitCode);
}

WorkerProcess::~WorkerProcess() { stop(true); }
