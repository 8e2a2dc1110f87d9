#pragma once
// The transmit dialog of the Kurzweil K2000/K2500: the program the slices
// make (its id and name, the key of the first slice, a program on the
// sampler to build on), then the sound blocks, the keymap and the program,
// with the questions and warnings of the way.
#include <optional>
#include <string>
#include <vector>

#include "samplers/kurzweil/KurzweilObject.h"
#include "ui/samplers/SamplerDialogs.h"

class QComboBox;
class QSpinBox;

namespace quorvel {

class CABCK2000Interface;

class CK2000TransmitDialog final : public CSamplerTransmitDialog {
    Q_OBJECT
public:
    // `programs`: the sampler's programs, offered as templates; the first id free from 200 on is
    // suggested as the destination.
    CK2000TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount, const std::string& name,
                         const std::vector<SKurzweilObjectRecord>& programs, QWidget* parent);

    // Nothing when the field is empty or outside 1 to 999.
    std::optional<int> ProgramId() const;
    std::string ProgramName() const;
    int StartKey() const;
    // The template chosen; nothing for none.
    std::optional<uint16_t> TemplateId() const;

    QLineEdit* ProgramIdField() const { return id_; }
    QLineEdit* ProgramNameField() const { return name_; }
    QSpinBox* StartKeyField() const { return startKey_; }
    QComboBox* TemplatePopup() const { return template_; }

    // Asks, then sends the slices and builds the keymap and the program. True when everything
    // arrived; a cancel or a failure (shown as its alerts) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCK2000Interface& device, const CExportJob& job,
                    SSamplerFlowServices& services);

protected:
    // A missing id (alert 24) or name (alert 26) keeps the dialog open.
    bool Validate() override;

private:
    std::vector<SKurzweilObjectRecord> programs_;
    QLineEdit* id_;
    QLineEdit* name_;
    QSpinBox* startKey_;
    QComboBox* template_;
};

} // namespace quorvel
