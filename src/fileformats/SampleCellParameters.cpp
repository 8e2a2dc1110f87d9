#include "fileformats/SampleCellParameters.h"

#include <initializer_list>
#include <utility>

#include "fileformats/ByteOrder.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFReader.h"

namespace quorvel {

namespace {

constexpr uint32_t kGeneralBytes = 60;
constexpr uint32_t kKeyMapHead = 30; // header and the first zone
constexpr uint32_t kTemplateKeyOffset = 8;

using Words = std::initializer_list<std::pair<size_t, uint16_t>>;

void SetWords(uint8_t* record, Words words)
{
    for (const auto& [offset, value] : words)
        PutLE16(record + offset, value);
}

SampleCellBlock General()
{
    SampleCellBlock block{"GenP", 0, 0, std::vector<uint8_t>(kGeneralBytes)};
    SetWords(block.bytes.data(), {{2, 1}, {4, 21}, {6, 108}, {18, 1}, {22, 10}, {26, 1},
                                  {42, 1}, {46, 99}, {50, 1}, {52, 8}, {54, 30}, {58, 255}});
    return block;
}

// A block of `count` equal records, after its 4-byte header.
SampleCellBlock Records(FourCC id, uint16_t count, uint8_t size, Words words)
{
    SampleCellBlock block{id, count, size, std::vector<uint8_t>(4 + size_t(count) * size)};
    PutLE16(block.bytes.data(), count);
    block.bytes[2] = size;
    for (uint16_t i = 0; i < count; ++i)
        SetWords(block.bytes.data() + 4 + size_t(i) * size, words);
    return block;
}

SampleCellBlock Tracking()
{
    Words steps{{2, 0}, {4, 13}, {6, 25}, {8, 38}, {10, 50}, {12, 63}, {14, 75}, {16, 87}, {18, 99}};
    return Records("TrkP", 2, 20, steps);
}

bool Find(CIFFReader& reader, FourCC id, uint32_t& size)
{
    try {
        return reader.FindChunk(id, size);
    } catch (const XBase&) {
        throw XSampleCellTemplate();
    }
}

void Read(CIFFReader& reader, uint32_t size, uint32_t count, void* buffer)
{
    if (count > size)
        throw XSampleCellTemplate();
    try {
        reader.Media().Read(static_cast<int32_t>(count), buffer);
    } catch (const XBase&) {
        throw XSampleCellTemplate();
    }
}

} // namespace

SampleCellParameters SampleCellParameters::Defaults()
{
    SampleCellParameters p;
    p.blocks.push_back(General());
    p.blocks.push_back(Records("EnvP", 3, 16, {{4, 99}, {6, 99}, {8, 10}, {14, 99}}));
    p.blocks.push_back(Records("LFOP", 2, 8, {{0, 50}}));
    p.blocks.push_back(Records("Ramp", 1, 2, {}));
    p.blocks.push_back(Tracking());
    p.blocks.push_back(Records("ModP", 20, 8, {{2, 1}, {4, 5}}));
    return p;
}

SampleCellParameters ReadSampleCellTemplate(CMedia& media)
{
    SampleCellParameters p = SampleCellParameters::Defaults();
    RIFF_READER reader(media);
    reader.ClearPad();

    uint32_t size = 0;
    uint8_t keyMap[kKeyMapHead];
    if (!Find(reader, "KeyP", size))
        throw XSampleCellTemplate();
    Read(reader, size, kKeyMapHead, keyMap);
    p.templateKey = GetLE16(keyMap + kTemplateKeyOffset);

    for (SampleCellBlock& block : p.blocks) {
        const bool general = block.count == 0;
        if (!Find(reader, block.id, size)) {
            if (general)
                throw XSampleCellTemplate();
            continue;
        }
        if (general) {
            Read(reader, size, kGeneralBytes, block.bytes.data());
            continue;
        }
        uint8_t header[4];
        Read(reader, size, 4, header);
        if (GetLE16(header) != block.count || header[2] != block.recordSize)
            continue; // a block of another shape keeps the defaults
        Read(reader, size - 4, static_cast<uint32_t>(block.bytes.size() - 4), block.bytes.data() + 4);
    }
    return p;
}

} // namespace quorvel
