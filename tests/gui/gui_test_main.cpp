// Window tests run offscreen with one QApplication for the whole program, and with settings and
// standard paths redirected so that no test touches the user's own. A test that asks for the X
// platform (QT_QPA_PLATFORM=xcb) gets it when a display is there and runs offscreen otherwise,
// where its X-only cases skip.

#include "app/ui/application_setup.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const bool onX = qgetenv("QT_QPA_PLATFORM") == "xcb" && !qEnvironmentVariableIsEmpty("DISPLAY");
    qputenv("QT_QPA_PLATFORM", onX ? "xcb" : "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", settingsDir.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", settingsDir.path().toLocal8Bit());
    pote::setUpApplication(app);
    return RUN_ALL_TESTS();
}
