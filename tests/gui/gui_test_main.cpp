// Window tests run offscreen with one QApplication for the whole program, and with settings and
// standard paths redirected so that no test touches the user's own.

#include "app/ui/application_setup.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
