#include "framework/Media.h"

#include <cstring>
#include <new>

namespace quorvel {

// ---- CMedia defaults -------------------------------------------------------

void CMedia::Peek(int32_t count, void* buffer)
{
    Read(count, buffer);
    Skip(-count);
}

void CMedia::WriteByte(uint8_t byte) { Write(1, &byte); }

uint8_t CMedia::ReadByte()
{
    uint8_t byte = 0;
    Read(1, &byte);
    return byte;
}

uint8_t CMedia::PeekByte()
{
    uint8_t byte = ReadByte();
    Skip(-1);
    return byte;
}

uint16_t CMedia::ReadWordAt(int32_t position)
{
    SetPosition(position);
    uint16_t word = 0;
    Read(2, &word);
    return word;
}

void CMedia::Skip(int32_t delta)
{
    if (delta != 0)
        SetPosition(GetPosition() + delta);
}

void CMedia::ReadAt(int32_t position, int32_t count, void* buffer)
{
    SetPosition(position);
    Read(count, buffer);
}

void CMedia::WriteAt(int32_t position, int32_t count, const void* buffer)
{
    if (GetPosition() != position)
        SetPosition(position);
    Write(count, buffer);
}

// ---- CMemoryMedia ----------------------------------------------------------

CMemoryMedia::CMemoryMedia(int32_t length)
    : length_(length < 0 ? 0 : length), ownsData_(true)
{
    data_ = new (std::nothrow) uint8_t[static_cast<size_t>(length_) + 1]();
    if (!data_)
        throw XOutOfMemory();
}

CMemoryMedia::CMemoryMedia(void* data, int32_t length)
    : length_(length < 0 ? 0 : length), data_(static_cast<uint8_t*>(data))
{
}

CMemoryMedia::~CMemoryMedia()
{
    if (ownsData_)
        delete[] data_;
}

bool CMemoryMedia::InBlock(int32_t count) const
{
    return count >= 0 && position_ >= 0 && int64_t(position_) + count <= length_;
}

void CMemoryMedia::Read(int32_t count, void* buffer)
{
    if (!InBlock(count))
        throw XRead();
    // A zero-size chunk may come with no block and no buffer at all.
    if (count > 0)
        std::memcpy(buffer, data_ + position_, static_cast<size_t>(count));
    position_ += count;
}

void CMemoryMedia::Write(int32_t count, const void* buffer)
{
    if (!InBlock(count))
        throw XWrite();
    if (count > 0)
        std::memcpy(data_ + position_, buffer, static_cast<size_t>(count));
    position_ += count;
}

// ---- CPartialMedia ---------------------------------------------------------

CPartialMedia::CPartialMedia(CMedia& base, int32_t offset, int32_t length)
    : base_(base), offset_(offset), length_(length)
{
}

bool CPartialMedia::PastEnd(int64_t basePosition) const
{
    return basePosition > int64_t(offset_) + length_;
}

void CPartialMedia::CheckRead(int32_t count)
{
    if (count < 0 || PastEnd(int64_t(base_.GetPosition()) + count))
        throw XRead();
}

void CPartialMedia::Read(int32_t count, void* buffer)
{
    CheckRead(count);
    base_.Read(count, buffer);
}

void CPartialMedia::Peek(int32_t count, void* buffer)
{
    CheckRead(count);
    base_.Peek(count, buffer);
}

void CPartialMedia::Write(int32_t count, const void* buffer)
{
    if (count < 0 || (length_ > 0 && PastEnd(int64_t(base_.GetPosition()) + count)))
        throw XWrite();
    base_.Write(count, buffer);
}

int32_t CPartialMedia::GetPosition() { return base_.GetPosition() - offset_; }

void CPartialMedia::SetPosition(int32_t position)
{
    if ((length_ > 0 && position > length_) || int64_t(offset_) + position < 0)
        throw XPosition();
    base_.SetPosition(offset_ + position);
}

int32_t CPartialMedia::GetLength()
{
    return length_ != 0 ? length_ : base_.GetLength() - offset_;
}

// The single-byte operations go through the checked paths: a window handed to
// a file parser must never let it read a neighbouring chunk or past the file.
void CPartialMedia::WriteByte(uint8_t byte) { Write(1, &byte); }

uint8_t CPartialMedia::ReadByte()
{
    uint8_t byte = 0;
    Read(1, &byte);
    return byte;
}

uint8_t CPartialMedia::PeekByte()
{
    uint8_t byte = 0;
    Peek(1, &byte);
    return byte;
}

uint16_t CPartialMedia::ReadWordAt(int32_t position)
{
    if (position < offset_ || (length_ > 0 && PastEnd(int64_t(position) + 2)))
        throw XBase();
    return base_.ReadWordAt(position);
}

void CPartialMedia::Skip(int32_t delta)
{
    const int64_t target = int64_t(base_.GetPosition()) + delta;
    if (target < offset_ || (length_ > 0 && PastEnd(target)))
        throw XBase();
    base_.Skip(delta);
}

void CPartialMedia::ReadAt(int32_t position, int32_t count, void* buffer)
{
    SetPosition(position);
    Read(count, buffer);
}

void CPartialMedia::WriteAt(int32_t position, int32_t count, const void* buffer)
{
    SetPosition(position);
    Write(count, buffer);
}

} // namespace quorvel
