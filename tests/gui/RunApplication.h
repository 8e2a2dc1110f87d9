#pragma once
// Runs an application object inside a test: `during` is called once the
// loop runs; a watchdog quits after a few seconds so that a broken quit path
// fails the test instead of hanging it. Unsaved documents are closed
// without saving when nothing else was said (CModalDialog::SetAutoAnswer).
#include <gtest/gtest.h>

#include <QTimer>

#include <cstdlib>
#include <functional>

#include "../common/TempFolder.h"

#include "Quorvel.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {

// `preferencesFolder` is where the run keeps its preferences; by default a
// fresh folder that goes away afterwards.
inline int RunWith(gui::CQuorvel& application, std::function<void()> during, int watchdogMs = 5000,
                   const std::string& preferencesFolder = {})
{
    // Every run starts without a preferences file and leaves none behind.
    const TempFolder preferences;
    const std::string folder = preferencesFolder.empty() ? preferences.Path() : preferencesFolder;
    ::setenv("QUORVEL_CONFIG_DIR", folder.c_str(), 1);
    if (!CModalDialog::AutoAnswer())
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
    QTimer::singleShot(0, &application.Frame(), std::move(during));
    bool watchdogFired = false;
    QTimer::singleShot(watchdogMs, &application.Frame(), [&] {
        watchdogFired = true;
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
        application.Quit();
    });
    const int status = application.Run();
    EXPECT_FALSE(watchdogFired);
    return status;
}

// Runs `action` from the loop after `ms` milliseconds.
inline void Later(gui::CQuorvel& application, int ms, std::function<void()> action)
{
    QTimer::singleShot(ms, &application.Frame(), std::move(action));
}

} // namespace quorvel::test
