#include "color/host/Brush.h"

#include "rtl/Store.h"
#include "rtl/TypInfo.h"

namespace plx {

void TBrush::SetColor(TColor color)
{
    if (color == m_color && m_style != bsClear)
        return;
    m_color = color;
    if (m_style == bsClear)
        m_style = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    Store(m_style, style, [this] { Changed(); });
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    Store(m_bitmap, bitmap, [this] { Changed(); });
}

void TBrush::Assign(const TPersistent* source)
{
    if (auto brush = dynamic_cast<const TBrush*>(source)) {
        m_color = brush->m_color;
        m_style = brush->m_style;
        m_bitmap = brush->m_bitmap;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

const TClassInfo& TBrush::StaticClassInfo()
{
    static const TEnumInfo styles { "TBrushStyle",
        { "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross" } };
    static const TClassInfo info = TClassInfoBuilder<TBrush>("TBrush", &TPersistent::StaticClassInfo())
        .Integer("Color", &TBrush::Color, &TBrush::SetColor, clWhite, &ColorIdents(), "TColor")
        .Enum("Style", styles, &TBrush::Style, &TBrush::SetStyle, bsSolid)
        .Build();
    return info;
}

const TClassInfo& TBrush::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
