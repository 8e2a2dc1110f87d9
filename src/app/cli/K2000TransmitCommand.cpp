#include "app/cli/K2000TransmitCommand.h"

#include <algorithm>

#include "analysis/SliceSet.h"
#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "document/WaveSample.h"
#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/FileSpec.h"
#include "framework/ResourceReference.h"
#include "samplers/SampleTransfer.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000ProgramTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace k2000;

namespace {

// Alerts of the instrument table.
constexpr int kTooManySlicesAlert = 2;
constexpr uint32_t kReplaceAlert = 20;
constexpr uint32_t kTemplateUnreadableAlert = 21;
constexpr uint32_t kNoTemplateAlert = 22;
constexpr uint32_t kTemplateMissingAlert = 23;
constexpr uint32_t kNoProgramIdAlert = 24;
constexpr uint32_t kUnassignedAlert = 25;
constexpr uint32_t kNoProgramNameAlert = 26;

std::string AlertText(uint32_t alert)
{
    const uint32_t reference = AlertReference(static_cast<uint32_t>(kInstrumentAlertTable), alert);
    const AlertRecord record = CAlertContent::FromReference(BuiltInTextResources(), reference).Record();
    return record.title.empty() ? record.message : "[" + record.title + "]" + record.message;
}

class CQuietProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

// Nobody is there to ask: the options answer, and a question they do not
// answer refuses the job before anything is sent.
class CToolQuestions : public CABCK2000TransmitQuestions {
public:
    explicit CToolQuestions(const TransmitOptions& options) : options_(options) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        if (count <= maximum)
            return count;
        if (!options_.acceptLimit)
            throw CliError(kDeviceRefused, FillNumbers(InstrumentAlertText(kTooManySlicesAlert),
                                                       {count, maximum, maximum}) +
                                               " (use --accept-limit to send the first " + std::to_string(maximum) +
                                               ")");
        return maximum;
    }
    bool ReplaceProgram(uint16_t id, const std::string& name) override
    {
        if (!options_.replace)
            throw CliError(kDeviceRefused, AlertText(kReplaceAlert) + " (program " + std::to_string(id) + " \"" +
                                               name + "\"; use --replace to replace it)");
        return true;
    }
    bool UseDefaults(EK2000TemplateProblem problem) override
    {
        if (!options_.useDefaults) {
            const uint32_t alert = problem == EK2000TemplateProblem::NotSpecified ? kNoTemplateAlert
                                   : problem == EK2000TemplateProblem::Missing    ? kTemplateMissingAlert
                                                                                  : kTemplateUnreadableAlert;
            throw CliError(kDeviceRefused, AlertText(alert) + " (use --use-defaults to go on with them)");
        }
        return true;
    }
    CABCTransferProgress& SampleProgress(int) override { return progress_; }

private:
    const TransmitOptions& options_;
    CQuietProgress progress_;
};

// A template named by its id, or by its name among the sampler's programs.
std::optional<uint16_t> TemplateId(CABCK2000Interface& sampler, const TransmitOptions& options)
{
    if (!options.templateName)
        return std::nullopt;
    const std::string& named = *options.templateName;
    if (!named.empty() && std::all_of(named.begin(), named.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int id = named.size() <= 3 ? std::stoi(named) : 0;
        if (id < CK2000Program::kLowestId || id > CK2000Program::kHighestId)
            throw CliError(kUsage, "--template " + named + ": a program id from 1 to 999, or a program's name");
        return static_cast<uint16_t>(id);
    }
    for (const SKurzweilObjectRecord& program : CK2000ProgramTransmission::ListPrograms(sampler.Objects()))
        if (program.name == named)
            return program.id;
    if (!options.useDefaults)
        throw CliError(kDeviceRefused, AlertText(kTemplateMissingAlert) + " (\"" + named +
                                           "\"; use --use-defaults to go on with them)");
    return std::nullopt;
}

} // namespace

ordered_json TransmitK2000(CABCK2000Interface& sampler, const CExportJob& job, const TransmitOptions& options)
{
    if (!options.programId)
        throw CliError(kUsage, "--program-id: " + AlertText(kNoProgramIdAlert));
    SK2000TransmitSettings settings;
    settings.programId = options.programId;
    settings.programName = options.programName.value_or(CFileSpec::BaseName(job.Sound().Name()));
    settings.startKey = options.firstKey.value_or(kDefaultStartKey);
    CToolQuestions questions(options);
    CK2000ProgramTransmission transmission(sampler, sampler.Objects(), questions);
    SK2000TransmitResult result;
    try {
        settings.templateId = TemplateId(sampler, options);
        result = transmission.Run(job, settings);
    } catch (const CliError&) {
        throw;
    } catch (const XK2000ProgramIdMissing&) {
        throw CliError(kUsage, "--program-id: " + AlertText(kNoProgramIdAlert));
    } catch (const XK2000ProgramIdOutOfRange&) {
        throw CliError(kUsage, "--program-id: a program id from 1 to 999");
    } catch (const XK2000ProgramNameMissing&) {
        throw CliError(kUsage, "--program-name: " + AlertText(kNoProgramNameAlert));
    } catch (const XK2000StartKeyOutOfRange&) {
        throw CliError(kUsage, "--first-key: a key from " + std::to_string(kLowestStartKey) + " to 127");
    } catch (...) {
        CliError failure = DeviceFailure("program " + std::to_string(*settings.programId));
        if (transmission.LeftUnassigned())
            throw CliError(failure.Status(), std::string(failure.what()) + "\n" + AlertText(kUnassignedAlert));
        throw failure;
    }
    ordered_json samples = ordered_json::array();
    ordered_json keys = ordered_json::array();
    for (const SK2000SentSlice& sent : result.slices) {
        ordered_json entry;
        entry["slice"] = sent.slice;
        entry["name"] = sent.name;
        entry["number"] = sent.soundBlock;
        entry["frames"] = sent.frames;
        entry["rate"] = sent.rate;
        entry["key"] = sent.key;
        samples.push_back(entry);
        keys.push_back({{"key", sent.key}, {"sound_block", sent.soundBlock}});
    }
    ordered_json report;
    report["samples"] = samples;
    report["keymap"] = {{"id", result.keymapId}, {"name", result.programName}, {"keys", keys}};
    report["program"] = {{"id", result.programId}, {"name", result.programName},
                         {"template", result.usedTemplate ? ordered_json(*settings.templateId) : ordered_json()}};
    return report;
}

} // namespace quorvel::cli
