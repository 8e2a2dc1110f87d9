#include "framework/LengthyOperation.h"

#include "framework/TextResources.h"
#include "framework/UTF8Text.h"

namespace quorvel {
CLengthyOperation::CLengthyOperation(SLengthyOperationServices services, std::string_view label)
    : services_(services)
{
    start_ = Now();
    lastCursorRefresh_ = start_;
    lastWindowRefresh_ = start_;
    content_.label = CutUTF8(label, kMaxText);
}

CLengthyOperation::~CLengthyOperation()
{
    window_.reset();
    if (cursorChanged_) {
        services_.presenter.RestoreCursor();
    }
}

Ticks CLengthyOperation::Now() const
{
    return TicksFromMilliseconds(services_.clock.Milliseconds());
}

void CLengthyOperation::SetLabel(std::string_view label)
{
    content_.label = CutUTF8(label, kMaxText);
    RefreshWindow();
}

void CLengthyOperation::SetLabel(CTextResources& texts, uint32_t reference)
{
    SetLabel(texts.Text(reference, kMaxText));
}

void CLengthyOperation::SetDetail(std::string_view detail)
{
    content_.detail = CutUTF8(detail, kMaxText);
    RefreshWindow();
}

void CLengthyOperation::SetCountRange(int16_t range)
{
    content_.countRange = range;
    RefreshWindow();
}

void CLengthyOperation::SetValues(int32_t value, int16_t count)
{
    content_.value = value;
    content_.valueText = std::to_string(value);
    content_.count = count;
    RefreshWindow();
}

void CLengthyOperation::Update(int32_t value, int16_t count)
{
    const Ticks now = Now();
    content_.value = value;
    content_.valueText = std::to_string(value);
    content_.count = count;

    // The arrow is left alone before the half second: an operation that
    // ends by then changes nothing on screen.
    if (!noBusyCursor_ && now - start_ > kBusyCursorDelay
        && now - lastCursorRefresh_ > kRefreshInterval) {
        services_.presenter.ShowBusyCursor(cursorPhase_);
        cursorChanged_ = true;
        lastCursorRefresh_ = now;
        cursorPhase_ = (cursorPhase_ + 1) % 8;
    }

    if (now - lastWindowRefresh_ <= kRefreshInterval) {
        return;
    }
    lastWindowRefresh_ = now;
    if (!window_ && mayShow_ && (showAtOnce_ || now - start_ >= kWindowDelay)) {
        window_ = services_.presenter.OpenProgressWindow(content_);
    }
    if (window_) {
        window_->Show(content_);
        if (services_.loop.DispatchPendingMessages(kMessagesPerRefresh) == 0) {
            services_.clock.Sleep(CMainLoop::kPollYield);
        }
    }
}

void CLengthyOperation::Wait(int32_t value, int16_t count)
{
    SetValues(value, count);
    if (Now() - start_ > kAttentionDelay) {
        services_.presenter.RequestAttention();
    }
    services_.clock.Sleep(kWaitSleep);
}

bool CLengthyOperation::StopRequested()
{
    if (!stopRequested_ && window_ && window_->StopPressed()) {
        stopRequested_ = true;
    }
    return stopRequested_;
}

void CLengthyOperation::RefreshWindow()
{
    if (window_) {
        window_->Show(content_);
    }
}

} // namespace quorvel
