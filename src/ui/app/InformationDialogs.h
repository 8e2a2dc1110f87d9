#pragma once
// The Help menu's two boxes: About (program name, version, credits) and
// System Information (a short text report the user can copy).
#include <string>

#include "framework/window/ModalDialog.h"

namespace quorvel {

class CAboutBox final : public CModalDialog {
    Q_OBJECT
public:
    CAboutBox(const std::string& version, QWidget* parent = nullptr);
};

class CSystemInformationDialog final : public CModalDialog {
    Q_OBJECT
public:
    CSystemInformationDialog(const std::string& report, QWidget* parent = nullptr);
};

} // namespace quorvel
