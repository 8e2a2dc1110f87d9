#pragma once
// An EPS, EPS-16+ or ASR-10 over MIDI. Its memory holds 8 instruments of up
// to 8 layers; a wave belongs to one layer of its instrument and is numbered
// within the instrument. A wave's sample number is its instrument times 128
// plus its number; the locations offered for new waves are the instruments.
#include <cstdint>
#include <memory>
#include <string>

#include "samplers/SamplerInterface.h"
#include "samplers/ensoniq/EnsoniqLink.h"
#include "samplers/ensoniq/EnsoniqParameters.h"

namespace quorvel {

class CABCEnsoniqInterface : public CABCSamplerInterface {
public:
    // "Instrument 1" to "Instrument 8", ids 0 to 7.
    std::unique_ptr<CSamplerLocationList> GetLocations() override;
    // XSampleDoesNotExist when no wave has that number.
    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // `mode`: 1 left, 2 mix, 3 right side of a stereo wave, as mono.
    std::unique_ptr<CABCSampleReceiver> CreateReceiverFor(int32_t sampleNumber, int32_t mode) override;
    // The sampler picks the wave: into the first layer of the sample number's instrument.
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    // Into the first layer of instrument `location`.
    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t location) override;
    void DeleteSample(int32_t sampleNumber) override;
    // 12 printable characters, 16 bits, mono (stereo kept where the model
    // holds it), the model's rates, one sustain loop.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    // Every wave of every instrument, named as on the sampler.
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;

    virtual uint32_t ModelTypeId() const = 0;
    virtual std::unique_ptr<CEnsoniqWaveParameters> NewWaveParameters() const = 0;
    virtual std::unique_ptr<CEnsoniqLayerParameters> NewLayerParameters() const = 0;
    virtual std::unique_ptr<CEnsoniqInstrumentParameters> NewInstrumentParameters() const;
    // The shortest sample period the model plays, in 1.6 us units.
    virtual uint8_t ShortestPeriod() const = 0;

    // The instrument operations. ReadInstrument: false when the slot is empty.
    bool ReadInstrument(uint32_t instrument, CEnsoniqInstrumentParameters& block);
    void CreateInstrument(uint32_t instrument);
    void WriteInstrument(uint32_t instrument, const CEnsoniqInstrumentParameters& block);
    void DeleteInstrument(uint32_t instrument);
    // Layer `layer` with its one wave, number 1.
    void CreateLayer(uint32_t instrument, uint32_t layer);
    void ReadLayer(uint32_t instrument, uint32_t layer, CEnsoniqLayerParameters& block);
    void WriteLayer(uint32_t instrument, uint32_t layer, const CEnsoniqLayerParameters& block);

    CEnsoniqLink& Link() { return link_; }

protected:
    CABCEnsoniqInterface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel);
    virtual bool HoldsStereo() const { return false; }
    std::unique_ptr<CABCSampleTransmitter> NewTransmitter(int32_t instrument, int32_t layer, bool stereo);

private:
    // The layer holding the wave; XSampleDoesNotExist when there is no such wave.
    uint32_t LayerOf(int32_t sampleNumber);

    CEnsoniqLink link_;
};

class CEPSInterface : public CABCEnsoniqInterface {
public:
    CEPSInterface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel);
    uint32_t ModelTypeId() const override;
    std::unique_ptr<CEnsoniqWaveParameters> NewWaveParameters() const override;
    std::unique_ptr<CEnsoniqLayerParameters> NewLayerParameters() const override;
    uint8_t ShortestPeriod() const override;
};

class CEPS16Interface : public CABCEnsoniqInterface {
public:
    CEPS16Interface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel);
    uint32_t ModelTypeId() const override;
    std::unique_ptr<CEnsoniqWaveParameters> NewWaveParameters() const override;
    std::unique_ptr<CEnsoniqLayerParameters> NewLayerParameters() const override;
    uint8_t ShortestPeriod() const override;
};

class CASR10Interface : public CEPS16Interface {
public:
    CASR10Interface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel);
    uint32_t ModelTypeId() const override;
    std::unique_ptr<CEnsoniqLayerParameters> NewLayerParameters() const override;
    // A stereo wave into layer `mode` of instrument `location`;
    // XASR10LayerIsNotStereo when that layer is not a stereo one.
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitterFor(int32_t location, int32_t mode) override;

protected:
    bool HoldsStereo() const override { return true; }
};

} // namespace quorvel
