#include "extract/unzip_temp_files.h"

#include "extract/extract_entry.h"
#include "extract_fixture.h"

namespace {

using UnzipTempFilesTest = ExtractTest;

std::string zlibWrapped(const std::string& content) {
    return std::string("\x78\x9C", 2) + rawDeflate(content) + std::string(4, '\0');
}

TEST_F(UnzipTempFilesTest, InflatesEachLowerCaseGzFileInPlaceCountingToTheTotalAndDeletesIt) {
    fs::create_directories(form.extractedFilesPath / "x.mpak" / "a");
    writeFile(form.extractedFilesPath / "x.mpak" / "a" / "b.dds", std::string(10000, 'o'));  // replaced
    const std::map<std::string, std::string> contents = {
        {"x.mpak/a/b.dds", "new"}, {"x.mpak/c.dds", awkwardBytes(3000, 5)}, {"x.mpak/d", ""}, {"x.mpak/e", "e"}};
    for (const auto& [path, content] : contents)
        writeFile(form.tempPath / (replaceAll(path, '/', '+') + ".gz"), zlibWrapped(content));
    writeFile(form.tempPath / "x.mpak+f.GZ", zlibWrapped("upper"));
    writeFile(form.tempPath / "notes.txt", "left alone");
    form.filesUnzippedCount = 4;

    UnzipTempFiles(form);

    EXPECT_EQ(filesBelow(form.extractedFilesPath), contents);
    EXPECT_EQ(filesBelow(form.tempPath),
              (std::map<std::string, std::string>{{"notes.txt", "left alone"}, {"x.mpak+f.GZ", zlibWrapped("upper")}}));
    EXPECT_EQ(form.logText,
              "Unzipping 1\\4: x.mpak+a+b.dds.gz\r\nUnzipping 2\\4: x.mpak+c.dds.gz\r\n"
              "Unzipping 3\\4: x.mpak+d.gz\r\nUnzipping 4\\4: x.mpak+e.gz\r\n");
    EXPECT_EQ(window.statusHistory.back(), "Unzipping 4\\4: x.mpak+e.gz");
    EXPECT_EQ(window.progressHistory, (std::vector<float>{3495 * 0.25f, 3495 * 0.5f, 3495 * 0.75f, 3495}));
    EXPECT_EQ(form.toolExitCode, 0);
}

TEST_F(UnzipTempFilesTest, RefusesAFlattenedNameThatLeadsOutOfExtractedFiles) {
    writeFile(form.tempPath / "x.mpak+..+..+evil.gz", zlibWrapped("evil"));
    form.filesUnzippedCount = 1;
    UnzipTempFiles(form);
    EXPECT_EQ(form.logText, "Refused unsafe path: x.mpak\\..\\..\\evil\r\n");
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_FALSE(fs::exists(app / "evil"));
    EXPECT_FALSE(fs::exists(app.path().parent_path() / "evil"));
}

TEST_F(UnzipTempFilesTest, WrappedFileIsHeaderDataTrailerWrittenWholeOverALongerFile) {
    writeFile(form.tempPath / "x.gz", std::string(100, 'z'));
    WriteZlibWrapped(form, form.tempPath / "x.gz", "");
    EXPECT_EQ(readFile(form.tempPath / "x.gz"), std::string("\x78\x9C\0\0\0\0", 6));
    EXPECT_EQ(wrappedFileName("x.mpak", "a\\b.dds"), "x.mpak+a+b.dds.gz");
    EXPECT_EQ(wrappedFileName("x.mpak", "b.dds"), "x.mpak+b.dds.gz");
}

}  // namespace
