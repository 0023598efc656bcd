// "Convert .FSB": the fsbext run, its outcome boxes, and what is deleted before it.
#include "tools/fsb_convert.h"

#include <gtest/gtest.h>

#include "fsb3_bank_builder.h"
#include "shell/commands.h"
#include "tool_test_fixture.h"

namespace {

class FsbConvertTest : public ToolTest {
protected:
    fs::path sounds() const { return app / "Sounds"; }

    void convert(const fs::path& bank) {
        window.messages.clear();
        window.fileAnswers.push_back(bank);
        ConvertFSB(form);
    }

    // A bank whose first sound has the given name.
    fs::path bankWithFirstSound(const std::string& name) {
        const fs::path bank = app / "banks" / "voices.fsb";
        writeFile(bank, fsb3Bank({{name, std::string(8, '\x01')}, {"second.wav", std::string(4, '\x02')}}));
        return bank;
    }

    void expectConversionErrorBox(int exitCode) {
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text,
                  "FSB conversion error (" + std::to_string(exitCode) + ").\r\n\r\nOperation terminated.\r\n");
        EXPECT_EQ(window.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(window.messages[0].title, "VantrelRipper");
    }
};

TEST_F(FsbConvertTest, CommandLineQuotesTheProgramTheSoundsFolderAndTheBank) {
    EXPECT_EQ(
        fsbextCommand(form, "/games/my banks/a.fsb"),
        "\"" + (app / "fsbext").string() + "\" -d \"" + (app / "Sounds").string() + "\" -a \"/games/my banks/a.fsb\"");
}

TEST_F(FsbConvertTest, ConvertsTheBankIntoSoundsAndReportsCompletion) {
    installHelper("fsbext");
    showEarlierArchive();
    const fs::path bank = bankWithFirstSound("first.wav");
    convert(bank);
    expectArchiveDisplayReset();
    EXPECT_EQ(form.toolExitCode, 0);
    EXPECT_EQ(window.log, "earlier log\r\nConverting: voices.fsb\r\nOperation complete.\r\n");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(readFile(sounds() / "first.wav").size(), 44u + 8u);
    EXPECT_EQ(readFile(sounds() / "second.wav").size(), 44u + 4u);
}

TEST_F(FsbConvertTest, ABankInSoundsNamedLikeItsFirstSoundIsNotDeletedAndItsSoundsAreWritten) {
    installHelper("fsbext");
    const std::string bank = fsb3Bank({{"first.wav", std::string(8, '\x01')}});
    writeFile(sounds() / "first.wav", bank);
    convert(sounds() / "first.wav");
    EXPECT_EQ(form.toolExitCode, 0);
    EXPECT_EQ(readFile(sounds() / "first.wav"), bank);
    EXPECT_EQ(readFile(sounds() / "first_0.wav").size(), 44u + 8u);
}

TEST_F(FsbConvertTest, FailingExitCodeShowsTheFourLineBoxAndClearsTheView) {
    // Sounds is a file, so fsbext cannot write into it: exit code 3.
    installHelper("fsbext");
    fs::remove(sounds());
    writeFile(sounds(), "not a folder");
    convert(bankWithFirstSound("first.wav"));
    EXPECT_EQ(form.toolExitCode, 3);
    expectConversionErrorBox(3);
    EXPECT_EQ(window.log, "");
    EXPECT_EQ(form.logText, "Converting: voices.fsb\r\n");
}

TEST_F(FsbConvertTest, MissingProgramGivesMinusOneAndTheEarlierSoundIsDeletedOthersKept) {
    writeFile(sounds() / "first.wav", "earlier conversion");
    writeFile(sounds() / "other.wav", "keep me");
    convert(bankWithFirstSound("first.wav"));
    expectConversionErrorBox(-1);
    EXPECT_FALSE(fs::exists(sounds() / "first.wav"));
    EXPECT_EQ(readFile(sounds() / "other.wav"), "keep me");
}

TEST_F(FsbConvertTest, EmptyNamesAndNamesThatCouldLeadOutOfSoundsDeleteNothing) {
    writeFile(app / "victim", "outside Sounds");
    writeFile(sounds() / "sub" / "victim", "in a sub-folder");
    writeFile(sounds() / "other.wav", "keep me");
    for (const char* name : {"../victim", "..\\victim", "C:victim", "sub/victim", "..", ".", ""}) {
        SCOPED_TRACE(name);
        convert(bankWithFirstSound(name));
        expectConversionErrorBox(-1);
    }
    EXPECT_EQ(readFile(app / "victim"), "outside Sounds");
    EXPECT_EQ(readFile(sounds() / "sub" / "victim"), "in a sub-folder");
    EXPECT_EQ(readFile(sounds() / "other.wav"), "keep me");
}

TEST_F(FsbConvertTest, UnreadableBanksEndWithTheProcessFsbError) {
    const fs::path bank = app / "bad.fsb";
    const std::pair<std::string, std::string> cases[] = {
        {std::string(55, '\0'), "'" + bank.string() +
                                    "' is 55 bytes long, too short for a sound bank: the first sound's name ends "
                                    "at byte 56."},
        {std::string(26, '\0') + std::string(30, 'n'),
         "The first sound's name in '" + bank.string() + "' (30 bytes at offset 0x1A) has no terminating zero byte."},
    };
    for (const auto& [bytes, description] : cases) {
        showEarlierArchive();
        writeFile(bank, bytes);
        convert(bank);
        expectArchiveDisplayReset();
        EXPECT_EQ(window.log, "");
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "ProcessFSB error.\r\n\r\n" + description);
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
    }
}

}  // namespace
