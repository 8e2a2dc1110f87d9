#pragma once
// Running a search from the windows and installing what it found: the
// progress window, the search's alerts, and the question "Do you want to
// add this sampler?" for each sampler found, with a name to give it.
#include <cstdint>
#include <string>

#include "framework/window/ModalDialog.h"
#include "samplers/InstalledSamplers.h"
#include "samplers/SamplerBrands.h"
#include "samplers/SamplerSearch.h"

class QLineEdit;
class QLabel;

namespace quorvel {

class CFoundSamplerDialog : public CModalDialog {
    Q_OBJECT
public:
    // `proposedName` fills the name field.
    CFoundSamplerDialog(const SSearchFinding& finding, const std::string& proposedName, QWidget* parent = nullptr);

    std::string Name() const;
    QLineEdit* NameField() const { return name_; }
    QLabel* Details() const { return details_; }

private:
    QLineEdit* name_ = nullptr;
    QLabel* details_ = nullptr;
};

// Shows alert `entry` of table 129 with its arguments; returns 33 to 35.
int ShowSamplerAlert(uint32_t entry, const std::vector<std::string>& arguments, QWidget* parent);

// Runs the search with its progress window and shows the alerts it ends
// with (without the "nothing found" ones when `reportNoneFound` is off).
// Says first when the transports it needs are missing, and then searches
// nothing.
SSamplerSearchResult RunSamplerSearch(const SSamplerDevices& devices, const CInstalledSamplers& installed,
                                      QWidget* parent, uint32_t onlyModel = 0, bool reportNoneFound = true);

// Asks about each found sampler in turn and installs the ones the user
// accepts under the name given; returns how many were installed.
size_t OfferFoundSamplers(CInstalledSamplers& samplers, const SSamplerSearchResult& result, QWidget* parent);

// Both: what the Find button and the offer at start-up do.
size_t FindAndOfferSamplers(CInstalledSamplers& samplers, const SSamplerDevices& devices, QWidget* parent);

} // namespace quorvel
