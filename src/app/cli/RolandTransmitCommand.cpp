#include "app/cli/RolandTransmitCommand.h"

#include "analysis/SliceSet.h"
#include "app/cli/DeviceFailure.h"
#include "app/cli/TransmitAnswers.h"
#include "devices/midi/MIDIExceptions.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "samplers/roland/S760PatchTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace s760;

namespace {

// Alerts of the instrument table.
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

class CToolQuestions final : public CToolTransmitQuestions<CABCS760TransmitQuestions> {
public:
    using CToolTransmitQuestions::CToolTransmitQuestions;

    bool ReplacePatch(const std::string& name) override
    {
        return Allow(options_.replace, InstrumentAlertLine(kPatchExistsAlert, name) + " (use --replace to replace it)");
    }
    bool UseDefaults() override
    {
        return Allow(options_.useDefaults,
                     InstrumentAlertLine(kNoTemplateAlert) + " (use --use-defaults to go on without it)");
    }
    void TemplateIncomplete() override { notes.push_back(InstrumentAlertLine(kTemplateIncompleteAlert)); }

    std::vector<std::string> notes;
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
        throw CliError(kUsage, "--patch-name: " + InstrumentAlertLine(kNoPatchNameAlert));
    } catch (const XS760PartialNameTaken&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kPartialNameTakenAlert, transmission.ClashingName()));
    } catch (const XS760SampleNameAlreadyExists&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kSampleNameTakenAlert, transmission.ClashingName()));
    } catch (const XS760NoFreePatch&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kNoFreePatchAlert));
    } catch (const XS760NotEnoughPartials&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kTooFewPartialsAlert, std::to_string(transmission.Shortfall())));
    } catch (const XS760NotEnoughSamples&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kTooFewSamplesAlert, std::to_string(transmission.Shortfall())));
    } catch (...) {
        CliError failure = DeviceFailure("the patch \"" + DisplayName(settings.patchName) + "\"");
        // A sampler that does not answer is most often not in Performance mode.
        try {
            throw;
        } catch (const XSysexTimedOut&) {
            failure = WithLine(failure, BuiltInTextResources().Text(StringReference(133, 650)));
        } catch (...) {
        }
        if (transmission.Aftermath() == ES760Aftermath::PatchIncomplete)
            throw WithLine(failure, InstrumentAlertLine(kPatchIncompleteAlert));
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
