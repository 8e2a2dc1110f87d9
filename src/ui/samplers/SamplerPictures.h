#pragma once
// The pictures of the sampler models and the warning sign of an outdated
// system, drawn here: a front panel per picture id, in the colours and with
// the controls that tell the families apart.
#include <QPixmap>

#include <cstdint>

namespace quorvel {

constexpr uint16_t kVersionWarningPicture = 13300;

// A picture for every picture id of the model table; ids it does not know
// get a plain rack unit.
QPixmap SamplerPicture(uint16_t pictureId);
QPixmap VersionWarningPicture();

} // namespace quorvel
