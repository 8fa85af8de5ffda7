#include "color/host/detail/RasterOps.h"

#include "color/host/Bitmap.h"
#include "color/host/SysColors.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace plx::detail {

namespace {

constexpr std::uint32_t kColorMask = 0xFFFFFF;

bool IsDirect(const Raster& r) noexcept
{
    auto f = r.Format();
    return f == pfDevice || f == pf24bit || f == pf32bit || f == pfCustom;
}

// 8 x 8 hatch masks, one byte a row, bit 7 = column 0.
constexpr std::array<std::array<std::uint8_t, 8>, 6> kHatches { {
    { 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00 }, // horizontal
    { 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08 }, // vertical
    { 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01 }, // forward diagonal (\)
    { 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80 }, // backward diagonal (/)
    { 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08 }, // cross
    { 0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81 }, // diagonal cross
} };

} // namespace

FillPattern SolidPattern(TColor color) noexcept
{
    FillPattern p;
    p.solid = true;
    p.color = color & kColorMask;
    return p;
}

FillPattern BrushPattern(const TBrush& brush, TPoint origin, TColor textColor, TColor bkColor)
{
    TColor color = ColorToRGB(brush.Color()) & kColorMask;
    if (const TBitmap* bitmap = brush.Bitmap(); bitmap && !bitmap->Empty()) {
        const Raster& image = bitmap->Image();
        FillPattern p;
        p.solid = false;
        p.origin = origin;
        p.width = std::min(image.Width(), 8);
        p.height = std::min(image.Height(), 8);
        bool mono = image.IsMonochrome();
        for (std::int32_t y = 0; y < p.height; ++y)
            for (std::int32_t x = 0; x < p.width; ++x) {
                TColor c = image.GetColor(x, y);
                if (mono)
                    c = c == 0xFFFFFF ? (ColorToRGB(bkColor) & kColorMask) : (ColorToRGB(textColor) & kColorMask);
                p.cells[static_cast<std::size_t>(y * 8 + x)] = c;
                p.opaque[static_cast<std::size_t>(y * 8 + x)] = true;
            }
        return p;
    }
    if (brush.Style() >= bsHorizontal && brush.Style() <= bsDiagCross) {
        const auto& mask = kHatches[static_cast<std::size_t>(brush.Style() - bsHorizontal)];
        FillPattern p;
        p.solid = false;
        p.origin = origin;
        p.width = 8;
        p.height = 8;
        for (std::size_t y = 0; y < 8; ++y)
            for (std::size_t x = 0; x < 8; ++x) {
                bool on = (mask[y] >> (7 - x)) & 1;
                p.cells[y * 8 + x] = color;
                p.opaque[y * 8 + x] = on;
            }
        return p;
    }
    return SolidPattern(color);
}

std::uint32_t Rop2(TPenMode mode, std::uint32_t p, std::uint32_t d) noexcept
{
    std::uint32_t r;
    switch (mode) {
    case pmBlack: r = 0; break;
    case pmWhite: r = kColorMask; break;
    case pmNop: r = d; break;
    case pmNot: r = ~d; break;
    case pmCopy: r = p; break;
    case pmNotCopy: r = ~p; break;
    case pmMergePenNot: r = p | ~d; break;
    case pmMaskPenNot: r = p & ~d; break;
    case pmMergeNotPen: r = ~p | d; break;
    case pmMaskNotPen: r = ~p & d; break;
    case pmMerge: r = p | d; break;
    case pmNotMerge: r = ~(p | d); break;
    case pmMask: r = p & d; break;
    case pmNotMask: r = ~(p & d); break;
    case pmXor: r = p ^ d; break;
    case pmNotXor: r = ~(p ^ d); break;
    default: r = p; break;
    }
    return r & kColorMask;
}

std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) noexcept
{
    // Bit i of the code is the result for pattern bit (i >> 2), source bit
    // ((i >> 1) & 1) and destination bit (i & 1); evaluate all 24 bits at once.
    std::uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (code & (1u << i))
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r & kColorMask;
}

