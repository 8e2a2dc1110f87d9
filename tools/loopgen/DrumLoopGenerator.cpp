#include "loopgen/DrumLoopGenerator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvel::loopgen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Small, portable and seedable: the same loop on every machine.
class XorShift32 {
public:
    explicit XorShift32(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    // Uniform in [-1, 1].
    double Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return double(state_) / 2147483647.5 - 1.0;
    }

private:
    uint32_t state_;
};

double DurationSeconds(DrumVoice voice)
{
    switch (voice) {
    case DrumVoice::Kick:
        return 0.080;
    case DrumVoice::Snare:
        return 0.060;
    case DrumVoice::Hat:
        return 0.030;
    }
    return 0.0;
}

// The voice's waveform after the jump, as a fraction of its level. Kept
// below 0.45 for the noisy voices and 0.9 for the slow kick so that no later
// slope comes near the jump's.
double Body(DrumVoice voice, double t, double& phase, double& lastNoise, XorShift32& rng, int32_t rate)
{
    switch (voice) {
    case DrumVoice::Kick: {
        const double frequency = 100.0 + 80.0 * std::exp(-t / 0.020);
        phase += kTwoPi * frequency / rate;
        return 0.9 * std::exp(-t / 0.015) * std::cos(phase);
    }
    case DrumVoice::Snare: {
        const double tone = 0.2 * std::exp(-t / 0.020) * std::sin(kTwoPi * 190.0 * t);
        return tone + 0.25 * std::exp(-t / 0.025) * rng.Next();
    }
    case DrumVoice::Hat: {
        // Differenced noise: the bright hiss of a closed hat.
        const double noise = rng.Next();
        const double bright = (noise - lastNoise) / 2.0;
        lastNoise = noise;
        return 0.45 * std::exp(-t / 0.008) * bright;
    }
    }
    return 0.0;
}

int16_t Saturate(int32_t value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

// Adds one hit into channel `channel` of the interleaved output.
void RenderHit(GeneratedLoop& loop, const DrumHit& hit, int32_t channel, int16_t level, XorShift32& rng)
{
    const auto duration = static_cast<int32_t>(DurationSeconds(hit.voice) * loop.sampleRate);
    const int32_t fadeStart = duration * 3 / 4;
    double phase = 0.0;
    double lastNoise = 0.0;
    for (int32_t n = 1; n < duration && hit.frame + n < loop.frames; ++n) {
        double value = level; // the jump
        if (n >= 2) {
            const double t = double(n - 1) / loop.sampleRate;
            double fade = 1.0;
            if (n >= fadeStart)
                fade = double(duration - n) / double(duration - fadeStart);
            value = level * fade * Body(hit.voice, t, phase, lastNoise, rng, loop.sampleRate);
        }
        int16_t& out = loop.samples[static_cast<size_t>(hit.frame + n) * static_cast<size_t>(loop.channels) +
                                    static_cast<size_t>(channel)];
        out = Saturate(out + static_cast<int32_t>(std::lround(value)));
    }
}

void Validate(const LoopSpec& recipe)
{
    const auto steps = recipe.pattern.kick.size();
    const bool patternOk = steps > 0 && recipe.pattern.snare.size() == steps && recipe.pattern.hat.size() == steps;
    const bool shapeOk = recipe.sampleRate > 0 && recipe.bpm > 0.0 && recipe.beatsPerBar > 0 && recipe.bars >= 0 &&
                         recipe.lengthFrames >= 0 && (recipe.channels == 1 || recipe.channels == 2);
    if (!patternOk || !shapeOk)
        throw XLoopSpec();
}

} // namespace

int32_t BarFrames(const LoopSpec& recipe)
{
    return static_cast<int32_t>(std::floor(recipe.beatsPerBar * 60.0 * recipe.sampleRate / recipe.bpm));
}

int16_t VoiceLevel(const VoiceLevels& levels, DrumVoice voice)
{
    switch (voice) {
    case DrumVoice::Kick:
        return levels.kick;
    case DrumVoice::Snare:
        return levels.snare;
    case DrumVoice::Hat:
        return levels.hat;
    }
    return 0;
}

GeneratedLoop GenerateDrumLoop(const LoopSpec& recipe)
{
    Validate(recipe);
    const double barLength = recipe.beatsPerBar * 60.0 * recipe.sampleRate / recipe.bpm;
    const double frames = recipe.lengthFrames > 0 ? double(recipe.lengthFrames) : std::floor(recipe.bars * barLength);
    if (frames > double(kMaxSeconds) * recipe.sampleRate)
        throw XLoopSpec();

    GeneratedLoop loop;
    loop.sampleRate = recipe.sampleRate;
    loop.channels = recipe.channels;
    loop.frames = static_cast<int32_t>(frames);
    loop.samples.assign(static_cast<size_t>(loop.frames) * static_cast<size_t>(loop.channels), 0);

    const auto stepsPerBar = static_cast<int64_t>(recipe.pattern.kick.size());
    const std::string* tracks[] = {&recipe.pattern.kick, &recipe.pattern.snare, &recipe.pattern.hat};
    const DrumVoice voices[] = {DrumVoice::Kick, DrumVoice::Snare, DrumVoice::Hat};
    for (int64_t step = 0;; ++step) {
        const auto frame = static_cast<int64_t>(std::floor(double(step) * barLength / double(stepsPerBar)));
        // The jump must lie inside the sound for the hit to exist.
        if (frame + 1 >= loop.frames)
            break;
        for (int v = 0; v < 3; ++v)
            if ((*tracks[v])[static_cast<size_t>(step % stepsPerBar)] == 'x')
                loop.hits.push_back(DrumHit{static_cast<int32_t>(frame), voices[v]});
    }

    XorShift32 rng(recipe.seed);
    for (const DrumHit& hit : loop.hits)
        for (int32_t channel = 0; channel < loop.channels; ++channel)
            RenderHit(loop, hit, channel, VoiceLevel(recipe.levels, hit.voice), rng);
    if (recipe.hiss > 0) {
        XorShift32 hiss(recipe.seed ^ 0x5EEDu);
        for (int16_t& sample : loop.samples)
            sample = Saturate(sample + static_cast<int32_t>(std::lround(hiss.Next() * recipe.hiss)));
    }
    return loop;
}

std::unique_ptr<WAVE_SAMPLE> MakeWaveSample(const GeneratedLoop& loop, const std::string& name)
{
    if (loop.channels != 1)
        throw XLoopSpec();
    auto sound = std::make_unique<WAVE_SAMPLE>(name, loop.sampleRate, loop.frames);
    sound->Store().CopyIn(0, static_cast<uint32_t>(loop.frames) * 2u, loop.samples.data());
    return sound;
}

} // namespace quorvel::loopgen
