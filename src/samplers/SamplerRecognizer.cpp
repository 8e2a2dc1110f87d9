#include "samplers/SamplerRecognizer.h"

#include "samplers/akai/AKAIRecognizer.h"
#include "samplers/emu/EMURecognizer.h"
#include "samplers/kurzweil/KurzweilRecognizer.h"
#include "samplers/roland/S760Recognizer.h"
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
    // Kurzweil first; AKAI is last.
    static const auto recognizers = Make<CKurzweilRecognizer, CA3000Recognizer, CEMURecognizer, CAKAIRecognizer>();
    return recognizers;
}

const std::vector<std::unique_ptr<CABCSamplerRecognizer>>& MIDIRecognizers()
{
    // The Roland answers go first, then the AKAI status reports, then the
    // identity replies.
    static const auto recognizers = Make<CS760Recognizer, CAKAIRecognizer, CKurzweilRecognizer, CA3000Recognizer>();
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
