// The stream against a real Icecast server on the loopback address, heard
// back by a listener through libmpg123.
#include "engine/AudioEngine.h"
#include "platform/stream/IcecastStreamer.h"
#include "engine/TestMedia.h"
#include "LoopbackIcecast.h"

#include <gtest/gtest.h>
#include <mpg123.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace tavlo;
using namespace tavlo::test;
using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {

const QString kPassword = QStringLiteral("on-air-secret");

// The left channel of a whole MP3 byte stream, and its rate.
std::vector<float> decodeMp3(const QByteArray& mp3, long* rate)
{
    mpg123_init();
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_FORCE_FLOAT | MPG123_FORCE_STEREO, 0);
    mpg123_open_feed(h);
    mpg123_feed(h, reinterpret_cast<const unsigned char*>(mp3.constData()), static_cast<size_t>(mp3.size()));
    std::vector<float> left;
    std::vector<float> buf(1 << 14);
    int rc = MPG123_OK;
    while (rc == MPG123_OK || rc == MPG123_NEW_FORMAT) {
        size_t done = 0;
        rc = mpg123_read(h, buf.data(), buf.size() * sizeof(float), &done);
        for (size_t i = 0; i < done / sizeof(float); i += 2)
            left.push_back(buf[i]);
    }
    int channels = 0, encoding = 0;
    mpg123_getformat(h, rate, &channels, &encoding);
    mpg123_delete(h);
    return left;
}

// The station's output: the long 440 Hz tone (amplitude 0.1) on the offline
// engine, rendered in step with the wall clock so the stream runs in real time.
struct Station {
    explicit Station(IcecastStreamer& streamer)
    {
        AudioEngine::Options o;
        o.output = AudioEngine::OutputKind::Offline;
        o.wavPath = wavPath;
        o.wavBits = 32;
        o.streamTap = &streamer.tap();
        engine = std::make_unique<AudioEngine>(o);
        song = std::move(engine->open(TestMedia::get().path("long.wav")).stream);
        song->setVolume(0);
        song->run();
    }
    // Plays on for `duration` of wall time or until `done`.
    bool play(std::chrono::milliseconds duration, const std::function<bool()>& done = [] { return false; })
    {
        for (const auto end = SteadyClock::now() + duration; SteadyClock::now() < end && !done();) {
            const double due = std::chrono::duration<double>(SteadyClock::now() - started).count() * 44100;
            while (engine->framesRendered() < static_cast<std::int64_t>(due))
                engine->renderOffline(441);
            std::this_thread::sleep_for(10ms);
        }
        return done();
    }
    QString wavPath = TestMedia::get().scratch() + QStringLiteral("/stream-local.wav");
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<MediaStream> song;
    SteadyClock::time_point started = SteadyClock::now();
};

}  // namespace

// Outside the file-local namespace: the tests derive from it.
class IcecastStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(QString::fromLatin1(kIcecastProgram)))
            GTEST_SKIP() << "icecast2 is not installed: no server to stream to";
        ASSERT_TRUE(server.start()) << server.logs().toStdString();
        streamerOptions.firstRetry = 200ms;
        streamerOptions.longestRetry = 800ms;
        target.host = QStringLiteral("127.0.0.1");
        target.port = server.port();
        target.password = kPassword;
    }
    IcecastServer server{kPassword};
    IcecastStreamer::Options streamerOptions;
    StreamTarget target;
};

