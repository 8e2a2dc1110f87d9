#include "devices/emulated/EmulatorFiles.h"

#include <fstream>
#include <iterator>

#include "framework/FileSpec.h"
#include "framework/Media.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

void WriteEmulatorFile(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    // A folder that cannot be made shows as the write's failure.
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    SafeWrite(CFileSpec((std::filesystem::path(folder) / name).string()),
              [&](CMedia& media) { media.Write(static_cast<int32_t>(bytes.size()), bytes.data()); });
}

std::optional<std::vector<uint8_t>> ReadEmulatorFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

} // namespace quorvel
