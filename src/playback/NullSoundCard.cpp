#include "playback/NullSoundCard.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace quorvel {

namespace {

void PutLE32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutLE16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

constexpr uint32_t kHeaderSize = 44;

} // namespace

REGISTERED_NULL_SOUND_CARD::REGISTERED_NULL_SOUND_CARD(NullCardOptions options)
    : CRegisteredSoundCard(kType, kName, "", true), options_(std::move(options))
{
}

std::unique_ptr<CSoundChannel> REGISTERED_NULL_SOUND_CARD::CreateChannel(int32_t outputRate,
                                                                         CABCSoundRenderer* first,
                                                                         CABCSoundRenderer* second,
                                                                         uint16_t channelCount) const
{
    return std::make_unique<NULL_CHANNEL>(*this, outputRate, first, second, channelCount, options_);
}

CWaveCapture::CWaveCapture(const std::string& path, uint16_t channelCount, int32_t rate)
    : file_(std::fopen(path.c_str(), "wb")), channelCount_(channelCount)
{
    if (!file_)
        throw ZMME_SOUND_EXCEPTION();
    uint8_t header[kHeaderSize] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    PutLE32(header + 16, 16);
    PutLE16(header + 20, 1);
    PutLE16(header + 22, channelCount);
    PutLE32(header + 24, static_cast<uint32_t>(rate));
    PutLE32(header + 28, static_cast<uint32_t>(rate) * channelCount * 2);
    PutLE16(header + 32, static_cast<uint16_t>(channelCount * 2));
    PutLE16(header + 34, 16);
    std::copy_n("data", 4, header + 36);
    PutLE32(header + 4, 36);
    if (std::fwrite(header, 1, sizeof header, file_) != sizeof header) {
        std::fclose(file_);
        throw ZMME_SOUND_EXCEPTION();
    }
    bytes_.resize(static_cast<size_t>(NULL_CHANNEL::kFramesPerBuffer) * channelCount * 2);
}

CWaveCapture::~CWaveCapture()
{
    Flush();
    std::fclose(file_);
}

void CWaveCapture::Append(const int16_t* interleaved, int32_t frames)
{
    const size_t samples = static_cast<size_t>(frames) * channelCount_;
    // A RIFF file cannot describe more; the capture simply ends there.
    if (samples * 2 > size_t{std::numeric_limits<uint32_t>::max() - kHeaderSize - dataBytes_})
        return;
    if (bytes_.size() < samples * 2)
        bytes_.resize(samples * 2);
    for (size_t i = 0; i < samples; ++i)
        PutLE16(&bytes_[2 * i], static_cast<uint16_t>(interleaved[i]));
    dataBytes_ += static_cast<uint32_t>(std::fwrite(bytes_.data(), 1, samples * 2, file_));
}

void CWaveCapture::Flush()
{
    uint8_t size[4];
    PutLE32(size, 36 + dataBytes_);
    std::fseek(file_, 4, SEEK_SET);
    std::fwrite(size, 1, 4, file_);
    PutLE32(size, dataBytes_);
    std::fseek(file_, 40, SEEK_SET);
    std::fwrite(size, 1, 4, file_);
    std::fseek(file_, 0, SEEK_END);
    std::fflush(file_);
}

NULL_CHANNEL::NULL_CHANNEL(const CRegisteredSoundCard& card, int32_t outputRate, CABCSoundRenderer* first,
                           CABCSoundRenderer* second, uint16_t channelCount, const NullCardOptions& options)
    : CSoundChannel(card, kFramesPerBuffer, outputRate, first, second, channelCount), options_(options),
      memory_(static_cast<size_t>(kBufferCount) * kFramesPerBuffer * channelCount)
{
    if (outputRate <= 0 || channelCount == 0 || !(options_.speed > 0))
        throw ZMME_SOUND_EXCEPTION();
    if (!options_.capturePath.empty())
        capture_ = std::make_unique<CWaveCapture>(options_.capturePath, channelCount, outputRate);
}

