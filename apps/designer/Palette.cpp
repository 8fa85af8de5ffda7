#include "designer/Palette.h"

#include "color/host/Bitmap.h"
#include "color/host/SysColors.h"
#include "designer/FormDesigner.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cctype>

namespace plx::designer {

namespace {

constexpr std::int32_t kTabPadding = 8;
constexpr std::int32_t kButtonGap = 2;

// Capitals of a class name without its T ("TKnGradient" gives "KG"), for a
// class without a picture.
std::string Initials(const std::string& className)
{
    std::string initials;
    for (std::size_t i = 1; i < className.size() && initials.size() < 3; ++i)
        if (std::isupper(static_cast<unsigned char>(className[i])))
            initials += className[i];
    return initials.empty() ? className.substr(0, 2) : initials;
}

} // namespace

void DrawFrame3D(TCanvas& canvas, const TRect& r, bool sunken)
{
    const TColor light = sunken ? clBtnShadow : clBtnHighlight;
    const TColor dark = sunken ? clBtnHighlight : clBtnShadow;
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(light);
    canvas.Polyline({ TPoint { r.Left, r.Bottom - 1 }, TPoint { r.Left, r.Top }, TPoint { r.Right - 1, r.Top } });
    canvas.Pen().SetColor(dark);
    canvas.Polyline({ TPoint { r.Right - 1, r.Top }, TPoint { r.Right - 1, r.Bottom - 1 }, TPoint { r.Left - 1, r.Bottom - 1 } });
}

TPaletteBar::TPaletteBar(TComponent* owner, TFormDesigner& designer)
    : TCustomControl(owner)
    , m_designer(designer)
{
    SetControlStyle(ControlStyle().With(csOpaque));
    SetBounds(0, 0, 400, kPaletteTabHeight + kPaletteButtonSize + 6);
}

void TPaletteBar::Refresh()
{
    m_pages = PalettePages();
    if (std::find(m_pages.begin(), m_pages.end(), m_page) == m_pages.end())
        m_page = m_pages.empty() ? std::string() : m_pages.front();
    m_entries = PaletteEntries(m_page);
    Invalidate();
}

void TPaletteBar::SetPage(const std::string& page)
{
    if (std::find(m_pages.begin(), m_pages.end(), page) == m_pages.end())
        return;
    m_page = page;
    m_entries = PaletteEntries(m_page);
    Invalidate();
}

TRect TPaletteBar::TabRect(std::size_t page) const
{
    TCanvas measure;
    measure.Font().Assign(&Font());
    std::int32_t x = 4;
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const std::int32_t width = measure.TextWidth(m_pages[i]) + 2 * kTabPadding;
        if (i == page)
            return Rect(x, 2, x + width, kPaletteTabHeight);
        x += width;
    }
    return {};
}

TRect TPaletteBar::ButtonRect(std::size_t button) const
{
    const std::int32_t left = 4 + static_cast<std::int32_t>(button) * (kPaletteButtonSize + kButtonGap) + (button > 0 ? 6 : 0);
    const std::int32_t top = kPaletteTabHeight + 3;
    return Rect(left, top, left + kPaletteButtonSize, top + kPaletteButtonSize);
}

bool TPaletteBar::Pressed(std::size_t button) const
{
    const std::string& pending = m_designer.PendingClass();
    if (button == 0)
        return pending.empty();
    return button - 1 < m_entries.size() && m_entries[button - 1].Class->Name() == pending;
}

void TPaletteBar::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(ClientRect());
    PaintTabs(canvas);
    for (std::size_t b = 0; b <= m_entries.size(); ++b)
        PaintButton(canvas, b);
}

void TPaletteBar::PaintTabs(TCanvas& canvas)
{
    canvas.Pen().SetColor(clBtnShadow);
    canvas.MoveTo(0, kPaletteTabHeight);
    canvas.LineTo(Width(), kPaletteTabHeight);
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        TRect r = TabRect(i);
        const bool current = m_pages[i] == m_page;
        if (!current)
            r.Top += 2;
        canvas.Brush().SetColor(current ? clBtnFace : clBtnShadow);
        canvas.FillRect(r);
        DrawFrame3D(canvas, Rect(r.Left, r.Top, r.Right, r.Bottom + 1), false);
        canvas.Brush().SetStyle(bsClear);
        canvas.Font().SetColor(current ? clBtnText : clBtnHighlight);
        canvas.TextOut(r.Left + kTabPadding, r.Top + 2, m_pages[i]);
        canvas.Brush().SetStyle(bsSolid);
    }
}

void TPaletteBar::PaintButton(TCanvas& canvas, std::size_t button)
{
    const TRect r = ButtonRect(button);
    const bool pressed = Pressed(button);
    canvas.Brush().SetColor(pressed ? clBtnHighlight : clBtnFace);
    canvas.FillRect(r);
    DrawFrame3D(canvas, r, pressed);
    const std::int32_t shift = pressed ? 1 : 0;
    if (button == 0) {
        // The arrow: selecting instead of dropping.
        const std::int32_t x = r.Left + 11 + shift, y = r.Top + 7 + shift;
        canvas.Brush().SetColor(clBlack);
        canvas.Pen().SetColor(clBlack);
        canvas.Polygon({ TPoint { x, y }, TPoint { x, y + 14 }, TPoint { x + 4, y + 10 }, TPoint { x + 9, y + 10 } });
        return;
    }
    const TPaletteEntry& entry = m_entries[button - 1];
    if (entry.Icon && !entry.Icon->Empty()) {
        canvas.Draw(r.Left + (r.Width() - entry.Icon->Width()) / 2 + shift, r.Top + (r.Height() - entry.Icon->Height()) / 2 + shift,
            *entry.Icon);
        return;
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clBtnText);
    const std::string text = Initials(entry.Class->Name());
    const TSize extent = canvas.TextExtent(text);
    canvas.TextOut(r.Left + (r.Width() - extent.cx) / 2 + shift, r.Top + (r.Height() - extent.cy) / 2 + shift, text);
    canvas.Brush().SetStyle(bsSolid);
}

void TPaletteBar::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    const TPoint p { x, y };
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        if (TabRect(i).Contains(p)) {
            SetPage(m_pages[i]);
            return;
        }
    for (std::size_t b = 0; b <= m_entries.size(); ++b)
        if (ButtonRect(b).Contains(p)) {
            m_designer.SetPendingClass(b == 0 ? std::string() : m_entries[b - 1].Class->Name());
            Invalidate();
            return;
        }
}

void TPaletteBar::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    TCustomControl::MouseMove(shift, x, y);
    std::string hint;
    for (std::size_t b = 1; b <= m_entries.size(); ++b)
        if (ButtonRect(b).Contains({ x, y }))
            hint = m_entries[b - 1].Class->Name();
    if (m_onHint)
        m_onHint(hint);
}

} // namespace plx::designer
