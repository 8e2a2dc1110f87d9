#include "framework/TextResources.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "framework/ResourceReference.h"
#include "framework/XBase.h"

namespace quorvel {

CTextResources::CTextResources(const CResourceSource& source) : source_(source) {}

std::string CTextResources::Text(uint32_t reference, size_t maxChars)
{
    const std::lock_guard lock(mutex_);
    const CStringTable* table = Table(reference);
    const std::string* text = table ? table->Entry(ReferenceEntry(reference)) : nullptr;
    if (!text)
        return {};
    return text->substr(0, std::min(maxChars, kMaxEntryText));
}

void CTextResources::CopyText(uint32_t reference, std::span<char> buffer)
{
    if (buffer.empty())
        return;
    const std::string text = Text(reference, buffer.size() - 1);
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
}

size_t CTextResources::LoadedTableCount() const
{
    const std::lock_guard lock(mutex_);
    return tables_.size();
}

const CStringTable* CTextResources::Table(uint32_t reference)
{
    const auto type = ReferenceType(reference);
    const uint32_t id = ReferenceTable(reference);
    if (!type || id > UINT16_MAX)
        return nullptr;
    for (const auto& table : tables_)
        if (table->type == *type && table->id == id)
            return &table->entries;

    // A missing resource is remembered as an empty table, so it is looked
    // for only once too.
    try {
        auto table = std::make_unique<LoadedTable>();
        table->type = *type;
        table->id = static_cast<uint16_t>(id);
        if (const auto bytes = source_.Find(*type, table->id))
            table->entries = ParseResourceText(*bytes);
        tables_.push_back(std::move(table));
    } catch (const std::bad_alloc&) {
        throw XOutOfMemory();
    }
    return &tables_.back()->entries;
}

} // namespace quorvel
