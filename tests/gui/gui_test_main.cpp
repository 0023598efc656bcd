// GUI tests run the real window offscreen, with settings kept in a throw-away folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "fixtures/temp_dir.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
