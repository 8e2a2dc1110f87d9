#include "playback/AlsaSoundCard.h"

#include <alsa/asoundlib.h>
#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace quorvel {

namespace {

constexpr int32_t kFrames44100[CAlsaSoundChannel::kLatencyCount] = {
    441, 661, 882, 1102, 1323, 1764, 2205, 2646, 3087, 3969, 4410, 5292, 6174, 7938, 8820, 11025, 13230, 15435};
constexpr int32_t kMs44100[CAlsaSoundChannel::kLatencyCount] = {
    10, 15, 20, 25, 30, 40, 50, 60, 70, 90, 100, 120, 140, 180, 200, 250, 300, 350};
constexpr int32_t kFrames48000[CAlsaSoundChannel::kLatencyCount] = {
    480, 720, 960, 1200, 1440, 1920, 2400, 2880, 3360, 4320, 4800, 5280, 5760, 6720, 8640, 9600, 12000, 14400};
constexpr int32_t kMs48000[CAlsaSoundChannel::kLatencyCount] = {
    10, 15, 20, 25, 30, 40, 50, 60, 70, 90, 100, 110, 120, 140, 180, 200, 250, 300};

constexpr bool IsDefaultOf(const int32_t (&table)[CAlsaSoundChannel::kLatencyCount])
{
    constexpr uint16_t index = CAlsaSoundChannel::kDefaultLatency;
    return table[index] >= CAlsaSoundChannel::kDefaultLatencyFloorMs &&
           (index == 0 || table[index - 1] < CAlsaSoundChannel::kDefaultLatencyFloorMs);
}
static_assert(IsDefaultOf(kMs44100) && IsDefaultOf(kMs48000));

// Opens without blocking on a busy device; nullptr when it will not open.
snd_pcm_t* OpenPcm(const std::string& name)
{
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    return pcm;
}

// Interleaved S16 at exactly `rate`, with a buffer that holds the longest
// latency setting. Returns the buffer size granted, or a negative error.
snd_pcm_sframes_t Configure(snd_pcm_t* pcm, unsigned rate, unsigned channels)
{
    snd_pcm_hw_params_t* hw;
    snd_pcm_hw_params_alloca(&hw);
    int err = snd_pcm_hw_params_any(pcm, hw);
    if (err >= 0)
        err = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED);
    if (err >= 0)
        err = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16);
    if (err >= 0)
        err = snd_pcm_hw_params_set_channels(pcm, hw, channels);
    if (err >= 0)
        err = snd_pcm_hw_params_set_rate(pcm, hw, rate, 0);
    if (err < 0)
        return err;
    snd_pcm_uframes_t buffer = CAlsaSoundChannel::kBufferFrames;
    snd_pcm_hw_params_set_buffer_size_near(pcm, hw, &buffer);
    // Short periods keep the reported queue fine-grained for the top-ups.
    snd_pcm_uframes_t period = rate / 100;
    snd_pcm_hw_params_set_period_size_near(pcm, hw, &period, nullptr);
    if ((err = snd_pcm_hw_params(pcm, hw)) < 0)
        return err;
    snd_pcm_hw_params_get_buffer_size(hw, &buffer);

    snd_pcm_sw_params_t* sw;
    snd_pcm_sw_params_alloca(&sw);
    err = snd_pcm_sw_params_current(pcm, sw);
    if (err >= 0)
        err = snd_pcm_sw_params_set_start_threshold(pcm, sw, 1);
    if (err >= 0)
        err = snd_pcm_sw_params(pcm, sw);
    if (err < 0)
        return err;
    return static_cast<snd_pcm_sframes_t>(buffer);
}

std::string FirstLine(const char* text)
{
    std::string line = text ? text : "";
    return line.substr(0, line.find('\n'));
}

} // namespace

CRegisteredAlsaSoundCard::CRegisteredAlsaSoundCard(const std::string& pcmName, const std::string& description)
    : CRegisteredSoundCard(kType, pcmName, description, CanPlayStereo16(pcmName))
{
}

