#pragma once
// Sample words to and from a wave of an instrument, a chunk at a time.
#include <cstdint>
#include <memory>
#include <vector>

#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"
#include "samplers/ensoniq/EnsoniqLink.h"
#include "samplers/ensoniq/EnsoniqParameters.h"

namespace quorvel {

namespace ensoniq {
constexpr uint32_t kSmallestChunkFrames = 256;
constexpr uint32_t kLargestChunkFrames = 4096;
constexpr uint32_t kDefaultChunkFrames = 2048;
// A wanted chunk size brought into what one wave data message may carry;
// 0 or less asks for the default.
uint32_t ClampChunkFrames(int64_t wanted);
// The layer whose key map plays `wave`; 0 when none does.
uint32_t FindLayer(CEnsoniqLink& link, uint32_t instrument, uint32_t wave);
} // namespace ensoniq

class CEnsoniqSampleTransmitter : public CABCSampleTransmitter {
public:
    static constexpr uint32_t kCleanUpHoldMs = 1000;

    // Reads layer `layer` of `instrument` into `layerBlock` and makes its
    // first free wave (command 25).
    // XEnsoniqAllWavesUsedUp when none is free; XASR10LayerIsNotStereo when
    // `stereo` and the layer cannot hold a stereo wave.
    CEnsoniqSampleTransmitter(CEnsoniqLink& link, std::unique_ptr<CEnsoniqLayerParameters> layerBlock,
                              std::unique_ptr<CEnsoniqWaveParameters> waveBlock, uint32_t instrument, uint32_t layer,
                              bool stereo);
    // Unfinished, the wave goes again and the next send waits a second.
    ~CEnsoniqSampleTransmitter() override;

    // `argument`: the chunk size wanted in frames (0 for the default).
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;
    void AbortTransmission() override;

    uint32_t Wave() const { return wave_; }

private:
    void WriteParameters();

    CEnsoniqLink& link_;
    std::unique_ptr<CEnsoniqLayerParameters> layerBlock_;
    std::unique_ptr<CEnsoniqWaveParameters> waveBlock_;
    uint32_t instrument_;
    uint32_t layer_;
    bool stereo_;
    uint32_t wave_ = 0;
    uint32_t wordsPerFrame_ = 1;
    SampleInfo info_;
    bool finished_ = false;
};

class CEnsoniqSampleReceiver : public CABCSampleReceiver {
public:
    // Which words of a stereo wave come back: both interleaved, or one side
    // or their mix as mono.
    enum EChannels : int32_t { kAsStored = 0, kLeft = 1, kMix = 2, kRight = 3 };

    CEnsoniqSampleReceiver(CEnsoniqLink& link, std::unique_ptr<CEnsoniqWaveParameters> waveBlock,
                           int32_t sampleNumber, int32_t channels = kAsStored);
    ~CEnsoniqSampleReceiver() override;

    // Reads the wave's parameters, finds its layer.
    // XSampleDoesNotExist when there is no such wave. `argument`: the chunk
    // size wanted in frames.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    SSampleWords ReceiveChunk(uint32_t frames) override;
    void AbortReception() override;

private:
    CEnsoniqLink& link_;
    std::unique_ptr<CEnsoniqWaveParameters> waveBlock_;
    int32_t number_;
    int32_t channels_;
    ensoniq::SAddress address_;
    uint32_t storedChannels_ = 1;
    std::vector<int16_t> words_;
};

} // namespace quorvel
