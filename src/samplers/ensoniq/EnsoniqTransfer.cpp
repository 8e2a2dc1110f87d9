#include "samplers/ensoniq/EnsoniqTransfer.h"

#include <algorithm>

#include "samplers/ensoniq/EnsoniqExceptions.h"

namespace quorvel {

using namespace ensoniq;

uint32_t ensoniq::ClampChunkFrames(int64_t wanted)
{
    if (wanted <= 0)
        return kDefaultChunkFrames;
    return static_cast<uint32_t>(std::clamp<int64_t>(wanted, kSmallestChunkFrames, kLargestChunkFrames));
}

uint32_t ensoniq::FindLayer(CEnsoniqLink& link, uint32_t instrument, uint32_t wave)
{
    for (uint32_t layer = 0; layer < kLayersPerInstrument; ++layer) {
        CEnsoniqLayerParameters block;
        try {
            link.ReadParameters(kGetLayer, kPutLayer, {instrument, layer, 1}, block);
        } catch (const XEnsoniqInvalidTarget&) {
            continue;
        } catch (const XEnsoniqInvalidSize&) {
            // Another model's layer block: its map cannot be read here.
            return 0;
        }
        const std::vector<uint32_t> waves = block.MappedWaves();
        if (std::find(waves.begin(), waves.end(), wave) != waves.end())
            return layer;
    }
    return 0;
}

CEnsoniqSampleTransmitter::CEnsoniqSampleTransmitter(CEnsoniqLink& link,
                                                     std::unique_ptr<CEnsoniqLayerParameters> layerBlock,
                                                     std::unique_ptr<CEnsoniqWaveParameters> waveBlock,
                                                     uint32_t instrument, uint32_t layer, bool stereo)
    : link_(link), layerBlock_(std::move(layerBlock)), waveBlock_(std::move(waveBlock)), instrument_(instrument),
      layer_(layer), stereo_(stereo)
{
    // The layer first, to learn which wave number is free.
    link_.ReadParameters(kGetLayer, kPutLayer, {instrument_, layer_, 1}, *layerBlock_);
    if (stereo_ && !layerBlock_->CanHoldStereo())
        throw XASR10LayerIsNotStereo();
    const std::optional<uint32_t> free = layerBlock_->FirstFreeWave();
    if (!free)
        throw XEnsoniqAllWavesUsedUp();
    wave_ = *free;
    try {
        link_.Command(kCreateWave, {instrument_, layer_, wave_});
    } catch (const XEnsoniqWaveInUse&) {
        // A wave no key plays yet, such as the one a new layer comes with:
        // it is taken over.
    } catch (const XEnsoniqNoMoreWaves&) {
        throw XEnsoniqAllWavesUsedUp();
    }
    SetResultSampleNumber(SampleNumberOf(instrument_, wave_));
}

CEnsoniqSampleTransmitter::~CEnsoniqSampleTransmitter()
{
    if (finished_)
        return;
    StopQuietly();
    // Half a wave is no use to anyone.
    try {
        link_.Command(kDeleteWave, {instrument_, layer_, wave_});
    } catch (...) {
    }
    link_.DelayNextSend(kCleanUpHoldMs);
}

void CEnsoniqSampleTransmitter::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument)
{
    if (info.channelCount == 2 && !stereo_)
        throw XSampleLocationCannotHoldStereo();
    info_ = info;
    wordsPerFrame_ = info.channelCount == 2 ? 2 : 1;
    wordsPerFrame = 1;
    Activate(ClampChunkFrames(argument));
}

void CEnsoniqSampleTransmitter::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    if (frames > 0) {
        if (!samples.narrow)
            throw XSamplerException();
        link_.WriteWaveData(instrument_, wave_, FramesDone(), frames, wordsPerFrame_, samples.narrow);
        AdvanceDone(frames);
    }
    if (FramesDone() >= FramesTotal()) {
        WriteParameters();
        finished_ = true;
        FinishTransmission();
    }
}

void CEnsoniqSampleTransmitter::WriteParameters()
{
    // The sampler's own settings of the new wave (envelopes, filters) stay
    // as they are; a block that cannot be read starts from the defaults.
    try {
        link_.ReadParameters(kGetWave, kPutWave, {instrument_, 0, wave_}, *waveBlock_);
    } catch (const XEnsoniqException&) {
    } catch (const XEnsoniqInvalidSize&) {
    }
    waveBlock_->FromSampleInfo(info_);
    link_.WriteParameters(kPutWave, {instrument_, layer_, wave_}, *waveBlock_);
    // The wave plays on its key range, or on its root key.
    const bool keysGiven = info_.keyByte2 != 0 || info_.keyByte3 != 0;
    const int low = keysGiven ? info_.keyByte2 : info_.rootKey;
    const int high = keysGiven ? info_.keyByte3 : info_.rootKey;
    for (int key = low; key <= high; ++key)
        layerBlock_->SetWaveAtKey(key, static_cast<uint8_t>(wave_));
    link_.WriteParameters(kPutLayer, {instrument_, layer_, 1}, *layerBlock_);
}

void CEnsoniqSampleTransmitter::AbortTransmission()
{
    try {
        link_.SendCancel();
    } catch (...) {
        FinishTransmission();
        throw;
    }
    FinishTransmission();
}

CEnsoniqSampleReceiver::CEnsoniqSampleReceiver(CEnsoniqLink& link, std::unique_ptr<CEnsoniqWaveParameters> waveBlock,
                                               int32_t sampleNumber, int32_t channels)
    : link_(link), waveBlock_(std::move(waveBlock)), number_(sampleNumber), channels_(channels)
{
}

CEnsoniqSampleReceiver::~CEnsoniqSampleReceiver() { StopQuietly(); }

void CEnsoniqSampleReceiver::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    if (!IsWaveNumber(number_))
        throw XSampleDoesNotExist();
    const uint32_t instrument = InstrumentOf(number_);
    const uint32_t wave = WaveOf(number_);
    try {
        link_.ReadParameters(kGetWave, kPutWave, {instrument, 0, wave}, *waveBlock_);
    } catch (const XEnsoniqInvalidTarget&) {
        throw XSampleDoesNotExist();
    }
    address_ = {instrument, FindLayer(link_, instrument, wave), wave};
    storedChannels_ = waveBlock_->Channels();
    info = waveBlock_->ToSampleInfo();
    if (channels_ != kAsStored)
        info.channelCount = 1;
    wordsPerFrame = 1;
    SetChunkSize(ClampChunkFrames(argument));
    StartReception(info.length);
    if (info.length == 0)
        FinishReception();
}

SSampleWords CEnsoniqSampleReceiver::ReceiveChunk(uint32_t frames)
{
    words_ = link_.ReadWaveData(address_, FramesDone(), frames, storedChannels_);
    if (storedChannels_ == 2 && channels_ != kAsStored) {
        for (uint32_t k = 0; k < frames; ++k) {
            const int32_t left = words_[2 * k];
            const int32_t right = words_[2 * k + 1];
            words_[k] = static_cast<int16_t>(channels_ == kLeft    ? left
                                             : channels_ == kRight ? right
                                                                   : (left + right) / 2);
        }
        words_.resize(frames);
    }
    AddDone(frames);
    if (FramesDone() >= FramesTotal())
        FinishReception();
    return SSampleWords(words_.data());
}

void CEnsoniqSampleReceiver::AbortReception()
{
    FinishReception();
    link_.SendCancel();
}

} // namespace quorvel
