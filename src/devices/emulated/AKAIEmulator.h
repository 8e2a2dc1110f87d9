#pragma once
// An emulated AKAI S1000/S3000 family sampler reached over MIDI, at
// exclusive channel 0 (SysEx ID 1). It answers the status request and the
// program and sample name lists, sends and takes sample headers, program
// headers and keygroups, deletes samples, programs and keygroups, takes
// sample data by the Sample Dump Standard after a sample header (or on its
// own), and dumps sample data back when asked with the sample packet
// request or a plain dump request. The older models speak the fixed
// 150-byte block messages, the later ones the 192-byte block messages that
// carry an offset and a byte count.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/AKAIEmulatorModel.h"
#include "devices/emulated/AKAIMemory.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"

namespace quorvel {

class CAKAIEmulator final : public CABCMIDIEmulator {
public:
    // How long a dump waits for the receiver's handshake before it goes on
    // without one.
    static constexpr uint64_t kDumpReplyMs = 2000;
    // A held answer (fault "wait") repeats its WAIT this often.
    static constexpr uint64_t kWaitRepeatMs = 1000;
    // Header, program and keygroup blocks the sampler has room for.
    static constexpr uint32_t kMaxBlocks = 480;

    // `folder` empty: memory only. Starts at once.
    CAKAIEmulator(const SAKAIEmulatorModel& model, SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                  const std::vector<SEmulatorFault>& faults, const std::string& folder = {});
    ~CAKAIEmulator() override;

    static std::string PortName(const SAKAIEmulatorModel& model) { return "Emulated " + model.name; }

    const SAKAIEmulatorModel& Model() const { return model_; }
    // The memory; it takes any thread.
    CAKAIMemory& Memory() { return memory_; }
    // The words a sample-packet request asks for: from `start`, `count` of
    // them (cut to the sample), one per `interval` words, by `function`.
    static std::vector<uint16_t> PickWords(const std::vector<uint16_t>& words, uint32_t start, uint32_t count,
                                           uint32_t interval, uint8_t function);

protected:
    void OnMessage(const std::vector<uint8_t>& message) override;
    void OnAlarm() override;

private:
    enum class EState { kIdle, kReceiving, kDumping };

    struct SFaults {
        std::map<uint32_t, int> nakTimes;     // nak-once / nak-twice
        std::map<uint32_t, bool> badChecksum; // true: every time, false: the first time only
        std::vector<uint32_t> cancelAt;
        uint32_t waitMs = 0;
        bool silent = false;
        bool rejectHeader = false;
    };

    // Where a block request or data message points, and which bytes.
    struct SBlockRef {
        size_t number = 0;
        size_t keygroup = 0;
        size_t offset = 0;
        size_t count = 0;
    };

    void Out(const std::vector<uint8_t>& message);
    void Reply(uint8_t result);
    // The answer to a change: held behind WAITs by the "wait" fault.
    void Answer(uint8_t result);
    void Handshake(uint8_t type, uint8_t packet);
    void Rearm();

    void OnAKAI(const std::vector<uint8_t>& message);
    void SendStatus();
    void SendNames(uint8_t op, const std::vector<AKAIBlock>& headers);
    bool ParseRequest(const std::vector<uint8_t>& m, bool keygroup, SBlockRef& ref) const;
    bool ParseData(const std::vector<uint8_t>& m, bool keygroup, SBlockRef& ref, AKAIBlock& data) const;
    void SendBlock(uint8_t op, const SBlockRef& ref, bool keygroup, const AKAIBlock& block);
    void TakeProgram(const std::vector<uint8_t>& m);
    void TakeKeygroup(const std::vector<uint8_t>& m);
    void TakeSampleHeader(const std::vector<uint8_t>& m);
    void AcceptPackets(const std::vector<uint8_t>& m);
    // The later models' miscellaneous bytes: kept by data index and bank
    // (0 until written), not in the memory folder.
    void OnMiscBytes(const std::vector<uint8_t>& m);
    void DeleteKeygroup(size_t program, size_t keygroup);
    uint32_t FreeWords() const;
    uint32_t FreeBlocks() const;
    std::optional<size_t> SampleNamed(const AKAIBlock& header) const;
    std::optional<size_t> ProgramNamed(const AKAIBlock& header) const;

    void OnSDS(const std::vector<uint8_t>& message);
    void StartReceiving(const std::vector<uint8_t>& message);
    // Data packets of `format` bits for `length` words follow, into sample
    // `target` from word `offset` (none: a new sample made from the dump).
    void BeginReceiving(std::optional<size_t> target, size_t offset, bool whole, uint8_t format, uint32_t length);
    void OnDataPacket(const std::vector<uint8_t>& message);
    // Keeps what was received; false when the memory could not keep it.
    bool KeepReceivedSample();
    void StartDump(size_t sample, uint16_t number, uint32_t start, uint32_t count, uint32_t interval = 1,
                   uint8_t function = 0);
    void OnDumpHandshake(uint8_t type, uint8_t packet);
    void SendDumpPacket();
    void Finish();

    const SAKAIEmulatorModel model_;
    SFaults faults_;
    CAKAIMemory memory_;
    EState state_ = EState::kIdle;

    // The sample the last sample header made: a dump header for its number,
    // or for the number that header carried, fills it.
    std::optional<size_t> pendingSample_;
    size_t pendingCarried_ = 0;
    std::map<uint32_t, AKAIBlock> misc_;
    // The program the last program header made (keygroups for program 255).
    std::optional<size_t> lastProgram_;

    // A held answer (fault "wait").
    std::optional<std::vector<uint8_t>> held_;
    uint64_t holdUntil_ = 0;
    uint64_t nextWait_ = 0;
    bool headerHeld_ = false;

    // Receiving.
    std::optional<size_t> target_;
    size_t offset_ = 0;
    bool whole_ = true;
    uint16_t received_ = 0; // the dump header's sample number
    uint8_t format_ = 16;
    uint32_t periodNs_ = 0;
    uint32_t length_ = 0;
    std::vector<uint16_t> words_;
    uint32_t packet_ = 0;
    std::map<uint32_t, int> naksSent_;

    // Dumping.
    std::vector<uint8_t> dumpHeader_;
    std::vector<uint16_t> dumpWords_;
    uint32_t packetCount_ = 0;
    bool headerAnswered_ = false;
    bool closedLoop_ = false;
    bool paused_ = false;
    uint64_t dumpDeadline_ = 0;
    std::map<uint32_t, int> timesSent_;
};

} // namespace quorvel
