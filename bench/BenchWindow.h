#pragma once

// The music window as the benchmarks drive it: the real engine on the null
// output as its media, the real UI event service, simulated window timers
// (so no tick interrupts a measurement) and settings kept in memory.

#include "platform/AppServices.h"
#include "music/MusicWindow.h"
#include "platform/MixerDevice.h"
#include "platform/QtUiEvents.h"
#include "platform/SettingsStore.h"
#include "platform/SimulatedTime.h"
#include "platform/SystemTime.h"
#include "platform/UserDialogs.h"
#include "engine/AudioEngine.h"

#include <QHash>

namespace tavlo::bench {

class MemorySettings : public SettingsStore {
public:
    QString get(const QString& app, const QString& section, const QString& key, const QString& def) const override
    {
        return m_values.value(app + section + key, def);
    }
    void save(const QString& app, const QString& section, const QString& key, const QString& value) override
    {
        m_values.insert(app + section + key, value);
    }

private:
    QHash<QString, QString> m_values;
};

class SilentDialogs : public UserDialogs {
public:
    bool askYesNo(const QString&, const QString&) override { return true; }
    void inform(const QString&, const QString&) override {}
    QStringList chooseFilesToOpen(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFileToSave(const QString&, const QString&, const QString&) override { return {}; }
};

inline AudioEngine::Options nullOutput()
{
    AudioEngine::Options options;
    options.output = AudioEngine::OutputKind::Null;
    return options;
}

// Needs a QCoreApplication.
struct BenchWindow {
    AudioEngine engine{nullOutput()};
    SimulatedTime time;
    ClockSeededRandom random{time};
    MemorySettings settings;
    SilentDialogs dialogs;
    NullMixerDevice mixer;
    QtUiEvents uiEvents;
    AppServices services{engine, time, time, random, settings, dialogs, mixer, uiEvents};
    MusicWindow w{services};

    BenchWindow()
    {
        w.setProgramFolder(QStringLiteral("/tmp"));
        w.load();
    }
};

}  // namespace tavlo::bench
