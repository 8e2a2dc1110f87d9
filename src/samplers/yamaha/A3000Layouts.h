#pragma once
// The A3000 payload layouts in one place: the wave parameter block that
// opens a wave-data dump (and is the whole sample-parameter dump), the
// sample bank with its member records, and the naming rules. Where each
// field comes from is written down in docs/YAMAHA-LAYOUTS.md.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "samplers/SampleInfo.h"

namespace quorvel::a3000 {

constexpr size_t kNameLength = 16;
constexpr size_t kWaveParameterBytes = 73;
constexpr size_t kMemberBytes = 21;
constexpr size_t kBankHeaderBytes = 32;

// Object types of the object list.
constexpr uint8_t kSampleObject = 16;
constexpr uint8_t kSampleBankObject = 17;

constexpr const char* kUnnamedSample = "Unnamed Sample";
constexpr const char* kUnnamedBank = "Unnamed SmpBank";

// Which side of a stereo sample an object holds.
enum class EHalf : uint8_t { Mono = 0, Left = 1, Right = 2 };

// A name as the sampler keeps it: printable 7-bit characters, at most 16.
std::string SamplerName(std::string_view name);
// The 16 name bytes of a dump, blank-padded.
std::string PaddedName(std::string_view name);
// The name in 16 dump bytes, without trailing blanks and NULs.
std::string NameFromBytes(const uint8_t* bytes);
// A stereo half's name: the suffix appended; a full-length name first
// loses its second character, so that the distinguishing end survives.
std::string HalfName(std::string_view name, EHalf half);

struct SWaveParameters {
    std::string name;
    uint32_t length = 0; // words
    uint16_t rate = 44100;
    uint8_t rootKey = SampleInfo::kDefaultRootKey;
    int16_t fineTuning = 0;
    uint8_t loopType = 0; // a SampleLoopType value
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    uint32_t playStart = 0;
    uint32_t playEnd = 0;
    uint8_t bits = 16;
    EHalf half = EHalf::Mono;
};

std::vector<uint8_t> EncodeWaveParameters(const SWaveParameters& parameters);
// XA3000ReceivedInvalidSysex when fewer than 73 bytes are given.
SWaveParameters DecodeWaveParameters(const std::vector<uint8_t>& payload);
SWaveParameters WaveParametersFromInfo(const SampleInfo& info, EHalf half);
SampleInfo InfoFromWaveParameters(const SWaveParameters& parameters);

// What every A3000 object dump begins with: its name and the settings
// that are not per member.
class CA3000CommonParameters {
public:
    std::string name;
    uint8_t level = 100;
    int8_t pan = 0;
    uint8_t output = 0;
    uint8_t receiveChannel = 16; // the basic receive channel
};

struct SBankMember {
    std::string name;
    uint8_t keyLow = 0;
    uint8_t keyHigh = 127;
    uint8_t rootKey = SampleInfo::kDefaultRootKey;
    EHalf half = EHalf::Mono;
};

class CA3000SampleBank : public CA3000CommonParameters {
public:
    std::vector<SBankMember> members;

    std::vector<uint8_t> Encode() const;
    // XA3000ReceivedInvalidSysex for a payload shorter than its header or
    // than the members it counts.
    static CA3000SampleBank Decode(const std::vector<uint8_t>& payload);
};

} // namespace quorvel::a3000
