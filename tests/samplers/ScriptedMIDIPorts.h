#pragma once
// A sampler's MIDI ports as the scripted fake samplers use them: time on a
// fake clock, what the program sends recorded, what it receives parsed into
// system exclusive messages. Fixtures derive from it and add the fake
// sampler and the interface under test on these ports.
#include "../devices/MIDITestDoubles.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"

namespace quorvel::test {

struct ScriptedMIDIPorts {
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
};

} // namespace quorvel::test
