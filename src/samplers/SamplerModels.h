#pragma once
// The fixed table of transmit destinations: the software destinations and
// the hardware sampler models, each with the numbers the preferences store
// and the flags the dialogs and menus read.
#include <cstdint>
#include <span>
#include <string_view>

namespace quorvel {

enum class SamplerTransport : int32_t { SCSI = 21, MIDI = 22, MIDIAndSCSI = 23, None = 24 };

struct SModelVersion {
    uint8_t major = 0;
    uint8_t minor = 0;
};

struct SSamplerModel {
    std::string_view className;
    std::string_view name;    // the model's name as lists show it
    uint16_t nameId;          // its string in table 133
    uint32_t typeId;          // permanent number, stored in the preferences
    SamplerTransport transport;
    SModelVersion requiredOS;
    bool canReceive;
    bool canTransmit;
    bool sysexIdsFromOne;     // the SysEx ID popup shows n + 1
    uint16_t sysexIdCount;    // the popup offers min(this, 16)
    bool osVersionReadable;
    bool fifthFlag;
    uint16_t picture;
    uint16_t infoId;          // string of table 133; 0 when there is none
    uint32_t helpTopic;
};

// Software destinations by type id.
constexpr uint32_t kNewWindowModel = 1;
constexpr uint32_t kSampleCellModel = 8;
constexpr uint32_t kSoundFontModel = 16;
constexpr uint32_t kMixmanModel = 24;
// Added after the original table, continuing its numbering in steps of 8.
constexpr uint32_t kSfzModel = 32;
constexpr uint32_t kHydrogenKitModel = 40;

// In table order.
std::span<const SSamplerModel> SamplerModels();
// Null when the type id is not in the table.
const SSamplerModel* FindSamplerModel(uint32_t typeId);

inline bool UsesMIDI(const SSamplerModel& model)
{
    return model.transport == SamplerTransport::MIDI || model.transport == SamplerTransport::MIDIAndSCSI;
}
inline bool UsesSCSI(const SSamplerModel& model)
{
    return model.transport == SamplerTransport::SCSI || model.transport == SamplerTransport::MIDIAndSCSI;
}
inline bool IsSoftwareDestination(const SSamplerModel& model) { return model.transport == SamplerTransport::None; }

} // namespace quorvel
