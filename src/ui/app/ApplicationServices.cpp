#include "ui/app/ApplicationServices.h"

namespace quorvel {

namespace {

// Stands in until real dialogs are given: every question is cancelled.
class CCancellingFileDialogs final : public CFileDialogs {
public:
    std::optional<std::string> AskSaveFile(const SSaveFileRequest&) override { return std::nullopt; }
    std::optional<SSoundExportChoice> AskExportSound(const std::string&, int32_t, const std::string&) override
    {
        return std::nullopt;
    }
};

} // namespace

CApplicationServices::CApplicationServices(SLengthyOperationServices lengthy, QWidget* alertParent)
    : lengthy_(lengthy), player_(&lengthy.loop), alerts_(alertParent), sound_(player_, alerts_)
{
}

CApplicationServices::~CApplicationServices()
{
    // The channel's thread renders through the player: silence it first.
    player_.Stop();
}

CFileDialogs& CApplicationServices::FileDialogs()
{
    static CCancellingFileDialogs cancelling;
    return fileDialogs_ ? *fileDialogs_ : cancelling;
}

} // namespace quorvel
