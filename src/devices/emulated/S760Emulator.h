#pragma once
// An emulated Roland S-760 reached over MIDI, at device number 0 (SysEx ID
// 1). It answers Roland addressed messages for model 34: one-way data sets
// (0x12) and one-way requests (0x11), and the handshake exchange (want to
// send, request data, data, acknowledge, end of data, error, rejection),
// every message's checksum checked. It keeps patch, partial and sample
// parameter blocks at their addresses, sends the file list of a category
// when one is asked for at 200018, echoes the two bytes written at 200008,
// takes a sample's data by the Sample Dump Standard into the sample of the
// dump's number and dumps it back when asked. Like the sampler, it keeps a
// sample's length in blocks of 4608 frames: a dump back carries the block
// count × 4608 - 4 frames, the frames it never received as silence.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/emulated/S760Memory.h"
#include "devices/emulated/SDSSample.h"

namespace quorvel {

class CS760Emulator final : public CABCMIDIEmulator {
public:
    static constexpr const char* kId = "2000";
    static constexpr const char* kPortName = "Emulated Roland S-760 via MIDI";
    static constexpr uint8_t kModel = 0x34;
    static constexpr uint32_t kModeAddress = 0x200008;
    static constexpr uint32_t kFileListAddress = 0x200018;
    // Largest piece of data in one message.
    static constexpr size_t kPieceBytes = 256;
    static constexpr uint32_t kEntriesPerSet = 16;
    static constexpr uint32_t kEntryBytes = 20;
    static constexpr uint32_t kFramesPerBlock = 4608;
    // How long a sample dump waits for the receiver's handshake before it
    // goes on without one.
    static constexpr uint64_t kDumpReplyMs = 2000;

    // `folder` empty: memory only. Starts at once.
    CS760Emulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                  const std::string& folder = {});
    ~CS760Emulator() override;

    // The memory; it takes any thread.
    CS760Memory& Memory() { return memory_; }

    // The sampler's rate table: index 0 to 7; 8 and above read as 44100.
    static uint32_t RateOfIndex(uint8_t index);
    // The index of the smallest table rate at or above `rate` (0 above 48000).
    static uint8_t IndexOfRate(uint32_t rate);
    // Frames a dump of `blocks` blocks carries.
    static uint32_t FramesOfBlocks(uint32_t blocks) { return blocks == 0 ? 0 : blocks * kFramesPerBlock - 4; }

protected:
    void OnMessage(const std::vector<uint8_t>& message) override;
    void OnAlarm() override;

private:
    enum class EExchange { kNone, kWriting, kReading, kEnding };
    enum class EDump { kIdle, kReceiving, kDumping };

    struct SFaults {
        std::vector<uint32_t> reject;       // the Nth Roland message received, from 1
        std::vector<uint32_t> badChecksum;  // the Nth data message sent, from 1
        std::map<uint32_t, int> nakTimes;   // sample dump packets received, from 0
        std::vector<uint32_t> cancelAt;     // sample dump packets received, from 0
        bool silent = false;
        bool rejectHeader = false;
        bool cancelHeader = false;
    };

    void Answer(uint8_t command);
    void SendData(uint8_t command, uint32_t address, const uint8_t* data, size_t count);

    void OnRoland(const std::vector<uint8_t>& message);
    void OnDataSet(uint32_t address, const std::vector<uint8_t>& data);
    void OnOneWayRequest(uint32_t address, uint32_t size);
    void SendFileList(uint8_t category);
    void OnWantToSend(uint32_t address, uint32_t size);
    void OnData(const std::vector<uint8_t>& message);
    void OnEndOfData(uint32_t address, uint32_t size);
    void OnRequestData(uint32_t address, uint32_t size);
    void SendReadPiece();
    void OnReaderAnswer(uint8_t command);

    void OnSDS(const std::vector<uint8_t>& message);
    void Handshake(uint8_t type, uint8_t packet);
    void StartReceiving(const std::vector<uint8_t>& message);
    void OnDataPacket(const std::vector<uint8_t>& message);
    void KeepReceived();
    void StartDump(uint16_t number);
    void SendDumpPacket();
    void OnDumpHandshake(uint8_t type, uint8_t packet);
    void FinishDump();

    SFaults faults_;
    CS760Memory memory_;
    uint32_t rolandReceived_ = 0;
    uint32_t dataSent_ = 0;
    std::vector<uint8_t> mode_ = {0, 0};

    // The handshake exchange under way.
    EExchange exchange_ = EExchange::kNone;
    uint32_t address_ = 0;
    uint32_t size_ = 0;
    std::vector<uint8_t> bytes_;
    size_t done_ = 0;
    size_t piece_ = 0;

    // The sample dump under way, either way.
    EDump dump_ = EDump::kIdle;
    SSDSSample sample_;
    uint32_t length_ = 0;
    uint8_t format_ = 16;
    uint32_t packet_ = 0;
    uint32_t packetCount_ = 0;
    std::map<uint32_t, int> naksSent_;
    bool headerAnswered_ = false;
    bool paused_ = false;
};

} // namespace quorvel
