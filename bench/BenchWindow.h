#pragma once

// The station as the benchmarks drive it: the real engine on the null output
// as its media, the real UI event service unless one is given, simulated
// window timers (so no tick interrupts a measurement), settings kept in
// memory and the real folders.

#include "app/Station.h"
#include "platform/AppServices.h"
#include "platform/HttpClient.h"
#include "platform/MixerDevice.h"
#include "platform/QtUiEvents.h"
#include "platform/SettingsStore.h"
#include "platform/SimulatedTime.h"
#include "platform/SystemTime.h"
#include "platform/UserDialogs.h"
#include "engine/AudioEngine.h"
#include "search/DirentFolderReader.h"

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

// No benchmark sends the playing-now report.
class NoHttpClient : public HttpClient {
public:
    void get(const QUrl&, std::function<void(const HttpAnswer&)>) override {}
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
    AppServices services;
    NoHttpClient http;
    DirentFolderReader folders;
    Station station{services, http, folders};
    MusicWindow& w = station.music();

    BenchWindow() : BenchWindow(uiEvents) {}
    // Long operations let `events` in instead of the event loop.
    explicit BenchWindow(UiEvents& events)
        : services{engine, time, time, random, settings, dialogs, mixer, events}
    {
        station.setProgramFolder(QStringLiteral("/tmp"));
        station.start();
    }
};

}  // namespace tavlo::bench
