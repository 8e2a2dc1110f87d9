#include "devices/midi/MIDIPortRegistration.h"

#include "devices/midi/AlsaMIDI.h"
#include "devices/midi/JackMIDI.h"

namespace quorvel {

CMIDIPortLists RegisterMIDIPorts()
{
    CMIDIPortLists lists;
    RegisterAlsaMIDIPorts(lists);
    RegisterJackMIDIPorts(lists);
    return lists;
}

} // namespace quorvel