namespace {

void IgnoreLibraryError(const char*, int, const char*, int, const char*, ...) {}

} // namespace

bool CRegisteredAlsaSoundCard::CanPlayStereo16(const std::string& pcmName)
{
    // Devices that are absent or busy are expected here; the library would
    // print a complaint for each.
    snd_lib_error_set_handler(IgnoreLibraryError);
    snd_pcm_t* pcm = OpenPcm(pcmName);
    const bool usable = pcm && Configure(pcm, 44100, 2) > 0;
    if (pcm)
        snd_pcm_close(pcm);
    snd_lib_error_set_handler(nullptr);
    return usable;
}

std::unique_ptr<CSoundChannel> CRegisteredAlsaSoundCard::CreateChannel(int32_t outputRate,
                                                                       CABCSoundRenderer* first,
                                                                       CABCSoundRenderer* second,
                                                                       uint16_t channelCount) const
{
    return std::make_unique<CAlsaSoundChannel>(*this, Name(), outputRate, first, second, channelCount);
}

void RegisterAlsaCards(CSoundCardRegistry& registry)
{
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0 || !hints)
        throw ZDS_FAILED_ENUMERATING_CARDS_EXCEPTION();
    for (void** hint = hints; *hint; ++hint) {
        char* name = snd_device_name_get_hint(*hint, "NAME");
        char* description = snd_device_name_get_hint(*hint, "DESC");
        char* direction = snd_device_name_get_hint(*hint, "IOID");
        // No direction means both.
        const bool playback = !direction || std::string(direction) == "Output";
        if (name && playback && std::string(name) != "null")
            registry.Append(std::make_unique<CRegisteredAlsaSoundCard>(name, FirstLine(description)));
        std::free(name);
        std::free(description);
        std::free(direction);
    }
    snd_device_name_free_hint(hints);
}

CAlsaSoundChannel::CAlsaSoundChannel(const CRegisteredSoundCard& card, const std::string& pcmName,
                                     int32_t outputRate, CABCSoundRenderer* first, CABCSoundRenderer* second,
                                     uint16_t channelCount)
    : CSoundChannel(card, kBufferFrames, outputRate, first, second, channelCount)
{
    if (outputRate == 44100) {
        latencyFrames_ = kFrames44100;
        latencyMs_ = kMs44100;
    } else if (outputRate == 48000) {
        latencyFrames_ = kFrames48000;
        latencyMs_ = kMs48000;
    } else {
        throw XBase();
    }
    pcm_ = OpenPcm(pcmName);
    if (!pcm_)
        throw ZDS_DIRECT_SOUND_CREATE_FAILED_EXCEPTION();
    deviceBufferFrames_ = Configure(pcm_, static_cast<unsigned>(outputRate), channelCount);
    if (deviceBufferFrames_ <= 0) {
        snd_pcm_close(pcm_);
        throw ZDS_SET_FORMAT_PRIMARY_FAILED_EXCEPTION();
    }
    scratch_.resize(static_cast<size_t>(kBufferFrames) * channelCount);
}

CAlsaSoundChannel::~CAlsaSoundChannel()
{
    Stop();
    snd_pcm_close(pcm_);
}

void CAlsaSoundChannel::SelectLatency(uint16_t index)
{
    latency_ = std::min<uint16_t>(index, kLatencyCount - 1);
}

int32_t CAlsaSoundChannel::LatencyMs(uint16_t index) const
{
    return latencyMs_[std::min<uint16_t>(index, kLatencyCount - 1)];
}

int32_t CAlsaSoundChannel::LatencyFrames(uint16_t index) const
{
    return latencyFrames_[std::min<uint16_t>(index, kLatencyCount - 1)];
}

