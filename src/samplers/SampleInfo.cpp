#include "samplers/SampleInfo.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

void SampleInfo::SetName(std::string_view text)
{
    const size_t count = std::min(text.size(), kNameCapacity - 1);
    std::memset(name, 0, sizeof name);
    std::memcpy(name, text.data(), count);
}

std::string_view SampleInfo::Name() const { return std::string_view(name, strnlen(name, kNameCapacity)); }

namespace {

template <class T>
int Order(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareLoops(const SSampleLoop& a, const SSampleLoop& b)
{
    if (a.type == 0 && b.type == 0)
        return 0;
    if (int c = Order(a.type, b.type))
        return c;
    if (int c = Order(a.start, b.start))
        return c;
    return Order(a.end, b.end);
}

} // namespace

int CompareSampleInfo(const SampleInfo& a, const SampleInfo& b)
{
    // Bytewise as unsigned characters, up to the terminator.
    const std::string_view nameA = a.Name(), nameB = b.Name();
    if (int c = nameA.compare(nameB))
        return c < 0 ? -1 : 1;
    const int steps[] = {
        Order(a.channelCount, b.channelCount),
        Order(a.bits, b.bits),
        Order(a.rate, b.rate),
        Order(a.length, b.length),
        Order(a.playStart, b.playStart),
        Order(a.playEnd, b.playEnd),
        CompareLoops(a.sustainLoop, b.sustainLoop),
        CompareLoops(a.releaseLoop, b.releaseLoop),
        Order(a.rootKey, b.rootKey),
        Order(a.fineTuning, b.fineTuning),
        Order(a.keyByte2, b.keyByte2),
        Order(a.keyByte3, b.keyByte3),
    };
    for (int c : steps)
        if (c)
            return c;
    return 0;
}

} // namespace quorvel
