#include "samplers/ensoniq/EnsoniqLayouts.h"

namespace quorvel::ensoniq {

namespace {

constexpr uint32_t kBlank = ' ';

std::vector<SField> Joined(std::vector<SField> head, const std::vector<SField>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const std::vector<SField>& CommonWave()
{
    static const std::vector<SField> fields{
        {"NAME", 2, kNameLength, kBlank},
        {"KEY_LOW", 2, 1, 0},
        {"KEY_HIGH", 2, 1, 127},
        {"ROOT_KEY", 2, 1, 60},
        {"FINE_TUNE", 2, 1, kFineTuneOffset},
        {"RATE", 4, 1, 44100},
        {"LENGTH", 4, 1, 0},
        {"PLAY_START", 4, 1, 0},
        {"PLAY_END", 4, 1, 0},
        {"LOOP_START", 4, 1, 0},
        {"LOOP_END", 4, 1, 0},
        {"LOOP_MODE", 2, 1, kLoopOff},
        {"AMP_LEVEL", 2, 1, 63},
    };
    return fields;
}

const std::vector<SField>& CommonLayer()
{
    static const std::vector<SField> fields{
        {"NAME", 2, kNameLength, kBlank},
        {"KEY_LOW", 2, 1, 0},
        {"KEY_HIGH", 2, 1, 127},
        {"WAVES", 2, kWavesPerInstrument, 0},
    };
    return fields;
}

} // namespace

const std::vector<SField>& InstrumentLayout()
{
    static const std::vector<SField> fields{
        {"NAME", 2, kNameLength, kBlank},
        {"LAYERS", 2, 1, 1},
        {"WAVES", 2, kWavesPerInstrument, 0},
    };
    return fields;
}

const std::vector<SField>& EPSLayerLayout() { return CommonLayer(); }

const std::vector<SField>& EPS16LayerLayout()
{
    static const std::vector<SField> fields =
        Joined(CommonLayer(), {{"VELOCITY_LOW", 2, 1, 0}, {"VELOCITY_HIGH", 2, 1, 127}});
    return fields;
}

const std::vector<SField>& ASR10LayerLayout()
{
    static const std::vector<SField> fields = Joined(EPS16LayerLayout(), {{"STEREO", 2, 1, 0}});
    return fields;
}

const std::vector<SField>& EPSWaveLayout() { return CommonWave(); }

const std::vector<SField>& EPS16WaveLayout()
{
    static const std::vector<SField> fields = Joined(CommonWave(), {{"PAN", 2, 1, 8}, {"CHANNELS", 2, 1, 1}});
    return fields;
}

} // namespace quorvel::ensoniq
