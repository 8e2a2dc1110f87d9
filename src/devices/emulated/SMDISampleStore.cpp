#include "devices/emulated/SMDISampleStore.h"

#include <cstdio>
#include <filesystem>
#include <iterator>

#include "devices/emulated/EmulatorFiles.h"
#include "framework/FileExceptions.h"

namespace quorvel {

namespace {

constexpr size_t kFileNameLength = 20; // "sample-" + 8 digits + ".smdi"

} // namespace

CSMDISampleStore::CSMDISampleStore(std::string folder) : folder_(std::move(folder))
{
    if (!folder_.empty())
        Load();
}

std::string CSMDISampleStore::FileName(uint32_t number)
{
    char name[32];
    std::snprintf(name, sizeof name, "sample-%08u.smdi", static_cast<unsigned>(number & 0xFFFFFF));
    return name;
}

void CSMDISampleStore::Put(SSMDISample sample)
{
    std::lock_guard lock(mutex_);
    if (!folder_.empty()) {
        SMDIBytes bytes = SampleHeaderMessage(sample);
        bytes.insert(bytes.end(), sample.data.begin(), sample.data.end());
        WriteEmulatorFile(folder_, FileName(sample.number), bytes);
    }
    const uint32_t number = sample.number;
    samples_[number] = std::make_shared<const SSMDISample>(std::move(sample));
}

bool CSMDISampleStore::Remove(uint32_t number)
{
    std::lock_guard lock(mutex_);
    if (samples_.count(number) == 0)
        return false;
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::remove(std::filesystem::path(folder_) / FileName(number), error);
        if (error)
            throw XFile();
    }
    samples_.erase(number);
    return true;
}

std::optional<SSMDISample> CSMDISampleStore::Find(uint32_t number) const
{
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(number);
    if (found == samples_.end())
        return std::nullopt;
    return *found->second;
}

std::shared_ptr<const SSMDISample> CSMDISampleStore::Shared(uint32_t number) const
{
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(number);
    return found == samples_.end() ? nullptr : found->second;
}

bool CSMDISampleStore::Contains(uint32_t number) const
{
    std::lock_guard lock(mutex_);
    return samples_.count(number) != 0;
}

std::vector<uint32_t> CSMDISampleStore::Numbers() const
{
    std::lock_guard lock(mutex_);
    std::vector<uint32_t> numbers;
    for (const auto& entry : samples_)
        numbers.push_back(entry.first);
    return numbers;
}

void CSMDISampleStore::Load()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != kFileNameLength || name.compare(0, 7, "sample-") != 0 ||
            name.compare(15, 5, ".smdi") != 0)
            continue;
        const SMDIBytes bytes = ReadEmulatorFile(entry.path()).value_or(std::vector<uint8_t>());
        if (bytes.size() < kSMDIHeaderBytes)
            continue;
        const size_t headerSize = kSMDIHeaderBytes + GetBigEndian(bytes.data() + 8, 3);
        SSMDIMessage header;
        SSMDISample sample;
        if (headerSize > bytes.size() || !ParseSMDIMessage(bytes.data(), headerSize, header) ||
            header.code != kSMDISampleHeader || !ParseSampleHeaderData(header.data, sample) || sample.bits == 0 ||
            sample.bits > 32 || sample.channels == 0 || FileName(sample.number) != name ||
            bytes.size() - headerSize != SMDIDataBytes(sample))
            continue;
        sample.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(headerSize), bytes.end());
        const uint32_t number = sample.number;
        samples_[number] = std::make_shared<const SSMDISample>(std::move(sample));
    }
}

} // namespace quorvel
