#pragma once
// The colours of the waveform images: a 256-entry palette built from the
// waveform colour and the brightness preference, and the locator-line colour.
#include <array>
#include <cstdint>

#include "ui/ApplicationPreferences.h"

namespace quorvel {

// 0xAARRGGBB, as Qt's colour tables hold them.
using PaletteEntry = uint32_t;
using WaveformPalette = std::array<PaletteEntry, 256>;

// The body (132) is the waveform colour at the given brightness; the ramp
// lightens toward 245 and darkens toward 19. Index 0 is the background, 1 the
// line colour, 2 the locator-line colour.
WaveformPalette BuildWaveformPalette(const SRGBColor& waveform, uint8_t brightnessPercent);

// The complement of the waveform colour, each component lowered by the
// brightness share of full scale and held at 0.
SRGBColor LocatorLineColor(const SRGBColor& waveform, uint8_t brightnessPercent);

// The colours the views share outside the palette.
constexpr PaletteEntry kViewBackground = 0xFFEEF0F3;
constexpr PaletteEntry kViewLineColor = 0xFF4A5260; // slice lines, ruler ticks and labels
constexpr PaletteEntry kRulerBackground = 0xFFDDE1E6;
constexpr PaletteEntry kStripBackground = 0xFFE6E9ED;

PaletteEntry ToPaletteEntry(const SRGBColor& color);

} // namespace quorvel
