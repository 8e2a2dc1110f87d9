#pragma once
// The save dialogs of the document windows, as Qt's own (non-native) file
// dialog so that they look alike everywhere and the sound export can carry
// its "Sample Rate:" list.
#include <QFileDialog>

#include <memory>

#include "ui/window/WindowServices.h"

class QComboBox;

namespace quorvel {

// The "Export Sound" dialog before it runs: file types "Audio IFF" and
// "Wave File" and the rate list with the sound's own rate chosen.
class CExportSoundDialog : public QFileDialog {
    Q_OBJECT
public:
    CExportSoundDialog(const std::string& defaultName, int32_t soundRate, const std::string& folder,
                       QWidget* parent = nullptr);

    QComboBox* RateList() const { return rates_; }
    // The answer as it stands (path empty when nothing is chosen yet).
    SSoundExportChoice Choice() const;

private:
    void FollowFileType(const QString& filter);

    QComboBox* rates_;
};

class CQtFileDialogs final : public CFileDialogs {
public:
    // `parent` (may be null) centres the dialogs.
    explicit CQtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> AskSaveFile(const SSaveFileRequest& request) override;
    std::optional<SSoundExportChoice> AskExportSound(const std::string& defaultName, int32_t soundRate,
                                                     const std::string& folder) override;

private:
    QWidget* parent_;
};

} // namespace quorvel