TEST_F(IcecastStream, ListenerHearsTheToneTitlesFollowAndAServerRestartLeavesTheLocalOutputAlone)
{
    IcecastStreamer streamer(streamerOptions);
    Station station(streamer);
    streamer.setTitle(QStringLiteral("Ærø Band - Tone A"));
    streamer.start(target);
    auto connected = [&] { return streamer.status().state == StreamState::Connected; };
    ASSERT_TRUE(station.play(10s, connected)) << streamer.status().text.toStdString() << server.logs().toStdString();

    // A listener hears the tone; the server shows the song in play, then the next.
    std::atomic<bool> stopListening{false};
    QByteArray mp3;
    std::thread listener([&] { mp3 = httpGet(server.port(), "/live", &stopListening); });
    station.play(4s);
    EXPECT_EQ(server.title(), QStringLiteral("Ærø Band - Tone A"));
    streamer.setTitle(QStringLiteral("Next - Tone B"));
    EXPECT_TRUE(station.play(3s, [&] { return server.title() == QStringLiteral("Next - Tone B"); }));
    stopListening = true;
    listener.join();
    long rate = 0;
    const std::vector<float> heard = decodeMp3(mp3, &rate);
    EXPECT_EQ(rate, 44100);
    // From where the sound starts (an MP3 stream opens with the encoder's delay):
    // rising zero crossings per second, and the RMS.
    const auto first =
        std::size_t(std::find_if(heard.begin(), heard.end(), [](float v) { return std::fabs(v) >= 0.01f; }) - heard.begin());
    ASSERT_GT(heard.size() - first, 2u * 44100) << "at least two seconds reached the listener";
    long crossings = 0;
    double sum = 0;
    for (std::size_t i = first + 1; i < heard.size(); ++i) {
        crossings += heard[i - 1] < 0 && heard[i] >= 0;
        sum += double(heard[i]) * heard[i];
    }
    const double frames = double(heard.size() - first);
    EXPECT_NEAR(crossings * double(rate) / frames, 440, 5);
    EXPECT_NEAR(std::sqrt(sum / frames), 0.1 / std::sqrt(2.0), 0.015);

    // The server goes away mid-song and comes back: the stream reconnects on
    // its own and the title is sent again.
    server.stop();
    EXPECT_TRUE(station.play(6s, [&] { return streamer.status().state == StreamState::Reconnecting; }))
        << streamer.status().text.toStdString();
    station.play(1s);
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(station.play(8s, [&] { return connected() && server.title() == QStringLiteral("Next - Tone B"); }))
        << streamer.status().text.toStdString() << server.logs().toStdString();
    EXPECT_FALSE(streamer.status().text.contains(kPassword));
    const std::int64_t rendered = station.engine->framesRendered();
    streamer.stop();
    EXPECT_EQ(streamer.status().state, StreamState::Off);
    station.song.reset();
    station.engine.reset();

    // Locally, every frame is the song's own, without a gap, all the way through.
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(station.wavPath).constData(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(info.frames, rendered);
    std::vector<float> local(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_float(f, local.data(), info.frames);
    sf_close(f);
    float worst = 0;
    for (std::size_t i = 0; i < local.size(); ++i)
        worst = std::max(worst, std::fabs(local[i] - static_cast<float>(0.1 * std::sin(2 * M_PI * 440 * double(i / 2) / 44100))));
    EXPECT_LT(worst, 2e-4f);
}

TEST_F(IcecastStream, RefusedLoginSaysSoAndRetriesNoFasterThanTheBackoff)
{
    IcecastStreamer streamer(streamerOptions);
    target.password = QStringLiteral("wrong-password");
    streamer.start(target);
    // The moment of every failure the status reports.
    std::vector<SteadyClock::time_point> failures;
    int seen = -1;
    // Four failures, however long a busy machine takes to get through them.
    for (auto until = SteadyClock::now() + 30s; failures.size() < 4 && SteadyClock::now() < until;
         std::this_thread::sleep_for(5ms)) {
        const StreamStatus s = streamer.status();
        ASSERT_NE(s.state, StreamState::Connected);
        if (s.serial != seen && s.text.contains(QStringLiteral("reconnecting in"))) {
            failures.push_back(SteadyClock::now());
            EXPECT_TRUE(s.text.contains(QStringLiteral("login refused")) && !s.text.contains(QStringLiteral("wrong-password")))
                << s.text.toStdString();
        }
        seen = s.serial;
    }
    streamer.stop();
    ASSERT_EQ(failures.size(), 4u);
    // Waits of 200, 400 and 800 ms: each failure is seen when this loop next
    // looks, which a busy machine may delay, so each gap may come up short by
    // that much, never by a whole wait.
    const int waits[] = {200, 400, 800};
    for (std::size_t i = 1; i < failures.size(); ++i)
        EXPECT_GE(failures[i] - failures[i - 1], std::chrono::milliseconds(waits[i - 1] - 100)) << i;
}
