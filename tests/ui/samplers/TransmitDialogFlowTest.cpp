// The run around a building transmit dialog: what ends it and which alert
// the user is left with.
#include <gtest/gtest.h>

#include "framework/ResourceReference.h"
#include "samplers/SamplerExceptions.h"
#include "ui/samplers/TransmitDialogFlow.h"

#include "LockedLoop.h"
#include "SamplerFlowFixture.h"

namespace quorvel {
namespace {

using test::AlertRecorder;
using test::SamplerFlowFixture;
using test::Shows;

constexpr uint32_t kNameTakenAlert = AlertReference(132, 51);

// Names the taken sample name as the brand's own; nothing else.
std::optional<STransmitAlert> NameTaken(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const XSampleNameNotUnique&) {
        return STransmitAlert{kNameTakenAlert, std::string("KICK 01")};
    } catch (...) {
        return std::nullopt;
    }
}

class TransmitDialogFlow : public ::testing::Test {
protected:
    bool Run(const std::function<bool(int)>& transmit)
    {
        return RunTransmitFlow(job, progress, nullptr, transmit, NameTaken, [this] { ++warnings; });
    }
    void OpenProgress() { progress.emplace(services.lengthy, "Slices left:"); }

    SamplerFlowFixture f;
    SSamplerFlowServices services = f.Services();
    std::unique_ptr<CSoundDocument> loop = test::LockedLoop(3);
    CExportJob job = MakeExportJob(*loop);
    std::optional<CLengthyTransferProgress> progress;
    AlertRecorder alerts;
    int warnings = 0; // what the failures left behind
};

TEST_F(TransmitDialogFlow, SentAndNotStartedEndQuietly)
{
    EXPECT_FALSE(Run([](int outputs) {
        EXPECT_EQ(outputs, 3);
        return false;
    }));
    EXPECT_TRUE(Run([&](int) {
        OpenProgress();
        return true;
    }));
    EXPECT_FALSE(progress) << "the progress window closes once everything arrived";
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(warnings, 0);
}

TEST_F(TransmitDialogFlow, ACancelStaysInTheProgressWindowWithoutAnAlert)
{
    EXPECT_FALSE(Run([&](int) -> bool {
        OpenProgress();
        throw XSampleTransmitCancelled();
    }));
    EXPECT_TRUE(progress);
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(warnings, 1) << "what was sent before the cancel is still warned of";
}

TEST_F(TransmitDialogFlow, TheBrandsOwnFailureShowsItsAlertAndAnyOtherTheGeneralOne)
{
    EXPECT_FALSE(Run([&](int) -> bool {
        OpenProgress();
        throw XSampleNameNotUnique();
    }));
    EXPECT_FALSE(progress) << "closed before the alert";
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "A sample named \"KICK 01\" already exists!"));

    EXPECT_FALSE(Run([](int) -> bool { throw XSampleDoesNotExist(); }));
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_FALSE(Shows(alerts.shown[1], "already exists"));
    EXPECT_EQ(warnings, 2);
}

} // namespace
} // namespace quorvel
