#include "devices/emulated/EnsoniqMemory.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/FileSpec.h"
#include "framework/Media.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutWords(std::vector<uint8_t>& out, const EnsoniqWords& words)
{
    for (uint16_t word : words)
        PutLE(out, word, 2);
}

// Reads from a byte image; any read past its end marks it broken.
struct SReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;
    bool broken = false;

    uint32_t LE(int count)
    {
        if (broken || at + static_cast<size_t>(count) > bytes.size()) {
            broken = true;
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value |= static_cast<uint32_t>(bytes[at + static_cast<size_t>(i)]) << (8 * i);
        at += static_cast<size_t>(count);
        return value;
    }
    EnsoniqWords Words(size_t count)
    {
        if (broken || at + 2 * count > bytes.size()) {
            broken = true;
            return {};
        }
        EnsoniqWords words(count);
        for (uint16_t& word : words)
            word = static_cast<uint16_t>(LE(2));
        return words;
    }
};

} // namespace

CEnsoniqMemory::CEnsoniqMemory(std::string folder) : folder_(std::move(folder))
{
    if (!folder_.empty())
        Load();
}

EnsoniqInstruments CEnsoniqMemory::Instruments() const
{
    std::lock_guard lock(mutex_);
    return instruments_;
}

uint64_t CEnsoniqMemory::UsedWords() const
{
    std::lock_guard lock(mutex_);
    uint64_t words = 0;
    for (const auto& instrument : instruments_)
        if (instrument)
            for (const auto& [number, wave] : instrument->waves)
                words += wave.data.size();
    return words;
}

void CEnsoniqMemory::Replace(const EnsoniqInstruments& instruments)
{
    std::lock_guard lock(mutex_);
    Save(instruments);
    instruments_ = instruments;
}

void CEnsoniqMemory::Save(const EnsoniqInstruments& instruments) const
{
    if (folder_.empty())
        return;
    std::vector<uint8_t> bytes = {'Q', 'E', 'N', 'M'};
    for (const auto& instrument : instruments) {
        bytes.push_back(instrument ? 1 : 0);
        if (!instrument)
            continue;
        PutWords(bytes, instrument->block);
        uint8_t present = 0;
        for (size_t layer = 0; layer < kEnsoniqSlots; ++layer)
            if (instrument->layers[layer])
                present = static_cast<uint8_t>(present | (1u << layer));
        bytes.push_back(present);
        for (const auto& layer : instrument->layers)
            if (layer)
                PutWords(bytes, *layer);
        PutLE(bytes, static_cast<uint32_t>(instrument->waves.size()), 2);
        for (const auto& [number, wave] : instrument->waves) {
            bytes.push_back(static_cast<uint8_t>(number));
            bytes.push_back(wave.layer);
            PutWords(bytes, wave.block);
            PutLE(bytes, static_cast<uint32_t>(wave.data.size()), 4);
            PutWords(bytes, wave.data);
        }
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    SafeWrite(CFileSpec((std::filesystem::path(folder_) / kFileName).string()),
              [&](CMedia& media) { media.Write(static_cast<int32_t>(bytes.size()), bytes.data()); });
}

void CEnsoniqMemory::Load()
{
    std::ifstream file(std::filesystem::path(folder_) / kFileName, std::ios::binary);
    if (!file)
        return;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    SReader in{bytes};
    if (in.LE(4) != 0x4D4E4551u) // "QENM"
        return;
    EnsoniqInstruments instruments;
    for (auto& slot : instruments) {
        const uint32_t present = in.LE(1);
        if (present > 1)
            return;
        if (present == 0)
            continue;
        SEnsoniqInstrument instrument;
        instrument.block = in.Words(kEnsoniqInstrumentWords);
        const uint32_t layers = in.LE(1);
        for (size_t layer = 0; layer < kEnsoniqSlots; ++layer)
            if (layers & (1u << layer))
                instrument.layers[layer] = in.Words(kEnsoniqLayerWords);
        const uint32_t count = in.LE(2);
        for (uint32_t i = 0; i < count && !in.broken; ++i) {
            const uint16_t number = static_cast<uint16_t>(in.LE(1));
            SEnsoniqWave wave;
            wave.layer = static_cast<uint8_t>(in.LE(1));
            wave.block = in.Words(kEnsoniqWaveWords);
            wave.data = in.Words(in.LE(4));
            if (number == 0 || number > kEnsoniqLastWave || wave.layer >= kEnsoniqSlots ||
                !instrument.layers[wave.layer] || !instrument.waves.emplace(number, std::move(wave)).second)
                return;
        }
        if (in.broken)
            return;
        slot = std::move(instrument);
    }
    if (in.broken || in.at != bytes.size())
        return;
    instruments_ = std::move(instruments);
}

} // namespace quorvel
