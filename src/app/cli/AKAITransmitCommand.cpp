#include "app/cli/AKAITransmitCommand.h"

#include "analysis/SliceSet.h"
#include "app/cli/DeviceFailure.h"
#include "app/cli/TransmitAnswers.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIProgramTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace akai;

namespace {

// Alerts of the instrument table.
constexpr uint32_t kProgramExistsAlert = 50;
constexpr uint32_t kSampleNameTakenAlert = 51;
constexpr uint32_t kNoProgramNameAlert = 52;
constexpr uint32_t kNoTemplateAlert = 53;
constexpr uint32_t kUnassignedSamplesAlert = 54;
constexpr uint32_t kProgramIncompleteAlert = 55;

class CToolQuestions final : public CToolTransmitQuestions<CABCAKAITransmitQuestions> {
public:
    using CToolTransmitQuestions::CToolTransmitQuestions;

    bool ReplaceProgram(const std::string& name) override
    {
        return Allow(options_.replace,
                     InstrumentAlertLine(kProgramExistsAlert, name) + " (use --replace to replace it)");
    }
    bool UseDefaults() override
    {
        return Allow(options_.useDefaults,
                     InstrumentAlertLine(kNoTemplateAlert) + " (use --use-defaults to go on without it)");
    }
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
        throw CliError(kUsage, "--program-name: " + InstrumentAlertLine(kNoProgramNameAlert));
    } catch (const XAKAIFirstKeyOutOfRange&) {
        throw CliError(kUsage, "--first-key: a key from 0 to 127");
    } catch (const XAKAINameIsNotUnique&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kSampleNameTakenAlert, transmission.ClashingName()));
    } catch (...) {
        CliError failure = DeviceFailure("the program \"" + AKAIName(settings.programName) + "\"");
        if (transmission.Aftermath() == EAKAIAftermath::ProgramIncomplete)
            throw WithLine(failure, InstrumentAlertLine(kProgramIncompleteAlert));
        if (transmission.Aftermath() == EAKAIAftermath::SamplesUnassigned)
            throw WithLine(failure, InstrumentAlertLine(kUnassignedSamplesAlert));
        throw failure;
    }
    ordered_json samples = ordered_json::array();
    for (const SAKAISentSample& sent : result.samples)
        samples.push_back(SentSampleRow(sent.slice, sent.name, sent.number, sent.frames, sent.rate));
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
