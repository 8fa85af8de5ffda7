#include "components/ColorBtns.h"

#include "components/ClrPanel.h"

#include "color/ColorMan.h"
#include "color/host/DrawText.h"
#include "color/host/Resources.h"
#include "color/host/SysColors.h"
#include "framework/host/Forms.h"
#include "framework/host/Published.h"
#include "framework/host/Timer.h"
#include "paint/DrawMan.h"
#include "paint/Gradient.h"
#include "rtl/Exceptions.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"
#include "utils/APIMan.h"

#include <algorithm>
#include <cstdlib>

namespace plx {

namespace {

TUnitLifetime g_unit;
std::unique_ptr<TTimer> g_repeatTimer;
std::unique_ptr<TBitmap> g_pattern;
//! The button the repeat timer's handler calls; cleared when that button goes.
TColor95Button* g_repeatButton { nullptr };
std::unique_ptr<TGlyphCache> g_glyphCache;
std::uint64_t g_stateImagesMade { 0 };

constexpr std::uint32_t kFirstRepeatDelay = 500;
constexpr std::uint32_t kRepeatInterval = 100;
//! Paints a brush through a monochrome mask: where the mask is white the brush,
//! where it is black the destination stays.
constexpr TCopyMode kBrushThroughMask = 0x00E20746;

// Coordinates are kept within +-2^30 (less a few pixels), so that what the
// styles and the layout add or take away, and the sum of two edges that curves
// are computed from, never overflow; only a canvas whose origin lies further
// out than that could show the difference.
constexpr std::int64_t kFar = (std::int64_t { 1 } << 30) - 16;

std::int32_t Near(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp(value, -kFar, kFar));
}

void StopRepeat() noexcept
{
    if (g_repeatTimer)
        g_repeatTimer->SetEnabled(false);
}

// A new button takes the colour of a form or colour panel owner, black otherwise.
TColor InitialColor(const TComponent* owner) noexcept
{
    TColor color = clBlack;
    (void)plx::OwnerColor(owner, color);
    return color;
}

// ---- Face styles --------------------------------------------------------------

//! What every style draws with: the working rectangle and the corners taken at
//! the start, the resolved colour and the four edge shades. The corners are
//! drawn where they lie when they are near the visible part of the canvas, and
//! at its reach otherwise: the lines the styles draw are straight or a few
//! pixels long at a corner, so what shows is the same and no line runs
//! billions of pixels. Curves and the gradient's bands, which depend on the
//! whole box, use the exact one.
struct Face {
    TCanvas& canvas;
    TRect exact;
    TRect r;
    std::int32_t l, t, rt, b;
    TColor c;
    bool down;
    TColor e1, e2, e3, e4; //!< inner top-left, inner bottom-right, outer bottom-right, outer top-left
};

TRect WithinReach(const TRect& r, const TRect& clip) noexcept
{
    constexpr std::int64_t kMargin = 16;
    const std::int64_t left = std::int64_t { clip.Left } - kMargin, right = std::int64_t { clip.Right } + kMargin;
    const std::int64_t top = std::int64_t { clip.Top } - kMargin, bottom = std::int64_t { clip.Bottom } + kMargin;
    auto x = [&](std::int32_t v) { return Near(std::clamp<std::int64_t>(v, left, right)); };
    auto y = [&](std::int32_t v) { return Near(std::clamp<std::int64_t>(v, top, bottom)); };
    return Rect(x(r.Left), y(r.Top), x(r.Right), y(r.Bottom));
}

void Fill(Face& f)
{
    f.canvas.Brush().SetColor(f.c);
    f.canvas.Brush().SetStyle(bsSolid);
    f.canvas.FillRect(f.r);
}

void Line(TCanvas& canvas, TColor color, TPoint from, TPoint to)
{
    canvas.Pen().SetColor(color);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
}

void Polyline(TCanvas& canvas, TColor color, std::initializer_list<TPoint> points)
{
    canvas.Pen().SetColor(color);
    canvas.Polyline(points);
}

// A FillRect with a clear brush paints nothing: the styles that "fill" with a
// clear brush only leave the brush clear.

void PaintWin31(Face& f)
{
    f.canvas.Pen().SetColor(DarkenColor(f.c, 126));
    f.canvas.Brush().SetColor(f.c);
    f.canvas.Rectangle(f.l, f.t, f.rt, f.b);
    for (TPoint p : { Point(f.l, f.t), Point(f.l, f.b - 1), Point(f.rt - 1, f.t), Point(f.rt - 1, f.b - 1) })
        f.canvas.SetPixels(p.X, p.Y, f.c);
    InflateRect(f.r, -1, -1);
    if (!f.down)
        Frame3D(f.canvas, f.r, BrightenColor(f.c, 48), DarkenColor(f.c, 48), 2);
    else // over the outer frame's top and left edge
        Polyline(f.canvas, DarkenColor(f.c, 48), { Point(f.l, f.b - 1), Point(f.l, f.t), Point(f.rt, f.t) });
}

void PaintNew(Face& f)
{
    Fill(f);
    Frame3D(f.canvas, f.r, f.e4, f.e3, 1);
    Frame3D(f.canvas, f.r, f.e1, f.e2, 1);
}

void PaintEllipse(Face& f)
{
    TCanvas& canvas = f.canvas;
    const TRect& e = f.exact;
    canvas.Brush().SetColor(f.c);
    canvas.Ellipse(e.Left + 2, e.Top + 2, e.Right - 2, e.Bottom - 2);
    canvas.Brush().SetStyle(bsClear);
    // The halves meet at points on the diagonal through the absolute corner.
    const std::int32_t a = e.Right / 5, b = e.Bottom / 5;
    const auto arc = [&](TColor color, TPoint from, TPoint to) {
        canvas.Pen().SetColor(color);
        canvas.Arc(e.Left + 2, e.Top + 2, e.Right - 2, e.Bottom - 2, from.X, from.Y, to.X, to.Y);
    };
    const TPoint upper = Point(4 * a, b), lower = Point(a, 4 * b);
    canvas.Pen().SetWidth(2);
    arc(f.e1, upper, lower);
    arc(f.down ? f.e3 : f.e2, lower, upper);
    canvas.Pen().SetWidth(1);
    arc(f.e4, upper, lower);
    arc(f.down ? f.e2 : f.e3, lower, upper);
}

void PaintTab(Face& f)
{
    Fill(f);
    TCanvas& canvas = f.canvas;
    const std::int32_t l = f.l, t = f.t, rt = f.rt, b = f.b;
    Polyline(canvas, BrightenColor(f.c, 24), { Point(l, b - 2), Point(l, t + 2), Point(l + 2, t), Point(rt - 2, t), Point(rt, t + 2) });
    canvas.Pen().SetStyle(psSolid);
    Polyline(canvas, BrightenColor(f.c, 64),
        { Point(l + 1, b - 3), Point(l + 1, t + 3), Point(l + 3, t + 1), Point(rt - 3, t + 1), Point(rt - 1, t + 3) });
    Line(canvas, DarkenColor(f.c, 48), Point(rt - 2, b - 4), Point(rt - 2, t + 4));
    Line(canvas, DarkenColor(f.c, 128), Point(rt - 1, b - 3), Point(rt - 1, t + 3));
    if (!f.down)
        Line(canvas, BrightenColor(f.c, 64), Point(l, b - 2), Point(rt, b - 2));
}

void PaintIE4(Face& f, bool framed)
{
    f.canvas.Brush().SetStyle(bsClear);
    if (framed)
        Frame3D(f.canvas, f.r, f.e1, f.e3, 1);
}

void PaintSideDownTab(Face& f)
{
    Fill(f);
    TCanvas& canvas = f.canvas;
    const std::int32_t l = f.l, t = f.t, rt = f.rt, b = f.b;
    Polyline(canvas, BrightenColor(f.c, 24), { Point(l, t + 2), Point(l, b - 2), Point(l + 2, b) });
    canvas.Pen().SetStyle(psSolid);
    Polyline(canvas, BrightenColor(f.c, 64), { Point(l + 1, t + 3), Point(l + 1, b - 3), Point(l + 3, b - 1) });
    Polyline(canvas, DarkenColor(f.c, 48),
        { Point(l + 2, b - 4), Point(l + 4, b - 2), Point(rt - 4, b - 2), Point(rt - 2, b - 4), Point(rt - 2, t + 3) });
    Polyline(canvas, DarkenColor(f.c, 128),
        { Point(l + 1, b - 3), Point(l + 3, b - 1), Point(rt - 3, b - 1), Point(rt - 1, b - 3), Point(rt - 1, t + 2) });
    if (!f.down)
        Line(canvas, DarkenColor(f.c, 64), Point(l, t + 2), Point(rt, t + 2));
}

void PaintGlass(Face& f)
{
    TCanvas& canvas = f.canvas;
    const std::int32_t l = f.l, t = f.t, rt = f.rt, b = f.b;
    const TColor dark = DarkenColor(f.c, 128), mid = DarkenColor(f.c, 64);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(f.r);
    canvas.Brush().SetStyle(bsClear);
    if (!f.down) {
        Polyline(canvas, dark, { Point(l, b - 1), Point(rt - 1, b - 1), Point(rt - 1, t - 1) });
        canvas.Pen().SetColor(mid);
        canvas.Rectangle(l, t, rt - 1, b - 1);
        canvas.Pen().SetColor(f.c);
        canvas.Rectangle(l + 1, t + 1, rt - 2, b - 2);
    } else {
        canvas.Pen().SetColor(mid);
        canvas.Rectangle(l + 1, t + 1, rt - 1, b - 1);
        canvas.Pen().SetColor(f.c);
        canvas.Rectangle(l, t, rt, b);
        Polyline(canvas, dark, { Point(rt - 2, t + 2), Point(l + 2, t + 2), Point(l + 2, b - 2) });
    }
}

void PaintFlat(Face& f)
{
    f.canvas.Brush().SetColor(f.c);
    Frame3D(f.canvas, f.r, f.e1, f.e2, 1);
    f.canvas.FillRect(f.r);
}

void PaintMicroposeGame(Face& f)
{
    TCanvas& canvas = f.canvas;
    canvas.Brush().SetColor(f.c);
    canvas.Pen().SetStyle(psClear);
    // The octagon sits inside the client area; the result uses these corners too.
    f.l += 1;
    f.t += 1;
    f.b -= 2;
    f.rt -= 2;
    f.exact = Rect(f.exact.Left + 1, f.exact.Top + 1, f.exact.Right - 2, f.exact.Bottom - 2);
    const std::int32_t l = f.l, t = f.t, rt = f.rt, b = f.b;
    canvas.RoundRect(l, t, rt, b, 3, 3);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(2);
    canvas.MoveTo(rt, t + 3);
    struct Segment {
        TPoint to;
        std::int32_t amount; //!< > 0: brightened when not pressed; < 0: darkened
    };
    const Segment segments[] = { { Point(rt - 3, t), -24 }, { Point(l + 3, t), 48 }, { Point(l, t + 3), 64 },
        { Point(l, b - 3), 48 }, { Point(l + 3, b), -24 }, { Point(rt - 3, b), -48 }, { Point(rt, b - 3), -64 },
        { Point(rt, t + 3), -48 } };
    for (const Segment& s : segments) {
        const bool brighten = (s.amount > 0) != f.down;
        const std::int32_t amount = std::abs(s.amount);
        canvas.Pen().SetColor(brighten ? BrightenColor(f.c, amount) : DarkenColor(f.c, amount));
        canvas.LineTo(s.to.X, s.to.Y);
    }
}

void PaintGradientFace(Face& f)
{
    TCanvas& canvas = f.canvas;
    const TColor light = BrightenColor(f.c, 24), dark = DarkenColor(f.c, 96);
    --f.r.Right;
    --f.r.Bottom;
    Frame3D(canvas, f.r, f.down ? dark : light, f.down ? light : dark, 1);
    // Inside the frame, less one more pixel right and bottom.
    const TRect bands = Rect(f.exact.Left + 1, f.exact.Top + 1, f.exact.Right - 3, f.exact.Bottom - 3);
    canvas.Brush().SetStyle(bsSolid);
    if (!f.down) {
        const TColor colors[] = { BrightenColor(f.c, 24), f.c, DarkenColor(f.c, 24), DarkenColor(f.c, 48) };
        LineGradient(canvas, bands, colors, 3, diHorizonal, 2);
    } else {
        const TColor colors[] = { f.c, DarkenColor(f.c, 24), DarkenColor(f.c, 64) };
        LineGradient(canvas, bands, colors, 2, diHorizonal, 2);
    }
}

} // namespace

