#pragma once
// The frame of an emulated sampler that takes and gives samples by the
// Sample Dump Standard at device number 0 (device 7F, the all-call, reaches
// it too). It takes a dump header and data packets with the
// ACK/NAK/WAIT/CANCEL handshake, or without one, checks each packet's number
// and checksum and hands the whole sample to the sampler to keep; it dumps a
// sample the sampler gives it when asked, closed loop when the receiver
// answers the header. The sampler says where samples live, which headers it
// takes, and which faults it plays.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/emulated/SDSSample.h"

namespace quorvel {

// Packet indexes count from 0 within a dump and do not wrap at 128.
struct SSampleDumpFaults {
    std::map<uint32_t, int> nakTimes;     // received packets refused once or twice
    std::map<uint32_t, bool> badChecksum; // dumped: true every time, false the first time only
    std::vector<uint32_t> wrongPacket;    // answered or dumped with the next packet's number
    std::vector<uint32_t> cancelAt;       // received packets
    std::vector<uint32_t> cancelDumpAt;   // dumped packets
    std::vector<uint32_t> drop;           // lost the first time, either way
    uint32_t waitMs = 0;                  // the header's ACK held this long, WAIT meanwhile
    bool hasWait = false;
    bool silent = false; // no answers, no dumps
    bool rejectHeader = false;
    bool cancelHeader = false;
};

struct SSampleDumpTiming {
    // How long a dump waits for the receiver to answer the header, and then
    // each packet, before it goes on without one.
    uint64_t headerReplyMs = 2000;
    uint64_t packetReplyMs = 2000;
    // A held answer repeats its WAIT this often.
    uint64_t waitRepeatMs = 1000;
    // true: with no answer to the header the packets follow one another at
    // once; false: each still waits packetReplyMs.
    bool openLoop = true;
    // true: a header sent again after a NAK waits headerReplyMs afresh.
    bool headerAgainRestartsWait = true;
};

class CABCSampleDumpEmulator : public CABCMIDIEmulator {
protected:
    // `name` opens the line a sample that cannot be kept leaves on stderr.
    CABCSampleDumpEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock, std::string name,
                           const SSampleDumpTiming& timing);

    SSampleDumpFaults& DumpFaults() { return faults_; }
    // Takes `fault` when it is one of the handshake faults that act on the
    // received and the dumped packets alike (NAKs, bad checksums, a CANCEL,
    // a refused header); false for any other.
    bool TakeDumpFault(const SEmulatorFault& fault);

    // Emulator thread: a universal non-real-time message of this device
    // (others are ignored).
    void OnSampleDumpMessage(const std::vector<uint8_t>& message);
    void OnAlarm() override;

    // Beyond a word size of 8 to 28 bits, whether the sampler takes the
    // sample a header announces; it may widen `sample.format`, the words
    // then come shifted up to it.
    virtual bool TakesHeader(SSDSSample& sample);
    // A whole received sample; throws XBase where it cannot be kept.
    virtual void KeepSample(const SSDSSample& sample) = 0;
    // The sample a dump request asks for; none: the request is ignored.
    virtual std::optional<SSDSSample> SampleToDump(uint16_t number) = 0;

private:
    enum class EState { kIdle, kReceiving, kDumping };

    void Reply(uint8_t type, uint8_t packet);
    void StartReceiving(const std::vector<uint8_t>& message);
    void AcceptHeader();
    void OnDataPacket(const std::vector<uint8_t>& message);
    // false: it could not be kept and the sender was told CANCEL.
    bool Keep(uint8_t packet);
    void StartDump(uint16_t number);
    void OnHandshake(uint8_t type, uint8_t packet);
    void SendHeader();
    void SendPacket();
    void NextPacket();
    void Finish();

    const std::string name_;
    const SSampleDumpTiming timing_;
    SSampleDumpFaults faults_;
    EState state_ = EState::kIdle;

    // The sample being received or dumped.
    SSDSSample sample_;
    uint8_t wireFormat_ = 16;
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
