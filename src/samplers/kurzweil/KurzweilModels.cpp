#include "samplers/kurzweil/KurzweilModels.h"

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/SysexMIDIInput.h"
#include "fileformats/PreferenceObjects.h"
#include "samplers/kurzweil/K2500Interfaces.h"

namespace quorvel::kurzweil {

bool IsKurzweilModel(uint32_t typeId)
{
    return typeId == kK2000MIDIModel || typeId == kK2000MIDIAndSCSIModel || typeId == kK2500MIDIModel ||
           typeId == kK2500MIDIAndSCSIModel;
}

bool UsesSCSIForData(uint32_t typeId) { return typeId == kK2000MIDIAndSCSIModel || typeId == kK2500MIDIAndSCSIModel; }

bool IsK2500(uint32_t typeId) { return typeId == kK2500MIDIModel || typeId == kK2500MIDIAndSCSIModel; }

namespace {

// Opened before the interface that uses them, closed after it.
struct SOpenPorts {
    SOpenPorts(const CRegisteredMIDIInput& in, const CRegisteredMIDIOutput& out)
    {
        try {
            input = in.Open(parser);
        } catch (const XMIDI&) {
        }
        if (!input)
            throw XFailedOpeningMIDIIn();
        try {
            output = out.Open();
        } catch (const XMIDI&) {
        }
        if (!output)
            throw XFailedOpeningMIDIOut();
    }
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input;
    std::unique_ptr<CMIDIOutput> output;
};

template <class Interface>
class CInstalled final : private SOpenPorts, public Interface {
public:
    template <class... Target>
    CInstalled(const CRegisteredMIDIInput& in, const CRegisteredMIDIOutput& out, uint8_t device,
               const Target&... target)
        : SOpenPorts(in, out), Interface(*this->output, this->parser, device, target...)
    {
    }
};

} // namespace

std::unique_ptr<CABCSamplerInterface> OpenKurzweilInterface(uint32_t typeId, const CRegisteredMIDIInput& input,
                                                            const CRegisteredMIDIOutput& output, uint8_t device,
                                                            const std::optional<SCSIDevice>& target)
{
    switch (typeId) {
    case kK2000MIDIModel:
        return std::make_unique<CInstalled<CK2000MIDIInterface>>(input, output, device);
    case kK2500MIDIModel:
        return std::make_unique<CInstalled<CK2500MIDIInterface>>(input, output, device);
    case kK2000MIDIAndSCSIModel:
        if (target)
            return std::make_unique<CInstalled<CK2000MIDIAndSCSIInterface>>(input, output, device, *target);
        break;
    case kK2500MIDIAndSCSIModel:
        if (target)
            return std::make_unique<CInstalled<CK2500MIDIAndSCSIInterface>>(input, output, device, *target);
        break;
    default:
        break;
    }
    throw XSamplerNotSupported();
}

} // namespace quorvel::kurzweil
