#pragma once
// A named mono sound of signed 16-bit values with its rate, loop (the
// document's locators) and key data. Its values live in a BAT.
#include <cstdint>
#include <memory>
#include <string>

#include "document/BAT.h"

namespace quorvel {

// Whatever a view caches about a sound; the sample only owns and frees it.
class CSampleOverviewCache {
public:
    virtual ~CSampleOverviewCache() = default;
};

class WAVE_SAMPLE {
public:
    static constexpr size_t kNameCapacity = 68; // 67 characters and the NUL

    // With loopOn false the loop is the whole sound and the flag stays off.
    WAVE_SAMPLE(const std::string& name, int32_t sampleRate, int32_t length,
                int32_t loopStart = 0, int32_t loopEnd = 0, bool loopOn = false);
    virtual ~WAVE_SAMPLE() = default;
    WAVE_SAMPLE(const WAVE_SAMPLE&) = delete;
    WAVE_SAMPLE& operator=(const WAVE_SAMPLE&) = delete;

    const char* Name() const { return name_; }
    void SetName(const std::string& name);
    int32_t SampleRate() const { return sampleRate_; }
    int32_t Length() const { return length_; }
    BAT& Store() { return *store_; }
    const BAT& Store() const { return *store_; }

    bool LoopOn() const { return loopOn_; }
    int32_t LoopStart() const { return loopStart_; }
    int32_t LoopEnd() const { return loopEnd_; }
    void SetLoop(int32_t start, int32_t end, bool on);
    void SetLoopStart(int32_t start) { SetLoop(start, loopEnd_, loopOn_); }
    void SetLoopEnd(int32_t end) { SetLoop(loopStart_, end, loopOn_); }

    bool HasInstrumentData() const { return hasInstrumentData_; }
    void SetHasInstrumentData(bool has) { hasInstrumentData_ = has; }
    uint8_t RootKey() const { return rootKey_; }
    void SetRootKey(uint8_t key) { rootKey_ = key; }
    int8_t FineTune() const { return fineTune_; }
    void SetFineTune(int8_t tune) { fineTune_ = tune; }

    CSampleOverviewCache* OverviewCache() const { return overviewCache_.get(); }
    void SetOverviewCache(std::unique_ptr<CSampleOverviewCache> cache) { overviewCache_ = std::move(cache); }

    int16_t Value(int32_t i) const { return store_->ReadSample(static_cast<uint32_t>(i)); }

    // Nearest sign change (or zero) within `range` of `position`, searching
    // both ways at once; the earlier candidate wins a tie.
    int32_t FindZeroCrossing(int32_t position, int32_t range) const;

private:
    int32_t sampleRate_;
    char name_[kNameCapacity] = {};
    int32_t length_;
    std::unique_ptr<BAT> store_;
    std::unique_ptr<CSampleOverviewCache> overviewCache_;
    bool loopOn_ = false;
    int32_t loopStart_ = 0;
    int32_t loopEnd_ = 0;
    bool hasInstrumentData_ = false;
    uint8_t rootKey_ = 0;
    int8_t fineTune_ = 0;
};

} // namespace quorvel
