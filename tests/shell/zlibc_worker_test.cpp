// zlibc serving jobs: every name reaches it unchanged, each answer is what a one-shot run gives,
// a job that cannot be read ends the worker, and a worker that dies takes only its own job.
#include "fixtures/app_folder.h"
#include "fixtures/zlib_reference.h"
#include "shell/compression_tool.h"
#include "shell/helper_job_queue.h"
#include "shell/tool_runner.h"
#include "shell/zlibc_runner.h"

class ZlibcWorkerTest : public AppFolderTest {
protected:
    ZlibcWorkerTest() { installHelpers({"zlibc"}); }
    fs::path zlibc() const { return app / programFile("zlibc"); }

    // The jobs run by `runner` as a pass runs them; each result as "<code> <errors>".
    std::vector<std::string> runAll(HelperRunner& runner, const std::vector<HelperJob>& jobs) {
        HelperJobQueue queue(runner);
        std::vector<std::string> results;
        for (const HelperJob& job : jobs) queue.add(job);
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            ToolResult result = queue.take(i);
            results.push_back(std::to_string(result.exitCode) + " " + result.errors);
        }
        return results;
    }
};

TEST_F(ZlibcWorkerTest, EveryNameReachesTheWorkerAndEachAnswerIsTheOneShotRunsCodeAndLine) {
    std::vector<std::string> names = {"plain", "two  blanks", "\xD0\x96\xC3\xA9 \xE2\x98\x83"};
#ifdef _WIN32
    const fs::path folder = app / "a folder";
#else
    const fs::path folder = app / "a \"quoted\" folder";
    names.insert(names.end(), {" blanks around ", "a \"quote\"", "trailing\\", "a\nnewline"});
#endif
    std::vector<HelperJob> jobs;
    for (const std::string& name : names) {
        writeFile(folder / fs::u8path(name), awkwardBytes(3000 + name.size(), 3));
        jobs.push_back({false, folder / fs::u8path(name), folder / fs::u8path(name + ".z")});
        jobs.push_back({true, folder / fs::u8path(name + ".z"), folder / fs::u8path(name + ".back")});
    }
    writeFile(folder / "not zlib", "not a zlib stream");
    const std::vector<HelperJob> failing = {{true, folder / "not zlib", folder / "out"},
                                            {true, folder / "missing", folder / "out"},
                                            {false, folder / "plain", folder / "no folder" / "out"}};
    jobs.insert(jobs.end(), failing.begin(), failing.end());

    ZlibcRunner runner(zlibc(), 1);
    const std::size_t startsBefore = helperStartCount();
    const std::vector<std::string> results = runAll(runner, jobs);
    EXPECT_EQ(helperStartCount() - startsBefore, 1u);  // one worker did every job
    for (std::size_t i = 0; i + failing.size() < jobs.size(); ++i) EXPECT_EQ(results[i], "0 ") << i;
    for (const std::string& name : names)
        EXPECT_TRUE(readFile(folder / fs::u8path(name + ".back")) == awkwardBytes(3000 + name.size(), 3)) << name;
    for (std::size_t i = 0; i < failing.size(); ++i) {
        std::string errors;
        const int code = runAndWait(zlibcCommand(zlibc(), failing[i]), &errors);
        EXPECT_EQ(results[jobs.size() - failing.size() + i], std::to_string(code) + " " + errors);
    }
    EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST_F(ZlibcWorkerTest, AJobThatCannotBeReadEndsTheWorkerWithTwo) {
    for (const std::string& job : {std::string("x 1 1\nab"), std::string("d 0 1\nb"), std::string("d 3 1\nab")}) {
        WorkerProcess worker;
        ASSERT_TRUE(worker.start(zlibc(), {"--serve"}));
        std::string received;
        while (worker.receive(received) && received.size() < 14) WorkerProcess::waitForAny({&worker}, 1000);
        EXPECT_EQ(received, "zlibc-serve 1\n") << job;
        EXPECT_TRUE(worker.send(job));
        EXPECT_EQ(worker.stop(false), 2) << job;  // the last job's input ends before its paths do
    }
}

TEST_F(ZlibcWorkerTest, AWorkerThatDiesTakesOnlyItsOwnJobAndAFreshOneTakesTheRest) {
    POSIX_ONLY("a shell script standing in for zlibc");
    fs::rename(zlibc(), app / "real-zlibc");
    // The first worker names the protocol, reads a job and is killed; later ones are zlibc.
    writeFile(zlibc(), "#!/bin/sh\n[ -e '" + (app / "died").string() + "' ] && exec '" + (app / "real-zlibc").string() +
                           "' \"$@\"\ntouch '" + (app / "died").string() +
                           "'\necho 'zlibc-serve 1'\nread -r job\nkill -9 $$\n");
    fs::permissions(zlibc(), fs::perms::owner_all);
    writeFile(app / "in", "some bytes");
    ZlibcRunner runner(zlibc(), 1);  // the second job waits in the first worker's input
    EXPECT_EQ(runAll(runner, {{false, app / "in", app / "a"}, {false, app / "in", app / "b"}}),
              (std::vector<std::string>{"137 ", "0 "}));
    EXPECT_FALSE(fs::exists(app / "a"));
    EXPECT_TRUE(fs::exists(app / "b"));
}
