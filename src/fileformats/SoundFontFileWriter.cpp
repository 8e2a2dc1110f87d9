#include "fileformats/SoundFontFileWriter.h"

#include <cstdio>

#include "fileformats/ByteRecord.h"
#include "fileformats/SampleData.h"

namespace quorvel {

namespace {

constexpr size_t kNameField = 20;
constexpr uint16_t kGenKeyRange = 43;
constexpr uint16_t kGenInstrument = 41;
constexpr uint16_t kGenSampleId = 53;
constexpr uint16_t kMonoSample = 1;

void Put(CIFFWriter2& writer, FourCC id, const CByteRecord& record)
{
    writer.WriteChunk(id, static_cast<int32_t>(record.Size()), record.Bytes().data());
}

CByteRecord& PresetHeader(CByteRecord& r, const std::string& name, uint16_t bag)
{
    return r.Name(name, kNameField).U16(0).U16(0).U16(bag).U32(0).U32(0).U32(0);
}

std::string Cut(const std::string& text, size_t length) { return text.substr(0, std::min(text.size(), length)); }

} // namespace

std::string CSoundFontFileWriter::SampleName(const std::string& name, int slice)
{
    std::string base = Cut(name, kSampleNameBase);
    base.resize(kSampleNameBase, ' ');
    char number[16];
    std::snprintf(number, sizeof number, "%3d", slice + 1);
    const std::string padded = base + number;
    std::string result;
    for (char c : padded)
        if (c != ' ' || result.empty() || result.back() != ' ')
            result += c;
    return result;
}

void CSoundFontFileWriter::WriteText(FourCC id, const std::string& text)
{
    if (text.empty())
        return;
    // Text, its terminating zero, and one more zero for an even size.
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    if (bytes.size() & 1)
        bytes.push_back(0);
    WriteChunk(id, static_cast<int32_t>(bytes.size()), bytes.data());
}

void CSoundFontFileWriter::Begin(const std::string& bankName)
{
    riff_ = BeginRiff("sfbk");
    const IFFChunkInfo info = BeginList("INFO");
    Put(*this, "ifil", CByteRecord().U16(2).U16(0));
    const char engine[8] = {'E', 'M', 'U', '8', '0', '0', '0', 0};
    WriteChunk("isng", sizeof engine, engine);
    WriteText("INAM", Cut(bankName, kMaxBankName));
    WriteText("ICMT", "Created by Quorvel!");
    End(info);
    sdta_ = BeginList("sdta");
    smpl_ = BeginChunk("smpl");
}

void CSoundFontFileWriter::BeginSlice()
{
    if (inSlice_)
        throw XBase();
    sliceStart_ = position_;
    inSlice_ = true;
}

void CSoundFontFileWriter::WriteFrames(WAVE_SAMPLE& sample, int32_t first, int32_t count)
{
    if (!inSlice_ || first < 0 || count < 0 || int64_t(first) + count > sample.Length())
        throw XBase();
    WriteValuesLittleEndian(sample.Store(), static_cast<uint32_t>(first), static_cast<uint32_t>(count), Media());
    position_ += static_cast<uint32_t>(count);
}

void CSoundFontFileWriter::EndSlice(const std::string& sampleName, uint32_t sampleRate)
{
    // One key per slice: the keyboard ends at 127.
    if (!inSlice_ || kFirstKey + SliceCount() > 127)
        throw XBase();
    WriteSilence(kGuardSamples, Media());
    const auto key = static_cast<uint8_t>(kFirstKey + SliceCount());
    samples_.push_back({sampleName, sliceStart_, position_, sampleRate, key});
    position_ += kGuardSamples;
    inSlice_ = false;
}

void CSoundFontFileWriter::Finish(const std::string& presetName)
{
    if (inSlice_)
        throw XBase();
    End(smpl_);
    End(sdta_);
    WritePresetData(Cut(presetName, kMaxPresetName));
    End(riff_);
}

void CSoundFontFileWriter::WritePresetData(const std::string& presetName)
{
    const auto n = static_cast<uint16_t>(SliceCount());
    const IFFChunkInfo pdta = BeginList("pdta");

    CByteRecord phdr;
    PresetHeader(phdr, presetName, 0);
    PresetHeader(phdr, "EOP", 1);
    Put(*this, "phdr", phdr);
    Put(*this, "pbag", CByteRecord().U16(0).U16(0).U16(1).U16(0));
    Put(*this, "pmod", CByteRecord().U16(0).U16(0).U16(0).U16(0).U16(0));
    Put(*this, "pgen", CByteRecord().U16(kGenInstrument).U16(0).U16(0).U16(0));
    Put(*this, "inst", CByteRecord().Name(presetName, kNameField).U16(0).Name("EOI", kNameField).U16(n));

    CByteRecord ibag;
    for (uint16_t i = 0; i <= n; ++i)
        ibag.U16(static_cast<uint16_t>(2 * i)).U16(0);
    Put(*this, "ibag", ibag);
    Put(*this, "imod", CByteRecord().U16(0).U16(0).U16(0).U16(0).U16(0));

    CByteRecord igen;
    for (const SampleRecord& s : samples_) {
        igen.U16(kGenKeyRange).U8(s.key).U8(s.key);
        igen.U16(kGenSampleId).U16(static_cast<uint16_t>(&s - samples_.data()));
    }
    igen.U16(0).U16(0);
    Put(*this, "igen", igen);

    CByteRecord shdr;
    for (const SampleRecord& s : samples_) {
        shdr.Name(s.name, kNameField).U32(s.start).U32(s.end).U32(s.start).U32(s.end).U32(s.sampleRate);
        shdr.U8(s.key).U8(0).U16(0).U16(kMonoSample);
    }
    shdr.Name("EOS", kNameField).Zeros(26);
    Put(*this, "shdr", shdr);

    End(pdta);
}

} // namespace quorvel
