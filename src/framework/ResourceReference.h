#pragma once
// Code never holds a user-visible text, only the number of one. A reference
// packs three decimal fields into one 9-digit number:
//   kind x 100000000 + table x 1000 + entry
// so 400129069 is string 69 of string table 129 and 600128001 is menu 1 of
// menu resource 128.
#include <cstdint>
#include <optional>

#include "framework/FourCC.h"

namespace quorvel {

enum class ResourceKind : uint32_t {
    String = 4, // "SSTR"
    Alert = 5,  // "SALR", alert scripts
    Menu = 6,   // "SMNU", portable menus
};

constexpr uint32_t kResourceKindFactor = 100000000;
constexpr uint32_t kResourceTableFactor = 1000;
constexpr uint32_t kResourceEntries = 1000; // entries 0 to 999 per table
constexpr uint32_t kFrameworkTable = 1000;  // the framework's own texts

constexpr uint32_t ResourceReference(ResourceKind kind, uint32_t table, uint32_t entry)
{
    return static_cast<uint32_t>(kind) * kResourceKindFactor + table * kResourceTableFactor + entry;
}
constexpr uint32_t StringReference(uint32_t table, uint32_t entry)
{
    return ResourceReference(ResourceKind::String, table, entry);
}
constexpr uint32_t AlertReference(uint32_t table, uint32_t entry)
{
    return ResourceReference(ResourceKind::Alert, table, entry);
}
constexpr uint32_t MenuReference(uint32_t table, uint32_t entry)
{
    return ResourceReference(ResourceKind::Menu, table, entry);
}

constexpr uint32_t ReferenceKind(uint32_t reference) { return reference / kResourceKindFactor; }
constexpr uint32_t ReferenceTable(uint32_t reference)
{
    return (reference % kResourceKindFactor) / kResourceTableFactor;
}
constexpr uint32_t ReferenceEntry(uint32_t reference) { return reference % kResourceTableFactor; }

// The resource type that holds a reference's table; none for a kind digit
// other than 4, 5 or 6.
inline std::optional<FourCC> ReferenceType(uint32_t reference)
{
    switch (ReferenceKind(reference)) {
    case static_cast<uint32_t>(ResourceKind::String):
        return FourCC("SSTR");
    case static_cast<uint32_t>(ResourceKind::Alert):
        return FourCC("SALR");
    case static_cast<uint32_t>(ResourceKind::Menu):
        return FourCC("SMNU");
    default:
        return std::nullopt;
    }
}

} // namespace quorvel
