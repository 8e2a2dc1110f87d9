#include "samplers/SampleList.h"

#include <utility>

namespace quorvel {

CSampleSpec::CSampleSpec(std::string_view name, int32_t number) : number_(number) { SetName(name); }

CSampleSpec::CSampleSpec(const CSampleSpec& other)
    : name_(other.name_), number_(other.number_), stereo_(other.stereo_), rightNumber_(other.rightNumber_),
      info_(other.info_ ? std::make_unique<SampleInfo>(*other.info_) : nullptr), brandValue_(other.brandValue_)
{
}

CSampleSpec& CSampleSpec::operator=(const CSampleSpec& other)
{
    if (this != &other) {
        CSampleSpec copy(other);
        name_ = std::move(copy.name_);
        number_ = copy.number_;
        stereo_ = copy.stereo_;
        rightNumber_ = copy.rightNumber_;
        info_ = std::move(copy.info_);
        brandValue_ = copy.brandValue_;
    }
    return *this;
}

void CSampleSpec::SetName(std::string_view name) { name_ = std::string(name.substr(0, kMaxNameLength)); }

bool CSampleList::Add(const CSampleSpec& spec, uint16_t* index)
{
    if (count_ >= kCapacity)
        return false;
    auto copy = std::make_unique<CSampleSpec>(spec);
    if (count_ > 0 && entries_[count_ - 1]) {
        const CSampleSpec& previous = *entries_[count_ - 1];
        if (previous.Name() > copy->Name())
            sortedByName_ = false;
        if (previous.Number() > copy->Number())
            sortedByNumber_ = false;
    }
    entries_[count_] = std::move(copy);
    if (index)
        *index = count_;
    ++count_;
    return true;
}

const CSampleSpec* CSampleList::Get(uint16_t index) const
{
    return index < count_ ? entries_[index].get() : nullptr;
}

void CSampleList::SortByName()
{
    if (sortedByName_)
        return;
    // Selection sort that only takes a strictly smaller name: equal names
    // keep their order. Empty slots go last.
    auto before = [](const std::unique_ptr<CSampleSpec>& a, const std::unique_ptr<CSampleSpec>& b) {
        if (!a || !b)
            return a && !b;
        return a->Name() < b->Name();
    };
    for (uint16_t i = 0; i + 1 < count_; ++i) {
        uint16_t smallest = i;
        for (uint16_t j = i + 1; j < count_; ++j)
            if (before(entries_[j], entries_[smallest]))
                smallest = j;
        if (smallest != i) {
            // Shift rather than swap so that the entries passed over keep their order.
            auto chosen = std::move(entries_[smallest]);
            for (uint16_t k = smallest; k > i; --k)
                entries_[k] = std::move(entries_[k - 1]);
            entries_[i] = std::move(chosen);
        }
    }
    sortedByName_ = true;
    sortedByNumber_ = false;
}

void CSampleList::MergeStereoPair(uint16_t leftIndex, uint16_t rightIndex, std::string_view name)
{
    if (leftIndex >= count_ || rightIndex >= count_ || leftIndex == rightIndex || !entries_[leftIndex] ||
        !entries_[rightIndex])
        return;
    CSampleSpec& left = *entries_[leftIndex];
    left.SetStereo(entries_[rightIndex]->Number());
    entries_[rightIndex].reset();
    left.SetName(name);
}

void CSampleList::Compact()
{
    uint16_t kept = 0;
    for (uint16_t i = 0; i < count_; ++i)
        if (entries_[i])
            entries_[kept++] = std::move(entries_[i]);
    count_ = kept;
}

} // namespace quorvel
