#include "ui/samplers/TransmitDialogFields.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorvel {

void AddLabelledRow(QVBoxLayout* body, QWidget* dialog, const QString& label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, dialog));
    row->addWidget(field, 1);
    body->addLayout(row);
}

QLineEdit* AddNameField(QVBoxLayout* body, QWidget* dialog, const QString& label, const QString& objectName,
                        const QString& text, int maxLength)
{
    auto* field = new QLineEdit(text, dialog);
    field->setObjectName(objectName);
    field->setMaxLength(maxLength);
    AddLabelledRow(body, dialog, label, field);
    return field;
}

QSpinBox* AddKeyField(QVBoxLayout* body, QWidget* dialog, const QString& label, const QString& objectName,
                      int lowest, int highest, int value)
{
    auto* field = new QSpinBox(dialog);
    field->setObjectName(objectName);
    field->setRange(lowest, highest);
    field->setValue(value);
    AddLabelledRow(body, dialog, label, field);
    return field;
}

QComboBox* AddTemplatePopup(QVBoxLayout* body, QWidget* dialog, const QString& label,
                            const std::vector<QString>& templates)
{
    auto* popup = new QComboBox(dialog);
    popup->setObjectName(QStringLiteral("template"));
    popup->addItem(QStringLiteral("None"));
    for (const QString& item : templates)
        popup->addItem(item);
    AddLabelledRow(body, dialog, label, popup);
    return popup;
}

QComboBox* AddTemplatePopup(QVBoxLayout* body, QWidget* dialog, const QString& label,
                            const std::vector<std::string>& templates)
{
    std::vector<QString> items;
    for (const std::string& name : templates)
        items.push_back(QString::fromStdString(name));
    return AddTemplatePopup(body, dialog, label, items);
}

std::string ChosenTemplateName(const QComboBox* popup)
{
    return popup->currentIndex() <= 0 ? std::string() : popup->currentText().toStdString();
}

} // namespace quorvel
