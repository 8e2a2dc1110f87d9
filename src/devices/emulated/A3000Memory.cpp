#include "devices/emulated/A3000Memory.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/FileSpec.h"
#include "framework/Media.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

constexpr uint8_t kFormat = 1;

void PutLE(A3000Bytes& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutString(A3000Bytes& out, const A3000Bytes& bytes)
{
    PutLE(out, static_cast<uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

struct SReader {
    const A3000Bytes& bytes;
    size_t at = 0;
    bool broken = false;

    A3000Bytes Take(size_t count)
    {
        if (broken || count > bytes.size() - at) {
            broken = true;
            return {};
        }
        A3000Bytes taken(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
        return taken;
    }
    uint32_t LE()
    {
        const A3000Bytes four = Take(4);
        return broken ? 0 : four[0] | four[1] << 8 | four[2] << 16 | static_cast<uint32_t>(four[3]) << 24;
    }
    A3000Bytes String() { return Take(LE()); }
};

} // namespace

CA3000Memory::CA3000Memory(std::string folder) : folder_(std::move(folder))
{
    if (!folder_.empty())
        Load();
}

std::vector<SA3000Object> CA3000Memory::Objects() const
{
    std::lock_guard lock(mutex_);
    return objects_;
}

std::optional<SA3000Object> CA3000Memory::Find(uint8_t type, const A3000Name& name) const
{
    std::lock_guard lock(mutex_);
    for (const SA3000Object& object : objects_)
        if (object.type == type && SameA3000Name(object.name, name))
            return object;
    return std::nullopt;
}

size_t CA3000Memory::SampleCount() const
{
    std::lock_guard lock(mutex_);
    size_t count = 0;
    for (const SA3000Object& object : objects_)
        count += object.type == kA3000SampleObject;
    return count;
}

std::optional<SA3000Object> CA3000Memory::Sample(size_t number) const
{
    std::lock_guard lock(mutex_);
    const size_t index = SampleIndex(number);
    if (index == objects_.size())
        return std::nullopt;
    return objects_[index];
}

uint64_t CA3000Memory::Generation() const
{
    std::lock_guard lock(mutex_);
    return generation_;
}

size_t CA3000Memory::SampleIndex(size_t number) const
{
    for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].type == kA3000SampleObject && number-- == 0)
            return i;
    return objects_.size();
}

void CA3000Memory::Put(const SA3000Object& object)
{
    std::lock_guard lock(mutex_);
    std::vector<SA3000Object> objects = objects_;
    bool replaced = false;
    for (SA3000Object& old : objects)
        if (!replaced && old.type == object.type && SameA3000Name(old.name, object.name)) {
            old = object;
            replaced = true;
        }
    if (!replaced)
        objects.push_back(object);
    Commit(std::move(objects));
}

void CA3000Memory::PutSample(size_t number, const SA3000Object& sample)
{
    std::lock_guard lock(mutex_);
    std::vector<SA3000Object> objects = objects_;
    const size_t index = SampleIndex(number);
    if (index == objects.size())
        objects.push_back(sample);
    else
        objects[index] = sample;
    Commit(std::move(objects));
}

bool CA3000Memory::RemoveSample(size_t number)
{
    std::lock_guard lock(mutex_);
    const size_t index = SampleIndex(number);
    if (index == objects_.size())
        return false;
    std::vector<SA3000Object> objects = objects_;
    objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(index));
    Commit(std::move(objects));
    return true;
}

void CA3000Memory::Commit(std::vector<SA3000Object> objects)
{
    if (!folder_.empty()) {
        A3000Bytes bytes = {'Q', 'A', '3', 'M', kFormat};
        PutLE(bytes, static_cast<uint32_t>(objects.size()));
        for (const SA3000Object& object : objects) {
            bytes.push_back(object.type);
            bytes.insert(bytes.end(), object.name.begin(), object.name.end());
            PutString(bytes, object.waveBlock);
            PutString(bytes, object.waveBytes);
            PutString(bytes, object.parameters);
            PutString(bytes, object.smdiHeader);
        }
        std::error_code error;
        std::filesystem::create_directories(folder_, error);
        SafeWrite(CFileSpec((std::filesystem::path(folder_) / kFileName).string()),
                  [&](CMedia& media) { media.Write(static_cast<int32_t>(bytes.size()), bytes.data()); });
    }
    objects_ = std::move(objects);
    ++generation_;
}

void CA3000Memory::Load()
{
    std::ifstream file(std::filesystem::path(folder_) / kFileName, std::ios::binary);
    if (!file)
        return;
    const A3000Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    SReader in{bytes};
    if (in.Take(5) != A3000Bytes{'Q', 'A', '3', 'M', kFormat})
        return;
    const uint32_t count = in.LE();
    std::vector<SA3000Object> objects;
    for (uint32_t i = 0; i < count && !in.broken; ++i) {
        SA3000Object object;
        const A3000Bytes type = in.Take(1);
        const A3000Bytes name = in.Take(16);
        if (in.broken)
            return;
        object.type = type[0];
        std::copy(name.begin(), name.end(), object.name.begin());
        object.waveBlock = in.String();
        object.waveBytes = in.String();
        object.parameters = in.String();
        object.smdiHeader = in.String();
        objects.push_back(std::move(object));
    }
    if (in.broken || in.at != bytes.size())
        return;
    objects_ = std::move(objects);
}

} // namespace quorvel
