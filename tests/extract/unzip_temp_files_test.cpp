#include "extract/unzip_temp_files.h"

#include "extract/extract_entry.h"
#include "extract_fixture.h"

namespace {

using UnzipTempFilesTest = ExtractTest;

std::string zlibWrapped(const std::string& content) {
    return std::string("\x78\x9C", 2) + rawDeflate(content) + std::string(4, '\0');
}

TEST_F(UnzipTempFilesTest, InflatesLowerCaseGzFilesOverEarlierFilesAndRefusesNamesLeadingOutOfExtractedFiles) {
    writeFile(form.extractedFilesPath / "x.mpak" / "a" / "b.dds", std::string(10000, 'o'));
    writeFile(form.tempPath / "x.mpak+a+b.dds.gz", zlibWrapped("new"));
    writeFile(form.tempPath / "x.mpak+..+..+evil.gz", zlibWrapped("evil"));
    writeFile(form.tempPath / "x.mpak+f.GZ", zlibWrapped("upper"));
    form.filesUnzippedCount = 2;

    UnzipTempFiles(form);

    EXPECT_EQ(filesBelow(form.extractedFilesPath), (std::map<std::string, std::string>{{"x.mpak/a/b.dds", "new"}}));
    EXPECT_EQ(filesBelow(form.tempPath), (std::map<std::string, std::string>{{"x.mpak+f.GZ", zlibWrapped("upper")}}));
    EXPECT_EQ(form.logText, "Refused unsafe path: x.mpak\\..\\..\\evil\r\nUnzipping 2\\2: x.mpak+a+b.dds.gz\r\n");
    EXPECT_FALSE(fs::exists(app / "evil"));
    EXPECT_FALSE(fs::exists(app.path().parent_path() / "evil"));
}

TEST_F(UnzipTempFilesTest, WrappedFileIsHeaderDataTrailerWrittenWholeOverALongerFile) {
    writeFile(form.tempPath / "x.gz", std::string(100, 'z'));
    WriteZlibWrapped(form, form.tempPath / "x.gz", "");
    EXPECT_EQ(readFile(form.tempPath / "x.gz"), std::string("\x78\x9C\0\0\0\0", 6));
}

}  // namespace
