#include "samplers/roland/S760FileList.h"

#include <algorithm>
#include <array>

#include "devices/midi/SysexEncoding.h"
#include "samplers/roland/RolandCom.h"
#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/S760Layouts.h"

namespace quorvel {

namespace {

constexpr size_t kEntrySize = 20;
constexpr size_t kEntriesPerMessage = 16;
constexpr size_t kNumberDigits = 3;
constexpr uint32_t kListTimeoutMs = 5000;

} // namespace

void CS760FileList::Read(roland::CRolandCom& com, uint8_t category, const Progress& progress)
{
    entries_.clear();
    const std::array<uint8_t, 2> ask{category, 0};
    com.WriteOneWay(s760::kFileListAddress, ask);
    std::array<uint8_t, kEntrySize * kEntriesPerMessage> data{};
    for (bool more = true; more;) {
        const auto count = static_cast<size_t>(com.ReadDataSet(s760::kFileListAddress, data, kListTimeoutMs));
        // A message that is not a whole number of entries ends with a
        // partial one, which is not an entry.
        const size_t whole = count / kEntrySize;
        if (whole < kEntriesPerMessage)
            more = false;
        for (size_t i = 0; i < whole; ++i) {
            const uint8_t* entry = data.data() + i * kEntrySize;
            if (entry[0] == 0) {
                more = false;
                break;
            }
            if (entry[0] != category)
                throw XS760UnexpectedCategoryReceived();
            const auto number = static_cast<uint16_t>(DecodeBigEndianNibbles(kNumberDigits, entry + 1));
            Add({category, number, std::string(reinterpret_cast<const char*>(entry + 1 + kNumberDigits),
                                               s760::kNameLength)});
        }
    }
    if (progress)
        progress(static_cast<int32_t>(entries_.size()), static_cast<int32_t>(entries_.size()));
}

void CS760FileList::Add(const SS760FileEntry& entry)
{
    if (entries_.size() >= kCapacity)
        throw XS760FileListTooSmall();
    entries_.push_back(entry);
}

void CS760FileList::Remove(uint8_t category, uint16_t number)
{
    std::erase_if(entries_, [&](const SS760FileEntry& e) { return e.category == category && e.number == number; });
}

bool CS760FileList::Uses(uint8_t category, uint16_t number) const { return Numbered(category, number) != nullptr; }

const SS760FileEntry* CS760FileList::Named(uint8_t category, const std::string& name) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const SS760FileEntry& e) {
        return e.category == category && e.name == name;
    });
    return found == entries_.end() ? nullptr : &*found;
}

const SS760FileEntry* CS760FileList::Numbered(uint8_t category, uint16_t number) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const SS760FileEntry& e) {
        return e.category == category && e.number == number;
    });
    return found == entries_.end() ? nullptr : &*found;
}

std::optional<uint16_t> CS760FileList::FirstFree(uint8_t category, int32_t count) const
{
    for (int32_t n = 0; n < count; ++n)
        if (!Uses(category, static_cast<uint16_t>(n)))
            return static_cast<uint16_t>(n);
    return std::nullopt;
}

int32_t CS760FileList::FreeCount(uint8_t category, int32_t count) const
{
    int32_t free = 0;
    for (int32_t n = 0; n < count; ++n)
        free += Uses(category, static_cast<uint16_t>(n)) ? 0 : 1;
    return free;
}

} // namespace quorvel
