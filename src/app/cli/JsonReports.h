#pragma once
// What `info` and `slices` print.
#include <string>

#include <nlohmann/json.hpp>

#include "document/SoundDocument.h"
#include "fileformats/SoundFileInfo.h"

namespace quorvel::cli {

nlohmann::ordered_json InfoReport(const std::string& file, const std::string& type, const SoundFileInfo& info);
nlohmann::ordered_json SlicesReport(const CSoundDocument& document);

} // namespace quorvel::cli
