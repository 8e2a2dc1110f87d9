// Feeds arbitrary bytes to the preferences reader and to the salvage of a
// damaged file: each must read, or throw one of our exceptions, and never
// crash or read outside the file.
#include <cstdint>
#include <vector>

#include "framework/Media.h"
#include "fileformats/PreferencesFile.h"
#include "framework/XBase.h"

namespace {

class CNoDocumentsExist : public quorvel::CPreferencesReadSteps {
public:
    bool DocumentExists(const std::string&) override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size); // exact size, so ASan sees overreads
    quorvel::CMemoryMedia media(bytes.data(), static_cast<int32_t>(bytes.size()));
    quorvel::SPreferences preferences;
    CNoDocumentsExist steps;
    try {
        quorvel::ReadPreferences(media, preferences, steps);
    } catch (const quorvel::XBase&) {
    }
    // What the program does with a file that does not validate.
    quorvel::SPreferences salvaged;
    try {
        quorvel::SalvagePreferences(media, salvaged, steps);
    } catch (const quorvel::XBase&) {
    }
    return 0;
}
