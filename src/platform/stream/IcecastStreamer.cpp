#include "platform/stream/IcecastStreamer.h"

#include <lame/lame.h>
#include <shout/shout.h>

#include <algorithm>
#include <csignal>
#include <vector>

#include <pthread.h>

namespace tavlo {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChunkFrames = 4608;  // four MP3 frames' worth of samples
constexpr auto kConnectTimeout = std::chrono::seconds(10);
constexpr auto kIdlePoll = std::chrono::milliseconds(10);

void initShoutOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { shout_init(); });
}

QString secondsText(std::chrono::milliseconds ms)
{
    return QString::number(static_cast<double>(ms.count()) / 1000.0, 'g', 3);
}

// Why a connection failed, in words an operator can act on; never the password.
QString reasonFor(int error, shout_t* shout, const StreamTarget& target)
{
    switch (error) {
    case SHOUTERR_NOLOGIN:
        return QStringLiteral("login refused by %1: check the user, the password and the mount").arg(target.displayText());
    case SHOUTERR_NOCONNECT:
        return QStringLiteral("cannot reach %1:%2").arg(target.host).arg(target.port);
    case SHOUTERR_SOCKET:
        return QStringLiteral("connection to %1 lost: %2").arg(target.displayText(), QString::fromUtf8(shout_get_error(shout)));
    default:
        return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(shout_get_error(shout)), target.displayText());
    }
}

}  // namespace

struct IcecastStreamer::Session {
    ~Session()
    {
        if (shout) {
            shout_close(shout);
            shout_free(shout);
        }
        if (lame)
            lame_close(lame);
    }
    shout_t* shout = nullptr;
    lame_t lame = nullptr;
    int titleSent = -1;
    int bitrate = 128;
};

IcecastStreamer::IcecastStreamer(Options options) : m_options(options)
{
    m_status.text = QStringLiteral("Streaming: off");
}

IcecastStreamer::~IcecastStreamer() { stop(); }

void IcecastStreamer::start(const StreamTarget& target)
{
    stop();
    m_stopping = false;
    setStatus(StreamState::Connecting, QStringLiteral("Streaming: connecting to %1").arg(target.displayText()));
    m_thread = std::thread([this, target] { run(target); });
}

void IcecastStreamer::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
    setStatus(StreamState::Off, QStringLiteral("Streaming: off"));
}

void IcecastStreamer::setTitle(const QString& title)
{
    std::lock_guard lock(m_mutex);
    if (title == m_title)
        return;
    m_title = title;
    ++m_titleSerial;
}

StreamStatus IcecastStreamer::status() const
{
    std::lock_guard lock(m_mutex);
    return m_status;
}

void IcecastStreamer::setStatus(StreamState state, const QString& text)
{
    std::lock_guard lock(m_mutex);
    if (m_status.state == state && m_status.text == text)
        return;
    m_status.state = state;
    m_status.text = text;
    ++m_status.serial;
}

bool IcecastStreamer::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, duration, [this] { return m_stopping.load(); });
}

void IcecastStreamer::run(StreamTarget target)
{
    initShoutOnce();
    // libshout writes to a socket the server may have closed: the SIGPIPE
    // that brings must stay pending on this thread rather than end the program.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    auto clearPipe = [&pipe] {
        const timespec none{0, 0};
        while (sigtimedwait(&pipe, nullptr, &none) > 0) {
        }
    };
    auto retry = m_options.firstRetry;
    QString why;
    while (!m_stopping) {
        // Each try shows, so the operator sees the retries happen.
        if (!why.isEmpty())
            setStatus(StreamState::Reconnecting,
                      QStringLiteral("Streaming: trying %1 again (%2)").arg(target.displayText(), why));
        Session session;
        session.shout = shout_new();
        shout_t* s = session.shout;
        session.bitrate = target.bitrate;
        const QByteArray host = target.host.toUtf8();
        const QByteArray user = target.user.toUtf8();
        const QByteArray password = target.password.toUtf8();
        const QByteArray mount = target.mount.toUtf8();
        const QByteArray bitrate = QByteArray::number(target.bitrate);
        shout_set_host(s, host.constData());
        shout_set_port(s, static_cast<unsigned short>(target.port));
        shout_set_user(s, user.constData());
        shout_set_password(s, password.constData());
        shout_set_mount(s, mount.constData());
        shout_set_protocol(s, SHOUT_PROTOCOL_HTTP);
        shout_set_tls(s, SHOUT_TLS_DISABLED);
        shout_set_content_format(s, SHOUT_FORMAT_MP3, SHOUT_USAGE_AUDIO, nullptr);
        shout_set_audio_info(s, SHOUT_AI_BITRATE, bitrate.constData());
        shout_set_meta(s, SHOUT_META_NAME, "Tavlo");
        shout_set_nonblocking(s, 1);

        int rc = shout_open(s);
        const auto deadline = Clock::now() + kConnectTimeout;
        while (rc == SHOUTERR_BUSY && !m_stopping && Clock::now() < deadline) {
            pause(kIdlePoll);
            rc = shout_get_connected(s);
        }
        if (m_stopping)
            break;
        if (rc == SHOUTERR_SUCCESS || rc == SHOUTERR_CONNECTED) {
            retry = m_options.firstRetry;
            setStatus(StreamState::Connected, QStringLiteral("Streaming: connected to %1").arg(target.displayText()));
            why = pump(session);
            clearPipe();
            m_tap.setOpen(false);
            m_tap.discard();
            if (m_stopping)
                break;
        } else {
            why = rc == SHOUTERR_BUSY ? QStringLiteral("no answer from %1:%2").arg(target.host).arg(target.port)
                                      : reasonFor(rc, s, target);
        }
        setStatus(StreamState::Reconnecting,
                  QStringLiteral("Streaming: reconnecting in %1 s (%2)").arg(secondsText(retry), why));
        if (!pause(retry))
            break;
        retry = std::min(retry * 2, m_options.longestRetry);
    }
    m_tap.setOpen(false);
}

