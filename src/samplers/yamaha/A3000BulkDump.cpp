#include "samplers/yamaha/A3000BulkDump.h"

#include <algorithm>

#include "devices/midi/SysexEncoding.h"
#include "samplers/yamaha/A3000Exceptions.h"
#include "samplers/yamaha/A3000Layouts.h"

namespace quorvel {

using namespace a3000;

namespace {

constexpr size_t kObjectEntryBytes = 17;

uint8_t Xor(const uint8_t* data, size_t count)
{
    uint8_t x = 0;
    for (size_t i = 0; i < count; ++i)
        x ^= data[i];
    return x;
}

void AppendText(std::vector<uint8_t>& out, std::string_view text, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i] & 0x7F) : ' ');
}

// Counts are even and within a block; anything else is not a dump.
bool BlockCountValid(uint32_t count) { return count <= kMaxBlock && count % 2 == 0; }

void AppendPayload(std::vector<uint8_t>& payload, const uint8_t* wire, size_t count)
{
    const size_t at = payload.size();
    payload.resize(at + count / 2);
    PackNibblePairs(static_cast<int32_t>(count / 2), payload.data() + at, wire);
}

} // namespace

CRawSysex A3000Request(uint8_t device, std::string_view type, std::string_view name)
{
    std::vector<uint8_t> bytes{0xF0, kYamaha, static_cast<uint8_t>(kRequestBase + (device & 0x0F)), kBulkModel};
    AppendText(bytes, kSignature, kSignature.size());
    AppendText(bytes, type, 2);
    AppendText(bytes, name, kNameLength);
    bytes.push_back(0xF7);
    return CRawSysex(bytes);
}

CA3000DumpWriter::CA3000DumpWriter(uint8_t device, std::string_view type, std::string_view name, Sink sink)
    : device_(device), type_(type), name_(name), sink_(std::move(sink))
{
}

void CA3000DumpWriter::Append(const uint8_t* payload, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const size_t room = first_ ? kMaxBlock - kFirstBlockOverhead : kMaxBlock;
        if (block_.size() >= room)
            Emit();
        block_.push_back(static_cast<uint8_t>(payload[i] >> 4));
        block_.push_back(static_cast<uint8_t>(payload[i] & 0x0F));
    }
}

void CA3000DumpWriter::Emit()
{
    std::vector<uint8_t> out;
    if (first_) {
        out = {0xF0, kYamaha, static_cast<uint8_t>(device_ & 0x0F), kBulkModel, 0, 0};
        AppendText(out, kSignature, kSignature.size());
        AppendText(out, type_, 2);
        AppendText(out, name_, kNameLength);
        out.insert(out.end(), block_.begin(), block_.end());
        const auto count = static_cast<uint32_t>(out.size() - 6);
        EncodeBigEndian7(count, 2, out.data() + 4);
        out.push_back(Xor(out.data() + 6, count));
        first_ = false;
    } else {
        out = {0, 0};
        EncodeBigEndian7(static_cast<uint32_t>(block_.size()), 2, out.data());
        out.insert(out.end(), block_.begin(), block_.end());
        out.push_back(Xor(block_.data(), block_.size()));
    }
    block_.clear();
    sink_(out.data(), out.size());
}

void CA3000DumpWriter::Finish()
{
    if (first_ || !block_.empty())
        Emit();
    const uint8_t end = 0xF7;
    sink_(&end, 1);
}

void CA3000DumpWriter::Abandon()
{
    block_.clear();
    if (first_)
        return;
    uint8_t end[3];
    EncodeBigEndian7(kMaxBlock, 2, end);
    end[2] = 0xF7;
    sink_(end, sizeof end);
}

CRawSysex CA3000StandardBulkDump::ToMessage() const
{
    std::vector<uint8_t> bytes;
    CA3000DumpWriter writer(device, type, name,
                            [&](const uint8_t* data, size_t count) { bytes.insert(bytes.end(), data, data + count); });
    writer.Append(payload.data(), payload.size());
    writer.Finish();
    return CRawSysex(bytes);
}

CA3000StandardBulkDump CA3000StandardBulkDump::Parse(const CRawSysex& message)
{
    const uint8_t* m = message.GetData();
    const auto length = static_cast<size_t>(message.GetLength());
    if (length < kHeaderLength || m[0] != 0xF0 || m[1] != kYamaha || m[3] != kBulkModel ||
        !std::equal(kSignature.begin(), kSignature.end(), m + 6) || m[length - 1] != 0xF7)
        throw XA3000ReceivedInvalidSysex();
    const uint32_t count = DecodeBigEndian7(2, m + 4);
    if (count < kFirstBlockOverhead || !BlockCountValid(count) || 6 + count + 1 > length - 1)
        throw XA3000ReceivedInvalidSysex();
    if (Xor(m + 6, count) != m[6 + count])
        throw XA3000ChecksumIncorrect();
    CA3000StandardBulkDump dump;
    dump.device = m[2];
    dump.type.assign(reinterpret_cast<const char*>(m + 14), 2);
    dump.name = NameFromBytes(m + 16);
    AppendPayload(dump.payload, m + kHeaderLength, count - kFirstBlockOverhead);
    size_t at = 6 + count + 1;
    while (at < length - 1) {
        if (at + 2 > length - 1)
            throw XA3000ReceivedInvalidSysex();
        const uint32_t n = DecodeBigEndian7(2, m + at);
        if (!BlockCountValid(n) || at + 2 + n + 1 > length - 1)
            throw XA3000ReceivedInvalidSysex();
        if (Xor(m + at + 2, n) != m[at + 2 + n])
            throw XA3000ChecksumIncorrect();
        AppendPayload(dump.payload, m + at + 2, n);
        at += 2 + n + 1;
    }
    return dump;
}

CA3000ObjectListBulkDump CA3000ObjectListBulkDump::Parse(const CRawSysex& message)
{
    CA3000StandardBulkDump dump = CA3000StandardBulkDump::Parse(message);
    if (dump.type != kObjectListType)
        throw XA3000ReceivedInvalidSysex();
    return {dump.device, std::move(dump.payload)};
}

CA3000ObjectList CA3000ObjectListBulkDump::List() const { return CA3000ObjectList::Decode(payload); }

CA3000ObjectList CA3000ObjectList::Decode(const std::vector<uint8_t>& payload)
{
    CA3000ObjectList list;
    for (size_t at = 0; at + kObjectEntryBytes <= payload.size(); at += kObjectEntryBytes)
        list.entries_.push_back({payload[at], NameFromBytes(payload.data() + at + 1)});
    return list;
}

std::vector<std::string> CA3000ObjectList::NamesOf(uint32_t type) const
{
    std::vector<std::string> names;
    for (const SEntry& entry : entries_)
        if (entry.type == type)
            names.push_back(entry.name);
    return names;
}

bool CA3000ObjectList::Contains(uint32_t type, const std::string& name) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const SEntry& entry) { return entry.type == type && entry.name == name; });
}

} // namespace quorvel
