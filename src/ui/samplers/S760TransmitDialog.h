#pragma once
// The transmit dialog of the S-760: the patch the slices make (its name, a
// patch on the sampler to take the settings from), then the samples, one
// partial per sample and the patch, with the questions and warnings of the
// way. It reminds the user that the sampler must be in Performance mode.
#include <string>
#include <vector>

#include "ui/samplers/SamplerDialogs.h"

class QComboBox;

namespace quorvel {

class CABCS760Interface;

class CS760TransmitDialog final : public CSamplerTransmitDialog {
    Q_OBJECT
public:
    // The user would not have the old patch deleted: nothing was sent.
    QUORVEL_EXCEPTION(XS760DeleteCancelled, XSampleTransmitCancelled);

    // `patches`: the sampler's patch names, offered as templates.
    CS760TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                        const std::vector<std::string>& patches, QWidget* parent);

    std::string PatchName() const;
    // The template chosen; empty for none.
    std::string TemplateName() const;

    QLineEdit* PatchNameField() const { return name_; }
    QComboBox* TemplatePopup() const { return template_; }

    // Asks, then sends the slices and builds the patch. True when
    // everything arrived; a cancel or a failure (shown as its alerts) gives
    // false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCS760Interface& device, const CExportJob& job,
                    SSamplerFlowServices& services);

protected:
    // An empty patch name keeps the dialog open (alert 35).
    bool Validate() override;

private:
    QLineEdit* name_;
    QComboBox* template_;
};

} // namespace quorvel
