#include "Gallery.h"

#include "paint/DrawMan.h"
#include "paint/Gradient.h"

using namespace plx;

namespace gallery {

namespace {

constexpr TColor kKey = clFuchsia;

// A 24 x 24 picture on a magenta key: a ball with a darker rim and a highlight.
void Ball(TBitmap& b)
{
    Blank(b, 24, 24, kKey);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(0x004080);
    c.Brush().SetColor(0x0060E0);
    c.Ellipse(2, 2, 22, 22);
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(0x80C0FF);
    c.Ellipse(6, 5, 12, 11);
}

// A striped background so that transparency and masks show.
void Background(TBitmap& b, int width, int height)
{
    Blank(b, width, height, clWhite);
    TGradient g;
    g.SetColor1(0x40A040);
    g.SetColor2(0xF0F0D0);
    g.SetColorCount(1);
    g.SetLineDir(diVertical);
    PaintGradient(b.Canvas(), Rect(0, 0, width, height), g);
    b.Canvas().Brush().SetStyle(bsBDiagonal);
    b.Canvas().Brush().SetColor(0xB0B0B0);
    b.Canvas().FillRect(Rect(0, 0, width, height));
}

void Tile(TBitmap& t)
{
    Blank(t, 16, 16, 0xF0E0D0);
    TCanvas& c = t.Canvas();
    c.Brush().SetColor(0x3050A0);
    c.FillRect(Rect(0, 0, 8, 8));
    c.FillRect(Rect(8, 8, 16, 16));
    c.Pen().SetColor(clRed);
    c.MoveTo(0, 0);
    c.LineTo(16, 16);
}

} // namespace

void BlitsPage(Gallery& g)
{
    g.BeginPage("blits", "Masks, blits and frames",
        "The bitmap routines of DrawMan: transparent, smoothed and masked drawing, tiling, 3D frames and round buttons.");

    TBitmap ball;
    Ball(ball);
    {
        TBitmap sheet;
        Background(sheet, 150, 40);
        sheet.Canvas().Draw(8, 8, ball);
        TBitmap copy;
        Ball(copy);
        TransBlt(sheet.Canvas(), copy, 44, 8);
        TBitmap again;
        Ball(again);
        SmoothBlt(sheet.Canvas(), 80, 8, again, -1);
        TBitmap masked;
        Ball(masked);
        TBitmap mask;
        mask.SetHandle(CreateMask(masked, kKey));
        PaintOnMask(sheet.Canvas(), 116, 8, mask, masked);
        g.Figure(sheet,
            "A 24 x 24 picture on a magenta key: plain Draw, TransBlt, SmoothBlt (the edge blended 80 % into the "
            "background) and PaintOnMask with the mask from CreateMask. Shown at 3x",
            3);

        TBitmap maskView;
        maskView.Assign(&mask);
        maskView.SetMonochrome(false);
        g.Figure(maskView, "The mask CreateMask builds: white where the key colour is, black where the picture shows (3x)", 3);
    }
    {
        TBitmap sheet;
        Background(sheet, 120, 60);
        TBitmap shape;
        Blank(shape, 96, 48, clWhite);
        shape.Canvas().Brush().SetColor(clBlack);
        shape.Canvas().RoundRect(0, 0, 96, 48, 32, 32);
        TBitmap mask;
        mask.SetHandle(CreateMask(shape, clWhite));
        StretchPaintOnMask(sheet.Canvas(), 12, 6, mask, ball);
        g.Figure(sheet, "StretchPaintOnMask: the 24 x 24 picture stretched to a 96 x 48 rounded mask (2x)", 2);
    }
    {
        TBitmap tile;
        Tile(tile);
        TBitmap sheet;
        Blank(sheet, 260, 80, clWhite);
        MultiPaint(sheet.Canvas(), tile, Rect(5, 5, 125, 75));
        MultiClipPaint(sheet.Canvas(), tile, Rect(135, 5, 255, 75), Rect(135, 5, 255, 75));
        g.Figure(sheet,
            "A 16 x 16 tile over Rect(5, 5, 125, 75) with MultiPaint (first tile at the corner) and over Rect(135, 5, "
            "255, 75) with MultiClipPaint (tiles aligned to the canvas origin) (2x)",
            2);

        TBitmap parts;
        Blank(parts, 130, 80, clWhite);
        MultiClipPaint(parts.Canvas(), tile, Rect(5, 5, 60, 40), Rect(5, 5, 60, 40));
        MultiClipPaint(parts.Canvas(), tile, Rect(60, 5, 125, 75), Rect(60, 5, 125, 75));
        MultiClipPaint(parts.Canvas(), tile, Rect(5, 40, 60, 75), Rect(5, 40, 60, 75));
        g.Figure(parts, "MultiClipPaint in three calls joins seamlessly (2x)", 2);

        TBitmap picture;
        Blank(picture, 100, 60, clWhite);
        TGradient grad;
        grad.SetGradientStyle(gsEllipse);
        grad.SetColor1(0x2020A0);
        grad.SetColor2(0x80FFFF);
        grad.SetLineSize(2);
        grad.SetColorCount(2);
        grad.SetColor3(0x206020);
        PaintGradient(picture.Canvas(), Rect(0, 0, 100, 60), grad);
        TBitmap bytes;
        Blank(bytes, 130, 80, 0xE0E0E0);
        BytesPaint(bytes.Canvas(), Rect(10, 10, 125, 75), picture);
        g.Figure(bytes,
            "BytesPaint of a 100 x 60 picture into Rect(10, 10, 125, 75), in blocks of at most 48 x 48: the picture is "
            "copied once, the part of the rectangle beyond it stays as it was (2x)",
            2);
    }
    {
        TBitmap frames;
        Blank(frames, 250, 90, 0xC0C0C0);
        for (int style = 1; style <= 3; ++style)
            for (int width = 1; width <= 3; ++width)
                Draw3D(frames.Canvas(), Bounds(8 + (style - 1) * 80, 6 + (width - 1) * 28, 70, 22), 0xA08060, style, width);
        g.Figure(frames, "Draw3D in steel blue (0xA08060: blue A0, green 80, red 60): columns raised (1), sunken (2) and double outline (3); rows widths 1, 2, 3 (2x)", 2);
    }
    {
        TBitmap buttons;
        Blank(buttons, 330, 110, 0xD8D8D8);
        const int sizes[] = { 24, 40, 64, 96 };
        const int borders[] = { 1, 3, 5, 8 };
        int x = 6;
        for (int i = 0; i < 4; ++i) {
            RoundButton(buttons.Canvas(), Bounds(x, 6, sizes[i], sizes[i]), 0x4080E0, 0x303030, borders[i]);
            x += sizes[i] + 10;
        }
        g.Figure(buttons, "RoundButton of 24, 40, 64 and 96 pixels with border widths 1, 3, 5 and 8 (2x)", 2);

        TBitmap widths;
        Blank(widths, 330, 64, 0xD8D8D8);
        for (int bw = 0; bw <= 6; ++bw)
            RoundButton(widths.Canvas(), Bounds(6 + bw * 46, 6, 42, 42), 0x60C060, 0x205020, bw);
        g.Figure(widths, "RoundButton of 42 pixels with border widths 0 to 6 (2x)", 2);
    }
}

} // namespace gallery
