#include "app/cli/A3000TransmitCommand.h"

#include "app/cli/DeviceFailure.h"
#include "app/cli/TransmitAnswers.h"
#include "samplers/yamaha/A3000BankTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace a3000;

namespace {

// Alerts of the instrument table.
constexpr uint32_t kNoBankNameAlert = 60;
constexpr uint32_t kBankExistsAlert = 61;
constexpr uint32_t kSampleExistsAlert = 62;
constexpr uint32_t kUnassignedSamplesAlert = 63;
constexpr uint32_t kBankIncompleteAlert = 64;
constexpr uint32_t kNoTemplateAlert = 65;

class CToolQuestions final : public CToolTransmitQuestions<CABCA3000TransmitQuestions> {
public:
    using CToolTransmitQuestions::CToolTransmitQuestions;

    bool UseDefaults() override
    {
        return Allow(options_.useDefaults,
                     InstrumentAlertLine(kNoTemplateAlert) + " (use --use-defaults to go on without it)");
    }
};

} // namespace

ordered_json TransmitA3000(CABCA3000Interface& sampler, const CExportJob& job, const TransmitOptions& options)
{
    SA3000TransmitSettings settings;
    settings.bankName = options.programName.value_or(kUnnamedBank);
    settings.firstKey = options.firstKey.value_or(kDefaultFirstKey);
    settings.templateName = options.templateName;
    CToolQuestions questions(options);
    CA3000BankTransmission transmission(sampler, questions);
    SA3000TransmitResult result;
    try {
        result = transmission.Run(job, settings);
    } catch (const CliError&) {
        throw;
    } catch (const XA3000BankNameMissing&) {
        throw CliError(kUsage, "--program-name: " + InstrumentAlertLine(kNoBankNameAlert));
    } catch (const XA3000BankNameNotUnique&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kBankExistsAlert, transmission.ClashingName()));
    } catch (const XA3000SampleNameNotUnique&) {
        throw CliError(kDeviceRefused, InstrumentAlertLine(kSampleExistsAlert, transmission.ClashingName()));
    } catch (...) {
        CliError failure = DeviceFailure("the sample bank \"" + SamplerName(settings.bankName) + "\"");
        if (transmission.Aftermath() == EA3000Aftermath::BankIncomplete)
            throw WithLine(failure, InstrumentAlertLine(kBankIncompleteAlert));
        if (transmission.Aftermath() == EA3000Aftermath::SamplesUnassigned)
            throw WithLine(failure, InstrumentAlertLine(kUnassignedSamplesAlert));
        throw failure;
    }
    ordered_json samples = ordered_json::array();
    for (const SA3000SentSample& sent : result.samples)
        samples.push_back(SentSampleRow(sent.slice, sent.name, sent.number, sent.frames, sent.rate));
    ordered_json bank;
    bank["name"] = result.bankName;
    bank["members"] = static_cast<int>(result.samples.size());
    ordered_json report;
    report["samples"] = samples;
    report["bank"] = bank;
    return report;
}

} // namespace quorvel::cli