void PlotPixel(Raster& raster, std::int32_t x, std::int32_t y, TColor color, TPenMode mode)
{
    std::uint32_t& word = raster.Row(y)[x];
    std::uint32_t value = mode == pmCopy ? (static_cast<std::uint32_t>(color) & kColorMask)
                                         : Rop2(mode, static_cast<std::uint32_t>(color), word & kColorMask);
    word = raster.Store(static_cast<TColor>(value));
}

namespace {

// Stores one word n times. Long runs use the string store, which writes whole
// cache lines without reading them first (as memset does) and so runs several
// times faster than a vector loop on a surface that is not in the cache.
void FillWords(std::uint32_t* p, std::size_t n, std::uint32_t value) noexcept
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (n >= 64) {
        asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(value) : "memory");
        return;
    }
#endif
    std::fill(p, p + n, value);
}

} // namespace

void PaintSpan(Raster& raster, std::int32_t y, std::int32_t x0, std::int32_t x1, const FillPattern& pattern, TPenMode mode)
{
    if (x0 >= x1 || mode == pmNop)
        return;
    std::uint32_t* row = raster.Row(y);
    if (pattern.solid && (mode == pmCopy || mode == pmBlack || mode == pmWhite || mode == pmNotCopy)) {
        std::uint32_t value = Rop2(mode, static_cast<std::uint32_t>(pattern.color), 0);
        FillWords(row + x0, static_cast<std::size_t>(x1 - x0), raster.Store(static_cast<TColor>(value)));
        return;
    }
    for (std::int32_t x = x0; x < x1; ++x) {
        bool opaque = true;
        TColor c = pattern.At(x, y, opaque);
        if (!opaque)
            continue;
        std::uint32_t value = mode == pmCopy ? static_cast<std::uint32_t>(c) : Rop2(mode, static_cast<std::uint32_t>(c), row[x] & kColorMask);
        row[x] = raster.Store(static_cast<TColor>(value));
    }
}

void FillArea(Raster& raster, const TRect& area, const FillPattern& pattern, TPenMode mode)
{
    if (area.IsEmpty())
        return;
    if (pattern.solid && mode == pmCopy && area.Left == 0 && area.Right == raster.Width()) {
        // Whole rows are one contiguous block: one store of all of it.
        FillWords(raster.Row(area.Top), static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height()),
            raster.Store(pattern.color));
        return;
    }
    for (std::int32_t y = area.Top; y < area.Bottom; ++y)
        PaintSpan(raster, y, area.Left, area.Right, pattern, mode);
}

namespace {

// Source-only operations over rows of direct-format pixels: the forms a
// benchmark or a mask pass meets most often, written as plain word loops that
// the compiler vectorises (source and destination rows never overlap here:
// copies within one raster read from a snapshot).
template <class Op>
[[gnu::noinline]] void CombineRow(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::int32_t n, Op op) noexcept
{
    for (std::int32_t i = 0; i < n; ++i)
        d[i] = op(s[i] & kColorMask, d[i]);
}

template <class Op>
void CombineRows(Raster& dest, const TRect& area, const Raster& source, TPoint sourceTopLeft, Op op) noexcept
{
    for (std::int32_t y = area.Top; y < area.Bottom; ++y)
        CombineRow(dest.Row(y) + area.Left, source.Row(sourceTopLeft.Y + (y - area.Top)) + sourceTopLeft.X,
            area.Right - area.Left, op);
}

// Any ternary code over one row with a solid pattern: the truth table becomes
// eight all-or-nothing masks, so the loop has no branches and vectorises.
[[gnu::noinline]] void TernaryRow(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::int32_t n,
    std::uint32_t p, std::uint8_t code) noexcept
{
    std::uint32_t m[8];
    for (unsigned i = 0; i < 8; ++i)
        m[i] = (code >> i) & 1 ? ~0u : 0u;
    const std::uint32_t np = ~p;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::uint32_t sv = s[i] & kColorMask, dv = d[i];
        const std::uint32_t ns = ~sv, nd = ~dv;
        std::uint32_t r = (m[0] & np & ns & nd) | (m[1] & np & ns & dv) | (m[2] & np & sv & nd) | (m[3] & np & sv & dv)
            | (m[4] & p & ns & nd) | (m[5] & p & ns & dv) | (m[6] & p & sv & nd) | (m[7] & p & sv & dv);
        d[i] = r & kColorMask;
    }
}

