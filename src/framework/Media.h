#pragma once
// Random-access byte streams over memory, files and windows onto other
// streams. Positions and lengths are 32-bit, as in every file format the
// program reads or writes.
#include <cstdint>
#include <memory>

#include "framework/XBase.h"

namespace quorvel {

QUORVEL_EXCEPTION(XRead, XBase);
QUORVEL_EXCEPTION(XWrite, XBase);
// A write refused because the disk (or the user's quota) is full.
QUORVEL_EXCEPTION(XDiskFull, XWrite);
QUORVEL_EXCEPTION(XPosition, XBase);

class CMedia {
public:
    virtual ~CMedia() = default;

    virtual void Read(int32_t count, void* buffer) = 0;
    virtual void Peek(int32_t count, void* buffer);
    virtual void Write(int32_t count, const void* buffer) = 0;
    virtual int32_t GetPosition() = 0;
    virtual void SetPosition(int32_t position) = 0;
    virtual int32_t GetLength() = 0;
    virtual void WriteByte(uint8_t byte);
    virtual uint8_t ReadByte();
    virtual uint8_t PeekByte();
    // The two bytes at `position` as a 16-bit value in stored (machine) order.
    virtual uint16_t ReadWordAt(int32_t position);
    virtual void Skip(int32_t delta);
    virtual void ReadAt(int32_t position, int32_t count, void* buffer);
    virtual void WriteAt(int32_t position, int32_t count, const void* buffer);
};

// A stream over one memory block. Reading or writing outside the block throws
// XRead / XWrite instead of touching memory that is not ours.
class CMemoryMedia : public CMedia {
public:
    explicit CMemoryMedia(int32_t length);                // owns a zeroed block
    CMemoryMedia(void* data, int32_t length);             // borrows a block
    ~CMemoryMedia() override;
    CMemoryMedia(const CMemoryMedia&) = delete;
    CMemoryMedia& operator=(const CMemoryMedia&) = delete;

    void Read(int32_t count, void* buffer) override;
    void Write(int32_t count, const void* buffer) override;
    int32_t GetPosition() override { return position_; }
    void SetPosition(int32_t position) override { position_ = position; }
    int32_t GetLength() override { return length_; }

    uint8_t* Data() { return data_; }

private:
    bool InBlock(int32_t count) const;

    int32_t position_ = 0;
    int32_t length_ = 0;
    uint8_t* data_ = nullptr;
    bool ownsData_ = false;
};

// A bounded window onto another stream (not owned). Length 0 means "to the
// end of the base": reading is then refused and writing is unbounded, which
// is how a chunk writer grows a chunk it is still writing.
class CPartialMedia : public CMedia {
public:
    CPartialMedia(CMedia& base, int32_t offset, int32_t length);

    void Read(int32_t count, void* buffer) override;
    void Peek(int32_t count, void* buffer) override;
    void Write(int32_t count, const void* buffer) override;
    int32_t GetPosition() override;
    void SetPosition(int32_t position) override;
    int32_t GetLength() override;
    void WriteByte(uint8_t byte) override;
    uint8_t ReadByte() override;
    uint8_t PeekByte() override;
    uint16_t ReadWordAt(int32_t position) override;
    void Skip(int32_t delta) override;
    void ReadAt(int32_t position, int32_t count, void* buffer) override;
    void WriteAt(int32_t position, int32_t count, const void* buffer) override;

    int32_t Offset() const { return offset_; }

private:
    bool PastEnd(int64_t basePosition) const;
    void CheckRead(int32_t count);

    CMedia& base_;
    int32_t offset_;
    int32_t length_;
};

} // namespace quorvel
