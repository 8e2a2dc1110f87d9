#include "fileformats/PreferenceObjects.h"

#include <algorithm>
#include <cstring>

#include "fileformats/ByteRecord.h"

namespace quorvel {

namespace {

constexpr uint8_t kFormatVersion = 1;

void CopyOut(const CByteRecord& record, uint8_t* buffer) { std::memcpy(buffer, record.Bytes().data(), record.Bytes().size()); }

void Require(const uint8_t* buffer, uint32_t length, uint32_t size)
{
    if (length != size || buffer[0] != kFormatVersion)
        throw XInvalidPreferencesChunk();
}

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint32_t BE32(const uint8_t* p) { return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// A zero-filled text field; a field without a terminating zero is cut to
// its size less one, as the writer would have cut it.
std::string Text(const uint8_t* p, size_t field)
{
    const auto* end = std::find(p, p + field - 1, uint8_t{0});
    return std::string(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(end));
}

} // namespace

std::vector<uint8_t> CABCDataFormat::Bytes() const
{
    std::vector<uint8_t> bytes(Size());
    Write(bytes.data());
    return bytes;
}

void CSoundPreferences::Write(uint8_t* buffer) const
{
    CByteRecord record;
    record.U8(kFormatVersion);
    for (const std::string& text : cardTexts)
        record.Name(text, kTextField);
    record.U16(channelSetting).Zeros(2).BE32(static_cast<uint32_t>(outputRate));
    CopyOut(record, buffer);
}

void CSoundPreferences::Read(const uint8_t* buffer, uint32_t length)
{
    Require(buffer, length, kSize);
    for (size_t i = 0; i < cardTexts.size(); ++i)
        cardTexts[i] = Text(buffer + 1 + i * kTextField, kTextField);
    channelSetting = U16(buffer + 196);
    outputRate = static_cast<int32_t>(BE32(buffer + 200));
}

void CQuorvelApplicationPreferences::Write(uint8_t* buffer) const
{
    CByteRecord record;
    record.U8(kFormatVersion)
        .U16(values.waveformColor.red)
        .U16(values.waveformColor.green)
        .U16(values.waveformColor.blue)
        .U8(values.scrollDuringPlayback)
        .U8(values.alwaysMoveLeftLocator)
        .U16(values.transmitTarget)
        .U16(static_cast<uint16_t>(values.waveformLook))
        .U8(values.keptSetting)
        .U8(values.barsToOneInNewDocuments)
        .U8(values.brightness)
        .U8(values.showOpenDialogOnStartup);
    CopyOut(record, buffer);
}

void CQuorvelApplicationPreferences::Read(const uint8_t* buffer, uint32_t length)
{
    Require(buffer, length, kSize);
    SApplicationPreferences read;
    read.waveformColor = {U16(buffer + 1), U16(buffer + 3), U16(buffer + 5)};
    read.scrollDuringPlayback = buffer[7] != 0;
    read.alwaysMoveLeftLocator = buffer[8] != 0;
    read.transmitTarget = U16(buffer + 9);
    // An unknown look falls back to the default rather than reaching the
    // views as a style they cannot draw.
    const uint16_t look = U16(buffer + 11);
    read.waveformLook = look <= 2 ? static_cast<WaveformLook>(look) : WaveformLook::Shaded;
    read.keptSetting = buffer[13];
    read.barsToOneInNewDocuments = buffer[14] != 0;
    read.brightness = std::min<uint8_t>(buffer[15], 100);
    read.showOpenDialogOnStartup = buffer[16] != 0;
    values = read;
}

void CQuorvelDefaultDocumentPreferences::Write(uint8_t* buffer) const
{
    CByteRecord record;
    record.U8(kFormatVersion)
        .U8(values.transmitNormalized)
        .U8(values.silenceSelected)
        .U8(values.separateSamples)
        .U8(values.pitchMode)
        .U16(static_cast<uint16_t>(values.stretchIndex));
    CopyOut(record, buffer);
}

void CQuorvelDefaultDocumentPreferences::Read(const uint8_t* buffer, uint32_t length)
{
    Require(buffer, length, kSize);
    DefaultDocumentOptions read;
    read.transmitNormalized = buffer[1] != 0;
    read.silenceSelected = buffer[2] != 0;
    read.separateSamples = buffer[3] != 0;
    read.pitchMode = buffer[4] != 0;
    read.stretchIndex = static_cast<int16_t>(U16(buffer + 5));
    values = read;
}

uint32_t CLRUDocsPreferences::Size() const
{
    uint32_t size = 6;
    for (const std::string& path : paths)
        size += 4 + static_cast<uint32_t>(path.size()) + 5;
    return size;
}

void CLRUDocsPreferences::Write(uint8_t* buffer) const
{
    CByteRecord record;
    record.U8(kFormatVersion).U8(static_cast<uint8_t>(paths.size()));
    record.Raw({kPlatformTag[0], kPlatformTag[1], kPlatformTag[2], kPlatformTag[3]});
    for (const std::string& path : paths)
        record.U32(static_cast<uint32_t>(path.size() + 5));
    for (const std::string& path : paths)
        record.BE32(kRecordMagic).Text(path).U8(0);
    CopyOut(record, buffer);
}

void CLRUDocsPreferences::Read(const uint8_t* buffer, uint32_t length)
{
    if (length < 6 || buffer[0] != kFormatVersion)
        throw XInvalidPreferencesChunk();
    const uint32_t count = buffer[1];
    if (!std::equal(kPlatformTag.begin(), kPlatformTag.end(), buffer + 2)) {
        paths.clear();
        platformMatched = false;
        return;
    }
    if (6 + 4ull * count > length)
        throw XInvalidPreferencesChunk();
    std::vector<std::string> read;
    uint64_t offset = 6 + 4ull * count;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t recordLength = U32(buffer + 6 + 4 * i);
        if (recordLength < 5 || offset + recordLength > length)
            throw XInvalidPreferencesChunk();
        const uint8_t* record = buffer + offset;
        if (BE32(record) != kRecordMagic || record[recordLength - 1] != 0)
            throw XInvalidPreferencesChunk();
        read.emplace_back(reinterpret_cast<const char*>(record + 4), recordLength - 5);
        offset += recordLength;
    }
    paths = std::move(read);
    platformMatched = true;
}

void CColorTablePreferences::Write(uint8_t* buffer) const
{
    CByteRecord record;
    record.U8(kFormatVersion).U16(static_cast<uint16_t>(colors.size()));
    for (const SRGBColor& color : colors)
        record.U16(color.red).U16(color.green).U16(color.blue);
    CopyOut(record, buffer);
}

void CColorTablePreferences::Read(const uint8_t* buffer, uint32_t length)
{
    if (length < 3 || buffer[0] != kFormatVersion)
        throw XInvalidPreferencesChunk();
    const uint32_t count = U16(buffer + 1);
    if (length != 3 + 6 * count)
        throw XInvalidPreferencesChunk();
    std::vector<SRGBColor> read;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = buffer + 3 + 6 * i;
        read.push_back({U16(p), U16(p + 2), U16(p + 4)});
    }
    colors = std::move(read);
}

