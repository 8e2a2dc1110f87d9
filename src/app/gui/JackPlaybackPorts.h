#pragma once
// Where the user patched the JACK card's outputs, kept between runs in the
// settings file beside the frame placement, so that playback goes back into
// their mix. The value is a string list, left output first, one entry per
// output; an output connected to several ports has them joined by newlines.
#include <QStringList>

#include "playback/JackSoundCard.h"

namespace quorvel::gui {

inline constexpr char kJackPlaybackPortsKey[] = "JackPlaybackPorts";

QStringList JackRoutingToSetting(const JackRouting& routing);
JackRouting JackRoutingFromSetting(const QStringList& setting);

// At quit: when the open channel is a JACK card's and its outputs are
// connected somewhere, stores where. Otherwise what was stored stays.
void SaveJackPlaybackPorts(const CSoundChannel* channel);

// At start-up, before a card opens: hands what was stored to the JACK cards.
void RestoreJackPlaybackPorts(const CSoundCardRegistry& registry);

} // namespace quorvel::gui
