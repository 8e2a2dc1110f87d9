#include "devices/emulated/AKAIMemory.h"

#include <filesystem>

#include "devices/emulated/ByteImageReader.h"
#include "devices/emulated/EmulatorFiles.h"

namespace quorvel {

namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

CAKAIMemory::CAKAIMemory(size_t blockBytes, std::string folder) : blockBytes_(blockBytes), folder_(std::move(folder))
{
    if (!folder_.empty())
        Load();
}

std::vector<SAKAISample> CAKAIMemory::Samples() const
{
    std::lock_guard lock(mutex_);
    return samples_;
}

std::vector<SAKAIProgram> CAKAIMemory::Programs() const
{
    std::lock_guard lock(mutex_);
    return programs_;
}

std::optional<SAKAISample> CAKAIMemory::Sample(size_t number) const
{
    std::lock_guard lock(mutex_);
    if (number >= samples_.size())
        return std::nullopt;
    return samples_[number];
}

std::optional<SAKAIProgram> CAKAIMemory::Program(size_t number) const
{
    std::lock_guard lock(mutex_);
    if (number >= programs_.size())
        return std::nullopt;
    return programs_[number];
}

size_t CAKAIMemory::PutSample(size_t number, const SAKAISample& sample)
{
    std::lock_guard lock(mutex_);
    std::vector<SAKAISample> samples = samples_;
    if (number >= samples.size()) {
        number = samples.size();
        samples.push_back(sample);
    } else
        samples[number] = sample;
    Save(samples, programs_);
    samples_.swap(samples);
    return number;
}

size_t CAKAIMemory::PutProgram(size_t number, const SAKAIProgram& program)
{
    std::lock_guard lock(mutex_);
    std::vector<SAKAIProgram> programs = programs_;
    if (number >= programs.size()) {
        number = programs.size();
        programs.push_back(program);
    } else
        programs[number] = program;
    Save(samples_, programs);
    programs_.swap(programs);
    return number;
}

bool CAKAIMemory::DeleteSample(size_t number)
{
    std::lock_guard lock(mutex_);
    if (number >= samples_.size())
        return false;
    std::vector<SAKAISample> samples = samples_;
    samples.erase(samples.begin() + static_cast<std::ptrdiff_t>(number));
    Save(samples, programs_);
    samples_.swap(samples);
    return true;
}

bool CAKAIMemory::DeleteProgram(size_t number)
{
    std::lock_guard lock(mutex_);
    if (number >= programs_.size())
        return false;
    std::vector<SAKAIProgram> programs = programs_;
    programs.erase(programs.begin() + static_cast<std::ptrdiff_t>(number));
    Save(samples_, programs);
    programs_.swap(programs);
    return true;
}

void CAKAIMemory::Save(const std::vector<SAKAISample>& samples, const std::vector<SAKAIProgram>& programs) const
{
    if (folder_.empty())
        return;
    std::vector<uint8_t> bytes = {'Q', 'A', 'K', 'M', static_cast<uint8_t>(blockBytes_)};
    PutLE(bytes, static_cast<uint32_t>(samples.size()), 2);
    for (const SAKAISample& sample : samples) {
        bytes.insert(bytes.end(), sample.header.begin(), sample.header.end());
        PutLE(bytes, static_cast<uint32_t>(sample.words.size()), 4);
        for (uint16_t word : sample.words)
            PutLE(bytes, word, 2);
    }
    PutLE(bytes, static_cast<uint32_t>(programs.size()), 2);
    for (const SAKAIProgram& program : programs) {
        bytes.insert(bytes.end(), program.header.begin(), program.header.end());
        PutLE(bytes, static_cast<uint32_t>(program.keygroups.size()), 2);
        for (const AKAIBlock& keygroup : program.keygroups)
            bytes.insert(bytes.end(), keygroup.begin(), keygroup.end());
    }
    WriteEmulatorFile(folder_, kFileName, bytes);
}

void CAKAIMemory::Load()
{
    const std::optional<std::vector<uint8_t>> read = ReadEmulatorFile(std::filesystem::path(folder_) / kFileName);
    if (!read)
        return;
    const std::vector<uint8_t>& bytes = *read;
    SByteImageReader in{bytes};
    if (in.Take(4) != AKAIBlock{'Q', 'A', 'K', 'M'} || in.LE(1) != blockBytes_)
        return;
    std::vector<SAKAISample> samples(in.LE(2));
    for (SAKAISample& sample : samples) {
        sample.header = in.Take(blockBytes_);
        const uint32_t words = in.LE(4);
        if (in.broken || in.at + 2 * static_cast<size_t>(words) > bytes.size())
            return;
        sample.words.resize(words);
        for (uint16_t& word : sample.words)
            word = static_cast<uint16_t>(in.LE(2));
    }
    std::vector<SAKAIProgram> programs(in.LE(2));
    for (SAKAIProgram& program : programs) {
        program.header = in.Take(blockBytes_);
        program.keygroups.resize(in.LE(2));
        for (AKAIBlock& keygroup : program.keygroups)
            keygroup = in.Take(blockBytes_);
        if (in.broken)
            return;
    }
    if (!in.Whole())
        return;
    samples_ = std::move(samples);
    programs_ = std::move(programs);
}

} // namespace quorvel
