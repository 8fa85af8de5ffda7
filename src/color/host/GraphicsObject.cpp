#include "color/host/GraphicsObject.h"

#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"

#include <charconv>
#include <cstdio>

namespace plx {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) noexcept
{
    if (c == 0)
        return -1;
    std::int64_t n = static_cast<std::int64_t>(a) * b;
    bool negative = (n < 0) != (c < 0);
    std::int64_t an = n < 0 ? -n : n;
    std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t q = (an + ac / 2) / ac;
    return static_cast<std::int32_t>(negative ? -q : q);
}

const TIdentMap& ColorIdents()
{
    static const TIdentMap map { {
        { clBlack, "clBlack" }, { clMaroon, "clMaroon" }, { clGreen, "clGreen" }, { clOlive, "clOlive" },
        { clNavy, "clNavy" }, { clPurple, "clPurple" }, { clTeal, "clTeal" }, { clGray, "clGray" },
        { clSilver, "clSilver" }, { clRed, "clRed" }, { clLime, "clLime" }, { clYellow, "clYellow" },
        { clBlue, "clBlue" }, { clFuchsia, "clFuchsia" }, { clAqua, "clAqua" }, { clWhite, "clWhite" },
        { clScrollBar, "clScrollBar" }, { clBackground, "clBackground" }, { clActiveCaption, "clActiveCaption" },
        { clInactiveCaption, "clInactiveCaption" }, { clMenu, "clMenu" }, { clWindow, "clWindow" },
        { clWindowFrame, "clWindowFrame" }, { clMenuText, "clMenuText" }, { clWindowText, "clWindowText" },
        { clCaptionText, "clCaptionText" }, { clActiveBorder, "clActiveBorder" }, { clInactiveBorder, "clInactiveBorder" },
        { clAppWorkSpace, "clAppWorkSpace" }, { clHighlight, "clHighlight" }, { clHighlightText, "clHighlightText" },
        { clBtnFace, "clBtnFace" }, { clBtnShadow, "clBtnShadow" }, { clGrayText, "clGrayText" },
        { clBtnText, "clBtnText" }, { clInactiveCaptionText, "clInactiveCaptionText" },
        { clBtnHighlight, "clBtnHighlight" }, { cl3DDkShadow, "cl3DDkShadow" }, { cl3DLight, "cl3DLight" },
        { clInfoText, "clInfoText" }, { clInfoBk, "clInfoBk" }, { clNone, "clNone" }, { clDefault, "clDefault" },
    } };
    return map;
}

std::string ColorToString(TColor color)
{
    if (auto name = ColorIdents().IdentOf(color))
        return *name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
    return text;
}

TColor StringToColor(const std::string& text)
{
    if (auto value = ColorIdents().ValueOf(text))
        return static_cast<TColor>(*value);
    std::string_view s = text;
    bool negative = !s.empty() && s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        s.remove_prefix(1);
        base = 16;
    }
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || value > 0xFFFFFFFFull)
        throw EConvertError("'" + text + "' is not a valid integer value");
    auto v = static_cast<std::uint32_t>(value);
    return static_cast<TColor>(negative ? 0u - v : v);
}

void TGraphicsObject::Changed()
{
    if (m_onChange)
        m_onChange(this);
}

} // namespace plx
