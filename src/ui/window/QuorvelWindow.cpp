// Placeholder until the window lands: holds the document only.
#include "ui/window/QuorvelWindow.h"

#include "document/SoundDocument.h"

namespace quorvel {

struct CQuorvelWindow::Parts {
    std::unique_ptr<CSoundDocument> document;
};

CQuorvelWindow::CQuorvelWindow(std::unique_ptr<CSoundDocument> document, CWindowServices&, QWidget* parent)
    : CDocumentWindow(parent), parts_(std::make_unique<Parts>())
{
    parts_->document = std::move(document);
    resize(kInitialWidth, kInitialHeight);
}
CQuorvelWindow::~CQuorvelWindow() = default;
CSoundDocument& CQuorvelWindow::Document() { return *parts_->document; }
void CQuorvelWindow::OfferLeftLocatorMove() {}
bool CQuorvelWindow::HandleCommand(uint32_t command) { return CDocumentWindow::HandleCommand(command); }
std::optional<SCommandStatus> CQuorvelWindow::CommandStatus(uint32_t command)
{
    return CDocumentWindow::CommandStatus(command);
}
bool CQuorvelWindow::MayClose() { return true; }
void CQuorvelWindow::IdleStep() {}
void CQuorvelWindow::Refresh() {}

} // namespace quorvel
