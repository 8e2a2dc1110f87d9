#include "fileformats/OutputLimits.h"

#include "document/BAT.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel {

int32_t MaxOutputFrames() { return static_cast<int32_t>(BAT::kMaxBytes / 2); }

void CheckOutputLengths(const CExportJob& job, int count)
{
    for (int i = 0; i < count; ++i)
        if (job.GetOutputInfo(i).length > MaxOutputFrames())
            throw XExportFailed(kFileAlertTable, kSoundTooLongAlert);
}

} // namespace quorvel
