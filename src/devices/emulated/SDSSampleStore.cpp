#include "devices/emulated/SDSSampleStore.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/FileExceptions.h"
#include "framework/FileSpec.h"
#include "framework/Media.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

constexpr size_t kHeaderBytes = 21;
// The most words a header can announce (21 bits).
constexpr size_t kMaxWords = 0x1FFFFF;

} // namespace

CSDSSampleStore::CSDSSampleStore(std::string folder) : folder_(std::move(folder))
{
    if (!folder_.empty())
        Load();
}

std::string CSDSSampleStore::FileName(uint16_t number)
{
    char name[32];
    std::snprintf(name, sizeof name, "sample-%05u.sds", static_cast<unsigned>(number));
    return name;
}

void CSDSSampleStore::Put(const SSDSSample& sample)
{
    std::lock_guard lock(mutex_);
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder_, error);
        std::vector<uint8_t> bytes = SDSDumpHeader(sample, 0x00);
        for (uint32_t word : sample.words)
            for (int i = 0; i < 4; ++i)
                bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
        SafeWrite(CFileSpec((std::filesystem::path(folder_) / FileName(sample.number)).string()),
                  [&](CMedia& media) { media.Write(static_cast<int32_t>(bytes.size()), bytes.data()); });
    }
    samples_[sample.number] = sample;
}

bool CSDSSampleStore::Remove(uint16_t number)
{
    std::lock_guard lock(mutex_);
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::remove(std::filesystem::path(folder_) / FileName(number), error);
    }
    return samples_.erase(number) > 0;
}

std::optional<SSDSSample> CSDSSampleStore::Find(uint16_t number) const
{
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(number);
    if (found == samples_.end())
        return std::nullopt;
    return found->second;
}

std::vector<uint16_t> CSDSSampleStore::Numbers() const
{
    std::lock_guard lock(mutex_);
    std::vector<uint16_t> numbers;
    for (const auto& entry : samples_)
        numbers.push_back(entry.first);
    return numbers;
}

void CSDSSampleStore::Load()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != 16 || name.compare(0, 7, "sample-") != 0 || name.compare(12, 4, ".sds") != 0)
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (bytes.size() < kHeaderBytes)
            continue;
        SSDSSample sample;
        uint32_t length = 0;
        if (!ParseSDSDumpHeader(std::vector<uint8_t>(bytes.begin(), bytes.begin() + kHeaderBytes), sample, length) ||
            length > kMaxWords || bytes.size() != kHeaderBytes + 4 * static_cast<size_t>(length) ||
            sample.format < 8 || sample.format > 28 || FileName(sample.number) != name)
            continue;
        sample.words.resize(length);
        for (uint32_t w = 0; w < length; ++w) {
            const uint8_t* p = bytes.data() + kHeaderBytes + 4 * static_cast<size_t>(w);
            sample.words[w] = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
        }
        samples_[sample.number] = std::move(sample);
    }
}

} // namespace quorvel
