#pragma once
// The transmit dialog of the Yamaha A3000: the sample bank the slices make
// (its name, the key of the first slice, a bank on the sampler to take the
// settings from), then the samples and the bank, with the questions and
// warnings of the way.
#include <string>
#include <vector>

#include "ui/samplers/SamplerDialogs.h"

class QComboBox;
class QSpinBox;

namespace quorvel {

class CABCA3000Interface;

class CA3000TransmitDialog final : public CSamplerTransmitDialog {
    Q_OBJECT
public:
    // `banks`: the sampler's sample banks, offered as templates.
    CA3000TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                         const std::vector<std::string>& banks, QWidget* parent);

    std::string BankName() const;
    int FirstKey() const;
    // The template chosen; empty for none.
    std::string TemplateName() const;

    QLineEdit* BankNameField() const { return name_; }
    QSpinBox* FirstKeyField() const { return firstKey_; }
    QComboBox* TemplatePopup() const { return template_; }

    // Asks, then sends the slices and the bank. True when everything
    // arrived; a cancel or a failure (shown as its alerts) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCA3000Interface& device, const CExportJob& job,
                    SSamplerFlowServices& services);

protected:
    // An empty bank name keeps the dialog open (alert 60).
    bool Validate() override;

private:
    QLineEdit* name_;
    QSpinBox* firstKey_;
    QComboBox* template_;
};

} // namespace quorvel
