#pragma once
// Writes the outputs of an export job as numbered sound files, one AIFF or
// WAV file per slice, next to a base file the user chose.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/ExportQuestions.h"
#include "fileformats/FileTypes.h"
#include "framework/FileSpec.h"

namespace quorvel {

constexpr int kSliceExportFailedAlert = 42;
constexpr size_t kSoundExportNameLimit = 260;

struct SoundExportParams {
    CFileSpec baseFile;                             // folder, and the base name with any extension
    const FileTypeSpec* type = &filetypes::kAIFF;   // kAIFF or kWave
    int32_t rate = 44100;                           // of the written files
    int maxCount = 0;                               // 0: every output
    size_t maxNameLength = kSoundExportNameLimit;   // base name plus suffix
    bool keepExtraFrames = false;                   // else the job's extra frames are set to 0
};

// Name (without folder) of output `index` (from 0): base + " #001" (or
// "001" when the long suffix would take more than half the limit) + the
// type's first extension. The base is cut, at a character boundary, so that
// base and suffix fit the limit, and further when the whole name would pass
// the 255 bytes a Linux file name may have.
std::string SliceFileName(const std::string& baseName, int index, size_t maxNameLength, const FileTypeSpec& type);

// Writes output `sample` as a complete file of the given type.
void WriteSliceFile(CMedia& media, WAVE_SAMPLE& sample, const FileTypeSpec& type);

// Writes one file per output (up to maxCount). Each file is written to a
// temporary file and renamed into place only when complete, so a cancel or a
// failure keeps the files already finished and leaves no partial one.
// Failures propagate (the caller shows kSliceExportFailedAlert).
ExportOutcome ExportSlicesToFiles(CExportJob& job, const SoundExportParams& params, CExportQuestions& questions,
                                  CExportProgress& progress);

} // namespace quorvel
