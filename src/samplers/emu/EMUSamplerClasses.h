#pragma once
// The E-mu models of the model table: each knows its table entry, tells
// whether a SCSI target is that model, reads its firmware version and makes
// its sampler interface.
#include <cstdint>
#include <memory>
#include <vector>

#include "devices/scsi/SCSIBus.h"
#include "samplers/SamplerInterface.h"
#include "samplers/SamplerModels.h"
#include "samplers/emu/EMUInquiry.h"

namespace quorvel {

class CEMUSCSISamplerClass {
public:
    virtual ~CEMUSCSISamplerClass() = default;
    CEMUSCSISamplerClass(const CEMUSCSISamplerClass&) = delete;
    CEMUSCSISamplerClass& operator=(const CEMUSCSISamplerClass&) = delete;

    const SSamplerModel& Model() const { return model_; }
    bool Verify(const SEMUInquiry& inquiry) const { return VerifyEMUModel(model_.typeId, inquiry); }
    std::unique_ptr<CABCSamplerInterface> CreateInterface(const SCSIDevice& device) const;
    // Asks the target for its inquiry answer. True, with its firmware
    // version, when the target is this model; false when it is something
    // else. XSCSI and the SCSI communication exceptions when it fails.
    bool ReadOSVersion(const SCSIDevice& device, CVersion& version) const;

protected:
    // `typeId` must be an E-mu model of the table.
    explicit CEMUSCSISamplerClass(uint32_t typeId);

private:
    const SSamplerModel& model_;
};

// The ESi samplers, and the Emulator 4 family with its successors.
class CEMUESiSCSISamplerClass : public CEMUSCSISamplerClass {
protected:
    using CEMUSCSISamplerClass::CEMUSCSISamplerClass;
};

class CEMUE4SCSISamplerClass : public CEMUSCSISamplerClass {
protected:
    using CEMUSCSISamplerClass::CEMUSCSISamplerClass;
};

#define QUORVEL_EMU_MODEL(Name, Base, TypeId)                                                                          \
    class Name final : public Base {                                                                                   \
    public:                                                                                                            \
        Name() : Base(TypeId) {}                                                                                       \
    }

QUORVEL_EMU_MODEL(CESi32SCSISamplerClass, CEMUESiSCSISamplerClass, 5001);
QUORVEL_EMU_MODEL(CESi4000SCSISamplerClass, CEMUESiSCSISamplerClass, 5011);
QUORVEL_EMU_MODEL(CEOSSCSISamplerClass, CEMUE4SCSISamplerClass, 5101);
QUORVEL_EMU_MODEL(CEmulatorIVSCSISamplerClass, CEMUE4SCSISamplerClass, 5111);
QUORVEL_EMU_MODEL(CE4KSCSISamplerClass, CEMUE4SCSISamplerClass, 5121);
QUORVEL_EMU_MODEL(CE4XSCSISamplerClass, CEMUE4SCSISamplerClass, 5131);
QUORVEL_EMU_MODEL(CE4XTSCSISamplerClass, CEMUE4SCSISamplerClass, 5141);
QUORVEL_EMU_MODEL(Ce64SCSISamplerClass, CEMUE4SCSISamplerClass, 5201);
QUORVEL_EMU_MODEL(Ce64fxSCSISamplerClass, CEMUE4SCSISamplerClass, 5211);
QUORVEL_EMU_MODEL(Ce6400SCSISamplerClass, CEMUE4SCSISamplerClass, 5221);

#undef QUORVEL_EMU_MODEL

// One of each, in table order.
std::vector<std::unique_ptr<CEMUSCSISamplerClass>> EMUSamplerClasses();

// The class of an E-mu type id, or null.
std::unique_ptr<CEMUSCSISamplerClass> EMUSamplerClass(uint32_t typeId);

// The target's inquiry answer read as an E-mu sampler's; null when it is not
// one. XSCSI and the SCSI communication exceptions when the command fails.
std::optional<SEMUInquiry> InquireEMU(const SCSIDevice& device);

} // namespace quorvel
