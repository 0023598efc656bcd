// The update's quick scan of a folder against the pack's walk of the same folder: the same
// files in the same order, with the same entry paths and stamps, or nothing at all.
#include "update/folder_scan.h"

#include <gtest/gtest.h>

#include "common/file_stamp.h"
#include "common/paths.h"
#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"
#include "pack/folder_listing.h"

namespace {

// The walk's files as the update reads them when it does not scan.
std::vector<ScannedFile> walkedFiles(const fs::path& folder) {
    std::vector<ScannedFile> files;
    for (const WalkStep& step : walkPackFolder(folder))
        if (step.kind == WalkStep::File)
            files.push_back({entryPathOf(folder, step.path).value(), fileStamp(step.path)});
    return files;
}

std::string listed(const std::vector<ScannedFile>& files) {
    std::string text;
    for (const ScannedFile& file : files)
        text += file.entryPath + (file.stamp ? " " + std::to_string(file.stamp->size) : " -") + "\n";
    return text;
}

}  // namespace

TEST(FolderScan, GivesTheWalksFilesInItsOrderWithTheirStampsOrNothingForWhatIsNotPlain) {
    POSIX_ONLY("the scan reads folders through POSIX calls; elsewhere the walk serves");
    TempDir dir;
    const fs::path folder = dir / "x.mpak";
    for (const char* name : {"b.dds", "B.dds", "a/z.txt", "a/Y/deep/deeper/w.bin", "a/.vr-12-3.tmp", "a/.inflated-4",
                             "a/.inflated-x", "\xc3\xa9t\xc3\xa9/n.txt", "_first.txt", "empty.txt"})
        writeFile(folder / name, std::string(name).substr(0, std::string(name).size() - 3));
    fs::create_directories(folder / "a" / "nothing");
    const std::optional<std::vector<ScannedFile>> scanned = scanPlainFolder(folder);
    ASSERT_TRUE(scanned);
    const std::vector<ScannedFile> walked = walkedFiles(folder);
    EXPECT_EQ(listed(*scanned), listed(walked));
    ASSERT_EQ(scanned->size(), walked.size());
    for (std::size_t i = 0; i < walked.size(); ++i) EXPECT_EQ(scanned->at(i).stamp, walked[i].stamp) << i;
    EXPECT_NE(listed(*scanned).find("a\\.inflated-x 10\n"), std::string::npos);  // not a work file's name

    struct Case {
        const char* what;
        std::function<void(const fs::path&)> plant;
    };
    const std::vector<Case> notPlain = {
        {"a link to a file", [](const fs::path& at) { fs::create_symlink("../b.dds", at / "link.dds"); }},
        {"a link to a folder", [](const fs::path& at) { fs::create_directory_symlink("../Y", at / "linked"); }},
        {"a name holding \\", [](const fs::path& at) { writeFile(at / "back\\slash.txt", "b"); }},
        {"a name holding :", [](const fs::path& at) { writeFile(at / "co:lon.txt", "c"); }},
        {"a FIFO", [](const fs::path& at) { ASSERT_EQ(mkfifo((at / "pipe").string().c_str(), 0600), 0); }},
    };
    for (const Case& c : notPlain) {
        const fs::path planted = folder / "a" / "planted";
        fs::create_directories(planted);
        c.plant(planted);
        EXPECT_FALSE(scanPlainFolder(folder)) << c.what;
        fs::remove_all(planted);
    }
    EXPECT_TRUE(scanPlainFolder(folder));
    EXPECT_FALSE(scanPlainFolder(dir / "missing"));
}
