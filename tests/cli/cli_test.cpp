// vantrel-ripper-cli run as a program, with a temporary work folder: what it prints, the files
// it writes, and its exit codes.

#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <pty.h>
#include <signal.h>
#include <unistd.h>
#endif

#include "cli/exit_codes.h"
#include "fixtures/app_folder.h"
#ifndef _WIN32
#include "fixtures/read_only_program_folder.h"
#endif
#include "fixtures/zlib_reference.h"
#include "format/archive_texts.h"
#include "shell/work_folder_lock.h"
#include "tools/fsb3_bank_builder.h"

namespace {

const fs::path kCli = fs::path(VR_APP_DIR) / programFile("vantrel-ripper-cli");
// Names ending in ".dds" (any case) are stored compressed.
const Files kEntries = {{"readme.txt", "read me\r\n"},
                        {"textures/sky.dds", awkwardBytes(5000, 1)},
                        {"textures/UI/hud.DDS", awkwardBytes(300, 2)},
                        {"sounds/a.wav", awkwardBytes(900, 3)}};

struct CliRun {
    int exitCode;
    std::string out, err;
};

// What a shell line prints with its standard output on a raw pseudo-terminal (LF stays LF).
std::string onTerminal([[maybe_unused]] const std::string& line) {
    std::string out;
#ifndef _WIN32
    termios raw{};
    cfmakeraw(&raw);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, &raw, nullptr);
    if (child == 0) _exit(execl("/bin/sh", "sh", "-c", line.c_str(), nullptr));
    char block[4096];
    for (ssize_t n; (n = read(terminal, block, sizeof block)) > 0;) out.append(block, static_cast<std::size_t>(n));
    close(terminal);
    waitpid(child, nullptr, 0);
#endif
    return out;
}

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        std::vector<TestEntry> entries;
        for (const auto& [path, content] : kEntries)
            entries.push_back({path, content, endsWith(asciiLower(path), ".dds")});
        writeFile(game / "x.mpak", archiveOf(entries).build());
        writeFile(game / "m.mmod", std::string("\0sky.tga\0", 9));
    }
    // Runs the program with these blank-separated words; "{w}", "{g}" and "{n}" stand for the
    // work and game folders and kNamed in the work folder. Words reach the program unchanged
    // (no shell patterns). With `terminal`, its standard output is a pseudo-terminal.
    CliRun run(const std::string& line, const fs::path& program = kCli, bool terminal = false) {
        std::string command = shellWord(pathText(program));
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            for (const auto& [mark, folder] : {std::pair{"{w}", work.path()}, {"{g}", game.path()}, {"{n}", named()}})
                if (startsWith(word, mark)) word = pathText(folder) + word.substr(3);
            command += " " + shellWord(word);
        }
        // Files of their own for each run: under wine the last run's may still be held open.
        const fs::path out = game / ("out" + std::to_string(++runs_)), err = game / ("err" + std::to_string(runs_));
        command += (terminal ? "" : " >" + shellWord(pathText(out))) + " 2>" + shellWord(pathText(err));
        if (terminal) return {-1, onTerminal(command), readFile(err)};  // its exit code is not kept
        int exitCode = runShellLine(command);
        return {exitCode, readFile(out), readFile(err)};
    }
    fs::path named() const { return work / u8"Jérôme Модding"; }

    TempDir work, game;
    int runs_ = 0;
};

}  // namespace

