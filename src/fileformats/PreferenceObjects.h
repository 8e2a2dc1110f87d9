#pragma once
// The settings objects of the preferences file. Each serialises itself into
// one chunk: a version byte 1, then its fields (little-endian unless noted).
// Reading a buffer of the wrong size or version throws
// XInvalidPreferencesChunk and leaves the object as it was.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/ApplicationSettings.h"
#include "document/DocumentSettings.h"
#include "framework/FileExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XPreferences, XFile);
QUORVEL_EXCEPTION(XInvalidPreferencesFile, XPreferences);
QUORVEL_EXCEPTION(XInvalidPreferencesChunk, XPreferences);
QUORVEL_EXCEPTION(XPreferencesChunkNotFound, XPreferences);
QUORVEL_EXCEPTION(XSamplerNotSupported, XPreferences);

class CABCDataFormat {
public:
    virtual ~CABCDataFormat() = default;
    virtual uint32_t Size() const = 0;
    // Fills exactly Size() bytes.
    virtual void Write(uint8_t* buffer) const = 0;
    virtual void Read(const uint8_t* buffer, uint32_t length) = 0;

    std::vector<uint8_t> Bytes() const;
};

// The chosen sound card, by its registry texts, and its channel setting.
class CSoundPreferences : public CABCDataFormat {
public:
    static constexpr uint32_t kSize = 204;
    static constexpr size_t kTextField = 65;

    std::array<std::string, 3> cardTexts; // type, name, driver
    uint16_t channelSetting = 0;
    int32_t outputRate = 44100;

    uint32_t Size() const override { return kSize; }
    void Write(uint8_t* buffer) const override;
    void Read(const uint8_t* buffer, uint32_t length) override;
};

class CQuorvelApplicationPreferences : public CABCDataFormat {
public:
    static constexpr uint32_t kSize = 17;

    SApplicationPreferences values;

    uint32_t Size() const override { return kSize; }
    void Write(uint8_t* buffer) const override;
    void Read(const uint8_t* buffer, uint32_t length) override;
};

class CQuorvelDefaultDocumentPreferences : public CABCDataFormat {
public:
    static constexpr uint32_t kSize = 7;

    DefaultDocumentOptions values;

    uint32_t Size() const override { return kSize; }
    void Write(uint8_t* buffer) const override;
    void Read(const uint8_t* buffer, uint32_t length) override;
};

// The recently used documents, most recent first, by full path.
class CLRUDocsPreferences : public CABCDataFormat {
public:
    static constexpr uint32_t kRecordMagic = 0xF11E54EC;
    // The tag the file has always carried; a list written under another tag
    // names paths of another system and is ignored.
    static constexpr std::array<uint8_t, 4> kPlatformTag{'W', 'i', 'n', 0};

    std::vector<std::string> paths;
    // False after reading a list written under another platform tag.
    bool platformMatched = true;

    uint32_t Size() const override;
    void Write(uint8_t* buffer) const override;
    void Read(const uint8_t* buffer, uint32_t length) override;
};

// The colour picker's custom colours.
class CColorTablePreferences : public CABCDataFormat {
public:
    static constexpr size_t kCustomColors = 16;

    std::vector<SRGBColor> colors = std::vector<SRGBColor>(kCustomColors, SRGBColor{65535, 65535, 65535});

    uint32_t Size() const override { return static_cast<uint32_t>(3 + 6 * colors.size()); }
    void Write(uint8_t* buffer) const override;
    void Read(const uint8_t* buffer, uint32_t length) override;
};

// A sampler version as the sampler reports it.
struct CVersion {
    uint8_t major = 0;
    uint8_t minor = 0;
    uint8_t third = 0;
    bool operator==(const CVersion&) const = default;
    auto operator<=>(const CVersion& other) const
    {
        return std::array{major, minor, third} <=> std::array{other.major, other.minor, other.third};
    }
};

// A port or bus as the preferences name it: the registered device's name
// and its driver kind.
struct SDeviceName {
    std::string device;
    std::string driverKind;
    bool operator==(const SDeviceName&) const = default;
};

class CPersistentInstalledSampler : public CABCDataFormat {
public:
    static constexpr uint32_t kSize = 343;
    static constexpr uint8_t kVersionMark = 0xBC;

    uint32_t modelTypeId = 0;
    std::string modelName; // up to 31 characters in the file
    SDeviceName scsiBus;
    SDeviceName midiIn;
    SDeviceName midiOut;
    uint8_t scsiId = 0;
    uint8_t sysexId = 0;
    std::string userName; // up to 40 characters in the file
    bool versionKnown = false;
    CVersion osVersion;

    uint32_t Size() const override { return kSize; }
    void Write(uint8_t* buffer) const override;
    void Read(const uint8_t* buffer, uint32_t length) override;
    bool operator==(const CPersistentInstalledSampler& other) const;
};

} // namespace quorvel
