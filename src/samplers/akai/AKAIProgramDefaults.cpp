#include "samplers/akai/AKAIProgramDefaults.h"

namespace quorvel::akai {

namespace {

// Program header bytes the defaults touch.
constexpr int32_t kPolyphony = 17;   // voices minus 1
constexpr int32_t kPlayLow = 19;     // lowest key that plays
constexpr int32_t kPlayHigh = 20;    // highest key that plays
constexpr int32_t kLoudness = 25;

// Keygroup bytes the defaults touch.
constexpr int32_t kFilter = 7;       // 99: open
constexpr int32_t kSustain = 11;     // amplitude envelope sustain
constexpr int32_t kRelease = 12;     // amplitude envelope release
constexpr int32_t kZoneHighVelocity = 13; // within a zone, after its name and low velocity

} // namespace

std::unique_ptr<CABCAKAIProgramHeader> DefaultProgramHeader(EGeneration generation)
{
    std::unique_ptr<CABCAKAIProgramHeader> header = MakeProgramHeader(generation);
    std::vector<uint8_t>& bytes = header->Bytes();
    bytes[kPolyphony] = 15;
    bytes[kPlayLow] = 0;
    bytes[kPlayHigh] = 127;
    bytes[kLoudness] = 80;
    return header;
}

std::unique_ptr<CABCAKAIKeyGroup> DefaultKeyGroup(EGeneration generation)
{
    std::unique_ptr<CABCAKAIKeyGroup> group = MakeKeyGroup(generation);
    std::vector<uint8_t>& bytes = group->Bytes();
    bytes[kFilter] = 99;
    bytes[kSustain] = 99;
    bytes[kRelease] = 30;
    for (int32_t zone = 0; zone < kVelocityZones; ++zone) {
        group->SetZoneSample(zone, "");
        bytes[static_cast<size_t>(CABCAKAIKeyGroup::kFirstZoneOffset + zone * CABCAKAIKeyGroup::kZoneBytes +
                                  kZoneHighVelocity)] = 127;
    }
    return group;
}

} // namespace quorvel::akai