int32_t CAlsaSoundChannel::TableFrames(int32_t outputRate, uint16_t index)
{
    index = std::min<uint16_t>(index, kLatencyCount - 1);
    return outputRate == 44100 ? kFrames44100[index] : outputRate == 48000 ? kFrames48000[index] : 0;
}

int32_t CAlsaSoundChannel::TableMs(int32_t outputRate, uint16_t index)
{
    index = std::min<uint16_t>(index, kLatencyCount - 1);
    return outputRate == 44100 ? kMs44100[index] : outputRate == 48000 ? kMs48000[index] : 0;
}

void CAlsaSoundChannel::Start()
{
    if (running_)
        return;
    snd_pcm_drop(pcm_);
    if (snd_pcm_prepare(pcm_) < 0)
        throw ZDIRECT_SOUND_EXCEPTION();
    underruns_ = 0;
    Fill(LatencyFrames(latency_));
    stopRequested_ = false;
    running_ = true;
    thread_ = std::thread(&CAlsaSoundChannel::ServiceLoop, this);
    // The top-ups must not wait behind ordinary work; without the right to
    // real-time scheduling the thread simply runs at normal priority.
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    pthread_setschedparam(thread_.native_handle(), SCHED_FIFO, &param);
}

void CAlsaSoundChannel::Stop()
{
    if (!running_)
        return;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
    running_ = false;
    snd_pcm_drop(pcm_);
}

void CAlsaSoundChannel::ServiceLoop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        lock.unlock();
        try {
            ServiceStep();
        } catch (const XBase&) {
            // A device that refuses one top-up may accept the next.
        }
        lock.lock();
        const auto wait = std::chrono::milliseconds(
            std::max<int64_t>(1, int64_t{LatencyFrames(latency_)} * 1000 / (int64_t{OutputRate()} * 8)));
        if (wake_.wait_for(lock, wait, [this] { return stopRequested_; }))
            return;
    }
}

void CAlsaSoundChannel::ServiceStep()
{
    bool ranDry = false;
    snd_pcm_sframes_t avail = snd_pcm_avail(pcm_);
    if (avail == -EPIPE || avail == -ESTRPIPE) {
        ranDry = true;
        if (snd_pcm_recover(pcm_, static_cast<int>(avail), 1) < 0)
            throw ZDIRECT_SOUND_EXCEPTION();
        avail = snd_pcm_avail(pcm_);
    }
    if (avail < 0)
        throw ZDIRECT_SOUND_EXCEPTION();
    const int64_t ahead = deviceBufferFrames_ - std::min<int64_t>(avail, deviceBufferFrames_);
    if (ahead <= 0)
        ranDry = true;
    if (ranDry)
        ++underruns_;
    const int32_t latency = LatencyFrames(latency_);
    const int64_t wanted = std::min<int64_t>(std::max<int64_t>(latency - ahead, 0), avail);
    if (wanted >= latency / 8 && wanted > 0)
        Fill(static_cast<int32_t>(wanted));
}

void CAlsaSoundChannel::Fill(int32_t frames)
{
    frames = std::min(frames, kBufferFrames);
    RenderStretch(scratch_.data(), frames);
    framesRendered_ += frames;
    const int16_t* from = scratch_.data();
    bool recovered = false;
    while (frames > 0) {
        snd_pcm_sframes_t done = snd_pcm_writei(pcm_, from, static_cast<snd_pcm_uframes_t>(frames));
        if (done == -EAGAIN)
            return; // the device is fuller than it said; the rest is dropped
        if ((done == -EPIPE || done == -ESTRPIPE) && !recovered) {
            ++underruns_;
            recovered = true;
            if (snd_pcm_recover(pcm_, static_cast<int>(done), 1) < 0)
                throw ZDIRECT_SOUND_EXCEPTION();
            continue;
        }
        if (done < 0)
            throw ZDIRECT_SOUND_EXCEPTION();
        from += done * ChannelCount();
        frames -= static_cast<int32_t>(done);
    }
}

} // namespace quorvel
