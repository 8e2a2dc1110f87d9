#include "app/cli/EnsoniqTransmitCommand.h"

#include "analysis/SliceSet.h"
#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "samplers/SampleTransfer.h"
#include "samplers/ensoniq/EnsoniqInstrumentTransmission.h"

namespace quorvel::cli {

using nlohmann::ordered_json;
using namespace ensoniq;

namespace {

// Alerts of the instrument table.
constexpr int kTooManySlicesAlert = 2;
constexpr uint32_t kInstrumentNotCreatedAlert = 80;
constexpr uint32_t kInstrumentExistsAlert = 81;
constexpr uint32_t kNoInstrumentNameAlert = 82;

std::string AlertText(uint32_t alert)
{
    const CAlertContent content = CAlertContent::FromReference(
        BuiltInTextResources(), AlertReference(static_cast<uint32_t>(kInstrumentAlertTable), alert));
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
class CToolQuestions : public CABCEnsoniqTransmitQuestions {
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
    bool ReplaceInstrument(const std::string& name) override
    {
        if (!options_.replace)
            throw CliError(kDeviceRefused, AlertText(kInstrumentExistsAlert) + " (\"" + name +
                                               "\"; use --replace to replace it)");
        return true;
    }
    CABCTransferProgress& SampleProgress(int) override { return progress_; }

private:
    const TransmitOptions& options_;
    CQuietProgress progress_;
};

} // namespace

ordered_json TransmitEnsoniq(CABCEnsoniqInterface& sampler, const CExportJob& job, const TransmitOptions& options)
{
    SEnsoniqTransmitSettings settings;
    settings.instrumentName = options.programName.value_or(kDefaultInstrumentName);
    settings.instrument = static_cast<uint32_t>(options.instrument.value_or(1) - 1);
    CToolQuestions questions(options);
    CEnsoniqInstrumentTransmission transmission(sampler, questions);
    SEnsoniqTransmitResult result;
    try {
        result = transmission.Run(job, settings);
    } catch (const CliError&) {
        throw;
    } catch (const XEnsoniqInstrumentNameMissing&) {
        throw CliError(kUsage, "--program-name: " + AlertText(kNoInstrumentNameAlert));
    } catch (const XEnsoniqInstrumentNotCreated&) {
        throw CliError(kDeviceRefused, AlertText(kInstrumentNotCreatedAlert));
    } catch (...) {
        throw DeviceFailure("the instrument \"" + InstrumentName(settings.instrumentName) + "\"");
    }
    ordered_json samples = ordered_json::array();
    for (const SEnsoniqSentSample& sent : result.samples) {
        ordered_json entry;
        entry["slice"] = sent.slice;
        entry["name"] = sent.name;
        entry["number"] = sent.number;
        entry["frames"] = sent.frames;
        entry["rate"] = sent.rate;
        samples.push_back(entry);
    }
    ordered_json instrument;
    instrument["name"] = result.instrumentName;
    instrument["number"] = result.instrument + 1;
    ordered_json report;
    report["samples"] = samples;
    report["instrument"] = instrument;
    return report;
}

} // namespace quorvel::cli
