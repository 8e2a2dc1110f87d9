#include "app/cli/RolandTransmitCommand.h"

#include "analysis/SliceSet.h"
#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "devices/midi/MIDIExceptions.h"
#include "samplers/SampleTransfer.h"
#include "samplers/roland/S760PatchTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace s760;

namespace {

// Alerts of the instrument table.
constexpr int kTooManySlicesAlert = 2;
constexpr uint32_t kPatchExistsAlert = 30;
constexpr uint32_t kPartialNameTakenAlert = 31;
constexpr uint32_t kSampleNameTakenAlert = 32;
constexpr uint32_t kNoTemplateAlert = 34;
constexpr uint32_t kNoPatchNameAlert = 35;
constexpr uint32_t kTemplateIncompleteAlert = 36;
constexpr uint32_t kPatchIncompleteAlert = 37;
constexpr uint32_t kNoFreePatchAlert = 38;
constexpr uint32_t kTooFewPartialsAlert = 39;
constexpr uint32_t kTooFewSamplesAlert = 40;

std::string AlertText(uint32_t alert, const std::string& argument = {})
{
    CAlertContent content = CAlertContent::FromReference(
        BuiltInTextResources(), AlertReference(static_cast<uint32_t>(kInstrumentAlertTable), alert));
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
class CToolQuestions : public CABCS760TransmitQuestions {
public:
    explicit CToolQuestions(const TransmitOptions& options) : options_(options) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        if (count <= maximum)
            return count;
        if (!options_.acceptLimit)
            throw CliError(kDeviceRefused, FillNumbers(InstrumentAlertText(kTooManySlicesAlert), {count, maximum, maximum}) +
                                               " (use --accept-limit to send the first " + std::to_string(maximum) + ")");
        return maximum;
    }
    bool ReplacePatch(const std::string& name) override
    {
        if (!options_.replace)
            throw CliError(kDeviceRefused, AlertText(kPatchExistsAlert, name) + " (use --replace to replace it)");
        return true;
    }
    bool UseDefaults() override
    {
        if (!options_.useDefaults)
            throw CliError(kDeviceRefused, AlertText(kNoTemplateAlert) + " (use --use-defaults to go on without it)");
        return true;
    }
    void TemplateIncomplete() override { notes.push_back(AlertText(kTemplateIncompleteAlert)); }
    CABCTransferProgress& SampleProgress(int) override { return progress_; }

    std::vector<std::string> notes;

private:
    const TransmitOptions& options_;
    CQuietProgress progress_;
};

} // namespace

ordered_json TransmitS760(CABCS760Interface& sampler, const CExportJob& job, const TransmitOptions& options)
{
    SS760TransmitSettings settings;
    settings.patchName = options.programName.value_or(kDefaultPatchName);
    settings.templateName = options.templateName;
    CToolQuestions questions(options);
    CS760PatchTransmission transmission(sampler, questions);
    SS760TransmitResult result;
    try {
        result = transmission.Run(job, settings);
    } catch (const CliError&) {
        throw;
    } catch (const XS760PatchNameMissing&) {
        throw CliError(kUsage, "--patch-name: " + AlertText(kNoPatchNameAlert));
    } catch (const XS760PartialNameTaken&) {
        throw CliError(kDeviceRefused, AlertText(kPartialNameTakenAlert, transmission.ClashingName()));
    } catch (const XS760SampleNameAlreadyExists&) {
        throw CliError(kDeviceRefused, AlertText(kSampleNameTakenAlert, transmission.ClashingName()));
    } catch (const XS760NoFreePatch&) {
        throw CliError(kDeviceRefused, AlertText(kNoFreePatchAlert));
    } catch (const XS760NotEnoughPartials&) {
        throw CliError(kDeviceRefused, AlertText(kTooFewPartialsAlert, std::to_string(transmission.Shortfall())));
    } catch (const XS760NotEnoughSamples&) {
        throw CliError(kDeviceRefused, AlertText(kTooFewSamplesAlert, std::to_string(transmission.Shortfall())));
    } catch (...) {
        CliError failure = DeviceFailure("the patch \"" + DisplayName(settings.patchName) + "\"");
        // A sampler that does not answer is most often not in Performance mode.
        try {
            throw;
        } catch (const XSysexTimedOut&) {
            failure = CliError(failure.Status(), std::string(failure.what()) + "\n" +
                                                     BuiltInTextResources().Text(StringReference(133, 650)));
        } catch (...) {
        }
        if (transmission.Aftermath() == ES760Aftermath::PatchIncomplete)
            throw CliError(failure.Status(), std::string(failure.what()) + "\n" + AlertText(kPatchIncompleteAlert));
        throw failure;
    }
    ordered_json samples = ordered_json::array();
    for (const SS760SentSample& sent : result.samples) {
        ordered_json entry;
        entry["slice"] = sent.slice;
        entry["name"] = sent.name;
        entry["number"] = sent.number;
        entry["partial"] = sent.partial;
        entry["frames"] = sent.frames;
        entry["rate"] = sent.rate;
        samples.push_back(entry);
    }
    ordered_json patch;
    patch["name"] = result.patchName;
    patch["number"] = result.patchNumber;
    patch["partials"] = result.samples.size();
    ordered_json report;
    report["samples"] = samples;
    report["patch"] = patch;
    if (!questions.notes.empty())
        report["notes"] = questions.notes;
    return report;
}

} // namespace quorvel::cli
