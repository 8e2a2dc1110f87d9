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
    ETransmitOutcome Run(const std::function<bool()>& transmit)
    {
        return RunTransmitFlow(progress, nullptr, transmit, NameTaken);
    }
    void OpenProgress() { progress.emplace(services.lengthy, "Slices left:"); }

    SamplerFlowFixture f;
    SSamplerFlowServices services = f.Services();
    std::optional<CLengthyTransferProgress> progress;
    AlertRecorder alerts;
};

TEST_F(TransmitDialogFlow, SentAndNotStartedEndQuietly)
{
    EXPECT_EQ(Run([] { return false; }), ETransmitOutcome::NotStarted);
    EXPECT_EQ(Run([&] {
        OpenProgress();
        return true;
    }), ETransmitOutcome::Sent);
    EXPECT_FALSE(progress) << "the progress window closes once everything arrived";
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(TransmitDialogFlow, ACancelStaysInTheProgressWindowWithoutAnAlert)
{
    EXPECT_EQ(Run([&]() -> bool {
        OpenProgress();
        throw XSampleTransmitCancelled();
    }), ETransmitOutcome::Failed);
    EXPECT_TRUE(progress);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(TransmitDialogFlow, TheBrandsOwnFailureShowsItsAlertAndAnyOtherTheGeneralOne)
{
    EXPECT_EQ(Run([&]() -> bool {
        OpenProgress();
        throw XSampleNameNotUnique();
    }), ETransmitOutcome::Failed);
    EXPECT_FALSE(progress) << "closed before the alert";
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "A sample named \"KICK 01\" already exists!"));

    EXPECT_EQ(Run([]() -> bool { throw XSampleDoesNotExist(); }), ETransmitOutcome::Failed);
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_FALSE(Shows(alerts.shown[1], "already exists"));
}

} // namespace
} // namespace quorvel
