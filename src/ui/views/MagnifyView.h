#pragma once
// The magnification slider: 0 shows one frame per pixel, 63 the whole sound.
#include <functional>

#include "framework/window/View.h"

class QSlider;

namespace quorvel {

class CMagnifyView : public CControlView {
    Q_OBJECT
public:
    explicit CMagnifyView(QWidget* parent = nullptr);

    int Value() const;
    // Shows a value without reporting it.
    void ShowValue(int value);
    // Called with the new value when the user moves the slider.
    void SetMoved(std::function<void(int)> moved) { moved_ = std::move(moved); }
    QSlider* Slider() const { return slider_; }

private:
    QSlider* slider_;
    std::function<void(int)> moved_;
};

} // namespace quorvel
