#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

#include "app/Settings.h"

int main(int argc, char** argv) {
    // Set here, not in CTest: test discovery runs this binary at build time.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    setenv("TZ", "UTC", 1);
    UErrorCode err = U_ZERO_ERROR;
    uloc_setDefault("ja_JP", &err);
    // A throw-away settings location: never the user's, never the source tree.
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    SetIniFilePath((config.path() + "/brolteck-memo-test.ini").toStdString());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
