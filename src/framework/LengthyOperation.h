#pragma once
// Keeps the program responsive while long work runs on the user-interface
// thread. The work loop calls Update often; the object decides when to show
// the wait cursor (after half a second) and when to open the progress window
// with its Stop button (after five seconds, or at once when asked), keeps the
// window's texts current and dispatches pending messages. Short operations
// therefore never flash a window.
//
// The windowing layer supplies the cursor and the window through
// CABCLengthyOperationPresenter; this class holds only the timing rules.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/MainLoop.h"

namespace quorvel {

class CTextResources;

// Ticks of 1/60 second. Differences are taken in unsigned arithmetic so that
// they stay right across the 32-bit wrap.
using Ticks = uint32_t;

constexpr Ticks TicksFromMilliseconds(uint64_t milliseconds)
{
    // Widened before the multiplication: in 32 bits it would overflow after
    // eight days of uptime and make time jump backwards.
    return static_cast<Ticks>(milliseconds * 6 / 100);
}

// What the progress window shows.
struct SProgressContent {
    std::string label;      // first line
    std::string detail;     // second line
    std::string valueText{"0"}; // the value, formatted as a decimal number
    int32_t value = 0;
    int16_t count = 0;      // drives the progress bar
    int16_t countRange = 0; // the count a full bar stands for; 0 when unknown
};

// The open progress window. Destroying it closes the window.
class CABCProgressWindow {
public:
    virtual ~CABCProgressWindow() = default;
    // Copies the content into the controls and redraws.
    virtual void Show(const SProgressContent& content) = 0;
    // True once the Stop button has been pressed. Pressing it does not
    // close the window.
    virtual bool StopPressed() const = 0;
};

class CABCLengthyOperationPresenter {
public:
    virtual ~CABCLengthyOperationPresenter() = default;
    // Sets the wait cursor; `phase` (0 to 7) advances at every refresh for
    // cursors that animate.
    virtual void ShowBusyCursor(unsigned phase) = 0;
    virtual void RestoreCursor() = 0;
    // Creates the progress window showing `content`, shows it and makes it
    // the active modal window.
    virtual std::unique_ptr<CABCProgressWindow> OpenProgressWindow(const SProgressContent& content) = 0;
    // Draws the user's attention while a device keeps the program waiting.
    // Called repeatedly, every 200 ms, so it must not pile up: a flashing
    // task-bar entry rather than a beep.
    virtual void RequestAttention() = 0;
};

// Everything a lengthy operation runs on; the application holds one.
struct SLengthyOperationServices {
    CABCClock& clock;
    CABCLengthyOperationPresenter& presenter;
    CMainLoop& loop;
};

class CLengthyOperation {
public:
    static constexpr Ticks kBusyCursorDelay = 30;   // half a second
    static constexpr Ticks kRefreshInterval = 12;   // one fifth of a second
    static constexpr Ticks kWindowDelay = 300;      // five seconds
    static constexpr Ticks kAttentionDelay = 1800;  // thirty seconds
    static constexpr size_t kMaxText = 200;
    static constexpr int kMessagesPerRefresh = 20;
    static constexpr std::chrono::milliseconds kWaitSleep{200};

    // Records the start; nothing is shown yet.
    CLengthyOperation(SLengthyOperationServices services, std::string_view label);
    // Restores the cursor when it was changed and closes the window.
    ~CLengthyOperation();
    CLengthyOperation(const CLengthyOperation&) = delete;
    CLengthyOperation& operator=(const CLengthyOperation&) = delete;

    // Texts are cut to 200 bytes, never inside a UTF-8 character.
    void SetLabel(std::string_view label);
    void SetLabel(CTextResources& texts, uint32_t reference);
    void SetDetail(std::string_view detail);
    // The count a full progress bar stands for.
    void SetCountRange(int16_t range);

    // The main call from inside the work loop: stores the numbers, then at
    // most every 12 ticks refreshes the cursor and the window and dispatches
    // pending messages.
    void Update(int32_t value, int16_t count);
    // Stores the numbers and refreshes an open window, without the timing.
    void SetValues(int32_t value, int16_t count);
    // For loops that wait on a device: SetValues, a call for attention once
    // the wait has lasted 30 seconds, then a 200 ms sleep.
    void Wait(int32_t value, int16_t count);

    // True only while the window is open and its Stop button was pressed;
    // stays true from then on.
    bool StopRequested();

    // The window appears at the next refresh, without the five-second delay
    // (unless showing is not allowed at all).
    void SetShowAtOnce(bool showAtOnce) { showAtOnce_ = showAtOnce; }
    // False keeps the window from ever appearing; such an operation cannot
    // be stopped by the user.
    void SetMayShow(bool mayShow) { mayShow_ = mayShow; }
    void SetNoBusyCursor(bool noBusyCursor) { noBusyCursor_ = noBusyCursor; }

    bool WindowOpen() const { return window_ != nullptr; }
    unsigned CursorPhase() const { return cursorPhase_; }
    const SProgressContent& Content() const { return content_; }

private:
    Ticks Now() const;
    void RefreshWindow();

    SLengthyOperationServices services_;
    Ticks start_;
    Ticks lastCursorRefresh_;
    Ticks lastWindowRefresh_;
    unsigned cursorPhase_ = 0;
    SProgressContent content_;
    bool showAtOnce_ = false;
    bool mayShow_ = true;
    bool noBusyCursor_ = false;
    bool cursorChanged_ = false;
    bool stopRequested_ = false;
    std::unique_ptr<CABCProgressWindow> window_;
};

} // namespace quorvel