NULL_CHANNEL::~NULL_CHANNEL()
{
    Stop();
}

void NULL_CHANNEL::SelectLatency(uint16_t index)
{
    latency_ = std::min<uint16_t>(index, kLatencyCount - 1);
}

int32_t NULL_CHANNEL::LatencyMs(uint16_t index) const
{
    // Stated for 44100 Hz whatever the output rate, as the settings list shows.
    index = std::min<uint16_t>(index, kLatencyCount - 1);
    return BuffersFor(index) * 1024000 / 44100;
}

void NULL_CHANNEL::Start()
{
    if (running_)
        return;
    {
        std::lock_guard lock(mutex_);
        underruns_ = 0;
        headersWritten_ = 0;
        written_.fill(false);
        clock_ = 0;
        queueEnd_ = 0;
        stopRequested_ = false;
        // The device is paused while the first buffers go in, so they all
        // start at output time 0.
        for (int i = 0; i < BuffersFor(latency_); ++i)
            FillAndWrite();
        startTime_ = std::chrono::steady_clock::now();
        running_ = true;
    }
    if (options_.clock == NullClock::RealTime)
        timer_ = std::thread(&NULL_CHANNEL::TimerLoop, this);
}

void NULL_CHANNEL::Stop()
{
    if (!running_)
        return;
    {
        std::lock_guard lock(mutex_);
        running_ = false;
        stopRequested_ = true;
    }
    wake_.notify_all();
    if (timer_.joinable())
        timer_.join();
    std::lock_guard lock(mutex_);
    // Resetting the device hands every queued buffer back at once.
    written_.fill(false);
    if (capture_)
        capture_->Flush();
}

void NULL_CHANNEL::TimerLoop()
{
    // Three times per buffer period (7 ms at 44100 Hz), scaled by the speed.
    const auto period = std::chrono::microseconds(std::max<int64_t>(
        1, static_cast<int64_t>(1024000 / (OutputRate() * 3) * 1000 / options_.speed)));
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, period, [this] { return stopRequested_; })) {
        SetClockFromWatch();
        ServiceStep();
    }
}

void NULL_CHANNEL::SetClockFromWatch()
{
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - startTime_;
    clock_ = static_cast<int64_t>(elapsed.count() * OutputRate() * options_.speed);
}

void NULL_CHANNEL::AdvanceClock(int64_t frames)
{
    std::lock_guard lock(mutex_);
    if (!running_ || options_.clock != NullClock::Manual)
        return;
    clock_ += std::max<int64_t>(frames, 0);
    ServiceStep();
}

int NULL_CHANNEL::InFlight() const
{
    int count = 0;
    for (int i = 0; i < kBufferCount; ++i)
        if (written_[i] && doneAt_[i] > clock_)
            ++count;
    return count;
}

void NULL_CHANNEL::ServiceStep()
{
    if (!running_)
        return;
    int inFlight = InFlight();
    while (inFlight < BuffersFor(latency_)) {
        if (inFlight == 0)
            ++underruns_;
        FillAndWrite();
        inFlight = InFlight();
    }
}

void NULL_CHANNEL::FillAndWrite()
{
    const int header = static_cast<int>(headersWritten_ % kBufferCount);
    int16_t* out = &memory_[static_cast<size_t>(header) * kFramesPerBuffer * ChannelCount()];
    RenderStretch(out, kFramesPerBuffer);
    framesRendered_ += kFramesPerBuffer;
    if (capture_)
        capture_->Append(out, kFramesPerBuffer);
    // A buffer written to a drained device starts playing at once.
    queueEnd_ = std::max(queueEnd_, clock_) + kFramesPerBuffer;
    doneAt_[header] = queueEnd_;
    written_[header] = true;
    ++headersWritten_;
}

} // namespace quorvel
