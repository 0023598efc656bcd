#include "shell/zlibc_runner.h"

#include <algorithm>

std::string zlibcFailureReason(const ToolResult& result) {
    if (result.exitCode == -1) return "zlibc could not be started";
    std::string reason = result.errors.substr(0, result.errors.find('\n'));
    if (reason.starts_with("zlibc: ")) reason.erase(0, 7);
    return reason.empty() ? "zlibc ended with code " + std::to_string(result.exitCode) : reason;
}

using State = ZlibcWorker::State;

ZlibcRunner::ZlibcRunner(std::filesystem::path program, int width)
    : program_(std::move(program)), width_(static_cast<std::size_t>(std::max(1, width))) {}

ZlibcRunner::~ZlibcRunner() = default;

bool ZlibcRunner::start(std::size_t id, const HelperJob& job) {
    placeWaitingJobs();
    return waiting_.empty() && place({id, job});
}

// The job goes to the worker holding the fewest jobs, a new one while there are fewer than
// `width_`; false when every worker holds as many as it takes.
bool ZlibcRunner::place(const Job& job) {
    if (oneShot_) return oneShot_->start(job.first, job.second);
    slots_.erase(std::remove_if(slots_.begin(), slots_.end(),
                                [](const Slot& slot) { return slot.worker->state() == State::Gone; }),
                 slots_.end());
    auto least = std::min_element(slots_.begin(), slots_.end(), [](const Slot& a, const Slot& b) {
        return a.worker->jobsHeld() < b.worker->jobsHeld();
    });
    if (least == slots_.end() || (least->worker->jobsHeld() > 0 && slots_.size() < width_)) {
        auto worker = std::make_unique<ZlibcWorker>();
        if (!worker->start(program_)) {  // a program that cannot run: each job says so with -1
            useOneShotRuns();
            return oneShot_->start(job.first, job.second);
        }
        least = slots_.insert(slots_.end(), Slot{std::move(worker), {}});
    }
    if (least->worker->jobsHeld() >= ZlibcWorker::kJobsHeld) return false;
    least->jobs.push_back(job);
    least->worker->send(job.second);
    return true;
}

void ZlibcRunner::placeWaitingJobs() {
    while (!waiting_.empty() && place(waiting_.front())) waiting_.pop_front();
}

// The workers' jobs go to one-shot runs, which take as many at once as there were workers.
void ZlibcRunner::useOneShotRuns() {
    oneShot_.emplace(program_, static_cast<int>(width_));
    std::deque<Job> held;
    for (Slot& slot : slots_) held.insert(held.end(), slot.jobs.begin(), slot.jobs.end());
    std::sort(held.begin(), held.end(), [](const Job& a, const Job& b) { return a.first < b.first; });
    waiting_.insert(waiting_.begin(), held.begin(), held.end());
    slots_.clear();
}

void ZlibcRunner::collect(int milliseconds, std::vector<Finished>& finished) {
    const std::size_t before = finished.size();
    for (int round = 0; !oneShot_ && round < 2; ++round) {
        for (Slot& slot : slots_) {
            while (std::optional<ToolResult> result = slot.worker->poll()) {
                finished.push_back({slot.jobs.front().first, std::move(*result)});
                slot.jobs.pop_front();
            }
            if (slot.worker->state() == State::Refused) break;
            if (slot.worker->state() == State::Gone) {  // what it held behind its last job never ran
                waiting_.insert(waiting_.begin(), slot.jobs.begin(), slot.jobs.end());
                slot.jobs.clear();
            }
        }
        if (std::any_of(slots_.begin(), slots_.end(),
                        [](const Slot& slot) { return slot.worker->state() == State::Refused; }))
            useOneShotRuns();
        if (oneShot_ || finished.size() > before || round == 1 || milliseconds == 0) break;
        waitingFor_.clear();
        for (Slot& slot : slots_)
            if (!slot.jobs.empty() || slot.worker->state() == State::Starting)
                waitingFor_.push_back(&slot.worker->process());
        if (waitingFor_.empty()) break;
        WorkerProcess::waitForAny(waitingFor_, milliseconds);
    }
    placeWaitingJobs();
    if (oneShot_) oneShot_->collect(finished.size() > before ? 0 : milliseconds, finished);
}
