#pragma once
// The sample headers of the two generations and their mapping to and from
// the program's sample record. Fields the record has no place for stay as
// the header they came from had them.
#include <memory>
#include <string>

#include "samplers/SampleInfo.h"
#include "samplers/akai/AKAIDataBlock.h"

namespace quorvel::akai {

constexpr uint8_t kSampleBlockId = 3;
constexpr uint16_t kHoldLoopDwell = 9999;

// Loop modes of the header.
constexpr uint8_t kLoopInRelease = 0;
constexpr uint8_t kLoopUntilRelease = 1;
constexpr uint8_t kNoLooping = 2;

class CABCAKAISampleHeader : public CAKAIDataBlock {
public:
    static constexpr int32_t kNameOffset = 3;
    static constexpr int32_t kValidOffset = 15;
    static constexpr int32_t kLoopCountOffset = 16;
    static constexpr int32_t kFirstLoopOffset = 17;
    static constexpr int32_t kLoopModeOffset = 19;
    static constexpr int32_t kTuningOffset = 20;
    static constexpr int32_t kStartOffset = 22;
    static constexpr int32_t kLengthOffset = 26;
    static constexpr int32_t kPlayStartOffset = 30;
    static constexpr int32_t kPlayEndOffset = 34;
    static constexpr int32_t kLoopsOffset = 38;
    static constexpr int32_t kLoopBytes = 12;
    // Both generations: the stereo partner's block address, the rate in Hz,
    // the hold loop tune offset.
    static constexpr int32_t kStereoPartnerOffset = 136;
    static constexpr int32_t kRateOffset = 138;
    static constexpr int32_t kHoldLoopTuneOffset = 140;

    explicit CABCAKAISampleHeader(EGeneration generation) : CAKAIDataBlock(generation, kSampleBlockId, false) {}

    // Fills the mapped fields from `info`; the others keep their values.
    void SetFromInfo(const SampleInfo& info);
    // The record the header stands for.
    SampleInfo ToInfo() const;

    std::string Name() const;
    void SetName(const std::string& name);
    uint32_t Rate() const { return Get(kRateOffset, 2); }
    uint32_t Length() const { return Get(kLengthOffset, 4); }

    CRawSysex ToMessage(uint8_t channel) const;
    void FromMessage(const CRawSysex& message);

private:
    void PutLoop(int32_t index, uint32_t point, uint32_t length);
};

// 150 bytes.
class CS1000SampleHeader final : public CABCAKAISampleHeader {
public:
    CS1000SampleHeader() : CABCAKAISampleHeader(EGeneration::S1000) {}
};

// 192 bytes; the first 141 as the S1000's.
class CS3000SampleHeader final : public CABCAKAISampleHeader {
public:
    CS3000SampleHeader() : CABCAKAISampleHeader(EGeneration::S3000) {}
};

std::unique_ptr<CABCAKAISampleHeader> MakeSampleHeader(EGeneration generation);

} // namespace quorvel::akai
