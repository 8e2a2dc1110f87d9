#include "samplers/kurzweil/K2000ProgramTransmission.h"

#include <algorithm>

#include "analysis/SliceSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/SamplerInterface.h"
#include "samplers/SliceSamples.h"

namespace quorvel::k2000 {

namespace {

constexpr uint16_t kObjectsPerBank = 100;
constexpr uint8_t kBanks = 10;
constexpr uint8_t kPlacedSlice = 1;
constexpr int kTimeout = CABCKurzweilObjectProtocol::kObjectTimeoutMs;
constexpr auto kProgramType = static_cast<uint16_t>(EKurzweilObjectType::Program);
constexpr auto kKeymapType = static_cast<uint16_t>(EKurzweilObjectType::Keymap);
constexpr auto kSoundBlockType = static_cast<uint16_t>(EKurzweilObjectType::SoundBlock);

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A delete the sampler refuses (a factory object, one in edit, one already gone) leaves
// that object; a failing connection still ends the transmission.
void DeleteIfAllowed(CABCKurzweilObjectProtocol& objects, uint16_t type, uint16_t id, int timeoutMs)
{
    try {
        objects.Delete(type, id, timeoutMs);
    } catch (const XKurzweilException&) {
    } catch (const XExternalDeviceRejected&) {
    }
}

} // namespace

int SliceLimit(int startKey) { return std::max(0, kHighestKey + 1 - startKey); }

CK2000ProgramTransmission::CK2000ProgramTransmission(CABCSamplerInterface& sampler,
                                                     CABCKurzweilObjectProtocol& objects,
                                                     CABCK2000TransmitQuestions& questions)
    : sampler_(sampler), objects_(objects), questions_(questions)
{
}

SK2000TransmitResult CK2000ProgramTransmission::Run(const CExportJob& job, const SK2000TransmitSettings& settings)
{
    leftUnassigned_ = false;
    if (!settings.programId)
        throw XK2000ProgramIdMissing();
    if (*settings.programId < CK2000Program::kLowestId || *settings.programId > CK2000Program::kHighestId)
        throw XK2000ProgramIdOutOfRange();
    const std::string programName = Trimmed(settings.programName);
    if (programName.empty())
        throw XK2000ProgramNameMissing();
    if (settings.startKey < kLowestStartKey || settings.startKey > kHighestKey)
        throw XK2000StartKeyOutOfRange();
    const auto programId = static_cast<uint16_t>(*settings.programId);
    const int outputs = job.OutputCount();
    if (outputs < 1)
        return {};
    const int count = questions_.ConfirmSliceCount(outputs, SliceLimit(settings.startKey));

    // Everything that can stop the transmission is settled before the first block goes.
    std::string resident;
    const bool replacing = ProgramExists(programId, resident);
    if (replacing && !questions_.ReplaceProgram(programId, resident))
        throw XSampleTransmitCancelled();
    STemplate model = RetrieveTemplate(settings.templateId);
    if (replacing)
        DeleteProgramAndSamples(programId);

    SK2000TransmitResult result;
    result.programId = programId;
    result.programName = CK2000Program(programId, programName).Name();
    result.usedTemplate = model.used;
    CK2000Keymap keymap(programId, programName);
    CK2000Keymap::Table& table = keymap.LevelTable(CK2000Keymap::kSliceLevel);
    const auto bank = static_cast<int32_t>(programId / kObjectsPerBank);
    questions_.Stage(EK2000TransmitStage::SendingSamples);
    for (int k = 0; k < count; ++k) {
        const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
        SampleInfo info =
            SliceSampleInfo(*output, job.OutputRate(), SliceSampleName(*output, k, job.Separate()));
        sampler_.AdaptSampleInfo(info);
        const std::unique_ptr<CABCSampleTransmitter> transmitter = sampler_.CreateMonoTransmitter(bank);
        if (!transmitter)
            throw XSamplerException();
        TransmitSample(*transmitter, info, 0, *output, questions_.SampleProgress(count - k));
        const auto block = static_cast<uint16_t>(transmitter->GetResultSampleNumber());
        const int key = settings.startKey + k;
        SK2000KeymapEntry entry = model.entry;
        entry.soundBlock = block;
        entry.last = kPlacedSlice;
        table.at(static_cast<size_t>(keymap.EntryIndexOfKey(key))) = entry;
        result.slices.push_back({job.Separate() ? k + 1 : 0, std::string(info.Name()), block, key, info.length,
                                 info.rate});
        leftUnassigned_ = true;
    }
    questions_.Stage(EK2000TransmitStage::WritingKeymap);
    result.keymapId = objects_.Write(keymap, EKurzweilWriteMode::AsIs, CK2000Program::kHighestId, kTimeout);
    leftUnassigned_ = true;

    questions_.Stage(EK2000TransmitStage::WritingProgram);
    CK2000Program program = model.program;
    program.SetId(programId);
    program.SetName(programName);
    program.SetFlag(1);
    program.Layers().resize(1);
    CK2000Program::SetKeymap(program.Layers().front(), result.keymapId);
    objects_.Write(program, EKurzweilWriteMode::AsIs, CK2000Program::kHighestId, kTimeout);
    leftUnassigned_ = false;
    return result;
}

CK2000ProgramTransmission::STemplate CK2000ProgramTransmission::RetrieveTemplate(const std::optional<uint16_t>& id)
{
    STemplate model{CK2000Program(), SK2000KeymapEntry{}, false};
    EK2000TemplateProblem problem = EK2000TemplateProblem::NotSpecified;
    if (id) {
        questions_.Stage(EK2000TransmitStage::RetrievingTemplate);
        try {
            CK2000Program program(*id);
            objects_.Read(program, kTimeout);
            model.program = program;
            model.used = true;
        } catch (const XKurzweilObjectNotFound&) {
            problem = EK2000TemplateProblem::Missing;
        } catch (const XSampleTransmitCancelled&) {
            throw;
        } catch (const XBase&) {
            problem = EK2000TemplateProblem::Unreadable;
        }
    }
    if (!model.used) {
        if (!questions_.UseDefaults(problem))
            throw XSampleTransmitCancelled();
        return model;
    }
    // The template's keymap only lends its entry's settings: without it they stay empty.
    try {
        CK2000Keymap keymap(CK2000Program::KeymapOf(model.program.Layers().front()));
        objects_.Read(keymap, kTimeout);
        model.entry = ModelEntry(keymap);
    } catch (const XKurzweilException&) {
    } catch (const XExternalDeviceRejected&) {
    }
    return model;
}

bool CK2000ProgramTransmission::ProgramExists(uint16_t id, std::string& name)
{
    const auto bank = static_cast<uint8_t>(id / kObjectsPerBank);
    for (const SKurzweilObjectRecord& record :
         objects_.List(kProgramType, bank, 0, CABCKurzweilObjectProtocol::kListLimit))
        if (record.id == id) {
            name = record.name;
            return true;
        }
    return false;
}

void CK2000ProgramTransmission::DeleteProgramAndSamples(uint16_t id)
{
    questions_.Stage(EK2000TransmitStage::DeletingProgram);
    CK2000Program program(id);
    objects_.Read(program, kTimeout);
    const uint16_t keymapId = CK2000Program::KeymapOf(program.Layers().front());
    std::vector<uint16_t> blocks;
    try {
        CK2000Keymap keymap(keymapId);
        objects_.Read(keymap, kTimeout);
        blocks = keymap.SoundBlocks();
    } catch (const XKurzweilException&) {
        // No keymap to follow: only the program goes.
    } catch (const XExternalDeviceRejected&) {
    }
    objects_.Delete(kProgramType, id, kTimeout);
    DeleteIfAllowed(objects_, kKeymapType, keymapId, kTimeout);
    for (const uint16_t block : blocks)
        DeleteIfAllowed(objects_, kSoundBlockType, block, CABCKurzweilObjectProtocol::kSoundBlockDeleteTimeoutMs);
}

SK2000KeymapEntry CK2000ProgramTransmission::ModelEntry(const CK2000Keymap& keymap)
{
    const CK2000Keymap::Table& table = keymap.LevelTable(CK2000Keymap::kSliceLevel);
    const auto named =
        std::find_if(table.begin(), table.end(), [](const SK2000KeymapEntry& e) { return e.soundBlock != 0; });
    SK2000KeymapEntry entry;
    if (named != table.end()) {
        entry.first = named->first;
        entry.second = named->second;
    }
    return entry;
}

std::vector<SKurzweilObjectRecord> CK2000ProgramTransmission::ListPrograms(CABCKurzweilObjectProtocol& objects)
{
    std::vector<SKurzweilObjectRecord> programs;
    for (uint8_t bank = 0; bank < kBanks; ++bank)
        for (SKurzweilObjectRecord& record :
             objects.List(kProgramType, bank, 0, CABCKurzweilObjectProtocol::kListLimit))
            programs.push_back(std::move(record));
    return programs;
}

} // namespace quorvel::k2000
