#include "samplers/ensoniq/EnsoniqModels.h"

#include "samplers/OpenSysexPorts.h"

namespace quorvel {

bool ensoniq::IsEnsoniqModel(uint32_t typeId)
{
    return typeId == kEPSModel || typeId == kEPS16Model || typeId == kASR10Model;
}

std::unique_ptr<CABCEnsoniqInterface> CreateEnsoniqInterface(uint32_t typeId, CSysexMIDIInput& input,
                                                             CMIDIOutput& output, uint8_t channel)
{
    switch (typeId) {
    case ensoniq::kEPSModel:
        return std::make_unique<CEPSInterface>(input, output, channel);
    case ensoniq::kEPS16Model:
        return std::make_unique<CEPS16Interface>(input, output, channel);
    case ensoniq::kASR10Model:
        return std::make_unique<CASR10Interface>(input, output, channel);
    default:
        return nullptr;
    }
}

namespace {

// The model's interface with the ports it talks through, opened first and
// closed last.
template <class TInterface>
class CInstalled final : private SOpenSysexPorts, public TInterface {
public:
    CInstalled(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t channel)
        : SOpenSysexPorts(input, output), TInterface(parser, *this->output, channel)
    {
    }
};

} // namespace

std::unique_ptr<CABCEnsoniqInterface> CreateInstalledEnsoniqInterface(uint32_t typeId,
                                                                      const CRegisteredMIDIInput& input,
                                                                      const CRegisteredMIDIOutput& output,
                                                                      uint8_t channel)
{
    switch (typeId) {
    case ensoniq::kEPSModel:
        return std::make_unique<CInstalled<CEPSInterface>>(input, output, channel);
    case ensoniq::kEPS16Model:
        return std::make_unique<CInstalled<CEPS16Interface>>(input, output, channel);
    case ensoniq::kASR10Model:
        return std::make_unique<CInstalled<CASR10Interface>>(input, output, channel);
    default:
        return nullptr;
    }
}

} // namespace quorvel
