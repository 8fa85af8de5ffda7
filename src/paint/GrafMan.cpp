#include "paint/GrafMan.h"

#include "color/ColorMan.h"
#include "color/VBitmap.h"
#include "color/host/Resources.h"
#include "rtl/Exceptions.h"
#include "rtl/System.h"
#include "rtl/UnitLifetime.h"
#include "paint/DrawMan.h"
#include "paint/detail/PixelRows.h"
#include "paint/detail/RowBands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace plx {

namespace {

TUnitLifetime g_unit;
std::unique_ptr<TBitmap> g_result;

constexpr std::int32_t kBevelAmount = 96;
constexpr const char* kNeedsTrueColour = "Required 16bit or more colors for this operation.";

TBitmap& Result()
{
    if (!g_result)
        throw EInvalidOperation("GrafMan: the package is not started; create a plx::TPackageScope (or call plx::InitializePackage) first");
    return *g_result;
}

// A result starts without the transparency a previous call may have left on it.
TBitmap& ResetTransparency(TBitmap& result)
{
    result.SetTransparent(false);
    result.SetTransparentMode(tmAuto);
    return result;
}

// An empty true-colour result to draw on (a palette left by an earlier call
// would change the colours drawn).
TBitmap& BlankResult(std::int32_t width, std::int32_t height)
{
    TBitmap& result = Result();
    result.FreeImage();
    result.SetSize(width, height);
    return ResetTransparency(result);
}

TBitmap& Produce(const TVirtualBitmap& v)
{
    TBitmap& result = Result();
    v.ProduceBitmap(result);
    return ResetTransparency(result);
}

// A source that is the result bitmap itself is copied before the result is
// overwritten; the copy lives as long as the returned holder.
class SourceCopy {
public:
    explicit SourceCopy(const TBitmap& source)
        : m_source(&source)
    {
        if (&source == g_result.get()) {
            m_copy.emplace();
            m_copy->Assign(&source);
            m_source = &*m_copy;
        }
    }
    [[nodiscard]] const TBitmap& Get() const noexcept { return *m_source; }
    // Reading a bitmap through its canvas does not change it.
    [[nodiscard]] TCanvas& Canvas() const noexcept { return const_cast<TBitmap*>(m_source)->Canvas(); }

private:
    const TBitmap* m_source;
    std::optional<TBitmap> m_copy;
};

// Replaces every colour of v by f(colour): the table of a palette bitmap,
// otherwise each pixel. The order of the pixels does not matter to a per-pixel
// function, so rows are walked in storage order.
template <class F>
void MapColors(TVirtualBitmap& v, F f)
{
    if (v.Bits() <= 8) {
        for (std::int64_t i = 0; i < v.Colors(); ++i)
            v.SetColor(static_cast<std::uint8_t>(i), f(v.GetColor(static_cast<std::uint8_t>(i))));
        return;
    }
    if (v.Bits() == 24 || v.Bits() == 32) {
        const std::size_t step = static_cast<std::size_t>(v.Bits()) / 8;
        for (std::int32_t y = 0; y < v.Height(); ++y) {
            std::uint8_t* p = v.ScanLine(y);
            for (std::int32_t x = 0; x < v.Width(); ++x, p += step) {
                const TColor c = f(RGB(p[2], p[1], p[0]));
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        }
        return;
    }
    for (std::int32_t y = 0; y < v.Height(); ++y)
        for (std::int32_t x = 0; x < v.Width(); ++x)
            v.SetPixel(x, y, f(v.GetPixel(x, y)));
}

template <class F>
TBitmap& ColorFilter(const TBitmap& bitmap, F f)
{
    TVirtualBitmap v(bitmap);
    MapColors(v, f);
    return Produce(v);
}

// ---- True-colour pictures, without the stream -----------------------------------

constexpr std::uint32_t kColorMask = 0xFFFFFF;

// Pictures whose pixels are plain colours and which the virtual bitmap holds at
// 24 or 32 bits a pixel: through the .bmp stream and back each pixel comes out
// as it went in, so a filter can read the host bitmap's pixels and write the
// result's. Palette and 16-bit pictures change on the way and keep the stream.
bool TrueColour(const TBitmap& bitmap) noexcept
{
    const TPixelFormat f = bitmap.PixelFormat();
    return !bitmap.Empty() && (f == pfDevice || f == pf24bit || f == pf32bit || f == pfCustom);
}

// What the stream round trip makes of a true-colour picture.
TPixelFormat StreamedFormat(const Raster& image) noexcept
{
    return image.Format() == pf32bit ? pf32bit : pf24bit;
}

// The result's listeners hear of the new picture, as when it is loaded from a
// stream: a true-colour bitmap has no colour table, so setting an empty one
// changes nothing but reports a change.
TBitmap& Finish(TBitmap& result)
{
    result.SetColorTable({});
    return ResetTransparency(result);
}

// The result, sized as the picture and in its streamed format, with every pixel
// to be written.
Raster& FreshResult(const Raster& image)
{
    Raster& out = Result().Image();
    out.ResetForOverwrite(image.Width(), image.Height(), StreamedFormat(image), {});
    return out;
}

// Every row through row(in, out, n), on all cores for large pictures.
template <class Row>
TBitmap& MapRows(const TBitmap& bitmap, const Row& row)
{
    const SourceCopy source(bitmap);
    const Raster& in = source.Get().Image();
    Raster& out = FreshResult(in);
    const auto w = static_cast<std::size_t>(in.Width());
    detail::ForRowBands(in.Height(), static_cast<std::int64_t>(w) * in.Height(), [&](std::int32_t, std::int32_t from, std::int32_t to) {
        for (std::int32_t y = from; y < to; ++y)
            row(in.Row(y), out.Row(y), w);
    });
    return Finish(Result());
}

// Every pixel through f (on 0x00BBGGRR words).
template <class F>
TBitmap& MapTrueColour(const TBitmap& bitmap, const F& f)
{
    return MapRows(bitmap, [&f](const std::uint32_t* in, std::uint32_t* out, std::size_t n) {
        for (std::size_t x = 0; x < n; ++x)
            out[x] = f(in[x] & kColorMask);
    });
}

// A function that treats red, green and blue alike and each on its own, as
// three tables of the channel's value (each already in its place in the word).
struct ChannelTables {
    std::array<std::uint32_t, 256> red {}, green {}, blue {};

    template <class F>
    explicit ChannelTables(const F& f)
    {
        for (std::uint32_t v = 0; v < 256; ++v) {
            const TColor c = f(RGB(v, v, v));
            red[v] = GetRValue(c);
            green[v] = static_cast<std::uint32_t>(GetGValue(c)) << 8;
            blue[v] = static_cast<std::uint32_t>(GetBValue(c)) << 16;
        }
    }
    [[nodiscard]] std::uint32_t operator()(std::uint32_t w) const noexcept
    {
        return red[w & 0xFF] | green[(w >> 8) & 0xFF] | blue[(w >> 16) & 0xFF];
    }
    //! The amount, when every channel v becomes v + amount clamped to 0 .. 255
    //! (brightening and darkening as they are), so that rows can be shifted.
    [[nodiscard]] std::optional<std::int32_t> Shift() const noexcept
    {
        const std::int32_t amount = red[0] > 0 ? static_cast<std::int32_t>(red[0]) : static_cast<std::int32_t>(red[255]) - 255;
        for (std::uint32_t v = 0; v < 256; ++v) {
            const std::uint32_t s = detail::ShiftOf(v, amount);
            if (red[v] != s || green[v] != s << 8 || blue[v] != s << 16)
                return std::nullopt;
        }
        return amount;
    }
};

// Brightening or darkening: rows shifted at once where the function is a clamped
// shift, as it is, otherwise through the tables.
template <class F>
TBitmap& ShiftTrueColour(const TBitmap& bitmap, const F& f)
{
    const ChannelTables tables(f);
    if (const auto amount = tables.Shift())
        return MapRows(bitmap, [a = *amount](const std::uint32_t* in, std::uint32_t* out, std::size_t n) { detail::ShiftRow(in, out, n, a); });
    return MapTrueColour(bitmap, tables);
}

// The grey of a colour depends only on 20 R + 50 G + 30 B, that is on the
// weighted sum 2 R + 5 G + 3 B (0 .. 2550). One colour for each sum that some
// colour has (kNoColour for the others).
constexpr std::int32_t kWeightedSums = 2551;
constexpr TColor kNoColour = -1;

std::uint32_t WeightedSum(std::uint32_t w) noexcept
{
    return 2 * (w & 0xFF) + 5 * ((w >> 8) & 0xFF) + 3 * ((w >> 16) & 0xFF);
}

const std::array<TColor, kWeightedSums>& ColourOfEachSum()
{
    static const std::array<TColor, kWeightedSums> colours = [] {
        std::array<TColor, kWeightedSums> c;
        c.fill(kNoColour);
        for (std::int32_t k = 0; k < kWeightedSums; ++k)
            for (std::int32_t b = 0; b <= 255 && 3 * b <= k && c[static_cast<std::size_t>(k)] == kNoColour; ++b) {
                // The largest green that fits, or one less (the two parities of
                // what is left for red).
                const std::int32_t rest = k - 3 * b;
                for (std::int32_t g = std::min(rest / 5, 255); g >= 0 && g >= std::min(rest / 5, 255) - 1; --g) {
                    const std::int32_t red2 = rest - 5 * g;
                    if (red2 % 2 == 0 && red2 / 2 <= 255) {
                        c[static_cast<std::size_t>(k)] = RGB(red2 / 2, g, b);
                        break;
                    }
                }
            }
        return c;
    }();
    return colours;
}

// A function of the grey of a colour, as a table of the weighted sum.
struct SumTable {
    std::array<std::uint32_t, kWeightedSums> values {};

    template <class F>
    explicit SumTable(const F& f)
    {
        const auto& colours = ColourOfEachSum();
        for (std::size_t k = 0; k < values.size(); ++k)
            if (colours[k] != kNoColour)
                values[k] = static_cast<std::uint32_t>(f(colours[k])) & kColorMask;
    }
    [[nodiscard]] std::uint32_t operator()(std::uint32_t w) const noexcept { return values[WeightedSum(w)]; }
    //! True when every sum gives the grey of the sum over 10, rounded to even
    //! (as ColorToGrey does), so that rows can be greyed at once.
    [[nodiscard]] bool IsGrey() const noexcept
    {
        const auto& colours = ColourOfEachSum();
        for (std::uint32_t k = 0; k < values.size(); ++k)
            if (colours[k] != kNoColour && values[k] != detail::GreyOfSum(k) * 0x010101)
                return false;
        return true;
    }
    //! The same function as a table of that grey level, when the sums of one
    //! grey level all give the same value (as they do for a tint of the grey).
    [[nodiscard]] std::optional<std::array<std::uint32_t, 256>> ByGrey() const noexcept
    {
        const auto& colours = ColourOfEachSum();
        std::array<std::uint32_t, 256> byGrey {};
        std::array<bool, 256> seen {};
        for (std::uint32_t k = 0; k < values.size(); ++k) {
            if (colours[k] == kNoColour)
                continue;
            const std::uint32_t g = detail::GreyOfSum(k);
            if (seen[g] && byGrey[g] != values[k])
                return std::nullopt;
            seen[g] = true;
            byGrey[g] = values[k];
        }
        return byGrey;
    }
};

// MergeColorExt mixes each channel alike and on its own: a table of the mix of
// two channel values (a × 256 + b), filled three entries per call.
std::vector<std::uint8_t> MixTable(std::uint8_t percent)
{
    std::vector<std::uint8_t> mix(65536);
    auto a = [](std::size_t i) { return static_cast<std::int32_t>(i >> 8); };
    auto b = [](std::size_t i) { return static_cast<std::int32_t>(i & 0xFF); };
    for (std::size_t i = 0; i < mix.size(); i += 3) {
        const std::size_t j = std::min(i + 1, mix.size() - 1), k = std::min(i + 2, mix.size() - 1);
        const TColor c = MergeColorExt(RGB(a(i), a(j), a(k)), RGB(b(i), b(j), b(k)), percent);
        mix[i] = GetRValue(c);
        mix[j] = GetGValue(c);
        mix[k] = GetBValue(c);
    }
    return mix;
}

// True when the table holds MixOf(a, b, percent) for every pair (as
// MergeColorExt gives for a percent up to 100), so that rows can be mixed at once.
bool MixesByWeight(const std::vector<std::uint8_t>& mix, std::uint8_t percent) noexcept
{
    if (percent > 100)
        return false;
    for (std::uint32_t i = 0; i < mix.size(); ++i)
        if (mix[i] != detail::MixOf(i >> 8, i & 0xFF, percent))
            return false;
    return true;
}

TBitmap& MergeTrueColour(const TBitmap& bitmap1, const TBitmap& bitmap2, std::uint8_t percent)
{
    const std::vector<std::uint8_t> mix = MixTable(percent);
    const bool byWeight = MixesByWeight(mix, percent);
    // The red and blue indices are made side by side, in the two halves of one word.
    auto merge = [table = mix.data()](std::uint32_t a, std::uint32_t b) noexcept {
        const std::uint32_t redBlue = ((a & 0xFF00FF) << 8) | (b & 0xFF00FF);
        const std::uint32_t green = (a & 0xFF00) | ((b >> 8) & 0xFF);
        return static_cast<std::uint32_t>(table[redBlue & 0xFFFF]) | static_cast<std::uint32_t>(table[green]) << 8
            | static_cast<std::uint32_t>(table[redBlue >> 16]) << 16;
    };
    const SourceCopy first(bitmap1), second(bitmap2);
    const Raster& a = first.Get().Image();
    const Raster& b = second.Get().Image();
    Raster& out = FreshResult(a);
    const std::int32_t w = a.Width();
    // Outside bitmap 2 its pixels read as 0.
    const std::int32_t shared = std::min(w, b.Width());
    detail::ForRowBands(a.Height(), static_cast<std::int64_t>(w) * a.Height(), [&](std::int32_t, std::int32_t from, std::int32_t to) {
        for (std::int32_t y = from; y < to; ++y) {
            const std::uint32_t* pa = a.Row(y);
            std::uint32_t* d = out.Row(y);
            std::int32_t x = 0;
            if (y < b.Height() && byWeight) {
                detail::MixRow(pa, b.Row(y), d, static_cast<std::size_t>(shared), percent);
                x = shared;
            } else if (y < b.Height()) {
                for (const std::uint32_t* pb = b.Row(y); x < shared; ++x)
                    d[x] = merge(pa[x] & kColorMask, pb[x] & kColorMask);
            }
            for (; x < w; ++x)
                d[x] = merge(pa[x] & kColorMask, 0);
        }
    });
    return Finish(Result());
}

// ---- Softening ------------------------------------------------------------------

// The channel sums of some pixels.
struct ChannelSums {
    std::int64_t r { 0 }, g { 0 }, b { 0 };

    void Add(TColor c, std::int64_t sign) noexcept
    {
        r += sign * GetRValue(c);
        g += sign * GetGValue(c);
        b += sign * GetBValue(c);
    }
};

// Round(sum / count) with ties to even (sum >= 0, count > 0), as rounding the
// quotient of the two as doubles gives: sums stay below 2^53 and counts below
// 2^29, so a quotient that is not a half lies at least 2^-30 away from one, and
// its double is far closer than that.
std::int64_t ExactRoundedQuotient(std::int64_t sum, std::int64_t count) noexcept
{
    std::int64_t q = sum / count;
    const std::int64_t twice = 2 * (sum - q * count);
    if (twice > count || (twice == count && q % 2 != 0))
        ++q;
    return q;
}

// The same, mostly without dividing: the quotient plus a half is known to
// better than 1e-12 from inverse = 1 / count, so away from whole numbers its
// floor is the answer; near one (a tie, or nearly) the integers decide.
std::int64_t RoundedQuotient(std::int64_t sum, std::int64_t count, double inverse) noexcept
{
    const double t = static_cast<double>(sum) * inverse + 0.5;
    const auto q = static_cast<std::int64_t>(t);
    const double above = t - static_cast<double>(q);
    if (above > 1e-7 && above < 1 - 1e-7)
        return q;
    return ExactRoundedQuotient(sum, count);
}

// The square of each pixel, clipped to the picture: [first, last] along one side.
struct Reach {
    std::int64_t first;
    std::int64_t last;
};

// For every row, the channel sums over the square's current columns.
class RowSums {
public:
    explicit RowSums(std::int32_t height)
        : m_r(static_cast<std::size_t>(height))
        , m_g(m_r.size())
        , m_b(m_r.size())
    {
    }
    template <class Column>
    void AddColumn(const Column& column, std::int32_t sign) noexcept
    {
        for (std::size_t y = 0; y < m_r.size(); ++y) {
            const auto c = static_cast<std::uint32_t>(column(static_cast<std::int32_t>(y)));
            m_r[y] += sign * static_cast<std::int32_t>(c & 0xFF);
            m_g[y] += sign * static_cast<std::int32_t>((c >> 8) & 0xFF);
            m_b[y] += sign * static_cast<std::int32_t>((c >> 16) & 0xFF);
        }
    }
    void AddRow(ChannelSums& sum, std::int64_t y, std::int64_t sign) const noexcept
    {
        const auto i = static_cast<std::size_t>(y);
        sum.r += sign * m_r[i];
        sum.g += sign * m_g[i];
        sum.b += sign * m_b[i];
    }
    void Change(std::int32_t y, const ChannelSums& change) noexcept
    {
        const auto i = static_cast<std::size_t>(y);
        m_r[i] += static_cast<std::int32_t>(change.r);
        m_g[i] += static_cast<std::int32_t>(change.g);
        m_b[i] += static_cast<std::int32_t>(change.b);
    }

private:
    // A row of at most 32,767 pixels sums to less than 2^23 a channel.
    std::vector<std::int32_t> m_r, m_g, m_b;
};

// Softening in place, columns outer. Each average is the one over the picture
// as it stands then, kept as running sums: for every row the sum over the
// square's columns (updated as the square moves right and as a pixel in those
// columns changes), and for the current pixel the sum of those row sums over
// the square's rows (updated as it moves down). Both ends of the square only
// move forwards, so each pixel costs a few additions whatever the radius.
// Picture gives Width, Height, Get(x, y) and Set(x, y, colour), which returns
// the colour as stored.
template <class Picture>
void SoftenInPlace(Picture& picture, long double radius)
{
    const std::int32_t w = picture.Width(), h = picture.Height();
    if (w == 0 || h == 0)
        return;
    const auto size = static_cast<std::int64_t>(Round(2 * radius));
    // Round(i - radius) for every coordinate, worked out once.
    std::vector<std::int64_t> starts(static_cast<std::size_t>(std::max(w, h)));
    for (std::size_t i = 0; i < starts.size(); ++i)
        starts[i] = Round(static_cast<long double>(i) - radius);
    // The square of i always holds i itself, so it is never empty.
    auto reach = [&](std::int32_t i, std::int32_t n) {
        const std::int64_t start = starts[static_cast<std::size_t>(i)];
        return Reach { std::max<std::int64_t>(start, 0), std::min<std::int64_t>(start + size, n - 1) };
    };
    RowSums rowSums(h);
    auto addColumn = [&](std::int64_t c, std::int32_t sign) {
        rowSums.AddColumn([&](std::int32_t y) { return picture.Get(static_cast<std::int32_t>(c), y); }, sign);
    };
    Reach cols = reach(0, w);
    for (std::int64_t c = cols.first; c <= cols.last; ++c)
        addColumn(c, 1);
    std::int64_t lastCount = 0;
    double inverse = 0;
    for (std::int32_t x = 0; x < w; ++x) {
        if (x > 0) {
            const Reach next = reach(x, w);
            for (std::int64_t c = cols.first; c <= std::min(cols.last, next.first - 1); ++c)
                addColumn(c, -1);
            for (std::int64_t c = std::max(next.first, cols.last + 1); c <= next.last; ++c)
                addColumn(c, 1);
            cols = next;
        }
        const std::int64_t width = cols.last - cols.first + 1;
        Reach rows = reach(0, h);
        ChannelSums sum;
        for (std::int64_t y = rows.first; y <= rows.last; ++y)
            rowSums.AddRow(sum, y, 1);
        for (std::int32_t y = 0; y < h; ++y) {
            if (y > 0) {
                const Reach next = reach(y, h);
                for (std::int64_t r = rows.first; r <= std::min(rows.last, next.first - 1); ++r)
                    rowSums.AddRow(sum, r, -1);
                for (std::int64_t r = std::max(next.first, rows.last + 1); r <= next.last; ++r)
                    rowSums.AddRow(sum, r, 1);
                rows = next;
            }
            const std::int64_t count = width * (rows.last - rows.first + 1);
            if (count != lastCount) {
                lastCount = count;
                inverse = 1.0 / static_cast<double>(count);
            }
            const TColor average = RGB(RoundedQuotient(sum.r, count, inverse), RoundedQuotient(sum.g, count, inverse),
                RoundedQuotient(sum.b, count, inverse));
            const TColor before = picture.Get(x, y);
            ChannelSums change;
            change.Add(picture.Set(x, y, average), 1);
            change.Add(before, -1);
            // The pixel lies in its own square: its row sum and the running sum
            // take the change.
            rowSums.Change(y, change);
            sum.r += change.r;
            sum.g += change.g;
            sum.b += change.b;
        }
    }
}

// A true-colour picture held column by column (so that walking down a column,
// as softening does, reads memory in order), copied in and out in tiles. The
// columns are spaced a little more than their height apart, so that a tile's
// columns do not all fall on the same cache sets when the height is a power of 2.
class ColumnPicture {
public:
    explicit ColumnPicture(const Raster& image)
        : m_width(image.Width())
        , m_height(image.Height())
        , m_stride(static_cast<std::size_t>(m_height) + kPad)
        , m_columns(static_cast<std::size_t>(m_width) * m_stride)
    {
        ForTiles([&](std::int32_t x0, std::int32_t x1, std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                const std::uint32_t* row = image.Row(y);
                std::uint32_t* column = m_columns.data() + Index(0, y);
                for (std::int32_t x = x0; x < x1; ++x)
                    column[static_cast<std::size_t>(x) * m_stride] = row[x] & kColorMask;
            }
        });
    }
    [[nodiscard]] std::int32_t Width() const noexcept { return m_width; }
    [[nodiscard]] std::int32_t Height() const noexcept { return m_height; }
    [[nodiscard]] TColor Get(std::int32_t x, std::int32_t y) const noexcept { return static_cast<TColor>(m_columns[Index(x, y)]); }
    TColor Set(std::int32_t x, std::int32_t y, TColor color) noexcept
    {
        m_columns[Index(x, y)] = static_cast<std::uint32_t>(color);
        return color;
    }
    //! Writes the picture into a raster of its size.
    void CopyTo(Raster& out) const
    {
        ForTiles([&](std::int32_t x0, std::int32_t x1, std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                std::uint32_t* row = out.Row(y);
                const std::uint32_t* column = m_columns.data() + Index(0, y);
                for (std::int32_t x = x0; x < x1; ++x)
                    row[x] = column[static_cast<std::size_t>(x) * m_stride];
            }
        });
    }

private:
    static constexpr std::size_t kPad = 16;

