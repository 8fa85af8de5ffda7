// WaveOut: reading WAV data and playing it, one sound at a time, through ALSA
// when the system has it and through a silent device otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace plx {

//! How one sample is stored: unsigned 8-bit, signed 16-, 24- or 32-bit integers, or 32- or 64-bit floats.
enum class TWaveSampleFormat : std::uint8_t { U8, S16, S24, S32, Float32, Float64 };

//! The playable part of WAV data: its format and its whole frames.
struct TWaveInfo {
    //! The storage of one sample.
    TWaveSampleFormat SampleFormat { TWaveSampleFormat::S16 };
    //! Samples per frame, 1 to 8.
    std::uint16_t Channels { 0 };
    //! Frames per second.
    std::uint32_t SamplesPerSec { 0 };
    //! Bytes per frame (one sample of every channel).
    std::uint16_t BlockAlign { 0 };
    //! The frames, inside the bytes that were parsed.
    std::span<const std::uint8_t> Samples;

    //! The number of whole frames in Samples.
    [[nodiscard]] std::uint64_t FrameCount() const noexcept { return BlockAlign ? Samples.size() / BlockAlign : 0; }
    //! How long the sound lasts, in microseconds.
    [[nodiscard]] std::int64_t DurationUs() const noexcept;
};

//! Reads RIFF WAVE data: PCM with 8, 16, 24 or 32 bits, or IEEE floats of 32
//! or 64 bits (plain or in the extensible format), 1 to 8 channels at 1 to
//! 768,000 frames per second. The RIFF size and every chunk size must lie
//! inside bytes; the first "fmt " and "data" chunks count, and a partial last
//! frame is dropped. Anything else (other encodings, truncated data) gives
//! nullopt.
[[nodiscard]] std::optional<TWaveInfo> ParseWave(std::span<const std::uint8_t> bytes) noexcept;

//! Where sounds go.
enum class TWaveDevice : std::uint8_t {
    //! ALSA's default device when libasound.so.2 loads and the device opens;
    //! otherwise the silent device.
    Automatic,
    //! Plays nothing but takes the sound's length in real time.
    Silent,
};

//! Chooses the device for the sounds that start from now on. The environment
//! variable PLUMEX_SOUND=silent makes Automatic silent as well.
void SetWaveDevice(TWaveDevice device) noexcept;
//! The device chosen for new sounds.
[[nodiscard]] TWaveDevice WaveDevice() noexcept;

//! Whether PlayWaveData returns at once (Async) or when the sound has finished (UntilEnd).
enum class TWaveWait : std::uint8_t { Async, UntilEnd };

//! Stops the sound playing now, however it was started, and plays this one;
//! with UntilEnd returns when it has finished or has been stopped (by StopWave
//! or a new sound, from any thread). keepAlive holds whatever owns the samples'
//! bytes (null for bytes that live as long as the program, such as resources).
void PlayWaveData(const TWaveInfo& info, std::shared_ptr<const void> keepAlive, TWaveWait wait);
//! Stops the sound playing now, if any, whether started with Async or with
//! UntilEnd on another thread, and waits until its device is closed.
void StopWave();
//! True while a sound started with Async is playing.
[[nodiscard]] bool WavePlaying() noexcept;

} // namespace plx
