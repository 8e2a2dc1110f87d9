#include "app/cli/JsonReports.h"

#include "analysis/SensitivityThreshold.h"
#include "analysis/TempoText.h"

namespace quorvel::cli {

nlohmann::ordered_json InfoReport(const std::string& file, const std::string& type, const SoundFileInfo& info)
{
    return {{"file", file},           {"type", type},           {"channels", info.channels},
            {"bits", info.bits},      {"rate", info.rate},      {"frames", info.frames},
            {"supported", info.supported}};
}

nlohmann::ordered_json SlicesReport(const CSoundDocument& document)
{
    const WAVE_SAMPLE& sound = *document.Sound();
    nlohmann::ordered_json slices = nlohmann::ordered_json::array();
    const CSliceList& list = document.Slices();
    for (int i = 0; i < list.Count(); ++i) {
        const CSlice& slice = list.At(i);
        slices.push_back({{"position", slice.position},
                          {"strength", slice.strength},
                          {"state", SliceStateName(slice.state)},
                          {"selected", slice.selected},
                          {"active", Passes(slice, SliceFilter::Active)},
                          {"shown", Passes(slice, SliceFilter::Shown)}});
    }
    return {{"name", sound.Name()},
            {"rate", sound.SampleRate()},
            {"frames", sound.Length()},
            {"left", sound.LoopStart()},
            {"right", sound.LoopEnd()},
            {"sensitivity", document.Sensitivity() / 10},
            {"threshold", SensitivityThreshold(document.Sensitivity())},
            {"bars", document.Bars()},
            {"beats", document.Beats()},
            {"sign", std::to_string(document.Numerator()) + "/" + std::to_string(document.Denominator())},
            {"tempo", document.Tempo()},
            {"tempo_text", TempoLabel(document.Tempo())},
            {"slices", slices}};
}

} // namespace quorvel::cli
