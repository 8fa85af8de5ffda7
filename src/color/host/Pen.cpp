#include "color/host/Pen.h"

#include "rtl/Store.h"
#include "rtl/TypInfo.h"

#include <algorithm>

namespace plx {

void TPen::SetColor(TColor color)
{
    Store(m_color, color, [this] { Changed(); });
}

void TPen::SetStyle(TPenStyle style)
{
    Store(m_style, style, [this] { Changed(); });
}

void TPen::SetWidth(std::int32_t width)
{
    width = std::max(width, 1);
    Store(m_width, width, [this] { Changed(); });
}

void TPen::SetMode(TPenMode mode)
{
    Store(m_mode, mode, [this] { Changed(); });
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
