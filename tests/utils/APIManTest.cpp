#include "utils/APIMan.h"

#include "framework/host/ExtCtrls.h"
#include "framework/host/FrameworkFixture.h"
#include "utils/WaveOut.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;
namespace fs = std::filesystem;

namespace {

// ---- Pop-up placement -------------------------------------------------------------

// A form at (100, 50) holding a 80 × 25 bevel at (10, 20), so the bevel's
// top-left corner is (110, 70) on the screen; the pop-up is 150 × 100.
class PopupTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        m_anchor = new TBevel(&Form());
        m_anchor->SetParent(&Form());
        m_anchor->SetBounds(10, 20, 80, 25);
        m_popup = std::make_unique<TForm>(nullptr);
        m_popup->SetBounds(0, 0, 150, 100);
    }
    void TearDown() override
    {
        m_popup.reset();
        FormTest::TearDown();
    }
    [[nodiscard]] bool PopupShowing() const
    {
        return m_popup->HandleAllocated() && Headless().IsWindowVisible(m_popup->WindowId());
    }

    TBevel* m_anchor { nullptr };
    std::unique_ptr<TForm> m_popup;
};

TEST_F(PopupTest, ShowsBelowTheControlWithRightEdgesAligned)
{
    PopupForm(*m_popup, *m_anchor);
    EXPECT_TRUE(PopupShowing());
    EXPECT_EQ(m_popup->Top(), 70 + 25);
    EXPECT_EQ(m_popup->Left(), 110 - (150 - 80));
    EXPECT_EQ(m_popup->Left() + m_popup->Width(), 110 + 80);
}

TEST_F(PopupTest, ASecondCallClosesAndAThirdShowsAgain)
{
    PopupForm(*m_popup, *m_anchor);
    ASSERT_TRUE(PopupShowing());
    PopupForm(*m_popup, *m_anchor);
    EXPECT_FALSE(PopupShowing());
    Form().SetBounds(200, 60, 300, 200);
    PopupForm(*m_popup, *m_anchor);
    EXPECT_TRUE(PopupShowing());
    EXPECT_EQ(m_popup->Left(), 210 - 70) << "placed at the control again";
    EXPECT_EQ(m_popup->Top(), 80 + 25);
}

TEST_F(PopupTest, GoesAboveNearTheBottomOfTheScreen)
{
    Form().SetBounds(100, 700, 300, 60); // the bevel's top at 720; 720 + 25 + 100 > 768
    PopupForm(*m_popup, *m_anchor);
    EXPECT_EQ(m_popup->Top(), 720 - 100);
    Form().SetBounds(100, 600, 300, 60); // 620 + 25 + 100 = 745 fits
    PopupForm(*m_popup, *m_anchor);
    PopupForm(*m_popup, *m_anchor);
    EXPECT_EQ(m_popup->Top(), 645);
}

TEST_F(PopupTest, AlignsLeftEdgesNearTheLeftOfTheScreen)
{
    Form().SetBounds(0, 50, 300, 200); // the bevel's left at 10; 10 - 70 < 0
    PopupForm(*m_popup, *m_anchor);
    EXPECT_EQ(m_popup->Left(), 10);
    Form().SetBounds(60, 50, 300, 200); // 70 - 70 = 0 is still on the screen
    PopupForm(*m_popup, *m_anchor);
    PopupForm(*m_popup, *m_anchor);
    EXPECT_EQ(m_popup->Left(), 0);
}

// ---- Dragging -----------------------------------------------------------------------

// Records the window a move starts on and whether the capture was gone by then.
class MoveRecorder : public THeadlessPlatform {
public:
    void BeginMoveWindow(TWindowId window) override
    {
        moved.push_back(window);
        captureAtMove = CaptureWindow();
    }
    std::vector<TWindowId> moved;
    TWindowId captureAtMove { 0 };
};

TEST(APIManDrag, ReleasesTheCaptureAndMovesThroughThePlatform)
{
    auto previous = SetPlatform(std::make_unique<MoveRecorder>());
    auto& recorder = dynamic_cast<MoveRecorder&>(CurrentPlatform());
    {
        TForm form(nullptr);
        form.SetBounds(10, 10, 100, 80);
        form.Show();
        recorder.SetCapture(form.WindowId());
        DragForm(form.WindowId());
        ASSERT_EQ(recorder.moved.size(), 1u);
        EXPECT_EQ(recorder.moved[0], form.WindowId());
        EXPECT_EQ(recorder.captureAtMove, 0u);
        EXPECT_EQ(Application().CaptureControl(), nullptr);
    }
    SetPlatform(std::move(previous));
}

