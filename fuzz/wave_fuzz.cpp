// Feeds arbitrary bytes to the WAV parser and checks what it accepts: the
// samples lie inside the input, hold whole frames, and the format fields are
// in the documented ranges.
#include "FuzzCheck.h"

#include "utils/WaveOut.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using plx::fuzz::Check;

std::uint16_t BytesPerSample(plx::TWaveSampleFormat format)
{
    switch (format) {
    case plx::TWaveSampleFormat::U8: return 1;
    case plx::TWaveSampleFormat::S16: return 2;
    case plx::TWaveSampleFormat::S24: return 3;
    case plx::TWaveSampleFormat::S32:
    case plx::TWaveSampleFormat::Float32: return 4;
    case plx::TWaveSampleFormat::Float64: return 8;
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const auto info = plx::ParseWave(bytes);
    if (!info)
        return 0;
    Check(info->Channels >= 1 && info->Channels <= 8);
    Check(info->SamplesPerSec >= 1 && info->SamplesPerSec <= 768000);
    Check(info->BlockAlign == info->Channels * BytesPerSample(info->SampleFormat));
    Check(info->Samples.size() % info->BlockAlign == 0);
    Check(info->Samples.data() >= data && info->Samples.data() + info->Samples.size() <= data + size);
    Check(info->DurationUs() >= 0);
    // Touch every sample byte, so a span outside the input shows under ASan.
    unsigned sum = 0;
    for (std::uint8_t b : info->Samples)
        sum += b;
    Check(sum <= 255u * info->Samples.size());
    return 0;
}
