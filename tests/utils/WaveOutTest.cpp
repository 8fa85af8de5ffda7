#include "utils/WaveOut.h"

#include "color/host/Resources.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace plx;

namespace {

// Builds WAV data chunk by chunk.
class WaveBuilder {
public:
    WaveBuilder& Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::int32_t blockAlign = -1)
    {
        std::vector<std::uint8_t> body;
        Put16(body, tag);
        Put16(body, channels);
        Put32(body, rate);
        const auto align = static_cast<std::uint16_t>(blockAlign >= 0 ? blockAlign : channels * (bits / 8));
        Put32(body, rate * align);
        Put16(body, align);
        Put16(body, bits);
        return Chunk("fmt ", body);
    }
    WaveBuilder& Extensible(std::uint16_t subTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
        std::uint16_t cbSize = 22, std::uint8_t guidByte = 0x71)
    {
        std::vector<std::uint8_t> body;
        Put16(body, 0xFFFE);
        Put16(body, channels);
        Put32(body, rate);
        Put32(body, rate * channels * (bits / 8));
        Put16(body, static_cast<std::uint16_t>(channels * (bits / 8)));
        Put16(body, bits);
        Put16(body, cbSize);
        Put16(body, bits); // valid bits
        Put32(body, 0); // channel mask
        Put16(body, subTag);
        const std::uint8_t tail[14] = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, guidByte };
        body.insert(body.end(), tail, tail + 14);
        return Chunk("fmt ", body);
    }
    WaveBuilder& Data(std::size_t bytes) { return Chunk("data", std::vector<std::uint8_t>(bytes, 0x11)); }
    WaveBuilder& Chunk(const char* id, const std::vector<std::uint8_t>& body, bool pad = true)
    {
        m_chunks.insert(m_chunks.end(), id, id + 4);
        Put32(m_chunks, static_cast<std::uint32_t>(body.size()));
        m_chunks.insert(m_chunks.end(), body.begin(), body.end());
        if (pad && body.size() % 2)
            m_chunks.push_back(0);
        return *this;
    }
    //! The whole file; riffDelta changes the stored RIFF size.
    [[nodiscard]] std::vector<std::uint8_t> Bytes(std::int64_t riffDelta = 0) const
    {
        std::vector<std::uint8_t> w { 'R', 'I', 'F', 'F' };
        Put32(w, static_cast<std::uint32_t>(static_cast<std::int64_t>(m_chunks.size()) + 4 + riffDelta));
        w.insert(w.end(), { 'W', 'A', 'V', 'E' });
        w.insert(w.end(), m_chunks.begin(), m_chunks.end());
        return w;
    }

private:
    static void Put16(std::vector<std::uint8_t>& v, std::uint32_t x)
    {
        v.push_back(static_cast<std::uint8_t>(x));
        v.push_back(static_cast<std::uint8_t>(x >> 8));
    }
    static void Put32(std::vector<std::uint8_t>& v, std::uint32_t x)
    {
        Put16(v, x & 0xFFFF);
        Put16(v, x >> 16);
    }
    std::vector<std::uint8_t> m_chunks;
};

bool Parses(const std::vector<std::uint8_t>& bytes)
{
    return ParseWave(bytes).has_value();
}

} // namespace

TEST(WaveParser, ThePackageTone)
{
    const auto resource = FindResource(HInstance(), "TONE", RT_RCDATA_NAME);
    ASSERT_TRUE(resource);
    const auto info = ParseWave(*resource);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->SampleFormat, TWaveSampleFormat::S16);
    EXPECT_EQ(info->Channels, 1);
    EXPECT_EQ(info->SamplesPerSec, 22050u);
    EXPECT_EQ(info->BlockAlign, 2);
    EXPECT_EQ(info->FrameCount(), 882u);
    EXPECT_EQ(info->DurationUs(), 40000);
    EXPECT_EQ(info->Samples.data(), resource->data() + 44);
}

