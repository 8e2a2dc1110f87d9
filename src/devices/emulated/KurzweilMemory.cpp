#include "devices/emulated/KurzweilMemory.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "framework/FileSpec.h"
#include "framework/Media.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

constexpr char kObjectsFile[] = "objects.k2";
constexpr char kMagic[] = "QKZO";
constexpr size_t kBlockHeader = 12;
constexpr size_t kSoundHeader = 32;

void PutBig(std::vector<uint8_t>& body, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        body[at + i] = static_cast<uint8_t>(value >> (8 * (width - 1 - i)));
}

void PutLittle(std::vector<uint8_t>& out, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetLittle(const uint8_t* in, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}

std::string DefaultName(uint16_t id) { return "Sample " + std::to_string(id); }

} // namespace

CKurzweilMemory::CKurzweilMemory(std::string folder, CSMDISampleStore& samples)
    : folder_(std::move(folder)), samples_(samples)
{
    if (!folder_.empty())
        Load();
}

std::optional<SKurzweilObject> CKurzweilMemory::Find(uint16_t type, uint16_t id) const
{
    std::lock_guard lock(mutex_);
    const auto found = objects_.find({type, id});
    if (found == objects_.end())
        return std::nullopt;
    return found->second;
}

void CKurzweilMemory::Put(SKurzweilObject object)
{
    std::lock_guard lock(mutex_);
    if (object.type == kurzweil::kSoundBlock && object.id > 0) {
        // A block written over one whose sample is held plays that sample.
        if (std::shared_ptr<const SSMDISample> sample = samples_.Shared(object.id - 1u))
            FitSoundBlock(object.body, *sample);
    }
    objects_[{object.type, object.id}] = std::move(object);
    SaveLocked();
}

bool CKurzweilMemory::Remove(uint16_t type, uint16_t id)
{
    std::lock_guard lock(mutex_);
    if (objects_.erase({type, id}) == 0)
        return false;
    if (type == kurzweil::kSoundBlock && id > 0) {
        samples_.Remove(id - 1u);
        fitted_.erase(id - 1u);
    }
    SaveLocked();
    return true;
}

std::optional<SKurzweilObject> CKurzweilMemory::Change(uint16_t type, uint16_t id, uint16_t newId,
                                                       const std::string& name)
{
    std::lock_guard lock(mutex_);
    const auto found = objects_.find({type, id});
    if (found == objects_.end())
        return std::nullopt;
    SKurzweilObject object = found->second;
    if (!name.empty())
        object.name = name;
    if (newId != 0 && newId != id) {
        objects_.erase(found);
        if (type == kurzweil::kSoundBlock) {
            samples_.Remove(newId - 1u);
            fitted_.erase(newId - 1u);
            if (std::optional<SSMDISample> sample = samples_.Find(id - 1u)) {
                sample->number = newId - 1u;
                samples_.Put(*sample);
                samples_.Remove(id - 1u);
                fitted_.erase(id - 1u);
                fitted_[newId - 1u] = samples_.Shared(newId - 1u);
            }
        }
        object.id = newId;
    }
    if (type == kurzweil::kSoundBlock && !name.empty()) {
        // The sample carries the block's name, as a Sample Header shows it.
        if (std::optional<SSMDISample> sample = samples_.Find(object.id - 1u); sample && sample->name != name) {
            sample->name = name;
            samples_.Put(*sample);
            fitted_[object.id - 1u] = samples_.Shared(object.id - 1u);
        }
    }
    objects_[{type, object.id}] = object;
    SaveLocked();
    return object;
}

uint16_t CKurzweilMemory::FirstFree(uint16_t type, uint32_t from, uint32_t last) const
{
    std::lock_guard lock(mutex_);
    for (uint32_t id = std::max<uint32_t>(from, 1); id <= last && id <= 0xFFFF; ++id)
        if (objects_.find({type, static_cast<uint16_t>(id)}) == objects_.end())
            return static_cast<uint16_t>(id);
    return 0;
}

std::vector<SKurzweilObject> CKurzweilMemory::List(uint16_t type, uint8_t bank) const
{
    std::lock_guard lock(mutex_);
    std::vector<SKurzweilObject> list;
    for (auto it = objects_.lower_bound({type, 0}); it != objects_.end() && it->first.first == type; ++it)
        if (bank == 127 || it->first.second / 100 == bank)
            list.push_back(it->second);
    return list;
}

void CKurzweilMemory::PutSample(SSMDISample sample)
{
    std::lock_guard lock(mutex_);
    const uint32_t number = sample.number;
    const auto block = objects_.find({kurzweil::kSoundBlock, static_cast<uint16_t>(number + 1)});
    if (block != objects_.end())
        sample.name = block->second.name;
    else if (sample.name.empty())
        sample.name = DefaultName(static_cast<uint16_t>(number + 1));
    samples_.Put(std::move(sample));
    std::shared_ptr<const SSMDISample> kept = samples_.Shared(number);
    fitted_[number] = kept;
    FitLocked(static_cast<uint16_t>(number + 1), *kept, kept->name);
    SaveLocked();
}

