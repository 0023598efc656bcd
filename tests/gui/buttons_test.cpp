// Every button that the round trip does not press, through the real window: the open-file
// prompts and their remembered folder, the help texts and the file manager.
#include <QDir>

#include "gui_fixture.h"

namespace {

TEST_F(GuiTest, EachButtonRunsItsCommandAndThePromptsShareTheRememberedFolder) {
    start();
    const fs::path models = app / "models";
    struct Prompt {
        const char* button;
        const char* title;
        QString startsIn, answer, remembered;  // an empty answer cancels
    };
    const QString root = QDir::separator();  // remembered with the system's separator
    const Prompt prompts[] = {
        {"butSelectMPAKfile", "Select File [.mpak]", answer(app.path()), "", ""},
        {"butGetModelGraphics", "Select File [.mmod]", answer(app.path()), answer(models / "hero.mmod"),
         answer(models)},
        {"butDecompressMPKG", "Select File [.mpkg]", answer(models), "/a.mpkg", root},  // a file in the root
        {"butConvertFSB", "Select File [.fsb]", root, "", root}};
    for (const Prompt& p : prompts) {
        if (!p.answer.isEmpty()) dialogs->fileAnswers.push_back(p.answer);
        click(p.button);
        EXPECT_EQ(dialogs->openCalls.back().title, p.title);
        EXPECT_EQ(dialogs->openCalls.back().initialFolder, p.startsIn) << p.button;
        const QSettings settings(QStringLiteral("VantrelRipper"), QStringLiteral("VantrelRipper"));
        EXPECT_EQ(settings.value(QStringLiteral("Preferences/OpenFilePath")).toString(), p.remembered) << p.button;
    }
    EXPECT_EQ(dialogs->openCalls[0].filter, ".mpak type files (*.mpak)");

    // The installed help texts, with CR LF line ends.
    for (auto [button, help] : {std::pair{"butFileExtractorQuestion", "extracting_files.txt"},
                                {"butFilePackerQuestion", "packing_files.txt"},
                                {"butSoundConversionQuestion", "converting_fsb.txt"}}) {
        click(button);
        const std::string text = readFile(app / help);
        EXPECT_GT(text.size(), 500u) << help;
        EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << help;
        EXPECT_EQ(window->logViewText(), text) << button;
    }

    for (const char* button : {"butOpenFolder", "butOpenNewMPAKsFolder", "butOpenSoundsFolder"}) click(button);
    EXPECT_EQ(dialogs->openedFolders,
              (std::vector<fs::path>{app / "ExtractedFiles", app / "NewMPAKs", app / "Sounds"}));
}

}  // namespace
