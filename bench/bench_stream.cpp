// CPU cost of streaming: one minute of the station's output encoded to MP3
// at 128 kbit/s and sent to an Icecast server on the loopback address, fed
// as fast as the streaming thread takes it. Printed as a percentage of one
// core over the minute the audio lasts (goal: under 2 %).
//   bench_stream          starts /usr/bin/icecast2 itself on a free port

#include "platform/stream/IcecastStreamer.h"
#include "LoopbackIcecast.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

using namespace tavlo;
using namespace std::chrono_literals;

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

}  // namespace

int main()
{
    if (!QFile::exists(QStringLiteral("/usr/bin/icecast2"))) {
        std::fprintf(stderr, "bench_stream: /usr/bin/icecast2 missing\n");
        return 1;
    }
    tavlo::test::IcecastServer server(QStringLiteral("bench"));
    if (!server.start()) {
        std::fprintf(stderr, "bench_stream: the Icecast server did not start\n");
        return 1;
    }
    const int port = server.port();

    // A minute of chords with a little noise: the encoder's usual work.
    constexpr int kRate = 44100;
    constexpr int kFrames = 60 * kRate;
    std::vector<float> audio(2 * static_cast<std::size_t>(kFrames));
    unsigned noise = 1;
    for (int i = 0; i < kFrames; ++i) {
        const double t = double(i) / kRate;
        noise = noise * 1664525u + 1013904223u;
        const double n = (double(noise >> 8) / double(1u << 24) - 0.5) * 0.05;
        audio[2 * static_cast<std::size_t>(i)] = static_cast<float>(0.2 * std::sin(2 * M_PI * 220 * t) + 0.15 * std::sin(2 * M_PI * 330 * t) + n);
        audio[2 * static_cast<std::size_t>(i) + 1] = static_cast<float>(0.2 * std::sin(2 * M_PI * 277 * t) + 0.15 * std::sin(2 * M_PI * 440 * t) - n);
    }

    IcecastStreamer streamer;
    StreamTarget target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = port;
    target.password = QStringLiteral("bench");
    target.bitrate = 128;
    streamer.start(target);
    for (int i = 0; i < 500 && streamer.status().state != StreamState::Connected; ++i)
        std::this_thread::sleep_for(10ms);
    if (streamer.status().state != StreamState::Connected) {
        std::fprintf(stderr, "bench_stream: %s\n", qPrintable(streamer.status().text));
        return 1;
    }

    StreamTap& tap = streamer.tap();
    const double cpu0 = cpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    constexpr int kBlock = 512;
    for (int at = 0; at < kFrames; at += kBlock) {
        // Kept below half full, so nothing is dropped and all of it is encoded.
        while (tap.readable() > tap.capacity() / 2)
            std::this_thread::sleep_for(1ms);
        tap.write(audio.data() + 2 * static_cast<std::size_t>(at), std::min(kBlock, kFrames - at));
    }
    while (tap.readable() > 0)
        std::this_thread::sleep_for(1ms);
    const double cpu = cpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const bool dropped = tap.droppedFrames() > 0;
    streamer.stop();
    server.stop();

    std::printf("stream_cpu_percent: %.2f\n", cpu / 60.0 * 100.0);
    std::printf("stream_cpu_seconds_per_minute: %.3f\n", cpu);
    std::printf("stream_wall_seconds_per_minute: %.3f\n", wall);
    if (dropped)
        std::printf("stream_dropped_frames: %lld\n", static_cast<long long>(tap.droppedFrames()));
    return 0;
}
