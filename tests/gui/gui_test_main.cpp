// GUI tests run the real window offscreen, with settings kept in a throw-away folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "common/files.h"
#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef _WIN32
    // The offscreen platform finds fonts only in a folder it is given: the system's fonts.
    if (const char* windows = std::getenv("WINDIR"))
        setenv("QT_QPA_FONTDIR", (std::string(windows) + "\\Fonts").c_str(), 0);
#endif
    TempDir config;
    setenv("XDG_CONFIG_HOME", pathText(config.path()).c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
