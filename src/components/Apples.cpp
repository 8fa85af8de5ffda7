#include "components/Apples.h"

#include "color/host/Resources.h"
#include "components/detail/KnCtrlsShared.h"
#include "framework/host/Published.h"
#include "paint/DrawMan.h"
#include "rtl/Store.h"
#include "rtl/System.h"
#include "rtl/TypInfo.h"

#include <cmath>

namespace plx {

namespace {

constexpr std::int32_t kGap = 2;

// The value as a 48-bit real holds it: 40 significant bits (rounded to nearest,
// ties to even), binary exponents -128..126. Smaller magnitudes are 0, larger
// ones the largest such real; a NaN stays one (and draws nothing).
long double ToReal48(long double value) noexcept
{
    if (std::isnan(value) || value == 0)
        return value;
    constexpr int kBits = 40;
    const long double largest = std::ldexp((0x1p40L - 1) / 0x1p40L, 127);
    if (std::isinf(value) || std::fabs(value) >= largest)
        return std::copysign(largest, value);
    int exponent = 0;
    const long double mantissa = std::frexp(value, &exponent); // 0.5 <= |mantissa| < 1
    const long double rounded = std::ldexp(std::nearbyint(std::ldexp(mantissa, kBits)), exponent - kBits);
    if (std::fabs(rounded) < 0x1p-128L)
        return 0;
    return std::fabs(rounded) >= largest ? std::copysign(largest, value) : rounded;
}

} // namespace

TApples::TApples(TComponent* owner)
    : TKnControl(owner)
{
    m_apple.LoadFromResourceName(HInstance(), "APPLE");
    m_transparentColor = m_apple.Canvas().Pixels(0, 0);
    SetBounds(Left(), Top(), 80, 25);
}

void TApples::SetApple(const TBitmap* value)
{
    if (value == &m_apple)
        return;
    m_apple.Assign(value);
    if (value && !m_apple.Empty())
        m_transparentColor = m_apple.Canvas().Pixels(0, 0);
    RepaintAll();
}

void TApples::SetLineWrap(bool value)
{
    Store(m_lineWrap, value, [this] { RepaintAll(); });
}

void TApples::SetTransparentColor(TColor value)
{
    Store(m_transparentColor, value, [this] { RepaintAll(); });
}

void TApples::SetValue(long double value)
{
    // Exact comparison, so 0.1 + 0.2 is another value than 0.3; a NaN is never
    // equal to anything and renders each time.
    if (value == m_value)
        return;
    m_value = value;
    RepaintAll();
}

void TApples::PaintBackup()
{
    TKnControl::PaintBackup();
    TCanvas& canvas = Backup().Canvas();
    const TRect r = WorkRect();
    const std::int32_t w = m_apple.Width(), h = m_apple.Height();
    // WorkRect lies in the buffer and a picture is at most 32,767 wide, so
    // these stay well inside the 32-bit range.
    std::int32_t x = r.Left + kGap, y = r.Top + kGap;
    long double v = ToReal48(m_value);
    detail::TTransparencyKeeper keep(m_apple);
    while (v >= 1) {
        TransparentBlt(canvas, m_apple, x, y, m_transparentColor);
        x += w + kGap;
        if (x + w >= r.Right) {
            if (!m_lineWrap)
                return;
            y += h + kGap;
            x = r.Left + kGap;
            if (y >= r.Bottom)
                return;
        }
        v -= 1;
    }
    if (v > 0 && v < 1)
        DrawFraction(canvas, x, y, v);
}

void TApples::DrawFraction(TCanvas& canvas, std::int32_t x, std::int32_t y, long double fraction)
{
    const std::int32_t w = m_apple.Width(), h = m_apple.Height();
    TBitmap part;
    if (!SizeBuffer(part, w, h))
        return;
    // The part beyond the cut is the transparent colour, so it does not show.
    part.Canvas().Brush().SetColor(m_transparentColor);
    part.Canvas().FillRect(Rect(0, 0, w, h));
    const auto cut = static_cast<std::int32_t>(Round(w * fraction));
    part.Canvas().CopyRect(Rect(0, 0, cut, h), m_apple.Canvas(), Rect(0, 0, cut, h));
    TransparentBlt(canvas, part, x, y, m_transparentColor);
}

const TClassInfo& TApples::StaticClassInfo()
{
    // The control's own properties have no default: all are written to form files.
    static const TClassInfo info = TClassInfoBuilder<TApples>("TApples", &TKnControl::StaticClassInfo())
        .Object("Apple", "TBitmap", [](TApples& c) -> TPersistent* { return &c.Apple(); })
        .Bool("LineWrap", &TApples::LineWrap, &TApples::SetLineWrap)
        .Integer("TransparentColor", &TApples::TransparentColor, &TApples::SetTransparentColor, std::nullopt, &ColorIdents(),
            "TColor")
        .Float("Value", &TApples::Value, &TApples::SetValue, "Extended")
        .Apply([](auto& b) { PublishKnControl(b); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Align", "Enabled", "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
                                    "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TApples(owner); })
        .Build();
    return info;
}

const TClassInfo& TApples::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
