// The tool runner starting real programs, and command lines taken apart as Windows takes them apart.
#include "shell/tool_runner.h"

#include "fixtures/app_folder.h"

using Args = std::vector<std::string>;

// The programs these tests start are POSIX shell scripts and POSIX tools; on Windows the tool
// runner is exercised by every test that runs zlibc or fsbext.
class RunAndWaitTest : public AppFolderTest {
protected:
    void SetUp() override { POSIX_ONLY("shell scripts as programs"); }
};

static std::string sh(const std::string& script) { return "/bin/sh -c " + quoteArgument(script); }

static void script(const fs::path& path, int exitCode) {
    writeFile(path, "#!/bin/sh\nexit " + std::to_string(exitCode) + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

TEST_F(RunAndWaitTest, GivesTheExitCodeOr128PlusTheSignalOrMinusOneForAProgramThatCannotStart) {
    writeFile(app / "no-format", "neither a program nor a script");
    fs::permissions(app / "no-format", fs::perms::owner_all);
    for (int code : {3, 255}) EXPECT_EQ(RunAndWait(form, sh("exit " + std::to_string(code))), code);
    for (int signal : {9, 15}) EXPECT_EQ(RunAndWait(form, sh("kill -" + std::to_string(signal) + " $$")), 128 + signal);
    EXPECT_EQ(form.toolExitCode, 128 + 15);
    for (const std::string& line : {std::string("/nonexistent/zlibc -d \"a\" \"b\""), (app / "no-format").string(),
                                    app.path().string() + " -c x", "\"" + (app / "missing").string() + "\" a",
                                    quoteProgramPath("/odd\"name/zlibc") + " -d x", std::string("   ")})
        EXPECT_EQ(RunAndWait(form, line), -1) << line;
    EXPECT_EQ(form.toolExitCode, -1);
}

TEST_F(RunAndWaitTest, CatchesTheFirst4KiBOfStandardErrorWithoutBlockingTheProgram) {
    std::string errors;
    EXPECT_EQ(runAndWait(sh("echo 'one line' >&2; head -c 100000 /dev/zero | tr '\\0' e >&2; exit 4"), &errors), 4);
    EXPECT_EQ(errors, "one line\n" + std::string(4096 - 9, 'e'));
}

TEST_F(RunAndWaitTest, AnUnquotedPathIsTheShortestExecutablePrefixAQuotedOneTheProgramNamed) {
    script(app / "my", 9);
    script(app / "my app" / "zlibc", 0);
    const std::string zlibc = (app / "my app" / "zlibc").string();
    EXPECT_EQ(runAndWait(zlibc + " -d \"a b\""), 9);
    EXPECT_EQ(resolveCommandLine(zlibc + " -d \"a b\"").value().arguments, (Args{"app/zlibc", "-d", "a b"}));
    EXPECT_EQ(runAndWait(quoteProgramPath(zlibc) + " -d \"a b\""), 0);
    // A folder or a file that may not be run is passed over, as Windows passes over a candidate that is no program.
    fs::remove(app / "my");
    fs::create_directory(app / "my");
    writeFile(app / "my app" / "notes", "text");
    script(app / "my app" / "notes and" / "prog", 5);
    EXPECT_EQ(runAndWait((app / "my app" / "notes and" / "prog").string() + "\t-d x"), 5);
}

TEST(SplitArguments, FollowsTheWindowsRules) {
    EXPECT_EQ(splitArguments(" \t "), Args{});
    EXPECT_EQ(splitArguments("\"abc\" d e"), (Args{"abc", "d", "e"}));
    EXPECT_EQ(splitArguments("a\\\\\\b d\"e f\"g h"), (Args{"a\\\\\\b", "de fg", "h"}));
    EXPECT_EQ(splitArguments("a\\\\\\\"b c d"), (Args{"a\\\"b", "c", "d"}));
    EXPECT_EQ(splitArguments("a\\\\\\\\\"b c\" d e"), (Args{"a\\\\b c", "d", "e"}));
    EXPECT_EQ(splitArguments("a\"b\"\" c d"), (Args{"ab\" c d"}));
    EXPECT_EQ(splitArguments("\"unclosed quote"), (Args{"unclosed quote"}));
}
