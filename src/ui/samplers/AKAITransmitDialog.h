#pragma once
// The transmit dialog of the AKAI samplers: the program the slices make
// (its name, the key of the first slice, a program on the sampler to take
// the settings from), then the samples, the program and its keygroups, with
// the questions and warnings of the way.
#include <string>
#include <vector>

#include "ui/samplers/SamplerDialogs.h"

class QComboBox;
class QSpinBox;

namespace quorvel {

class CABCAKAIInterface;

class CAKAITransmitDialog final : public CSamplerTransmitDialog {
    Q_OBJECT
public:
    // `programs`: the sampler's program names, offered as templates.
    CAKAITransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                        const std::vector<std::string>& programs, QWidget* parent);

    std::string ProgramName() const;
    int FirstKey() const;
    // The template chosen; empty for none.
    std::string TemplateName() const;

    QLineEdit* ProgramNameField() const { return name_; }
    QSpinBox* FirstKeyField() const { return firstKey_; }
    QComboBox* TemplatePopup() const { return template_; }

    // Asks, then sends the slices and builds the program. True when
    // everything arrived; a cancel or a failure (shown as its alerts) gives
    // false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCAKAIInterface& device, const CExportJob& job,
                    SSamplerFlowServices& services);

protected:
    // An empty program name keeps the dialog open (alert 52).
    bool Validate() override;

private:
    QLineEdit* name_;
    QSpinBox* firstKey_;
    QComboBox* template_;
};

} // namespace quorvel
