#include "fileformats/InstrumentExportQuestions.h"

#include "fileformats/FileAlerts.h"

namespace quorvel {

std::optional<int> LimitSlices(CInstrumentExportQuestions& questions, int count, int limit, int table, int alert)
{
    if (count <= limit)
        return count;
    SliceLimitQuestion question{table, alert, count, limit, {}};
    // The MIDI file's alert names only the limit; the instrument alerts name
    // the count, then the limit twice.
    question.text = table == kFileAlertTable ? FillNumbers(FileAlertText(alert), {limit})
                                             : FillNumbers(InstrumentAlertText(alert), {count, limit, limit});
    if (!questions.AcceptSliceLimit(question))
        return std::nullopt;
    return limit;
}

} // namespace quorvel
