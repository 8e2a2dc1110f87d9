#pragma once
// An emulated Ensoniq EPS, EPS-16+ or ASR-10 reached over MIDI, at base
// channel 0 (SysEx ID 1). It answers the Ensoniq external commands: every
// request gets a response carrying a status code; parameter blocks and
// sample words are read with a GET (response, then the PUT header, then,
// once the computer acknowledges, the block) and written with a PUT (header,
// response, block, response). It creates and deletes instruments, layers
// and wavesamples; the ASR-10 links companion layers into stereo pairs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/EmulatedPortName.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/EnsoniqEmulatorModel.h"
#include "devices/emulated/EnsoniqMemory.h"
#include "devices/emulated/MIDIEmulator.h"

namespace quorvel {

class CEnsoniqEmulator final : public CABCMIDIEmulator {
public:
    // How long the sampler waits for the computer's acknowledgement of a
    // PUT header, or for the block a PUT header announced.
    static constexpr uint64_t kReplyMs = 2000;
    // How long it waits, after a WAIT, for the computer's ACK or CANCEL
    // before it gives the request up.
    static constexpr uint64_t kWaitMs = 30000;
    // The words of the single-cycle square wave a new wavesample starts with.
    static constexpr uint32_t kSquareWords = 32;

    // `folder` empty: memory only. Starts at once.
    CEnsoniqEmulator(const SEnsoniqEmulatorModel& model, SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                     const std::vector<SEmulatorFault>& faults, const std::string& folder = {});
    ~CEnsoniqEmulator() override;

    static std::string PortName(const SEnsoniqEmulatorModel& model) { return EmulatedPortName(model.name); }

    const SEnsoniqEmulatorModel& Model() const { return model_; }
    // The memory; it takes any thread.
    CEnsoniqMemory& Memory() { return memory_; }

protected:
    void OnMessage(const std::vector<uint8_t>& message) override;
    void OnAlarm() override;

private:
    // Where a request points.
    struct SAddress {
        uint8_t command = 0;
        uint16_t instrument = 0;
        uint16_t layer = 0;
        uint16_t wave = 0;
        uint32_t start = 0;
        uint32_t end = 0;
    };
    enum class EState {
        kIdle,
        kAwaitingBlock, // a PUT header was acknowledged; its block comes next
        kAwaitingAck,   // a PUT header went out; the block follows an ACK
        kWaiting,       // WAIT went out; the computer answers ACK or CANCEL
    };

    void Out(const std::vector<uint8_t>& message);
    void Respond(uint16_t status);
    void OnCommand(const std::vector<uint8_t>& m);
    void OnAck();
    void OnBlock(const std::vector<uint8_t>& m);
    // Carries a request out (or starts the WAITs of a long one).
    void Perform(const SAddress& request, bool longRequest);
    uint16_t Execute(const SAddress& request);
    uint16_t StartGet(const SAddress& request);
    uint16_t StartPut(const SAddress& request);
    uint16_t TakeBlock(const SAddress& request, const EnsoniqWords& words);
    uint16_t CreateInstrument(const SAddress& request);
    uint16_t CreateLayer(const SAddress& request);
    uint16_t CreateWave(const SAddress& request);
    uint16_t DeleteWave(const SAddress& request);
    uint16_t DeleteLayer(const SAddress& request);
    uint16_t DeleteInstrument(const SAddress& request);
    // 0 when the instrument, layer (if `layer`) and wavesample (if `wave`)
    // are there, otherwise the status that says which is not.
    uint16_t Check(const EnsoniqInstruments& all, const SAddress& at, bool layer, bool wave) const;
    bool HasRoom(uint64_t words) const;
    // Keeps `all` as the memory; the status to answer.
    uint16_t Keep(const EnsoniqInstruments& all);
    void Idle();

    const SEnsoniqEmulatorModel model_;
    CEnsoniqMemory memory_;
    bool silent_ = false;
    bool outOfMemory_ = false;
    uint32_t waits_ = 0;       // busy:N
    uint16_t errorStatus_ = 0; // error:CODE
    uint32_t errorAt_ = 1;     // error-at:N
    uint32_t requests_ = 0;

    EState state_ = EState::kIdle;
    SAddress pending_;
    std::vector<uint8_t> outgoing_; // the block a GET sends after the ACK
    EnsoniqWords pendingBlock_;     // the block a PUT brought
    uint32_t waitsLeft_ = 0;
};

} // namespace quorvel
