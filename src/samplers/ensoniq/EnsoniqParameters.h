#pragma once
// The instrument, layer and wave parameter blocks of each model, read from
// and written to the sampler whole. A wave block converts to and from the
// SampleInfo the transfers carry.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "samplers/SampleInfo.h"
#include "samplers/ensoniq/EnsoniqLayouts.h"

namespace quorvel {

class CEnsoniqParameters {
public:
    virtual ~CEnsoniqParameters() = default;

    uint16_t Word(uint16_t offset) const { return words_.at(offset); }
    void SetWord(uint16_t offset, uint16_t value) { words_.at(offset) = value; }
    uint8_t High(uint16_t offset) const { return static_cast<uint8_t>(Word(offset) >> 8); }
    void SetHigh(uint16_t offset, uint8_t value);
    // A 32-bit value over the high bytes of four words, most significant first.
    uint32_t Long(uint16_t offset) const;
    void SetLong(uint16_t offset, uint32_t value);

    // The 12-character name, trailing blanks dropped.
    std::string Name() const;
    void SetName(std::string_view name);

    // The block as it travels (3 bytes a word), and back; XEnsoniqInvalidSize
    // when the bytes are not this block's length.
    std::vector<uint8_t> Encode() const;
    void Decode(const std::vector<uint8_t>& bytes);
    size_t EncodedLength() const { return words_.size() * 3; }

protected:
    explicit CEnsoniqParameters(uint16_t words) : words_(words, 0) {}

private:
    std::vector<uint16_t> words_;
};

class CEnsoniqInstrumentParameters : public CEnsoniqParameters {
public:
    CEnsoniqInstrumentParameters();
};

class CEnsoniqLayerParameters : public CEnsoniqParameters {
public:
    static constexpr const char* kNewLayerName = "UNNAMEDLAYER";
    CEnsoniqLayerParameters();

    // The wave a key plays (0 for none); keys outside the map play none.
    uint8_t WaveAtKey(int key) const;
    void SetWaveAtKey(int key, uint8_t wave);
    // Every wave the map names, ascending.
    std::vector<uint32_t> MappedWaves() const;
    // The lowest wave number the map does not name.
    std::optional<uint32_t> FirstFreeWave() const;
    virtual bool CanHoldStereo() const { return false; }
};

class CEPS16LayerParameters : public CEnsoniqLayerParameters {
public:
    CEPS16LayerParameters() = default;
};

class CASR10LayerParameters : public CEPS16LayerParameters {
public:
    bool CanHoldStereo() const override { return (Word(ensoniq::layer::kStereoWord) & 1) != 0; }
    void SetStereo(bool stereo);
};

class CEnsoniqWaveParameters : public CEnsoniqParameters {
public:
    // The wave's fields from `info` (already adapted to the model).
    virtual void FromSampleInfo(const SampleInfo& info);
    virtual SampleInfo ToSampleInfo() const;
    virtual uint8_t Channels() const { return 1; }

protected:
    CEnsoniqWaveParameters();
};

class CEPSWaveParameters : public CEnsoniqWaveParameters {
public:
    CEPSWaveParameters() = default;
};

class CEPS16WaveParameters : public CEnsoniqWaveParameters {
public:
    CEPS16WaveParameters() = default;
    void FromSampleInfo(const SampleInfo& info) override;
    uint8_t Channels() const override { return High(ensoniq::wave::kChannels) == 2 ? 2 : 1; }
};

} // namespace quorvel