TRect DrawButtonFace(TCanvas& canvas, const TRect& client, TClr95ButtonStyle style, bool isDesigning, bool isDown,
    bool isMouseOver, TColor color)
{
    const TColor c = ColorToRGB(color);
    // A face larger than that is cut to it.
    const auto cut = [](std::int32_t from, std::int32_t to) {
        return Near(std::clamp<std::int64_t>(to, std::int64_t { Near(from) } - kFar, std::int64_t { Near(from) } + kFar));
    };
    const TRect exact = Rect(Near(client.Left), Near(client.Top), cut(client.Left, client.Right), cut(client.Top, client.Bottom));
    const TRect r = WithinReach(exact, canvas.ClipRect());
    Face f { canvas, exact, r, r.Left, r.Top, r.Right, r.Bottom, c, isDown, isDown ? DarkenColor(c, 48) : BrightenColor(c, 60),
        isDown ? BrightenColor(c, 48) : DarkenColor(c, 48), isDown ? BrightenColor(c, 64) : DarkenColor(c, 100),
        isDown ? DarkenColor(c, 96) : BrightenColor(c, 12) };
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetMode(pmCopy);
    std::int32_t inset = 2;
    switch (style) {
    case bsWin31: inset = 3; PaintWin31(f); break;
    case bsNew: PaintNew(f); break;
    case bsEllipse: PaintEllipse(f); break;
    case bsTab: PaintTab(f); break;
    case bsIE4: inset = 1; PaintIE4(f, isDown || isMouseOver || isDesigning); break;
    case bsSideDownTab: PaintSideDownTab(f); break;
    case bsGlass: inset = 3; PaintGlass(f); break;
    case bsFlat: inset = 1; PaintFlat(f); break;
    case bsOwnerDraw: break;
    case bsMicroposeGame: inset = 3; PaintMicroposeGame(f); break;
    case bsGradient: PaintGradientFace(f); break;
    }
    // A pressed face keeps its content in place but a pixel smaller all round.
    const std::int32_t content = inset + (isDown ? 1 : 0);
    const TRect& e = f.exact;
    return Rect(e.Left + content, e.Top + content, e.Right - content, e.Bottom - content);
}

