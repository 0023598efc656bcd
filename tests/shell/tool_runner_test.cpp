// The tool runner starting real programs: exit codes, signals, programs that cannot start and
// what they write to standard error.
#include "shell/tool_runner.h"

#include <chrono>
#include <thread>

#include "shell/tool_process.h"

#include "fixtures/app_folder.h"

using RunAndWaitTest = AppFolderTest;

static std::string sh(const std::string& script) { return "/bin/sh -c " + quoteArgument(script); }

// The programs started here are POSIX shell scripts and POSIX tools; on Windows the tool runner
// is exercised by every test that runs zlibc or fsbext.
TEST_F(RunAndWaitTest, GivesTheExitCodeOr128PlusTheSignalOrMinusOneAndTheFirst4KiBOfStandardErrorWhenTheProgramEnds) {
    POSIX_ONLY("shell scripts as programs");
    writeFile(app / "no-format", "neither a program nor a script");
    fs::permissions(app / "no-format", fs::perms::owner_all);
    for (int code : {3, 255}) EXPECT_EQ(runAndWait(sh("exit " + std::to_string(code))), code);
    for (int signal : {9, 15}) EXPECT_EQ(runAndWait(sh("kill -" + std::to_string(signal) + " $$")), 128 + signal);
    for (const std::string& line : {std::string("/nonexistent/zlibc -d \"a\" \"b\""), (app / "no-format").string(),
                                    app.path().string() + " -c x", "\"" + (app / "missing").string() + "\" a",
                                    quoteProgramPath("/odd\"name/zlibc") + " -d x", std::string("   ")})
        EXPECT_EQ(runAndWait(line), -1) << line;

    std::string errors;  // caught without blocking the program
    EXPECT_EQ(runAndWait(sh("echo 'one line' >&2; head -c 100000 /dev/zero | tr '\\0' e >&2; exit 4"), &errors), 4);
    EXPECT_EQ(errors, "one line\n" + std::string(4096 - 9, 'e'));

    ToolProcess run;  // a program that closes its standard error early has not ended until it exits
    ASSERT_TRUE(run.start(sh("echo early >&2; exec 2>&-; sleep 0.4; exit 7")));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(run.ended());
    int turns = 0;  // the window keeps getting its turns while the program runs on
    EXPECT_EQ(run.finish([&] { ++turns; }), 7);
    EXPECT_GT(turns, 5);
    EXPECT_EQ(run.errors(), "early\n");
}
