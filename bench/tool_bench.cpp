// The outside-program path, measured: the cost of one RunAndWait + `zlibc -k` and `zlibc -d` on
// a 2 KiB file against a static program that exits at once (targets at most 1.25x and 1.15x),
// a serving zlibc's cost per job beyond the job's own file work (target at most 25 us), and
// zlibc's throughput on a 64 MiB mixed file against libdeflate called in-process on the
// same files (target at least 0.9x both ways). Run it from a Release or RelWithDebInfo build.
#include <libdeflate.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "shell/tool_runner.h"
#include "shell/helper_job_queue.h"
#include "shell/zlibc_runner.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLevel = 6;  // zlibc's level
constexpr int kRounds = 7;

struct Buffer {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
};

Buffer readAll(const fs::path& path) {
    Buffer buffer{nullptr, static_cast<std::size_t>(fs::file_size(path))};
    buffer.data.reset(new std::uint8_t[buffer.size]);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::setvbuf(f, nullptr, _IONBF, 0);
    if (std::fread(buffer.data.get(), 1, buffer.size, f) != buffer.size) std::abort();
    std::fclose(f);
    return buffer;
}

void writeAll(const fs::path& path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::setvbuf(f, nullptr, _IONBF, 0);
    if (std::fwrite(data, 1, size, f) != size) std::abort();
    if (std::fclose(f) != 0) std::abort();
}

std::string mixedData(std::size_t size) {
    std::string data(size, '\0');
    std::mt19937_64 generator(42);
    std::size_t half = size / 2;
    for (std::size_t i = 0; i + 8 <= half; i += 8) {
        std::uint64_t word = generator();
        std::memcpy(&data[i], &word, 8);
    }
    std::string text;
    for (int line = 0; text.size() < size - half; ++line)
        text += "textures\\level" + std::to_string(line % 97) + "\\wall_" + std::to_string(line * 7919 % 100003) +
                ".dds 1 " + std::to_string(line % 3) + "\r\n";
    std::memcpy(&data[half], text.data(), size - half);
    return data;
}

// Processor time of this program and of the children it has waited for: unlike the time on
// the clock, it does not grow when other programs share the machine.
double processorSeconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

struct Cost {
    double clock = 0, processor = 0;
};

template <typename Work>
Cost costOf(Work work) {
    auto start = std::chrono::steady_clock::now();
    double processorStart = processorSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            processorSeconds() - processorStart};
}

// The best round of each measure: other programs on the machine only ever add time.
Cost best(const std::vector<Cost>& costs) {
    Cost least = costs.front();
    for (const Cost& c : costs) least = {std::min(least.clock, c.clock), std::min(least.processor, c.processor)};
    return least;
}

std::string zlibcLine(const char* zwitch, const fs::path& in, const fs::path& out) {
    return quoteProgramPath((fs::path(VR_APP_DIR) / "zlibc").string()) + " " + zwitch + " " + quoteArgument(in.string()) + " " +
           quoteArgument(out.string());
}

void run(const std::string& line) {
    if (runAndWait(line) != 0) {
        std::fprintf(stderr, "failed: %s\n", line.c_str());
        std::exit(1);
    }
}

void inProcessDeflate(const fs::path& in, const fs::path& out) {
    Buffer input = readAll(in);
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(kLevel);
    std::size_t bound = libdeflate_zlib_compress_bound(compressor, input.size);
    std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[bound]);
    std::size_t size = libdeflate_zlib_compress(compressor, input.data.get(), input.size, output.get(), bound);
    libdeflate_free_compressor(compressor);
    writeAll(out, output.get(), size);
}

// Told the inflated size, which zlibc has to find out: the best case for in-process use.
void inProcessInflate(const fs::path& in, const fs::path& out, std::size_t inflatedSize) {
    Buffer input = readAll(in);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[inflatedSize]);
    std::size_t size = 0;
    if (libdeflate_deflate_decompress_ex(decompressor, input.data.get() + 2, input.size - 2, output.get(), inflatedSize,
                                         nullptr, &size) != LIBDEFLATE_SUCCESS)
        std::abort();
    libdeflate_free_decompressor(decompressor);
    writeAll(out, output.get(), size);
}

void perCallCost(const fs::path& folder) {
    constexpr int kCalls = 400;
    std::string data = mixedData(2048);
    writeAll(folder / "small", data.data(), data.size());
    run(zlibcLine("-k", folder / "small", folder / "small.z"));
    // The compression pass writes each staged file under a new name in Temp, so every call
    // here writes a file that does not exist yet. They stay until the end: on a file system
    // without a journal, ext4 passes over recently deleted inodes one by one when it creates
    // a file, which would make every round slower than the one before.
    auto calls = [&](const char* zwitch, const fs::path& in, int round) {
        std::vector<std::string> lines;
        for (int i = 0; i < kCalls; ++i)
            lines.push_back(zlibcLine(zwitch, in, folder / (zwitch + std::to_string(round) + "-" + std::to_string(i))));
        return lines;
    };
    auto timed = [](const std::vector<std::string>& lines) {
        return costOf([&] {
            for (const std::string& line : lines) run(line);
        });
    };
    std::vector<Cost> floor, deflate, inflate;
    for (int round = 0; round < kRounds; ++round) {
        floor.push_back(timed(std::vector<std::string>(kCalls, VR_EXIT_AT_ONCE)));
        deflate.push_back(timed(calls("-k", folder / "small", round)));
        inflate.push_back(timed(calls("-d", folder / "small.z", round)));
    }
    Cost f = best(floor), k = best(deflate), d = best(inflate);
    std::printf("Per call (best of %d rounds of %d calls; clock time / processor time)\n", kRounds, kCalls);
    auto line = [&](const char* what, Cost c) {
        std::printf("  %-52s %7.1f us / %7.1f us  (%.2fx / %.2fx)\n", what, c.clock / kCalls * 1e6,
                    c.processor / kCalls * 1e6, c.clock / f.clock, c.processor / f.processor);
    };
    line("RunAndWait of a static program that exits at once", f);
    line("RunAndWait of zlibc -k on a 2 KiB file (target 1.25x)", k);
    line("RunAndWait of zlibc -d back to 2 KiB (target 1.15x)", d);
}

