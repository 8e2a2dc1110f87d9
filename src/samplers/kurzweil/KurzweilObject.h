#pragma once
// Everything in a Kurzweil sampler is an object: a type, a 16-bit id, a name
// and a body. Each kind of object knows how to write and read its body (8-bit
// bytes, before they are packed for the wire).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quorvel {

enum class EKurzweilObjectType : uint16_t { Program = 132, Keymap = 133, SoundBlock = 134 };

// What a description or a listing tells about an object.
struct SKurzweilObjectRecord {
    uint16_t type = 0;
    uint16_t id = 0;
    uint32_t size = 0;
    uint8_t flag = 0;
    std::string name; // at most 16 characters
};

class CKurzweilObject {
public:
    explicit CKurzweilObject(EKurzweilObjectType type, uint16_t id = 0, std::string name = {});
    CKurzweilObject(const CKurzweilObject&) = default;
    CKurzweilObject& operator=(const CKurzweilObject&) = default;
    virtual ~CKurzweilObject() = default;

    // Bytes the body will occupy when written.
    virtual size_t BodySize() const = 0;
    // Writes the body into `buffer` (at least BodySize() bytes); answers the bytes written.
    virtual size_t WriteBody(std::span<uint8_t> buffer) const = 0;
    virtual size_t MaxBodySize() const = 0;
    // Takes a body read from the sampler; XK2000InvalidFormat or XK2000InvalidTag when it cannot be one.
    virtual void ReadBody(std::span<const uint8_t> body) = 0;

    uint16_t Type() const { return static_cast<uint16_t>(type_); }
    uint16_t Id() const { return id_; }
    void SetId(uint16_t id) { id_ = id; }
    uint32_t Size() const { return size_; }
    void SetSize(uint32_t size) { size_ = size; }
    uint8_t Flag() const { return flag_; }
    void SetFlag(uint8_t flag) { flag_ = flag; }
    const std::string& Name() const { return name_; }
    // Names longer than 16 characters are cut.
    void SetName(const std::string& name);

private:
    EKurzweilObjectType type_;
    uint16_t id_;
    uint32_t size_ = 0;
    uint8_t flag_ = 1;
    std::string name_;
};

} // namespace quorvel
