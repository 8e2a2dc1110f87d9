#pragma once
// Looks texts up by reference number. Each table is read and parsed the first
// time one of its entries is asked for and stays loaded; a missing resource or
// an undefined entry reads as an empty text and is never a failure.
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "framework/FourCC.h"
#include "framework/ResourceParser.h"
#include "framework/ResourceSource.h"

namespace quorvel {

constexpr size_t kMaxAlertScript = 255;

class CTextResources {
public:
    // `source` must outlive this object.
    explicit CTextResources(const CResourceSource& source);
    CTextResources(const CTextResources&) = delete;
    CTextResources& operator=(const CTextResources&) = delete;

    // The entry's text, cut to min(maxChars, 3000) characters. The reference's
    // kind digit chooses the resource type. Throws XOutOfMemory when a table
    // cannot be loaded.
    std::string Text(uint32_t reference, size_t maxChars = kMaxEntryText);
    // An alert script is fetched with room for 255 characters, a menu with 3000.
    std::string AlertScript(uint32_t reference) { return Text(reference, kMaxAlertScript); }
    std::string MenuScript(uint32_t reference) { return Text(reference, kMaxEntryText); }

    // Copies the text into `buffer` and zero-terminates it there: at most
    // buffer.size() - 1 characters (and never more than 3000). The buffer's
    // size includes the terminator, so nothing is ever written past it. An
    // empty buffer is left alone.
    void CopyText(uint32_t reference, std::span<char> buffer);

    // How many tables have been loaded so far.
    size_t LoadedTableCount() const;

private:
    struct LoadedTable {
        FourCC type;
        uint16_t id = 0;
        CStringTable entries;
    };

    const CStringTable* Table(uint32_t reference);

    const CResourceSource& source_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<LoadedTable>> tables_;
};

} // namespace quorvel
