#pragma once
// Names a file (folder, name, type and creator codes) and opens it as a media
// stream. A plain value: copying copies every field.
#include <chrono>
#include <cstdint>
#include <string>

#include "framework/FourCC.h"
#include "framework/MediaSpec.h"

namespace quorvel {

struct FileInfo {
    int64_t size = 0;
    std::chrono::system_clock::time_point modified;
    std::chrono::system_clock::time_point accessed;
    std::chrono::system_clock::time_point statusChanged;
};

class CFileSpec : public CABCMediaSpec {
public:
    static constexpr FourCC kOwnCreator = "Qvrl";

    CFileSpec() = default;
    // Splits at the last '/'; a path without one names a file in the
    // current folder.
    explicit CFileSpec(const std::string& fullPath);
    // A non-empty folder gets a trailing '/' when it lacks one.
    CFileSpec(const std::string& folder, const std::string& name, FourCC type);

    std::string FullPath() const { return folder_ + name_; }
    const std::string& Folder() const { return folder_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    FourCC Type() const { return type_; }
    void SetType(FourCC type) { type_ = type; }
    FourCC Creator() const { return creator_; }
    void SetCreator(FourCC creator) { creator_ = creator; }
    uint8_t Flag() const { return flag_; }
    void SetFlag(uint8_t flag) { flag_ = flag; }

    // Base and extension: the extension runs from the last '.' when that
    // text (dot included) is at most 8 characters, else it is empty and the
    // base is the whole name.
    static void SplitName(const std::string& name, std::string& base, std::string& extension);
    // The name without its extension, as SplitName gives it.
    static std::string BaseName(const std::string& name);

    // True when the file can be opened for reading.
    bool Exists() const;
    // Something of any kind has this name: a file (readable or not), a
    // folder, or a symbolic link even when it points nowhere. What an output
    // must not silently replace.
    bool NameTaken() const;
    // XFileNotFound when there is no such file, XFile for other failures.
    void Delete() const;
    FileInfo Info() const;

    std::unique_ptr<CMedia> OpenForReading() const override;
    std::unique_ptr<CMedia> OpenForWriting() const override;

private:
    std::string folder_;
    std::string name_;
    FourCC type_{};
    FourCC creator_ = kOwnCreator;
    uint8_t flag_ = 0;
};

} // namespace quorvel
