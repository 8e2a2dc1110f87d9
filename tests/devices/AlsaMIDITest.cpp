#include <gtest/gtest.h>

#include "devices/midi/AlsaMIDI.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/SysexMIDIInput.h"

using namespace quorvel;

TEST(AlsaMIDI, AMissingDeviceFailsToOpen)
{
    // Card 99 does not exist on any machine that runs these tests.
    CRegisteredAlsaMIDIInput input("Nowhere", "hw:99,0,0");
    CRegisteredAlsaMIDIOutput output("Nowhere", "hw:99,0,0");
    CSysexMIDIInput parser;
    EXPECT_THROW(input.Open(parser), XFailedOpeningMIDIPort);
    EXPECT_THROW(output.Open(), XFailedOpeningMIDIPort);
    EXPECT_EQ(parser.Input(), nullptr);
    EXPECT_EQ(input.DriverKind(), "ALSA");
}

TEST(AlsaMIDI, ListedPortsOpenAndClose)
{
    CMIDIPortLists lists;
    RegisterAlsaMIDIPorts(lists);
    if (lists.inputs.empty() && lists.outputs.empty())
        GTEST_SKIP() << "no ALSA raw MIDI port on this machine";
    for (const auto& port : lists.inputs) {
        EXPECT_EQ(port->DriverKind(), "ALSA");
        EXPECT_LE(port->Name().size(), CRegisteredMIDIInput::kMaxNameLength);
        CSysexMIDIInput parser;
        try {
            auto input = port->Open(parser);
            EXPECT_EQ(parser.Input(), input.get());
        } catch (const XFailedOpeningMIDIPort&) {
            // Another program holds it.
        }
    }
    for (const auto& port : lists.outputs) {
        EXPECT_EQ(port->DriverKind(), "ALSA");
        try {
            auto output = port->Open();
        } catch (const XFailedOpeningMIDIPort&) {
        }
    }
}
