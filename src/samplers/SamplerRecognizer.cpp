#include "samplers/SamplerRecognizer.h"

#include "samplers/emu/EMURecognizer.h"
#include "samplers/yamaha/A3000Recognizer.h"

namespace quorvel {

namespace {

template <class... Recognizers>
std::vector<std::unique_ptr<CABCSamplerRecognizer>> Make()
{
    std::vector<std::unique_ptr<CABCSamplerRecognizer>> made;
    (made.push_back(std::make_unique<Recognizers>()), ...);
    return made;
}

} // namespace

const std::vector<std::unique_ptr<CABCSamplerRecognizer>>& SCSIRecognizers()
{
    // Kurzweil first and AKAI last once they are built.
    static const auto recognizers = Make<CA3000Recognizer, CEMURecognizer>();
    return recognizers;
}

const std::vector<std::unique_ptr<CABCSamplerRecognizer>>& MIDIRecognizers()
{
    // The Roland and AKAI answers go before the identity replies once those
    // brands are built; Kurzweil reads identity replies as well.
    static const auto recognizers = Make<CA3000Recognizer>();
    return recognizers;
}

uint32_t MIDIPartnerModel(uint32_t midiAndSCSITypeId)
{
    switch (midiAndSCSITypeId) {
    case 1002:
        return 1000; // Kurzweil K2000
    case 1012:
        return 1010; // Kurzweil K2500
    case kA3000MIDIAndSCSIModel:
        return kA3000MIDIModel;
    default:
        return 0;
    }
}

} // namespace quorvel
