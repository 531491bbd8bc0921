// Reading the remote never delays the audio: a station on the real engine
// and the null output (a sound card's pace) plays while another thread asks
// /api/now-playing 1,000 times a second; no block is mixed late, and every
// request is answered.
#include "app/EngineStation.h"
#include "engine/AudioEngine.h"
#include "fakes/EventLoopApp.h"
#include "platform/QtUiEvents.h"
#include "platform/SystemTime.h"
#include "web/WebLoad.h"
#include "web/net/WebRemote.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace tavlo;
using namespace tavlo::test;

TEST(WebLoadEngine, ReadingTheRemoteUnderLoadLeavesNoBlockLate)
{
    EventLoopApp app;
    QTemporaryDir dir;
    const QString song = dir.filePath(QStringLiteral("tone.wav"));
    ASSERT_TRUE(makeTone(song, 30, 440, 0.5, 0));

    AudioEngine::Options output;
    output.output = AudioEngine::OutputKind::Null;
    AudioEngine engine(output);
    SystemTime time;
    FakeRandom random;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    NullMixerDevice mixer;
    QtUiEvents events;
    AppServices services{engine, time, time, random, settings, dialogs, mixer, events};
    FakeHttpClient http;
    TestFolderReader folders;
    Station station(services, http, folders);
    station.setProgramFolder(dir.path());
    station.start();
    station.music().addFileToList(song, 0, *station.music().clipList);
    station.music().play();

    WebRemote remote(station.music(), station.insert(), station.scheduler(), time, time);
    QString why;
    ASSERT_TRUE(remote.start(WebAddress{QStringLiteral("127.0.0.1"), 0}, QStringLiteral("t"), QString(), &why))
        << qPrintable(why);
    EventLoopApp::spinUntil([] { return false; }, 300);  // the output settles

    const std::int64_t lateBefore = engine.outputCounts().late;
    std::atomic<bool> done{false};
    WebLoadResult load;
    std::thread client([&] {
        load = runWebLoad(remote.address().port, 1000, 2.0);
        done = true;
    });
    EventLoopApp::spinUntil([&] { return done.load(); }, 20000);
    client.join();

    EXPECT_EQ(engine.outputCounts().late - lateBefore, 0);
    EXPECT_EQ(load.errors, 0);
    EXPECT_EQ(load.latenciesMs.size(), 2000u);
    EXPECT_GT(engine.framesRendered(), 44100);
    std::printf("web_p99_ms under test: %.2f\n", load.percentileMs(99));
}