    [[nodiscard]] std::size_t Index(std::int32_t x, std::int32_t y) const noexcept
    {
        return static_cast<std::size_t>(x) * m_stride + static_cast<std::size_t>(y);
    }
    template <class F>
    void ForTiles(F f) const
    {
        constexpr std::int32_t kTile = 16;
        for (std::int32_t y0 = 0; y0 < m_height; y0 += kTile)
            for (std::int32_t x0 = 0; x0 < m_width; x0 += kTile)
                f(x0, std::min(x0 + kTile, m_width), y0, std::min(y0 + kTile, m_height));
    }

    std::int32_t m_width, m_height;
    std::size_t m_stride;
    std::vector<std::uint32_t> m_columns;
};

// A virtual bitmap as a picture to soften: palette pixels store the nearest
// entry, 16-bit ones fewer bits, and later averages see what was stored.
class VirtualPicture {
public:
    explicit VirtualPicture(TVirtualBitmap& v) noexcept
        : m_v(v)
    {
    }
    [[nodiscard]] std::int32_t Width() const noexcept { return m_v.Width(); }
    [[nodiscard]] std::int32_t Height() const noexcept { return m_v.Height(); }
    [[nodiscard]] TColor Get(std::int32_t x, std::int32_t y) const noexcept { return m_v.GetPixel(x, y); }
    TColor Set(std::int32_t x, std::int32_t y, TColor color) noexcept
    {
        m_v.SetPixel(x, y, color);
        return m_v.GetPixel(x, y);
    }

private:
    TVirtualBitmap& m_v;
};

