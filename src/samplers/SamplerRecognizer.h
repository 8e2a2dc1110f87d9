#pragma once
// Telling samplers apart during a search. Each brand implements a recognizer:
// it looks at one SCSI target's inquiry answer, or at one complete
// system-exclusive message that came back from a MIDI input, and says which
// models of the table answered. The search asks the recognizers in a fixed
// order: on SCSI Kurzweil, Yamaha, E-mu, AKAI; on MIDI the replies to the
// Roland request, the AKAI status request and the identity request.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fileformats/PreferenceObjects.h"

namespace quorvel {

class CRawSysex;

// What a search found: a model of the table and where it answers.
struct SFoundSampler {
    uint32_t typeId = 0;
    SDeviceName midiIn;
    SDeviceName midiOut;
    uint8_t sysexId = 0; // the device number it answered for
    SDeviceName scsiBus;
    uint8_t scsiId = 0;
    bool foundViaMIDI = false;
    bool foundViaSCSI = false;
    bool versionKnown = false;
    CVersion osVersion;
};

constexpr size_t kInquiryAnswerLength = 36;

// One target that answered INQUIRY.
struct SSCSITargetSeen {
    SDeviceName bus;
    uint8_t id = 0;
    std::array<uint8_t, kInquiryAnswerLength> inquiry{};
};

// One complete message taken from an input after the requests went out on
// `output`.
struct SMIDIMessageSeen {
    SDeviceName output;
    SDeviceName input;
    const CRawSysex& message;
};

class CABCSamplerRecognizer {
public:
    virtual ~CABCSamplerRecognizer() = default;
    // Nothing, unless the brand knows the answer.
    virtual std::vector<SFoundSampler> RecognizeSCSITarget(const SSCSITargetSeen&) const { return {}; }
    virtual std::vector<SFoundSampler> RecognizeMIDIMessage(const SMIDIMessageSeen&) const { return {}; }
};

// The recognizers of the brands built so far, in the order the search asks
// them.
const std::vector<std::unique_ptr<CABCSamplerRecognizer>>& SCSIRecognizers();
const std::vector<std::unique_ptr<CABCSamplerRecognizer>>& MIDIRecognizers();

// The MIDI model whose answer completes a MIDI+SCSI model found on SCSI
// (the A3000 via MIDI for the A3000 via MIDI+SCSI), or 0.
uint32_t MIDIPartnerModel(uint32_t midiAndSCSITypeId);

} // namespace quorvel
