#include "samplers/yamaha/A3000Interface.h"

#include <algorithm>
#include <cstring>

#include "samplers/yamaha/A3000Exceptions.h"
#include "samplers/yamaha/A3000MIDITransfer.h"
#include "samplers/yamaha/A3000StereoReceiver.h"

namespace quorvel {

using namespace a3000;

namespace {

constexpr const char* kProtocolName = "Yamaha A3000";
constexpr int32_t kBrandNumber = 6000;
constexpr int32_t kBrandCount = 16;
// The channel choices of a stereo receive.
constexpr int32_t kLeftChannel = 1;
constexpr int32_t kRightChannel = 3;
constexpr uint8_t kFeatures[] = {1, 0, 1, 1, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};

// The name without its half's suffix, when `left` and `right` are the two
// halves of one stereo sample.
std::optional<std::string> PairName(const std::string& left, const std::string& right)
{
    if (left.size() < 2 || left.size() != right.size() || left.back() != 'L' || right.back() != 'R')
        return std::nullopt;
    const std::string base = left.substr(0, left.size() - 1);
    if (base != right.substr(0, right.size() - 1))
        return std::nullopt;
    return base;
}

} // namespace

CABCA3000Interface::CABCA3000Interface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device)
    : connection_(input, output, kYamaha, static_cast<uint8_t>(device & 0x0F)), device_(device)
{
}

const CA3000ObjectList& CABCA3000Interface::ObjectList(bool refresh)
{
    if (refresh || !objects_) {
        connection_.SendFlushed(A3000Request(device_, kObjectListType, kObjectListName));
        objects_ = CA3000ObjectListBulkDump::Parse(*connection_.Receive(kReplyTimeoutMs)).List();
    }
    return *objects_;
}

std::string CABCA3000Interface::SampleName(int32_t number)
{
    const std::vector<std::string> names = ObjectList().NamesOf(kSampleObject);
    if (number < 0 || static_cast<size_t>(number) >= names.size())
        throw XSampleDoesNotExist();
    return names[static_cast<size_t>(number)];
}

int32_t CABCA3000Interface::SampleNumber(const std::string& name)
{
    const std::vector<std::string> names = ObjectList(true).NamesOf(kSampleObject);
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : static_cast<int32_t>(at - names.begin());
}

CA3000StandardBulkDump CABCA3000Interface::RequestDump(std::string_view type, std::string_view name)
{
    connection_.SendFlushed(A3000Request(device_, type, name));
    const std::unique_ptr<CRawSysex> message = connection_.Receive(kReplyTimeoutMs);
    CA3000StandardBulkDump dump = CA3000StandardBulkDump::Parse(*message);
    if (dump.type != type || dump.name != SamplerName(name))
        throw XA3000ReceivedInvalidSysex();
    return dump;
}

void CABCA3000Interface::SendDump(std::string_view type, std::string_view name, const std::vector<uint8_t>& payload)
{
    CA3000StandardBulkDump dump;
    dump.device = device_;
    dump.type = std::string(type);
    dump.name = std::string(name);
    dump.payload = payload;
    connection_.Send(dump.ToMessage());
    objects_.reset();
}

CA3000SampleBank CABCA3000Interface::GetSampleBank(const std::string& name)
{
    return CA3000SampleBank::Decode(RequestDump(kSampleBankType, name).payload);
}

void CABCA3000Interface::SendSampleBank(const CA3000SampleBank& bank)
{
    SendDump(kSampleBankType, bank.name, bank.Encode());
}

void CABCA3000Interface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    const std::string name = SampleName(sampleNumber);
    info = InfoFromWaveParameters(DecodeWaveParameters(RequestDump(kSampleType, name).payload));
}

