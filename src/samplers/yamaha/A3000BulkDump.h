#pragma once
// Yamaha bulk dumps ("LM  0278"): the request, and the dump itself with its
// nibble-coded payload cut into counted blocks of at most 4096 bytes, each
// closed by the XOR of its bytes.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/midi/RawSysex.h"

namespace quorvel {

namespace a3000 {
constexpr uint8_t kYamaha = 0x43;
constexpr uint8_t kBulkModel = 0x7A;
constexpr uint8_t kRequestBase = 0x20;
constexpr std::string_view kSignature = "LM  0278";
constexpr size_t kRequestLength = 31;
constexpr size_t kHeaderLength = 32; // up to the first payload byte
constexpr uint32_t kMaxBlock = 4096;
// The first block also counts signature, type and name.
constexpr uint32_t kFirstBlockOverhead = 26;

constexpr std::string_view kObjectListType = "OL";
constexpr std::string_view kSampleType = "SP";
constexpr std::string_view kSampleBankType = "SB";
constexpr std::string_view kWaveDataType = "WD";
constexpr std::string_view kObjectListName = "Object List";
} // namespace a3000

// The 31-byte request for the dump `type` of the object `name`.
CRawSysex A3000Request(uint8_t device, std::string_view type, std::string_view name);

// Writes one dump piece by piece: the payload is nibble-coded and handed to
// the sink block by block, each block as soon as it is full (the first one
// with the message's header), so that a long wave dump needs no more memory
// than one block.
class CA3000DumpWriter {
public:
    using Sink = std::function<void(const uint8_t*, size_t)>;
    CA3000DumpWriter(uint8_t device, std::string_view type, std::string_view name, Sink sink);

    void Append(const uint8_t* payload, size_t count);
    // The last block and F7.
    void Finish();
    // Ends a dump already under way so that it cannot pass for a whole one:
    // a block count with no block after it, then F7. Nothing when no byte
    // has gone out yet.
    void Abandon();

private:
    void Emit();
    uint8_t device_;
    std::string type_;
    std::string name_;
    Sink sink_;
    bool first_ = true;
    std::vector<uint8_t> block_; // nibble-coded payload of the open block
};

class CA3000StandardBulkDump {
public:
    uint8_t device = 0;
    std::string type;
    std::string name;
    std::vector<uint8_t> payload;

    CRawSysex ToMessage() const;
    // Every check of a received dump: XA3000ReceivedInvalidSysex for a
    // malformed one, XA3000ChecksumIncorrect for a block whose XOR fails.
    static CA3000StandardBulkDump Parse(const CRawSysex& message);
};

class CA3000ObjectList;

// An "OL" dump: the sampler's objects, whatever name the dump carries.
class CA3000ObjectListBulkDump {
public:
    uint8_t device = 0;
    std::vector<uint8_t> payload;

    // As CA3000StandardBulkDump::Parse; XA3000ReceivedInvalidSysex for a
    // dump of another type.
    static CA3000ObjectListBulkDump Parse(const CRawSysex& message);
    CA3000ObjectList List() const;
};

class CA3000ObjectList {
public:
    struct SEntry {
        uint32_t type = 0;
        std::string name;
    };
    // 17 bytes per object; a trailing partial entry is ignored.
    static CA3000ObjectList Decode(const std::vector<uint8_t>& payload);

    const std::vector<SEntry>& Entries() const { return entries_; }
    // The names of the objects of `type`, in list order: for samples, their
    // position is the sample number.
    std::vector<std::string> NamesOf(uint32_t type) const;
    bool Contains(uint32_t type, const std::string& name) const;

private:
    std::vector<SEntry> entries_;
};

} // namespace quorvel
