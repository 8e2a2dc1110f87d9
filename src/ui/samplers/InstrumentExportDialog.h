#pragma once
// The dialogs of the instrument-file destinations: a line of text, the
// "Name:" field (kept between exports), for the SampleCell destination the
// template choice, and the buttons "MIDI File + Export...", "Export..." and
// "Cancel".
#include <string>

#include "fileformats/SampleCellExport.h"
#include "framework/window/ModalDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace quorvel {

class CInstrumentExportDialog : public CModalDialog {
    Q_OBJECT
public:
    enum Answer { kCancel = 0, kExport = 1, kMidiFileAndExport = 2 };

    std::string Name() const;
    // Runs the dialog: kCancel, kExport or kMidiFileAndExport.
    int Ask() { return RunModal(); }

protected:
    CInstrumentExportDialog(const QString& title, const QString& text, bool withName, bool withMidiFile,
                            QWidget* parent);
    void AddRow(QWidget* row);

private:
    QLineEdit* name_ = nullptr;
    QVBoxLayout* rows_ = nullptr;
};

class CSoundFontExportDialog : public CInstrumentExportDialog {
    Q_OBJECT
public:
    CSoundFontExportDialog(const std::string& name, QWidget* parent = nullptr);
};

class CMixmanExportDialog : public CInstrumentExportDialog {
    Q_OBJECT
public:
    CMixmanExportDialog(const std::string& name, QWidget* parent = nullptr);
};

class CSfzExportDialog : public CInstrumentExportDialog {
    Q_OBJECT
public:
    CSfzExportDialog(const std::string& name, QWidget* parent = nullptr);
};

class CHydrogenKitExportDialog : public CInstrumentExportDialog {
    Q_OBJECT
public:
    CHydrogenKitExportDialog(const std::string& name, QWidget* parent = nullptr);
};

class CSampleCellExportDialog : public CInstrumentExportDialog {
    Q_OBJECT
public:
    // Edits `settings` (the template flag and file) as the user chooses.
    CSampleCellExportDialog(SampleCellExportSettings& settings, QWidget* parent = nullptr);

private:
    void Browse();
    void ShowTemplate();

    SampleCellExportSettings& settings_;
    QCheckBox* useTemplate_ = nullptr;
    QLabel* templateName_ = nullptr;
};

} // namespace quorvel
