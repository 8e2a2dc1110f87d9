#pragma once
// What the tool's transmit commands for the samplers that build something
// (a program, a bank, a patch) share: the options answering the questions
// nobody is there to see, the alert lines they print and the report rows.
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "app/cli/CliError.h"
#include "app/cli/SamplerCommands.h"
#include "samplers/SampleTransfer.h"

namespace quorvel::cli {

// An alert of the instrument table as one line ("[title]message"), its one
// argument filled in when given.
std::string InstrumentAlertLine(uint32_t alert, const std::string& argument = {});

// `failure` with `line` under its message, at the same status.
CliError WithLine(const CliError& failure, const std::string& line);

// Over `maximum` slices: the first ones with --accept-limit, else the job is
// refused.
int AnswerSliceCount(const TransmitOptions& options, int count, int maximum);

class CQuietProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

// Nobody is there to ask: the options answer, and a question they do not
// answer refuses the job before anything is sent. `Questions` is the
// brand's interface; the brand answers the rest.
template <class Questions>
class CToolTransmitQuestions : public Questions {
public:
    explicit CToolTransmitQuestions(const TransmitOptions& options) : options_(options) {}

    int ConfirmSliceCount(int count, int maximum) override { return AnswerSliceCount(options_, count, maximum); }
    CABCTransferProgress& SampleProgress(int) override { return progress_; }

protected:
    // True when `allowed`, else refuses the job with `refusal`.
    static bool Allow(bool allowed, const std::string& refusal)
    {
        if (!allowed)
            throw CliError(kDeviceRefused, refusal);
        return true;
    }

    const TransmitOptions& options_;

private:
    CQuietProgress progress_;
};

// A sent sample's row of the report: slice, name, number, frames, rate.
template <class Number>
nlohmann::ordered_json SentSampleRow(int slice, const std::string& name, Number number, uint32_t frames,
                                     uint32_t rate)
{
    nlohmann::ordered_json row;
    row["slice"] = slice;
    row["name"] = name;
    row["number"] = number;
    row["frames"] = frames;
    row["rate"] = rate;
    return row;
}

} // namespace quorvel::cli
