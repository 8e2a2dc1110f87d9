#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/WaveSample.h"
#include "ui/views/TimeWindow.h"
#include "ui/views/WaveformPalette.h"
#include "ui/views/WaveformRaster.h"

namespace quorvel {
namespace {

// A one-column raster of `height` rows, read back top to bottom.
struct SColumn {
    explicit SColumn(int32_t height) : pixels(static_cast<size_t>(height), 0), target{pixels.data(), 1, 1, height} {}
    std::vector<int> Rows() const { return {pixels.begin(), pixels.end()}; }
    std::vector<uint8_t> pixels;
    SRasterTarget target;
};

std::vector<int> Draw(WaveformStyle style, int t, int b, int pt, int pb, int height = 11)
{
    SColumn column(height);
    DrawStyledColumn(column.target, 0, t, b, pt, pb, style);
    return column.Rows();
}

TEST(WaveformRaster, OutlineStylesDrawTwoRuns)
{
    EXPECT_EQ(Draw(WaveformStyle::Outline, 3, 7, 5, 9), (std::vector<int>{0, 0, 0, 132, 132, 132, 0, 132, 132, 132, 0}));
    // Top run light (the top did not move down), bottom run dark (bottom rose).
    EXPECT_EQ(Draw(WaveformStyle::ShadedOutline, 3, 7, 5, 9),
              (std::vector<int>{0, 0, 0, 245, 245, 245, 0, 19, 19, 19, 0}));
    EXPECT_EQ(Draw(WaveformStyle::ShadedOutline, 6, 10, 2, 8),
              (std::vector<int>{0, 0, 19, 19, 19, 19, 19, 0, 245, 245, 245}));
}

TEST(WaveformRaster, PlainJoinsTheNeighbouringColumn)
{
    // Overlapping the previous column: from the top down to the bottom.
    EXPECT_EQ(Draw(WaveformStyle::Plain, 3, 7, 5, 9), (std::vector<int>{0, 0, 0, 132, 132, 132, 132, 132, 0, 0, 0}));
    // Entirely above it: down to the previous top.
    EXPECT_EQ(Draw(WaveformStyle::Plain, 1, 2, 5, 8), (std::vector<int>{0, 132, 132, 132, 132, 132, 0, 0, 0, 0, 0}));
    // Entirely below it: from the previous bottom.
    EXPECT_EQ(Draw(WaveformStyle::Plain, 6, 9, 1, 4), (std::vector<int>{0, 0, 0, 0, 132, 132, 132, 132, 132, 132, 0}));
}

TEST(WaveformRaster, ShadedRampsFromLightToDark)
{
    EXPECT_EQ(Draw(WaveformStyle::Shaded, 2, 6, 2, 6), (std::vector<int>{0, 0, 245, 188, 132, 75, 19, 0, 0, 0, 0}));
    EXPECT_EQ(Draw(WaveformStyle::Shaded, 4, 4, 4, 4), (std::vector<int>{0, 0, 0, 0, 132, 0, 0, 0, 0, 0, 0}));
    // Rows outside the raster are clipped, the ramp keeps its place.
    EXPECT_EQ(Draw(WaveformStyle::Shaded, -2, 2, -2, 2, 3), (std::vector<int>{132, 75, 19}));
}

TEST(WaveformRaster, ThreeDDrawsEdgesAndBody)
{
    EXPECT_EQ(Draw(WaveformStyle::ThreeD, 2, 8, 4, 6), (std::vector<int>{0, 0, 48, 48, 48, 132, 48, 48, 48, 0, 0}));
    EXPECT_EQ(Draw(WaveformStyle::ThreeD, 4, 6, 2, 8), (std::vector<int>{0, 0, 216, 216, 216, 132, 216, 216, 216, 0, 0}));
    // No room for a body: edges only.
    EXPECT_EQ(Draw(WaveformStyle::ThreeD, 4, 5, 4, 5), (std::vector<int>{0, 0, 0, 0, 216, 48, 0, 0, 0, 0, 0}));
}

// A full-scale sound: the samples reach row 1 of a 200-row raster, the 8-bit
// summary only row 2, which tells the two sources apart.
TEST(WaveformRaster, ReadsTheSummaryFrom32FramesPerPixel)
{
    WAVE_SAMPLE sound("full", 44100, 2048);
    for (uint32_t i = 0; i < 2048; ++i)
        sound.Store().WriteSample(i, 32767);
    std::vector<uint8_t> pixels(64 * 200, 0);
    const SRasterTarget target{pixels.data(), 64, 64, 200};
    auto topRowOfFirstColumn = [&](int32_t framesPerPixel) {
        FillRaster(target, 0);
        TimeWindow window;
        window.totalEnd = 2048;
        window.visibleEnd = framesPerPixel * 64;
        window.rightPixel = 64;
        DrawWaveform(target, window, sound, WaveformStyle::Plain);
        for (int y = 0; y < 200; ++y)
            if (pixels[static_cast<size_t>(y * 64)] != 0)
                return y;
        return -1;
    };
    EXPECT_EQ(topRowOfFirstColumn(31), 1);
    EXPECT_EQ(sound.OverviewCache(), nullptr); // not needed yet
    EXPECT_EQ(topRowOfFirstColumn(32), 2);
    EXPECT_NE(sound.OverviewCache(), nullptr);
    EXPECT_EQ(topRowOfFirstColumn(1), 1);
}

TEST(WaveformRaster, DrawsOnlyTheSoundsColumns)
{
    WAVE_SAMPLE sound("short", 44100, 10);
    for (uint32_t i = 0; i < 10; ++i)
        sound.Store().WriteSample(i, 20000);
    std::vector<uint8_t> pixels(20 * 20, 0);
    const SRasterTarget target{pixels.data(), 20, 20, 20};
    TimeWindow window;
    window.totalEnd = 10;
    window.visibleEnd = 20;
    window.rightPixel = 20;
    DrawWaveform(target, window, sound, WaveformStyle::Plain);
    int drawnColumns = 0;
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 20; ++y)
            if (pixels[static_cast<size_t>(y * 20 + x)] != 0) {
                ++drawnColumns;
                break;
            }
    EXPECT_EQ(drawnColumns, 10);
}

TEST(WaveformPalette, LocatorLineIsTheDimmedComplement)
{
    EXPECT_EQ(LocatorLineColor({35453, 32114, 65535}, 50), (SRGBColor{0, 654, 0}));
    EXPECT_EQ(LocatorLineColor({0, 65535, 1000}, 0), (SRGBColor{65535, 0, 64535}));
    const WaveformPalette palette = BuildWaveformPalette({0, 0, 65535}, 50);
    EXPECT_EQ(palette[palette_index::kBody], 0xFF0000FFu); // the colour itself at 50 %
    EXPECT_EQ(palette[palette_index::kLocatorLine], ToPaletteEntry(LocatorLineColor({0, 0, 65535}, 50)));
    // The ramp runs from dark to light.
    EXPECT_LT(palette[palette_index::kShadeBottom] & 0xFF, palette[palette_index::kBody] & 0xFF);
    EXPECT_GT(palette[palette_index::kShadeTop] & 0xFF00, palette[palette_index::kBody] & 0xFF00);
}

} // namespace
} // namespace quorvel
