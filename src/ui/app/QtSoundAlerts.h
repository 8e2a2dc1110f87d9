#pragma once
// The sound system's questions as alert boxes over the frame window.
#include "playback/SoundSystem.h"

class QWidget;

namespace quorvel {

class CQtSoundAlerts final : public CSoundAlerts {
public:
    // `parent` (may be null) centres the boxes; it must outlive this object.
    explicit CQtSoundAlerts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    int NoSoundCardOpened() override;
    int StoredCardNotOpened(const std::string& cardName) override;
    int SoundChannelTaken() override;

private:
    QWidget* parent_;
};

} // namespace quorvel
