// The real MainWindow in a fresh application folder that holds copies of the real helper
// programs and help texts, with its dialogs answered from a script.
#pragma once

#include <gtest/gtest.h>

#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <deque>
#include <memory>

#include "common/files.h"
#include "fixtures/platform.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "gui/main_window.h"

struct ScriptedDialogs : Dialogs {
    struct OpenCall {
        QString title, initialFolder, filter;
    };
    std::deque<QString> fileAnswers, folderAnswers;  // taken in order; none left = cancelled
    std::vector<OpenCall> openCalls;
    std::vector<RecordedMessage> messages;
    std::vector<std::filesystem::path> openedFolders;
    QString folderStartedIn;

    std::optional<QString> openFile(QWidget*, const QString& title, const QString& initialFolder,
                                    const QString& filter) override {
        openCalls.push_back({title, initialFolder, filter});
        return take(fileAnswers);
    }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString& startIn) override {
        return folderStartedIn = startIn, take(folderAnswers);
    }
    void message(QWidget*, const std::string& text, MessageIcon icon, const std::string& title) override {
        messages.push_back({text, icon, title});
    }
    bool question(QWidget*, const std::string&, const std::string&) override { return false; }  // No
    bool openFolder(const std::filesystem::path& folder) override { return openedFolders.push_back(folder), true; }

private:
    static std::optional<QString> take(std::deque<QString>& script) {
        if (script.empty()) return std::nullopt;
        QString answer = script.front();
        script.pop_front();
        return answer;
    }
};

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(QStringLiteral("VantrelRipper"), QStringLiteral("VantrelRipper")).clear();
        for (const std::string& name :
             {programFile("zlibc"), programFile("fsbext"), std::string("extracting_files.txt"),
              std::string("packing_files.txt"), std::string("converting_fsb.txt")})
            fs::copy_file(fs::path(VR_APP_DIR) / name, app / name, fs::copy_options::overwrite_existing);
    }

    // Creates, starts and shows the window; call once per test, after preparing `app`.
    MainWindow& start() {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<MainWindow>(app.path(), std::move(scripted));
        window->setExitHandler([this] { exitRequested = true; });
        EXPECT_TRUE(window->startUp());
        window->show();
        QCoreApplication::processEvents();
        return *window;
    }

    template <typename T = QWidget>
    T* control(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void click(const char* buttonName) { QTest::mouseClick(control<QPushButton>(buttonName), Qt::LeftButton); }

    QString answer(const fs::path& path) { return QString::fromStdString(pathText(path)); }

    // "Open Game .MPAK File" answered with `archive`.
    void openArchive(const fs::path& archive) {
        dialogs->fileAnswers.push_back(answer(archive));
        click("butSelectMPAKfile");
        QCoreApplication::processEvents();  // Qt lays the list out again after a change
    }

    // The texts List1 shows.
    QStringList shownLines() {
        QAbstractItemModel* lines = control<QListView>("List1")->model();
        QStringList texts;
        for (int row = 0; row < lines->rowCount(); ++row) texts << lines->index(row, 0).data().toString();
        return texts;
    }

    TempDir app;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<MainWindow> window;
    bool exitRequested = false;
};
