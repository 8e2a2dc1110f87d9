#pragma once
// A sampler's list of samples: what the receive dialog offers and what the
// brands search when they place or replace samples.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "samplers/SampleInfo.h"

namespace quorvel {

class CSampleSpec {
public:
    static constexpr size_t kMaxNameLength = 255;

    CSampleSpec() = default;
    CSampleSpec(std::string_view name, int32_t number);
    CSampleSpec(const CSampleSpec& other);
    CSampleSpec& operator=(const CSampleSpec& other);
    virtual ~CSampleSpec() = default;

    const std::string& Name() const { return name_; }
    // Cut to 255 characters.
    void SetName(std::string_view name);
    int32_t Number() const { return number_; }
    void SetNumber(int32_t number) { number_ = number; }

    // This entry stands for a stereo pair; the right channel is another sample.
    bool IsStereo() const { return stereo_; }
    int32_t RightNumber() const { return rightNumber_; }
    void SetStereo(int32_t rightNumber)
    {
        stereo_ = true;
        rightNumber_ = rightNumber;
    }

    // The sample's parameters, when the brand read them while listing.
    const SampleInfo* Info() const { return info_.get(); }
    void SetInfo(const SampleInfo& info) { info_ = std::make_unique<SampleInfo>(info); }

    // Whatever the brand keeps with the entry.
    int32_t BrandValue() const { return brandValue_; }
    void SetBrandValue(int32_t value) { brandValue_ = value; }

private:
    std::string name_;
    int32_t number_ = 0;
    bool stereo_ = false;
    int32_t rightNumber_ = 0;
    std::unique_ptr<SampleInfo> info_;
    int32_t brandValue_ = 0;
};

class CSampleList {
public:
    static constexpr uint16_t kCapacity = 1000;

    CSampleList() = default;
    virtual ~CSampleList() = default;
    CSampleList(const CSampleList&) = delete;
    CSampleList& operator=(const CSampleList&) = delete;

    // Stores a copy at the end; false (and nothing changes) when full.
    // Clears a sorted flag when the new entry breaks that order.
    bool Add(const CSampleSpec& spec, uint16_t* index = nullptr);
    // Null for a slot emptied by MergeStereoPair and not yet compacted.
    const CSampleSpec* Get(uint16_t index) const;
    CSampleSpec* Get(uint16_t index) { return const_cast<CSampleSpec*>(std::as_const(*this).Get(index)); }
    uint16_t Count() const { return count_; }

    bool SortedByName() const { return sortedByName_; }
    bool SortedByNumber() const { return sortedByNumber_; }
    // Ascending, bytewise; equal names keep their order. The list is no longer
    // taken as sorted by number afterwards.
    void SortByName();

    // The left entry becomes the stereo pair named `name`, the right entry's
    // slot empties; Compact closes the gap.
    void MergeStereoPair(uint16_t leftIndex, uint16_t rightIndex, std::string_view name);
    // Removes empty slots, keeping the order.
    void Compact();

private:
    std::array<std::unique_ptr<CSampleSpec>, kCapacity> entries_;
    uint16_t count_ = 0;
    bool sortedByName_ = true;
    bool sortedByNumber_ = true;
};

} // namespace quorvel
