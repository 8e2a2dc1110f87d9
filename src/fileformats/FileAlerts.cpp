#include "fileformats/FileAlerts.h"

#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"

namespace quorvel {

namespace {

// "[Title]Message" of a built-in alert, with ^0 filled in as the alert box
// would fill it.
std::string ShownAlertText(int table, int alert, const std::string* argument)
{
    if (alert < 0 || alert >= static_cast<int>(kResourceEntries))
        return {};
    CAlertContent content = CAlertContent::FromReference(
        BuiltInTextResources(), AlertReference(static_cast<uint32_t>(table), static_cast<uint32_t>(alert)));
    if (argument)
        content.AddArgument(*argument);
    const AlertRecord record = content.Record();
    return record.title.empty() ? record.message : "[" + record.title + "]" + record.message;
}

} // namespace

std::string FileAlertText(int alert, const std::string& argument)
{
    return ShownAlertText(kFileAlertTable, alert, &argument);
}

std::string InstrumentAlertText(int alert)
{
    return ShownAlertText(kInstrumentAlertTable, alert, nullptr);
}

std::string ApplicationAlertText(int alert)
{
    return ShownAlertText(kApplicationAlertTable, alert, nullptr);
}

std::string FillNumbers(std::string text, std::initializer_list<int> numbers)
{
    size_t from = 0;
    for (int number : numbers) {
        const size_t at = text.find("%d", from);
        if (at == std::string::npos)
            break;
        const std::string digits = std::to_string(number);
        text.replace(at, 2, digits);
        from = at + digits.size();
    }
    return text;
}

} // namespace quorvel
