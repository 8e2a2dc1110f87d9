#pragma once
// Documents with slices at chosen frames, scripted answers to the export
// questions, and a reader for the little-endian chunk files the instrument
// exports write.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "TestFiles.h"
#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel::test {

// A sound whose value at frame i is (i % 1000) + 1, so that every slice's
// audio can be recognised, cut at `slices` (Locked), one bar of 4/4.
inline std::unique_ptr<CSoundDocument> SlicedDocument(const std::vector<int32_t>& slices, int32_t length,
                                                      int32_t rate = 44100, StoredDocumentSettings settings = {})
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Loop", rate, length);
    for (int32_t i = 0; i < length; ++i)
        sound->Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>(i % 1000 + 1));
    std::vector<StoredSlice> stored;
    for (int32_t at : slices)
        stored.push_back({static_cast<int32_t>(SliceState::Locked), false, at, 100});
    if (settings.bars == 0 && settings.beats == 0)
        settings.bars = 1;
    return std::make_unique<CSoundDocument>(std::move(sound), settings, stored);
}

// `count` slices of `each` frames.
inline std::unique_ptr<CSoundDocument> EvenlySliced(int count, int32_t each, int32_t rate = 44100)
{
    std::vector<int32_t> at;
    for (int i = 0; i < count; ++i)
        at.push_back(i * each);
    return SlicedDocument(at, count * each, rate);
}

class ScriptedQuestions : public CInstrumentExportQuestions {
public:
    bool acceptLimit = true;
    std::vector<SliceLimitQuestion> limits;
    std::vector<std::optional<CFileSpec>> files; // answers in order; missing ones cancel
    std::vector<SaveFileQuestion> fileQuestions;
    ReplaceAnswer replace = ReplaceAnswer::Replace;

    bool AcceptSliceLimit(const SliceLimitQuestion& question) override
    {
        limits.push_back(question);
        return acceptLimit;
    }
    std::optional<CFileSpec> AskSaveFile(const SaveFileQuestion& question) override
    {
        fileQuestions.push_back(question);
        const size_t i = fileQuestions.size() - 1;
        return i < files.size() ? files[i] : std::nullopt;
    }
    ReplaceAnswer AskReplace(const std::string&) override { return replace; }
};

// Presses Stop at the given poll (from 0).
class StopAt : public CExportProgress {
public:
    explicit StopAt(int poll) : poll_(poll) {}
    bool CancelPressed() override { return polls_++ == poll_; }

private:
    int poll_;
    int polls_ = 0;
};

struct RiffItem {
    std::string id;   // the chunk's identifier, or the list's type
    size_t payload;   // first byte after the header (for lists: after the type)
    uint32_t size;    // stored size (for lists including the type)
};

// The items inside [from, to), padded to even positions when `pad`.
inline std::vector<RiffItem> RiffItems(const Bytes& file, size_t from, size_t to, bool pad = true)
{
    std::vector<RiffItem> items;
    for (size_t at = from; at + 8 <= to;) {
        const uint32_t size = GetLE32(&file[at + 4]);
        const std::string id(file.begin() + long(at), file.begin() + long(at) + 4);
        if (id == "LIST")
            items.push_back({std::string(file.begin() + long(at) + 8, file.begin() + long(at) + 12), at + 12, size});
        else
            items.push_back({id, at + 8, size});
        at += 8 + size + (pad ? (size & 1) : 0);
    }
    return items;
}

inline RiffItem FindItem(const std::vector<RiffItem>& items, const std::string& id)
{
    for (const RiffItem& item : items)
        if (item.id == id)
            return item;
    ADD_FAILURE() << "no " << id;
    return {id, 0, 0};
}

inline Bytes Payload(const Bytes& file, const RiffItem& item)
{
    return Bytes(file.begin() + long(item.payload), file.begin() + long(item.payload + item.size));
}

} // namespace quorvel::test
