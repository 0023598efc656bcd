// The whole-program benchmark: a 10001-entry archive of about 100 MiB (two thirds compressed,
// sizes spread as game files are) is opened, extracted whole and packed again through the
// real window, offscreen, and each is set against its floor and an everyday alternative:
//   open     floor: reading the archive's tables and making the list lines in-process;
//            alternative: `unzip -l` on a zip of the same files
//   extract  floor: reading, inflating (libdeflate) and writing the same files in-process, spread
//            over as many threads as zlibc jobs run at once; alternative: `unzip -q`
//   pack     floor: reading and deflating (libdeflate level 6) the same files over as many
//            threads, and writing an archive of the same layout; alternative: `zip -q -r`
//   verify   floor: reading every entry and inflating (libdeflate) the compressed ones in one
//            thread; alternative: `unzip -tq`
// Extract-all and pack-all are also set against floors that do the program's own file work
// in-process (same_work_floors.h). The command line's extract (its open included) and pack of
// the same archive, each started as a program in a work folder of its own right after the
// window's same pass, are set against the same floors and alternatives, and against the window.
// An update with one changed compressed file is set against `cp` of the archive and against the
// extract-all and pack-all it saves; the save's read-back check against pack-all.
// Prints one table of medians. Run it from a Release or RelWithDebInfo build:
//   ripper_bench [rounds, default 3] [folder to work in, default /dev/shm or the temporary folder]
#include <libdeflate.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench_clock.h"
#include "common/bytes.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"
#include "format/mpak_records.h"
#include "format/saved_archive_check.h"
#include "format/whole_inflate.h"
#include "game_files.h"
#include "same_work_floors.h"
#include "gui/main_window.h"
#include "inspect/verify_archive.h"
#include "shell/commands.h"
#include "shell/helper_pipeline.h"
#include "shell/tool_runner.h"
#include "update/update_command.h"

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 10001;
const char* const kArchiveName = "x.mpak";

// Answers every open-file prompt with the archive and shows messages on stderr, so that no
// modal box waits for a user.
struct ArchiveDialogs : Dialogs {
    QString archive;
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return archive;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    void message(QWidget*, const std::string& text, MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool question(QWidget*, const std::string&, const std::string&) override { return true; }
    bool openFolder(const fs::path&) override { return true; }
};

// Runs work(t, i) for every i below `count`, spread over `threads` threads, t being the thread's
// number.
template <typename Work>
void spread(int count, int threads, Work work) {
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t)
        running.emplace_back([=] {
            for (int i = t; i < count; i += threads) work(t, i);
        });
    for (std::thread& thread : running) thread.join();
}

// The log's lines that start so: a pack's "Packing N/M: ..." and "Zipping N: ..." lines.
int logLinesStarting(const std::string& log, const std::string& prefix) {
    int count = 0;
    for (std::size_t at = 0; at < log.size(); at = log.find("\r\n", at) + 2) {
        if (log.compare(at, prefix.size(), prefix) == 0) ++count;
        if (log.find("\r\n", at) == std::string::npos) break;
    }
    return count;
}

// How the pack's check takes each entry: the compressed ones, inflated as they were written,
// by the CRC-32 of their stored bytes.
std::vector<EntryCheck> checksAsThePackMakesThem(const fs::path& archive) {
    const ArchiveTables tables = readArchiveTables(archive, readArchiveLayout(archive));
    std::vector<EntryCheck> checks;
    for (const EntrySlot& slot : tables.entries)
        checks.push_back(
            slot.entryCompressed == 1
                ? EntryCheck{EntryCheck::Crc, crc32Of(readFileRange(archive, std::uint64_t(slot.entryDataOffset),
                                                                    std::uint64_t(slot.entryStoredSize)))}
                : EntryCheck{});
    return checks;
}

void shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// The open's floor: the archive's tables read and every list line made.
void readTablesInProcess(const fs::path& archive) {
    ArchiveTables tables = readArchiveTables(archive, readArchiveLayout(archive));
    std::size_t characters = 0;
    for (const EntrySlot& slot : tables.entries) characters += listLine(slot).size();
    if (tables.entries.size() != kEntries || characters == 0) std::abort();
}