bool TryFastBlit(Raster& dest, const TRect& area, const Raster& source, TPoint srcTopLeft, const BlitParams& params)
{
    if (!IsDirect(dest) || source.IsMonochrome() || params.transparentKey)
        return false;
    switch (params.rop) {
    case 0x00CC0020: // SRCCOPY
        if (IsDirect(source)) {
            std::size_t bytes = static_cast<std::size_t>(area.Right - area.Left) * sizeof(std::uint32_t);
            if (area.Left == 0 && srcTopLeft.X == 0 && area.Right == dest.Width() && source.Width() == dest.Width()) {
                // Whole rows of equally wide rasters: one block, which the C library
                // copies with stores that need not read the destination first.
                std::memcpy(dest.Row(area.Top), source.Row(srcTopLeft.Y), bytes * static_cast<std::size_t>(area.Height()));
                return true;
            }
            for (std::int32_t y = area.Top; y < area.Bottom; ++y)
                std::memcpy(dest.Row(y) + area.Left, source.Row(srcTopLeft.Y + (y - area.Top)) + srcTopLeft.X, bytes);
        } else {
            CombineRows(dest, area, source, srcTopLeft, [](std::uint32_t s, std::uint32_t) { return s; });
        }
        return true;
    case 0x00660046: // SRCINVERT
        CombineRows(dest, area, source, srcTopLeft, [](std::uint32_t s, std::uint32_t d) { return s ^ d; });
        return true;
    case 0x008800C6: // SRCAND
        CombineRows(dest, area, source, srcTopLeft, [](std::uint32_t s, std::uint32_t d) { return s & d; });
        return true;
    case 0x00EE0086: // SRCPAINT
        CombineRows(dest, area, source, srcTopLeft, [](std::uint32_t s, std::uint32_t d) { return s | d; });
        return true;
    case 0x00330008: // NOTSRCCOPY
        CombineRows(dest, area, source, srcTopLeft, [](std::uint32_t s, std::uint32_t) { return ~s & kColorMask; });
        return true;
    case 0x00E20746: // DSPDxax: the pattern where the source is set, else the destination
        if (params.pattern && params.pattern->solid) {
            std::uint32_t p = static_cast<std::uint32_t>(params.pattern->color);
            CombineRows(dest, area, source, srcTopLeft, [p](std::uint32_t s, std::uint32_t d) { return d ^ (s & (p ^ d)); });
            return true;
        }
        return false;
    default:
        if (params.pattern && !params.pattern->solid && RopUsesPattern(RopCode(params.rop)))
            return false;
        {
            const std::uint32_t p = params.pattern ? static_cast<std::uint32_t>(params.pattern->color) : 0;
            for (std::int32_t y = area.Top; y < area.Bottom; ++y)
                TernaryRow(dest.Row(y) + area.Left, source.Row(srcTopLeft.Y + (y - area.Top)) + srcTopLeft.X,
                    area.Right - area.Left, p, RopCode(params.rop));
        }
        return true;
    }
}

// One axis of a rectangle in increasing order, and whether it was given reversed.
struct Axis {
    std::int64_t lo, hi;
    bool reversed;
};

Axis Normalize(std::int64_t from, std::int64_t to) noexcept
{
    return to < from ? Axis { to, from, true } : Axis { from, to, false };
}

// A transfer with its rectangles in increasing order: the destination and source
// areas, which axes are mirrored, and the part of the destination that can change.
struct BlitGeometry {
    WideRect d, s;
    bool mirrorX { false }, mirrorY { false };
    TRect visible;

    [[nodiscard]] bool Scaled() const noexcept
    {
        return d.Width() != s.Width() || d.Height() != s.Height() || mirrorX || mirrorY;
    }
};