TEST(WaveParser, SampleFormats)
{
    const struct {
        std::uint16_t tag, bits;
        TWaveSampleFormat format;
    } cases[] = {
        { 1, 8, TWaveSampleFormat::U8 },
        { 1, 16, TWaveSampleFormat::S16 },
        { 1, 24, TWaveSampleFormat::S24 },
        { 1, 32, TWaveSampleFormat::S32 },
        { 3, 32, TWaveSampleFormat::Float32 },
        { 3, 64, TWaveSampleFormat::Float64 },
    };
    for (const auto& c : cases) {
        const auto bytes = WaveBuilder().Fmt(c.tag, 2, 44100, c.bits).Data(c.bits / 4 * 10).Bytes();
        const auto info = ParseWave(bytes);
        ASSERT_TRUE(info) << c.tag << "/" << c.bits;
        EXPECT_EQ(info->SampleFormat, c.format);
        EXPECT_EQ(info->FrameCount(), 10u);
        const auto ext = ParseWave(WaveBuilder().Extensible(c.tag, 2, 44100, c.bits).Data(c.bits / 4 * 10).Bytes());
        ASSERT_TRUE(ext) << "extensible " << c.tag << "/" << c.bits;
        EXPECT_EQ(ext->SampleFormat, c.format);
    }
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 1, 8000, 12).Data(10).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(3, 1, 8000, 16).Data(10).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(2, 1, 8000, 4, 256).Data(256).Bytes())) << "ADPCM";
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(6, 1, 8000, 8).Data(10).Bytes())) << "A-law";
    EXPECT_FALSE(Parses(WaveBuilder().Extensible(1, 1, 8000, 16, 21).Data(10).Bytes())) << "short extension";
    EXPECT_FALSE(Parses(WaveBuilder().Extensible(1, 1, 8000, 16, 22, 0x72).Data(10).Bytes())) << "foreign sub-format";
}

TEST(WaveParser, ChannelsRatesAndBlockAlign)
{
    EXPECT_TRUE(Parses(WaveBuilder().Fmt(1, 8, 768000, 16).Data(32).Bytes()));
    EXPECT_TRUE(Parses(WaveBuilder().Fmt(1, 1, 1, 8).Data(1).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 0, 8000, 16).Data(10).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 9, 8000, 16).Data(18).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 1, 0, 16).Data(10).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 1, 768001, 16).Data(10).Bytes()));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 2, 8000, 16, 2).Data(10).Bytes())) << "block align must fit the frame";
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 2, 8000, 16, 0).Data(10).Bytes()));
}

TEST(WaveParser, ChunksAroundAndBetween)
{
    const std::vector<std::uint8_t> odd { 1, 2, 3 };
    const auto info = ParseWave(WaveBuilder().Chunk("LIST", odd).Fmt(1, 1, 8000, 8).Chunk("fact", odd).Data(5).Bytes());
    ASSERT_TRUE(info) << "unknown chunks, odd sizes with their pad bytes";
    EXPECT_EQ(info->FrameCount(), 5u);
    EXPECT_TRUE(Parses(WaveBuilder().Data(4).Fmt(1, 1, 8000, 8).Bytes())) << "data before fmt";
    EXPECT_TRUE(Parses(WaveBuilder().Fmt(1, 1, 8000, 8).Chunk("data", odd, false).Bytes())) << "no pad byte at the very end";
    const auto twice = ParseWave(WaveBuilder().Fmt(1, 1, 8000, 8).Data(3).Data(9).Bytes());
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->FrameCount(), 3u) << "the first data chunk counts";
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 1, 8000, 8).Bytes())) << "no data";
    EXPECT_FALSE(Parses(WaveBuilder().Data(4).Bytes())) << "no fmt";
    EXPECT_FALSE(Parses(WaveBuilder().Chunk("fmt ", std::vector<std::uint8_t>(14, 1)).Data(4).Bytes())) << "short fmt";
}

TEST(WaveParser, PartialFramesAreDropped)
{
    const auto info = ParseWave(WaveBuilder().Fmt(1, 2, 8000, 16).Data(7).Bytes());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->FrameCount(), 1u);
    EXPECT_EQ(info->Samples.size(), 4u);
    const auto empty = ParseWave(WaveBuilder().Fmt(1, 2, 8000, 16).Data(0).Bytes());
    ASSERT_TRUE(empty) << "a sound of no frames is still a sound";
    EXPECT_EQ(empty->DurationUs(), 0);
}

TEST(WaveParser, EveryLengthIsCheckedAgainstTheData)
{
    const auto good = WaveBuilder().Fmt(1, 1, 8000, 8).Data(100).Bytes();
    ASSERT_TRUE(Parses(good));
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 1, 8000, 8).Data(100).Bytes(1))) << "RIFF size beyond the data";
    EXPECT_FALSE(Parses(WaveBuilder().Fmt(1, 1, 8000, 8).Data(100).Bytes(-50))) << "data chunk beyond the RIFF size";
    auto trailing = good;
    trailing.insert(trailing.end(), 64, 0xEE);
    EXPECT_TRUE(Parses(trailing)) << "bytes after the RIFF chunk are ignored";
    auto bigData = good;
    bigData[40] = 0xFF, bigData[41] = 0xFF, bigData[42] = 0xFF, bigData[43] = 0x7F;
    EXPECT_FALSE(Parses(bigData));
    auto hugeRiff = good;
    hugeRiff[4] = hugeRiff[5] = hugeRiff[6] = hugeRiff[7] = 0xFF;
    EXPECT_FALSE(Parses(hugeRiff));
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(Parses(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)))) << cut;
    auto wrongMagic = good;
    wrongMagic[8] = 'X';
    EXPECT_FALSE(Parses(wrongMagic));
}

