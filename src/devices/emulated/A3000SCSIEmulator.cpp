#include "devices/emulated/A3000SCSIEmulator.h"

#include <algorithm>
#include <cstring>

#include "devices/emulated/A3000Emulator.h"
#include "devices/emulated/A3000Parameters.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

// 16-bit mono words only, numbered 0 to 9999, as the A3000 keeps them.
const SSMDIEmulatorModel kSMDIModel = {
    "6002", "Yamaha A3000 via MIDI+SCSI", "YAMAHA", " Sampler A3000", "  02", 0, 9999, false, 0, uint64_t{1} << 16,
};

constexpr uint32_t kSMDIFallbackPeriod = 22676; // 44100 Hz

SSMDISample SMDISampleOf(const SA3000Object& object, uint32_t number)
{
    SSMDISample sample;
    SSMDIMessage header;
    const uint32_t words = static_cast<uint32_t>(object.waveBytes.size() / 2);
    if (!object.smdiHeader.empty() &&
        ParseSMDIMessage(object.smdiHeader.data(), object.smdiHeader.size(), header) &&
        ParseSampleHeaderData(header.data, sample) && sample.length == words) {
        sample.number = number;
    } else {
        const SA3000SoundFields fields = A3000FieldsOfWaveBlock(object.waveBlock);
        sample = SSMDISample{};
        sample.number = number;
        sample.bits = 16;
        sample.channels = 1;
        sample.periodNs = fields.rate ? (1000000000u + fields.rate / 2) / fields.rate : kSMDIFallbackPeriod;
        sample.length = words;
        sample.loopControl = 0x7F;
        sample.loopStart = 0;
        sample.loopEnd = words;
        sample.pitch = fields.key;
        sample.name = A3000NameText(object.name);
    }
    sample.data = object.waveBytes;
    return sample;
}

// A period in nanoseconds as whole hertz, a common rate when within 1 Hz of
// it (20833 ns is 48000 Hz, not 48001).
uint32_t RateOfPeriod(uint32_t periodNs)
{
    if (periodNs == 0)
        return 44100;
    const uint32_t rate = (1000000000u + periodNs / 2) / periodNs;
    for (uint32_t common : {44100u, 48000u, 32000u, 22050u, 11025u, 8000u})
        if (rate + 1 >= common && rate <= common + 1)
            return common;
    return rate;
}

// What a sample taken in by SMDI becomes: its name cut to 16 characters,
// the wave block made from the header, the header kept as it came.
SA3000Object ObjectOf(const SSMDISample& sample, const std::optional<SA3000Object>& old)
{
    SA3000Object object = old.value_or(SA3000Object{});
    object.type = kA3000SampleObject;
    object.name = A3000NameOf(sample.name);
    SA3000SoundFields fields;
    fields.words = sample.length;
    fields.rate = RateOfPeriod(sample.periodNs);
    fields.key = static_cast<uint8_t>(std::min<uint32_t>(sample.pitch + (sample.pitchFraction >= 32768), 127));
    object.waveBlock = A3000WaveBlock(object.name, fields);
    object.waveBytes = sample.data;
    SSMDISample bare = sample;
    bare.name = A3000NameText(object.name);
    bare.data.clear();
    object.smdiHeader = SampleHeaderMessage(bare);
    return object;
}

bool IsManyChannelHeader(const uint8_t* block, ESCSIDirection direction, const uint8_t* data, size_t length)
{
    SSMDIMessage message;
    return block[0] == 0x0A && direction == ESCSIDirection::kOut && length > kSMDIHeaderBytes + 4 &&
           ParseSMDIMessage(data, length, message) && message.code == kSMDISampleHeader && message.data[4] != 1;
}

} // namespace

CA3000SCSIEmulator::CA3000SCSIEmulator(CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                                       std::shared_ptr<CA3000Memory> memory)
    : memory_(std::move(memory)), smdi_(kSMDIModel, clock, faults)
{
    for (const SEmulatorFault& fault : faults)
        if (fault.name == "silent")
            silent_ = true;
}