TBitmap* DitherBitmap(TColor color)
{
    if (!g_pattern)
        return nullptr;
    TCanvas& canvas = g_pattern->Canvas();
    const std::int32_t w = g_pattern->Width(), h = g_pattern->Height();
    canvas.Brush().SetColor(color);
    canvas.FillRect(Rect(0, 0, w, h));
    const TColor light = BrightenColor(color, 128);
    for (std::int32_t y = 0; y < std::min(h, 8); ++y)
        for (std::int32_t x = y % 2; x < std::min(w, 8); x += 2)
            canvas.SetPixels(x, y, light);
    return g_pattern.get();
}

// ---- TGlyphList ---------------------------------------------------------------

TGlyphList::TGlyphList(std::int32_t width, std::int32_t height)
    : TImageList(nullptr, width, height)
{
}

std::int32_t TGlyphList::Add(const TBitmap& image, const TBitmap* mask)
{
    const auto free = std::find(m_used.begin(), m_used.end(), false);
    std::int32_t slot;
    if (free == m_used.end()) {
        slot = TImageList::Add(image, mask);
        m_used.push_back(true);
    } else {
        slot = static_cast<std::int32_t>(free - m_used.begin());
        TImageList::Replace(slot, image, mask);
        *free = true;
    }
    ++m_count;
    return slot;
}

