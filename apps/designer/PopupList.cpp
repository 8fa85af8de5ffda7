#include "designer/PopupList.h"

#include "color/host/DrawText.h"
#include "designer/Palette.h"

#include <algorithm>

namespace plx::designer {

std::string StripAccelerator(const std::string& caption)
{
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        text += caption[i];
    }
    return text;
}

TPopupList::TPopupList(std::vector<std::string> items, std::int32_t current, std::function<void(std::int32_t)> chosen)
    : TForm(&Application())
    , m_items(std::move(items))
    , m_current(current)
    , m_chosen(std::move(chosen))
{
    SetBorderStyle(bsNone);
    SetColor(clMenu);
    std::int32_t width = 60;
    for (const std::string& item : m_items)
        width = std::max(width, Canvas().TextWidth(StripAccelerator(item)) + 32);
    SetClientWidth(width);
    SetClientHeight(static_cast<std::int32_t>(m_items.size()) * kPopupItemHeight + 4);
}

void TPopupList::Popup(TPoint screen)
{
    SetBounds(screen.X, screen.Y, Width(), Height());
    Show();
}

TRect TPopupList::ItemRect(std::int32_t index) const
{
    return Rect(2, 2 + index * kPopupItemHeight, ClientWidth() - 2, 2 + (index + 1) * kPopupItemHeight);
}

void TPopupList::Choose(std::int32_t index)
{
    if (index < 0 || index >= static_cast<std::int32_t>(m_items.size()) || m_items[static_cast<std::size_t>(index)] == "-")
        return;
    // The list goes first: the choice may open another list or free components.
    auto chosen = std::move(m_chosen);
    Release();
    if (chosen)
        chosen(index);
}

void TPopupList::PaintWindow(TCanvas& canvas)
{
    canvas.Font().Assign(&Font());
    DrawFrame3D(canvas, ClientRect(), false);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(m_items.size()); ++i) {
        TRect r = ItemRect(i);
        const std::string& item = m_items[static_cast<std::size_t>(i)];
        if (item == "-") {
            canvas.Pen().SetColor(clBtnShadow);
            canvas.MoveTo(r.Left + 2, r.Top + r.Height() / 2);
            canvas.LineTo(r.Right - 2, r.Top + r.Height() / 2);
            continue;
        }
        const bool hot = i == m_hot;
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(hot ? clHighlight : clMenu);
        canvas.FillRect(r);
        canvas.Font().SetColor(hot ? clHighlightText : clMenuText);
        if (i == m_current)
            canvas.TextOut(r.Left + 4, r.Top + 2, "*");
        TRect text = Rect(r.Left + 16, r.Top + 2, r.Right, r.Bottom);
        canvas.Brush().SetStyle(bsClear);
        DrawText(canvas, item, text, DT_LEFT | DT_SINGLELINE);
    }
}

void TPopupList::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    TForm::MouseMove(shift, x, y);
    std::int32_t hot = -1;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(m_items.size()); ++i)
        if (ItemRect(i).Contains({ x, y }))
            hot = i;
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate();
    }
}

void TPopupList::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    TForm::MouseUp(button, shift, x, y);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(m_items.size()); ++i)
        if (ItemRect(i).Contains({ x, y })) {
            Choose(i);
            return;
        }
}

} // namespace plx::designer
