#pragma once
// The documents and alert checks the sampler dialog tests share.
#include <memory>
#include <string>
#include <vector>

#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "framework/AlertScript.h"

#include "../../common/StoredDocuments.h"

namespace quorvel::test {

// A one-bar loop of `slices` locked slices `spacing` frames apart.
inline std::unique_ptr<CSoundDocument> LockedLoop(int slices, int32_t spacing = 3000)
{
    StoredDocumentSettings settings;
    settings.bars = 1;
    std::vector<StoredSlice> stored;
    for (int i = 0; i < slices; ++i)
        stored.push_back({static_cast<int32_t>(SliceState::Locked), false, i * spacing, 20000});
    return std::make_unique<CSoundDocument>(VariedSound(slices * spacing), settings, stored);
}

// Whether the alert's title or message holds `text`.
inline bool Shows(const AlertRecord& record, const std::string& text)
{
    return record.title.find(text) != std::string::npos || record.message.find(text) != std::string::npos;
}

} // namespace quorvel::test
