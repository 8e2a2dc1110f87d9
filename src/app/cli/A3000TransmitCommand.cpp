#include "app/cli/A3000TransmitCommand.h"

#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "samplers/SampleTransfer.h"
#include "samplers/yamaha/A3000BankTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace a3000;

namespace {

// Alerts of the instrument table.
constexpr int kTooManySlicesAlert = 2;
constexpr uint32_t kNoBankNameAlert = 60;
constexpr uint32_t kBankExistsAlert = 61;
constexpr uint32_t kSampleExistsAlert = 62;
constexpr uint32_t kUnassignedSamplesAlert = 63;
constexpr uint32_t kBankIncompleteAlert = 64;
constexpr uint32_t kNoTemplateAlert = 65;

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
class CToolQuestions : public CABCA3000TransmitQuestions {
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
        throw CliError(kUsage, "--program-name: " + AlertText(kNoBankNameAlert));
    } catch (const XA3000BankNameNotUnique&) {
        throw CliError(kDeviceRefused, AlertText(kBankExistsAlert, transmission.ClashingName()));
    } catch (const XA3000SampleNameNotUnique&) {
        throw CliError(kDeviceRefused, AlertText(kSampleExistsAlert, transmission.ClashingName()));
    } catch (...) {
        CliError failure = DeviceFailure("the sample bank \"" + SamplerName(settings.bankName) + "\"");
        if (transmission.Aftermath() == EA3000Aftermath::BankIncomplete)
            throw CliError(failure.Status(), std::string(failure.what()) + "\n" + AlertText(kBankIncompleteAlert));
        if (transmission.Aftermath() == EA3000Aftermath::SamplesUnassigned)
            throw CliError(failure.Status(), std::string(failure.what()) + "\n" + AlertText(kUnassignedSamplesAlert));
        throw failure;
    }
    ordered_json samples = ordered_json::array();
    for (const SA3000SentSample& sent : result.samples) {
        ordered_json entry;
        entry["slice"] = sent.slice;
        entry["name"] = sent.name;
        entry["number"] = sent.number;
        entry["frames"] = sent.frames;
        entry["rate"] = sent.rate;
        samples.push_back(entry);
    }
    ordered_json bank;
    bank["name"] = result.bankName;
    bank["members"] = static_cast<int>(result.samples.size());
    ordered_json report;
    report["samples"] = samples;
    report["bank"] = bank;
    return report;
}

} // namespace quorvel::cli
