#pragma once
// What a drag carries that the program can open: files on this machine.
// Addresses of other schemes (web pages, remote shares) are left out, so a
// drag of only those is refused before it is dropped.
#include <string>
#include <vector>

class QMimeData;

namespace quorvel {

// The local file paths among the dragged addresses, in their order.
std::vector<std::string> DroppedLocalFiles(const QMimeData* data);

} // namespace quorvel
