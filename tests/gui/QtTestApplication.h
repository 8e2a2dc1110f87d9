#pragma once
// One QApplication for the whole test program, on the offscreen platform,
// with the preferences kept in a folder of their own and the open dialog
// cancelled by default.
#include <QApplication>

#include <cstdlib>

#include "../common/TempFolder.h"
#include "ui/app/OpenAudioDialog.h"

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
        // The preferences file too, for this program and the copies it starts.
        ::setenv("QUORVEL_CONFIG_DIR", settingsFolder.Path().c_str(), 1);
        auto* created = new QApplication(argc, argv);
        // Nobody answers a real open dialog here (the program shows one at
        // start when nothing was opened): it is cancelled unless a test says
        // otherwise.
        COpenAudioDialog::SetResponder([] { return std::optional<SOpenChoice>(); });
        return created;
    }();
    return *application;
}

} // namespace quorvel::test