TEST_F(CliTest, ListPrintsTheListLinesOrThePathsAndWritesNothingExtractTakesTheEntriesMatchingAnyPattern) {
    std::string lines;
    for (const EntrySlot& slot : readArchiveTables(game / "x.mpak", readArchiveLayout(game / "x.mpak")).entries)
        lines += listLine(slot) + "\n";
    EXPECT_EQ(run("--work {w} list {g}/x.mpak").out, lines);
    EXPECT_EQ(run("list {g}/x.mpak --paths --work {w}").out,
              "readme.txt\nsounds\\a.wav\ntextures\\UI\\hud.DDS\ntextures\\sky.dds\n");
    EXPECT_TRUE(fs::is_empty(work.path()));
    for (const auto& [patterns, paths] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"", {"readme.txt", "sounds/a.wav", "textures/UI/hud.DDS", "textures/sky.dds"}},
             {"textures/*.dds", {"textures/UI/hud.DDS", "textures/sky.dds"}},
             {"TEXTURES\\ui\\hud.dds read?e.*", {"readme.txt", "textures/UI/hud.DDS"}},
             {"sounds/*;read?e.*", {"readme.txt", "sounds/a.wav"}}}) {  // ";" separates, as in the window
        fs::remove_all(work / "ExtractedFiles");
        CliRun result = run("--work {w} extract {g}/x.mpak " + patterns);
        Files expected;
        for (const std::string& path : paths) expected[path] = kEntries.at(path);
        EXPECT_EQ(filesBelow(work / "ExtractedFiles/x.mpak"), expected) << result.err;
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(startsWith(result.out, "TOC = x10, 4 entries\nSTOC = "));
        EXPECT_TRUE(endsWith(result.out, "files extracted.\nExtraction complete.\n"));
    }
    // Each command names where its results went; -q prints neither that nor the log, --log the log.
    CliRun named = run("--work {w} extract {g}/x.mpak");
    EXPECT_TRUE(endsWith(named.err, "note: Results in " + pathText(work / "ExtractedFiles" / "x.mpak") + "\n"));
    CliRun quiet = run("--work {w} -q extract {g}/x.mpak"), logged = run("--work {w} -q --log extract {g}/x.mpak");
    EXPECT_EQ(quiet.out + quiet.err + logged.err, "");
    EXPECT_EQ(logged.out, named.out);
    writeFile(work / "ExtractedFiles/x.mpak/readme.txt", "edited");  // a modder's edit is kept...
    CliRun kept = run("--work {w} extract {g}/x.mpak");
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_TRUE(startsWith(kept.err, "error: 1 extracted files differ from the archive (first: readme.txt)."))
        << kept.err;
    EXPECT_EQ(readFile(work / "ExtractedFiles/x.mpak/readme.txt"), "edited");
    EXPECT_EQ(run("--work {w} extract {g}/x.mpak --overwrite").exitCode, 0);  // ...unless told otherwise
    EXPECT_EQ(readFile(work / "ExtractedFiles/x.mpak/readme.txt"), kEntries.at("readme.txt"));
}

TEST_F(CliTest, OnATerminalControlCharactersInNamesAreShownEscapedAndMinus0GivesThePathsAsTheyAre) {
    const std::string name = "e\x1b]0;title\x07\\a\tb\nc\rd\x7f\xc2\x9b\xff\xc3\xa9.txt";
    const std::string shown = "e\\x1B]0;title\\x07\\a\\tb\\nc\\rd\\x7F\\xC2\\x9B\\xFF\xc3\xa9.txt";
    writeFile(game / "c.mpak", MpakBuilder().entry(name, "x").entry("readme.txt", "r").build());
    for (bool terminal : {false, true}) {
        if (terminal) POSIX_ONLY("a pseudo-terminal (forkpty)");
        EXPECT_EQ(run("list {g}/c.mpak --paths -0", kCli, terminal).out, name + '\0' + "readme.txt" + '\0');
        EXPECT_EQ(run("list {g}/c.mpak --paths", kCli, terminal).out, (terminal ? shown : name) + "\nreadme.txt\n");
    }
    // The log's own lines stay as they are: an ordinary log is byte-identical, a name is escaped.
    EXPECT_EQ(run("--work {n} extract {g}/x.mpak", kCli, true).out, run("--work {w} extract {g}/x.mpak").out);
    std::string log = run("--work {w} extract {g}/c.mpak").out;
    EXPECT_EQ(run("--work {n} extract {g}/c.mpak", kCli, true).out, log.replace(log.find(name), name.size(), shown));
}