void PaintPattern(TBitmap& bitmap, TColor color1, TColor color2)
{
    bitmap.SetSize(8, 8);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color1);
    canvas.FillRect(Rect(0, 0, 8, 8));
    for (std::int32_t y = 0; y < 8; ++y)
        for (std::int32_t x = 0; x < 8; ++x)
            if (x % 2 == y % 2)
                canvas.SetPixels(x, y, color2);
}

// The graded bevel amount after a pixel of ring k.
std::int32_t GradedAmount(std::int32_t ring, std::int32_t bevelWidth) noexcept
{
    return static_cast<std::int32_t>(Round(kBevelAmount - static_cast<long double>(ring - 1) / bevelWidth * kBevelAmount));
}

} // namespace

void InitializeGrafMan()
{
    if (g_unit.Initialize())
        g_result = std::make_unique<TBitmap>();
}

void FinalizeGrafMan()
{
    if (g_unit.Finalize())
        g_result.reset();
}

TBitmap& CreatePattern(TColor color1, TColor color2)
{
    TBitmap& result = BlankResult(8, 8);
    PaintPattern(result, color1, color2);
    return result;
}

TBitmap& BmpToLCD(const TBitmap& bitmap, TColor dotColor, TColor backColor)
{
    const SourceCopy source(bitmap);
    const Raster& image = source.Get().Image();
    TBitmap& result = BlankResult(4 * image.Width(), 4 * image.Height());
    TCanvas& canvas = result.Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(backColor);
    canvas.FillRect(Rect(0, 0, result.Width(), result.Height()));
    canvas.Brush().SetColor(dotColor);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(MergeColor(dotColor, backColor));
    for (std::int32_t x = 0; x < image.Width(); ++x)
        for (std::int32_t y = 0; y < image.Height(); ++y)
            if (!IsLightColor(image.GetColor(x, y)))
                canvas.Rectangle(3 * x + 1, 3 * y + 1, 3 * x + 3, 3 * y + 3);
    return result;
}

