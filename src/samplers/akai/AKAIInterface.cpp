#include "samplers/akai/AKAIInterface.h"

#include <cstring>

#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAINameList.h"

namespace quorvel {

using namespace akai;

namespace {

uint16_t Checked(int32_t number)
{
    if (number < 0 || number > 0x3FFF)
        throw XSampleDoesNotExist();
    return static_cast<uint16_t>(number);
}

} // namespace

CABCAKAIInterface::CABCAKAIInterface(std::unique_ptr<CABCAKAICom> com, EGeneration generation)
    : generation_(generation), com_(std::move(com))
{
}

SAKAITransferContext CABCAKAIInterface::Context()
{
    return SAKAITransferContext{*com_, generation_, [this] { return SampleNames(); },
                                [this](uint16_t number) { return GetSampleHeader(number); }};
}

std::unique_ptr<CRawSysex> CABCAKAIInterface::Ask(const CRawSysex& request)
{
    std::unique_ptr<CRawSysex> answer = com_->Request(request);
    CheckAKAI(*answer);
    if (Operation(*answer) == kReply && answer->GetLength() == kReplyLength && answer->GetData()[5] != 0)
        throw XAKAIReceivedError();
    return answer;
}

std::vector<std::string> CABCAKAIInterface::Names(uint8_t request, uint8_t answer)
{
    CAKAINameList list;
    list.FromMessage(*Ask(PlainRequest(com_->Channel(), request)), answer);
    return list.Names();
}

std::vector<std::string> CABCAKAIInterface::SampleNames() { return Names(kRequestSampleList, kSampleList); }
std::vector<std::string> CABCAKAIInterface::ProgramNames() { return Names(kRequestProgramList, kProgramList); }

std::unique_ptr<CABCAKAISampleHeader> CABCAKAIInterface::GetSampleHeader(uint16_t sampleNumber)
{
    std::unique_ptr<CABCAKAISampleHeader> header = MakeSampleHeader(generation_);
    header->FromMessage(*Ask(NumberedRequest(com_->Channel(), kRequestSampleHeader, sampleNumber)));
    return header;
}

std::unique_ptr<CABCAKAIProgramHeader> CABCAKAIInterface::GetProgramHeader(uint16_t programNumber)
{
    std::unique_ptr<CABCAKAIProgramHeader> header = MakeProgramHeader(generation_);
    header->FromMessage(*Ask(NumberedRequest(com_->Channel(), kRequestProgramHeader, programNumber)));
    return header;
}

std::unique_ptr<CABCAKAIKeyGroup> CABCAKAIInterface::GetKeyGroup(uint16_t programNumber, uint8_t keyGroup)
{
    std::unique_ptr<CABCAKAIKeyGroup> group = MakeKeyGroup(generation_);
    group->FromMessage(*Ask(NumberedRequest(com_->Channel(), kRequestKeyGroup, programNumber, keyGroup)));
    return group;
}

std::unique_ptr<CAKAIProgram> CABCAKAIInterface::GetProgram(uint16_t programNumber)
{
    auto program = std::make_unique<CAKAIProgram>(generation_);
    program->Header() = *GetProgramHeader(programNumber);
    for (uint8_t k = 0; k < program->Header().KeyGroupCount(); ++k)
        program->KeyGroups().push_back(GetKeyGroup(programNumber, k));
    return program;
}

void CABCAKAIInterface::DeleteProgram(uint16_t programNumber)
{
    com_->Command(NumberedRequest(com_->Channel(), kDeleteProgram, programNumber));
}

void CABCAKAIInterface::DeleteSample(int32_t sampleNumber)
{
    com_->Command(NumberedRequest(com_->Channel(), kDeleteSample, Checked(sampleNumber)));
}

void CABCAKAIInterface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    info = GetSampleHeader(Checked(sampleNumber))->ToInfo();
}

std::unique_ptr<CABCSampleReceiver> CABCAKAIInterface::CreateReceiver(int32_t sampleNumber)
{
    return com_->CreateReceiver(Context(), Checked(sampleNumber));
}

std::unique_ptr<CABCSampleTransmitter> CABCAKAIInterface::CreateTransmitter(int32_t)
{
    return com_->CreateTransmitter(Context());
}

std::unique_ptr<CABCSampleTransmitter> CABCAKAIInterface::CreateMonoTransmitter(int32_t)
{
    return com_->CreateTransmitter(Context());
}

void CABCAKAIInterface::AdaptSampleInfo(SampleInfo& info)
{
    info.SetName(AKAIName(info.Name()));
    info.channelCount = 1;
    info.bits = 16;
    info.rate = info.rate > 22050 ? 44100 : 22050;
}

void CABCAKAIInterface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    const char* name = generation_ == EGeneration::S1000 ? "AKAI S1000" : "AKAI S3000";
    std::strncpy(capabilities.protocolName, name, SamplerCapabilities::kProtocolNameCapacity - 1);
    // The sampler numbers new samples itself: no start number to offer.
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = 0;
}

void CABCAKAIInterface::FillSampleList(int32_t, CSampleList& list, uint32_t)
{
    const std::vector<std::string> names = SampleNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (!list.Add(CSampleSpec(names[i], static_cast<int32_t>(i))))
            break;
}

} // namespace quorvel
