#pragma once
// Program headers and keygroups of both generations. The program reads and
// writes only the fields it needs (names, key span, the keygroup count and
// the samples each velocity zone plays); every other byte travels as the
// template on the sampler had it.
#include <memory>
#include <string>
#include <vector>

#include "samplers/akai/AKAIDataBlock.h"

namespace quorvel::akai {

constexpr uint8_t kProgramBlockId = 1;
constexpr uint8_t kKeyGroupBlockId = 2;
constexpr int32_t kVelocityZones = 4;

class CABCAKAIProgramHeader : public CAKAIDataBlock {
public:
    static constexpr int32_t kNameOffset = 3;
    static constexpr int32_t kKeyGroupCountOffset = 42;

    explicit CABCAKAIProgramHeader(EGeneration generation) : CAKAIDataBlock(generation, kProgramBlockId, false) {}

    std::string Name() const;
    void SetName(const std::string& name);
    uint8_t KeyGroupCount() const { return Bytes()[kKeyGroupCountOffset]; }
    void SetKeyGroupCount(uint8_t count) { Bytes()[kKeyGroupCountOffset] = count; }

    CRawSysex ToMessage(uint8_t channel) const;
    void FromMessage(const CRawSysex& message);
};

class CS1000ProgramHeader final : public CABCAKAIProgramHeader {
public:
    CS1000ProgramHeader() : CABCAKAIProgramHeader(EGeneration::S1000) {}
};

class CS3000ProgramHeader final : public CABCAKAIProgramHeader {
public:
    CS3000ProgramHeader() : CABCAKAIProgramHeader(EGeneration::S3000) {}
};

class CABCAKAIKeyGroup : public CAKAIDataBlock {
public:
    static constexpr int32_t kLowNoteOffset = 3;
    static constexpr int32_t kHighNoteOffset = 4;
    static constexpr int32_t kFirstZoneOffset = 34;
    static constexpr int32_t kZoneBytes = 24;

    explicit CABCAKAIKeyGroup(EGeneration generation) : CAKAIDataBlock(generation, kKeyGroupBlockId, true) {}

    uint8_t LowNote() const { return Bytes()[kLowNoteOffset]; }
    uint8_t HighNote() const { return Bytes()[kHighNoteOffset]; }
    void SetKeySpan(uint8_t low, uint8_t high);
    // The sample velocity zone `zone` (0 to 3) plays; empty when none.
    std::string ZoneSample(int32_t zone) const;
    void SetZoneSample(int32_t zone, const std::string& name);

    CRawSysex ToMessage(uint8_t channel) const;
    void FromMessage(const CRawSysex& message);
};

class CS1000KeyGroup final : public CABCAKAIKeyGroup {
public:
    CS1000KeyGroup() : CABCAKAIKeyGroup(EGeneration::S1000) {}
};

class CS3000KeyGroup final : public CABCAKAIKeyGroup {
public:
    CS3000KeyGroup() : CABCAKAIKeyGroup(EGeneration::S3000) {}
};

std::unique_ptr<CABCAKAIProgramHeader> MakeProgramHeader(EGeneration generation);
std::unique_ptr<CABCAKAIKeyGroup> MakeKeyGroup(EGeneration generation);

// One program header with its keygroups.
class CAKAIProgram {
public:
    explicit CAKAIProgram(EGeneration generation) : header_(MakeProgramHeader(generation)) {}

    CABCAKAIProgramHeader& Header() { return *header_; }
    const CABCAKAIProgramHeader& Header() const { return *header_; }
    std::vector<std::unique_ptr<CABCAKAIKeyGroup>>& KeyGroups() { return keyGroups_; }
    const std::vector<std::unique_ptr<CABCAKAIKeyGroup>>& KeyGroups() const { return keyGroups_; }

private:
    std::unique_ptr<CABCAKAIProgramHeader> header_;
    std::vector<std::unique_ptr<CABCAKAIKeyGroup>> keyGroups_;
};

} // namespace quorvel::akai