void TGlyphList::Delete(std::int32_t index)
{
    if (index < 0 || index >= static_cast<std::int32_t>(m_used.size()))
        throw EInvalidOperation("Invalid image list index (" + std::to_string(index) + ")");
    const auto slot = static_cast<std::size_t>(index);
    if (!m_used[slot])
        return;
    m_used[slot] = false;
    --m_count;
}

bool TGlyphList::SlotUsed(std::int32_t index) const noexcept
{
    return index >= 0 && index < static_cast<std::int32_t>(m_used.size()) && m_used[static_cast<std::size_t>(index)];
}

// ---- TGlyphCache --------------------------------------------------------------

TGlyphList& TGlyphCache::ListForSize(std::int32_t width, std::int32_t height)
{
    for (auto it = m_lists.rbegin(); it != m_lists.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height)
            return **it;
    return *m_lists.emplace_back(std::make_unique<TGlyphList>(width, height));
}

void TGlyphCache::ReleaseList(TGlyphList* list)
{
    if (!list || list->Count() != 0)
        return;
    std::erase_if(m_lists, [list](const auto& l) { return l.get() == list; });
}

TGlyphCache* GlyphCache() noexcept
{
    return g_glyphCache.get();
}

std::uint64_t StateImagesMade() noexcept
{
    return g_stateImagesMade;
}

// ---- TButtonGlyph -------------------------------------------------------------

namespace {

void PaintThroughMask(TBitmap& image, const TBitmap& mask, TPoint at, TColor color)
{
    TCanvas& canvas = image.Canvas();
    canvas.Brush().SetColor(color);
    canvas.SetCopyMode(kBrushThroughMask);
    canvas.Draw(at.X, at.Y, mask); // a monochrome source reads black and white here
    canvas.SetCopyMode(cmSrcCopy);
}

//! Paints color where the cell holds key, through a monochrome mask of it.
void Recolour(TBitmap& image, TBitmap& cell, TColor key, TColor color, TPoint at = {})
{
    const TRect all = Rect(0, 0, cell.Width(), cell.Height());
    TBitmap mask(cell.Width(), cell.Height());
    mask.SetMonochrome(true);
    // Copies into a monochrome bitmap turn the source's background colour white.
    const TColor bk = cell.Canvas().SetBkColor(key);
    mask.Canvas().CopyRect(all, cell.Canvas(), all);
    cell.Canvas().SetBkColor(bk);
    PaintThroughMask(image, mask, at, color);
}

} // namespace

TButtonGlyph::TButtonGlyph()
{
    if (!g_glyphCache)
        g_glyphCache = std::make_unique<TGlyphCache>();
    m_picture.SetOnChange([this](TObject*) { PictureChanged(); });
}

TButtonGlyph::~TButtonGlyph()
{
    m_picture.SetOnChange(nullptr);
    ReleaseImages();
    if (g_glyphCache && g_glyphCache->Empty())
        g_glyphCache.reset();
}

void TButtonGlyph::SetGlyph(const TBitmap& value)
{
    ReleaseImages();
    m_picture.Assign(&value);
    m_transparentColor = m_picture.TransparentColor();
    const std::int32_t w = m_picture.Width(), h = m_picture.Height();
    if (w > 0 && h > 0 && w % h == 0) {
        const std::int32_t cells = w / h;
        m_numGlyphs = cells > 4 ? 1 : cells;
    }
}

void TButtonGlyph::SetNumGlyphs(TNumGlyphs value)
{
    if (value < 1)
        return;
    value = std::min(value, 4);
    if (value == m_numGlyphs)
        return;
    ReleaseImages();
    m_numGlyphs = value;
}

void TButtonGlyph::PictureChanged()
{
    m_transparentColor = m_picture.TransparentColor();
    ReleaseImages();
    if (m_onChange)
        m_onChange(this);
}

