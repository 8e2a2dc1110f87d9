#pragma once
// A sound channel keeps a stream of 16-bit frames flowing to one output by
// asking its renderers for more whenever the output runs low. Renderers are
// called on the channel's own service thread (or on the thread that calls
// Start, for the first fill), never concurrently with each other.
#include <cstdint>
#include <cstring>

#include "framework/XBase.h"

namespace quorvel {

// Sound-card failures. The channel families raise the more specific ones.
QUORVEL_EXCEPTION(ZSOUND_EXCEPTION, XBase);
// ALSA card family: a device that cannot be listed, opened, configured or fed.
QUORVEL_EXCEPTION(ZDIRECT_SOUND_EXCEPTION, ZSOUND_EXCEPTION);
QUORVEL_EXCEPTION(ZDS_NOT_INSTALLED_EXCEPTION, ZDIRECT_SOUND_EXCEPTION);
QUORVEL_EXCEPTION(ZDS_FAILED_ENUMERATING_CARDS_EXCEPTION, ZDIRECT_SOUND_EXCEPTION);
QUORVEL_EXCEPTION(ZDS_DIRECT_SOUND_CREATE_FAILED_EXCEPTION, ZDIRECT_SOUND_EXCEPTION);
QUORVEL_EXCEPTION(ZDS_SET_FORMAT_PRIMARY_FAILED_EXCEPTION, ZDIRECT_SOUND_EXCEPTION);
// Null card family: the capture file cannot be written.
QUORVEL_EXCEPTION(ZMME_SOUND_EXCEPTION, ZSOUND_EXCEPTION);

class CRegisteredSoundCard;

// Produces output frames for a channel. Render writes `frames` frames of
// interleaved signed 16-bit samples, one per output channel (stereo in the
// application, left then right), at the channel's output rate (44100 Hz).
// It runs on a time-critical thread: it must not block or allocate.
class CABCSoundRenderer {
public:
    virtual ~CABCSoundRenderer() = default;
    virtual void Render(int16_t* out, int32_t frames) = 0;
};

class CSoundChannel {
public:
    // Destroying a channel stops it first (each family's destructor does).
    virtual ~CSoundChannel() = default;
    CSoundChannel(const CSoundChannel&) = delete;
    CSoundChannel& operator=(const CSoundChannel&) = delete;

    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;

    virtual uint16_t LatencyCount() const = 0;
    // An index past the last setting selects the last one.
    virtual void SelectLatency(uint16_t index) = 0;
    virtual uint16_t SelectedLatency() const = 0;
    virtual int32_t LatencyMs(uint16_t index) const = 0;
    // How many times the output ran dry since the last Start.
    virtual uint32_t UnderrunCount() const = 0;
    // True once the output went away for good (a sound server that ended):
    // the channel plays no more and only closing it is left.
    virtual bool Failed() const { return false; }

    // What the wave player uses as its display delay.
    int32_t CurrentLatencyMs() const { return LatencyMs(SelectedLatency()); }

    int32_t BufferFrames() const { return bufferFrames_; }
    int32_t OutputRate() const { return outputRate_; }
    uint16_t ChannelCount() const { return channelCount_; }
    const CRegisteredSoundCard* Card() const { return card_; }

protected:
    CSoundChannel(const CRegisteredSoundCard& card, int32_t bufferFrames, int32_t outputRate,
                  CABCSoundRenderer* first, CABCSoundRenderer* second, uint16_t channelCount)
        : bufferFrames_(bufferFrames), outputRate_(outputRate), first_(first), second_(second),
          channelCount_(channelCount), card_(&card)
    {
    }

    // Fills one stretch of output: the first renderer, then the second, each
    // only when present. The stretch starts as silence, so that a missing or
    // idle renderer never sends stale memory to the output.
    void RenderStretch(int16_t* out, int32_t frames)
    {
        std::memset(out, 0, static_cast<size_t>(frames) * channelCount_ * sizeof(int16_t));
        if (first_)
            first_->Render(out, frames);
        if (second_)
            second_->Render(out, frames);
    }

private:
    int32_t bufferFrames_;
    int32_t outputRate_;
    CABCSoundRenderer* first_;
    CABCSoundRenderer* second_;
    uint16_t channelCount_;
    const CRegisteredSoundCard* card_;
};

} // namespace quorvel
