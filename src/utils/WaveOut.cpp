#include "utils/WaveOut.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>
#include <thread>

#include <dlfcn.h>

namespace plx {

// ---- Reading WAV data --------------------------------------------------------

namespace {

std::uint16_t U16(const std::uint8_t* p) noexcept
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t* p) noexcept
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16
        | static_cast<std::uint32_t>(p[3]) << 24;
}

bool Tag(const std::uint8_t* p, std::string_view tag) noexcept
{
    return std::memcmp(p, tag.data(), 4) == 0;
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// The tail shared by the sub-format GUIDs of the extensible format; the first
// two bytes are the plain format tag.
constexpr std::uint8_t kSubFormatTail[14] = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };

constexpr std::uint16_t kMaxChannels = 8;
constexpr std::uint32_t kMaxRate = 768000;

struct TChunk {
    std::size_t offset { 0 };
    std::size_t size { 0 };
    bool found { false };
};

std::optional<TWaveSampleFormat> SampleFormatOf(std::uint16_t tag, std::uint16_t bits) noexcept
{
    if (tag == kFormatPcm) {
        switch (bits) {
        case 8: return TWaveSampleFormat::U8;
        case 16: return TWaveSampleFormat::S16;
        case 24: return TWaveSampleFormat::S24;
        case 32: return TWaveSampleFormat::S32;
        default: return std::nullopt;
        }
    }
    if (tag == kFormatFloat) {
        if (bits == 32)
            return TWaveSampleFormat::Float32;
        if (bits == 64)
            return TWaveSampleFormat::Float64;
    }
    return std::nullopt;
}

} // namespace

std::int64_t TWaveInfo::DurationUs() const noexcept
{
    if (SamplesPerSec == 0)
        return 0;
    // At most 2^32 frames, so the product stays far inside 64 bits.
    return static_cast<std::int64_t>(FrameCount() * 1000000 / SamplesPerSec);
}

std::optional<TWaveInfo> ParseWave(std::span<const std::uint8_t> bytes) noexcept
{
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    if (size < 12 || !Tag(data, "RIFF") || !Tag(data + 8, "WAVE"))
        return std::nullopt;
    const std::uint32_t riffSize = U32(data + 4);
    if (riffSize < 4 || riffSize > size - 8)
        return std::nullopt;
    const std::size_t end = 8 + static_cast<std::size_t>(riffSize);

    TChunk format;
    TChunk samples;
    std::size_t at = 12;
    while (end - at >= 8) {
        const std::size_t length = U32(data + at + 4);
        const std::size_t body = at + 8;
        if (length > end - body)
            return std::nullopt;
        TChunk* chunk = Tag(data + at, "fmt ") ? &format : Tag(data + at, "data") ? &samples : nullptr;
        if (chunk && !chunk->found)
            *chunk = { body, length, true };
        // Chunks are padded to even sizes; a missing pad byte at the end is forgiven.
        const std::size_t next = body + length + (length & 1);
        if (next >= end)
            break;
        at = next;
    }
    if (!format.found || !samples.found || format.size < 16)
        return std::nullopt;

    const std::uint8_t* f = data + format.offset;
    std::uint16_t tag = U16(f);
    const std::uint16_t channels = U16(f + 2);
    const std::uint32_t rate = U32(f + 4);
    const std::uint16_t blockAlign = U16(f + 12);
    const std::uint16_t bits = U16(f + 14);
    if (tag == kFormatExtensible) {
        if (format.size < 40 || U16(f + 16) < 22 || std::memcmp(f + 26, kSubFormatTail, sizeof kSubFormatTail) != 0)
            return std::nullopt;
        tag = U16(f + 24);
    }
    const auto sampleFormat = SampleFormatOf(tag, bits);
    if (!sampleFormat || channels < 1 || channels > kMaxChannels || rate < 1 || rate > kMaxRate
        || blockAlign != channels * (bits / 8))
        return std::nullopt;

    TWaveInfo info;
    info.SampleFormat = *sampleFormat;
    info.Channels = channels;
    info.SamplesPerSec = rate;
    info.BlockAlign = blockAlign;
    info.Samples = bytes.subspan(samples.offset, samples.size - samples.size % blockAlign);
    return info;
}

// ---- Playing -----------------------------------------------------------------

