#include "ui/app/QtSoundAlerts.h"

#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"

namespace quorvel {

namespace {

constexpr uint32_t kTable = 129;

} // namespace

int CQtSoundAlerts::NoSoundCardOpened() { return ShowAlert(AlertReference(kTable, 7), {}, parent_); }

int CQtSoundAlerts::StoredCardNotOpened(const std::string& cardName)
{
    return ShowAlert(AlertReference(kTable, 12), {cardName}, parent_);
}

int CQtSoundAlerts::SoundChannelTaken() { return ShowAlert(AlertReference(kTable, 19), {}, parent_); }

} // namespace quorvel
