#include "devices/emulated/A3000Dump.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr char kHeader[] = "LM  0278";
constexpr size_t kHeaderAt = 6;
constexpr size_t kTypeAt = 14;
constexpr size_t kNameAt = 16;
constexpr size_t kPayloadAt = 32;

void PutCount(A3000Bytes& out, size_t count)
{
    out.push_back(static_cast<uint8_t>((count >> 7) & 0x7F));
    out.push_back(static_cast<uint8_t>(count & 0x7F));
}

size_t GetCount(const A3000Bytes& m, size_t at) { return static_cast<size_t>(m[at] & 0x7F) << 7 | (m[at + 1] & 0x7F); }

uint8_t Xor(const A3000Bytes& m, size_t from, size_t count)
{
    uint8_t sum = 0;
    for (size_t i = from; i < from + count; ++i)
        sum = static_cast<uint8_t>(sum ^ m[i]);
    return sum;
}

// Appends `count` payload bytes from `at` as nibble pairs.
void PutNibbles(A3000Bytes& out, const A3000Bytes& payload, size_t at, size_t count)
{
    for (size_t i = at; i < at + count; ++i) {
        out.push_back(static_cast<uint8_t>(payload[i] >> 4));
        out.push_back(static_cast<uint8_t>(payload[i] & 0x0F));
    }
}

bool TakeNibbles(const A3000Bytes& m, size_t from, size_t count, A3000Bytes& payload)
{
    for (size_t i = from; i + 1 < from + count; i += 2) {
        if ((m[i] | m[i + 1]) & 0xF0)
            return false;
        payload.push_back(static_cast<uint8_t>(m[i] << 4 | m[i + 1]));
    }
    return true;
}

} // namespace

A3000Bytes BuildA3000Dump(uint8_t device, const std::string& type, const A3000Name& name, const A3000Bytes& payload,
                          const std::function<bool(size_t)>& corrupt)
{
    A3000Bytes out = {0xF0, 0x43, static_cast<uint8_t>(device & 0x0F), 0x7A};
    out.reserve(payload.size() * 2 + payload.size() / 1000 * 3 + 40);
    const size_t firstBytes = std::min(payload.size(), (kA3000MaxBlock - kA3000HeaderCount) / 2);
    PutCount(out, kA3000HeaderCount + 2 * firstBytes);
    out.insert(out.end(), kHeader, kHeader + 8);
    out.push_back(static_cast<uint8_t>(type.size() > 0 ? type[0] : ' '));
    out.push_back(static_cast<uint8_t>(type.size() > 1 ? type[1] : ' '));
    out.insert(out.end(), name.begin(), name.end());
    PutNibbles(out, payload, 0, firstBytes);
    size_t block = 0;
    auto close = [&](size_t from) {
        uint8_t sum = Xor(out, from, out.size() - from);
        if (corrupt && corrupt(block))
            sum ^= 0x01;
        out.push_back(sum);
        ++block;
    };
    close(kHeaderAt);
    for (size_t at = firstBytes; at < payload.size();) {
        const size_t bytes = std::min(payload.size() - at, kA3000MaxBlock / 2);
        PutCount(out, 2 * bytes);
        const size_t from = out.size();
        PutNibbles(out, payload, at, bytes);
        close(from);
        at += bytes;
    }
    out.push_back(0xF7);
    return out;
}

EA3000DumpCheck ParseA3000Dump(const A3000Bytes& m, SA3000Dump& dump, size_t* failed)
{
    if (m.size() < 33 || m[0] != 0xF0 || m[1] != 0x43 || (m[2] & 0xF0) != 0 || m[3] != 0x7A || m.back() != 0xF7)
        return EA3000DumpCheck::kMalformed;
    if (std::memcmp(m.data() + kHeaderAt, kHeader, 8) != 0)
        return EA3000DumpCheck::kNotLM0278;
    const size_t first = GetCount(m, 4);
    if (first < kA3000HeaderCount || first > kA3000MaxBlock || first % 2 != 0 || kHeaderAt + first + 2 > m.size())
        return EA3000DumpCheck::kMalformed;
    dump.device = m[2];
    dump.type.assign(m.begin() + kTypeAt, m.begin() + kTypeAt + 2);
    std::copy(m.begin() + kNameAt, m.begin() + kNameAt + 16, dump.name.begin());
    dump.payload.clear();
    if (!TakeNibbles(m, kPayloadAt, first - kA3000HeaderCount, dump.payload))
        return EA3000DumpCheck::kBadNibble;
    size_t block = 0;
    if (Xor(m, kHeaderAt, first) != m[kHeaderAt + first]) {
        if (failed)
            *failed = block;
        return EA3000DumpCheck::kBadChecksum;
    }
    size_t at = kHeaderAt + first + 1;
    while (at < m.size() - 1) {
        ++block;
        if (at + 3 > m.size() - 1)
            return EA3000DumpCheck::kMalformed;
        const size_t count = GetCount(m, at);
        if (count == 0 || count > kA3000MaxBlock || count % 2 != 0 || at + 2 + count + 1 > m.size() - 1)
            return EA3000DumpCheck::kMalformed;
        if (!TakeNibbles(m, at + 2, count, dump.payload))
            return EA3000DumpCheck::kBadNibble;
        if (Xor(m, at + 2, count) != m[at + 2 + count]) {
            if (failed)
                *failed = block;
            return EA3000DumpCheck::kBadChecksum;
        }
        at += 2 + count + 1;
    }
    return EA3000DumpCheck::kGood;
}

bool ParseA3000Request(const A3000Bytes& m, SA3000Request& request)
{
    if (m.size() != 31 || m[0] != 0xF0 || m[1] != 0x43 || (m[2] & 0xF0) != 0x20 || m[3] != 0x7A ||
        std::memcmp(m.data() + 4, kHeader, 8) != 0 || m[30] != 0xF7)
        return false;
    request.device = m[2] & 0x0F;
    request.type.assign(m.begin() + 12, m.begin() + 14);
    std::copy(m.begin() + 14, m.begin() + 30, request.name.begin());
    return true;
}

A3000Name A3000NameOf(const std::string& text)
{
    A3000Name name;
    name.fill(' ');
    std::copy_n(text.begin(), std::min<size_t>(16, text.size()), name.begin());
    return name;
}

std::string A3000NameText(const A3000Name& name)
{
    std::string text(name.begin(), name.end());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    return text;
}

bool SameA3000Name(const A3000Name& a, const A3000Name& b) { return A3000NameText(a) == A3000NameText(b); }

} // namespace quorvel
