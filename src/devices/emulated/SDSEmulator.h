#pragma once
// A plain Sample Dump Standard sampler at device number 0 (device 7F, the
// all-call, reaches it too). It takes a dump header and data packets with
// the ACK/NAK/WAIT/CANCEL handshake, or without one (an open-loop sender
// that never waits for the answers), checks each packet's number and
// checksum, and keeps the sample by its number with every header field.
// It answers a dump request for a sample it holds by dumping it, closed
// loop when the receiver answers the header, open loop when it does not.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/emulated/SDSSampleStore.h"

namespace quorvel {

class CSDSEmulator final : public CABCMIDIEmulator {
public:
    static constexpr const char* kId = "sds";
    static constexpr const char* kPortName = "Emulated SDS";
    // How long a dump waits for the receiver to answer the header, and then
    // for each packet's handshake, before it goes on without one.
    static constexpr uint64_t kHeaderReplyMs = 2000;
    static constexpr uint64_t kPacketReplyMs = 2000;
    // A held answer (fault "wait") repeats its WAIT this often, so that the
    // sender knows the sampler is still there.
    static constexpr uint64_t kWaitRepeatMs = 1000;

    // `folder` empty: memory only. Starts at once.
    CSDSEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                 const std::string& folder = {});
    ~CSDSEmulator() override;

    // The sample memory; it takes any thread.
    CSDSSampleStore& Samples() { return store_; }

protected:
    void OnMessage(const std::vector<uint8_t>& message) override;
    void OnAlarm() override;

private:
    enum class EState { kIdle, kReceiving, kDumping };

    struct SFaults {
        // Packet indexes count from 0 within a dump and do not wrap at 128.
        std::map<uint32_t, int> nakTimes;     // nak-once / nak-twice
        std::map<uint32_t, bool> badChecksum; // true: every time, false: the first time only
        std::vector<uint32_t> wrongPacket;
        std::vector<uint32_t> cancelAt;
        std::vector<uint32_t> drop;
        uint32_t waitMs = 0;
        bool hasWait = false;
        bool silent = false;
        bool rejectHeader = false;
        bool cancelHeader = false;
    };

    void Reply(uint8_t type, uint8_t packet);
    void StartReceiving(const std::vector<uint8_t>& message);
    void AcceptHeader();
    void OnDataPacket(const std::vector<uint8_t>& message);
    void StartDump(uint16_t number);
    void OnHandshake(uint8_t type, uint8_t packet);
    void SendHeader();
    void SendPacket();
    void NextPacket();
    void Finish();

    SFaults faults_;
    CSDSSampleStore store_;
    EState state_ = EState::kIdle;

    // The sample being received or dumped.
    SSDSSample sample_;
    uint32_t length_ = 0;
    uint32_t packetCount_ = 0;
    // Receiving: the packet awaited next; dumping: the packet in flight.
    uint32_t packet_ = 0;
    // Receiving: times each packet was refused or lost by a fault.
    std::map<uint32_t, int> naksSent_;
    std::map<uint32_t, int> dropped_;
    // Receiving: the header's ACK is held (fault "wait") until this time.
    uint64_t holdUntil_ = 0;
    uint64_t nextWait_ = 0;
    // Dumping.
    bool headerAnswered_ = false;
    bool closedLoop_ = false;
    bool paused_ = false;
    std::map<uint32_t, int> timesSent_;
};

} // namespace quorvel
