#pragma once
// How a transmission names and describes the samples it sends: one sample
// per output of the export job, 16-bit mono at the job's output rate, named
// after the sound ("Funky 01" for the first slice, "Funky" for the whole
// loop). The menus and the command-line tool send the same samples.
#include <cstdint>
#include <string>

#include "samplers/SampleInfo.h"

namespace quorvel {

class WAVE_SAMPLE;

// The sound's name without its extension, and the slice's number (from 1,
// two digits at least) when the slices go one by one.
std::string SliceSampleName(const WAVE_SAMPLE& output, int slice, bool separate);

// The record for one output before the sampler adapts it.
SampleInfo SliceSampleInfo(const WAVE_SAMPLE& output, int32_t rate, const std::string& name);

} // namespace quorvel
