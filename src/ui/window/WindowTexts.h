#pragma once
// The document window's own texts (string table 129 of the built-in text
// resources) and the references of the alerts it shows (alert table 129).
#include <QString>

#include <cstdint>

#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"

namespace quorvel {

constexpr uint32_t kWindowTextTable = 129;

namespace windowtext {
constexpr uint32_t kOpenSoundTitle = 10;
constexpr uint32_t kSaveDocumentTitle = 11;
constexpr uint32_t kExportSoundTitle = 12;
constexpr uint32_t kExportQLXTitle = 14;
constexpr uint32_t kPickColorTitle = 15;
constexpr uint32_t kSlicesLeft = 21;
constexpr uint32_t kNewTempoLabel = 80;
constexpr uint32_t kStretchLabel = 81;
constexpr uint32_t kSensitivityLabel = 82;
constexpr uint32_t kBarsLabel = 83;
constexpr uint32_t kBeatsLabel = 84;
constexpr uint32_t kSignLabel = 85;
constexpr uint32_t kTempoLabel = 86;
constexpr uint32_t kRate44Label = 88;
constexpr uint32_t kRate48Label = 89;
} // namespace windowtext

namespace windowalert {
constexpr uint32_t kFileExists = 18;
constexpr uint32_t kMoveLeftLocator = 16;
constexpr uint32_t kSliceExportFailed = 42;
constexpr uint32_t kQLXExportFailed = 43;
constexpr uint32_t kMIDIExportFailed = 44;
constexpr uint32_t kSaveFailed = 45;
constexpr uint32_t kMIDISliceLimit = 50;
} // namespace windowalert

inline std::string WindowTextString(uint32_t entry)
{
    return BuiltInTextResources().Text(StringReference(kWindowTextTable, entry));
}

inline QString WindowText(uint32_t entry)
{
    return QString::fromStdString(WindowTextString(entry));
}

constexpr uint32_t WindowAlert(uint32_t alert)
{
    return AlertReference(kWindowTextTable, alert);
}

} // namespace quorvel
