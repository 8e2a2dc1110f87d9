#pragma once
// One QApplication for the whole test program, on the offscreen platform,
// with the settings kept in a folder of their own.
#include <QApplication>
#include <QSettings>

#include <cstdlib>

#include "../common/TempFolder.h"

namespace quorvel::test {

inline QApplication& TestApplication()
{
    static const TempFolder settingsFolder;
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down among the other statics at exit crashes.
    static QApplication* const application = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* created = new QApplication(argc, argv);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settingsFolder.Path()));
        return created;
    }();
    return *application;
}

// The settings file the program reads and writes.
inline std::string SettingsFile()
{
    TestApplication();
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Hollmark", "Quorvel")
        .fileName()
        .toStdString();
}

} // namespace quorvel::test
