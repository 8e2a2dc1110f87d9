#pragma once
// The ALSA card family: every PCM playback device the library lists. Its
// channel keeps the device's queue at the selected latency from a service
// thread that wakes eight times per latency period and tops up what played.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "playback/SoundCardRegistry.h"

typedef struct _snd_pcm snd_pcm_t;

namespace quorvel {

class CRegisteredAlsaSoundCard : public CRegisteredSoundCard {
public:
    static constexpr const char* kType = "ALSA";

    // The name is the PCM name used to open the device, the driver text its
    // description. Usable when it opens for 44100 Hz stereo 16-bit.
    CRegisteredAlsaSoundCard(const std::string& pcmName, const std::string& description);

    static bool CanPlayStereo16(const std::string& pcmName);

    std::unique_ptr<CSoundChannel> CreateChannel(int32_t outputRate, CABCSoundRenderer* first,
                                                 CABCSoundRenderer* second,
                                                 uint16_t channelCount) const override;
};

// Appends a card for every PCM playback device; ZDS_FAILED_ENUMERATING_CARDS_EXCEPTION
// when the device list cannot be read. The discarding "null" PCM is left out.
void RegisterAlsaCards(CSoundCardRegistry& registry);

class CAlsaSoundChannel : public CSoundChannel {
public:
    static constexpr int32_t kBufferFrames = 16384;
    static constexpr uint16_t kLatencyCount = 18;
    // The smallest setting of at least 40 ms: quick enough to audition
    // slices, with room for an ordinary desktop's scheduling. The same index
    // at both rates (the tables check it).
    static constexpr uint16_t kDefaultLatency = 5;
    static constexpr int32_t kDefaultLatencyFloorMs = 40;

    // XBase for an output rate other than 44100 or 48000 Hz; the Z ones
    // when the device cannot be opened or set up.
    CAlsaSoundChannel(const CRegisteredSoundCard& card, const std::string& pcmName, int32_t outputRate,
                      CABCSoundRenderer* first, CABCSoundRenderer* second, uint16_t channelCount);
    ~CAlsaSoundChannel() override;

    void Start() override;
    void Stop() override;
    bool IsRunning() const override { return running_; }
    uint16_t LatencyCount() const override { return kLatencyCount; }
    void SelectLatency(uint16_t index) override;
    uint16_t SelectedLatency() const override { return latency_; }
    int32_t LatencyMs(uint16_t index) const override;
    uint32_t UnderrunCount() const override { return underruns_; }

    int32_t LatencyFrames(uint16_t index) const;
    // The settings for an output rate of 44100 or 48000 Hz (others: 0).
    static int32_t TableFrames(int32_t outputRate, uint16_t index);
    static int32_t TableMs(int32_t outputRate, uint16_t index);
    // Frames handed to the renderers since construction.
    int64_t FramesRendered() const { return framesRendered_; }

private:
    void ServiceLoop();
    void ServiceStep();
    void Fill(int32_t frames);

    snd_pcm_t* pcm_ = nullptr;
    int64_t deviceBufferFrames_ = 0;
    const int32_t* latencyFrames_;
    const int32_t* latencyMs_;
    std::vector<int16_t> scratch_;
    std::atomic<bool> running_{false};
    std::atomic<uint16_t> latency_{kDefaultLatency};
    std::atomic<uint32_t> underruns_{0};
    std::atomic<int64_t> framesRendered_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    std::thread thread_;
};

} // namespace quorvel
