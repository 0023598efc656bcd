// The tool runner starting real programs: exit codes, programs that cannot start, signals,
// paths with blanks, and command lines taken apart as Windows takes them apart.
#include "shell/tool_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/form.h"

namespace {

std::string shell(const std::string& script) { return "/bin/sh -c " + quoteArgument(script); }

void copyProgram(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to);
    fs::permissions(to, fs::perms::owner_all);
}

std::vector<std::string> args(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

}  // namespace

TEST(RunAndWait, ExitCodesComeBackAndLandInToolExitCode) {
    EXPECT_EQ(runAndWait(shell("exit 0")), 0);
    EXPECT_EQ(runAndWait(shell("exit 3")), 3);
    EXPECT_EQ(runAndWait(shell("exit 255")), 255);

    RecordingWindow window;
    Form form(window, "/nonexistent-app");
    EXPECT_EQ(RunAndWait(form, shell("exit 3")), 3);
    EXPECT_EQ(form.toolExitCode, 3);
    EXPECT_EQ(RunAndWait(form, "/nonexistent/zlibc -d \"a\" \"b\""), -1);
    EXPECT_EQ(form.toolExitCode, -1);
}

TEST(RunAndWait, AProgramThatCannotStartGivesMinusOne) {
    TempDir dir;
    writeFile(dir / "not-executable", "#!/bin/sh\nexit 0\n");
    fs::permissions(dir / "not-executable", fs::perms::owner_read | fs::perms::owner_write);
    writeFile(dir / "no-format", "neither a program nor a script");
    fs::permissions(dir / "no-format", fs::perms::owner_all);

    for (const std::string& line :
         {std::string("/nonexistent/zlibc -k \"in\" \"out\""), (dir / "not-executable").string(),
          (dir / "no-format").string(), dir.path().string() + " -c x", "\"" + (dir / "missing").string() + "\" a",
          std::string(""), std::string("   ")})
        EXPECT_EQ(runAndWait(line), -1) << line;
}

TEST(RunAndWait, CatchesWhatTheProgramWritesToStandardErrorWhenAsked) {
    std::string errors;
    EXPECT_EQ(runAndWait(shell("echo 'one line' >&2; exit 4"), &errors), 4);
    EXPECT_EQ(errors, "one line\n");
    errors.clear();
    EXPECT_EQ(runAndWait(shell("head -c 100000 /dev/zero | tr '\\0' e >&2"), &errors), 0);
    EXPECT_EQ(errors, std::string(4096, 'e'));  // the first 4 KiB, without blocking the program
}

TEST(RunAndWait, OurQuotedProgramPathRunsThatProgramNotAShorterPrefixOfIt) {
    TempDir dir;
    fs::path base = fs::canonical(dir.path());
    writeFile(base / "my", "#!/bin/sh\nexit 9\n");  // would be found first unquoted
    fs::permissions(base / "my", fs::perms::owner_all);
    copyProgram("/bin/true", base / "my app" / "zlibc");
    EXPECT_EQ(runAndWait(quoteProgramPath((base / "my app" / "zlibc").string()) + " -d \"a\" \"b\""), 0);
    EXPECT_EQ(quoteProgramPath("/odd\"name/zlibc"), "\"\"");
    EXPECT_EQ(runAndWait(quoteProgramPath("/odd\"name/zlibc") + " -d x"), -1);
}

TEST(RunAndWait, AProgramEndedByASignalGives128PlusTheSignal) {
    EXPECT_EQ(runAndWait(shell("kill -9 $$")), 128 + 9);
    EXPECT_EQ(runAndWait(shell("kill -TERM $$")), 128 + 15);
}

TEST(RunAndWait, RunsAProgramInAFolderWhosePathHasBlanks) {
    TempDir dir;
    fs::path folder = dir / "tools with  blanks" / "more blanks";
    copyProgram("/bin/true", folder / "true");
    copyProgram("/bin/false", folder / "false");
    copyProgram("/bin/sh", folder / "a shell");
    EXPECT_EQ(runAndWait((folder / "true").string()), 0);
    EXPECT_EQ(runAndWait((folder / "false").string() + " \"an argument\""), 1);
    EXPECT_EQ(runAndWait((folder / "a shell").string() + " -c \"exit 7\""), 7);
}