bool Arrange(const Raster& dest, const TRect& destClip, const WideRect& destRect, const WideRect& sourceRect,
    BlitGeometry& g) noexcept
{
    const Axis dx = Normalize(destRect.Left, destRect.Right), dy = Normalize(destRect.Top, destRect.Bottom);
    const Axis sx = Normalize(sourceRect.Left, sourceRect.Right), sy = Normalize(sourceRect.Top, sourceRect.Bottom);
    g.d = { dx.lo, dy.lo, dx.hi, dy.hi };
    g.s = { sx.lo, sy.lo, sx.hi, sy.hi };
    g.mirrorX = dx.reversed != sx.reversed;
    g.mirrorY = dy.reversed != sy.reversed;
    if (g.d.IsEmpty() || g.s.IsEmpty())
        return false;
    g.visible = ClipTo(g.d, Intersect(destClip, dest.Bounds()));
    return !g.visible.IsEmpty();
}

// Maps destination offset i (0 .. dn-1) to a source offset (0 .. sn-1): the
// source pixel under the destination pixel's centre. Sizes reach 2^33, so the
// product needs more than 64 bits.
std::int64_t MapOffset(std::int64_t i, std::int64_t dn, std::int64_t sn, bool mirrored) noexcept
{
    std::int64_t o = i;
    if (dn != sn)
        o = static_cast<std::int64_t>(((__int128 { 2 } * i + 1) * sn) / (__int128 { 2 } * dn));
    return mirrored ? sn - 1 - o : o;
}

// A source coordinate inside [0, size), or -1.
std::int32_t Inside(std::int64_t v, std::int32_t size) noexcept
{
    return v >= 0 && v < size ? static_cast<std::int32_t>(v) : -1;
}

// A same-size copy: only destination pixels with a source pixel change. Narrows
// the visible part to them and tries the fast row loops; true when done.
bool BlitUnscaled(Raster& dest, BlitGeometry& g, const Raster& src, const BlitParams& params)
{
    const WideRect sourceInDest = WideRect { 0, 0, src.Width(), src.Height() }.Offset(g.d.Left - g.s.Left, g.d.Top - g.s.Top);
    g.visible = ClipTo(sourceInDest, g.visible);
    if (g.visible.IsEmpty())
        return true;
    const TPoint srcTopLeft { static_cast<std::int32_t>(g.s.Left + (g.visible.Left - g.d.Left)),
        static_cast<std::int32_t>(g.s.Top + (g.visible.Top - g.d.Top)) };
    return TryFastBlit(dest, g.visible, src, srcTopLeft, params);
}

// What the generic loop needs to turn source pixels into operands.
struct Operands {
    std::uint8_t code;
    bool usesSource, usesPattern, srcMono, destMono, keyed;
    std::uint32_t srcBk, textColor, bkColor, key;
    const FillPattern* pattern;
};

Operands OperandsOf(const Raster& dest, const Raster& src, const BlitParams& params, const FillPattern& solidBlack) noexcept
{
    Operands o {};
    o.code = RopCode(params.rop);
    o.usesSource = RopUsesSource(o.code);
    o.usesPattern = RopUsesPattern(o.code);
    o.srcMono = src.IsMonochrome();
    o.destMono = dest.IsMonochrome();
    o.keyed = params.transparentKey != nullptr;
    o.srcBk = static_cast<std::uint32_t>(ColorToRGB(params.sourceBkColor)) & kColorMask;
    o.textColor = static_cast<std::uint32_t>(ColorToRGB(params.destTextColor)) & kColorMask;
    o.bkColor = static_cast<std::uint32_t>(ColorToRGB(params.destBkColor)) & kColorMask;
    o.key = o.keyed ? static_cast<std::uint32_t>(ColorToRGB(*params.transparentKey)) & kColorMask : 0;
    o.pattern = params.pattern ? params.pattern : &solidBlack;
    return o;
}

