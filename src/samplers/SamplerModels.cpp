#include "samplers/SamplerModels.h"

#include <algorithm>
#include <array>

namespace quorvel {

namespace {

// clang-format off
constexpr std::array<SSamplerModel, 40> kModels{{
    {"CNewWindowSamplerClass", "New Window", 100, 1, SamplerTransport::None, {0, 0}, false, true, false, 16, false, false, 15000, 0, 102060},
    {"CSampleCellSamplerClass", "SampleCell", 101, 8, SamplerTransport::None, {0, 0}, false, true, false, 16, false, false, 15080, 0, 102070},
    {"CSoundFontSamplerClass", "SoundFonts", 102, 16, SamplerTransport::None, {0, 0}, false, true, false, 16, false, false, 15081, 0, 102080},
    {"CMixmanSamplerClass", "Mixman TRK File", 103, 24, SamplerTransport::None, {0, 0}, false, true, false, 16, false, false, 15082, 0, 102100},
    {"CS1000MIDISamplerClass", "AKAI S1000 via MIDI", 120, 4000, SamplerTransport::MIDI, {4, 40}, true, true, true, 128, true, true, 15010, 0, 102090},
    {"CS1100MIDISamplerClass", "AKAI S1100 via MIDI", 122, 4010, SamplerTransport::MIDI, {4, 30}, true, true, true, 128, true, true, 15011, 0, 102090},
    {"CS2000MIDISamplerClass", "AKAI S2000 via MIDI", 124, 4130, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15020, 0, 102090},
    {"CS2000SCSISamplerClass", "AKAI S2000 via SCSI", 125, 4131, SamplerTransport::SCSI, {2, 0}, true, true, true, 128, true, false, 15020, 0, 102090},
    {"CS2800MIDISamplerClass", "AKAI S2800 via MIDI", 126, 4110, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15021, 0, 102090},
    {"CS3000MIDISamplerClass", "AKAI S3000 via MIDI", 128, 4100, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15022, 0, 102090},
    {"CS3000XLMIDISamplerClass", "AKAI S3000XL via MIDI", 132, 4150, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15023, 0, 102090},
    {"CS3000XLSCSISamplerClass", "AKAI S3000XL via SCSI", 133, 4151, SamplerTransport::SCSI, {2, 0}, true, true, true, 128, true, false, 15023, 0, 102090},
    {"CS3200MIDISamplerClass", "AKAI S3200 via MIDI", 136, 4140, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15024, 0, 102090},
    {"CS3200XLMIDISamplerClass", "AKAI S3200XL via MIDI", 138, 4160, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15025, 0, 102090},
    {"CS3200XLSCSISamplerClass", "AKAI S3200XL via SCSI", 139, 4161, SamplerTransport::SCSI, {2, 0}, true, true, true, 128, true, false, 15025, 0, 102090},
    {"CCD3000MIDISamplerClass", "AKAI CD3000 via MIDI", 130, 4120, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15026, 0, 102090},
    {"CCD3000XLMIDISamplerClass", "AKAI CD3000XL via MIDI", 134, 4170, SamplerTransport::MIDI, {2, 0}, true, true, true, 128, true, false, 15027, 0, 102090},
    {"CCD3000XLSCSISamplerClass", "AKAI CD3000XL via SCSI", 135, 4171, SamplerTransport::SCSI, {2, 0}, true, true, true, 128, true, false, 15027, 0, 102090},
    {"CEOSSCSISamplerClass", "E-mu EOS Sampler via SCSI", 191, 5101, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15063, 0, 102090},
    {"CESi32SCSISamplerClass", "E-mu ESI-32 via SCSI", 181, 5001, SamplerTransport::SCSI, {3, 2}, true, true, true, 16, true, true, 15060, 0, 102090},
    {"CESi4000SCSISamplerClass", "E-mu ESI-4000 via SCSI", 183, 5011, SamplerTransport::SCSI, {3, 2}, true, true, true, 16, true, true, 15061, 0, 102090},
    {"CEmulatorIVSCSISamplerClass", "E-mu Emulator IV via SCSI", 193, 5111, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15063, 0, 102090},
    {"CE4KSCSISamplerClass", "E-mu E4K via SCSI", 195, 5121, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15064, 0, 102090},
    {"CE4XSCSISamplerClass", "E-mu E4X via SCSI", 197, 5131, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15065, 0, 102090},
    {"CE4XTSCSISamplerClass", "E-mu E4X Turbo via SCSI", 199, 5141, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15066, 0, 102090},
    {"Ce64SCSISamplerClass", "E-mu e-64 via SCSI", 211, 5201, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15068, 0, 102090},
    {"Ce64fxSCSISamplerClass", "E-mu e-64fx via SCSI", 213, 5211, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15069, 0, 102090},
    {"Ce6400SCSISamplerClass", "E-mu e-6400 via SCSI", 215, 5221, SamplerTransport::SCSI, {4, 0}, true, true, true, 16, true, true, 15070, 0, 102090},
    {"CEPSMIDISamplerClass", "Ensoniq EPS via MIDI", 160, 3000, SamplerTransport::MIDI, {2, 49}, true, true, true, 16, false, true, 15030, 660, 102090},
    {"CEPS16MIDISamplerClass", "Ensoniq EPS-16+ via MIDI", 162, 3010, SamplerTransport::MIDI, {1, 30}, true, true, true, 16, false, true, 15031, 662, 102090},
    {"CASR10MIDISamplerClass", "Ensoniq ASR-10/ASR-88 via MIDI", 164, 3020, SamplerTransport::MIDI, {3, 53}, true, true, true, 16, false, true, 15032, 664, 102090},
    {"CK2000MIDISamplerClass", "Kurzweil K2000 via MIDI", 110, 1000, SamplerTransport::MIDI, {3, 1}, true, true, false, 128, true, false, 15000, 0, 102090},
    {"CK2000MIDISCSISamplerClass", "Kurzweil K2000 via MIDI+SCSI", 111, 1002, SamplerTransport::MIDIAndSCSI, {3, 1}, true, true, false, 128, true, false, 15000, 0, 102090},
    {"CK2500MIDISamplerClass", "Kurzweil K2500 via MIDI", 112, 1010, SamplerTransport::MIDI, {2, 80}, true, true, false, 128, true, false, 15001, 0, 102090},
    {"CK2500MIDISCSISamplerClass", "Kurzweil K2500 via MIDI+SCSI", 113, 1012, SamplerTransport::MIDIAndSCSI, {2, 80}, true, true, false, 128, true, false, 15001, 0, 102090},
    {"CS760MIDISamplerClass", "Roland S-760 via MIDI", 150, 2000, SamplerTransport::MIDI, {2, 24}, true, true, true, 32, false, false, 15040, 650, 102090},
    {"CA3000MIDISamplerClass", "Yamaha A3000 via MIDI", 170, 6000, SamplerTransport::MIDI, {2, 0}, true, true, true, 16, true, false, 15050, 670, 102090},
    {"CA3000MIDISCSISamplerClass", "Yamaha A3000 via MIDI+SCSI", 171, 6002, SamplerTransport::MIDIAndSCSI, {2, 0}, true, true, true, 16, true, false, 15050, 671, 102090},
    // Today's instrument formats, after the original table.
    {"CSfzSamplerClass", "SFZ Instrument", 104, 32, SamplerTransport::None, {0, 0}, false, true, false, 16, false, false, 15083, 0, 102110},
    {"CHydrogenKitSamplerClass", "Hydrogen Drum Kit", 105, 40, SamplerTransport::None, {0, 0}, false, true, false, 16, false, false, 15084, 0, 102120},
}};
// clang-format on

} // namespace

std::span<const SSamplerModel> SamplerModels() { return kModels; }

const SSamplerModel* FindSamplerModel(uint32_t typeId)
{
    const auto found = std::find_if(kModels.begin(), kModels.end(),
                                    [typeId](const SSamplerModel& model) { return model.typeId == typeId; });
    return found == kModels.end() ? nullptr : &*found;
}

} // namespace quorvel
