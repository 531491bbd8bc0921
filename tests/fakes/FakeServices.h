#pragma once

#include "platform/Autostart.h"
#include "platform/HttpClient.h"
#include "platform/Random.h"
#include "platform/Shell.h"
#include "platform/SettingsStore.h"
#include "platform/UiEvents.h"
#include "platform/UserDialogs.h"

#include <QHash>
#include <QStringList>

#include <deque>
#include <functional>
#include <random>

namespace tavlo::test {

// Deterministic numbers; scripted values come first, then a fixed-seed sequence.
class FakeRandom : public Random {
public:
    void reseed() override {}
    double next() override
    {
        if (script.empty())
            return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
        const double v = script.front();
        script.pop_front();
        return v;
    }
    std::deque<double> script;

private:
    std::mt19937 m_engine{12345};
};

class MemorySettingsStore : public SettingsStore {
public:
    QString get(const QString& app, const QString& section, const QString& key, const QString& def) const override
    {
        return values.value(app + QLatin1Char('|') + section + QLatin1Char('|') + key, def);
    }
    void save(const QString& app, const QString& section, const QString& key, const QString& value) override
    {
        values.insert(app + QLatin1Char('|') + section + QLatin1Char('|') + key, value);
    }
    QHash<QString, QString> values;
};

// Counts the moments a long operation lets the interface catch up, and runs
// `onProcess` there as if the user had acted in between.
class FakeUiEvents : public UiEvents {
public:
    void processPending() override
    {
        ++calls;
        if (onProcess)
            onProcess();
    }
    int calls = 0;
    std::function<void()> onProcess;
};

// Remembers the pages asked for and never answers; the report's own tests
// send to a server on the loopback address instead.
class FakeHttpClient : public HttpClient {
public:
    void get(const QUrl& url, std::function<void(const HttpAnswer&)>) override { asked << url.toString(); }
    QStringList asked;
};

// Remembers what the program asked the desktop to open.
class FakeShell : public Shell {
public:
    void openUrl(const QUrl& url) override { opened << url.toString(); }
    void openManual() override { opened << QStringLiteral("manual"); }
    QStringList opened;
};

// The desktop's autostart as a flag; `failure`, while set, is every change's answer.
class FakeAutostart : public Autostart {
public:
    bool isEnabled() const override { return enabled; }
    QString setEnabled(bool on) override
    {
        if (failure.isEmpty())
            enabled = on;
        return failure;
    }
    bool enabled = false;
    QString failure;
};

class FakeDialogs : public UserDialogs {
public:
    bool askYesNo(const QString& title, const QString& text) override
    {
        asked.append(title + QLatin1String(": ") + text);
        return answerYes;
    }
    void inform(const QString& title, const QString& text) override { informed.append(title + QLatin1String(": ") + text); }
    QStringList chooseFilesToOpen(const QString&, const QString&, const QString&) override { return filesToOpen; }
    QString chooseFileToSave(const QString&, const QString&, const QString&) override { return fileToSave; }
    bool answerYes = false;
    QStringList asked;
    QStringList informed;
    QStringList filesToOpen;
    QString fileToSave;
};

}  // namespace tavlo::test