TEST(WaveParser, DurationInMicroseconds)
{
    const auto info = ParseWave(WaveBuilder().Fmt(1, 1, 22050, 8).Data(22050).Bytes());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->DurationUs(), 1000000);
    const auto third = ParseWave(WaveBuilder().Fmt(1, 1, 3, 8).Data(1).Bytes());
    ASSERT_TRUE(third);
    EXPECT_EQ(third->DurationUs(), 333333);
}

// ---- One sound at a time --------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;

// Sounds on the silent device, which takes each sound's length in real time.
class WavePlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_device = WaveDevice();
        SetWaveDevice(TWaveDevice::Silent);
    }
    void TearDown() override
    {
        StopWave();
        SetWaveDevice(m_device);
    }
    // A mono 8-bit sound of the given length at 8,000 frames a second.
    TWaveInfo Sound(std::int32_t milliseconds)
    {
        m_bytes.push_back(std::make_shared<std::vector<std::uint8_t>>(
            WaveBuilder().Fmt(1, 1, 8000, 8).Data(static_cast<std::size_t>(milliseconds) * 8).Bytes()));
        return *ParseWave(*m_bytes.back());
    }

private:
    TWaveDevice m_device { TWaveDevice::Automatic };
    std::vector<std::shared_ptr<std::vector<std::uint8_t>>> m_bytes;
};

std::int64_t MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

} // namespace

TEST_F(WavePlayerTest, StopWaveEndsAWaitingSoundPlayedOnAnotherThread)
{
    const TWaveInfo long10s = Sound(10000);
    std::int64_t waited = -1;
    const auto start = Clock::now();
    std::thread player([&] {
        PlayWaveData(long10s, nullptr, TWaveWait::UntilEnd);
        waited = MillisecondsSince(start);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    StopWave();
    const std::int64_t stopped = MillisecondsSince(start);
    player.join();
    EXPECT_GE(waited, 200);
    EXPECT_LT(waited, 5000) << "not the sound's ten seconds";
    EXPECT_LE(waited, stopped) << "StopWave returns after the sound has let its device go";
    EXPECT_FALSE(WavePlaying());
}

TEST_F(WavePlayerTest, ANewSoundReplacesAWaitingOne)
{
    const TWaveInfo long10s = Sound(10000);
    const TWaveInfo short40ms = Sound(40);
    for (TWaveWait next : { TWaveWait::Async, TWaveWait::UntilEnd }) {
        std::int64_t waited = -1;
        const auto start = Clock::now();
        std::thread player([&] {
            PlayWaveData(long10s, nullptr, TWaveWait::UntilEnd);
            waited = MillisecondsSince(start);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        PlayWaveData(short40ms, nullptr, next);
        player.join();
        EXPECT_LT(waited, 5000);
        EXPECT_EQ(WavePlaying(), next == TWaveWait::Async) << "only a sound started with Async counts";
        StopWave();
        EXPECT_FALSE(WavePlaying());
    }
}

TEST_F(WavePlayerTest, AWaitingSoundStopsAnAsynchronousOne)
{
    const TWaveInfo long10s = Sound(10000);
    PlayWaveData(long10s, nullptr, TWaveWait::Async);
    EXPECT_TRUE(WavePlaying());
    const auto start = Clock::now();
    PlayWaveData(Sound(20), nullptr, TWaveWait::UntilEnd);
    EXPECT_FALSE(WavePlaying());
    EXPECT_LT(MillisecondsSince(start), 5000);
}

TEST_F(WavePlayerTest, CallsFromManyThreadsKeepOneSoundAtATime)
{
    const TWaveInfo sounds[] = { Sound(1), Sound(5), Sound(30), Sound(10000) };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                switch ((i + t) % 4) {
                case 0: PlayWaveData(sounds[(i + t) % 4], nullptr, TWaveWait::Async); break;
                case 1: PlayWaveData(sounds[i % 3], nullptr, TWaveWait::UntilEnd); break;
                case 2: StopWave(); break;
                default: PlayWaveData(sounds[3], nullptr, TWaveWait::Async); break;
                }
            }
        });
    // The ten-second sounds end when the next call comes, so this finishes.
    for (auto& thread : threads)
        thread.join();
    StopWave();
    EXPECT_FALSE(WavePlaying());
}