TEST(RunAndWait, ArgumentsEnvironmentAndCurrentFolderReachTheProgram) {
    TempDir dir;
    fs::path out = dir / "seen";
    std::vector<std::string> sent = {
        "plain", "with blanks", "", "ends in backslash\\", "a \"quoted\" word", "\\\\server\\share\\", "tab\there"};
    std::string line = shell(
                           "for a; do printf '[%s]' \"$a\"; done > \"$0\"; printf '%s|%s' \"$VR_RUNNER_PROBE\" "
                           "\"$(pwd -P)\" >> \"$0\"") +
                       " " + quoteArgument(out.string());
    for (const std::string& argument : sent) line += " " + quoteArgument(argument);

    fs::path before = fs::current_path();
    fs::current_path(dir.path());
    setenv("VR_RUNNER_PROBE", "inherited value", 1);
    std::int32_t result = runAndWait(line);
    unsetenv("VR_RUNNER_PROBE");
    fs::current_path(before);

    ASSERT_EQ(result, 0);
    std::string expected;
    for (const std::string& argument : sent) expected += "[" + argument + "]";
    EXPECT_EQ(readFile(out), expected + "inherited value|" + fs::canonical(dir.path()).string());
}

TEST(ResolveCommandLine, TakesTheShortestTextUpToABlankThatNamesAnExecutableFile) {
    TempDir dir;
    fs::path base = fs::canonical(dir.path());
    copyProgram("/bin/true", base / "my");
    copyProgram("/bin/true", base / "my tools" / "prog");
    auto command = resolveCommandLine((base / "my tools" / "prog").string() + " -k \"a b\"");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, (base / "my").string());
    EXPECT_EQ(command->arguments, args({"tools/prog", "-k", "a b"}));

    // A folder or a file that may not be run is passed over, as Windows passes over a
    // candidate that is no program.
    fs::remove(base / "my");
    fs::create_directory(base / "my");
    writeFile(base / "my tools" / "notes", "text");
    copyProgram("/bin/true", base / "my tools" / "notes and" / "prog");
    command = resolveCommandLine((base / "my tools" / "notes and" / "prog").string() + "\t-d x");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, (base / "my tools" / "notes and" / "prog").string());
    EXPECT_EQ(command->arguments, args({"-d", "x"}));

    command = resolveCommandLine("  \"" + (base / "my tools" / "prog").string() + "\" -d x");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, (base / "my tools" / "prog").string());
    EXPECT_EQ(command->arguments, args({"-d", "x"}));
    EXPECT_FALSE(resolveCommandLine((base / "nothing here").string()));
}

TEST(SplitArguments, FollowsTheWindowsRules) {
    EXPECT_EQ(splitArguments(""), args({}));
    EXPECT_EQ(splitArguments(" \t "), args({}));
    EXPECT_EQ(splitArguments("\"abc\" d e"), args({"abc", "d", "e"}));
    EXPECT_EQ(splitArguments("a\\\\\\b d\"e f\"g h"), args({"a\\\\\\b", "de fg", "h"}));
    EXPECT_EQ(splitArguments("a\\\\\\\"b c d"), args({"a\\\"b", "c", "d"}));
    EXPECT_EQ(splitArguments("a\\\\\\\\\"b c\" d e"), args({"a\\\\b c", "d", "e"}));
    EXPECT_EQ(splitArguments("a\"b\"\" c d"), args({"ab\" c d"}));
    EXPECT_EQ(splitArguments("\"\" x \"\""), args({"", "x", ""}));
    EXPECT_EQ(splitArguments("-d \"C:\\dir with blanks\\\\\" \"out\""), args({"-d", "C:\\dir with blanks\\", "out"}));
    EXPECT_EQ(splitArguments("\"unclosed quote"), args({"unclosed quote"}));
    EXPECT_EQ(splitArguments("trailing\\"), args({"trailing\\"}));
}

TEST(QuoteArgument, SplitsBackUnchanged) {
    EXPECT_EQ(quoteArgument("C:\\Temp\\x.mpak+a+b.dds.gz"), "\"C:\\Temp\\x.mpak+a+b.dds.gz\"");
    EXPECT_EQ(quoteArgument("/app/Temp/with blanks.gz"), "\"/app/Temp/with blanks.gz\"");
    for (std::string argument : {"", " ", "\"", "\\", "\\\\", "a\\\"b", "ends\\", "x\" \"y", "\"\"", "\t\\\" \\"})
        EXPECT_EQ(splitArguments("-d " + quoteArgument(argument) + " " + quoteArgument(argument)),
                  std::vector<std::string>({"-d", argument, argument}))
            << argument;
}
