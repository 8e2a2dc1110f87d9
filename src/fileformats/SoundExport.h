#pragma once
// Writes the outputs of an export job as numbered sound files, one AIFF,
// WAV or FLAC file per slice, next to a base file the user chose.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/ExportQuestions.h"
#include "fileformats/FileTypes.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileSet.h"

namespace quorvel {

constexpr int kSliceExportFailedAlert = 42;
constexpr size_t kSoundExportNameLimit = 260;

struct SoundExportParams {
    CFileSpec baseFile;                             // folder, and the base name with any extension
    const FileTypeSpec* type = &filetypes::kAIFF;   // kAIFF, kWave or kFLAC
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

// The files of the outputs (up to maxCount), after asking alert 18 for each
// one whose name is taken until the user answers "Replace All". Nothing when
// the user cancelled. Asked before anything is written, so that a refused
// replace leaves every file as it was.
std::optional<std::vector<CFileSpec>> ChooseSliceFiles(CExportJob& job, const SoundExportParams& params,
                                                       CExportQuestions& questions);

// Writes output i to files[i] as a member of `set`, under the progress
// window; the caller commits the set. Cancelled when the user pressed Cancel.
ExportOutcome WriteSliceFiles(CExportJob& job, const SoundExportParams& params, const std::vector<CFileSpec>& files,
                              CExportProgress& progress, CSafeFileSet& set);

// Writes one file per output (up to maxCount) as one set: the replace
// questions come first, every file is written under a temporary name, and
// all are put in place only once every one is complete. A cancel or a
// failure leaves every file as it was. Failures propagate (the caller shows
// kSliceExportFailedAlert).
ExportOutcome ExportSlicesToFiles(CExportJob& job, const SoundExportParams& params, CExportQuestions& questions,
                                  CExportProgress& progress);

} // namespace quorvel
