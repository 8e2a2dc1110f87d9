// The emulated Kurzweil sampler's universal messages: its identity, and its
// sample data by the Sample Dump Standard.
#include "devices/emulated/KurzweilEmulator.h"

#include "devices/emulated/KurzweilSampleWords.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0x00;
constexpr uint8_t kManufacturer = 0x07;

} // namespace

void CKurzweilEmulator::OnUniversal(const std::vector<uint8_t>& m)
{
    if (m[3] != 0x06) {
        OnSampleDumpMessage(m);
        return;
    }
    if (m.size() == 6 && m[4] == 0x01) {
        const uint8_t version[4] = {model_.osMajor, model_.osMinor, 0, 0};
        Out({0xF0, 0x7E, kDevice, 0x06, 0x02, kManufacturer, static_cast<uint8_t>(model_.family & 0x7F),
             static_cast<uint8_t>(model_.family >> 7 & 0x7F), static_cast<uint8_t>(model_.member & 0x7F),
             static_cast<uint8_t>(model_.member >> 7 & 0x7F), version[0], version[1], version[2], version[3], 0xF7});
    }
}

void CKurzweilEmulator::KeepSample(const SSDSSample& sample) { memory_->PutSample(SMDIFromSDS(sample)); }

std::optional<SSDSSample> CKurzweilEmulator::SampleToDump(uint16_t number)
{
    memory_->Sync();
    const std::shared_ptr<const SSMDISample> sample = memory_->Sample(number);
    if (!sample)
        return std::nullopt;
    return SDSFromSMDI(*sample, number);
}

} // namespace quorvel