// Windows passes a work folder named beyond ASCII to the program, to zlibc and to the files only
// in UTF-16: from there too the same archive comes out, its CRC-32 the same on every platform.
TEST_F(CliTest, PackGivesTheBytesAndTheLogOfTheWindowsPackCommandInAWorkFolderOfAnyName) {
    for (const char* folder : {"{n}", "{w}"})
        ASSERT_EQ(run("--work " + std::string(folder) + " -q extract {g}/x.mpak").exitCode, 0);
    for (const fs::path& folder : {named(), work.path()}) {
        writeFile(folder / "ExtractedFiles/x.mpak/readme.txt", "edited");
        writeFile(folder / "ExtractedFiles/x.mpak/textures/new.dds", awkwardBytes(700, 4));
    }
    for (bool options : {true, false}) {
        CliRun result = options ? run("--work {w} pack x.mpak --manual-stoc --force-compression")
                                : run("--work {w} pack {w}/ExtractedFiles/x.mpak/");
        EXPECT_EQ(result.exitCode, 0) << result.err;
        // The missing library .stoc's caution does not stop the pack.
        EXPECT_TRUE(startsWith(result.err, "note: Caution.  No library .stoc file found for this .MPAK.  Library"));

        TempDir app;  // the window's pack command on a copy of the same work folder
        fs::copy(work.path(), app / "copy", fs::copy_options::recursive);
        RecordingWindow window;
        window.autoAdd = !options, window.compressAll = options;
        Form form(window, app / "copy");
        form.packFolderName = "x.mpak";
        form.programFolder = VR_APP_DIR;
        PackMPAK(form);
        EXPECT_EQ(readFile(work / "NewMPAKs/x.mpak"), readFile(app / "copy/NewMPAKs/x.mpak"));
        std::erase(form.logText, '\r');  // printed with LF line ends
        EXPECT_EQ(result.out, form.logText);
    }
    ASSERT_EQ(run("--work {n} -q pack x.mpak").exitCode, 0);
    const std::string packed = readFile(named() / "NewMPAKs/x.mpak");
    EXPECT_EQ(packed, readFile(work / "NewMPAKs/x.mpak"));
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(packed.data()), static_cast<uInt>(packed.size())), 0x97DFDD09u);
}

TEST_F(CliTest, EachSideToolWritesWhereTheWindowsDoes) {
    writeFile(game / "a.mpkg", "\x01\x02" + rawDeflate("unpacked"));
    writeFile(game / "v.fsb", fsb3Bank({{"voice.wav", std::string(8, '\x01')}}));
    EXPECT_EQ(run("--work {w} mpkg {g}/a.mpkg").exitCode, 0);
    EXPECT_EQ(readFile(work / "Temp/mpkg.dat"), "unpacked");
    EXPECT_EQ(run("--work {w} fsb {g}/v.fsb").exitCode, 0);
    EXPECT_TRUE(fs::is_regular_file(work / "Sounds/voice.wav"));
    EXPECT_EQ(run("--work {w} textures {g}/m.mmod").out,
              "GRAPHICS FOR MODEL: m.mmod\n\nsky.tga\n\nOperation complete.\n");
}

TEST_F(CliTest, StartUpWritesThroughNoLinkPlantedInTheWorkFolders) {
    TempDir program;  // a portable copy: its work folders beside it
    fs::copy_file(kCli, program / programFile("vantrel-ripper-cli"));
    writeFile(game / "victim.txt", "victim");
    for (const char* folder : {"ExtractedFiles", "Temp", "NewMPAKs", "Library", "Sounds"}) {
        fs::create_directories(program / folder);
        MAKE_LINK_OR_SKIP(game / "victim.txt", program / folder / "VantrelRipper.probe", false);
    }
    EXPECT_EQ(run("textures {g}/m.mmod", program / programFile("vantrel-ripper-cli")).exitCode, 0);
    EXPECT_EQ(readFile(game / "victim.txt"), "victim");
}

