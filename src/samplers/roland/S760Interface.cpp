#include "samplers/roland/S760Interface.h"

#include <cstring>

#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/S760Transfer.h"

namespace quorvel {

using namespace s760;

namespace {

// The answers of the receive dialog's channel question.
constexpr int32_t kRightChannel = 3;

uint16_t Checked(int32_t number)
{
    if (number < 0 || number >= kSampleCount)
        throw XSampleDoesNotExist();
    return static_cast<uint16_t>(number);
}

} // namespace

CABCS760Interface::CABCS760Interface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t device)
    : com_(input, output, device)
{
}

CS760FileList& CABCS760Interface::Samples()
{
    if (!samplesValid_) {
        samples_.Read(com_, kSampleCategory);
        samplesValid_ = true;
    }
    return samples_;
}

CS760FileList CABCS760Interface::ReadFileList(uint8_t category)
{
    if (category == kSampleCategory) {
        InvalidateSamples();
        return Samples();
    }
    CS760FileList list;
    list.Read(com_, category);
    return list;
}

uint16_t CABCS760Interface::FreeSampleNumber()
{
    const std::optional<uint16_t> free = Samples().FirstFree(kSampleCategory, kSampleCount);
    if (!free)
        throw XS760AllSamplesUsedUp();
    return *free;
}

std::optional<uint16_t> CABCS760Interface::RightHalfOf(uint16_t leftNumber)
{
    const SS760FileEntry* left = Samples().Numbered(kSampleCategory, leftNumber);
    if (!left)
        return std::nullopt;
    for (const SS760FileEntry& entry : Samples().Entries())
        if (entry.category == kSampleCategory && IsStereoPair(left->name, entry.name) &&
            entry.name.compare(0, kNameLength - 2, left->name, 0, kNameLength - 2) == 0)
            return entry.number;
    return std::nullopt;
}

SS760SampleParameters CABCS760Interface::ReadSampleParameters(uint16_t sampleNumber)
{
    std::array<uint8_t, kSampleBlockWireSize> wire{};
    com_.HandshakeRead(SampleBlockAddress(sampleNumber), wire, kReplyTimeoutMs);
    return SS760SampleParameters::FromWire(wire);
}

void CABCS760Interface::WriteSampleParameters(uint16_t sampleNumber, const SS760SampleParameters& parameters)
{
    com_.HandshakeWrite(SampleBlockAddress(sampleNumber), parameters.ToWire(), kReplyTimeoutMs);
}

std::array<uint8_t, 2> CABCS760Interface::ExchangeAccess(bool flag)
{
    const std::array<uint8_t, 2> written{0, static_cast<uint8_t>(flag ? 0 : 1)};
    com_.WriteOneWay(kAccessAddress, written);
    std::array<uint8_t, 2> answer{};
    com_.ReadDataSet(kAccessAddress, answer, kAccessTimeoutMs);
    return answer;
}

void CABCS760Interface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    const uint16_t number = Checked(sampleNumber);
    if (!Samples().Uses(kSampleCategory, number))
        throw XSampleDoesNotExist();
    info = ReadSampleParameters(number).ToInfo();
}

void CABCS760Interface::DeleteSample(int32_t sampleNumber)
{
    const uint16_t number = Checked(sampleNumber);
    if (!Samples().Uses(kSampleCategory, number))
        throw XSampleDoesNotExist();
    SS760SampleParameters unused;
    unused.name.fill(kStereoMark);
    unused.rootKey = 0;
    unused.loopMode = 0;
    WriteSampleParameters(number, unused);
    samples_.Remove(kSampleCategory, number);
}

void CABCS760Interface::AdaptSampleInfo(SampleInfo& info)
{
    std::string name(info.Name().substr(0, std::min(info.Name().size(), kNameLength)));
    for (char& c : name)
        if (c < 0x20 || c > 0x7E)
            c = ' ';
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    info.SetName(name);
    info.channelCount = 1;
    info.bits = 16;
    info.rate = RateOfIndex(RateIndex(info.rate));
    if (info.rootKey == 0)
        info.rootKey = SampleInfo::kDefaultRootKey;
}

void CABCS760Interface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    std::strncpy(capabilities.protocolName, kProtocolName, SamplerCapabilities::kProtocolNameCapacity - 1);
    // The sampler numbers new samples itself: no start number to offer.
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = 0;
}

void CABCS760Interface::FillSampleList(int32_t, CSampleList& list, uint32_t)
{
    InvalidateSamples();
    for (const SS760FileEntry& entry : Samples().Entries()) {
        const CSampleSpec listed(entry.name, entry.number);
        if (!list.Add(listed))
            break;
    }
}

void CABCS760Interface::FinishSampleList(CSampleList& list)
{
    for (uint16_t i = 0; i < list.Count(); ++i) {
        const CSampleSpec* left = list.Get(i);
        if (!left)
            continue;
        for (uint16_t j = 0; j < list.Count(); ++j) {
            const CSampleSpec* right = list.Get(j);
            if (j == i || !right || !IsStereoPair(left->Name(), right->Name()) ||
                left->Name().compare(0, kNameLength - 2, right->Name(), 0, kNameLength - 2) != 0)
                continue;
            list.MergeStereoPair(i, j, DisplayName(left->Name()));
            break;
        }
    }
    list.Compact();
    for (uint16_t i = 0; i < list.Count(); ++i)
        if (CSampleSpec* entry = list.Get(i))
            entry->SetName(DisplayName(entry->Name()));
}

CS760MIDIInterface::CS760MIDIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device)
    : CABCS760Interface(input, output, device)
{
}

std::unique_ptr<CABCSampleReceiver> CS760MIDIInterface::CreateReceiver(int32_t sampleNumber)
{
    return std::make_unique<CS760MIDIReceiver>(*this, Checked(sampleNumber));
}

std::unique_ptr<CABCSampleReceiver> CS760MIDIInterface::CreateReceiverFor(int32_t sampleNumber, int32_t mode)
{
    uint16_t number = Checked(sampleNumber);
    if (mode == kRightChannel) {
        const std::optional<uint16_t> right = RightHalfOf(number);
        if (!right)
            throw XSampleDoesNotExist();
        number = *right;
    }
    return std::make_unique<CS760MIDIReceiver>(*this, number);
}

std::unique_ptr<CABCSampleTransmitter> CS760MIDIInterface::CreateTransmitter(int32_t)
{
    return std::make_unique<CS760MIDITransmitter>(*this);
}

std::unique_ptr<CABCSampleTransmitter> CS760MIDIInterface::CreateMonoTransmitter(int32_t)
{
    return std::make_unique<CS760MIDITransmitter>(*this);
}

std::unique_ptr<CABCSampleTransmitter> CS760MIDIInterface::CreateStereoLeftTransmitter(int32_t)
{
    return std::make_unique<CS760MIDITransmitter>(*this, CS760MIDITransmitter::ESide::Left);
}

std::unique_ptr<CABCSampleTransmitter> CS760MIDIInterface::CreateStereoRightTransmitter(int32_t)
{
    return std::make_unique<CS760MIDITransmitter>(*this, CS760MIDITransmitter::ESide::Right);
}

} // namespace quorvel
