#include "platform/audio/AudioEngine.h"
#include "platform/stream/IcecastStreamer.h"
#include "../audio/TestMedia.h"
#include "LoopbackIcecast.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <mpg123.h>
#include <sndfile.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <mutex>
#include <thread>

using namespace tavlo;
using namespace tavlo::test;
using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {

const QString kPassword = QStringLiteral("on-air-secret");

// A listener: fetches the mount on a thread of its own and keeps the MP3 bytes.
class Listener {
public:
    Listener(int port, const QByteArray& mount)
    {
        m_thread = std::thread([this, port, mount] {
            const int fd = connectLoopback(port);
            if (fd < 0)
                return;
            const QByteArray request = "GET " + mount + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
            [[maybe_unused]] auto sent = ::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
            char buf[8192];
            QByteArray all;
            while (!m_stop) {
                const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
                if (n == 0)
                    break;
                if (n > 0)
                    all.append(buf, n);
            }
            ::close(fd);
            const qsizetype body = all.indexOf("\r\n\r\n");
            std::lock_guard lock(m_mutex);
            m_header = all.left(body);
            m_body = body < 0 ? QByteArray() : all.mid(body + 4);
        });
    }
    ~Listener() { finish(); }
    void finish()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    QByteArray header() const { return m_header; }
    QByteArray body() const { return m_body; }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    QByteArray m_header;
    QByteArray m_body;
};

// Interleaved stereo float of a whole MP3 byte stream.
std::vector<float> decodeMp3(const QByteArray& mp3, long* rate)
{
    mpg123_init();
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_FORCE_FLOAT | MPG123_FORCE_STEREO, 0);
    mpg123_open_feed(h);
    std::vector<float> out;
    mpg123_feed(h, reinterpret_cast<const unsigned char*>(mp3.constData()), static_cast<size_t>(mp3.size()));
    std::vector<unsigned char> buf(1 << 16);
    for (;;) {
        size_t done = 0;
        const int rc = mpg123_read(h, buf.data(), buf.size(), &done);
        const auto* f = reinterpret_cast<const float*>(buf.data());
        out.insert(out.end(), f, f + done / sizeof(float));
        if (rc == MPG123_NEW_FORMAT) {
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(h, rate, &channels, &encoding);
            continue;
        }
        if (rc != MPG123_OK)
            break;
    }
    mpg123_delete(h);
    return out;
}

// Rising zero crossings per second, and the RMS, of the left channel, from
// where the sound starts (an MP3 stream opens with the encoder's delay).
void measureTone(const std::vector<float>& s, long rate, double* hz, double* rms)
{
    long crossings = 0;
    double sum = 0;
    std::size_t first = 0;
    while (2 * first < s.size() && std::fabs(s[2 * first]) < 0.01f)
        ++first;
    const std::size_t frames = s.size() / 2 - first;
    for (std::size_t i = first + 1; i < first + frames; ++i) {
        crossings += s[2 * (i - 1)] < 0 && s[2 * i] >= 0;
        sum += double(s[2 * i]) * s[2 * i];
    }
    *hz = frames ? crossings * double(rate) / double(frames) : 0;
    *rms = frames ? std::sqrt(sum / double(frames)) : 0;
}

// The station's output: the long 440 Hz tone (amplitude 0.1) on the offline
// engine, rendered in step with the wall clock so the stream runs in real time.
struct Station {
    explicit Station(IcecastStreamer& streamer)
        : wavPath(TestMedia::get().scratch() + QStringLiteral("/stream-local.wav"))
    {
        AudioEngine::Options o;
        o.output = AudioEngine::OutputKind::Offline;
        o.wavPath = wavPath;
        o.wavBits = 32;
        o.streamTap = &streamer.tap();
        engine = std::make_unique<AudioEngine>(o);
        auto opened = engine->open(TestMedia::get().path("long.wav"));
        song = std::move(opened.stream);
        song->setVolume(0);
        song->run();
        started = SteadyClock::now();
    }
    ~Station()
    {
        song.reset();
        engine.reset();
    }
    // Plays on for `duration` of wall time, asking `until` after each block whether to stop early.
    void play(std::chrono::milliseconds duration, const std::function<bool()>& until = {})
    {
        const auto end = SteadyClock::now() + duration;
        while (SteadyClock::now() < end) {
            const double due = std::chrono::duration<double>(SteadyClock::now() - started).count() * 44100;
            while (engine->framesRendered() < static_cast<std::int64_t>(due))
                engine->renderOffline(441);
            if (until && until())
                return;
            std::this_thread::sleep_for(10ms);
        }
    }
    QString wavPath;
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<MediaStream> song;
    SteadyClock::time_point started;
};

bool haveIcecast() { return QFile::exists(QString::fromLatin1(kIcecastProgram)); }

IcecastStreamer::Options quickRetries()
{
    IcecastStreamer::Options o;
    o.firstRetry = 200ms;
    o.longestRetry = 800ms;
    return o;
}

}  // namespace

