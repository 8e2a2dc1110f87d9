#pragma once
// The files an emulated sampler keeps its memory in.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// Replaces `folder`/`name` with `bytes` safely, making the folder first.
void WriteEmulatorFile(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes);

// The whole of the file at `path`; none when it cannot be opened.
std::optional<std::vector<uint8_t>> ReadEmulatorFile(const std::filesystem::path& path);

} // namespace quorvel
