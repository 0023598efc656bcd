#include "tools/mpkg_unpack.h"

#include <gtest/gtest.h>

#include "shell/commands.h"
#include "shell/open_file_command.h"
#include "tool_test_fixture.h"

namespace {

// A raw deflate body of one stored block, built by hand.
std::string storedDeflate(const std::string& data) {
    std::string out = "\x01";
    out.push_back(static_cast<char>(data.size() & 0xFF));
    out.push_back(static_cast<char>(data.size() >> 8));
    out.push_back(static_cast<char>(~data.size() & 0xFF));
    out.push_back(static_cast<char>((~data.size() >> 8) & 0xFF));
    return out + data;
}

class MpkgUnpackTest : public ToolTest {
protected:
    fs::path gz() const { return app / "Temp" / "mpkg.gz"; }
    fs::path dat() const { return app / "Temp" / "mpkg.dat"; }

    void unpack(const fs::path& mpkg) {
        window.fileAnswers.push_back(mpkg);
        DecompressMPKG(form);
    }
};

TEST_F(MpkgUnpackTest, InflatesTheBodyIntoMpkgDatAndLogsTheUnzippingLine) {
    installHelper("zlibc");
    showEarlierArchive();
    const fs::path mpkg = app / "in" / "level.mpkg";
    writeFile(mpkg, "\xFF\xEE" + storedDeflate("hello, model data"));
    unpack(mpkg);

    ASSERT_EQ(window.prompts.size(), 1u);
    EXPECT_EQ(window.prompts[0].title, kMpkgPrompt.title);
    EXPECT_EQ(window.prompts[0].filter, ".mpkg type files (*.mpkg)|*.mpkg");
    EXPECT_EQ(form.mpkgPath, mpkg);
    expectArchiveDisplayReset();
    EXPECT_EQ(readFile(gz()), "\x78\x9C" + storedDeflate("hello, model data") + std::string(4, '\0'));
    EXPECT_EQ(readFile(dat()), "hello, model data");
    EXPECT_EQ(form.toolExitCode, 0);
    // logText is extended, not cleared: the view shows the earlier log and the new line.
    EXPECT_EQ(window.log, "earlier log\r\nUnzipping: " + mpkg.string() + "\r\n");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MpkgUnpackTest, WorkFileDropsTheTwoLeadingBytesAndFitsEachMpkgExactly) {
    const fs::path big = app / "big.mpkg", small = app / "small.mpkg";
    writeFile(big, "\x12\x34" + std::string(5000, 'b'));
    writeFile(small, std::string("\x78\x9C", 2));
    unpack(big);
    EXPECT_EQ(readFile(gz()).size(), 5002u + 4u);
    unpack(small);
    EXPECT_EQ(readFile(gz()), std::string("\x78\x9C\0\0\0\0", 6));
    EXPECT_FALSE(fs::exists(app / "Temp" / "mpkg.gz.part"));
}

TEST_F(MpkgUnpackTest, FailedUnzipDeletesTheEarlierResultAndSaysSo) {
    // No zlibc in the application folder: the runner gives -1.
    writeFile(dat(), "result of an earlier unpack");
    const fs::path mpkg = app / "a.mpkg";
    writeFile(mpkg, std::string(2, '\0') + storedDeflate("x"));
    unpack(mpkg);
    EXPECT_FALSE(fs::exists(dat()));
    EXPECT_EQ(form.toolExitCode, -1);
    EXPECT_EQ(window.log, "Unzipping: " + mpkg.string() + "\r\nUnzip failed (-1): mpkg.gz\r\n");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MpkgUnpackTest, MpkgShorterThanTwoBytesEndsWithTheProcessMpkgError) {
    for (const std::string& content : {std::string(), std::string("\x78")}) {
        showEarlierArchive();
        window.busy = true;
        window.messages.clear();
        const fs::path mpkg = app / "short.mpkg";
        writeFile(mpkg, content);
        unpack(mpkg);
        expectArchiveDisplayReset();
        EXPECT_EQ(window.log, "");
        EXPECT_FALSE(window.busy);
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
