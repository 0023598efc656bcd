// The mpak-dump program: what opening an archive shows, as sections for scripts.
#include <gtest/gtest.h>

#include "common/files.h"
#include "fixtures/example_archive.h"
#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"

TEST(MpakDump, PrintsTheSectionsExitingZeroOrTheErrorBoxExitingOneAndWritesNothing) {
    TempDir dir;
    writeFile(dir / "sky.mpak", skyArchive(true).build());
    writeFile(dir / "bad.mpak", MpakBuilder().entry("bad", "x", MpakEntryOptions().compressed(100)).build());
    const fs::path program = fs::path(VR_APP_DIR).parent_path() / "devtools" / programFile("mpak-dump");
    const std::pair<const char*, std::string> cases[] = {
        {"sky.mpak", "== log\nTOC = x10, 1 entries\r\nSTOC = x37, 1 entries\r\nRAWD = x58\r\n\r\n\n== list\n" +
                         kSkyListLine + "\n== toc\n" + kTocIntro + "\r\n01 1 textures\\sky.tga\n== stoc\n" +
                         kStocIntro + "\r\n[2]\r\ntextures/sky.tga\r\nsky.tga\n"},
        {"bad.mpak",
         "== error\nProcessLibrary error.\r\n\r\nThe entry bad has a compression value of 100, more than "
         "the list's two digits can show (0 to 99): the archive is damaged.\n"},
    };
    for (const auto& [name, expected] : cases) {
        const int exitCode = runShellLine(shellWord(pathText(program)) + " " + shellWord(pathText(dir / name)) + " >" +
                                          shellWord(pathText(dir / "out")));
        EXPECT_EQ(readFile(dir / "out"), expected);
        EXPECT_EQ(exitCode, expected.starts_with("== error") ? 1 : 0);
        fs::remove(dir / "out");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}
