#pragma once
// ALSA raw MIDI ports (driver kind "ALSA"): every hardware raw MIDI
// subdevice of every sound card. Input runs a thread that blocks in poll()
// and hands the bytes to the parser as they come; output writes pieces of at
// most 2048 bytes without blocking and counts a piece done once the device's
// buffer has drained.
#include <memory>
#include <string>
#include <thread>

#include "devices/midi/ByteStreamMIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"

typedef struct _snd_rawmidi snd_rawmidi_t;

namespace quorvel {

class CRegisteredAlsaMIDIInput : public CRegisteredMIDIInput {
public:
    static constexpr const char* kDriverKind = "ALSA";
    // `device` is the ALSA name that opens the port ("hw:CARD,DEVICE,SUBDEVICE").
    CRegisteredAlsaMIDIInput(const std::string& name, const std::string& device);
    std::unique_ptr<CMIDIInput> Open(CMIDIInputParser& parser) const override;
    const std::string& Device() const { return device_; }

private:
    std::string device_;
};

class CRegisteredAlsaMIDIOutput : public CRegisteredMIDIOutput {
public:
    static constexpr const char* kDriverKind = "ALSA";
    CRegisteredAlsaMIDIOutput(const std::string& name, const std::string& device);
    std::unique_ptr<CMIDIOutput> Open() const override;
    const std::string& Device() const { return device_; }

private:
    std::string device_;
};

// Appends every raw MIDI input and output subdevice of every card. Cards
// that cannot be asked are passed over; no cards means no ports.
void RegisterAlsaMIDIPorts(CMIDIPortLists& lists);

class CAlsaMIDIInput : public CByteStreamMIDIInput {
public:
    // XFailedOpeningMIDIPort when the device does not open.
    CAlsaMIDIInput(const CRegisteredAlsaMIDIInput& port, CMIDIInputParser& parser);
    ~CAlsaMIDIInput() override;

private:
    void Run();

    snd_rawmidi_t* handle_ = nullptr;
    int wakeFd_ = -1; // an eventfd that ends the thread
    std::thread thread_;
};

class CAlsaMIDIOutput : public CMIDIOutput {
public:
    CAlsaMIDIOutput(const CRegisteredAlsaMIDIOutput& port);
    ~CAlsaMIDIOutput() override;

protected:
    void StartChunk(const uint8_t* data, int32_t length) override;
    bool ChunkDone() override;
    int32_t WriteShort(const uint8_t* data, int32_t length) override;

private:
    // Writes what the device takes now; XMIDIWriteFailed on an error.
    void WritePending();

    snd_rawmidi_t* handle_ = nullptr;
    uint8_t pending_[kChunkSize];
    int32_t pendingStart_ = 0;
    int32_t pendingEnd_ = 0;
};

} // namespace quorvel