TBitmap& LoadBMPFile(const std::string& fileName)
{
    TBitmap& result = Result();
    result.LoadFromFile(fileName);
    return ResetTransparency(result);
}

TBitmap& BMPFromRes(const std::string& name)
{
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    TBitmap& result = Result();
    result.LoadFromResourceName(HInstance(), upper);
    return ResetTransparency(result);
}

TBitmap& ResizeBMP(const TBitmap& bitmap, std::int32_t width, std::int32_t height)
{
    const SourceCopy source(bitmap);
    TBitmap& result = BlankResult(width, height);
    result.Canvas().CopyRect(Rect(0, 0, result.Width(), result.Height()), source.Canvas(),
        Rect(0, 0, source.Get().Width(), source.Get().Height()));
    return result;
}

TBitmap& BrightenBMP(const TBitmap& bitmap, std::int32_t amount)
{
    auto f = [amount](TColor c) { return BrightenColor(c, amount); };
    if (TrueColour(bitmap))
        return ShiftTrueColour(bitmap, f);
    return ColorFilter(bitmap, f);
}

TBitmap& DarkenBMP(const TBitmap& bitmap, std::int32_t amount)
{
    auto f = [amount](TColor c) { return DarkenColor(c, amount); };
    if (TrueColour(bitmap))
        return ShiftTrueColour(bitmap, f);
    return ColorFilter(bitmap, f);
}

