#pragma once
// The wait cursor over the whole application. Setting it again while it is
// already shown does not stack, so one RestoreArrowCursor always undoes it.
namespace quorvel {

void ShowBusyCursor();
void RestoreArrowCursor();
bool BusyCursorShown();

// Shows the wait cursor for its lifetime.
class CBusyCursor {
public:
    CBusyCursor() : wasShown_(BusyCursorShown()) { ShowBusyCursor(); }
    ~CBusyCursor()
    {
        if (!wasShown_)
            RestoreArrowCursor();
    }
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;

private:
    bool wasShown_;
};

} // namespace quorvel
