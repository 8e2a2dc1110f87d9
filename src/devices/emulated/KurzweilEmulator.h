#pragma once
// An emulated Kurzweil K2000 or K2500 reached over MIDI, at device byte 0
// (SysEx ID 0). It answers the Universal Identity Request, the object
// messages (describe, delete, rename and renumber, list a bank, write and
// read in the bit-stream form), and takes and dumps sample data by the
// Sample Dump Standard: sample number n is the data of sound block n + 1.
// The MIDI+SCSI models share its sample memory with an SMDI target.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/KurzweilEmulatorModel.h"
#include "devices/emulated/KurzweilMemory.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/emulated/SDSSample.h"

namespace quorvel {

class CSMDIEmulator;

// Error codes of a refusal (message 3).
namespace kurzweilerror {
constexpr uint8_t kInEdit = 1;
constexpr uint8_t kChecksum = 2;
constexpr uint8_t kIdOutOfRange = 3;
constexpr uint8_t kNotFound = 4;
constexpr uint8_t kMemoryFull = 5;
// The emulator's own: a body that does not hold together, or not in the
// bit-stream form.
constexpr uint8_t kMalformed = 6;
} // namespace kurzweilerror

class CKurzweilEmulator final : public CABCMIDIEmulator {
public:
    // How long a dump waits for the receiver's handshake before it goes on
    // without one.
    static constexpr uint64_t kDumpReplyMs = 2000;

    // `folder` empty: memory only. With `scsi` the sample data lives in that
    // target's memory; otherwise in `folder/samples`. Starts at once.
    CKurzweilEmulator(const SKurzweilEmulatorModel& model, SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                      const std::vector<SEmulatorFault>& faults, const std::string& folder = {},
                      std::shared_ptr<CSMDIEmulator> scsi = nullptr);
    ~CKurzweilEmulator() override;

    // "Emulated " and the model's name; where that passes the 32 characters
    // a port name may have, without the maker's name, so that the MIDI and
    // the MIDI+SCSI model of one machine never share a port name.
    static std::string PortName(const SKurzweilEmulatorModel& model);

    const SKurzweilEmulatorModel& Model() const { return model_; }
    CKurzweilMemory& Memory() { return *memory_; }
    const std::shared_ptr<CSMDIEmulator>& SCSITarget() const { return scsi_; }

protected:
    void OnMessage(const std::vector<uint8_t>& message) override;
    void OnAlarm() override;

private:
    enum class EState { kIdle, kReceiving, kDumping };

    struct SFaults {
        bool silent = false;
        std::optional<uint8_t> rejectWrite; // reject-write:CODE, in-edit, out-of-memory
        uint32_t idAbove = 0;               // 0: no such fault
        std::map<uint32_t, int> nakTimes;
        std::map<uint32_t, bool> badChecksum; // true: every time
        std::vector<uint32_t> cancelAt;
        bool rejectHeader = false;
        bool cancelHeader = false;
    };

    void Out(std::vector<uint8_t> message);
    void Kurzweil(uint8_t number, const std::vector<uint8_t>& body);
    void Refuse(uint16_t type, uint16_t id, uint8_t code);
    void Info(uint16_t type, uint16_t id, const std::optional<SKurzweilObject>& object);

    void OnObjectMessage(const std::vector<uint8_t>& m);
    void OnWrite(const std::vector<uint8_t>& m);
    void OnRead(const std::vector<uint8_t>& m);
    void OnList(const std::vector<uint8_t>& m);
    void OnChange(const std::vector<uint8_t>& m);
    // The id a write lands at, or 0 with `code` set.
    uint16_t ChooseId(uint16_t type, uint16_t id, uint8_t mode, uint8_t& code) const;

    void OnUniversal(const std::vector<uint8_t>& m);
    void SDSReply(uint8_t type, uint8_t packet);
    void StartReceiving(const std::vector<uint8_t>& m);
    void OnDataPacket(const std::vector<uint8_t>& m);
    void StartDump(uint16_t number);
    void OnDumpHandshake(uint8_t type, uint8_t packet);
    void SendDumpHeader();
    void SendDumpPacket();
    void Finish();

    const SKurzweilEmulatorModel model_;
    SFaults faults_;
    std::shared_ptr<CSMDIEmulator> scsi_;
    std::unique_ptr<CSMDISampleStore> ownSamples_;
    std::unique_ptr<CKurzweilMemory> memory_;

    EState state_ = EState::kIdle;
    SSDSSample sample_;
    uint32_t length_ = 0;
    uint32_t packetCount_ = 0;
    uint32_t packet_ = 0;
    std::map<uint32_t, int> naksSent_;
    bool headerAnswered_ = false;
    bool closedLoop_ = false;
    bool paused_ = false;
    std::map<uint32_t, int> timesSent_;
};

} // namespace quorvel
