#include "ui/app/PreferencesStore.h"

#include <exception>
#include <iostream>

#include "fileformats/PreferencesFile.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "ui/app/ApplicationServices.h"

namespace quorvel {

namespace {

constexpr uint32_t kTable = 129;
constexpr uint32_t kChunkDamaged = 8;
constexpr uint32_t kFileDamaged = 10;
constexpr uint32_t kNotWritten = 11;
constexpr uint32_t kSamplerNotSupported = 34;
constexpr uint32_t kRecentDropped = 98;

class CApplicationReadSteps final : public CPreferencesReadSteps {
public:
    CApplicationReadSteps(CSoundSystem& sound, QWidget* parent) : sound_(sound), parent_(parent) {}

    void SoundPreferencesRead(const CSoundPreferences& stored) override
    {
        soundRead = true;
        sound_.OpenStoredCard(stored.cardTexts[0], stored.cardTexts[1], stored.cardTexts[2], stored.channelSetting);
    }
    void SamplerNotSupported(const CPersistentInstalledSampler& sampler) override
    {
        ShowAlert(AlertReference(kTable, kSamplerNotSupported), {sampler.userName}, parent_);
    }

    bool soundRead = false;

private:
    CSoundSystem& sound_;
    QWidget* parent_;
};

// What the application holds now, as the file stores it.
SPreferences Current(CApplicationServices& services)
{
    const SSettings& settings = services.Settings();
    SPreferences preferences;
    preferences.application.values = settings.application;
    preferences.application.values.transmitTarget = static_cast<uint16_t>(services.Samplers().CurrentIndex());
    preferences.documentDefaults.values = settings.documentDefaults;
    preferences.recentDocuments.paths.assign(settings.recentDocuments.Paths().begin(),
                                             settings.recentDocuments.Paths().end());
    preferences.customColors.colors = settings.customColors;
    preferences.samplers = services.Samplers().Samplers();
    CSoundSystem& sound = services.Sound();
    if (const uint16_t card = sound.SelectedCardIndex(); card != CSoundSystem::kNoCard) {
        const CRegisteredSoundCard* registered = sound.Registry().CardAt(card);
        preferences.sound.cardTexts = {registered->Type(), registered->Name(), registered->Driver()};
        preferences.sound.channelSetting = sound.SelectedLatency();
    }
    return preferences;
}

void Apply(const SPreferences& preferences, CApplicationServices& services)
{
    SSettings& settings = services.Settings();
    settings.application = preferences.application.values;
    settings.documentDefaults = preferences.documentDefaults.values;
    settings.recentDocuments = CRecentDocuments();
    // Added oldest first, so the most recent ends up in front.
    for (auto path = preferences.recentDocuments.paths.rbegin(); path != preferences.recentDocuments.paths.rend();
         ++path)
        settings.recentDocuments.Add(*path);
    settings.customColors = preferences.customColors.colors;
    services.Samplers().Assign(preferences.samplers);
    services.Samplers().SetCurrentIndex(preferences.application.values.transmitTarget);
}

} // namespace

void LoadPreferences(CApplicationServices& services, const CFileSpec& file, QWidget* alertParent)
{
    CApplicationReadSteps steps(services.Sound(), alertParent);
    // Objects that could not be read keep these values: the defaults.
    SPreferences preferences = Current(services);
    if (file.Exists()) {
        try {
            const SPreferencesReadReport report = ReadPreferencesFile(file, preferences, steps);
            if (report.fileUnreadable) {
                std::cerr << "Quorvel: the preferences file \"" << file.FullPath() << "\" could not be read; "
                          << (report.backupPath.empty() ? "no copy of it could be made"
                                                        : "it was kept as \"" + report.backupPath + "\"")
                          << ", and the settings that could still be read are used.\n";
                ShowAlert(AlertReference(kTable, kFileDamaged), {}, alertParent);
            } else if (report.chunkFailed)
                ShowAlert(AlertReference(kTable, kChunkDamaged), {}, alertParent);
            if (report.recentDocumentsDropped)
                ShowAlert(AlertReference(kTable, kRecentDropped), {}, alertParent);
        } catch (const XOutOfMemory&) {
            throw;
        } catch (const XBase&) {
            // Stream failures too: a settings file must never stop the
            // program from starting.
            ShowAlert(AlertReference(kTable, kFileDamaged), {}, alertParent);
        }
        Apply(preferences, services);
    }
    // No card record: the first card that opens, without alert 12.
    if (!steps.soundRead)
        services.Sound().OpenStoredCard({}, {}, {}, 0);
}

bool StorePreferences(CApplicationServices& services, const CFileSpec& file, QWidget* alertParent)
{
    try {
        SavePreferences(file, Current(services));
        return true;
    } catch (const std::exception&) {
        ShowAlert(AlertReference(kTable, kNotWritten), {}, alertParent);
        return false;
    }
}

} // namespace quorvel