QString IcecastStreamer::pump(Session& session)
{
    session.lame = lame_init();
    lame_set_in_samplerate(session.lame, m_options.sampleRate);
    lame_set_num_channels(session.lame, 2);
    lame_set_brate(session.lame, std::clamp(session.bitrate, 32, 320));
    lame_set_quality(session.lame, 7);  // fast; the stream's bitrate limits its quality more than this
    if (lame_init_params(session.lame) < 0)
        return QStringLiteral("the MP3 encoder refused its settings");

    std::vector<float> pcm(2 * kChunkFrames);
    std::vector<unsigned char> mp3(kChunkFrames * 5 / 4 + 7200);
    // What plays from now on; audio from before the connection is stale.
    m_tap.discard();
    m_tap.setOpen(true);
    auto lastProgress = Clock::now();
    while (!m_stopping) {
        int titleSerial = 0;
        QString title;
        {
            std::lock_guard lock(m_mutex);
            titleSerial = m_titleSerial;
            title = m_title;
        }
        if (titleSerial != session.titleSent && !title.isEmpty()) {
            shout_metadata_t* meta = shout_metadata_new();
            const QByteArray utf8 = title.toUtf8();
            int rc = shout_metadata_add(meta, "song", utf8.constData());
            if (rc == SHOUTERR_SUCCESS)
                rc = shout_set_metadata_utf8(session.shout, meta);
            shout_metadata_free(meta);
            // Busy: the request is still on its way; asked again next round.
            if (rc != SHOUTERR_BUSY)
                session.titleSent = titleSerial;
        }

        const int frames = m_tap.read(pcm.data(), kChunkFrames);
        if (frames == 0) {
            // Keeps the queue moving, and notices a closed connection, while nothing plays.
            const int rc = shout_send(session.shout, nullptr, 0);
            if (rc == SHOUTERR_SOCKET || rc == SHOUTERR_UNCONNECTED)
                return QStringLiteral("connection lost: %1").arg(QString::fromUtf8(shout_get_error(session.shout)));
            pause(kIdlePoll);
            continue;
        }
        // The mix is not limited; the encoder wants full scale at most.
        for (int i = 0; i < 2 * frames; ++i)
            pcm[static_cast<std::size_t>(i)] = std::clamp(pcm[static_cast<std::size_t>(i)], -1.0f, 1.0f);
        const int bytes = lame_encode_buffer_interleaved_ieee_float(session.lame, pcm.data(), frames, mp3.data(),
                                                                    static_cast<int>(mp3.size()));
        if (bytes < 0)
            return QStringLiteral("the MP3 encoder failed (%1)").arg(bytes);
        if (bytes > 0) {
            const int rc = shout_send(session.shout, mp3.data(), static_cast<std::size_t>(bytes));
            if (rc != SHOUTERR_SUCCESS && rc != SHOUTERR_BUSY)
                return QStringLiteral("connection lost: %1").arg(QString::fromUtf8(shout_get_error(session.shout)));
        }
        // A server that stops reading leaves the queue growing: the tap
        // drops the oldest audio meanwhile, and after a while the
        // connection counts as lost.
        if (shout_queuelen(session.shout) < 64 * 1024)
            lastProgress = Clock::now();
        else if (Clock::now() - lastProgress > m_options.stallLimit)
            return QStringLiteral("the server stopped taking the stream");
    }
    return QString();
}

}  // namespace tavlo