std::vector<uint8_t> CA3000SCSIEmulator::InquiryAnswer()
{
    std::vector<uint8_t> answer(38, ' ');
    answer[0] = 0x03; // processor device
    answer[1] = 0x00;
    answer[2] = 0x02; // SCSI-2
    answer[3] = 0x02;
    answer[4] = 38 - 5;
    answer[5] = answer[6] = answer[7] = 0x00;
    std::memcpy(answer.data() + 8, "YAMAHA", 6);
    std::memcpy(answer.data() + 17, "Sampler A3000", 13);
    const char digits[4] = {static_cast<char>('0' + CA3000Emulator::kVersionMajor / 10),
                            static_cast<char>('0' + CA3000Emulator::kVersionMajor % 10),
                            static_cast<char>('0' + CA3000Emulator::kVersionMinor / 10),
                            static_cast<char>('0' + CA3000Emulator::kVersionMinor % 10)};
    std::memcpy(answer.data() + 34, digits, 4);
    return answer;
}

SCSIResult CA3000SCSIEmulator::Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length)
{
    std::lock_guard lock(mutex_);
    if (!silent_ && block[0] == kSCSIInquiry && direction == ESCSIDirection::kIn) {
        const std::vector<uint8_t> answer = InquiryAnswer();
        std::memcpy(data, answer.data(), std::min({answer.size(), length, static_cast<size_t>(block[4])}));
        return {};
    }
    Mirror();
    SCSIResult result;
    if (IsManyChannelHeader(block, direction, data, length)) {
        // The A3000 keeps each channel as a sample of its own: a header of
        // more channels goes on with no word size, which the SMDI sampler
        // refuses as a sample it cannot hold.
        std::vector<uint8_t> header(data, data + length);
        header[kSMDIHeaderBytes + 3] = 0;
        result = smdi_.Command(block, direction, header.data(), length);
    } else {
        result = smdi_.Command(block, direction, data, length);
    }
    TakeBack();
    return result;
}

void CA3000SCSIEmulator::Mirror()
{
    const uint64_t generation = memory_->Generation();
    if (generation == mirrored_)
        return;
    CSMDISampleStore& store = smdi_.Samples();
    const size_t count = memory_->SampleCount();
    for (uint32_t number : store.Numbers())
        if (number >= count)
            store.Remove(number);
    known_.assign(count, nullptr);
    for (size_t n = 0; n < count; ++n) {
        const std::optional<SA3000Object> object = memory_->Sample(n);
        if (!object)
            break;
        SSMDISample sample = SMDISampleOf(*object, static_cast<uint32_t>(n));
        const std::shared_ptr<const SSMDISample> held = store.Shared(static_cast<uint32_t>(n));
        if (!held || !(*held == sample))
            store.Put(std::move(sample));
        known_[n] = store.Shared(static_cast<uint32_t>(n));
    }
    mirrored_ = generation;
}

void CA3000SCSIEmulator::TakeBack()
{
    CSMDISampleStore& store = smdi_.Samples();
    try {
        for (size_t n = 0; n < known_.size(); ++n)
            if (!store.Contains(static_cast<uint32_t>(n))) {
                // Deleted: the later samples move down one number.
                memory_->RemoveSample(n);
                Mirror();
                return;
            }
        for (uint32_t number : store.Numbers()) {
            const std::shared_ptr<const SSMDISample> held = store.Shared(number);
            if (number < known_.size() && held == known_[number])
                continue;
            memory_->PutSample(number, ObjectOf(*held, memory_->Sample(number)));
            Mirror();
            return;
        }
    } catch (const XBase&) {
        // The memory could not keep it; the store is put back as it was.
        mirrored_ = 0;
        Mirror();
    }
}

} // namespace quorvel
