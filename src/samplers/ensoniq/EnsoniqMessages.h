#pragma once
// The samplers' message frame: F0 0F, the product byte, the sampler's MIDI
// channel, then a command byte and its body, F7. Wave data and parameter
// blocks carry no command byte: they follow the request or announcement
// that names them.
#include <cstdint>
#include <vector>

#include "devices/midi/RawSysex.h"

namespace quorvel::ensoniq {

constexpr uint8_t kManufacturer = 0x0F;
constexpr uint8_t kProduct = 0x03;
constexpr int32_t kHeaderLength = 4; // F0, manufacturer, product, channel

constexpr int32_t kResponseLength = 8;
constexpr int32_t kCancelLength = 6;
constexpr int32_t kAddressLength = 12;
constexpr int32_t kRangeLength = 20;
constexpr int32_t kValueLength = 8;

enum ECommand : uint8_t {
    kResponse = 1,
    kCancel = 2,
    kGetInstrument = 3,
    kGetLayer = 4,
    kGetWave = 5,
    kGetWaveData = 6,
    kPutInstrument = 12,
    kPutLayer = 13,
    kPutWave = 14,
    kPutWaveData = 15,
    kCreateInstrument = 21,
    kCreateLayer = 22,
    kCreateWave = 25,
    kDeleteWave = 26,
    kDeleteInstrument = 28,
    kValue = 0x40,
};

// Response statuses.
enum EStatus : uint32_t {
    kStatusDone = 0,
    kStatusWait = 1,
    kStatusInvalidParameter = 3,
    kStatusNoInstrument = 5,
    kStatusNoLayer = 6,
    kStatusNoWave = 8,
    kStatusWaveInUse = 9,
    kStatusOutOfMemory = 12,
    kStatusNoMoreWaves = 15,
    kStatusNotAcknowledged = 23,
};

struct SAddress {
    uint32_t instrument = 0;
    uint32_t layer = 0;
    uint32_t wave = 0;
    bool operator==(const SAddress&) const = default;
};

// The two header bytes the interface keeps.
struct SHeader {
    uint8_t product = kProduct;
    uint8_t channel = 0;
};

CRawSysex ResponseMessage(const SHeader& header, uint32_t status);
CRawSysex CancelMessage(const SHeader& header);
CRawSysex AddressMessage(const SHeader& header, uint8_t command, const SAddress& address);
CRawSysex RangeMessage(const SHeader& header, uint8_t command, const SAddress& address, uint32_t first,
                       uint32_t second);
CRawSysex ValueMessage(const SHeader& header, uint32_t value);
// 3 bytes a word.
CRawSysex WaveDataMessage(const SHeader& header, const int16_t* words, uint32_t count);
// A parameter block's bytes, framed.
CRawSysex BlockMessage(const SHeader& header, const std::vector<uint8_t>& block);

// The length of a wave data message of `words` words.
constexpr int32_t WaveDataLength(uint32_t words) { return static_cast<int32_t>(3 * words + 5); }

// F0 0F and this header's product and channel.
bool IsFor(const SHeader& header, const CRawSysex& message);
// The address of an address message (bytes 5 to 10).
SAddress AddressOf(const CRawSysex& message);
// The body between the header and F7.
std::vector<uint8_t> BodyOf(const CRawSysex& message);

} // namespace quorvel::ensoniq
