#include "samplers/kurzweil/K2000Program.h"

#include <algorithm>

#include "fileformats/ByteOrder.h"
#include "samplers/kurzweil/K2000ProgramLayout.h"
#include "samplers/kurzweil/KurzweilExceptions.h"

namespace quorvel {

using namespace k2000layout;

namespace {

constexpr uint8_t kHighestKey = 127;
constexpr uint8_t kHighestVelocityLevel = 7;

} // namespace

CK2000Program::CK2000Program(uint16_t id, std::string name)
    : CKurzweilObject(EKurzweilObjectType::Program, id, std::move(name)), common_(DefaultCommon()),
      layers_(1, DefaultLayer())
{
}

CK2000Program::Common CK2000Program::DefaultCommon()
{
    Common common{};
    common[kProgramTagAt] = kProgramTag;
    common[kProgramFormatAt] = kProgramFormat;
    common[kLayerCountAt] = 1;
    common[kProgramFlagsAt] = kDefaultProgramFlags;
    std::copy(kDefaultProgramSettings.begin(), kDefaultProgramSettings.end(), common.begin() + kProgramSettingsAt);
    common[kEffectsTagAt] = kEffectsTag;
    return common;
}

CK2000Program::Layer CK2000Program::DefaultLayer()
{
    Layer layer{};
    layer[kLayerSegment.at] = kLayerSegment.tag;
    layer[kLowKeyAt] = 0;
    layer[kHighKeyAt] = kHighestKey;
    layer[kHighVelocityLevelAt] = kHighestVelocityLevel;
    for (const SSegment& segment : kLayerSegments)
        layer[segment.at] = segment.tag;
    return layer;
}

size_t CK2000Program::WriteBody(std::span<uint8_t> buffer) const
{
    const size_t size = BodySize();
    if (layers_.empty() || layers_.size() > kMostLayers || buffer.size() < size)
        throw XK2000InvalidFormat();
    Common common = common_;
    common[kLayerCountAt] = static_cast<uint8_t>(layers_.size());
    uint8_t* out = std::copy(common.begin(), common.end(), buffer.data());
    for (const Layer& layer : layers_)
        out = std::copy(layer.begin(), layer.end(), out);
    return size;
}

void CK2000Program::ReadBody(std::span<const uint8_t> body)
{
    if (body.size() < kCommonSize)
        throw XK2000InvalidFormat();
    if (body[kProgramTagAt] != kProgramTag || body[kEffectsTagAt] != kEffectsTag)
        throw XK2000InvalidTag();
    const size_t count = body[kLayerCountAt];
    if (count == 0 || count > kMostLayers || body.size() < kCommonSize + kLayerSize * count)
        throw XK2000InvalidFormat();
    std::vector<Layer> layers(count);
    for (size_t n = 0; n < count; ++n) {
        const uint8_t* in = body.data() + kCommonSize + kLayerSize * n;
        for (const SSegment& segment : kLayerSegments)
            if (in[segment.at] != segment.tag)
                throw XK2000InvalidTag();
        std::copy(in, in + kLayerSize, layers[n].begin());
    }
    std::copy(body.begin(), body.begin() + kCommonSize, common_.begin());
    layers_ = std::move(layers);
}

uint16_t CK2000Program::KeymapOf(const Layer& layer) { return GetBE16(layer.data() + kFirstKeymapAt); }

void CK2000Program::SetKeymap(Layer& layer, uint16_t keymap) { PutBE16(layer.data() + kFirstKeymapAt, keymap); }

std::pair<uint8_t, uint8_t> CK2000Program::KeyRange(const Layer& layer)
{
    return {layer[kLowKeyAt], layer[kHighKeyAt]};
}

} // namespace quorvel
