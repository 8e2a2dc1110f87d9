#include <gtest/gtest.h>

#include <memory>

#include "devices/emulated/SMDIEmulator.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/SamplerBrands.h"
#include "samplers/emu/EMUSCSIInterface.h"

using namespace quorvel;

TEST(SamplerBrandsTest, AnInstalledEmuIsReachedOnTheBusItsRecordNames)
{
    CSteadyEmulatorClock clock;
    CSCSIBusRegistry buses;
    CLoopbackSCSIBus* loopback = LoopbackSCSIBus(buses);
    ASSERT_NE(loopback, nullptr);
    loopback->AddTarget(std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel("5121"), clock,
                                                        std::vector<SEmulatorFault>{}));
    const CMIDIPortLists ports;
    const SSamplerDevices devices{ports, buses};

    CPersistentInstalledSampler e4k;
    e4k.modelTypeId = 5121;
    e4k.scsiBus = {"Loopback", "Loopback"};
    e4k.scsiId = 0;
    EXPECT_TRUE(SamplerBrandBuilt(5121));
    const auto sampler = CreateSamplerInterface(e4k, devices);
    EXPECT_NE(dynamic_cast<CEMUSCSIInterface*>(sampler.get()), nullptr);
    CVersion version;
    EXPECT_TRUE(ReadOSVersion(e4k, devices, version));
    EXPECT_EQ(version.major, 4);

    // Installed as another model, the same target is not that sampler.
    CPersistentInstalledSampler esi = e4k;
    esi.modelTypeId = 5001;
    EXPECT_FALSE(ReadOSVersion(esi, devices, version));

    CPersistentInstalledSampler moved = e4k;
    moved.scsiBus = {"Gone", "Linux SG"};
    EXPECT_THROW(CreateSamplerInterface(moved, devices), XSCSI);

    CPersistentInstalledSampler unknown;
    unknown.modelTypeId = 4001;
    EXPECT_FALSE(SamplerBrandBuilt(4001));
    EXPECT_THROW(CreateSamplerInterface(unknown, devices), XSamplerNotSupported);
    EXPECT_THROW(ReadOSVersion(unknown, devices, version), XSamplerNotSupported);

    // An S-760 is reached on its MIDI ports, which are not there.
    CPersistentInstalledSampler roland;
    roland.modelTypeId = 2000;
    roland.midiIn = {"Gone", "ALSA"};
    EXPECT_TRUE(SamplerBrandBuilt(2000));
    EXPECT_THROW(CreateSamplerInterface(roland, devices), XFailedOpeningMIDIIn);
    EXPECT_THROW(ReadOSVersion(roland, devices, version), XFailedOpeningMIDIIn);

    // An AKAI sampler over MIDI whose ports are no longer there.
    CPersistentInstalledSampler akai;
    akai.modelTypeId = 4100;
    akai.midiIn = {"Gone", "ALSA"};
    akai.midiOut = {"Gone", "ALSA"};
    EXPECT_TRUE(SamplerBrandBuilt(4100));
    EXPECT_THROW(CreateSamplerInterface(akai, devices), XFailedOpeningMIDIPort);
    EXPECT_THROW(ReadOSVersion(akai, devices, version), XFailedOpeningMIDIPort);
}