namespace {

// The few entry points of ALSA's library, loaded at run time so that neither
// the library nor its development files are needed to build or run.
struct TAlsa {
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    int (*Open)(void** pcm, const char* name, int stream, int mode);
    int (*SetParams)(void* pcm, int format, int access, unsigned channels, unsigned rate, int softResample, unsigned latencyUs);
    int (*NonBlock)(void* pcm, int nonBlock);
    long (*WriteI)(void* pcm, const void* buffer, unsigned long frames);
    int (*Recover)(void* pcm, int error, int silent);
    int (*Delay)(void* pcm, long* frames);
    int (*Drain)(void* pcm);
    int (*Drop)(void* pcm);
    int (*Close)(void* pcm);
    int (*SetErrorHandler)(ErrorHandler handler);
};

constexpr int kStreamPlayback = 0;
constexpr int kModeNonBlock = 1;
constexpr int kAccessRwInterleaved = 3;
constexpr unsigned kLatencyUs = 100000;

int AlsaFormat(TWaveSampleFormat format) noexcept
{
    switch (format) {
    case TWaveSampleFormat::U8: return 1; // U8
    case TWaveSampleFormat::S16: return 2; // S16_LE
    case TWaveSampleFormat::S24: return 32; // S24_3LE: three bytes a sample
    case TWaveSampleFormat::S32: return 10; // S32_LE
    case TWaveSampleFormat::Float32: return 14; // FLOAT_LE
    case TWaveSampleFormat::Float64: return 16; // FLOAT64_LE
    }
    return 2;
}

void QuietAlsa(const char*, int, const char*, int, const char*, ...)
{
}

template <class F>
bool Resolve(void* library, const char* name, F& function) noexcept
{
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

// Loaded once, at the first sound that may use it; never unloaded.
const TAlsa* Alsa() noexcept
{
    static const TAlsa* const alsa = []() -> const TAlsa* {
        void* library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        static TAlsa a {};
        const bool ok = Resolve(library, "snd_pcm_open", a.Open) && Resolve(library, "snd_pcm_set_params", a.SetParams)
            && Resolve(library, "snd_pcm_nonblock", a.NonBlock) && Resolve(library, "snd_pcm_writei", a.WriteI)
            && Resolve(library, "snd_pcm_recover", a.Recover) && Resolve(library, "snd_pcm_delay", a.Delay)
            && Resolve(library, "snd_pcm_drain", a.Drain) && Resolve(library, "snd_pcm_drop", a.Drop)
            && Resolve(library, "snd_pcm_close", a.Close) && Resolve(library, "snd_lib_error_set_handler", a.SetErrorHandler);
        if (!ok)
            return nullptr;
        // Without a sound card ALSA would print its complaints on stderr.
        a.SetErrorHandler(&QuietAlsa);
        return &a;
    }();
    return alsa;
}

std::atomic<TWaveDevice> g_device { TWaveDevice::Automatic };

bool SilentByEnvironment() noexcept
{
    const char* value = std::getenv("PLUMEX_SOUND");
    return value && std::string_view(value) == "silent";
}

// One sound at a time, whichever call started it. Each sound gets a number;
// it plays while it is the current one, and a new sound or StopWave takes that
// away and waits until the sound has let its device go. An asynchronous sound
// plays on the player's thread; a waiting one on its caller's thread, so a
// stop from another thread ends it too.
class TWavePlayer {
public:
    TWavePlayer() = default;
    TWavePlayer(const TWavePlayer&) = delete;
    TWavePlayer& operator=(const TWavePlayer&) = delete;
    ~TWavePlayer() { Stop(); }

    void Play(const TWaveInfo& info, std::shared_ptr<const void> keepAlive, TWaveWait wait)
    {
        std::unique_lock control(m_control);
        StopPlaying();
        const std::uint64_t sound = Start();
        if (wait == TWaveWait::UntilEnd) {
            control.unlock();
            const TFinish finish { this };
            Run(info, sound);
            return;
        }
        m_playing = true;
        try {
            m_thread = std::thread([this, info, sound, keepAlive = std::move(keepAlive)] {
                Run(info, sound);
                m_playing = false;
                Finish();
            });
        } catch (...) {
            m_playing = false;
            Finish();
            throw;
        }
    }

    void Stop()
    {
        std::lock_guard control(m_control);
        StopPlaying();
    }

    [[nodiscard]] bool Playing() const noexcept { return m_playing; }

private:
    // Under m_control: ends the current sound and waits until it is over.
    void StopPlaying()
    {
        {
            std::unique_lock lock(m_mutex);
            m_current = 0;
            m_wake.notify_all();
            m_idle.wait(lock, [this] { return !m_active; });
        }
        if (m_thread.joinable())
            m_thread.join();
    }

    // Under m_control, with no sound active: makes a new sound the current one.
    std::uint64_t Start()
    {
        std::lock_guard lock(m_mutex);
        m_current = ++m_last;
        m_active = true;
        return m_current;
    }

    void Finish()
    {
        std::lock_guard lock(m_mutex);
        m_active = false;
        m_idle.notify_all();
    }

    // Finishes a waiting sound on every way out of it.
    struct TFinish {
        TWavePlayer* player;
        ~TFinish() { player->Finish(); }
    };

    // Waits until the time has passed or the sound is stopped; true when stopped.
    bool WaitFor(std::chrono::microseconds time, std::uint64_t sound)
    {
        std::unique_lock lock(m_mutex);
        return m_wake.wait_for(lock, time, [this, sound] { return m_current != sound; });
    }

    bool Stopped(std::uint64_t sound)
    {
        std::lock_guard lock(m_mutex);
        return m_current != sound;
    }

    void Run(const TWaveInfo& info, std::uint64_t sound)
    {
        if (g_device.load() == TWaveDevice::Automatic && !SilentByEnvironment() && PlayOnAlsa(info, sound))
            return;
        WaitFor(std::chrono::microseconds(info.DurationUs()), sound);
    }

    // False when ALSA cannot take the sound, which then goes to the silent device.
    bool PlayOnAlsa(const TWaveInfo& info, std::uint64_t sound)
    {
        const TAlsa* alsa = Alsa();
        if (!alsa)
            return false;
        void* pcm = nullptr;
        // Opened without blocking, so a busy device fails at once instead of waiting.
        if (alsa->Open(&pcm, "default", kStreamPlayback, kModeNonBlock) < 0)
            return false;
        if (alsa->NonBlock(pcm, 0) < 0
            || alsa->SetParams(pcm, AlsaFormat(info.SampleFormat), kAccessRwInterleaved, info.Channels, info.SamplesPerSec, 1,
                   kLatencyUs)
                < 0) {
            alsa->Close(pcm);
            return false;
        }
        // Written in slices of about 20 ms, so a stop is heard within one slice.
        const std::uint8_t* frames = info.Samples.data();
        std::uint64_t left = info.FrameCount();
        const unsigned long slice = std::max<unsigned long>(1, info.SamplesPerSec / 50);
        bool stopped = false;
        while (left > 0 && !(stopped = Stopped(sound))) {
            const long written = alsa->WriteI(pcm, frames, static_cast<unsigned long>(std::min<std::uint64_t>(left, slice)));
            if (written < 0) {
                if (alsa->Recover(pcm, static_cast<int>(written), 1) < 0)
                    break;
                continue;
            }
            frames += static_cast<std::size_t>(written) * info.BlockAlign;
            left -= static_cast<std::uint64_t>(written);
        }
        // Let what is queued play out, unless stopped meanwhile.
        long queued = 0;
        if (!stopped && alsa->Delay(pcm, &queued) == 0 && queued > 0)
            stopped = WaitFor(std::chrono::microseconds(static_cast<std::int64_t>(queued) * 1000000 / info.SamplesPerSec), sound);
        if (stopped)
            alsa->Drop(pcm);
        else
            alsa->Drain(pcm);
        alsa->Close(pcm);
        return true;
    }

    // Held while one sound is stopped and the next started, so two callers
    // cannot start sounds side by side.
    std::mutex m_control;
    std::mutex m_mutex;
    // Wakes a playing sound when it stops being the current one.
    std::condition_variable m_wake;
    // Wakes a stopper when the active sound has let its device go.
    std::condition_variable m_idle;
    std::uint64_t m_current { 0 };
    std::uint64_t m_last { 0 };
    bool m_active { false };
    std::thread m_thread;
    std::atomic<bool> m_playing { false };
};

TWavePlayer& Player()
{
    static TWavePlayer player;
    return player;
}

} // namespace

void SetWaveDevice(TWaveDevice device) noexcept
{
    g_device = device;
}

TWaveDevice WaveDevice() noexcept
{
    return g_device.load();
}

void PlayWaveData(const TWaveInfo& info, std::shared_ptr<const void> keepAlive, TWaveWait wait)
{
    Player().Play(info, std::move(keepAlive), wait);
}

void StopWave()
{
    Player().Stop();
}

bool WavePlaying() noexcept
{
    return Player().Playing();
}

} // namespace plx
