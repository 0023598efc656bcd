// Extraction speed: every entry of a 10001-entry archive of about 100 MiB (two thirds
// compressed, sizes spread as game files are) is extracted through the real window, offscreen.
// Reported: the total, the part spent in zlibc runs, the floor (as many spawns of a program
// that exits at once, plus reading, inflating and writing the same bytes in-process), and
// `unzip -q` on a zip of the same files. Target: within 1.5 x the floor. Run it from a
// Release or RelWithDebInfo build: extract_bench [folder to work in, default the temporary folder].
#include <libdeflate.h>
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "../tests/fixtures/mpak_builder.h"
#include "archive/process_library.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const char* const kTrivialProgram = VR_EXIT_AT_ONCE;  // a static program that exits at once
constexpr int kEntries = 10001;
constexpr int kRounds = 3;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct GameFile {
    std::string path;  // "\" separators
    std::string content;
    bool compressed;
};

// Many small files, some large ones: sizes log-uniform between 64 bytes and 64 KiB, and every
// 400th file between 256 KiB and 4 MiB. Contents repeat blocks from a small dictionary, so
// that they deflate to about 70% as textures and meshes do.
std::vector<GameFile> makeGameFiles() {
    std::mt19937_64 random(2024);
    std::vector<std::string> dictionary(256);
    for (std::string& block : dictionary)
        for (int i = 0; i < 64; ++i) block += static_cast<char>(random() & 0xFF);
    auto logUniform = [&](double low, double high) {
        return static_cast<std::size_t>(
            std::exp(std::log(low) + std::uniform_real_distribution<double>(0, 1)(random) * std::log(high / low)));
    };
    const char* kinds[] = {"textures", "models", "sounds", "levels", "scripts", "effects"};
    std::vector<GameFile> files;
    for (int i = 0; i < kEntries; ++i) {
        std::size_t size = i % 400 == 0 ? logUniform(256 << 10, 4 << 20) : logUniform(64, 64 << 10);
        std::string content;
        content.reserve(size + 64);
        while (content.size() < size) {
            if (random() % 3 != 0)
                content += dictionary[random() % dictionary.size()];
            else
                for (int k = 0; k < 64; ++k) content += static_cast<char>(random() & 0xFF);
        }
        content.resize(size);
        std::string path = std::string(kinds[i % 6]) + "\\set" + std::to_string(i % 37) + "\\part" +
                           std::to_string(i % 5) + "\\file" + std::to_string(i) + ".bin";
        files.push_back({path, std::move(content), i % 3 != 0});
    }
    return files;
}

std::string rawDeflate(libdeflate_compressor* compressor, const std::string& content) {
    std::string out(libdeflate_deflate_compress_bound(compressor, content.size()), '\0');
    out.resize(libdeflate_deflate_compress(compressor, content.data(), content.size(), out.data(), out.size()));
    return out;
}

// Answers nothing and shows messages on stderr, so that no modal box waits for a user.
struct SilentDialogs : Dialogs {
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFolder(QWidget*, const QString&) override { return {}; }
    void message(QWidget*, const std::string& text, MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void openFolder(const fs::path&) override {}
};

// The real window, timing each zlibc run: from its "Unzipping" status line to the next yield.
class TimedWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    double zlibcSeconds = 0;

    void setStatus(const std::string& text) override {
        MainWindow::setStatus(text);
        if (text.rfind("Unzipping ", 0) == 0) runStart_ = Clock::now(), running_ = true;
    }
    void yield() override {
        if (running_) zlibcSeconds += secondsSince(runStart_), running_ = false;
        MainWindow::yield();
    }

private:
    Clock::time_point runStart_;
    bool running_ = false;
};

// The floor: the same entries read one range at a time, stored ones written, compressed ones
// inflated with libdeflate and written; plus one spawn of a do-nothing program per compressed one.
double floorSeconds(const Form& form, const fs::path& outFolder, double& spawnSeconds) {
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    auto start = Clock::now();
    std::string inflated;
    int compressedCount = 0;
    for (int i = 0; i < form.entryCount; ++i) {
        const EntrySlot& slot = form.entries[static_cast<std::size_t>(i)];
        std::string data = readFileRange(form.archivePath, static_cast<std::uint64_t>(slot.entryDataOffset),
                                         static_cast<std::uint64_t>(slot.entryStoredSize));
        fs::path target = *safeJoin(outFolder, slot.entryPath);
        fs::create_directories(target.parent_path());
        if (slot.entryCompressed != 1) {
            writeWholeFile(target, data);
            continue;
        }
        ++compressedCount;
        inflated.resize(static_cast<std::size_t>(slot.entryOriginalSize));
        if (libdeflate_deflate_decompress(decompressor, data.data(), data.size(), inflated.data(), inflated.size(),
                                          nullptr) != LIBDEFLATE_SUCCESS)
            std::abort();
        writeWholeFile(target, inflated);
    }
    auto spawnStart = Clock::now();
    for (int i = 0; i < compressedCount; ++i)
        if (runAndWait(kTrivialProgram) != 0) std::abort();
    spawnSeconds = secondsSince(spawnStart);
    libdeflate_free_decompressor(decompressor);
    return secondsSince(start);
}

