#pragma once
// A program: a 48-byte common part and up to 32 layers of 224 bytes, each
// a run of tagged segments at fixed places. Only what a sliced loop needs
// is interpreted (the layer's keymap and key range); everything else goes
// back to the sampler as it came from a template.
#include <array>
#include <vector>

#include "samplers/kurzweil/KurzweilObject.h"

namespace quorvel {

class CK2000Program : public CKurzweilObject {
public:
    static constexpr size_t kCommonSize = 48;
    static constexpr size_t kLayerSize = 224;
    static constexpr size_t kMostLayers = 32;
    static constexpr uint16_t kLowestId = 1;
    static constexpr uint16_t kHighestId = 999;

    using Common = std::array<uint8_t, kCommonSize>;
    using Layer = std::array<uint8_t, kLayerSize>;

    // A new program with default values and one layer over the whole keyboard.
    explicit CK2000Program(uint16_t id = 0, std::string name = {});

    size_t BodySize() const override { return kCommonSize + kLayerSize * layers_.size(); }
    size_t WriteBody(std::span<uint8_t> buffer) const override;
    size_t MaxBodySize() const override { return kCommonSize + kLayerSize * kMostLayers; }
    void ReadBody(std::span<const uint8_t> body) override;

    static Common DefaultCommon();
    static Layer DefaultLayer();

    const Common& CommonPart() const { return common_; }
    Common& CommonPart() { return common_; }
    const std::vector<Layer>& Layers() const { return layers_; }
    std::vector<Layer>& Layers() { return layers_; }

    // The first keymap a layer plays.
    static uint16_t KeymapOf(const Layer& layer);
    static void SetKeymap(Layer& layer, uint16_t keymap);
    // The keys a layer answers, lowest and highest.
    static std::pair<uint8_t, uint8_t> KeyRange(const Layer& layer);

private:
    Common common_;
    std::vector<Layer> layers_;
};

} // namespace quorvel