// The extraction's floor: every entry read one range at a time, stored ones written,
// compressed ones inflated and written, over `threads` threads.
void extractInProcess(const Form& form, const fs::path& outFolder, int threads) {
    std::vector<libdeflate_decompressor*> decompressors(static_cast<std::size_t>(threads));
    for (auto& d : decompressors) d = libdeflate_alloc_decompressor();
    spread(form.entryCount, threads, [&](int t, int i) {
        const EntrySlot& slot = form.entries[static_cast<std::size_t>(i)];
        std::string data = readFileRange(form.archivePath, static_cast<std::uint64_t>(slot.entryDataOffset),
                                         static_cast<std::uint64_t>(slot.entryStoredSize));
        fs::path target = *safeJoin(outFolder, slot.entryPath);
        fs::create_directories(target.parent_path());
        if (slot.entryCompressed != 1) return writeWholeFile(target, data);
        std::string inflated(static_cast<std::size_t>(slot.entryOriginalSize), '\0');
        if (libdeflate_deflate_decompress(decompressors[static_cast<std::size_t>(t)], data.data(), data.size(),
                                          inflated.data(), inflated.size(), nullptr) != LIBDEFLATE_SUCCESS)
            std::abort();
        writeWholeFile(target, inflated);
    });
    for (auto* d : decompressors) libdeflate_free_decompressor(d);
}

// Verify's floor: every entry read one range at a time and the compressed ones inflated.
void inflateAllInProcess(const Form& form) {
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    std::string inflated;
    for (const EntrySlot& slot : form.entries) {
        std::string data = readFileRange(form.archivePath, static_cast<std::uint64_t>(slot.entryDataOffset),
                                         static_cast<std::uint64_t>(slot.entryStoredSize));
        if (slot.entryCompressed != 1) continue;
        inflated.resize(static_cast<std::size_t>(slot.entryOriginalSize));
        if (libdeflate_deflate_decompress(decompressor, data.data(), data.size(), inflated.data(), inflated.size(),
                                          nullptr) != LIBDEFLATE_SUCCESS)
            std::abort();
    }
    libdeflate_free_decompressor(decompressor);
}

// The pack's floor: every file read and the compressed ones deflated at zlibc's level over
// `threads` threads, then one archive of the same layout written.
void packInProcess(const std::vector<GameFile>& files, const fs::path& folder, const fs::path& out, int threads) {
    std::vector<std::string> stored(files.size());
    std::vector<libdeflate_compressor*> compressors(static_cast<std::size_t>(threads));
    for (auto& c : compressors) c = libdeflate_alloc_compressor(6);
    spread(static_cast<int>(files.size()), threads, [&](int t, int i) {
        const GameFile& f = files[static_cast<std::size_t>(i)];
        std::string data = readWholeFile(*safeJoin(folder, f.path));
        if (f.compressed) {
            libdeflate_compressor* compressor = compressors[static_cast<std::size_t>(t)];
            std::string buffer(libdeflate_deflate_compress_bound(compressor, data.size()), '\0');
            buffer.resize(
                libdeflate_deflate_compress(compressor, data.data(), data.size(), buffer.data(), buffer.size()));
            data.swap(buffer);
        }
        stored[static_cast<std::size_t>(i)] = std::move(data);
    });
    for (auto* c : compressors) libdeflate_free_compressor(c);
    // The tables first, then every file's bytes written straight from where they were made:
    // an archive assembled in memory first would cost more than the writing itself.
    std::string toc;
    std::int64_t rawdSize = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const GameFile& f = files[i];
        const std::string& data = stored[i];
        appendTocEntryHead(toc, replaceAll(f.path, '\\', '/'), static_cast<std::int32_t>(data.size()),
                           static_cast<std::int32_t>(f.content.size()), f.compressed, 1);
        appendI32(toc, static_cast<std::int32_t>(rawdSize + 4));  // copy offsets count from the RAWD tag
        rawdSize += static_cast<std::int64_t>(data.size());
    }
    const std::string head = mpakHeader(static_cast<std::int32_t>(toc.size() + 4), 4,
                                        static_cast<std::int16_t>(files.size()), 0) +
                             std::string("TOC\0", 4) + toc + "STOC" + "RAWD";
    WorkFile archive(out);
    archive.write(head);
    for (const std::string& data : stored) archive.write(data);
    archive.close();
}

