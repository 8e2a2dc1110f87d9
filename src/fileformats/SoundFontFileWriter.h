#pragma once
// Writes a SoundFont 2 bank with one preset and one instrument that puts
// each slice on its own key. The sample data is streamed slice by slice; the
// records that describe it are written after it, in "pdta".
#include <cstdint>
#include <string>
#include <vector>

#include "document/WaveSample.h"
#include "fileformats/IFFWriter2.h"

namespace quorvel {

class CSoundFontFileWriter : public CRIFFWriter2 {
public:
    static constexpr int kFirstKey = 36;
    static constexpr uint32_t kGuardSamples = 46; // zeros after every slice
    static constexpr size_t kMaxBankName = 255;
    static constexpr size_t kMaxPresetName = 19;
    static constexpr size_t kSampleNameBase = 16;

    explicit CSoundFontFileWriter(CMedia& media) : CRIFFWriter2(media) {}

    // "RIFF" "sfbk", the "INFO" list, and the start of "sdta" / "smpl".
    void Begin(const std::string& bankName);
    // The slice's frames, written by the caller between the two calls
    // (WriteFrames), then the guard zeros and the slice's sample header.
    void BeginSlice();
    void WriteFrames(WAVE_SAMPLE& sample, int32_t first, int32_t count);
    void EndSlice(const std::string& sampleName, uint32_t sampleRate);
    // Ends the sample data, writes "pdta" and ends the bank.
    void Finish(const std::string& presetName);

    int SliceCount() const { return static_cast<int>(samples_.size()); }

    // The name cut or padded with blanks to 16 characters, then the slice
    // number (from 1) right-aligned in three; runs of blanks become one.
    static std::string SampleName(const std::string& name, int slice);

private:
    struct SampleRecord {
        std::string name;
        uint32_t start = 0;
        uint32_t end = 0;
        uint32_t sampleRate = 0;
        uint8_t key = 0;
    };

    void WriteText(FourCC id, const std::string& text);
    void WritePresetData(const std::string& presetName);

    IFFChunkInfo riff_{};
    IFFChunkInfo sdta_{};
    IFFChunkInfo smpl_{};
    uint32_t position_ = 0;    // samples written to "smpl"
    uint32_t sliceStart_ = 0;
    bool inSlice_ = false;
    std::vector<SampleRecord> samples_;
};

} // namespace quorvel