void TButtonGlyph::ReleaseImages()
{
    for (std::int32_t& index : m_indexes) {
        if (index != -1 && m_glyphList)
            m_glyphList->Delete(index);
        index = -1;
    }
    if (m_glyphList && g_glyphCache)
        g_glyphCache->ReleaseList(m_glyphList);
    m_glyphList = nullptr;
}

TSize TButtonGlyph::CellSize() const noexcept
{
    const std::int32_t w = m_picture.Width() / m_numGlyphs, h = m_picture.Height();
    return w > 0 && h > 0 ? TSize { w, h } : TSize {};
}

std::int32_t TButtonGlyph::MakeStateImage(TButtonState state, TColor color)
{
    m_faceColor = ColorToRGB(color);
    if (state == bsDown && m_numGlyphs < 3)
        state = bsUp;
    if (m_indexes[state] != -1)
        return m_indexes[state];
    const TSize cell = CellSize();
    if (cell.cx == 0)
        return -1;
    if (!g_glyphCache)
        g_glyphCache = std::make_unique<TGlyphCache>();
    m_glyphList = &g_glyphCache->ListForSize(cell.cx, cell.cy);
    TBitmap image(cell.cx, cell.cy);
    MakeImage(image, state, cell);
    m_indexes[state] = m_glyphList->Add(image, nullptr);
    ++g_stateImagesMade;
    return m_indexes[state];
}

void TButtonGlyph::MakeImage(TBitmap& image, TButtonState state, TSize cell)
{
    const TColor shadow = DarkenColor(m_faceColor, 48), highlight = BrightenColor(m_faceColor, 96);
    const TRect all = Rect(0, 0, cell.cx, cell.cy);
    const std::int32_t index = static_cast<std::int32_t>(state) < m_numGlyphs ? static_cast<std::int32_t>(state) : 0;
    TBitmap source(cell.cx, cell.cy);
    source.Canvas().CopyRect(all, m_picture.Canvas(), Bounds(index * cell.cx, 0, cell.cx, cell.cy));
    image.Canvas().Brush().SetColor(m_faceColor);
    if (state != bsDisabled) {
        image.Canvas().CopyRect(all, source.Canvas(), all);
    } else if (m_numGlyphs > 1) {
        // The picture's own disabled cell, its white, grey and transparent
        // colour turned into the face's highlight, shadow and colour.
        image.Canvas().CopyRect(all, source.Canvas(), all);
        Recolour(image, source, clWhite, highlight);
        Recolour(image, source, clGray, shadow);
        Recolour(image, source, m_transparentColor, m_faceColor);
    } else {
        // Embossed: the picture's black shows as highlight one pixel down and
        // right, under shadow in place, on the face colour. (A monochrome
        // picture copies as black and white, so its black shows the same way.)
        image.Canvas().FillRect(all);
        Recolour(image, source, clBlack, highlight, Point(1, 1));
        Recolour(image, source, clBlack, shadow, Point(0, 0));
    }
}

TButtonGlyph::TPlacement TButtonGlyph::LayoutGlyphAndCaption(TCanvas& canvas, const TRect& client, const std::string& caption,
    TButtonLayout layout, std::int32_t margin, std::int32_t spacing) const
{
    using I = std::int64_t;
    const I clientW = I { client.Right } - client.Left, clientH = I { client.Bottom } - client.Top;
    const TSize glyph = CellSize();
    I textW = 0, textH = 0;
    if (!caption.empty()) {
        TRect measured = Rect(0, 0, Near(clientW), 0);
        DrawText(canvas, caption, measured, DT_CALCRECT);
        textW = I { measured.Right } - measured.Left;
        textH = I { measured.Bottom } - measured.Top;
    }
    const detail::TGlyphOffsets at = detail::PlaceGlyph(clientW, clientH, glyph, textW, textH, layout, margin, spacing);
    TPlacement p;
    p.glyphPos = Point(Near(client.Left + at.glyphX), Near(client.Top + at.glyphY));
    p.textBounds = Rect(Near(client.Left + at.textX), Near(client.Top + at.textY), Near(client.Left + at.textX + textW),
        Near(client.Top + at.textY + textH));
    return p;
}

void TButtonGlyph::PaintGlyph(TCanvas& canvas, TPoint pos, TButtonState state)
{
    if (m_picture.Empty())
        return;
    const std::int32_t slot = MakeStateImage(state, m_faceColor);
    if (slot < 0)
        return;
    TBitmap image;
    m_glyphList->GetBitmap(slot, image);
    TransparentBlt(canvas, image, pos.X, pos.Y, m_transparentColor);
}

