#pragma once
// The fields the transmit dialogs that build something on the sampler (a
// program, a bank, a patch) share: a labelled row under the picture, the
// name, the first key and the template popup with "None" on top.
#include <string>
#include <vector>

#include <QString>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;
class QWidget;

namespace quorvel {

// `field` after its label, in a row of its own.
void AddLabelledRow(QVBoxLayout* body, QWidget* dialog, const QString& label, QWidget* field);
// Each adds its row to `body` and returns the field, owned by `dialog`.
QLineEdit* AddNameField(QVBoxLayout* body, QWidget* dialog, const QString& label, const QString& objectName,
                        const QString& text, int maxLength);
QSpinBox* AddKeyField(QVBoxLayout* body, QWidget* dialog, const QString& label, const QString& objectName,
                      int lowest, int highest, int value);
// `templates` follow "None", in order.
QComboBox* AddTemplatePopup(QVBoxLayout* body, QWidget* dialog, const QString& label,
                            const std::vector<QString>& templates);
QComboBox* AddTemplatePopup(QVBoxLayout* body, QWidget* dialog, const QString& label,
                            const std::vector<std::string>& templates);

// The template's name as shown; empty for "None".
std::string ChosenTemplateName(const QComboBox* popup);

} // namespace quorvel
