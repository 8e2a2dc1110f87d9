#pragma once
// What a document window needs from the application, faked: a player that
// renders on the calling thread, scripted file dialogs, and documents built
// from known slices.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/SoundDocument.h"
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

// A sound of `frames` varied values.
inline std::unique_ptr<WAVE_SAMPLE> VariedSound(int32_t frames, int32_t rate = 44100)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Loop.aif", rate, frames);
    for (int32_t i = 0; i < frames; ++i)
        sound->Store().WriteSample(uint32_t(i), int16_t((int64_t(i) * 7919 + 13) % 20011 - 10005));
    return sound;
}

inline StoredSlice NormalSlice(int32_t position, int16_t strength = 20000)
{
    return {static_cast<int32_t>(SliceState::Normal), false, position, strength};
}

// A stored document at full sensitivity: every slice of strength above a
// few hundred cuts the loop.
inline std::unique_ptr<CSoundDocument> DocumentWithSlices(int32_t frames, const std::vector<StoredSlice>& slices,
                                                          int32_t sensitivity = 990)
{
    StoredDocumentSettings settings;
    settings.sensitivity = sensitivity;
    return std::make_unique<CSoundDocument>(VariedSound(frames), settings, slices);
}

// `count` Normal slices, evenly spaced from frame 0.
inline std::unique_ptr<CSoundDocument> EvenlySlicedDocument(int count, int32_t spacing = 1000)
{
    std::vector<StoredSlice> slices;
    for (int i = 0; i < count; ++i)
        slices.push_back(NormalSlice(i * spacing));
    return DocumentWithSlices(count * spacing, slices);
}

} // namespace quorvel::test