void CKurzweilMemory::Sync()
{
    std::lock_guard lock(mutex_);
    bool changed = false;
    std::set<uint32_t> present;
    for (uint32_t number : samples_.Numbers()) {
        present.insert(number);
        std::shared_ptr<const SSMDISample> sample = samples_.Shared(number);
        if (!sample || fitted_[number] == sample)
            continue;
        fitted_[number] = sample;
        if (number >= 0xFFFF)
            continue;
        const auto before = objects_.find({kurzweil::kSoundBlock, static_cast<uint16_t>(number + 1)});
        const std::optional<SKurzweilObject> old =
            before == objects_.end() ? std::nullopt : std::optional<SKurzweilObject>(before->second);
        FitLocked(static_cast<uint16_t>(number + 1), *sample,
                  sample->name.empty() ? DefaultName(static_cast<uint16_t>(number + 1)) : sample->name);
        changed = changed || !old || *old != objects_[{kurzweil::kSoundBlock, static_cast<uint16_t>(number + 1)}];
    }
    for (auto it = fitted_.begin(); it != fitted_.end();) {
        if (present.count(it->first)) {
            ++it;
            continue;
        }
        // Deleted over SCSI: its block goes with it.
        if (it->first < 0xFFFF)
            changed = objects_.erase({kurzweil::kSoundBlock, static_cast<uint16_t>(it->first + 1)}) > 0 || changed;
        it = fitted_.erase(it);
    }
    if (changed)
        SaveLocked();
}

void CKurzweilMemory::FitLocked(uint16_t id, const SSMDISample& sample, const std::string& nameIfNew)
{
    if (id == 0)
        return;
    auto found = objects_.find({kurzweil::kSoundBlock, id});
    if (found == objects_.end()) {
        SKurzweilObject block;
        block.type = kurzweil::kSoundBlock;
        block.id = id;
        block.name = nameIfNew.substr(0, 16);
        block.body = EmptySoundBlock();
        found = objects_.emplace(std::make_pair(kurzweil::kSoundBlock, id), std::move(block)).first;
    }
    FitSoundBlock(found->second.body, sample);
}

std::vector<uint8_t> CKurzweilMemory::EmptySoundBlock()
{
    std::vector<uint8_t> body(kBlockHeader + kSoundHeader, 0);
    PutBig(body, 4, 8, 2); // from this field to the first sound header
    uint8_t* header = body.data() + kBlockHeader;
    header[0] = 60;
    header[1] = 0x80 | 0x30; // loop off
    std::vector<uint8_t>& b = body;
    PutBig(b, kBlockHeader + 4, 6147, 2);
    PutBig(b, kBlockHeader + 24, 8, 2);
    PutBig(b, kBlockHeader + 26, 6, 2);
    PutBig(b, kBlockHeader + 28, 1000000000u / 44100u, 4);
    return body;
}

void CKurzweilMemory::FitSoundBlock(std::vector<uint8_t>& body, const SSMDISample& sample)
{
    if (body.size() < kBlockHeader + kSoundHeader)
        body = EmptySoundBlock();
    body[6] = static_cast<uint8_t>((body[6] & ~1u) | (sample.channels == 2 ? 1u : 0u));
    const size_t h = kBlockHeader;
    const uint32_t root = sample.pitch + (sample.pitchFraction >= 0x8000 ? 1u : 0u);
    body[h] = static_cast<uint8_t>(std::min<uint32_t>(root, 127));
    uint8_t flags = static_cast<uint8_t>(body[h + 1] & ~0x82u);
    if (sample.loopControl == 0x01)
        flags |= 0x02;
    else if (sample.loopControl != 0x00)
        flags |= 0x80;
    body[h + 1] = flags;
    PutBig(body, h + 8, 0, 4);
    PutBig(body, h + 12, sample.length ? sample.length - 1 : 0, 4);
    PutBig(body, h + 16, sample.loopStart, 4);
    PutBig(body, h + 20, sample.loopEnd, 4);
    PutBig(body, h + 28, sample.periodNs, 4);
}

void CKurzweilMemory::SaveLocked()
{
    if (folder_.empty())
        return;
    std::vector<uint8_t> bytes(kMagic, kMagic + 4);
    PutLittle(bytes, static_cast<uint32_t>(objects_.size()), 4);
    for (const auto& [key, object] : objects_) {
        PutLittle(bytes, object.type, 2);
        PutLittle(bytes, object.id, 2);
        bytes.push_back(object.flag);
        const std::string name = object.name.substr(0, 255);
        bytes.push_back(static_cast<uint8_t>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
        PutLittle(bytes, static_cast<uint32_t>(object.body.size()), 4);
        bytes.insert(bytes.end(), object.body.begin(), object.body.end());
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    SafeWrite(CFileSpec((std::filesystem::path(folder_) / kObjectsFile).string()),
              [&](CMedia& media) { media.Write(static_cast<int32_t>(bytes.size()), bytes.data()); });
}

void CKurzweilMemory::Load()
{
    std::ifstream file(std::filesystem::path(folder_) / kObjectsFile, std::ios::binary);
    if (!file)
        return;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 8 || !std::equal(kMagic, kMagic + 4, bytes.begin()))
        return;
    std::map<Key, SKurzweilObject> objects;
    const uint32_t count = GetLittle(bytes.data() + 4, 4);
    size_t at = 8;
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 6)
            return;
        SKurzweilObject object;
        object.type = static_cast<uint16_t>(GetLittle(&bytes[at], 2));
        object.id = static_cast<uint16_t>(GetLittle(&bytes[at + 2], 2));
        object.flag = bytes[at + 4];
        const size_t nameLength = bytes[at + 5];
        at += 6;
        if (bytes.size() - at < nameLength + 4)
            return;
        object.name.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + nameLength));
        at += nameLength;
        const size_t bodyLength = GetLittle(&bytes[at], 4);
        at += 4;
        if (bytes.size() - at < bodyLength)
            return;
        object.body.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + bodyLength));
        at += bodyLength;
        objects[{object.type, object.id}] = std::move(object);
    }
    if (at == bytes.size())
        objects_ = std::move(objects);
}

} // namespace quorvel
