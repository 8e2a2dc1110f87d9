#include "app/cli/TransmitAnswers.h"

#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"

namespace quorvel::cli {

namespace {

constexpr int kTooManySlicesAlert = 2;

} // namespace

std::string InstrumentAlertLine(uint32_t alert, const std::string& argument)
{
    CAlertContent content = CAlertContent::FromReference(
        BuiltInTextResources(), AlertReference(static_cast<uint32_t>(kInstrumentAlertTable), alert));
    if (!argument.empty())
        content.AddArgument(argument);
    const AlertRecord record = content.Record();
    return record.title.empty() ? record.message : "[" + record.title + "]" + record.message;
}

CliError WithLine(const CliError& failure, const std::string& line)
{
    return CliError(failure.Status(), std::string(failure.what()) + "\n" + line);
}

int AnswerSliceCount(const TransmitOptions& options, int count, int maximum)
{
    if (count <= maximum)
        return count;
    if (!options.acceptLimit)
        throw CliError(kDeviceRefused,
                       FillNumbers(InstrumentAlertText(kTooManySlicesAlert), {count, maximum, maximum}) +
                           " (use --accept-limit to send the first " + std::to_string(maximum) + ")");
    return maximum;
}

} // namespace quorvel::cli
