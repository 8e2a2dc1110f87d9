// quorvel-cli's options for the Ensoniq samplers: what each model needs and
// which transmit options it refuses, before any port is opened.
#include <gtest/gtest.h>

#include "RunTool.h"

namespace quorvel {
namespace {

using test::RunTool;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliEnsoniqOptions, EachModelNeedsItsPortsAndRefusesWhatItCannotDo)
{
    const std::string ports = " --midi-in 'No Such Port' --midi-out 'No Such Port'";
    test::ToolRun run = RunTool("quorvel-cli", "list --model 3020");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "needs --midi-in PORT and --midi-out PORT")) << run.err;

    run = RunTool("quorvel-cli", "transmit loop.wav --model 3000" + ports + " --first-key 40");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "from key 36")) << run.err;
    run = RunTool("quorvel-cli", "transmit loop.wav --model 3010" + ports + " --sample-number 5");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "numbers new samples itself")) << run.err;
    run = RunTool("quorvel-cli", "transmit loop.wav --model sds" + ports + " --instrument 2");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "no instrument slots")) << run.err;
    run = RunTool("quorvel-cli", "transmit loop.wav --model 3010" + ports + " --instrument 9");
    EXPECT_EQ(run.status, 1);

    // Named right, the sampler is looked for on its ports.
    run = RunTool("quorvel-cli", "delete --model 'Ensoniq EPS-16+ via MIDI'" + ports + " --sample 130");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "No Such Port")) << run.err;
    run = RunTool("quorvel-cli", "delete --model 3010" + ports + " --sample 1024");
    EXPECT_EQ(run.status, 1) << "instrument 8 ends at 1023";
}

} // namespace
} // namespace quorvel