TEST(IcecastStream, ListenerHearsTheToneTitlesFollowAndAServerRestartLeavesTheLocalOutputAlone)
{
    if (!haveIcecast())
        GTEST_SKIP() << "icecast2 is not installed (/usr/bin/icecast2): no server to stream to";
    IcecastServer server(kPassword, QStringLiteral(TAVLO_TEST_OUTPUT_DIR));
    ASSERT_TRUE(server.start()) << server.logs().toStdString();
    IcecastStreamer streamer(quickRetries());
    Station station(streamer);
    StreamTarget target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = server.port();
    target.password = kPassword;
    streamer.setTitle(QStringLiteral("Ærø Band - Tone A"));
    streamer.start(target);

    auto connected = [&] { return streamer.status().state == StreamState::Connected; };
    station.play(10s, connected);
    ASSERT_TRUE(connected()) << streamer.status().text.toStdString() << server.logs().toStdString();

    // The listener hears the tone, and the server shows the song in play, then the next.
    Listener listener(server.port(), "/live");
    QString title;
    station.play(4s, [&] { return false; });
    title = server.title();
    EXPECT_EQ(title, QStringLiteral("Ærø Band - Tone A"));
    streamer.setTitle(QStringLiteral("Next - Tone B"));
    station.play(3s, [&] { return server.title() == QStringLiteral("Next - Tone B"); });
    EXPECT_EQ(server.title(), QStringLiteral("Next - Tone B"));
    listener.finish();
    long rate = 0;
    const std::vector<float> heard = decodeMp3(listener.body(), &rate);
    double hz = 0;
    double rms = 0;
    measureTone(heard, rate, &hz, &rms);
    EXPECT_EQ(rate, 44100);
    EXPECT_GT(heard.size() / 2, 2u * 44100) << "at least two seconds reached the listener";
    EXPECT_NEAR(hz, 440, 5);
    if (std::fabs(hz - 440) > 5) {
        SF_INFO out{0, 44100, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
        if (SNDFILE* f = sf_open(TAVLO_TEST_OUTPUT_DIR "/stream-heard.actual.wav", SFM_WRITE, &out)) {
            sf_writef_float(f, heard.data(), static_cast<sf_count_t>(heard.size() / 2));
            sf_close(f);
        }
    }
    EXPECT_NEAR(rms, 0.1 / std::sqrt(2.0), 0.015);
    EXPECT_FALSE(streamer.status().text.contains(kPassword));

    // The server goes away mid-song and comes back: the stream reconnects on
    // its own and the title is sent again.
    server.stop();
    station.play(6s, [&] { return streamer.status().state == StreamState::Reconnecting; });
    EXPECT_EQ(streamer.status().state, StreamState::Reconnecting);
    EXPECT_TRUE(streamer.status().text.contains(QStringLiteral("reconnecting")) || streamer.status().text.contains(QStringLiteral("again")))
        << streamer.status().text.toStdString();
    station.play(1s);
    ASSERT_TRUE(server.start());
    station.play(8s, [&] { return connected() && server.title() == QStringLiteral("Next - Tone B"); });
    EXPECT_TRUE(connected()) << streamer.status().text.toStdString() << server.logs().toStdString();
    EXPECT_EQ(server.title(), QStringLiteral("Next - Tone B"));
    const std::int64_t rendered = station.engine->framesRendered();
    streamer.stop();
    EXPECT_EQ(streamer.status().state, StreamState::Off);
    station.song.reset();
    station.engine.reset();

    // Locally, every frame is the song's own, without a gap, all the way through.
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(station.wavPath).constData(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    std::vector<float> local(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_float(f, local.data(), info.frames);
    sf_close(f);
    EXPECT_EQ(info.frames, rendered);
    float worst = 0;
    for (sf_count_t i = 0; i < info.frames; ++i) {
        const float expected = static_cast<float>(0.1 * std::sin(2 * M_PI * 440 * double(i) / 44100));
        worst = std::max({worst, std::fabs(local[2 * i] - expected), std::fabs(local[2 * i + 1] - expected)});
    }
    EXPECT_LT(worst, 2e-4f);
}

TEST(IcecastStream, RefusedLoginSaysSoAndRetriesNoFasterThanTheBackoff)
{
    if (!haveIcecast())
        GTEST_SKIP() << "icecast2 is not installed (/usr/bin/icecast2): no server to stream to";
    IcecastServer server(kPassword, QStringLiteral(TAVLO_TEST_OUTPUT_DIR));
    ASSERT_TRUE(server.start()) << server.logs().toStdString();
    IcecastStreamer streamer(quickRetries());
    StreamTarget target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = server.port();
    target.password = QStringLiteral("wrong-password");
    streamer.start(target);

    // Every failure, as the status says it, with the moment it said it.
    struct Failure {
        SteadyClock::time_point at;
        QString text;
    };
    std::vector<Failure> failures;
    int seen = -1;
    bool everConnected = false;
    for (auto until = SteadyClock::now() + 3500ms; SteadyClock::now() < until; std::this_thread::sleep_for(5ms)) {
        const StreamStatus s = streamer.status();
        everConnected = everConnected || s.state == StreamState::Connected;
        if (s.serial != seen && s.text.contains(QStringLiteral("reconnecting in")))
            failures.push_back({SteadyClock::now(), s.text});
        seen = s.serial;
    }
    streamer.stop();
    EXPECT_FALSE(everConnected);
    ASSERT_GE(failures.size(), 3u);
    ASSERT_LE(failures.size(), 6u) << "200 + 400 + 800 + 800 ms fit in 3.5 s, hardly more";
    const int waits[] = {200, 400, 800, 800, 800, 800};
    for (std::size_t i = 0; i < failures.size(); ++i) {
        EXPECT_TRUE(failures[i].text.contains(QStringLiteral("login refused"))) << failures[i].text.toStdString();
        EXPECT_FALSE(failures[i].text.contains(QStringLiteral("wrong-password")));
        if (i > 0) {
            EXPECT_GE(failures[i].at - failures[i - 1].at, std::chrono::milliseconds(waits[i - 1] - 15)) << i;
        }
    }
}
