#pragma once
// What a document window needs from the application: the player, whether
// sound output is available, the shared settings, the file dialogs and the
// lengthy-operation services. The application implements it; tests fake it.
#include <cstdint>
#include <optional>
#include <string>

#include "framework/LengthyOperation.h"

class QWidget;

namespace quorvel {

class CSoundDocument;
class CWavePlayer;
struct SSettings;

struct SSaveFileRequest {
    std::string title;       // "Save Quorvel! Document"
    std::string typeName;    // "Quorvel! Document File"
    std::string extension;   // ".qvl"
    std::string defaultName; // proposed file name, without folder
    std::string folder;      // where the dialog starts; empty for the last used one
};

// The export-sound save dialog's answer: base path, format and rate.
struct SSoundExportChoice {
    std::string path;     // chosen file; its folder and base name make the slice names
    bool wave = false;    // "Wave File", else "Audio IFF"
    int32_t sampleRate = 44100;
    bool flac = false;    // "FLAC File" (then `wave` is false)
};

class CFileDialogs {
public:
    virtual ~CFileDialogs() = default;
    // The full path chosen, or nothing when cancelled.
    virtual std::optional<std::string> AskSaveFile(const SSaveFileRequest& request) = 0;
    // "Export Sound": file types "Audio IFF" and "Wave File" and the
    // "Sample Rate:" list with `soundRate` preselected.
    virtual std::optional<SSoundExportChoice> AskExportSound(const std::string& defaultName, int32_t soundRate,
                                                             const std::string& folder) = 0;
};

class CWindowServices {
public:
    virtual ~CWindowServices() = default;
    virtual CWavePlayer& Player() = 0;
    // Sound output can play right now (the transport buttons follow it).
    virtual bool SoundAvailable() = 0;
    virtual SSettings& Settings() = 0;
    virtual CFileDialogs& FileDialogs() = 0;
    virtual SLengthyOperationServices LengthyOperations() = 0;
    // A preference the window toggles itself (the F key) changed.
    virtual void PreferencesChanged() {}
    // Whether the current transmit target can take a transmission now, and
    // the transmission itself (the window has ensured the loop's length).
    virtual bool TransmitAvailable() { return false; }
    virtual void Transmit(CSoundDocument& document, QWidget* parent)
    {
        (void)document, (void)parent;
    }
    // The File menu's instrument exports: the software destination of that
    // type id, whatever the current transmit target is.
    virtual void ExportInstrument(uint32_t modelTypeId, CSoundDocument& document, QWidget* parent)
    {
        (void)modelTypeId, (void)document, (void)parent;
    }
};

} // namespace quorvel
