#pragma once
// The frame window's placement and its stay-on-top flag, kept between runs in
// a settings file in the preferences folder, so that whatever moves that
// folder (QUORVEL_CONFIG_DIR) moves these too.
#include <QString>

namespace quorvel {
class CFrameWindow;
}

namespace quorvel::gui {

inline constexpr char kSettingsFileName[] = "Quorvel.conf";
inline constexpr char kPlacementKey[] = "MainFramePlacement";
inline constexpr char kStayOnTopKey[] = "StayOnTop";

// The settings file, read and written in QSettings' INI format.
QString SettingsFilePath();

// Applies what was stored, before the frame is shown. A missing or unreadable
// value leaves the window as it is; a minimised window is never restored as
// minimised (the placement keeps only normal and maximised states).
void RestoreFramePlacement(CFrameWindow& frame);

// Stores the frame's placement and flag, at quit.
void SaveFramePlacement(const CFrameWindow& frame);

} // namespace quorvel::gui
