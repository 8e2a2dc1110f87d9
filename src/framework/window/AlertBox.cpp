#include "framework/window/AlertBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "framework/EmbeddedResources.h"

namespace quorvel {

namespace {

CAlertBox::Responder responder;

constexpr uint32_t kOkText = 401000012;
constexpr uint32_t kCancelText = 401000011;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QStyle::StandardPixmap PixmapFor(AlertIcon icon)
{
    switch (icon) {
    case AlertIcon::Stop:
        return QStyle::SP_MessageBoxCritical;
    case AlertIcon::Warn:
        return QStyle::SP_MessageBoxWarning;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

CAlertBox::CAlertBox(const AlertRecord& record, QWidget* parent) : CModalDialog(parent), record_(record)
{
    // A script without buttons could never be answered.
    if (record_.buttonCount == 0) {
        record_.buttonCount = 1;
        record_.buttons[0] = BuiltInTextResources().Text(kOkText);
        if (record_.buttons[0].empty())
            record_.buttons[0] = "OK";
    }
    Build();
}

CAlertBox::CAlertBox(const CAlertContent& content, QWidget* parent) : CAlertBox(content.Record(), parent) {}

void CAlertBox::Build()
{
    setWindowTitle(record_.title.empty() ? QApplication::applicationDisplayName() : FromUtf8(record_.title));

    auto* body = new QHBoxLayout;
    if (record_.icon != AlertIcon::None) {
        auto* icon = new QLabel(this);
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(style()->standardIcon(PixmapFor(record_.icon), nullptr, this).pixmap(size, size));
        icon->setAlignment(Qt::AlignTop);
        body->addWidget(icon);
    }
    auto* texts = new QVBoxLayout;
    if (!record_.title.empty()) {
        auto* title = new QLabel(FromUtf8(record_.title), this);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        texts->addWidget(title);
    }
    // "\r" in a script is a line break.
    auto* message = new QLabel(FromUtf8(record_.message).replace(QLatin1Char('\r'), QLatin1Char('\n')), this);
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(message);
    body->addLayout(texts, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    // Listed order from left to right: the highest slot first, slot 0 last.
    for (int slot = record_.buttonCount - 1; slot >= 0; --slot) {
        auto* button = new QPushButton(FromUtf8(record_.buttons[static_cast<size_t>(slot)]), this);
        button->setAutoDefault(false);
        button->setDefault(slot == 0);
        connect(button, &QPushButton::clicked, this, [this, slot] { done(AlertResultForSlot(slot)); });
        buttons_[static_cast<size_t>(slot)] = button;
        row->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CAlertBox::RunModal()
{
    if (AllCancelled())
        return CancelledResult();
    if (responder)
        return responder(record_);
    if (const std::optional<int> answer = AutoAnswer())
        return *answer;
    return exec();
}

void CAlertBox::SetResponder(Responder r) { responder = std::move(r); }

int CAlertBox::CancelSlot() const
{
    if (record_.buttonCount == 1)
        return 0;
    const std::string cancel = BuiltInTextResources().Text(kCancelText);
    for (int slot = 0; slot < record_.buttonCount; ++slot) {
        const std::string& text = record_.buttons[static_cast<size_t>(slot)];
        if (text == cancel || text == "Cancel")
            return slot;
    }
    return -1;
}

int CAlertBox::CancelledResult() const
{
    const int slot = CancelSlot();
    return slot >= 0 ? AlertResultForSlot(slot) : 0;
}

void CAlertBox::reject()
{
    // A plain reject would report 0, which is no button at all.
    if (const int slot = CancelSlot(); slot >= 0)
        done(AlertResultForSlot(slot));
}

int ShowAlert(uint32_t reference, std::initializer_list<std::string_view> arguments, QWidget* parent)
{
    CAlertContent content = CAlertContent::FromReference(BuiltInTextResources(), reference);
    for (std::string_view argument : arguments)
        content.AddArgument(argument);
    CAlertBox box(content, parent);
    return box.RunModal();
}

} // namespace quorvel
