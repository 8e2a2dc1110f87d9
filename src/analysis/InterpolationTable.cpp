#include "analysis/InterpolationTable.h"

#include <cmath>
#include <numbers>

namespace quorvel {

namespace {

// Rows that are fixed exactly; everything between follows the kernel below,
// bent smoothly onto these rows.
struct PinnedRow {
    int row;
    std::array<int16_t, kInterpolationTaps> taps;
};
constexpr std::array<PinnedRow, 6> kPinned{{
    {0, {17, -94, 32588, 0, 0, 0}},
    {1, {26, -141, 32587, 47, -8, 0}},
    {128, {605, -3725, 28771, 8336, -1626, 150}},
    {255, {458, -3507, 19305, 19305, -3507, 458}},
    {384, {146, -1595, 8176, 28883, -3703, 603}},
    {511, {0, 8, -47, 32590, -47, 8}},
}};

constexpr double kRowSum = 32511.0;
constexpr double kKaiserBeta = 5.6; // side lobes low enough for drum material
constexpr double kHalfWidth = 3.0;  // six taps

double BesselI0(double x)
{
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k < 40; ++k) {
        const double factor = x / (2.0 * k);
        term *= factor * factor;
        sum += term;
    }
    return sum;
}

double Sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

// Kaiser-windowed sinc for fractional position t (0 < t <= 1) between taps
// 2 and 3, scaled to the row sum.
std::array<double, kInterpolationTaps> KernelRow(double t)
{
    std::array<double, kInterpolationTaps> w{};
    double sum = 0.0;
    const double norm = BesselI0(kKaiserBeta);
    for (int k = 0; k < kInterpolationTaps; ++k) {
        const double d = k - 2 - t;
        const double u = d / kHalfWidth;
        const double window = std::abs(u) < 1.0 ? BesselI0(kKaiserBeta * std::sqrt(1.0 - u * u)) / norm : 0.0;
        w[static_cast<size_t>(k)] = Sinc(d) * window;
        sum += w[static_cast<size_t>(k)];
    }
    for (double& x : w)
        x *= kRowSum / sum;
    return w;
}

// Row r is centred on the end of its phase span, which makes row 255 the
// symmetric half-way row.
double PhaseOfRow(int r) { return (r + 1) / double(kInterpolationRows); }

InterpolationTable BuildTable()
{
    // Difference between each pinned row and the kernel, spread linearly over
    // the rows between pins so the table stays smooth.
    std::array<std::array<double, kInterpolationTaps>, kPinned.size()> residual{};
    for (size_t p = 0; p < kPinned.size(); ++p) {
        const auto kernel = KernelRow(PhaseOfRow(kPinned[p].row));
        for (size_t k = 0; k < kInterpolationTaps; ++k)
            residual[p][k] = kPinned[p].taps[k] - kernel[k];
    }

    InterpolationTable table{};
    size_t segment = 0;
    for (int r = 0; r < kInterpolationRows; ++r) {
        while (segment + 2 < kPinned.size() && r > kPinned[segment + 1].row)
            ++segment;
        const PinnedRow& lo = kPinned[segment];
        const PinnedRow& hi = kPinned[segment + 1];
        const double a = double(r - lo.row) / double(hi.row - lo.row);
        const auto kernel = KernelRow(PhaseOfRow(r));
        for (size_t k = 0; k < kInterpolationTaps; ++k) {
            const double correction = residual[segment][k] * (1.0 - a) + residual[segment + 1][k] * a;
            table[static_cast<size_t>(r)][k] = static_cast<int16_t>(std::lround(kernel[k] + correction));
        }
    }
    return table;
}

} // namespace

const InterpolationTable& ResamplerTable()
{
    static const InterpolationTable table = BuildTable();
    return table;
}

} // namespace quorvel
