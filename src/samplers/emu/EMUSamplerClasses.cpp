#include "samplers/emu/EMUSamplerClasses.h"

#include <array>

#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/emu/EMUSCSIInterface.h"

namespace quorvel {

namespace {

constexpr uint8_t kInquiryLength = 36;

const SSamplerModel& TableEntry(uint32_t typeId)
{
    const SSamplerModel* model = FindSamplerModel(typeId);
    if (!model)
        throw XSamplerNotSupported();
    return *model;
}

template <class... Classes>
std::vector<std::unique_ptr<CEMUSCSISamplerClass>> Make()
{
    std::vector<std::unique_ptr<CEMUSCSISamplerClass>> classes;
    (classes.push_back(std::make_unique<Classes>()), ...);
    return classes;
}

} // namespace

CEMUSCSISamplerClass::CEMUSCSISamplerClass(uint32_t typeId) : model_(TableEntry(typeId)) {}

std::unique_ptr<CABCSamplerInterface> CEMUSCSISamplerClass::CreateInterface(const SCSIDevice& device) const
{
    return std::make_unique<CEMUSCSIInterface>(device);
}

bool CEMUSCSISamplerClass::ReadOSVersion(const SCSIDevice& device, CVersion& version) const
{
    const std::optional<SEMUInquiry> inquiry = InquireEMU(device);
    if (!inquiry || !Verify(*inquiry))
        return false;
    version = inquiry->firmware;
    return true;
}

std::vector<std::unique_ptr<CEMUSCSISamplerClass>> EMUSamplerClasses()
{
    // The table lists the EOS sampler first.
    return Make<CEOSSCSISamplerClass, CESi32SCSISamplerClass, CESi4000SCSISamplerClass, CEmulatorIVSCSISamplerClass,
                CE4KSCSISamplerClass, CE4XSCSISamplerClass, CE4XTSCSISamplerClass, Ce64SCSISamplerClass,
                Ce64fxSCSISamplerClass, Ce6400SCSISamplerClass>();
}

std::unique_ptr<CEMUSCSISamplerClass> EMUSamplerClass(uint32_t typeId)
{
    for (auto& candidate : EMUSamplerClasses())
        if (candidate->Model().typeId == typeId)
            return std::move(candidate);
    return nullptr;
}

std::optional<SEMUInquiry> InquireEMU(const SCSIDevice& device)
{
    if (!device.bus)
        throw XSCSI();
    SixByteBlock block = MakeCommandBlock(kSCSIInquiry);
    block[4] = kInquiryLength;
    std::array<uint8_t, kInquiryLength> answer{};
    const SCSIResult result = device.bus->ExecuteIn(device, block.data(), answer.size(), answer.data());
    if (!result.Good())
        throw XSCSICommunicationException();
    return ReadEMUInquiry(answer.data(), answer.size());
}

} // namespace quorvel
