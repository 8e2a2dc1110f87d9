#pragma once
// The transmit dialog of the EPS, EPS-16+ and ASR-10: the name of the
// instrument the slices make and the slot it goes to, then the instrument
// and its waves, with the questions and warnings of the way.
#include <string>

#include "ui/samplers/SamplerDialogs.h"

class QComboBox;

namespace quorvel {

class CABCEnsoniqInterface;
class CSamplerLocationList;

class CEnsoniqTransmitDialog final : public CSamplerTransmitDialog {
    Q_OBJECT
public:
    // `locations`: the sampler's instrument slots.
    CEnsoniqTransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                           const CSamplerLocationList& locations, QWidget* parent);

    std::string InstrumentName() const;
    // The slot chosen (0 to 7).
    uint32_t Location() const;

    QLineEdit* InstrumentNameField() const { return name_; }
    QComboBox* LocationPopup() const { return location_; }

    // Asks, then makes the instrument. True when every wave arrived; a
    // cancel or a failure (shown as its alerts) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCEnsoniqInterface& device, const CExportJob& job,
                    SSamplerFlowServices& services);

protected:
    // An empty name keeps the dialog open (alert 82).
    bool Validate() override;

private:
    QLineEdit* name_;
    QComboBox* location_;
};

} // namespace quorvel