void TButtonGlyph::PaintCaption(TCanvas& canvas, const std::string& caption, const TRect& textBounds, TButtonState state,
    bool autoBlackWhite) const
{
    canvas.Brush().SetStyle(bsClear);
    TRect r = textBounds;
    if (state == bsDisabled) {
        OffsetRect(r, 1, 1);
        canvas.Font().SetColor(BrightenColor(m_faceColor, 96));
        DrawText(canvas, caption, r, 0);
        OffsetRect(r, -1, -1);
        canvas.Font().SetColor(DarkenColor(m_faceColor, 96));
        DrawText(canvas, caption, r, 0);
        return;
    }
    if (autoBlackWhite)
        canvas.Font().SetColor(IsLightColor(m_faceColor) ? clBlack : clWhite);
    DrawText(canvas, caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

TRect TButtonGlyph::PaintGlyphAndCaption(TCanvas& canvas, const TRect& client, const std::string& caption,
    TButtonLayout layout, std::int32_t margin, std::int32_t spacing, TButtonState state, bool autoBlackWhite)
{
    const TPlacement p = LayoutGlyphAndCaption(canvas, client, caption, layout, margin, spacing);
    PaintGlyph(canvas, p.glyphPos, state);
    PaintCaption(canvas, caption, p.textBounds, state, autoBlackWhite);
    return p.textBounds;
}

// ---- TColor95Button -----------------------------------------------------------

TColor95Button::TColor95Button(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBounds(0, 0, 25, 25);
    SetControlStyle({ csCaptureMouse, csOpaque, csDoubleClicks });
    SetColor(InitialColor(owner)); // CMColorChanged gives the glyph its face colour
    m_glyph.SetOnChange([this](TObject*) { GlyphChanged(); });
}

TColor95Button::~TColor95Button()
{
    // A later tick must not reach this button, held or not.
    if (g_repeatButton == this) {
        if (g_repeatTimer) {
            g_repeatTimer->SetEnabled(false);
            g_repeatTimer->SetOnTimer(nullptr);
        }
        g_repeatButton = nullptr;
    }
    m_glyph.SetOnChange(nullptr);
}

// ---- Properties ---------------------------------------------------------------

void TColor95Button::SetAllowAllUp(bool value)
{
    Store(m_allowAllUp, value, [this] { UpdateExclusive(); });
}

void TColor95Button::SetGroupIndex(std::int32_t value)
{
    Store(m_groupIndex, value, [this] { UpdateExclusive(); });
}

void TColor95Button::SetDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_down || (m_down && !m_allowAllUp))
        return;
    m_down = value;
    m_state = RestingState();
    Invalidate();
    if (value)
        UpdateExclusive();
}

void TColor95Button::SetGlyph(const TBitmap& value)
{
    m_glyph.SetGlyph(value);
    Invalidate();
}

void TColor95Button::SetLayout(TButtonLayout value)
{
    Store(m_layout, value, [this] { Invalidate(); });
}

void TColor95Button::SetMargin(std::int32_t value)
{
    if (value >= -1)
        Store(m_margin, value, [this] { Invalidate(); });
}

void TColor95Button::SetNumGlyphs(TNumGlyphs value)
{
    if (value < 1)
        return;
    value = std::min(value, 4);
    if (value == m_glyph.NumGlyphs())
        return;
    m_glyph.SetNumGlyphs(value);
    Invalidate();
}

void TColor95Button::SetStyle(TClr95ButtonStyle value)
{
    Store(m_style, value, [this] { Repaint(); });
}

void TColor95Button::SetOptions(TButtonOptions value)
{
    Store(m_options, value, [this] { Invalidate(); });
}

void TColor95Button::SetSpacing(std::int32_t value)
{
    Store(m_spacing, value, [this] { Invalidate(); });
}

void TColor95Button::GlyphChanged()
{
    Invalidate();
}

void TColor95Button::UpdateExclusive()
{
    if (m_groupIndex == 0 || !Parent())
        return;
    TMessage message { CM_BUTTONPRESSED, m_groupIndex, reinterpret_cast<LPARAM>(static_cast<TControl*>(this)), 0 };
    Parent()->Broadcast(message);
}

// ---- Painting -----------------------------------------------------------------

void TColor95Button::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.SetFont(Font());
    const bool designing = ComponentState().Contains(csDesigning);
    if (!Enabled() && !designing) {
        m_state = bsDisabled;
        m_dragging = false;
    } else if (m_state == bsDisabled) {
        m_state = RestingState();
    }
    const TButtonState state = m_state;
    const TRect client = ClientRect();
    TRect paintRect = client;
    if (m_style == bsOwnerDraw && m_onOwnerDraw) {
        const TWeakRef life(this);
        m_onOwnerDraw(this, canvas, paintRect);
        if (!life)
            return;
    } else {
        paintRect = DrawButtonFace(canvas, client, m_style == bsOwnerDraw ? bsNew : m_style, designing,
            state == bsDown || state == bsExclusive, m_mouseOver, Color());
    }
    PaintDither(canvas, paintRect, state);
    PaintHoverTint(canvas, paintRect, state);
    m_glyph.PaintGlyphAndCaption(canvas, paintRect, Caption(), m_layout, m_margin, m_spacing, state,
        m_options.Contains(boAutoBlackWhiteText));
}

void TColor95Button::PaintDither(TCanvas& canvas, TRect& paintRect, TButtonState state)
{
    if (state != bsExclusive || m_style == bsOwnerDraw || !m_options.Contains(boDitherPattern))
        return;
    TBitmap* pattern = DitherBitmap(Color());
    if (!pattern)
        return;
    canvas.Brush().SetBitmap(pattern);
    --paintRect.Right;
    --paintRect.Bottom;
    if (m_style == bsEllipse)
        canvas.Ellipse(paintRect.Left + 1, paintRect.Top + 1, paintRect.Right - 1, paintRect.Bottom - 1);
    else
        canvas.FillRect(paintRect);
    canvas.Brush().SetBitmap(nullptr);
}

