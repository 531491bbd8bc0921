// A settings file as version 3.7 wrote it, with every value changed from its
// default: each window reads its keys, and closing writes them back as they
// were. The sections, keys and value texts are the users' own files.
#include "playback/SongLoudness.h"
#include "playback/WindowRig.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(SettingsFile, AFileWrittenByVersion37IsReadAndWrittenBackTheSame)
{
    const QString path = QStringLiteral(TAVLO_TEST_DATA_DIR "/settings-3.7.ini");
    QSettings file(path, QSettings::IniFormat);
    QHash<QString, QString> stored;
    for (const QString& key : file.allKeys())
        stored.insert(key.split(QLatin1Char('/')).join(QLatin1Char('|')), file.value(key).toString());
    ASSERT_EQ(stored.size(), 49) << path.toStdString();

    WindowRig r(false);
    r.settings.values = stored;
    r.w->load();
    EXPECT_EQ(std::tuple(r.w->transitionTime(), r.ins->transitionTime(), r.w->masterVolume->value(), r.w->logFolder()),
              std::tuple(7, 3, 40, QStringLiteral("/var/log/tavlo/")));
    EXPECT_EQ(std::tuple(r.w->loudness().enabled(), r.w->loudness().targetLufs(), r.tim->preloadTime()),
              std::tuple(true, -20.0, 5.0));
    // Saved only by the streaming dialog's OK, so read here and not below.
    EXPECT_EQ(std::tuple(r.w->streaming.serverBox->text(), r.w->streaming.portBox->text(),
                         r.w->streaming.bitrateBox->items().value(r.w->streaming.bitrateBox->listIndex())),
              std::tuple(QStringLiteral("icecast.example.org"), QStringLiteral("8001"), QStringLiteral("96")));

    r.settings.values.clear();
    r.dialogs.answerYes = false;  // saved before the question
    r.ins->mayClose();
    int written = 0;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (it.key().contains(QLatin1String("|Streaming|")))
            continue;
        EXPECT_EQ(r.settings.values.value(it.key(), QStringLiteral("(not written)")), it.value())
            << it.key().toStdString();
        ++written;
    }
    // "Auto Cue", new since then, is written with each window's own default.
    QStringList autoCue;
    for (auto it = r.settings.values.cbegin(); it != r.settings.values.cend(); ++it)
        if (it.key().endsWith(QLatin1String("|Trimming|AutoCue")))
            autoCue << it.value();
    EXPECT_EQ(autoCue.size(), 2);
    EXPECT_TRUE(autoCue.contains(QStringLiteral("True")) && autoCue.contains(QStringLiteral("False")));
    EXPECT_EQ(r.settings.values.size(), written + 2);
}
