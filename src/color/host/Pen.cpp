#include "color/host/Pen.h"

#include "rtl/TypInfo.h"

#include <algorithm>

namespace plx {

void TPen::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    Changed();
}

void TPen::SetWidth(std::int32_t width)
{
    width = std::max(width, 1);
    if (width == m_width)
        return;
    m_width = width;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    Changed();
}

void TPen::Assign(const TPersistent* source)
{
    if (auto pen = dynamic_cast<const TPen*>(source)) {
        m_color = pen->m_color;
        m_style = pen->m_style;
        m_width = pen->m_width;
        m_mode = pen->m_mode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

const TClassInfo& TPen::StaticClassInfo()
{
    static const TEnumInfo styles { "TPenStyle", { "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame" } };
    static const TEnumInfo modes { "TPenMode", { "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
        "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor" } };
    static const TClassInfo info = TClassInfoBuilder<TPen>("TPen", &TPersistent::StaticClassInfo())
        .Integer("Color", &TPen::Color, &TPen::SetColor, clBlack, &ColorIdents(), "TColor")
        .Enum("Mode", modes, &TPen::Mode, &TPen::SetMode, pmCopy)
        .Enum("Style", styles, &TPen::Style, &TPen::SetStyle, psSolid)
        .Integer("Width", &TPen::Width, &TPen::SetWidth, 1)
        .Build();
    return info;
}

const TClassInfo& TPen::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
