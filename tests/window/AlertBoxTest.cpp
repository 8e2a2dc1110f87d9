#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "framework/window/AlertBox.h"

namespace quorvel {
namespace {

// Runs the box and, once it shows, does `act` to it.
int RunWith(CAlertBox& box, std::function<void(CAlertBox&)> act)
{
    QTimer::singleShot(0, &box, [&box, act] { act(box); });
    return box.RunModal();
}

TEST(AlertBox, EachButtonReportsItsSlot)
{
    const AlertRecord record = ParseAlertScript("[NOTE]Replace it?[Replace][Replace All][Cancel]");
    for (int slot = 0; slot < 3; ++slot) {
        CAlertBox box(record);
        ASSERT_NE(box.Button(slot), nullptr);
        EXPECT_EQ(RunWith(box, [slot](CAlertBox& b) { b.Button(slot)->click(); }), 33 + slot) << slot;
    }
    CAlertBox box(record);
    EXPECT_EQ(box.Button(0)->text(), "Cancel");
    EXPECT_EQ(box.Button(2)->text(), "Replace");
    // Slot 0 is the default and stands rightmost.
    EXPECT_TRUE(box.Button(0)->isDefault());
    box.show();
    EXPECT_GT(box.Button(0)->x(), box.Button(1)->x());
    EXPECT_GT(box.Button(1)->x(), box.Button(2)->x());
}

TEST(AlertBox, EscapeAnswersWithCancelOrTheOnlyButton)
{
    CAlertBox withCancel(ParseAlertScript("[WARN]Save changes?[Cancel][No][Yes]"));
    EXPECT_EQ(RunWith(withCancel, [](CAlertBox& b) { b.reject(); }), 35);

    CAlertBox single(ParseAlertScript("[STOP]File not found.[OK]"));
    EXPECT_EQ(RunWith(single, [](CAlertBox& b) { b.reject(); }), 33);

    // No button means "cancel": Escape must not invent an answer.
    CAlertBox yesNo(ParseAlertScript("[NOTE]Remove this sampler?[No][Yes]"));
    const int answer = RunWith(yesNo, [](CAlertBox& b) {
        b.reject();
        EXPECT_TRUE(b.isVisible());
        b.Button(1)->click();
    });
    EXPECT_EQ(answer, 34);
}

TEST(AlertBox, ScriptWithoutButtonsStillOffersOne)
{
    CAlertBox box(ParseAlertScript("[NOTE]Done."));
    ASSERT_EQ(box.ButtonCount(), 1);
    ASSERT_NE(box.Button(0), nullptr);
    EXPECT_FALSE(box.Button(0)->text().isEmpty());
    EXPECT_EQ(RunWith(box, [](CAlertBox& b) { b.Button(0)->click(); }), 33);
}

TEST(AlertBox, ResponderAnswersWithoutShowing)
{
    AlertRecord seen;
    CAlertBox::SetResponder([&seen](const AlertRecord& record) {
        seen = record;
        return 34;
    });
    CAlertContent content("[STOP]Cannot open ^0.[Skip][OK]");
    content.AddArgument("a[1]^.wav");
    CAlertBox box(content);
    EXPECT_EQ(box.RunModal(), 34);
    CAlertBox::SetResponder(nullptr);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(seen.message, "Cannot open a(1)~.wav.");
}

} // namespace
} // namespace quorvel
