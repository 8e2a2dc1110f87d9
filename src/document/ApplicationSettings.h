#pragma once
// The application settings the windows and views read while they work. The
// application owns one set; the preferences file fills it at start and
// saves it at quit.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "document/DocumentSettings.h"

namespace quorvel {

enum class WaveformLook : int16_t { Plain = 0, ThreeD = 1, Shaded = 2 };

struct SRGBColor {
    uint16_t red = 0;
    uint16_t green = 0;
    uint16_t blue = 0;
    bool operator==(const SRGBColor&) const = default;
};

struct SApplicationPreferences {
    SRGBColor waveformColor{35453, 32114, 65535};
    bool scrollDuringPlayback = true;
    bool alwaysMoveLeftLocator = false;
    uint16_t transmitTarget = 0;
    WaveformLook waveformLook = WaveformLook::Shaded;
    uint8_t keptSetting = 1;
    bool barsToOneInNewDocuments = false;
    uint8_t brightness = 50; // percent
    bool showOpenDialogOnStartup = true;
};

// Most recent first; a file opened again moves to the front.
class CRecentDocuments {
public:
    static constexpr size_t kMaxKept = 4;

    void Add(const std::string& path)
    {
        for (auto it = paths_.begin(); it != paths_.end(); ++it)
            if (*it == path) {
                paths_.erase(it);
                break;
            }
        paths_.push_front(path);
        while (paths_.size() > kMaxKept)
            paths_.pop_back();
    }
    void RemoveAt(size_t index)
    {
        if (index < paths_.size())
            paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    const std::deque<std::string>& Paths() const { return paths_; }

private:
    std::deque<std::string> paths_;
};

// Everything a document window reads or writes back in the application's
// settings.
struct SSettings {
    SApplicationPreferences application;
    DefaultDocumentOptions documentDefaults;
    CRecentDocuments recentDocuments;
    // The colour picker's custom colours.
    std::vector<SRGBColor> customColors = std::vector<SRGBColor>(16, SRGBColor{65535, 65535, 65535});
};

} // namespace quorvel
