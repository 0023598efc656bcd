// The side tools through their buttons: "Convert .FSB", "List Model Graphics" and "Unpack .MPKG".

#include "fixtures/app_folder.h"
#include "fsb3_bank_builder.h"
#include "tools/texture_name_scan.h"

using Names = std::vector<std::string>;
static const std::string Z(1, '\0');

class SideTool : public AppFolderTest {
protected:
    // Runs the command on `file` in a window that shows an open archive and an earlier log.
    Outcome run(Outcome (*command)(Form&), const fs::path& file) {
        window.list = {"a.txt"};
        window.itemCount = "1 Items";
        setArchiveName(form, "game.mpak");
        form.logText = "earlier log\r\n";
        window.messages.clear();
        window.fileAnswers.push_back(file);
        return command(form);
    }
    bool archiveDisplayCleared() const {
        return window.list.empty() && window.itemCount == "0 Items" && window.status.empty() &&
               window.archive.empty() && form.archiveName.empty();
    }
    // A bank in a folder with a blank in its name; its first sound is called `firstSound`.
    fs::path bank(const std::string& firstSound) {
        writeFile(app / "my banks" / "voices.fsb", fsb3Bank({{firstSound, std::string(8, 'a')}, {"second.wav", "bb"}}));
        return app / "my banks" / "voices.fsb";
    }
};

TEST_F(SideTool, ConvertFsbShowsTheFailedRunsBoxDeletesOnlyAPlainEarlierSoundOfItsNameAndNeverTheBankItReads) {
    // No fsbext is installed yet: every run fails with -1.
    writeFile(app / "victim", "outside Sounds");
    writeFile(form.soundsPath / "sub" / "victim", "in a sub-folder");
    writeFile(form.soundsPath / "other.wav", "keep me");
    writeFile(form.soundsPath / "first.wav", "earlier conversion");
    for (const char* name : {"first.wav", "../victim", "..\\victim", "C:victim", "sub/victim", "..", ".", ""}) {
        run(ConvertFSB, bank(name));
        EXPECT_EQ(onlyMessage(), "FSB conversion error (-1).\r\n\r\nOperation terminated.\r\n") << name;
    }
    EXPECT_EQ(window.messages.at(0).title, "VantrelRipper");  // no space, unlike every other box
    EXPECT_EQ(window.messages.at(0).icon, MessageIcon::None);
    EXPECT_EQ(window.log, "");
    EXPECT_EQ(form.logText, "earlier log\r\nConverting: voices.fsb\r\n");
    EXPECT_EQ(readFile(app / "victim"), "outside Sounds");
    EXPECT_EQ(filesBelow(form.soundsPath), (Files{{"other.wav", "keep me"}, {"sub/victim", "in a sub-folder"}}));

    installHelpers({"fsbext"});
    run(ConvertFSB, bank("first.wav"));
    EXPECT_EQ(window.status, "Results in " + pathText(form.soundsPath));
    window.status.clear();
    EXPECT_TRUE(archiveDisplayCleared());
    EXPECT_EQ(window.log, "earlier log\r\nConverting: voices.fsb\r\nOperation complete.\r\n");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(readFile(form.soundsPath / "first.wav").size(), 44u + 8u);
    EXPECT_EQ(readFile(form.soundsPath / "second.wav").size(), 44u + 2u);
    // The bank lies in Sounds under its first sound's name.
    const std::string bankBytes = readFile(bank("first.wav"));
    fs::rename(bank("first.wav"), form.soundsPath / "first.wav");
    run(ConvertFSB, form.soundsPath / "first.wav");
    EXPECT_EQ(readFile(form.soundsPath / "first.wav"), bankBytes);
    EXPECT_EQ(readFile(form.soundsPath / "first_0.wav").size(), 44u + 8u);
}

TEST_F(SideTool, ListModelGraphicsPromptsThenListsEachNameOnceWithItsOffsetInTheStatusLine) {
    GetModelGraphics(form);  // cancelled: nothing runs
    EXPECT_EQ(window.log, "");
    EXPECT_EQ(window.prompts.at(0).filter, ".mmod type files (*.mmod)|*.mmod");
    writeFile(app / "tank.mmod", Z + "a.tga" + Z + "A.TGA" + Z + "a.tga" + Z + "x||y.tga");
    run(GetModelGraphics, app / "tank.mmod");
    EXPECT_EQ(window.statusHistory, (Names{"a.tga loc=2", "A.TGA loc=8", "a.tga loc=E", "x||y.tga loc=17", ""}));
    EXPECT_EQ(window.log,
              "GRAPHICS FOR MODEL: tank.mmod\r\n\r\na.tga\r\nA.TGA\r\nx\r\n\r\ny.tga\r\n\r\nOperation complete.\r\n");
    EXPECT_EQ(window.caret, Caret::End);
    run(GetModelGraphics, app / "missing.mmod");  // unreadable: no names, no error
    EXPECT_EQ(window.log, "GRAPHICS FOR MODEL: missing.mmod\r\n\r\n\r\nOperation complete.\r\n");
    EXPECT_TRUE(window.messages.empty());
}

