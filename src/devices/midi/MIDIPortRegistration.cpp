#include "devices/midi/MIDIPortRegistration.h"

#include "devices/midi/AlsaMIDI.h"

namespace quorvel {

CMIDIPortLists RegisterMIDIPorts()
{
    CMIDIPortLists lists;
    RegisterAlsaMIDIPorts(lists);
    return lists;
}

} // namespace quorvel
