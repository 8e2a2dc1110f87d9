#include "app/cli/AKAITransmitCommand.h"

#include "analysis/SliceSet.h"
#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "samplers/SampleTransfer.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIProgramTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace akai;

namespace {

// Alerts of the instrument table.
constexpr int kTooManySlicesAlert = 2;
constexpr uint32_t kProgramExistsAlert = 50;
constexpr uint32_t kSampleNameTakenAlert = 51;
constexpr uint32_t kNoProgramNameAlert = 52;
constexpr uint32_t kNoTemplateAlert = 53;
constexpr uint32_t kUnassignedSamplesAlert = 54;
constexpr uint32_t kProgramIncompleteAlert = 55;

std::string AlertText(uint32_t alert, const std::string& argument = {})
{
    CAlertContent content =
        CAlertContent::FromReference(BuiltInTextResources(), AlertReference(static_cast<uint32_t>(kInstrumentAlertTable), alert));
    if (!argument.empty())
        content.AddArgument(argument);
    const AlertRecord record = content.Record();
    return record.title.empty() ? record.message : "[" + record.title + "]" + record.message;
}

class CQuietProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

// Nobody is there to ask: the options answer, and a question they do not
// answer refuses the job before anything is sent.
class CToolQuestions : public CABCAKAITransmitQuestions {
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
    bool ReplaceProgram(const std::string& name) override
    {
        if (!options_.replace)
            throw CliError(kDeviceRefused, AlertText(kProgramExistsAlert, name) + " (use --replace to replace it)");
        return true;
    }
    bool UseDefaults() override
    {
        if (!options_.useDefaults)
            throw CliError(kDeviceRefused, AlertText(kNoTemplateAlert) + " (use --use-defaults to go on without it)");
        return true;
    }
    CABCTransferProgress& SampleProgress(int) override { return progress_; }

private:
    const TransmitOptions& options_;
    CQuietProgress progress_;
};

} // namespace

ordered_json TransmitAKAI(CABCAKAIInterface& sampler, const CExportJob& job, const TransmitOptions& options)
{
    SAKAITransmitSettings settings;
    settings.programName = options.programName.value_or(kDefaultProgramName);
    settings.firstKey = options.firstKey.value_or(kDefaultFirstKey);
    settings.templateName = options.templateName;
    CToolQuestions questions(options);
    CAKAIProgramTransmission transmission(sampler, questions);
    SAKAITransmitResult result;
    try {
        result = transmission.Run(job, settings);
    } catch (const CliError&) {
        throw;
    } catch (const XAKAIProgramNameMissing&) {
        throw CliError(kUsage, "--program-name: " + AlertText(kNoProgramNameAlert));
    } catch (const XAKAIFirstKeyOutOfRange&) {
        throw CliError(kUsage, "--first-key: a key from 0 to 127");
    } catch (const XAKAINameIsNotUnique&) {
        throw CliError(kDeviceRefused, AlertText(kSampleNameTakenAlert, transmission.ClashingName()));
    } catch (...) {
        CliError failure = DeviceFailure("the program \"" + AKAIName(settings.programName) + "\"");
        if (transmission.Aftermath() == EAKAIAftermath::ProgramIncomplete)
            throw CliError(failure.Status(), std::string(failure.what()) + "\n" + AlertText(kProgramIncompleteAlert));
        if (transmission.Aftermath() == EAKAIAftermath::SamplesUnassigned)
            throw CliError(failure.Status(), std::string(failure.what()) + "\n" + AlertText(kUnassignedSamplesAlert));
        throw failure;
    }
    ordered_json samples = ordered_json::array();
    for (const SAKAISentSample& sent : result.samples) {
        ordered_json entry;
        entry["slice"] = sent.slice;
        entry["name"] = sent.name;
        entry["number"] = sent.number;
        entry["frames"] = sent.frames;
        entry["rate"] = sent.rate;
        samples.push_back(entry);
    }
    ordered_json program;
    program["name"] = result.programName;
    program["number"] = result.programNumber;
    program["keygroups"] = result.keyGroups;
    ordered_json report;
    report["samples"] = samples;
    report["program"] = program;
    return report;
}

} // namespace quorvel::cli
