#include "ui/views/WaveformPalette.h"

#include <algorithm>
#include <cmath>

#include "ui/views/WaveformRaster.h"

namespace quorvel {

namespace {

constexpr double kMaxLighten = 0.55;
constexpr double kMaxDarken = 0.6;

uint32_t Channel(double value) { return static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L)); }

PaletteEntry Rgb(double r, double g, double b) { return 0xFF000000u | Channel(r) << 16 | Channel(g) << 8 | Channel(b); }

} // namespace

PaletteEntry ToPaletteEntry(const SRGBColor& color)
{
    return Rgb(color.red / 257.0, color.green / 257.0, color.blue / 257.0);
}

WaveformPalette BuildWaveformPalette(const SRGBColor& waveform, uint8_t brightnessPercent)
{
    // 50 % shows the colour as chosen; the ends halve it or raise it by half.
    const double gain = 0.5 + std::min<int>(brightnessPercent, 100) / 100.0;
    const double red = std::min(255.0, waveform.red / 257.0 * gain);
    const double green = std::min(255.0, waveform.green / 257.0 * gain);
    const double blue = std::min(255.0, waveform.blue / 257.0 * gain);

    WaveformPalette palette;
    palette.fill(kViewBackground);
    constexpr int kRampStart = 16;
    for (int i = kRampStart; i < 256; ++i) {
        // -1 at the dark end of the shading ramp, +1 at the light end.
        const double t = double(i - palette_index::kBody) / double(palette_index::kShadeTop - palette_index::kBody);
        if (t >= 0) {
            const double mix = std::min(1.0, t) * kMaxLighten;
            palette[static_cast<size_t>(i)] =
                Rgb(red + (255 - red) * mix, green + (255 - green) * mix, blue + (255 - blue) * mix);
        } else {
            const double keep = 1.0 - std::min(1.0, -t) * kMaxDarken;
            palette[static_cast<size_t>(i)] = Rgb(red * keep, green * keep, blue * keep);
        }
    }
    palette[palette_index::kBackground] = kViewBackground;
    palette[palette_index::kLine] = kViewLineColor;
    palette[palette_index::kLocatorLine] = ToPaletteEntry(LocatorLineColor(waveform, brightnessPercent));
    return palette;
}

SRGBColor LocatorLineColor(const SRGBColor& waveform, uint8_t brightnessPercent)
{
    const auto lowered = [brightnessPercent](uint16_t component) {
        const int32_t reduction = static_cast<int32_t>(brightnessPercent * 0.01 * 65535);
        return static_cast<uint16_t>(std::clamp<int32_t>(65535 - component - reduction, 0, 65535));
    };
    return {lowered(waveform.red), lowered(waveform.green), lowered(waveform.blue)};
}

} // namespace quorvel
