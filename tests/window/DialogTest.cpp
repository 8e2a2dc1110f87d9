#include <QTimer>

#include <gtest/gtest.h>

#include "framework/window/ModalDialog.h"

namespace quorvel {
namespace {

class CGuardedDialog : public CModalDialog {
public:
    bool mayClose = false;
    bool MayClose() override { return mayClose; }
};

TEST(ModalDialog, ReturnsTheResultItEndedWith)
{
    CModalDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.Finish(7); });
    EXPECT_EQ(dialog.RunModal(), 7);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ModalDialog, CloseRequestCanBeRefused)
{
    CGuardedDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.reject();
        EXPECT_TRUE(dialog.isVisible());
        dialog.mayClose = true;
        dialog.reject();
    });
    EXPECT_EQ(dialog.RunModal(), QDialog::Rejected);
}

TEST(ModalDialog, AutoAnswerSkipsTheDialog)
{
    CModalDialog::SetAutoAnswer(3);
    CModalDialog dialog;
    EXPECT_EQ(dialog.RunModal(), 3);
    CModalDialog::SetAutoAnswer(std::nullopt);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace quorvel