void TColor95Button::PaintHoverTint(TCanvas& canvas, const TRect& paintRect, TButtonState state)
{
    if (!m_mouseOver || !Enabled() || state == bsDown || m_style == bsIE4)
        return;
    canvas.Brush().SetColor(state == bsUp || state == bsExclusive ? BrightenColor(Color(), 24) : Color());
    canvas.Pen().SetStyle(psClear);
    if (m_style == bsEllipse) {
        const TRect r = Rect(Near(std::int64_t { paintRect.Left } + 1), Near(std::int64_t { paintRect.Top } + 1),
            Near(std::int64_t { paintRect.Right } - 1), Near(std::int64_t { paintRect.Bottom } - 1));
        canvas.Ellipse(r);
    } else {
        canvas.FillRect(paintRect);
    }
    canvas.Pen().SetStyle(psSolid);
}

// ---- Mouse, keys and messages -------------------------------------------------

bool TColor95Button::Inside(std::int32_t x, std::int32_t y) const noexcept
{
    return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TColor95Button::StartRepeat()
{
    if (!g_repeatTimer)
        return;
    g_repeatButton = this;
    g_repeatTimer->SetOnTimer([this](TObject*) { OnButtonRepeat(); });
    g_repeatTimer->SetInterval(kFirstRepeatDelay);
    g_repeatTimer->SetEnabled(true);
}

void TColor95Button::OnButtonRepeat()
{
    g_repeatTimer->SetInterval(kRepeatInterval);
    if (m_state != bsDown || !MouseCapture())
        return;
    const TWeakRef life(this);
    try {
        Click();
    } catch (...) {
        StopRepeat();
        // The press ends here, so a later release does not click as well.
        if (!!life) {
            m_dragging = false;
            m_state = RestingState();
            Invalidate();
        }
        throw;
    }
}

void TColor95Button::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    const TWeakRef life(this);
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!life)
        return;
    if (button == mbLeft && Enabled()) {
        if (!m_down) {
            m_state = bsDown;
            Repaint();
            if (!life)
                return;
        }
        m_dragging = true;
    }
    if (m_options.Contains(boRepeatable))
        StartRepeat();
}

void TColor95Button::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    const TWeakRef life(this);
    TGraphicControl::MouseMove(shift, x, y);
    if (!life || !m_dragging)
        return;
    TButtonState next = m_down ? bsExclusive : bsUp;
    if (Inside(x, y))
        next = m_down ? bsExclusive : bsDown;
    if (next != m_state) {
        m_state = next;
        Repaint();
    }
}

void TColor95Button::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    // Every release stops the repeat timer, whatever happens on the way.
    struct RepeatStop {
        ~RepeatStop() { StopRepeat(); }
    } stop;
    const TWeakRef life(this);
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!life || !m_dragging)
        return;
    m_dragging = false;
    const bool doClick = Inside(x, y);
    m_state = bsUp;
    if (m_groupIndex == 0) {
        Repaint();
    } else if (doClick) {
        SetDown(!m_down);
        // A down button that may not be raised stays down, and shows it.
        m_state = RestingState();
        Invalidate();
    } else {
        m_state = RestingState();
        Repaint();
    }
    if (doClick && !!life)
        Click();
}

void TColor95Button::Click()
{
    PlayWave(m_soundClick);
    TGraphicControl::Click();
}

void TColor95Button::WMLButtonDblClk(TMessage& message)
{
    const TWeakRef life(this);
    TGraphicControl::WMLButtonDblClk(message);
    if (!!life && m_down)
        DblClick();
}

void TColor95Button::CMMouseEnter(TMessage&)
{
    if (m_mouseOver || !m_options.Contains(boShowMouseFocus) || !Enabled())
        return;
    m_mouseOver = true;
    PlayWave(m_soundMouseOver);
    Invalidate();
}

void TColor95Button::CMMouseLeave(TMessage&)
{
    if (!m_mouseOver)
        return;
    m_mouseOver = false;
    Invalidate();
}

void TColor95Button::CMEnabledChanged(TMessage&)
{
    m_state = Enabled() ? RestingState() : bsDisabled;
    m_glyph.MakeStateImage(m_state, Color());
    Invalidate();
}

void TColor95Button::CMColorChanged(TMessage&)
{
    m_glyph.MakeStateImage(m_state, Color());
    Invalidate();
}

void TColor95Button::CMButtonPressed(TMessage& message)
{
    if (message.WParam != m_groupIndex)
        return;
    auto* sender = dynamic_cast<TColor95Button*>(reinterpret_cast<TControl*>(message.LParam));
    if (!sender || sender == this)
        return;
    if (sender->Down() && m_down) {
        m_down = false;
        m_state = bsUp;
        Invalidate();
    }
    m_allowAllUp = sender->AllowAllUp();
}

