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

struct Normalized {
    TRect rect;
    bool mirrored;
};

Normalized Normalize(TRect r, bool horizontal) noexcept
{
    bool mirrored = false;
    if (horizontal && r.Right < r.Left) {
        std::swap(r.Left, r.Right);
        mirrored = true;
    }
    if (!horizontal && r.Bottom < r.Top) {
        std::swap(r.Top, r.Bottom);
        mirrored = true;
    }
    return { r, mirrored };
}

// Maps destination offset i (0 .. dn-1) to a source offset (0 .. sn-1): the
// source pixel under the destination pixel's centre.
std::int32_t MapOffset(std::int64_t i, std::int64_t dn, std::int64_t sn, bool mirrored) noexcept
{
    std::int64_t o = dn == sn ? i : ((2 * i + 1) * sn) / (2 * dn);
    return static_cast<std::int32_t>(mirrored ? sn - 1 - o : o);
}

} // namespace

void Blit(Raster& dest, const TRect& destClip, const TRect& destRect, const Raster& source, const TRect& sourceRect,
    const BlitParams& params)
{
    if (dest.Empty() || source.Empty())
        return;
    // A copy within one raster reads from a snapshot, so overlapping areas work.
    std::unique_ptr<Raster> snapshot;
    const Raster* src = &source;
    if (&source == &dest) {
        snapshot = std::make_unique<Raster>();
        snapshot->CopyFrom(source);
        src = snapshot.get();
    }

    auto dx = Normalize(destRect, true);
    auto dy = Normalize(destRect, false);
    auto sx = Normalize(sourceRect, true);
    auto sy = Normalize(sourceRect, false);
    TRect d { dx.rect.Left, dy.rect.Top, dx.rect.Right, dy.rect.Bottom };
    TRect s { sx.rect.Left, sy.rect.Top, sx.rect.Right, sy.rect.Bottom };
    bool mirrorX = dx.mirrored != sx.mirrored;
    bool mirrorY = dy.mirrored != sy.mirrored;
    if (d.IsEmpty() || s.IsEmpty())
        return;
    TRect visible = Intersect(Intersect(d, destClip), dest.Bounds());
    if (visible.IsEmpty())
        return;
    std::int64_t dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
    bool scaled = dw != sw || dh != sh || mirrorX || mirrorY;

    if (!scaled) {
        // Destination pixels whose source lies outside the source stay unchanged.
        TRect sourceInDest = Rect(d.Left - s.Left, d.Top - s.Top, d.Left - s.Left + src->Width(), d.Top - s.Top + src->Height());
        visible = Intersect(visible, sourceInDest);
        if (visible.IsEmpty())
            return;
        TPoint srcTopLeft { s.Left + (visible.Left - d.Left), s.Top + (visible.Top - d.Top) };
        if (TryFastBlit(dest, visible, *src, srcTopLeft, params))
            return;
    }

    const std::uint8_t code = RopCode(params.rop);
    const bool usesSource = RopUsesSource(code);
    const bool usesPattern = RopUsesPattern(code);
    const bool srcMono = src->IsMonochrome();
    const bool destMono = dest.IsMonochrome();
    const std::uint32_t srcBk = static_cast<std::uint32_t>(ColorToRGB(params.sourceBkColor)) & kColorMask;
    const std::uint32_t textColor = static_cast<std::uint32_t>(ColorToRGB(params.destTextColor)) & kColorMask;
    const std::uint32_t bkColor = static_cast<std::uint32_t>(ColorToRGB(params.destBkColor)) & kColorMask;
    const std::uint32_t key = params.transparentKey ? static_cast<std::uint32_t>(ColorToRGB(*params.transparentKey)) & kColorMask : 0;
    const FillPattern solidBlack = SolidPattern(0);
    const FillPattern& pattern = params.pattern ? *params.pattern : solidBlack;

    std::vector<std::int32_t> columns(static_cast<std::size_t>(visible.Width()));
    for (std::int32_t x = visible.Left; x < visible.Right; ++x)
        columns[static_cast<std::size_t>(x - visible.Left)] = s.Left + MapOffset(x - d.Left, dw, sw, mirrorX);

    for (std::int32_t y = visible.Top; y < visible.Bottom; ++y) {
        std::int32_t srcY = s.Top + MapOffset(y - d.Top, dh, sh, mirrorY);
        if (usesSource && (srcY < 0 || srcY >= src->Height()))
            continue;
        const std::uint32_t* srcRow = usesSource ? src->Row(srcY) : nullptr;
        std::uint32_t* destRow = dest.Row(y);
        for (std::int32_t x = visible.Left; x < visible.Right; ++x) {
            std::uint32_t sValue = 0;
            if (usesSource) {
                std::int32_t srcX = columns[static_cast<std::size_t>(x - visible.Left)];
                if (srcX < 0 || srcX >= src->Width())
                    continue;
                sValue = srcRow[srcX] & kColorMask;
                if (params.transparentKey && sValue == key)
                    continue;
                if (srcMono && !destMono)
                    sValue = sValue == kColorMask ? bkColor : textColor;
                else if (!srcMono && destMono)
                    sValue = sValue == srcBk ? kColorMask : 0;
            }
            std::uint32_t pValue = 0;
            if (usesPattern) {
                bool opaque = true;
                pValue = static_cast<std::uint32_t>(pattern.At(x, y, opaque));
                if (!opaque)
                    continue;
                if (!IsDirect(dest))
                    pValue = dest.Store(static_cast<TColor>(pValue)) & kColorMask;
            }
            std::uint32_t result;
            if (params.rop == 0x00CC0020)
                result = sValue;
            else
                result = Rop3(code, pValue, sValue, destRow[x] & kColorMask);
            destRow[x] = dest.Store(static_cast<TColor>(result));
        }
    }
}

void PatternBlit(Raster& dest, const TRect& destClip, const TRect& destRect, const BlitParams& params)
{
    BlitParams p = params;
    std::uint8_t code = RopCode(p.rop);
    // Without a source the operation only sees pattern and destination.
    if (RopUsesSource(code))
        return;
    auto d = Intersect(Intersect(Rect(std::min(destRect.Left, destRect.Right), std::min(destRect.Top, destRect.Bottom),
                                     std::max(destRect.Left, destRect.Right), std::max(destRect.Top, destRect.Bottom)),
                           destClip),
        dest.Bounds());
    const FillPattern solidBlack = SolidPattern(0);
    const FillPattern& pattern = p.pattern ? *p.pattern : solidBlack;
    for (std::int32_t y = d.Top; y < d.Bottom; ++y) {
        std::uint32_t* row = dest.Row(y);
        for (std::int32_t x = d.Left; x < d.Right; ++x) {
            bool opaque = true;
            std::uint32_t pv = static_cast<std::uint32_t>(pattern.At(x, y, opaque));
            if (!opaque)
                continue;
            row[x] = dest.Store(static_cast<TColor>(Rop3(code, pv, 0, row[x] & kColorMask)));
        }
    }
}

} // namespace plx::detail