// The job done in this process: read, deflate, write under a temporary name, rename.
void deflateAsAJob(const fs::path& in, const fs::path& out) {
    fs::path temporary = out.parent_path() / ".job.tmp";
    inProcessDeflate(in, temporary);
    fs::rename(temporary, out);
}

void perJobCost(const fs::path& folder) {
    constexpr int kJobs = 2000;
    std::string data = mixedData(2048);
    writeAll(folder / "job-in", data.data(), data.size());
    auto outputs = [&](const std::string& way, int round) {
        std::vector<fs::path> paths;
        for (int i = 0; i < kJobs; ++i) paths.push_back(folder / (way + std::to_string(round) + "-" + std::to_string(i)));
        return paths;
    };
    std::vector<Cost> worker, inProcess;
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<fs::path> byWorker = outputs("w", round), here = outputs("h", round);
        // As a pass runs them: through the job queue, one worker.
        ZlibcRunner runner(fs::path(VR_APP_DIR) / "zlibc", 1);
        HelperJobQueue queue(runner);
        if (queue.take(queue.add({false, folder / "job-in", folder / "warm-up"})).exitCode != 0) std::abort();
        worker.push_back(costOf([&] {
            std::vector<std::size_t> ids;
            for (int i = 0; i < kJobs; ++i) ids.push_back(queue.add({false, folder / "job-in", byWorker[i]}));
            for (std::size_t id : ids)
                if (queue.take(id).exitCode != 0) std::abort();
        }));
        inProcess.push_back(costOf([&] {
            for (int i = 0; i < kJobs; ++i) deflateAsAJob(folder / "job-in", here[i]);
        }));
    }
    Cost w = best(worker), h = best(inProcess);
    std::printf("Per job of a serving zlibc, 2 KiB compressed (best of %d rounds of %d jobs)\n", kRounds, kJobs);
    std::printf("  worker %.1f us, in-process %.1f us: %.1f us per job beyond its file work (target at most 25 us)\n",
                w.clock / kJobs * 1e6, h.clock / kJobs * 1e6, (w.clock - h.clock) / kJobs * 1e6);
}

void throughput(const fs::path& folder) {
    constexpr std::size_t kSize = 64u << 20;
    constexpr double kMiB = kSize / double(1 << 20);
    std::string data = mixedData(kSize);
    fs::path original = folder / "mixed", deflated = folder / "mixed.z", inflated = folder / "mixed.out";
    fs::path ownDeflated = folder / "own.z", ownInflated = folder / "own.out";
    writeAll(original, data.data(), data.size());

    // Each run writes a new file, as extraction and packing do; the earlier one is deleted
    // before the clock starts.
    auto fresh = [](const fs::path& output, auto work) {
        fs::remove(output);
        sync();  // no dirty pages of the run before slow this one down
        return costOf(work);
    };
    std::vector<Cost> zlibcK, ownK, zlibcD, ownD;
    for (int round = 0; round < kRounds; ++round) {
        zlibcK.push_back(fresh(deflated, [&] { run(zlibcLine("-k", original, deflated)); }));
        ownK.push_back(fresh(ownDeflated, [&] { inProcessDeflate(original, ownDeflated); }));
        zlibcD.push_back(fresh(inflated, [&] { run(zlibcLine("-d", deflated, inflated)); }));
        ownD.push_back(fresh(ownInflated, [&] { inProcessInflate(deflated, ownInflated, kSize); }));
    }
    if (readAll(inflated).size != kSize || fs::file_size(deflated) != fs::file_size(ownDeflated)) std::abort();
    Cost k = best(zlibcK), ownKCost = best(ownK), d = best(zlibcD), ownDCost = best(ownD);
    std::printf("Throughput on a 64 MiB file, half random, half text (best of %d runs, level %d)\n", kRounds, kLevel);
    std::printf("  compressed size: %llu bytes (%.1f%%)\n", static_cast<unsigned long long>(fs::file_size(deflated)),
                100.0 * double(fs::file_size(deflated)) / double(kSize));
    auto report = [&](const char* what, Cost tool, Cost own) {
        std::printf(
            "  %s: zlibc %6.1f MiB/s, in-process %6.1f MiB/s: ratio %.3fx by the clock, %.3fx by processor "
            "time (target at least 0.9x)\n",
            what, kMiB / tool.clock, kMiB / own.clock, own.clock / tool.clock, own.processor / tool.processor);
    };
    report("deflate", k, ownKCost);
    report("inflate", d, ownDCost);
}

}  // namespace

// Works in a new folder inside the folder named on the command line, or the temporary folder.
int main(int argc, char** argv) {
    fs::path parent = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    std::string pattern = (parent / "vr-tool-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    fs::path folder = pattern;
    std::printf("Working in %s\n", folder.c_str());
    perCallCost(folder);
    perJobCost(folder);
    throughput(folder);
    fs::remove_all(folder);
    return 0;
}
