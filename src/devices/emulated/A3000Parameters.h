#pragma once
// The parameter blocks the emulated A3000 makes itself, for samples that
// came without them (over SCSI, or as wave data alone), and the few fields
// it reads back from a wave parameter block. Yamaha's 64-byte common block
// opens both: object type, a reserved byte, the 16-character name, a
// reserved byte and the word count (32 bits, high byte first). After it:
//
// wave block (73 bytes): 64-67 sampling rate in Hz, 68 original key, 69 fine
//   tune in cents (signed), 70 channel (0 mono, 1 left, 2 right), 71-72 0.
// sample parameters (128 bytes): 64-67 rate, 68 key, 69 tune, 70 loop mode
//   (0 off, 1 forward, 2 forward and backward), 71 0, 72-75 loop start,
//   76-79 loop end (words), the rest 0.
//
// Blocks that came with a dump are kept and given back unchanged; these
// layouts matter only where the emulator itself fills or reads a block.
#include <cstdint>

#include "devices/emulated/A3000Dump.h"

namespace quorvel {

constexpr size_t kA3000WaveBlockBytes = 73;
constexpr size_t kA3000SampleParameterBytes = 128;
constexpr uint8_t kA3000WaveObject = 2;

struct SA3000SoundFields {
    uint32_t words = 0;
    uint32_t rate = 44100;
    uint8_t key = 60;
    int8_t tune = 0;
    uint8_t loopMode = 0;
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
};

A3000Bytes A3000WaveBlock(const A3000Name& name, const SA3000SoundFields& fields);
A3000Bytes A3000SampleParameters(const A3000Name& name, const SA3000SoundFields& fields);
// Rate, key and tune of a wave block of the layout above; a block too short
// for them, or with no rate, gives 44100 Hz at key 60.
SA3000SoundFields A3000FieldsOfWaveBlock(const A3000Bytes& block);

} // namespace quorvel
