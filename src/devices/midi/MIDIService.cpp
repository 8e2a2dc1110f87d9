#include "devices/midi/MIDIService.h"

#include "devices/midi/MIDIInput.h"

namespace quorvel {

namespace {

CSteadyClock steadyClock;
CABCClock* currentClock = &steadyClock;

} // namespace

CABCClock& MIDIClock() { return *currentClock; }

void SetMIDIClock(CABCClock* clock) { currentClock = clock ? clock : &steadyClock; }

void ServiceAllMIDIInputs()
{
    const std::vector<CMIDIInput*>& inputs = CMIDIInput::OpenInputs();
    const size_t count = inputs.size();
    for (size_t i = 0; i < count && i < inputs.size(); ++i)
        inputs[i]->Poll();
    MIDIClock().Sleep(std::chrono::milliseconds(1));
}

} // namespace quorvel
