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

    // Value `index` of the field `name`; XEnsoniqInvalidParameter for a
    // field the model's block does not have.
    uint32_t Get(std::string_view name, uint16_t index = 0) const;
    void Set(std::string_view name, uint32_t value, uint16_t index = 0);
    bool Has(std::string_view name) const;

    // The 12-character name, trailing blanks dropped.
    std::string Name() const;
    void SetName(std::string_view name);

    // The block as it travels, and back; XEnsoniqInvalidSize when the bytes
    // are not this block's length.
    std::vector<uint8_t> Encode() const;
    void Decode(const std::vector<uint8_t>& bytes);
    size_t EncodedLength() const;

protected:
    explicit CEnsoniqParameters(const std::vector<ensoniq::SField>& layout);

private:
    // Where the run of `name` starts among the values, and its field.
    const ensoniq::SField& Find(std::string_view name, size_t& first) const;

    const std::vector<ensoniq::SField>& layout_;
    std::vector<uint32_t> values_;
};

// A block with a wave table: which layer holds each wave.
class CEnsoniqWaveTable : public CEnsoniqParameters {
public:
    // 0 for a free wave, else the holding layer plus 1.
    uint32_t WaveOwner(uint32_t wave) const { return Get("WAVES", static_cast<uint16_t>(wave)); }
    void SetWaveOwner(uint32_t wave, uint32_t owner) { Set("WAVES", owner, static_cast<uint16_t>(wave)); }
    std::optional<uint32_t> FirstFreeWave() const;
    std::vector<uint32_t> UsedWaves() const;

protected:
    using CEnsoniqParameters::CEnsoniqParameters;
};

class CEnsoniqInstrumentParameters : public CEnsoniqWaveTable {
public:
    CEnsoniqInstrumentParameters();
};

class CEnsoniqLayerParameters : public CEnsoniqWaveTable {
public:
    static constexpr const char* kNewLayerName = "UNNAMEDLAYER";
    CEnsoniqLayerParameters();
    virtual bool CanHoldStereo() const { return false; }

protected:
    explicit CEnsoniqLayerParameters(const std::vector<ensoniq::SField>& layout);
};

class CEPS16LayerParameters : public CEnsoniqLayerParameters {
public:
    CEPS16LayerParameters();

protected:
    using CEnsoniqLayerParameters::CEnsoniqLayerParameters;
};

class CASR10LayerParameters : public CEPS16LayerParameters {
public:
    CASR10LayerParameters();
    bool CanHoldStereo() const override { return Get("STEREO") != 0; }
};

class CEnsoniqWaveParameters : public CEnsoniqParameters {
public:
    // The wave's fields from `info` (already adapted to the model).
    virtual void FromSampleInfo(const SampleInfo& info);
    virtual SampleInfo ToSampleInfo() const;
    virtual uint8_t Channels() const { return 1; }

protected:
    using CEnsoniqParameters::CEnsoniqParameters;
};

class CEPSWaveParameters : public CEnsoniqWaveParameters {
public:
    CEPSWaveParameters();
};

class CEPS16WaveParameters : public CEnsoniqWaveParameters {
public:
    CEPS16WaveParameters();
    void FromSampleInfo(const SampleInfo& info) override;
    uint8_t Channels() const override { return Get("CHANNELS") == 2 ? 2 : 1; }
};

} // namespace quorvel
