#include "color/host/DrawText.h"

#include "color/host/Canvas.h"
#include "color/host/FontEngine.h"
#include "color/host/detail/CanvasAccess.h"
#include "color/host/detail/GdiTable.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plx {

namespace {

struct Line {
    std::size_t begin { 0 };
    std::size_t end { 0 };
    std::int64_t width { 0 };
};

// The text as shown, with the indices of the accelerator characters.
struct Shown {
    std::u32string text;
    std::vector<std::size_t> marks;
};

Shown StripPrefixes(const std::u32string& text, bool prefixes)
{
    Shown shown;
    if (!prefixes) {
        shown.text = text;
        return shown;
    }
    shown.text.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != U'&') {
            shown.text.push_back(text[i]);
            continue;
        }
        if (i + 1 == text.size())
            break; // a trailing "&" shows nothing
        if (text[i + 1] != U'&')
            shown.marks.push_back(shown.text.size());
        shown.text.push_back(text[++i]);
    }
    return shown;
}

class Layout {
public:
    Layout(detail::FontInstance& font, const std::u32string& text, bool expandTabs)
        : m_font(font)
        , m_text(text)
        , m_expandTabs(expandTabs)
        , m_tabWidth(std::max<std::int64_t>(8 * std::int64_t { font.Metrics().averageWidth }, 1))
    {
    }

    // A tab that moves to the next tab stop.
    [[nodiscard]] bool IsTab(std::size_t i) const noexcept { return m_expandTabs && m_text[i] == U'\t'; }

    // The pen position after character i when it starts at x (x counts from the line's start).
    [[nodiscard]] std::int64_t Advance(std::size_t i, std::int64_t x)
    {
        if (m_expandTabs && m_text[i] == U'\t')
            return (x / m_tabWidth + 1) * m_tabWidth;
        return x + m_font.Advance(m_text[i]);
    }

    [[nodiscard]] std::int64_t Width(std::size_t begin, std::size_t end)
    {
        std::int64_t x = 0;
        for (std::size_t i = begin; i < end; ++i)
            x = Advance(i, x);
        return x;
    }

    void AddLine(std::size_t begin, std::size_t end) { m_lines.push_back({ begin, end, Width(begin, end) }); }

    // Greedy filling: a line ends at the last space before the character that
    // would pass the width; spaces at a break belong to neither line.
    void AddWrapped(std::size_t begin, std::size_t end, std::int64_t width)
    {
        std::size_t start = begin;
        while (true) {
            std::int64_t x = 0;
            std::size_t breakAt = end;
            std::size_t i = start;
            for (; i < end; ++i) {
                bool space = m_text[i] == U' ';
                if (space)
                    breakAt = i;
                std::int64_t next = Advance(i, x);
                if (!space && next > width && breakAt != end && breakAt > start)
                    break;
                x = next;
            }
            if (i == end) {
                AddLine(start, TrimRight(start, end));
                return;
            }
            AddLine(start, TrimRight(start, breakAt));
            start = breakAt;
            while (start < end && m_text[start] == U' ')
                ++start;
            if (start == end)
                return;
        }
    }

    void Split(bool singleLine, bool wordBreak, std::int64_t width)
    {
        if (singleLine) {
            AddLine(0, m_text.size());
            return;
        }
        std::size_t start = 0;
        for (std::size_t i = 0; i <= m_text.size(); ++i) {
            if (i < m_text.size() && m_text[i] != U'\r' && m_text[i] != U'\n')
                continue;
            // A break at the very end does not open another line.
            if (i == m_text.size() && start == i && !m_lines.empty())
                break;
            if (wordBreak)
                AddWrapped(start, i, width);
            else
                AddLine(start, i);
            if (i + 1 < m_text.size() && m_text[i] == U'\r' && m_text[i + 1] == U'\n')
                ++i;
            start = i + 1;
        }
    }

    [[nodiscard]] const std::vector<Line>& Lines() const noexcept { return m_lines; }

private:
    [[nodiscard]] std::size_t TrimRight(std::size_t begin, std::size_t end) const
    {
        while (end > begin && m_text[end - 1] == U' ')
            --end;
        return end;
    }

    detail::FontInstance& m_font;
    const std::u32string& m_text;
    bool m_expandTabs;
    std::int64_t m_tabWidth;
    std::vector<Line> m_lines;
};

