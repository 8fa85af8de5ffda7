#include "paint/detail/PixelRows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plx::detail {

namespace {

constexpr std::uint32_t kColorMask = 0xFFFFFF;

std::uint32_t GreyPixel(std::uint32_t w) noexcept
{
    const std::uint32_t v = GreyOfSum(2 * (w & 0xFF) + 5 * ((w >> 8) & 0xFF) + 3 * ((w >> 16) & 0xFF));
    return v * 0x010101;
}

std::uint32_t MixPixel(std::uint32_t a, std::uint32_t b, std::uint32_t percent) noexcept
{
    return MixOf(a & 0xFF, b & 0xFF, percent) | MixOf((a >> 8) & 0xFF, (b >> 8) & 0xFF, percent) << 8
        | MixOf((a >> 16) & 0xFF, (b >> 16) & 0xFF, percent) << 16;
}

std::uint32_t ShiftPixel(std::uint32_t w, std::int32_t amount) noexcept
{
    return ShiftOf(w & 0xFF, amount) | ShiftOf((w >> 8) & 0xFF, amount) << 8 | ShiftOf((w >> 16) & 0xFF, amount) << 16;
}

#if defined(__SSE2__)

// x / d rounded, ties to even, for 16-bit lanes x, given q = floor(x / d): one
// less where the remainder was exactly half (x + d/2 divisible) and q is odd.
// Here the lanes hold x + d/2 already, and q = floor((x + d/2) / d).
__m128i TiesToEven(__m128i shifted, __m128i q, __m128i divisor) noexcept
{
    const __m128i exact = _mm_cmpeq_epi16(_mm_sub_epi16(shifted, _mm_mullo_epi16(q, divisor)), _mm_setzero_si128());
    const __m128i odd = _mm_and_si128(q, _mm_set1_epi16(1));
    return _mm_sub_epi16(q, _mm_and_si128(exact, odd));
}

// The grey levels of eight pixels, in 16-bit lanes.
__m128i Greys(const std::uint32_t* in) noexcept
{
    const __m128i zero = _mm_setzero_si128();
    // The top byte weighs nothing, whatever it holds.
    const __m128i weights = _mm_setr_epi16(2, 5, 3, 0, 2, 5, 3, 0);
    // Four pixels' weighted sums k, as 32-bit lanes: 2 R + 5 G and 3 B side by
    // side, then added in pairs.
    auto sums = [&](__m128i px) {
        const __m128 lo = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpacklo_epi8(px, zero), weights));
        const __m128 hi = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpackhi_epi8(px, zero), weights));
        return _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0))),
            _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(3, 1, 3, 1))));
    };
    const __m128i k0 = sums(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    const __m128i k1 = sums(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4)));
    // Eight sums in 16 bits: (k + 5) / 10 by multiplying (exact for every 16-bit value).
    const __m128i shifted = _mm_add_epi16(_mm_packs_epi32(k0, k1), _mm_set1_epi16(5));
    const __m128i q = _mm_srli_epi16(_mm_mulhi_epu16(shifted, _mm_set1_epi16(static_cast<short>(0xCCCD))), 3);
    return TiesToEven(shifted, q, _mm_set1_epi16(10));
}

#endif

} // namespace

void GreyRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n) noexcept
{
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const __m128i v = Greys(in + i);
        // v v in the low half of each word, v in the high half: v × 0x010101.
        const __m128i vv = _mm_or_si128(v, _mm_slli_epi16(v, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi16(vv, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), _mm_unpackhi_epi16(vv, v));
    }
#endif
    for (; i < n; ++i)
        out[i] = GreyPixel(in[i]);
}

void ByGreyRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n, const std::uint32_t* byGrey) noexcept
{
    std::size_t i = 0;
#if defined(__SSE2__)
    alignas(16) std::uint16_t greys[8];
    for (; i + 8 <= n; i += 8) {
        _mm_store_si128(reinterpret_cast<__m128i*>(greys), Greys(in + i));
        for (std::size_t j = 0; j < 8; ++j)
            out[i + j] = byGrey[greys[j]];
    }
#endif
    for (; i < n; ++i)
        out[i] = byGrey[GreyPixel(in[i]) & 0xFF];
}

void MixRow(const std::uint32_t* a, const std::uint32_t* b, std::uint32_t* out, std::size_t n, std::uint32_t percent) noexcept
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i wa = _mm_set1_epi16(static_cast<short>(percent)), wb = _mm_set1_epi16(static_cast<short>(100 - percent));
    const __m128i fifty = _mm_set1_epi16(50), hundred = _mm_set1_epi16(100);
    const __m128i mask = _mm_set1_epi32(kColorMask);
    // Eight channels in 16-bit lanes: n + 50 <= 25,550, and (x × 5243) >> 19 is
    // x / 100 for every x below 43,699.
    auto mix = [&](__m128i x, __m128i y) {
        const __m128i shifted = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(x, wa), _mm_mullo_epi16(y, wb)), fifty);
        const __m128i q = _mm_srli_epi16(_mm_mulhi_epu16(shifted, _mm_set1_epi16(5243)), 3);
        return TiesToEven(shifted, q, hundred);
    };
    if (percent == 50) {
        // Halfway (MergeBMP): the byte average rounded up, one less where the
        // sum was odd and that average is odd.
        const __m128i one = _mm_set1_epi8(1);
        for (; i + 4 <= n; i += 4) {
            const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
            const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            const __m128i up = _mm_avg_epu8(pa, pb);
            const __m128i down = _mm_and_si128(_mm_and_si128(_mm_xor_si128(pa, pb), up), one);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(_mm_sub_epi8(up, down), mask));
        }
    }
    for (; i + 4 <= n; i += 4) {
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i lo = mix(_mm_unpacklo_epi8(pa, zero), _mm_unpacklo_epi8(pb, zero));
        const __m128i hi = mix(_mm_unpackhi_epi8(pa, zero), _mm_unpackhi_epi8(pb, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(_mm_packus_epi16(lo, hi), mask));
    }
#endif
    for (; i < n; ++i)
        out[i] = MixPixel(a[i], b[i], percent);
}

void ShiftRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n, std::int32_t amount) noexcept
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const auto step = static_cast<std::uint32_t>(amount < 0 ? -amount : amount);
    // The amount in the three colour bytes of each pixel, 0 in the top one.
    const __m128i delta = _mm_set1_epi32(static_cast<int>(step * 0x010101));
    const __m128i mask = _mm_set1_epi32(kColorMask);
    for (; i + 4 <= n; i += 4) {
        const __m128i px = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), mask);
        const __m128i r = amount < 0 ? _mm_subs_epu8(px, delta) : _mm_adds_epu8(px, delta);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), r);
    }
#endif
    for (; i < n; ++i)
        out[i] = ShiftPixel(in[i], amount);
}

} // namespace plx::detail
