#pragma once
// A sample as a plain Sample Dump Standard sampler keeps it: every field of
// the dump header it came with, and its words as the wire carries them
// (unsigned, 0 the most negative value, `format` significant bits).
#include <cstdint>
#include <vector>

namespace quorvel {

struct SSDSSample {
    uint16_t number = 0;        // 14 bits
    uint8_t format = 16;        // significant bits per word, 8 to 28
    uint32_t periodNs = 0;      // 21 bits
    uint32_t loopStart = 0;     // 21 bits, in words
    uint32_t loopEnd = 0;       // 21 bits, in words
    uint8_t loopType = 0x7F;    // 00 forward, 01 alternating, 7F off (kept as received)
    std::vector<uint32_t> words; // the header's length is words.size()

    bool operator==(const SSDSSample&) const = default;
};

// Bytes one word takes in a data packet, and words in one packet's 120 bytes.
inline int SDSBytesPerWord(int format) { return (format + 6) / 7; }
inline int SDSWordsPerPacket(int format) { return 120 / SDSBytesPerWord(format); }
// Packets a dump of `length` words takes.
inline uint32_t SDSPacketCount(int format, uint32_t length)
{
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(format));
    return (length + perPacket - 1) / perPacket;
}

// The 21-byte dump header for `sample` on device `device`.
std::vector<uint8_t> SDSDumpHeader(const SSDSSample& sample, uint8_t device);
// Reads a 21-byte dump header into `sample` (its words left empty) and
// `length`; false when the message is not one.
bool ParseSDSDumpHeader(const std::vector<uint8_t>& message, SSDSSample& sample, uint32_t& length);

// Packs `count` words, each left-justified in 7-bit groups with the most
// significant group first and the bits below the format zero, into `dest`
// (120 bytes: the bytes after the last word are zero).
void PackSDSWords(int format, const uint32_t* words, int count, uint8_t* dest);
// The reverse: the format's bits of each of `count` words; bits below them
// are not part of the word and are dropped.
void UnpackSDSWords(int format, const uint8_t* src, int count, uint32_t* words);

// The exclusive-or of the bytes from the 7E to the last data byte, kept to
// 7 bits, of a 127-byte data packet.
uint8_t SDSPacketChecksum(const uint8_t* packet);

// What a receiver answers a data packet when `expected` (counted from 0, not
// wrapped) is the one it waits for: take it, or answer at once with ACK (the
// same packet again: its ACK went astray) or NAK (damaged or out of order).
enum class ESDSPacketCheck { kTake, kAck, kNak };
struct SSDSPacketCheck {
    ESDSPacketCheck verdict = ESDSPacketCheck::kNak;
    uint8_t number = 0; // the packet number to answer with
};
SSDSPacketCheck CheckSDSPacket(const std::vector<uint8_t>& packet, uint32_t expected);

} // namespace quorvel