std::unique_ptr<CABCSampleReceiver> CABCA3000Interface::CreateReceiverFor(int32_t sampleNumber, int32_t mode)
{
    const std::vector<std::string> names = ObjectList().NamesOf(kSampleObject);
    const std::string left = SampleName(sampleNumber);
    const auto right = static_cast<size_t>(sampleNumber) + 1;
    const std::optional<std::string> pair =
        right < names.size() ? PairName(left, names[right]) : std::optional<std::string>();
    if (!pair)
        throw XA3000SampleIsNotStereo();
    if (mode == kLeftChannel)
        return CreateReceiver(sampleNumber);
    if (mode == kRightChannel)
        return CreateReceiver(sampleNumber + 1);
    return std::make_unique<CA3000MixReceiver>(CreateReceiver(sampleNumber), CreateReceiver(sampleNumber + 1), *pair);
}

std::unique_ptr<CABCSampleTransmitter> CABCA3000Interface::CreateTransmitter(int32_t)
{
    return MakeTransmitter(EHalf::Mono);
}

std::unique_ptr<CABCSampleTransmitter> CABCA3000Interface::CreateMonoTransmitter(int32_t)
{
    return MakeTransmitter(EHalf::Mono);
}

std::unique_ptr<CABCSampleTransmitter> CABCA3000Interface::CreateStereoLeftTransmitter(int32_t)
{
    return MakeTransmitter(EHalf::Left);
}

std::unique_ptr<CABCSampleTransmitter> CABCA3000Interface::CreateStereoRightTransmitter(int32_t)
{
    return MakeTransmitter(EHalf::Right);
}

void CABCA3000Interface::AdaptSampleInfo(SampleInfo& info)
{
    info.SetName(SamplerName(info.Name()));
    info.channelCount = 1;
    info.bits = 16;
    info.rate = std::clamp<uint32_t>(info.rate, 1, 65535);
    info.releaseLoop = {};
    info.keyByte2 = 0;
    info.keyByte3 = 0;
    if (info.rootKey > 127)
        info.rootKey = 127;
}

void CABCA3000Interface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    std::strncpy(capabilities.protocolName, kProtocolName, SamplerCapabilities::kProtocolNameCapacity - 1);
    capabilities.brandNumber = kBrandNumber;
    std::copy(std::begin(kFeatures), std::end(kFeatures), capabilities.features.begin());
    capabilities.brandCount = kBrandCount;
    capabilities.brandBytes = {0, 1, 16};
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = kHighestSampleNumber;
}

void CABCA3000Interface::FillSampleList(int32_t, CSampleList& list, uint32_t)
{
    const std::vector<std::string> names = ObjectList(true).NamesOf(kSampleObject);
    for (size_t i = 0; i < names.size(); ++i)
        if (!list.Add(CSampleSpec(names[i], static_cast<int32_t>(i))))
            break;
}

void CABCA3000Interface::FinishSampleList(CSampleList& list)
{
    bool merged = false;
    for (uint16_t i = 0; i + 1 < list.Count(); ++i) {
        const CSampleSpec* left = list.Get(i);
        const CSampleSpec* right = list.Get(static_cast<uint16_t>(i + 1));
        if (!left || !right || right->Number() != left->Number() + 1)
            continue;
        if (const std::optional<std::string> name = PairName(left->Name(), right->Name())) {
            list.MergeStereoPair(i, static_cast<uint16_t>(i + 1), *name);
            merged = true;
            ++i;
        }
    }
    if (merged)
        list.Compact();
}

std::unique_ptr<CABCSampleReceiver> CA3000MIDIInterface::CreateReceiver(int32_t sampleNumber)
{
    return std::make_unique<CA3000SampleReceiverMIDI>(*this, SampleName(sampleNumber));
}

void CA3000MIDIInterface::DeleteSample(int32_t sampleNumber)
{
    ObjectList(true);
    SampleName(sampleNumber); // XSampleDoesNotExist first
    throw XA3000CannotDelete();
}

std::unique_ptr<CABCSampleTransmitter> CA3000MIDIInterface::MakeTransmitter(EHalf half)
{
    return std::make_unique<CA3000SampleTransmitterMIDI>(*this, half);
}

} // namespace quorvel
