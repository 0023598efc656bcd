// Packing speed: a folder of 10001 files of about 100 MiB (the files of the extraction
// benchmark: two thirds listed as compressed, sizes spread as game files are) is packed
// through the real window, offscreen. Reported: the total, the part spent in zlibc runs, the
// floor (as many spawns of a program that exits at once, plus reading, deflating and writing
// the same archive in-process), and `zip -q -r` on the same folder. Target: within 1.5 x the
// floor. Run it from a Release or RelWithDebInfo build; the argument is the number of rounds
// (3 when none is given).
#include <libdeflate.h>
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "archive/archive_tables.h"
#include "common/bytes.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/tool_runner.h"

namespace fs = std::filesystem;

namespace {

#ifdef VR_EXIT_AT_ONCE
const char* const kTrivialProgram = VR_EXIT_AT_ONCE;
#else
const char* const kTrivialProgram = "/bin/true";
#endif
constexpr int kFiles = 10001;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The best round: other programs on the machine only ever add time.
double best(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

struct GameFile {
    std::string path;  // "\" separators
    std::string content;
    bool compressed;
};

// The extraction benchmark's recipe: sizes log-uniform between 64 bytes and 48 KiB, every
// 500th file between 256 KiB and 2 MiB; contents repeat blocks from a small dictionary so
// that they deflate to about half.
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
    for (int i = 0; i < kFiles; ++i) {
        std::size_t size = i % 500 == 0 ? logUniform(256 << 10, 2 << 20) : logUniform(64, 48 << 10);
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

// Answers nothing and shows messages on stderr, so that no modal box waits for a user.
struct SilentDialogs : Dialogs {
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFolder(QWidget*, const QString&) override { return {}; }
    void message(QWidget*, const std::string& text, MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void openFolder(const fs::path&) override {}
};

// The real window, timing the parts of a pack from its status lines: each zlibc run (from its
// "Zipping" line to the next yield), each plain copy (from its "Copying" line to the next
// line), and the writer (from its first "Packing" line to the emptied status line).
class TimedWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    double zlibcSeconds = 0, copySeconds = 0, writerSeconds = 0;

    void setStatus(const std::string& text) override {
        MainWindow::setStatus(text);
        auto now = Clock::now();
        if (copying_) copySeconds += std::chrono::duration<double>(now - copyStart_).count(), copying_ = false;
        if (text.rfind("Zipping ", 0) == 0) runStart_ = now, running_ = true;
        if (text.rfind("Copying ", 0) == 0) copyStart_ = now, copying_ = true;
        if (text.rfind("Packing 1/", 0) == 0) writerStart_ = now;
        if (text.empty() && writerStart_) writerSeconds += std::chrono::duration<double>(now - *writerStart_).count();
        if (text.empty()) writerStart_.reset();
    }
    void yield() override {
        if (running_) zlibcSeconds += secondsSince(runStart_), running_ = false;
        MainWindow::yield();
    }

private:
    Clock::time_point runStart_, copyStart_;
    std::optional<Clock::time_point> writerStart_;
    bool running_ = false, copying_ = false;
};

// The floor: every file read, the compressed ones deflated with libdeflate at zlibc's level,
// one archive of the same layout written; plus one spawn of a do-nothing program per
// compressed file.
double floorSeconds(const std::vector<GameFile>& files, const fs::path& folder, const fs::path& out,
                    double& spawnSeconds) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    auto start = Clock::now();
    std::string toc, rawd, buffer;
    int compressedCount = 0;
    for (const GameFile& f : files) {
        std::string data = readWholeFile(*safeJoin(folder, f.path));
        if (f.compressed) {
            ++compressedCount;
            buffer.resize(libdeflate_deflate_compress_bound(compressor, data.size()));
            buffer.resize(
                libdeflate_deflate_compress(compressor, data.data(), data.size(), buffer.data(), buffer.size()));
            data.swap(buffer);
        }
        std::string name = replaceAll(f.path, '\\', '/');
        appendI16(toc, static_cast<std::int16_t>(name.size() + 11));
        appendI32(toc, static_cast<std::int32_t>(data.size()));
        appendI32(toc, static_cast<std::int32_t>(f.content.size()));
        appendU8(toc, f.compressed ? 1 : 0);
        appendU8(toc, static_cast<std::uint8_t>(name.size()));
        toc += name;
        appendU8(toc, 0);
        appendI16(toc, 1);
        appendI32(toc, static_cast<std::int32_t>(rawd.size() + 4));
        rawd += data;
    }
    std::string archive = "MPAK";
    appendI32(archive, static_cast<std::int32_t>(toc.size() + 4));
    appendI32(archive, 4);
    appendI16(archive, static_cast<std::int16_t>(files.size()));
    appendI16(archive, 0);
    archive += std::string("TOC\0", 4) + toc + "STOC" + "RAWD" + rawd;
    writeWholeFile(out, archive);
    auto spawnStart = Clock::now();
    for (int i = 0; i < compressedCount; ++i)
        if (runAndWait(kTrivialProgram) != 0) std::abort();
    spawnSeconds = secondsSince(spawnStart);
    libdeflate_free_compressor(compressor);
    return secondsSince(start);
}

int run(const fs::path& work, int rounds) {
    const fs::path app = work / "app";
    fs::create_directories(app);
    fs::copy_file(fs::path(VR_APP_DIR) / "zlibc", app / "zlibc");
    TimedWindow window(app, std::make_unique<SilentDialogs>());
    if (!window.startUp()) return 1;
    Form& form = window.form();

    std::printf("Writing %d game files ...\n", kFiles);
    std::vector<GameFile> files = makeGameFiles();
    const fs::path folder = form.extractedFilesPath / "x.mpak";
    std::string library = "--library\r\n\r\n";
    std::uint64_t bytes = 0;
    for (const GameFile& f : files) {
        fs::path target = *safeJoin(folder, f.path);
        fs::create_directories(target.parent_path());
        writeWholeFile(target, f.content);
        library += (f.compressed ? "01 1 " : "00 1 ") + f.path + "\r\n";
        bytes += f.content.size();
    }
    writeWholeFile(form.libraryPath / "x.mpak.toc", library);
    writeWholeFile(form.libraryPath / "x.mpak.stoc", "");
    std::printf("Folder: %.1f MiB in %d files\n", bytes / 1048576.0, kFiles);
    window.setPackFolderName("x.mpak");

    std::vector<double> totals, zlibcParts, copyParts, writerParts, floors, spawns, zips;
    const fs::path archive = form.newMpaksPath / "x.mpak";
    for (int round = 0; round < rounds; ++round) {
        window.zlibcSeconds = window.copySeconds = window.writerSeconds = 0;
        auto start = Clock::now();
        PackMPAK(form);
        totals.push_back(secondsSince(start));
        zlibcParts.push_back(window.zlibcSeconds);
        copyParts.push_back(window.copySeconds);
        writerParts.push_back(window.writerSeconds);
        if (form.logText.find(".MPAK pack complete.") == std::string::npos || form.filesPackedCount != kFiles)
            return std::fprintf(stderr, "the pack failed:\n%s\n", form.logText.c_str()), 1;

        double spawn = 0;
        floors.push_back(floorSeconds(files, folder, work / "floor.mpak", spawn));
        spawns.push_back(spawn);

        fs::remove(work / "same.zip");
        std::string zip = "cd '" + folder.string() + "' && zip -q -r '" + (work / "same.zip").string() + "' .";
        start = Clock::now();
        if (std::system(zip.c_str()) != 0) return 1;
        zips.push_back(secondsSince(start));
    }
    if (readArchiveTables(archive, readArchiveLayout(archive)).entries.size() != kFiles) return 1;

    double total = best(totals), floor = best(floors);
    std::printf("Best of %d rounds (archive %.1f MiB):\n", rounds, fs::file_size(archive) / 1048576.0);
    std::printf("  pack total            %7.3f s\n", total);
    std::printf("    in zlibc runs       %7.3f s (%d runs)\n", best(zlibcParts), form.filesZippedCount);
    std::printf("    in plain copies     %7.3f s\n", best(copyParts));
    std::printf("    in the writer       %7.3f s\n", best(writerParts));
    std::printf("  floor                 %7.3f s (%.3f s of it spawning %s)\n", floor, best(spawns), kTrivialProgram);
    std::printf("  zip -q -r, same files %7.3f s\n", best(zips));
    std::printf("  total / floor         %7.2f (target at most 1.5)\n", total / floor);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    std::string pattern = (fs::temp_directory_path() / "vr-pack-bench-XXXXXX").string();
    fs::path work(mkdtemp(pattern.data()));
    int result = run(work, argc > 1 ? std::max(1, std::atoi(argv[1])) : 3);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return result;
}