TEST_F(CliTest, FromAReadOnlyProgramFolderItWorksInTheUsersDataFolderAndWritesNothingBesideItself) {
#ifdef _WIN32
    POSIX_ONLY("shell scripts as programs, a read-only bind mount");
#else
    ReadOnlyProgramFolder installed({"vantrel-ripper-cli", "zlibc", "fsbext"});
    CliRun result = run("extract {g}/x.mpak", installed.launcher("vantrel-ripper-cli"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(filesBelow(installed.userWorkFolder() / "ExtractedFiles/x.mpak"), kEntries);
    EXPECT_EQ(std::distance(fs::directory_iterator(installed.program.path()), {}), 3);
#endif
}

TEST(ExitCodeOf, EachOutcomeGivesItsExitCodeWhateverItsErrorSays) {
    using Kind = Outcome::Kind;
    for (auto [kind, code] :
         {std::pair{Kind::Done, 0}, {Kind::EntriesLeftOut, 3}, {Kind::Failed, 1}, {Kind::Refused, 1}})
        for (bool shown : {true, false}) EXPECT_EQ(exitCodeOf({kind, shown ? "" : "why", shown}), code);
}

TEST_F(CliTest, ExitCodesSayHowTheCommandEnded) {
    writeFile(game / "damaged.mpak", "MPAK\x01");
    writeFile(game / "unsafe.mpak", MpakBuilder().entry("../escape.txt", "x").entry("kept.txt", "k").build());
    writeFile(game / "huge.mmod", "");
    fs::resize_file(game / "huge.mmod", 1ull << 31);
    TempDir lonely;  // the program without its helpers
    fs::copy_file(kCli, lonely / programFile("vantrel-ripper-cli"));
    fs::create_directories(work / "jammed/VantrelRipper.lock");  // no lock can be had there
    struct Case {
        std::string line;
        int exitCode;
        std::string errorStart;
        fs::path program = kCli;
    };
    for (const Case& c : std::vector<Case>{
             {"--work {w} extract {g}/damaged.mpak", 1, "error: ProcessLibrary error.  "},
             {"--work {w} extract {g}/x.mpak *.txt;nothing*", 1, "error: No entry matches nothing*\n"},
             {"--work {w} textures {g}/none.mmod", 1, "error: No such file: '"},
             {"--work {w} textures {g}/huge.mmod", 1, "error: Cannot read '"},
             {"--work {w} fsb {g}/x.mpak", 1, "error: FSB conversion error (2).  Operation terminated.\n"},
             {"--work {w}/jammed extract {g}/x.mpak", 1, "error: Cannot lock the work folder '"},
             {"", 2, "usage: vantrel-ripper-cli"},
             {"--work {w} --fast list {g}/x.mpak", 2, "error: unknown option '--fast'\nusage:"},
             {"--bogus --help", 0, ""},  // --help wins over everything else
             {"verify {g}/unsafe.mpak", 3, ""},
             {"verify {g}/x.mpak", 0, ""},
             {"verify {g}/damaged.mpak", 1, "error: ProcessLibrary error.  "},
             {"diff {g}/x.mpak {g}/x.mpak", 0, ""},
             {"diff {g}/x.mpak {g}/unsafe.mpak --paths", 3, ""},
             {"diff {g}/x.mpak {g}/damaged.mpak", 1, "error: ProcessLibrary error.  "},
             {"--work {w} extract {g}/x.mpak", 3, "", lonely / programFile("vantrel-ripper-cli")},
             {"--work {w} -q pack x.mpak --force-compression", 1,
              "error: Staging failed: ", lonely / programFile("vantrel-ripper-cli")},
             {"--work {w} update {g}/x.mpak --remove nothing*", 1, "error: Update error.  No entry matches nothing*"},
             {"--work {w} update {g}/x.mpak --remove *.txt --manual-stoc", 0, ""},
             {"--work {w} update", 2, "error: update takes an ARCHIVE and at most one FOLDER\n"},
             {"--work {w} pack x.mpak --remove a", 2, "error: --remove belongs to update\n"},
             {"--work {w} pack nothere.mpak", 1,
              "error: " + pathText(work / "ExtractedFiles" / "nothere.mpak") + " is not a folder in ExtractedFiles."},
             {"--work {w} -q extract {g}/x.mpak", 4,
              "error: Another copy of Vantrel Ripper is using the work folder '" + pathText(work.path()) + "'.\n"}}) {
        std::optional<WorkFolderLock> lock;
        if (c.exitCode == 4) lock.emplace(work.path());  // another copy holds the folder...
        writeFile(work / "Temp/parked.gz", "in use");
        const auto tempChanged = fs::last_write_time(work / "Temp");
        CliRun result = run(c.line, c.program);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.line << "\n" << result.err;
        EXPECT_TRUE(startsWith(result.err, c.errorStart)) << result.err;
        if (c.exitCode != 4) continue;  // ...and finds its Temp as it left it
        EXPECT_EQ(filesBelow(work / "Temp"), (Files{{"parked.gz", "in use"}}));
        EXPECT_EQ(fs::last_write_time(work / "Temp"), tempChanged);
    }
    EXPECT_EQ(run("--bogus --help").out, run("--help").out);
    EXPECT_NE(run("--help").out.find("  4   another copy of the program is using the work folder"), std::string::npos);
#ifndef _WIN32
    // A stored file staged into a full Temp: a 64 KiB file system over it, in the run's own namespace.
    if (runShellLine("unshare -rm true 2>/dev/null") != 0) GTEST_SKIP() << "no user and mount namespace to be had";
    writeFile(work / "ExtractedFiles/x.mpak/sounds/a.wav", awkwardBytes(100000, 7));
    writeFile(game / "full",
              "#!/bin/sh\nexec unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs \"$0\" && exec \"$@\"' " +
                  shellWord(pathText(work / "Temp")) + " " + shellWord(pathText(kCli)) + " \"$@\"\n");
    CliRun full = run("{g}/full --work {w} -q pack x.mpak", "/bin/sh");
    EXPECT_TRUE(startsWith(full.err, "error: Staging failed: sounds\\a.wav (Cannot write '") &&
                endsWith(full.err, "': No space left on device)\n"))
        << full.err;
#endif
}

#ifndef _WIN32
// Whether process `pid` runs (a zombie has ended), and whether `parent` started it as zlibc.
static bool runs(int pid, int parent = 0) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    int ownPid = 0, ownParent = 0;
    std::string name;
    char state = 'Z';
    stat >> ownPid >> name >> state >> ownParent;
    return state != 'Z' && (parent == 0 || (ownParent == parent && name == "(zlibc)"));
}
#endif

TEST_F(CliTest, AProgramKilledDuringAPassLeavesNoZlibcWorkerRunning) {
    POSIX_ONLY("the process table in /proc");
#ifndef _WIN32
    std::vector<TestEntry> entries;
    for (int i = 0; i < 2000; ++i) entries.push_back({"e" + std::to_string(i) + ".dds", awkwardBytes(10000, 1), true});
    writeFile(game / "big.mpak", archiveOf(entries).build());
    runShellLine(shellWord(pathText(kCli)) + " --work " + shellWord(pathText(work.path())) + " extract " +
                 shellWord(pathText(game / "big.mpak")) + " >/dev/null & echo $! >" +
                 shellWord(pathText(game / "pid")));
    const int cli = std::stoi(readFile(game / "pid"));
    std::vector<int> workers;
    for (int wait = 0; wait < 20000 && workers.empty(); ++wait, usleep(500))
        for (const auto& process : fs::directory_iterator("/proc"))
            if (int pid = std::atoi(process.path().filename().c_str()); pid > 0 && runs(pid, cli))
                workers.push_back(pid);
    kill(cli, SIGKILL);
    ASSERT_FALSE(workers.empty());
    for (int pid : workers) {
        for (int wait = 0; wait < 500 && runs(pid); ++wait) usleep(10000);
        EXPECT_FALSE(runs(pid)) << pid;
    }
#endif
}
