#pragma once
// A musician-readable summary of a document: sound, locators, tempo and the
// slices with their strengths and states.
#include <ostream>

#include "document/SoundDocument.h"

namespace quorvel {

void PrintAnalysisReport(std::ostream& out, const CSoundDocument& document);

} // namespace quorvel