void CPersistentInstalledSampler::Write(uint8_t* buffer) const
{
    CByteRecord record;
    record.U8(kFormatVersion)
        .U32(modelTypeId)
        .Name(modelName, 32)
        .Name(scsiBus.driverKind, 33)
        .Name(scsiBus.device, 33)
        .Name(midiIn.device, 33)
        .Name(midiIn.driverKind, 33)
        .Name(midiOut.device, 33)
        .Name(midiOut.driverKind, 33)
        .U8(scsiId)
        .U8(sysexId)
        .Name(userName, 41)
        .Zeros(60);
    if (versionKnown)
        record.U8(kVersionMark).U8(osVersion.major).U8(osVersion.minor).U8(osVersion.third).U8(0);
    else
        record.Zeros(5);
    CopyOut(record, buffer);
}

void CPersistentInstalledSampler::Read(const uint8_t* buffer, uint32_t length)
{
    Require(buffer, length, kSize);
    CPersistentInstalledSampler read;
    read.modelTypeId = U32(buffer + 1);
    read.modelName = Text(buffer + 5, 32);
    read.scsiBus = {Text(buffer + 70, 33), Text(buffer + 37, 33)};
    read.midiIn = {Text(buffer + 103, 33), Text(buffer + 136, 33)};
    read.midiOut = {Text(buffer + 169, 33), Text(buffer + 202, 33)};
    read.scsiId = buffer[235];
    read.sysexId = buffer[236];
    read.userName = Text(buffer + 237, 41);
    read.versionKnown = buffer[338] == kVersionMark;
    if (read.versionKnown)
        read.osVersion = {buffer[339], buffer[340], buffer[341]};
    *this = read;
}

bool CPersistentInstalledSampler::operator==(const CPersistentInstalledSampler& other) const
{
    return modelTypeId == other.modelTypeId && modelName == other.modelName && scsiBus == other.scsiBus &&
           midiIn == other.midiIn && midiOut == other.midiOut && scsiId == other.scsiId &&
           sysexId == other.sysexId && userName == other.userName && versionKnown == other.versionKnown &&
           (!versionKnown || osVersion == other.osVersion);
}

} // namespace quorvel
