#include "samplers/yamaha/A3000StereoReceiver.h"

#include <algorithm>

#include "samplers/SamplerExceptions.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel {

namespace {

std::vector<int16_t> ReceiveAll(CABCSampleReceiver& receiver, SampleInfo& info, int32_t argument)
{
    int32_t perFrame = 0;
    receiver.BeginReception(info, argument, perFrame);
    if (perFrame != 1)
        throw XSamplerException();
    std::vector<int16_t> words;
    uint32_t frames = 0;
    SSampleWords chunk;
    while (receiver.ReceiveNext(frames, chunk))
        words.insert(words.end(), chunk.narrow, chunk.narrow + frames);
    return words;
}

} // namespace

CA3000MixReceiver::CA3000MixReceiver(std::unique_ptr<CABCSampleReceiver> left,
                                     std::unique_ptr<CABCSampleReceiver> right, std::string name)
    : left_(std::move(left)), right_(std::move(right)), name_(std::move(name))
{
}

void CA3000MixReceiver::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    SampleInfo rightInfo;
    const std::vector<int16_t> left = ReceiveAll(*left_, info, argument);
    const std::vector<int16_t> right = ReceiveAll(*right_, rightInfo, argument);
    mixed_.assign(std::max(left.size(), right.size()), 0);
    for (size_t i = 0; i < mixed_.size(); ++i) {
        const int l = i < left.size() ? left[i] : 0;
        const int r = i < right.size() ? right[i] : 0;
        mixed_[i] = static_cast<int16_t>((l + r) / 2);
    }
    info.SetName(name_);
    info.length = static_cast<uint32_t>(mixed_.size());
    info.playEnd = std::min(std::max(info.playEnd, rightInfo.playEnd), info.length);
    wordsPerFrame = 1;
    SetChunkSize(a3000::kChunkFrames);
    StartReception(info.length);
    if (info.length == 0)
        FinishReception();
}

SSampleWords CA3000MixReceiver::ReceiveChunk(uint32_t frames)
{
    const int16_t* at = mixed_.data() + FramesDone();
    AddDone(frames);
    if (FramesDone() >= FramesTotal())
        FinishReception();
    return SSampleWords(at);
}

} // namespace quorvel
