#pragma once
// Answers the sound alerts from a script and records which were shown.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "playback/SoundSystem.h"

namespace quorvel::test {

class FakeAlerts : public CSoundAlerts {
public:
    int NoSoundCardOpened() override
    {
        shown.push_back("7");
        return AlertResultForSlot(0);
    }
    int StoredCardNotOpened(const std::string& cardName) override
    {
        shown.push_back("12:" + cardName);
        return AlertResultForSlot(0);
    }
    int SoundChannelTaken() override
    {
        shown.push_back("19");
        if (answers.empty()) {
            ADD_FAILURE() << "alert 19 asked more often than expected";
            return kDisableSound;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> shown;
    std::deque<int> answers;
};

} // namespace quorvel::test
