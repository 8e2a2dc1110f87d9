// Import of a five-minute stereo WAV that needs the second, scaled mix-down
// pass, against reading the same file with plain read() calls; opening files
// of millions of empty chunks; and saving a five-minute document against
// writing as many bytes with write().
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "fileformats/DocumentFile.h"
#include "fileformats/SoundImport.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

namespace {

using namespace quorvel;

constexpr int32_t kFiveMinutes = 300 * 44100;

std::string Scratch(const char* name) { return std::string("/tmp/quorvel-bench-") + name; }

// Both channels at near full scale, so their sum clips and the import needs
// its second, scaled pass.
const std::string& LoudStereoWav()
{
    static const std::string path = [] {
        std::vector<int16_t> frames(size_t(kFiveMinutes) * 2);
        uint32_t noise = 1;
        for (size_t i = 0; i < frames.size(); ++i) {
            noise = noise * 1664525u + 1013904223u;
            frames[i] = static_cast<int16_t>(noise >> 16) | 0x4000;
        }
        const std::string file = Scratch("loud.wav");
        SafeWrite(CFileSpec(file), [&](CMedia& media) { WriteWaveFile(media, frames.data(), kFiveMinutes, 2, 44100); });
        return file;
    }();
    return path;
}

void ReadWithPlainCalls(const std::string& path, std::vector<uint8_t>& buffer)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    ssize_t got = 0;
    uint64_t sum = 0;
    while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
        sum += buffer[0];
    ::close(fd);
    benchmark::DoNotOptimize(sum);
}

void BM_ImportStereoMixWithGain(benchmark::State& state)
{
    const CFileSpec file(LoudStereoWav());
    for (auto _ : state) {
        auto sound = LoadSound(file, ChannelMode::Mix);
        benchmark::DoNotOptimize(sound->Value(0));
    }
}
BENCHMARK(BM_ImportStereoMixWithGain)->Unit(benchmark::kMillisecond);

void BM_PlainReadOfSameFile(benchmark::State& state)
{
    const std::string& path = LoudStereoWav();
    std::vector<uint8_t> buffer(16384);
    for (auto _ : state)
        ReadWithPlainCalls(path, buffer);
}
BENCHMARK(BM_PlainReadOfSameFile)->Unit(benchmark::kMillisecond);

CSoundDocument& FiveMinuteDocument()
{
    static const std::unique_ptr<CSoundDocument> document = [] {
        loopgen::LoopSpec recipe;
        recipe.bpm = 90.0;
        recipe.lengthFrames = kFiveMinutes;
        auto sound = loopgen::MakeWaveSample(loopgen::GenerateDrumLoop(recipe), "five minutes");
        return std::make_unique<CSoundDocument>(std::move(sound), DefaultDocumentOptions{}, true);
    }();
    return *document;
}

void BM_SaveFiveMinuteDocument(benchmark::State& state)
{
    CSoundDocument& document = FiveMinuteDocument();
    const CFileSpec file(Scratch("five.qvl"));
    for (auto _ : state)
        SaveDocument(document, file);
    state.counters["bytes"] = double(file.Info().size);
}
BENCHMARK(BM_SaveFiveMinuteDocument)->Unit(benchmark::kMillisecond);

// The same number of bytes with write() calls of 16 KB, synced and renamed
// like a safe save, so that only the document's own work differs.
void BM_PlainWriteOfSameSize(benchmark::State& state)
{
    CSoundDocument& document = FiveMinuteDocument();
    const size_t total = size_t(document.Sound()->Length()) * 2 + 8164 + 100;
    std::vector<uint8_t> buffer(16384, 0x55);
    const std::string path = Scratch("plain.bin");
    const std::string temporary = path + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (size_t done = 0; done < total; done += buffer.size())
            benchmark::DoNotOptimize(::write(fd, buffer.data(), std::min(buffer.size(), total - done)));
        ::fsync(fd);
        ::close(fd);
        std::rename(temporary.c_str(), path.c_str());
    }
}
BENCHMARK(BM_PlainWriteOfSameSize)->Unit(benchmark::kMillisecond);

// Files of many empty chunks between the format and the samples (WAV), or
// after the samples, where every lookup of an absent chunk walks them all
// (AIFF). Opening must stay proportional to the file's size.
std::string ManyChunks(bool wave, int64_t chunks)
{
    const std::string path = Scratch("chunks-") + std::to_string(chunks) + (wave ? ".wav" : ".aif");
    // Sizes in the file's byte order.
    const auto size32 = [wave](uint32_t v) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[size_t(i)] = char(wave ? v >> (8 * i) : v >> (24 - 8 * i));
        return bytes;
    };
    constexpr uint32_t kFrames = 44100;
    const std::string junk = std::string("junk") + size32(0);
    std::string body = wave ? "WAVE" : "AIFF";
    if (wave) {
        const char fmt[16] = {1, 0, 1, 0, 0x44, char(0xAC), 0, 0, char(0x88), 0x58, 1, 0, 2, 0, 16, 0};
        body += "fmt " + size32(16) + std::string(fmt, sizeof fmt);
        for (int64_t i = 0; i < chunks; ++i)
            body += junk;
        body += "data" + size32(kFrames * 2) + std::string(kFrames * 2, '\0');
    } else {
        const char comm[18] = {0, 1, 0, 0, char(0xAC), 0x44, 0, 16, 0x40, 0x0E, char(0xAC), 0x44, 0, 0, 0, 0, 0, 0};
        body += "COMM" + size32(18) + std::string(comm, sizeof comm);
        body += "SSND" + size32(8 + kFrames * 2) + std::string(8 + kFrames * 2, '\0');
        for (int64_t i = 0; i < chunks; ++i)
            body += junk;
    }
    const std::string file = (wave ? "RIFF" : "FORM") + size32(uint32_t(body.size())) + body;
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    return path;
}

void BM_OpenWaveWithManyEmptyChunks(benchmark::State& state)
{
    const CFileSpec file(ManyChunks(true, state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadSound(file, ChannelMode::Left)->Length());
}
BENCHMARK(BM_OpenWaveWithManyEmptyChunks)->Arg(1000000)->Arg(5000000)->Unit(benchmark::kMillisecond);

void BM_OpenAiffWithManyEmptyChunks(benchmark::State& state)
{
    const CFileSpec file(ManyChunks(false, state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadSound(file, ChannelMode::Left)->Length());
}
BENCHMARK(BM_OpenAiffWithManyEmptyChunks)->Arg(1000000)->Arg(5000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
