#include "engine/StreamTap.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace tavlo;

namespace {

// Frame i carries i on the left and -i on the right, so order, loss and
// tearing between the two channels all show.
std::vector<float> frames(int from, int count)
{
    std::vector<float> v;
    for (int i = from; i < from + count; ++i) {
        v.push_back(static_cast<float>(i));
        v.push_back(-static_cast<float>(i));
    }
    return v;
}

}  // namespace

TEST(StreamTap, KeepsOrderDropsTheOldestWhenFullAndNothingWhileClosed)
{
    StreamTap tap(8);
    tap.write(frames(0, 4).data(), 4);
    EXPECT_EQ(tap.readable(), 0u) << "closed: the audio thread writes nothing";

    tap.setOpen(true);
    tap.write(frames(0, 6).data(), 6);
    tap.write(frames(6, 5).data(), 5);  // 3 frames too many: 0, 1, 2 go
    EXPECT_EQ(tap.droppedFrames(), 3);
    std::vector<float> out(2 * 16);
    ASSERT_EQ(tap.read(out.data(), 16), 8);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 16), frames(3, 8));

    tap.write(frames(100, 20).data(), 20);  // more than the ring: only the newest 8 can be heard
    EXPECT_EQ(tap.droppedFrames(), 3 + 12);
    ASSERT_EQ(tap.read(out.data(), 16), 8);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 16), frames(112, 8));
    tap.write(frames(200, 2).data(), 2);
    tap.discard();
    EXPECT_EQ(tap.read(out.data(), 16), 0);
}

// A slow consumer against a producer that never waits: what arrives is in
// order, never torn or repeated, and with what was dropped adds up to what was written.
TEST(StreamTap, SlowReaderSeesOrderedUntornFramesAndEveryLossCounted)
{
    StreamTap tap(256);
    tap.setOpen(true);
    constexpr int kTotal = 200000;
    constexpr int kBlock = 64;
    std::thread producer([&tap] {
        for (int i = 0; i < kTotal; i += kBlock) {
            const auto block = frames(i, kBlock);
            tap.write(block.data(), kBlock);
        }
    });
    std::vector<float> out(2 * 100);
    long long received = 0;
    float last = -1;
    bool ordered = true;
    bool untorn = true;
    auto drain = [&] {
        const int n = tap.read(out.data(), 100);
        for (int i = 0; i < n; ++i) {
            ordered = ordered && out[2 * i] > last;
            untorn = untorn && out[2 * i + 1] == -out[2 * i];
            last = out[2 * i];
        }
        received += n;
        return n;
    };
    for (int round = 0; round < 3000; ++round) {
        drain();
        if (round % 7 == 0)
            std::this_thread::yield();
    }
    producer.join();
    while (drain() > 0) {
    }
    EXPECT_TRUE(ordered);
    EXPECT_TRUE(untorn);
    EXPECT_GT(tap.droppedFrames(), 0) << "the reader was meant to fall behind";
    EXPECT_EQ(received + tap.droppedFrames(), kTotal);
    EXPECT_EQ(last, static_cast<float>(kTotal - 1)) << "the newest frame is never the one dropped";
}
