#include "shell/zlibc_worker.h"

#include <charconv>

#include "common/files.h"
#include "shell/tool_process.h"

namespace {

constexpr std::string_view kGreeting = "zlibc-serve 1\n";
constexpr std::size_t kLongestMessage = 64 * 1024;

// A decimal number running up to `end` in `text` from `at`; nothing for anything else.
template <typename Number>
std::optional<Number> numberIn(std::string_view text, char end, std::size_t& at) {
    Number value{};
    const char* first = text.data() + at;
    auto [last, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || last == first || last == text.data() + text.size() || *last != end)
        return std::nullopt;
    at = static_cast<std::size_t>(last - text.data()) + 1;
    return value;
}

}  // namespace

std::string encodeJob(const HelperJob& job) {
    const std::string in = pathText(job.in), out = pathText(job.out);
    return std::string(job.inflate ? "d " : "k ") + std::to_string(in.size()) + " " + std::to_string(out.size()) +
           "\n" + in + out;
}

std::optional<ToolResult> takeAnswerFrom(std::string& bytes, bool& malformed) {
    const std::size_t lineEnd = bytes.find('\n');
    if (lineEnd == std::string::npos) {
        malformed = bytes.size() > 32;
        return malformed ? std::optional<ToolResult>(ToolResult{-1, {}}) : std::nullopt;
    }
    std::size_t at = 0;
    const std::string_view header(bytes.data(), lineEnd + 1);
    std::optional<std::int32_t> code = numberIn<std::int32_t>(header, ' ', at);
    std::optional<std::size_t> length = code ? numberIn<std::size_t>(header, '\n', at) : std::nullopt;
    if (!length || *length > kLongestMessage) {
        malformed = true;
        return ToolResult{-1, {}};
    }
    if (bytes.size() - at < *length) return std::nullopt;
    ToolResult result{*code, bytes.substr(at, *length)};
    bytes.erase(0, at + *length);
    return result;
}

bool ZlibcWorker::start(const std::filesystem::path& program) {
    greetingDeadline_ = std::chrono::steady_clock::now() + kGreetingTime;
    return process_.start(program, {"--serve"});
}

void ZlibcWorker::send(const HelperJob& job) {
    ++held_;
    // A worker that has gone shows it on its output; the job's result comes from there.
    process_.send(encodeJob(job));
}

std::optional<ToolResult> ZlibcWorker::takeAnswer() {
    bool malformed = false;
    std::optional<ToolResult> answer = takeAnswerFrom(received_, malformed);
    if (malformed) {  // no zlibc of ours: it gets no more jobs
        process_.stop(true);
        state_ = State::Gone;
    }
    if (answer) --held_;
    return answer;
}

std::optional<ToolResult> ZlibcWorker::poll() {
    if (state_ == State::Refused || state_ == State::Gone) return std::nullopt;
    // Answers come in bunches: those already received go first, without asking the pipe again.
    if (state_ == State::Ready && held_ > 0)
        if (std::optional<ToolResult> answer = takeAnswer()) return answer;
    if (state_ == State::Gone) return std::nullopt;
    const bool open = process_.receive(received_);
    if (state_ == State::Starting) {
        if (received_.size() >= kGreeting.size() || received_.find('\n') != std::string::npos || !open) {
            if (received_.compare(0, kGreeting.size(), kGreeting) != 0) {
                state_ = State::Refused;
                return std::nullopt;
            }
            received_.erase(0, kGreeting.size());
            state_ = State::Ready;
        } else if (std::chrono::steady_clock::now() > greetingDeadline_) {
            state_ = State::Refused;
            return std::nullopt;
        }
    }
    if (state_ != State::Ready || held_ == 0) return std::nullopt;
    if (std::optional<ToolResult> answer = takeAnswer()) return answer;
    if (open) return std::nullopt;
    // It ended during the job: the job ends as a one-shot run ended by the same cause would,
    // though never as a success, which only an answer can report.
    const std::int32_t exitCode = process_.stop(false);
    state_ = State::Gone;
    --held_;
    return ToolResult{exitCode == 0 ? -1 : exitCode, {}};
}

ZlibcWorker::~ZlibcWorker() {
    // A job it may have begun runs to its end, so that it leaves no file half written: a worker
    // still to name its protocol is given its time to do so first.
    while (state_ == State::Starting) {
        WorkerProcess::waitForAny({&process_}, ToolProcess::kPauseMilliseconds);
        poll();
    }
    process_.stop(state_ != State::Ready);
}