// Processor seconds of this process alone: the window's own work, without its helpers.
double ownProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Seconds of each round, for one operation, its floor and its alternative, and the window's own
// processor seconds.
struct Measures {
    std::vector<double> own, floor, alternative, windowProcessor;
    std::vector<double> sameWork;  // the floor doing the program's own file work, where there is one
};

// Runs `operation`, keeping its time and the window's processor time.
template <typename Operation>
void measure(Measures& m, Operation&& operation) {
    double processorStart = ownProcessorSeconds();
    m.own.push_back(secondsOf(operation));
    m.windowProcessor.push_back(ownProcessorSeconds() - processorStart);
}

// The command line in a work folder of its own: `extract` (open included) into a fresh one, or
// `pack` of what it extracted. Each runs right after the window's same pass, so that both meet
// the machine at the same pace.
void timeCommandLine(const fs::path& work, const fs::path& archive, bool extract, Measures& measures) {
    const fs::path cliWork = work / "cli";
    const std::string cli = quoted(fs::path(VR_APP_DIR) / "vantrel-ripper-cli") + " -q --work " + quoted(cliWork);
    if (extract) {
        fs::remove_all(cliWork);
        measures.own.push_back(secondsOf([&] { shell(cli + " extract " + quoted(archive) + " > /dev/null"); }));
        return;
    }
    measures.own.push_back(secondsOf([&] { shell(cli + " pack " + kArchiveName + " > /dev/null"); }));
    const fs::path packed = cliWork / "NewMPAKs" / kArchiveName;
    if (readArchiveTables(packed, readArchiveLayout(packed)).entries.size() != kEntries)
        std::fprintf(stderr, "the command line's pack does not list every file\n"), std::exit(1);
}

struct Row {
    std::string operation;
    const Measures* measures;
    const char* alternative;
    int files;  // for the window's processor time per file
};

void printTable(int rounds, const std::vector<Row>& rows) {
    std::printf("\nMedian of %d rounds, seconds:\n", rounds);
    std::printf(
        "| operation       |   median |    floor | x floor | same work | x same work | alternative            | "
        "x alternative | window ms/file |\n");
    std::printf(
        "|-----------------|---------:|---------:|--------:|----------:|------------:|------------------------|-------"
        "-------:|---------------:|\n");
    for (const Row& r : rows) {
        const Measures& m = *r.measures;
        double own = median(m.own), floor = median(m.floor), other = median(m.alternative);
        std::string perFile = "-";  // a program of its own: its processor time is not this one's
        if (!m.windowProcessor.empty()) perFile = std::to_string(1000 * median(m.windowProcessor) / r.files);
        char sameWork[2][16] = {"-", "-"};
        if (!m.sameWork.empty()) {
            std::snprintf(sameWork[0], sizeof sameWork[0], "%.3f", median(m.sameWork));
            std::snprintf(sameWork[1], sizeof sameWork[1], "%.2f", own / median(m.sameWork));
        }
        std::printf("| %-15s | %8.3f | %8.3f | %7.2f | %9s | %11s | %-13s %8.3f | %13.2f | %14.14s |\n",
                    r.operation.c_str(), own, floor, own / floor, sameWork[0], sameWork[1], r.alternative, other,
                    own / other, perFile.c_str());
    }
}

