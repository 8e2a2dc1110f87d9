#pragma once
// The application's side of the preferences file: reading it at start into
// the settings, the sound card and the installed samplers, with the alerts
// that say what could not be used; and writing it back at quit.
class QWidget;

namespace quorvel {

class CApplicationServices;
class CFileSpec;

// Opens the stored sound card too (or the first that works).
void LoadPreferences(CApplicationServices& services, const CFileSpec& file, QWidget* alertParent);
// Alert 11 when the file cannot be written; the previous file then stays.
// Returns whether it was written.
bool StorePreferences(CApplicationServices& services, const CFileSpec& file, QWidget* alertParent);

} // namespace quorvel
