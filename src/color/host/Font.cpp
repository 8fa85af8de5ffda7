#include "color/host/Font.h"

#include "rtl/Store.h"
#include "rtl/TypInfo.h"

namespace plx {

void TFont::SetName(const std::string& name)
{
    if (name.empty() || name == m_name)
        return;
    m_name = name;
    Changed();
}

void TFont::SetHeight(std::int32_t height)
{
    Store(m_height, height, [this] { Changed(); });
}

std::int32_t TFont::Size() const noexcept
{
    return -MulDiv(m_height, 72, kPixelsPerInch);
}

void TFont::SetSize(std::int32_t points)
{
    SetHeight(-MulDiv(points, kPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style)
{
    Store(m_style, style, [this] { Changed(); });
}

void TFont::SetColor(TColor color)
{
    Store(m_color, color, [this] { Changed(); });
}

void TFont::SetCharset(TFontCharset charset)
{
    Store(m_charset, charset, [this] { Changed(); });
}

void TFont::SetPitch(TFontPitch pitch)
{
    Store(m_pitch, pitch, [this] { Changed(); });
}

void TFont::SetAntiAliased(bool value)
{
    Store(m_antiAliased, value, [this] { Changed(); });
}

void TFont::Assign(const TPersistent* source)
{
    if (auto font = dynamic_cast<const TFont*>(source)) {
        m_name = font->m_name;
        m_height = font->m_height;
        m_style = font->m_style;
        m_color = font->m_color;
        m_charset = font->m_charset;
        m_pitch = font->m_pitch;
        m_antiAliased = font->m_antiAliased;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

const TClassInfo& TFont::StaticClassInfo()
{
    static const TEnumInfo styles { "TFontStyle", { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" } };
    static const TEnumInfo pitches { "TFontPitch", { "fpDefault", "fpVariable", "fpFixed" } };
    static const TClassInfo info = TClassInfoBuilder<TFont>("TFont", &TPersistent::StaticClassInfo())
        .Integer("Charset", &TFont::Charset, &TFont::SetCharset, std::nullopt, nullptr, "TFontCharset")
        .Integer("Color", &TFont::Color, &TFont::SetColor, std::nullopt, &ColorIdents(), "TColor")
        .Integer("Height", &TFont::Height, &TFont::SetHeight)
        .String("Name", &TFont::Name, &TFont::SetName)
        .Enum("Pitch", pitches, &TFont::Pitch, &TFont::SetPitch, fpDefault)
        .Integer("Size", &TFont::Size, &TFont::SetSize).NotStored()
        .Set("Style", styles, "TFontStyles", &TFont::Style, &TFont::SetStyle)
        .Bool("AntiAliased", &TFont::AntiAliased, &TFont::SetAntiAliased, false)
        .Build();
    return info;
}

const TClassInfo& TFont::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
