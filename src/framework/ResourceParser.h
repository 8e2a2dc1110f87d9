#pragma once
// The text format shared by string tables, alert scripts and menus:
//
//   {{ A comment opens with two braces and closes with one
//   }
//   12{OK}
//   13{A text may run over
//      several lines}            {{ trailing comments are ignored }
//
// A number before a brace names the entry; inside the braces tab, line feed
// and carriage return are dropped, "\r" stores a line break, "\t" a tab, and
// a backslash before anything else is dropped with that character. The first
// definition of a number wins.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

constexpr size_t kMaxEntryText = 3000;

// The 1000 entries of one parsed table; each slot is empty or holds a text.
class CStringTable {
public:
    CStringTable();

    // The text of entry `number`; none when the slot is empty or the number
    // lies outside 0 to 999.
    const std::string* Entry(uint64_t number) const;
    // Stores `text` in an empty slot. A slot that already holds a text and a
    // number of 1000 or more are left alone; answers whether it was stored.
    bool Define(uint64_t number, std::string text);
    size_t DefinedCount() const;

private:
    std::vector<std::optional<std::string>> slots_;
};

// Reads a whole resource text once. Never fails on malformed input: what
// cannot be read as an entry is skipped.
CStringTable ParseResourceText(std::string_view bytes);

} // namespace quorvel
