#include "ui/app/OpenPreview.h"

#include "fileformats/FileTypes.h"
#include "fileformats/ImportLimits.h"

namespace quorvel {

std::optional<std::string> PreviewedTypeOf(const std::string& fileName)
{
    for (const FileTypeSpec* type : {&filetypes::kAIFF, &filetypes::kWave, &filetypes::kDocument})
        if (FileTypeMatches(*type, fileName))
            return std::string(type->description);
    return std::nullopt;
}

SOpenPreview DescribeSoundFile(const std::string& typeDescription, const SoundFileInfo& info)
{
    SOpenPreview preview;
    preview.type = typeDescription;
    preview.channels = info.channels == 1 ? "Mono" : info.channels == 2 ? "Stereo" : std::to_string(info.channels);
    preview.length = FormatSoundLength(info.frames, info.rate);
    preview.bits = std::to_string(info.bits);
    preview.sampleRate = std::to_string(info.rate) + " Hz";
    preview.limitAlert = ImportLimitAlert(info);
    preview.stereo = info.channels == 2;
    preview.autoPlayAllowed = AutoPlayAllowed(info);
    return preview;
}

} // namespace quorvel
