#pragma once
// What a document window needs from the application, faked: a player that
// renders on the calling thread and scripted file dialogs.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../../common/StoredDocuments.h"
#include "framework/Clock.h"
#include "framework/MainLoop.h"
#include "framework/window/LengthyOperationPresenter.h"
#include "framework/window/MessageSource.h"
#include "playback/WavePlayer.h"
#include "ui/ApplicationPreferences.h"
#include "ui/window/WindowServices.h"

namespace quorvel::test {

// Takes its commands by rendering at once, so Play and Stop never wait.
class CImmediatePlayer final : public CWavePlayer {
protected:
    void WaitForRenderer() override { Render(nullptr, 0); }
};

class CScriptedFileDialogs final : public CFileDialogs {
public:
    std::optional<std::string> AskSaveFile(const SSaveFileRequest& request) override
    {
        saveRequests.push_back(request);
        if (saveAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::optional<SSoundExportChoice> AskExportSound(const std::string&, int32_t, const std::string&) override
    {
        return exportSoundAnswer;
    }

    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<SSaveFileRequest> saveRequests;
    std::optional<SSoundExportChoice> exportSoundAnswer;
};

class CTestServices final : public CWindowServices {
public:
    CWavePlayer& Player() override { return player; }
    bool SoundAvailable() override { return soundAvailable; }
    SSettings& Settings() override { return settings; }
    CFileDialogs& FileDialogs() override { return dialogs; }
    SLengthyOperationServices LengthyOperations() override { return {clock, presenter, loop}; }
    void PreferencesChanged() override { ++preferenceChanges; }

    CImmediatePlayer player;
    bool soundAvailable = true;
    SSettings settings;
    CScriptedFileDialogs dialogs;
    CSteadyClock clock;
    CQtMessageSource source;
    CMainLoop loop{source, clock, {}};
    CQtLengthyOperationPresenter presenter;
    int preferenceChanges = 0;
};

} // namespace quorvel::test