TEST(TextureNameScan, AlwaysEndsAndFindsTheNamesWhoseZeroByteTheWindowsReach) {
    std::string repeated;
    for (int i = 0; i < 2000; ++i) repeated += "ab.tga";
    auto name = [](std::size_t length) { return std::string(length - 4, 'n') + ".tga"; };
    const std::pair<std::string, Names> cases[] = {
        {Z + "d.tg\xC1" + Z + "c.TgA", {"c.TgA"}},                                       // only ASCII letters fold
        {std::string(1000, 'x') + Z + name(44), {name(44)}},                             // moves back to the zero byte
        {std::string(1000, 'x') + Z + name(24) + Z + "next.tga", {"next.tga"}},          // ".tg" ends the first window
        {std::string(1500, 'x') + Z + name(1023) + Z + "a.tga", {name(1023), "a.tga"}},  // the longest name that fits
        {std::string(1500, 'x') + Z + name(1024) + Z + "a.tga", {"a.tga"}},
        {"abc.tga" + Z + "d.tga", {"d.tga"}},  // no zero byte before the first
        // Inputs that once sent the search round for ever:
        {Z + "a.tga b.tga" + Z + "c.tga", {"a.tga", "c.tga"}},
        {Z + std::string(1020, 'x') + ".tga" + std::string(50, 'y') + ".tga", {}},
        {repeated, {}}};
    for (const auto& [model, names] : cases) {
        Names found;
        for (const TextureNameHit& hit : findTextureNames(model)) found.push_back(hit.name);
        EXPECT_EQ(found, names) << model.size();
    }
}

TEST_F(SideTool, UnpackMpkgRewrapsTheBodyForZlibcAndAFailedUnzipLeavesNoEarlierResult) {
    const std::string deflatedHello("\x01\x05\x00\xFA\xFFhello", 10);  // one stored block
    installHelpers({"zlibc"});
    writeFile(app / "short.mpkg", "\x78");
    const Outcome failed = run(DecompressMPKG, app / "short.mpkg");
    EXPECT_EQ(onlyMessage(), "ProcessMPKG error.\r\n\r\n'" + (app / "short.mpkg").string() +
                                 "' is 1 byte long; an .mpkg file holds at least its two leading bytes.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
    EXPECT_TRUE(failed.kind == Outcome::Kind::Failed && failed.error == window.messages[0].text && failed.shown);
    EXPECT_TRUE(archiveDisplayCleared());
    EXPECT_EQ(window.log, "");
    writeFile(app / "in" / "level.mpkg", "\xFF\xEE" + deflatedHello);
    EXPECT_TRUE(run(DecompressMPKG, app / "in" / "level.mpkg").done());
    EXPECT_EQ(window.status, "Results in " + pathText(form.tempPath));
    window.status.clear();
    EXPECT_TRUE(archiveDisplayCleared());
    EXPECT_EQ(window.log, "earlier log\r\nUnzipping: " + (app / "in" / "level.mpkg").string() + "\r\n");
    EXPECT_EQ(filesBelow(form.tempPath),
              (Files{{"mpkg.gz", "\x78\x9C" + deflatedHello + std::string(4, '\0')}, {"mpkg.dat", "hello"}}));
    // A smaller .mpkg whose body zlibc refuses: the work file is replaced whole, the earlier result goes.
    writeFile(app / "small.mpkg", "\x12\x34");
    EXPECT_TRUE(run(DecompressMPKG, app / "small.mpkg").kind == Outcome::Kind::EntriesLeftOut);
    EXPECT_EQ(window.log,
              "earlier log\r\nUnzipping: " + (app / "small.mpkg").string() + "\r\nUnzip failed (1): mpkg.gz\r\n");
    EXPECT_EQ(filesBelow(form.tempPath), (Files{{"mpkg.gz", std::string("\x78\x9C\0\0\0\0", 6)}}));
    EXPECT_TRUE(window.messages.empty());
}