int run(const fs::path& work, int rounds) {
    std::printf("Working in %s\nBuilding %d game files ...\n", work.c_str(), kEntries);
    const std::vector<GameFile> files = makeGameFiles(kEntries);
    std::uint64_t originalBytes = 0;
    for (const GameFile& f : files) originalBytes += f.content.size();
    const fs::path archive = work / "game" / kArchiveName;
    fs::create_directories(archive.parent_path());
    writeWholeFile(archive, buildGameArchive(files));
    std::printf("Archive: %.1f MiB; files: %.1f MiB\n", fs::file_size(archive) / 1048576.0, originalBytes / 1048576.0);

    const fs::path app = work / "app";
    fs::create_directories(app);
    fs::copy_file(fs::path(VR_APP_DIR) / "zlibc", app / "zlibc");
    auto dialogs = std::make_unique<ArchiveDialogs>();
    dialogs->archive = QString::fromLocal8Bit(archive.string());
    MainWindow window(app, std::move(dialogs));
    if (!window.startUp()) return 1;
    window.show();
    QCoreApplication::processEvents();
    Form& form = window.form();
    const fs::path extracted = form.extractedFilesPath / kArchiveName;
    const fs::path packed = form.newMpaksPath / kArchiveName;
    const fs::path zip = work / "same.zip", unzipped = work / "unzipped";

    // One helper run at a time, then one per core.
    const int cores = defaultHelperRuns();
    Measures open, extract[2], pack[2], cliExtract, cliPack, verify, update[3];
    std::vector<double> saveChecks, fullSaveChecks;
    int zlibcInflates = 0, zlibcDeflates = 0;
    std::size_t helperStarts[2][2] = {};  // [way][extract, pack]
    for (int round = 1; round <= rounds; ++round) {
        // Every run starts from nothing, as a user's first one does.
        fs::remove(form.libraryPath / (std::string(kArchiveName) + ".toc"));
        fs::remove(form.libraryPath / (std::string(kArchiveName) + ".stoc"));
        measure(open, [&] {
            SelectMPAKfile(form);
            QCoreApplication::processEvents();  // the list's layout and paint
        });
        if (window.listLineCount() != kEntries) return std::fprintf(stderr, "the open failed\n"), 1;
        open.floor.push_back(secondsOf([&] { readTablesInProcess(archive); }));

        for (int way = 0; way < 2; ++way) {
            const int width = form.helperRunsAtOnce = way == 0 ? 1 : cores;
            fs::remove_all(extracted);
            SelectAll(form);
            std::size_t startsBefore = helperStartCount();
            measure(extract[way], [&] { MassExtract(form); });
            helperStarts[way][0] = helperStartCount() - startsBefore;
            if (form.logText.find("Unzip failed") != std::string::npos || form.filesExtractedCount != kEntries)
                return std::fprintf(stderr, "the extraction failed:\n%s\n", form.logText.c_str()), 1;
            zlibcInflates = form.filesUnzippedCount;
            if (way == 1) timeCommandLine(work, archive, true, cliExtract);
            fs::remove_all(work / "floor");
            extract[way].floor.push_back(secondsOf([&] { extractInProcess(form, work / "floor", width); }));
            fs::remove_all(work / "floor");
            fs::create_directories(work / "floor-temp");
            extract[way].sameWork.push_back(secondsOf([&] {
                extractWithTheProgramsFileWork(form.entries, form.archivePath, work / "floor", work / "floor-temp",
                                               width);
            }));

            fs::remove(packed);
            setPackFolderName(form, kArchiveName);
            startsBefore = helperStartCount();
            Outcome packed;
            measure(pack[way], [&] { packed = PackMPAK(form); });
            helperStarts[way][1] = helperStartCount() - startsBefore;
            if (!packed.done() || logLinesStarting(form.logText, "Packing ") != kEntries)
                return std::fprintf(stderr, "the pack failed:\n%s\n", form.logText.c_str()), 1;
            zlibcDeflates = logLinesStarting(form.logText, "Zipping ");
            if (way == 1) timeCommandLine(work, archive, false, cliPack);
            fs::remove(work / "floor.mpak");
            pack[way].floor.push_back(secondsOf([&] { packInProcess(files, extracted, work / "floor.mpak", width); }));
            fs::remove(work / "floor.mpak");
            pack[way].sameWork.push_back(secondsOf([&] {
                packWithTheProgramsFileWork(files, extracted, work / "floor-temp", work / "floor.mpak", width);
            }));
        }

        // What the check adds to the pack once it has written the archive: the entries were
        // inflated beside the writing, and are read back by their CRC.
        const std::vector<EntryCheck> checks = checksAsThePackMakesThem(packed);
        saveChecks.push_back(secondsOf([&] { checkSavedArchive(packed, [&](std::size_t i) { return checks[i]; }); }));
        fullSaveChecks.push_back(secondsOf([&] { checkSavedArchive(packed); }));
        measure(verify, [&] {
            if (!verifyArchive(archive).problems.empty()) std::abort();
        });
        verify.floor.push_back(secondsOf([&] { inflateAllInProcess(form); }));
        // One texture edited in the fully extracted folder, then put back; the modder takes a few
        // seconds for it, so the other files have settled.
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const GameFile& edited =
            *std::find_if(files.begin(), files.end(), [](const GameFile& f) { return f.compressed; });
        const fs::path editedFile = *safeJoin(extracted, edited.path);
        writeWholeFile(editedFile, edited.content + "edited");
        // The first update compares every file; the second takes the ones it found unchanged,
        // settled since, from its cache.
        fs::remove(form.libraryPath / (std::string(kArchiveName) + ".update-cache"));
        for (int k = 0; k < 2; ++k) {
            Measures& m = update[k];
            Outcome updated;
            measure(m, [&] { updated = UpdateMPAK(form, {archive, extracted, {}}); });
            if (!updated.done() ||
                form.logText.find("(1 replaced, 0 added, 0 removed, 10000 kept") == std::string::npos)
                return std::fprintf(stderr, "the update failed:\n%s\n", form.logText.c_str()), 1;
            m.alternative.push_back(
                secondsOf([&] { shell("cp " + quoted(archive) + " " + quoted(work / "copy.mpak")); }));
            m.floor.push_back(extract[1].own.back() + pack[1].own.back());
        }
        // The same as the second, from the command line on the window's work folder and cache.
        const std::string cli = quoted(fs::path(VR_APP_DIR) / "vantrel-ripper-cli") + " -q --work " +
                                quoted(form.libraryPath.parent_path());
        update[2].own.push_back(secondsOf([&] { shell(cli + " update " + quoted(archive) + " > /dev/null"); }));
        update[2].alternative.push_back(update[1].alternative.back());
        update[2].floor.push_back(update[1].floor.back());
        writeWholeFile(editedFile, edited.content);

        fs::remove(zip);
        double zipSeconds =
            secondsOf([&] { shell("cd " + quoted(extracted) + " && zip -q -r " + quoted(zip) + " ."); });
        fs::remove_all(unzipped);
        double unzipSeconds = secondsOf([&] { shell("unzip -q " + quoted(zip) + " -d " + quoted(unzipped)); });
        open.alternative.push_back(secondsOf([&] { shell("unzip -l " + quoted(zip) + " > /dev/null"); }));
        verify.alternative.push_back(secondsOf([&] { shell("unzip -tq " + quoted(zip) + " > /dev/null"); }));
        for (int way = 0; way < 2; ++way) {
            pack[way].alternative.push_back(zipSeconds);
            extract[way].alternative.push_back(unzipSeconds);
        }
        cliExtract.floor = extract[1].floor, cliExtract.alternative = extract[1].alternative;
        cliPack.floor = pack[1].floor, cliPack.alternative = pack[1].alternative;
        cliExtract.sameWork = extract[1].sameWork, cliPack.sameWork = pack[1].sameWork;
        std::printf(
            "Round %d: open %.3f s, extract %.3f / %.3f s, pack %.3f / %.3f s; command line: extract %.3f s, "
            "pack %.3f s\n",
            round, open.own.back(), extract[0].own.back(), extract[1].own.back(), pack[0].own.back(),
            pack[1].own.back(), cliExtract.own.back(), cliPack.own.back());
    }

    // The round trip kept every byte.
    for (const GameFile& f : files)
        if (readWholeFile(*safeJoin(extracted, f.path)) != f.content)
            return std::fprintf(stderr, "%s differs\n", f.path.c_str()), 1;
    if (readArchiveTables(packed, readArchiveLayout(packed)).entries.size() != kEntries)
        return std::fprintf(stderr, "the packed archive does not list every file\n"), 1;

    const std::string one = " (1)", many = " (" + std::to_string(cores) + ")";
    printTable(rounds, {{"open", &open, "unzip -l", kEntries},
                        {"extract-all" + one, &extract[0], "unzip -q", kEntries},
                        {"extract-all" + many, &extract[1], "unzip -q", kEntries},
                        {"pack-all" + one, &pack[0], "zip -q -r", kEntries},
                        {"pack-all" + many, &pack[1], "zip -q -r", kEntries},
                        {"cli extract" + many, &cliExtract, "unzip -q", kEntries},
                        {"cli pack" + many, &cliPack, "zip -q -r", kEntries},
                        {"verify", &verify, "unzip -tq", kEntries}});
    const char* const updateWays[] = {"first", "second (cache)", "command line (cache)"};
    for (int k = 0; k < 3; ++k)
        std::printf(
            "Update of one changed compressed file, %s: %.3f s, %.2f x cp of the archive (%.3f s), %.2f x "
            "extract-all + pack-all (%.3f s)\n",
            updateWays[k], median(update[k].own), median(update[k].own) / median(update[k].alternative),
            median(update[k].alternative), median(update[k].own) / median(update[k].floor), median(update[k].floor));
    std::printf(
        "The save's read-back check after the writing: %.3f s, %.1f %% of pack-all (%d); inflating every entry "
        "again there instead: %.3f s, %.1f %%\n",
        median(saveChecks), 100 * median(saveChecks) / median(pack[1].own), cores, median(fullSaveChecks),
        100 * median(fullSaveChecks) / median(pack[1].own));
    // Each round's command line set against the same round's window, whose extract comes with its
    // open: the machine's pace changes less within a round than between rounds.
    std::vector<double> extractRatios, packRatios;
    for (std::size_t r = 0; r < cliExtract.own.size(); ++r) {
        extractRatios.push_back(cliExtract.own[r] / (open.own[r] + extract[1].own[r]));
        packRatios.push_back(cliPack.own[r] / pack[1].own[r]);
    }
    std::printf(
        "Command line against the window: extract %.3f (window's open + extract %.3f), pack %.3f (%.3f); "
        "median of the rounds' ratios: extract %.3f, pack %.3f\n",
        median(cliExtract.own), median(open.own) + median(extract[1].own), median(cliPack.own), median(pack[1].own),
        median(extractRatios), median(packRatios));
    std::printf(
        "(n): zlibc jobs at once. zlibc jobs: %d to extract, %d to pack; helper programs started per pass:\n"
        "extract %zu (1), %zu (%d); pack %zu (1), %zu (%d). The floors run as many threads as jobs run at once.\n"
        "window ms/file: the program's own processor time per file.\n",
        zlibcInflates, zlibcDeflates, helperStarts[0][0], helperStarts[1][0], cores, helperStarts[0][1],
        helperStarts[1][1], cores);
    return 0;
}

// The folder to work in when none is given: memory when the machine offers it.
fs::path defaultWorkParent() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error)) return "/dev/shm";
    return fs::temp_directory_path();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    fs::path parent = argc > 2 ? fs::path(argv[2]) : defaultWorkParent();
    std::string pattern = (parent / "vr-ripper-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return std::fprintf(stderr, "cannot make a folder in %s\n", parent.c_str()), 1;
    fs::path work(pattern);
    int result = run(work, rounds);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return result;
}
