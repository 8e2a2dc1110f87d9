#pragma once
// An AKAI sampler of the later generation on a SCSI bus. The exclusive
// messages and the Sample Dump Standard messages travel inside AKAI's
// vendor-specific commands: 0C carries a message to the sampler, 0D asks how
// many bytes it has waiting, 0E reads them, 09 sets the SCSI/MIDI mode. What
// the messages do is the MIDI emulator's business: one runs behind this
// target on a pair of private wires, so both transports keep the same memory
// layout and give the same answers. Sample words are the exception: over
// SCSI they travel as plain bytes (two per word, straight binary, most
// significant first) rather than as dump packets, so the sample-packet
// messages are handled here, on the sampler's memory.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/AKAIEmulator.h"
#include "devices/emulated/AKAISCSIEmulatorModel.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/scsi/SCSITarget.h"

namespace quorvel {

// AKAI's vendor-specific commands (6-byte blocks, bytes 2 to 4 a count).
constexpr uint8_t kAKAISCSISetMode = 0x09;
constexpr uint8_t kAKAISCSISendSysex = 0x0C;
constexpr uint8_t kAKAISCSIBytesWaiting = 0x0D;
constexpr uint8_t kAKAISCSIReadBytes = 0x0E;

// Additional sense codes of its CHECK CONDITION answers (sense key 5).
constexpr uint8_t kAKAISenseInvalidOpcode = 0x20;
constexpr uint8_t kAKAISenseInvalidField = 0x24;  // count disagrees with the data or the direction
constexpr uint8_t kAKAISenseNotWaiting = 0x81;    // 0E asks for more than is waiting
constexpr uint8_t kAKAISenseNotAMessage = 0x82;   // 0C data is not one F0 ... F7 message

class CAKAISCSIEmulator final : public ISCSITarget {
public:
    // `folder` empty: memory only. Starts at once.
    CAKAISCSIEmulator(const SAKAISCSIEmulatorModel& model, CABCEmulatorClock& clock,
                      const std::vector<SEmulatorFault>& faults, const std::string& folder = {});
    ~CAKAISCSIEmulator() override;

    SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) override;

    const SAKAISCSIEmulatorModel& Model() const { return model_; }
    // The sampler behind the commands, with its memory.
    CAKAIEmulator& Sampler() { return *sampler_; }
    // The mode the last 09 set (0 until then).
    uint8_t Mode() const { return mode_; }

private:
    SCSIResult Send(const uint8_t* block, const uint8_t* data, size_t length);
    // The accept-packets message: the next 0C carries the words.
    void AcceptPackets(const std::vector<uint8_t>& message);
    // The 0C after it: its bytes go into the sample, then one reply waits.
    void TakeWords(const uint8_t* data, size_t length);
    // The sample-packet request: the words wait as bytes, or a refusal does.
    void RequestPackets(const std::vector<uint8_t>& message);
    void Queue(const std::vector<uint8_t>& bytes);
    SCSIResult BytesWaiting(uint8_t* data, size_t length);
    SCSIResult Read(const uint8_t* block, uint8_t* data, size_t length);
    // Waits (briefly, in real time) until the sampler has handled what it was
    // sent and its answers have crossed the wire, as a sampler finishes with
    // a message before it answers the next command.
    void Settle();

    const SAKAISCSIEmulatorModel model_;
    SLoopbackMIDIDevice wires_;
    std::unique_ptr<CAKAIEmulator> sampler_;

    uint32_t busyLeft_ = 0;
    bool checkCondition_ = false;
    bool silent_ = false;

    std::mutex commandMutex_;
    uint64_t written_ = 0;
    uint8_t mode_ = 0;
    // Set by an accept-packets message until its words arrive; `wordsTo_`
    // empty when the message was refused (its words are then refused too).
    bool wordsNext_ = false;
    std::optional<size_t> wordsTo_;
    uint32_t wordsFirst_ = 0;
    uint32_t wordsCount_ = 0;
    std::mutex waitingMutex_;
    std::vector<uint8_t> waiting_;
};

} // namespace quorvel
