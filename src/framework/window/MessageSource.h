#pragma once
// The Qt event queue as the main loop's message source.
#include "framework/MainLoop.h"

namespace quorvel {

class CQtMessageSource final : public CABCMessageSource {
public:
    void WaitAndDispatch() override;
    bool DispatchPending() override;
};

} // namespace quorvel