void TColor95Button::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<std::uint32_t>(message.WParam), Caption()) && Enabled()) {
        Click();
        message.Result = 1;
        return;
    }
    TGraphicControl::CMDialogChar(message);
}

void TColor95Button::Loaded()
{
    TGraphicControl::Loaded();
    m_glyph.MakeStateImage(Enabled() ? bsUp : bsDisabled, Color());
}

// ---- Published ----------------------------------------------------------------

const TEnumInfo& TColor95Button::StyleInfo()
{
    static const TEnumInfo info { "TClr95ButtonStyle", { "bsWin31", "bsNew", "bsEllipse", "bsTab", "bsIE4", "bsSideDownTab",
                                                           "bsGlass", "bsFlat", "bsOwnerDraw", "bsMicroposeGame", "bsGradient" } };
    return info;
}

const TEnumInfo& TColor95Button::LayoutInfo()
{
    static const TEnumInfo info { "TButtonLayout", { "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom" } };
    return info;
}

const TEnumInfo& TColor95Button::OptionInfo()
{
    static const TEnumInfo info { "TButtonOption",
        { "boShowMouseFocus", "boRepeatable", "boDitherPattern", "boAutoBlackWhiteText" } };
    return info;
}

const TClassInfo& TColor95Button::StaticClassInfo()
{
    // Color, Style and Options have no default: they are always written.
    // NumGlyphs is a subrange, so a form file's value outside 1..4 is refused.
    static const TClassInfo info = TClassInfoBuilder<TColor95Button>("TColor95Button", &TGraphicControl::StaticClassInfo())
        .Bool("AllowAllUp", &TColor95Button::AllowAllUp, &TColor95Button::SetAllowAllUp, false)
        .Integer("GroupIndex", &TColor95Button::GroupIndex, &TColor95Button::SetGroupIndex, 0)
        .Bool("Down", &TColor95Button::Down, &TColor95Button::SetDown, false)
        .Apply([](auto& b) { PublishInherited(b, { "Caption", "Enabled", "Font" }); })
        .Object("Glyph", "TBitmap", [](TColor95Button& c) -> TPersistent* { return &c.GetGlyph(); })
        .Enum("Layout", LayoutInfo(), &TColor95Button::Layout, &TColor95Button::SetLayout, blGlyphLeft)
        .String("SoundClick", &TColor95Button::SoundClick, &TColor95Button::SetSoundClick)
        .String("SoundMouseOver", &TColor95Button::SoundMouseOver, &TColor95Button::SetSoundMouseOver)
        .Integer("Margin", &TColor95Button::Margin, &TColor95Button::SetMargin, -1)
        .Integer(
            "NumGlyphs", &TColor95Button::GetNumGlyphs,
            [](TColor95Button& c, std::int32_t value) {
                if (value < 1 || value > 4)
                    throw EPropertyError("NumGlyphs " + std::to_string(value) + " is out of range (1..4)");
                c.SetNumGlyphs(value);
            },
            1, nullptr, "TNumGlyphs")
        .Integer("Color", &TControl::Color, &TControl::SetColor, std::nullopt, &ColorIdents(), "TColor")
        .Enum("Style", StyleInfo(), &TColor95Button::Style, &TColor95Button::SetStyle)
        .Set("Options", OptionInfo(), "TButtonOptions", &TColor95Button::Options, &TColor95Button::SetOptions)
        .Apply([](auto& b) { PublishInherited(b, { "ParentFont", "ParentShowHint", "ShowHint" }); })
        .Integer("Spacing", &TColor95Button::Spacing, &TColor95Button::SetSpacing, 4)
        .Apply([](auto& b) { PublishInherited(b, { "Visible" }); })
        .Event("OnOwnerDraw", "TClrBtnOwnerDrawEvent", &TColor95Button::OnOwnerDraw, &TColor95Button::SetOnOwnerDraw)
        .Apply([](auto& b) { PublishInherited(b, { "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TColor95Button(owner); })
        .Build();
    return info;
}

const TClassInfo& TColor95Button::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

TTimer* RepeatTimer() noexcept
{
    return g_repeatTimer.get();
}

void InitializeColorBtns()
{
    if (!g_unit.Initialize())
        return;
    g_repeatTimer = std::make_unique<TTimer>(nullptr);
    g_repeatTimer->SetEnabled(false);
    g_repeatTimer->SetInterval(kFirstRepeatDelay);
    g_pattern = std::make_unique<TBitmap>();
    g_pattern->LoadFromResourceName(HInstance(), "CLRBTNPATTERN");
    // The pattern is refilled with the button's colours: in the resource's
    // 16-colour table they would turn into its nearest entries.
    g_pattern->SetPixelFormat(pf24bit);
    RegisterClass(TColor95Button::StaticClassInfo());
}

void FinalizeColorBtns()
{
    if (!g_unit.Finalize())
        return;
    UnregisterClass(TColor95Button::StaticClassInfo());
    g_repeatButton = nullptr;
    g_repeatTimer.reset();
    g_pattern.reset();
}

} // namespace plx