// One destination row of the generic loop; columns holds each visible column's
// source column, or -1.
void BlitRow(Raster& dest, std::int32_t y, std::int32_t left, const std::vector<std::int32_t>& columns,
    const std::uint32_t* srcRow, const Operands& o, std::uint32_t rop)
{
    std::uint32_t* destRow = dest.Row(y);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::int32_t x = left + static_cast<std::int32_t>(c);
        std::uint32_t sValue = 0;
        if (o.usesSource) {
            const std::int32_t srcX = columns[c];
            if (srcX < 0)
                continue;
            sValue = srcRow[srcX] & kColorMask;
            if (o.keyed && sValue == o.key)
                continue;
            if (o.srcMono && !o.destMono)
                sValue = sValue == kColorMask ? o.bkColor : o.textColor;
            else if (!o.srcMono && o.destMono)
                sValue = sValue == o.srcBk ? kColorMask : 0;
        }
        std::uint32_t pValue = 0;
        if (o.usesPattern) {
            bool opaque = true;
            pValue = static_cast<std::uint32_t>(o.pattern->At(x, y, opaque));
            if (!opaque)
                continue;
            if (!IsDirect(dest))
                pValue = dest.Store(static_cast<TColor>(pValue)) & kColorMask;
        }
        const std::uint32_t result = rop == 0x00CC0020 ? sValue : Rop3(o.code, pValue, sValue, destRow[x] & kColorMask);
        destRow[x] = dest.Store(static_cast<TColor>(result));
    }
}

// Any operation, any scale: each visible destination pixel reads the source
// pixel under its centre.
void BlitGeneric(Raster& dest, const BlitGeometry& g, const Raster& src, const BlitParams& params)
{
    const FillPattern solidBlack = SolidPattern(0);
    const Operands o = OperandsOf(dest, src, params, solidBlack);
    const std::int64_t dw = g.d.Width(), dh = g.d.Height(), sw = g.s.Width(), sh = g.s.Height();
    std::vector<std::int32_t> columns(static_cast<std::size_t>(g.visible.Width()));
    for (std::int32_t x = g.visible.Left; x < g.visible.Right; ++x)
        columns[static_cast<std::size_t>(x - g.visible.Left)]
            = Inside(g.s.Left + MapOffset(x - g.d.Left, dw, sw, g.mirrorX), src.Width());
    for (std::int32_t y = g.visible.Top; y < g.visible.Bottom; ++y) {
        const std::int32_t srcY = Inside(g.s.Top + MapOffset(y - g.d.Top, dh, sh, g.mirrorY), src.Height());
        if (o.usesSource && srcY < 0)
            continue;
        BlitRow(dest, y, g.visible.Left, columns, o.usesSource ? src.Row(srcY) : nullptr, o, params.rop);
    }
}

} // namespace

void Blit(Raster& dest, const TRect& destClip, const WideRect& destRect, const Raster& source, const WideRect& sourceRect,
    const BlitParams& params)
{
    if (dest.Empty() || source.Empty())
        return;
    BlitGeometry g;
    if (!Arrange(dest, destClip, destRect, sourceRect, g))
        return;
    // A copy within one raster reads from a snapshot, so overlapping areas work.
    std::unique_ptr<Raster> snapshot;
    const Raster* src = &source;
    if (&source == &dest) {
        snapshot = std::make_unique<Raster>();
        snapshot->CopyFrom(source);
        src = snapshot.get();
    }
    if (!g.Scaled() && BlitUnscaled(dest, g, *src, params))
        return;
    BlitGeneric(dest, g, *src, params);
}

void PatternBlit(Raster& dest, const TRect& destClip, const WideRect& destRect, const BlitParams& params)
{
    const std::uint8_t code = RopCode(params.rop);
    // Without a source the operation only sees pattern and destination.
    if (RopUsesSource(code))
        return;
    const Axis x = Normalize(destRect.Left, destRect.Right), y = Normalize(destRect.Top, destRect.Bottom);
    const TRect d = ClipTo({ x.lo, y.lo, x.hi, y.hi }, Intersect(destClip, dest.Bounds()));
    const FillPattern solidBlack = SolidPattern(0);
    const FillPattern& pattern = params.pattern ? *params.pattern : solidBlack;
    for (std::int32_t row = d.Top; row < d.Bottom; ++row) {
        std::uint32_t* out = dest.Row(row);
        for (std::int32_t col = d.Left; col < d.Right; ++col) {
            bool opaque = true;
            const auto pv = static_cast<std::uint32_t>(pattern.At(col, row, opaque));
            if (!opaque)
                continue;
            out[col] = dest.Store(static_cast<TColor>(Rop3(code, pv, 0, out[col] & kColorMask)));
        }
    }
}

} // namespace plx::detail
