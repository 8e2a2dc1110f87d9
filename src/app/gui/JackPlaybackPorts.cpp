#include "JackPlaybackPorts.h"

#include <QSettings>

#include "FramePlacement.h"

namespace quorvel::gui {
namespace {

// Port names may hold commas and spaces, never a line break.
constexpr char kJoin = '\n';

} // namespace

QStringList JackRoutingToSetting(const JackRouting& routing)
{
    QStringList setting;
    for (const std::vector<std::string>& side : routing) {
        QStringList ports;
        for (const std::string& port : side)
            ports.append(QString::fromStdString(port));
        setting.append(ports.join(kJoin));
    }
    return setting;
}

JackRouting JackRoutingFromSetting(const QStringList& setting)
{
    JackRouting routing;
    for (qsizetype side = 0; side < setting.size() && side < qsizetype(routing.size()); ++side)
        for (const QString& port : setting[side].split(kJoin, Qt::SkipEmptyParts))
            routing[side].push_back(port.toStdString());
    return routing;
}

void SaveJackPlaybackPorts(const CSoundChannel* channel)
{
    const auto* jack = dynamic_cast<const CJackSoundChannel*>(channel);
    if (jack == nullptr)
        return;
    const JackRouting connected = jack->ConnectedPlaybackPorts();
    if (connected[0].empty() && connected[1].empty())
        return;
    QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    settings.setValue(kJackPlaybackPortsKey, JackRoutingToSetting(connected));
    settings.sync();
}

void RestoreJackPlaybackPorts(const CSoundCardRegistry& registry)
{
    const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    const JackRouting stored = JackRoutingFromSetting(settings.value(kJackPlaybackPortsKey).toStringList());
    for (uint16_t i = 0; i < registry.Count(); ++i)
        if (auto* card = dynamic_cast<CRegisteredJackSoundCard*>(registry.CardAt(i)))
            card->SetPlaybackPorts(stored);
}

} // namespace quorvel::gui