TBitmap& GreyBMP(const TBitmap& bitmap)
{
    auto f = [](TColor c) { return ColorToGrey(c); };
    if (TrueColour(bitmap)) {
        const SumTable table(f);
        if (table.IsGrey())
            return MapRows(bitmap, [](const std::uint32_t* in, std::uint32_t* out, std::size_t n) { detail::GreyRow(in, out, n); });
        return MapTrueColour(bitmap, table);
    }
    return ColorFilter(bitmap, f);
}

TBitmap& ColoriseImage(const TBitmap& bitmap, TColor tint)
{
    auto f = [tint](TColor c) { return Colorise(c, tint); };
    if (TrueColour(bitmap)) {
        const SumTable table(f);
        if (const auto byGrey = table.ByGrey())
            return MapRows(bitmap, [t = byGrey->data()](const std::uint32_t* in, std::uint32_t* out, std::size_t n) {
                detail::ByGreyRow(in, out, n, t);
            });
        return MapTrueColour(bitmap, table);
    }
    return ColorFilter(bitmap, f);
}

TBitmap& MergeBMPExt(const TBitmap& bitmap1, const TBitmap& bitmap2, std::uint8_t percent)
{
    if (TrueColour(bitmap1) && (bitmap2.Empty() || TrueColour(bitmap2)))
        return MergeTrueColour(bitmap1, bitmap2, percent);
    // Each output pixel or entry depends only on the same pixel or entry of
    // bitmap 1, so the output is made in bitmap 1's own copy.
    TVirtualBitmap out(bitmap1);
    const TVirtualBitmap other(bitmap2);
    if (out.Bits() <= 8) {
        for (std::int64_t i = 0; i < out.Colors(); ++i) {
            const auto index = static_cast<std::uint8_t>(i);
            out.SetColor(index, MergeColorExt(out.GetColor(index), other.GetColor(index), percent));
        }
        return Produce(out);
    }
    const bool sameLayout = other.Bits() == out.Bits() && other.Width() == out.Width() && other.Height() == out.Height();
    if (sameLayout && (out.Bits() == 24 || out.Bits() == 32)) {
        const std::size_t step = static_cast<std::size_t>(out.Bits()) / 8;
        for (std::int32_t y = 0; y < out.Height(); ++y) {
            std::uint8_t* p = out.ScanLine(y);
            const std::uint8_t* q = other.ScanLine(y);
            for (std::int32_t x = 0; x < out.Width(); ++x, p += step, q += step) {
                const TColor c = MergeColorExt(RGB(p[2], p[1], p[0]), RGB(q[2], q[1], q[0]), percent);
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        }
        return Produce(out);
    }
    for (std::int32_t y = 0; y < out.Height(); ++y)
        for (std::int32_t x = 0; x < out.Width(); ++x)
            out.SetPixel(x, y, MergeColorExt(out.GetPixel(x, y), other.GetPixel(x, y), percent));
    return Produce(out);
}

TBitmap& MergeBMP(const TBitmap& bitmap1, const TBitmap& bitmap2)
{
    return MergeBMPExt(bitmap1, bitmap2, 50);
}

TBitmap& SoftenBMP(const TBitmap& bitmap, float radius)
{
    // Beyond 65,536 every square covers the whole bitmap, as it would for any
    // larger radius; the cap keeps the bounds in range.
    const long double r = std::isnan(radius) || radius < 0 ? 0.0L : std::min<long double>(radius, 65536.0L);
    if (TrueColour(bitmap)) {
        ColumnPicture picture(bitmap.Image());
        SoftenInPlace(picture, r);
        picture.CopyTo(FreshResult(bitmap.Image()));
        return Finish(Result());
    }
    TVirtualBitmap v(bitmap);
    VirtualPicture picture(v);
    SoftenInPlace(picture, r);
    return Produce(v);
}

TBitmap& MakeButton(const TBitmap& bitmap, std::int32_t bevelWidth, bool graded)
{
    TVirtualBitmap v(bitmap);
    if (v.Bits() <= 8)
        throw Exception(kNeedsTrueColour);
    const std::int32_t w = v.Width(), h = v.Height();
    auto shade = [&v](std::int32_t x, std::int32_t y, std::int32_t amount, bool bright) {
        const TColor c = v.GetPixel(x, y);
        v.SetPixel(x, y, bright ? BrightenColor(c, amount) : DarkenColor(c, amount));
    };
    // Rings past the middle hold no pixel and leave the graded amount alone.
    std::int32_t amount = kBevelAmount;
    for (std::int32_t k = 1; k <= bevelWidth && k <= (w + 1) / 2; ++k)
        for (std::int32_t x = k - 1; x <= w - k; ++x) {
            shade(x, k - 1, amount, true);
            shade(x, h - k, amount, false);
            if (graded)
                amount = GradedAmount(k, bevelWidth);
        }
    amount = kBevelAmount;
    for (std::int32_t k = 1; k <= bevelWidth && k <= (h + 1) / 2; ++k)
        for (std::int32_t y = k - 1; y <= h - k; ++y) {
            shade(k - 1, y, amount, true);
            shade(w - k, y, amount, false);
            if (graded)
                amount = GradedAmount(k, bevelWidth);
        }
    return Produce(v);
}

TBitmap& BWOnlyBMP(const TBitmap& bitmap)
{
    TBitmap& result = Result();
    result.Assign(&bitmap);
    result.SetMonochrome(true);
    result.SetMonochrome(false);
    return result;
}

TBitmap& DisabledBmp(const TBitmap& bitmap, TColor color1, TColor color2)
{
    TBitmap pattern;
    PaintPattern(pattern, color1, color2);
    TBitmap& result = Result();
    result.Assign(&bitmap);
    if (result.Width() != 0 && result.Height() != 0)
        for (std::int32_t y = 0; y < result.Height(); y += 8)
            for (std::int32_t x = 0; x < result.Width(); x += 8)
                TransparentBlt(result.Canvas(), pattern, x, y, color2);
    return result;
}

} // namespace plx