// ---- Sounds -------------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> PcmWave(std::uint32_t rate, std::uint32_t frames)
{
    std::vector<std::uint8_t> w;
    w.reserve(44 + frames + 1);
    auto u16 = [&](std::uint32_t v) { w.push_back(static_cast<std::uint8_t>(v)); w.push_back(static_cast<std::uint8_t>(v >> 8)); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    auto tag = [&](const char* t) { w.insert(w.end(), t, t + 4); };
    tag("RIFF");
    u32(36 + frames);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate);
    u16(1);
    u16(8);
    tag("data");
    u32(frames);
    w.insert(w.end(), frames, 128);
    if (frames & 1)
        w.push_back(0);
    return w;
}

// Sounds go to the silent device, which takes their length in real time.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_device = WaveDevice();
        SetWaveDevice(TWaveDevice::Silent);
        std::string pattern = (fs::temp_directory_path() / "plumex-sound-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override
    {
        StopWave();
        SetWaveDevice(m_device);
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    std::string File(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const fs::path path = m_folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

private:
    TWaveDevice m_device { TWaveDevice::Automatic };
    fs::path m_folder;
};

TEST_F(SoundTest, MissingSoundsAreFalse)
{
    EXPECT_FALSE(PlayWave(""));
    EXPECT_FALSE(PlayWaveWait(""));
    EXPECT_FALSE(PlayWave("NO SUCH SOUND"));
    EXPECT_FALSE(PlayWaveWait("/no/such/file.wav"));
    EXPECT_FALSE(WavePlaying());
}

TEST_F(SoundTest, PlayWaveReturnsBeforeTheSoundEnds)
{
    EXPECT_TRUE(PlayWave("TONE"));
    EXPECT_TRUE(WavePlaying()) << "the 40 ms tone is still playing";
    StopWave();
    EXPECT_FALSE(WavePlaying());
    EXPECT_TRUE(PlayWave("tone")) << "resource names ignore case";
}

TEST_F(SoundTest, PlayWaveWaitReturnsAfterTheSound)
{
    const auto start = Clock::now();
    EXPECT_TRUE(PlayWaveWait("TONE"));
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    EXPECT_GE(elapsed.count(), 40000) << "the tone lasts 882 frames at 22,050 per second";
    EXPECT_FALSE(WavePlaying());
}

TEST_F(SoundTest, AFileComesBeforeAResource)
{
    const std::string wave = File("short.wav", PcmWave(8000, 80)); // 10 ms
    const auto start = Clock::now();
    EXPECT_TRUE(PlayWaveWait(wave));
    EXPECT_GE(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count(), 10000);
    EXPECT_TRUE(PlayWave(wave));
}

TEST_F(SoundTest, DataThatIsNotAPlayableWaveIsFalse)
{
    EXPECT_FALSE(PlayWave(File("text.wav", { 'h', 'e', 'l', 'l', 'o' })));
    auto truncated = PcmWave(8000, 800);
    truncated.resize(truncated.size() - 100);
    EXPECT_FALSE(PlayWave(File("cut.wav", truncated)));
    auto adpcm = PcmWave(8000, 80);
    adpcm[20] = 2; // format tag 2
    EXPECT_FALSE(PlayWaveWait(File("adpcm.wav", adpcm)));
    EXPECT_FALSE(PlayWave(File("empty.wav", {})));
    EXPECT_FALSE(WavePlaying());
}

TEST_F(SoundTest, ANewSoundStopsThePreviousOne)
{
    const std::string longWave = File("long.wav", PcmWave(8000, 8000 * 30)); // 30 s
    ASSERT_TRUE(PlayWave(longWave));
    EXPECT_TRUE(WavePlaying());
    const auto start = Clock::now();
    EXPECT_TRUE(PlayWaveWait("TONE"));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count(), 5)
        << "the long sound was stopped, not waited for";
    EXPECT_FALSE(WavePlaying());
    ASSERT_TRUE(PlayWave(longWave));
    EXPECT_TRUE(PlayWave("TONE"));
    EXPECT_TRUE(WavePlaying());
}

} // namespace