void FillBehind(TCanvas& canvas, detail::WideRect back, const TRect* clip)
{
    if (clip)
        back = { std::max<std::int64_t>(back.Left, clip->Left), std::max<std::int64_t>(back.Top, clip->Top),
            std::min<std::int64_t>(back.Right, clip->Right), std::min<std::int64_t>(back.Bottom, clip->Bottom) };
    detail::CanvasAccess::Fill(canvas, back);
}

// Draws one line at (x, y) in pieces between tabs, each at its tab stop.
void PaintLine(TCanvas& canvas, Layout& layout, const Shown& shown, const Line& line, std::int64_t x, std::int64_t y,
    const TRect* clip)
{
    std::size_t piece = line.begin;
    std::int64_t pieceX = 0, pen = 0;
    for (std::size_t i = line.begin; i <= line.end; ++i) {
        const bool tab = i < line.end && layout.IsTab(i);
        if (i < line.end && !tab) {
            pen = layout.Advance(i, pen);
            continue;
        }
        if (i > piece) {
            detail::TextPaint options;
            options.clip = clip;
            for (std::size_t mark : shown.marks)
                if (mark >= piece && mark < i)
                    options.underlined.push_back(mark - piece);
            const std::u32string_view part(shown.text.data() + piece, i - piece);
            detail::CanvasAccess::PaintText(canvas, x + pieceX, y, part, options);
        }
        if (tab)
            pen = layout.Advance(i, pen);
        piece = i + 1;
        pieceX = pen;
    }
}

} // namespace

std::int32_t DrawText(TCanvas& canvas, std::string_view text, TRect& rect, std::uint32_t format)
{
    const bool singleLine = format & DT_SINGLELINE;
    const bool expandTabs = format & DT_EXPANDTABS;
    auto font = detail::FontEngine::Instance().Resolve(detail::CanvasAccess::TextFont(canvas));
    const std::int32_t lineHeight = font->Metrics().height;
    const Shown shown = StripPrefixes(detail::DecodeText(text), !(format & DT_NOPREFIX));
    if (shown.text.empty()) {
        if (format & DT_CALCRECT) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top;
        }
        return 0;
    }

    Layout layout(*font, shown.text, expandTabs);
    layout.Split(singleLine, format & DT_WORDBREAK, rect.Width());
    const auto& lines = layout.Lines();
    const std::int64_t textHeight = static_cast<std::int64_t>(lines.size()) * lineHeight;

    if (format & DT_CALCRECT) {
        std::int64_t widest = 0;
        for (const Line& l : lines)
            widest = std::max(widest, l.width);
        rect.Right = SaturateInt32(std::int64_t { rect.Left } + widest);
        rect.Bottom = SaturateInt32(std::int64_t { rect.Top } + textHeight);
        return SaturateInt32(textHeight);
    }

    std::int64_t top = rect.Top;
    if (singleLine && (format & DT_VCENTER))
        top = rect.Top + (std::int64_t { rect.Height() } - lineHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        top = std::int64_t { rect.Bottom } - lineHeight;

    const TRect* clip = (format & DT_NOCLIP) ? nullptr : &rect;
    const bool opaque = canvas.Brush().Style() == bsSolid;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const Line& line = lines[k];
        std::int64_t x = rect.Left;
        if (format & DT_CENTER)
            x = rect.Left + (std::int64_t { rect.Width() } - line.width) / 2;
        else if (format & DT_RIGHT)
            x = std::int64_t { rect.Right } - line.width;
        const std::int64_t y = top + static_cast<std::int64_t>(k) * lineHeight;
        if (opaque)
            FillBehind(canvas, { x, y, x + line.width, y + lineHeight }, clip);
        PaintLine(canvas, layout, shown, line, x, y, clip);
    }
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM)))
        return SaturateInt32(top - rect.Top + lineHeight);
    return SaturateInt32(textHeight);
}

std::int32_t DrawTextA(HDC dc, const char* text, std::int32_t count, TRect& rect, std::uint32_t format)
{
    TCanvas* canvas = detail::CanvasFromDC(dc);
    if (!canvas || !text)
        return 0;
    std::size_t length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    return DrawText(*canvas, std::string_view(text, length), rect, format);
}

} // namespace plx
