// "Unpack .MPKG": the work file, the zlibc run and its failures.
#include "tools/mpkg_unpack.h"

#include <gtest/gtest.h>

#include "shell/commands.h"
#include "tool_test_fixture.h"

namespace {

// "hello" as one stored deflate block.
const std::string kDeflatedHello("\x01\x05\x00\xFA\xFFhello", 10);

class MpkgUnpackTest : public ToolTest {
protected:
    fs::path gz() const { return app / "Temp" / "mpkg.gz"; }
    fs::path dat() const { return app / "Temp" / "mpkg.dat"; }

    void unpack(const fs::path& mpkg, const std::string& content) {
        writeFile(mpkg, content);
        window.fileAnswers.push_back(mpkg);
        DecompressMPKG(form);
    }
};

TEST_F(MpkgUnpackTest, InflatesTheBodyAndASmallerMpkgLeavesAWorkFileOfExactlyItsSize) {
    installHelper("zlibc");
    showEarlierArchive();
    const fs::path mpkg = app / "in" / "level.mpkg";
    unpack(mpkg, "\xFF\xEE" + kDeflatedHello);
    expectArchiveDisplayReset();
    EXPECT_EQ(readFile(gz()), "\x78\x9C" + kDeflatedHello + std::string(4, '\0'));
    EXPECT_EQ(readFile(dat()), "hello");
    EXPECT_EQ(form.toolExitCode, 0);
    // logText is extended, not cleared: the view shows the earlier log and the new line.
    EXPECT_EQ(window.log, "earlier log\r\nUnzipping: " + mpkg.string() + "\r\n");
    EXPECT_TRUE(window.messages.empty());

    unpack(app / "small.mpkg", "\x12\x34");
    EXPECT_EQ(readFile(gz()), std::string("\x78\x9C\0\0\0\0", 6));
    EXPECT_FALSE(fs::exists(app / "Temp" / "mpkg.gz.part"));
}

TEST_F(MpkgUnpackTest, FailedUnzipDeletesTheEarlierResultAndSaysSo) {
    // No zlibc in the application folder: the runner gives -1.
    writeFile(dat(), "result of an earlier unpack");
    unpack(app / "a.mpkg", std::string(2, '\0') + kDeflatedHello);
    EXPECT_FALSE(fs::exists(dat()));
    EXPECT_EQ(form.toolExitCode, -1);
    EXPECT_EQ(window.log, "Unzipping: " + (app / "a.mpkg").string() + "\r\nUnzip failed (-1): mpkg.gz\r\n");
    EXPECT_EQ(form.entriesLeftOutCount, 1);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MpkgUnpackTest, MpkgShorterThanTwoBytesEndsWithTheProcessMpkgError) {
    for (const std::string& content : {std::string(), std::string("\x78")}) {
        showEarlierArchive();
        window.messages.clear();
        const fs::path mpkg = app / "short.mpkg";
        unpack(mpkg, content);
        expectArchiveDisplayReset();
        EXPECT_EQ(window.log, "");
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "ProcessMPKG error.\r\n\r\n'" + mpkg.string() + "' is " +
                                               std::to_string(content.size()) +
                                               " bytes long; an .mpkg file holds at least its two leading bytes.");
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
        EXPECT_FALSE(fs::exists(gz()));
    }
}

}  // namespace
