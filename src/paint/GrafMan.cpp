#include "paint/GrafMan.h"

#include "color/ColorMan.h"
#include "color/VBitmap.h"
#include "color/host/Resources.h"
#include "rtl/Exceptions.h"
#include "rtl/System.h"
#include "rtl/UnitLifetime.h"
#include "paint/DrawMan.h"

#include <algorithm>
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
    return ColorFilter(bitmap, [amount](TColor c) { return BrightenColor(c, amount); });
}

TBitmap& DarkenBMP(const TBitmap& bitmap, std::int32_t amount)
{
    return ColorFilter(bitmap, [amount](TColor c) { return DarkenColor(c, amount); });
}

TBitmap& GreyBMP(const TBitmap& bitmap)
{
    return ColorFilter(bitmap, [](TColor c) { return ColorToGrey(c); });
}

TBitmap& ColoriseImage(const TBitmap& bitmap, TColor tint)
{
    return ColorFilter(bitmap, [tint](TColor c) { return Colorise(c, tint); });
}

TBitmap& MergeBMPExt(const TBitmap& bitmap1, const TBitmap& bitmap2, std::uint8_t percent)
{
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
    long double r = std::isnan(radius) || radius < 0 ? 0.0L : std::min<long double>(radius, 65536.0L);
    const auto size = static_cast<std::int32_t>(Round(2 * r));
    TVirtualBitmap v(bitmap);
    // Round(i - radius) for every coordinate, worked out once.
    std::vector<std::int32_t> starts(static_cast<std::size_t>(std::max(v.Width(), v.Height())));
    for (std::size_t i = 0; i < starts.size(); ++i)
        starts[i] = static_cast<std::int32_t>(Round(static_cast<long double>(i) - r));
    for (std::int32_t x = 0; x < v.Width(); ++x)
        for (std::int32_t y = 0; y < v.Height(); ++y) {
            TRect square = Bounds(starts[static_cast<std::size_t>(x)], starts[static_cast<std::size_t>(y)], size, size);
            v.SetPixel(x, y, MiscVBToColor(v, square));
        }
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