int run(const fs::path& work) {
    std::printf("Building %d game files ...\n", kEntries);
    std::vector<GameFile> files = makeGameFiles();
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    MpakBuilder builder;
    std::uint64_t originalBytes = 0;
    int compressedCount = 0;
    for (const GameFile& f : files) {
        compressedCount += f.compressed;
        builder.entry(replaceAll(f.path, '\\', '/'), f.compressed ? rawDeflate(compressor, f.content) : f.content,
                      MpakEntryOptions()
                          .compressed(f.compressed ? 1 : 0)
                          .originalSize(static_cast<std::int32_t>(f.content.size())));
        originalBytes += f.content.size();
    }
    libdeflate_free_compressor(compressor);
    const fs::path archive = work / "game" / "x.mpak";
    fs::create_directories(archive.parent_path());
    writeWholeFile(archive, builder.build());
    std::printf("Archive: %llu bytes (%.1f MiB); files: %.1f MiB; %d compressed\n",
                static_cast<unsigned long long>(fs::file_size(archive)), fs::file_size(archive) / 1048576.0,
                originalBytes / 1048576.0, compressedCount);

    const fs::path app = work / "app";
    fs::create_directories(app);
    fs::copy_file(fs::path(VR_APP_DIR) / "zlibc", app / "zlibc");
    TimedWindow window(app, std::make_unique<SilentDialogs>());
    if (!window.startUp()) return 1;
    Form& form = window.form();
    form.archivePath = archive;
    window.setArchiveName("x.mpak");
    auto openStart = Clock::now();
    ProcessLibrary(form);
    std::printf("Opened in %.3f s\n", secondsSince(openStart));
    if (form.entryCount != kEntries) return std::fprintf(stderr, "the archive did not open\n"), 1;

    std::vector<double> totals, zlibcParts, floors, spawns, unzips;
    for (int round = 0; round < kRounds; ++round) {
        SelectAll(form);
        window.zlibcSeconds = 0;
        auto start = Clock::now();
        MassExtract(form);
        totals.push_back(secondsSince(start));
        std::printf("Round %d: extracted in %.3f s\n", round + 1, totals.back());
        zlibcParts.push_back(window.zlibcSeconds);
        if (form.logText.find("Unzip failed") != std::string::npos || form.filesExtractedCount != kEntries)
            return std::fprintf(stderr, "the extraction failed:\n%s\n", form.logText.c_str()), 1;

        double spawn = 0;
        fs::remove_all(work / "floor");
        floors.push_back(floorSeconds(form, work / "floor", spawn));
        spawns.push_back(spawn);
    }
    for (const GameFile& f : files)
        if (readWholeFile(*safeJoin(form.archiveExtractPath, f.path)) != f.content)
            return std::fprintf(stderr, "%s differs\n", f.path.c_str()), 1;

    std::string zipCommand =
        "cd '" + form.archiveExtractPath.string() + "' && zip -q -r '" + (work / "same.zip").string() + "' .";
    if (std::system(zipCommand.c_str()) != 0) return 1;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove_all(work / "unzipped");
        std::string unzip =
            "unzip -q -o '" + (work / "same.zip").string() + "' -d '" + (work / "unzipped").string() + "'";
        auto start = Clock::now();
        if (std::system(unzip.c_str()) != 0) return 1;
        unzips.push_back(secondsSince(start));
    }

    double total = median(totals), floor = median(floors);
    std::printf("Median of %d rounds:\n", kRounds);
    std::printf("  extraction total      %7.3f s\n", total);
    std::printf("    in zlibc runs       %7.3f s (%d runs)\n", median(zlibcParts), form.filesUnzippedCount);
    std::printf("  floor                 %7.3f s (%.3f s of it spawning %s)\n", floor, median(spawns), kTrivialProgram);
    std::printf("  unzip -q, same files  %7.3f s\n", median(unzips));
    std::printf("  total / floor         %7.2f (target at most 1.5)\n", total / floor);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    // The work folder's parent: the first argument, else the temporary folder.
    fs::path parent = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    std::string pattern = (parent / "vr-extract-bench-XXXXXX").string();
    fs::path work(mkdtemp(pattern.data()));
    int result = run(work);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return result;
}
