#pragma once
// Both halves of a stereo sample mixed into one: the A3000 keeps the halves
// as two samples and sends them one after the other, so both are read in
// full before the first chunk is handed on.
#include <memory>
#include <vector>

#include "samplers/SampleReceiver.h"

namespace quorvel {

class CA3000MixReceiver final : public CABCSampleReceiver {
public:
    CA3000MixReceiver(std::unique_ptr<CABCSampleReceiver> left, std::unique_ptr<CABCSampleReceiver> right,
                      std::string name);

    // The left half's parameters under the pair's name; the length of the
    // longer half (the shorter one is taken as silent beyond its end).
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    SSampleWords ReceiveChunk(uint32_t frames) override;

private:
    std::unique_ptr<CABCSampleReceiver> left_;
    std::unique_ptr<CABCSampleReceiver> right_;
    std::string name_;
    std::vector<int16_t> mixed_;
};

} // namespace quorvel
