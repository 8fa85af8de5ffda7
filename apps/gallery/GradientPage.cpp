#include "Gallery.h"

#include "paint/Gradient.h"

#include <string>

using namespace plx;

namespace gallery {

namespace {

constexpr int kCellWidth = 96;
constexpr int kCellHeight = 64;
constexpr int kGap = 6;

// Gradients are painted into a bitmap of their own, at the origin, as the
// components do, and then placed on the sheet.
void PaintCell(TBitmap& sheet, int column, int row, const TGradient& gradient)
{
    TBitmap cell;
    Blank(cell, kCellWidth, kCellHeight, clWhite);
    PaintGradient(cell.Canvas(), Rect(0, 0, kCellWidth, kCellHeight), gradient);
    sheet.Canvas().Draw(kGap + column * (kCellWidth + kGap), kGap + row * (kCellHeight + kGap), cell);
}

void Vivid(TGradient& g)
{
    g.SetColor1(0x602000); // dark blue
    g.SetColor2(0xFFC060); // sky
    g.SetColor3(0xFFFFFF);
    g.SetColor4(0x0080FF); // orange
    g.SetColor5(0x000080); // maroon
}

// Rows: colour counts 1 to 4. Columns: line sizes 1, 3 and 8, for each direction given.
void StyleSheet(Gallery& g, TGradientStyle style, bool bothDirections, const std::string& caption,
    const TDrawRectEvent& onDrawRect = {})
{
    const int columns = bothDirections ? 6 : 3;
    TBitmap sheet;
    Blank(sheet, kGap + columns * (kCellWidth + kGap), kGap + 4 * (kCellHeight + kGap), 0xE0E0E0);
    TGradient gradient;
    Vivid(gradient);
    gradient.SetGradientStyle(style);
    gradient.SetOnDrawRect(onDrawRect);
    for (int count = 1; count <= 4; ++count) {
        gradient.SetColorCount(static_cast<TColorCount>(count));
        int column = 0;
        for (TDirection dir : { diHorizonal, diVertical }) {
            if (dir == diVertical && !bothDirections)
                break;
            gradient.SetLineDir(dir);
            for (int size : { 1, 3, 8 }) {
                gradient.SetLineSize(size);
                PaintCell(sheet, column++, count - 1, gradient);
            }
        }
    }
    g.Figure(sheet, caption, 1);
}

} // namespace

void GradientPage(Gallery& g)
{
    g.BeginPage("gradient", "Gradient fills",
        "PaintGradient in every style. Colours: dark blue, sky, white, orange, maroon; a count of N uses the first "
        "N + 1 of them (1 paints the first alone). Each cell is 96 x 64, painted at the origin of its own bitmap.");

    TBitmap metal;
    Blank(metal, 320, 96, clWhite);
    TGradient standard;
    PaintGradient(metal.Canvas(), Rect(0, 0, 320, 96), standard);
    g.Figure(metal, "A new TGradient: grey, white, light grey, white in three transitions of 3-pixel bands (brushed metal)", 1);

    StyleSheet(g, gsLine, true,
        "gsLine: rows are colour counts 1 to 4; columns are line sizes 1, 3, 8 with horizontal bands, then 1, 3, 8 with "
        "vertical bands");
    StyleSheet(g, gsEllipse, false,
        "gsEllipse: rows are colour counts 1 to 4, columns line sizes 1, 3, 8. The insets stop at half the height, so "
        "on a wide area only the first half of the transitions appears");
    StyleSheet(g, gsRect, false,
        "gsRect: nested rectangles whose top-left corner moves inwards; rows colour counts 1 to 4, columns line sizes 1, 3, 8");
    StyleSheet(g, gsCustomRect, false,
        "gsCustomRect with an OnDrawRect handler that draws each band as a rounded rectangle; rows colour counts 1 to 4, "
        "columns line sizes 1, 3, 8",
        [](TObject*, TCanvas& canvas, TRect rect) { canvas.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, 16, 16); });
    StyleSheet(g, gsCustomRect, false, "gsCustomRect without a handler paints as gsRect");
}

} // namespace gallery
