#pragma once
// File and folder names that every file system takes: instruments written
// here travel to other machines, so a name that is fine on this one may not be.
#include <cstddef>
#include <string>

namespace quorvel {

// `name` with the characters other systems refuse (/ \ : * ? " < > | and
// control characters) turned into '_', cut at a character boundary to
// `maxBytes`, without trailing dots and blanks, and with '_' after a
// reserved device name (CON, NUL, COM1 …, also before an extension).
// Never empty: `fallback` stands in for a name with nothing left.
std::string PortableFileName(const std::string& name, size_t maxBytes = 64, const std::string& fallback = "Untitled");

// The file of slice `index` (from 0) in an instrument: the (already
// portable) name, '_' and the number in three digits or more, the extension.
std::string NumberedSliceFileName(const std::string& portableName, int index, const std::string& extension);

} // namespace quorvel
