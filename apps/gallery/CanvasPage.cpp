#include "Gallery.h"

#include "color/host/Gdi.h"

using namespace plx;

namespace gallery {

void CanvasPage(Gallery& g)
{
    g.BeginPage("canvas", "Canvas primitives",
        "The host canvas: outlines with pens of several widths, fills with solid, hatched and pattern brushes, arcs, "
        "pen modes and raster-operation copies. Shown at 2x.");

    TBitmap shapes;
    Blank(shapes, 320, 110, clWhite);
    TCanvas& c = shapes.Canvas();
    c.Brush().SetColor(0x80C0FF);
    for (int w = 1; w <= 4; ++w) {
        c.Pen().SetWidth(w);
        c.Pen().SetColor(RGB(0, 0, 60 * w));
        c.Rectangle(10 + (w - 1) * 75, 10, 70 + (w - 1) * 75, 50);
        c.Ellipse(10 + (w - 1) * 75, 58, 70 + (w - 1) * 75, 100);
    }
    g.Figure(shapes, "Rectangle and Ellipse with pen widths 1 to 4: wide pens are centred on the edge", 2);

    TBitmap round;
    Blank(round, 320, 110, clWhite);
    TCanvas& r = round.Canvas();
    r.Pen().SetColor(clNavy);
    r.Brush().SetColor(0xC0FFC0);
    r.RoundRect(10, 10, 110, 100, 20, 20);
    r.Brush().SetStyle(bsClear);
    r.Pen().SetWidth(2);
    r.Pen().SetColor(clRed);
    r.Arc(130, 10, 220, 100, 220, 55, 175, 10);
    r.Pen().SetColor(clBlue);
    r.Arc(130, 10, 220, 100, 175, 10, 220, 55);
    r.Pen().SetWidth(1);
    r.Pen().SetColor(clBlack);
    r.Polyline({ Point(240, 100), Point(260, 20), Point(280, 90), Point(300, 10), Point(315, 100) });
    g.Figure(round, "RoundRect; Arc from 3 o'clock counter-clockwise to 12 o'clock (red) and the rest (blue); a Polyline", 2);

    TBitmap brushes;
    Blank(brushes, 320, 60, clWhite);
    TCanvas& b = brushes.Canvas();
    b.Pen().SetColor(clBlack);
    for (int s = bsHorizontal; s <= bsDiagCross; ++s) {
        b.Brush().SetColor(clTeal);
        b.Brush().SetStyle(static_cast<TBrushStyle>(s));
        b.Rectangle(10 + (s - bsHorizontal) * 50, 10, 55 + (s - bsHorizontal) * 50, 50);
    }
    g.Figure(brushes, "Hatched brushes: horizontal, vertical, forward and backward diagonal, cross, diagonal cross", 2);

    TBitmap pattern;
    Blank(pattern, 8, 8, clYellow);
    for (int i = 0; i < 8; ++i)
        pattern.Canvas().SetPixels(i, i, clRed);
    TBitmap copies;
    Blank(copies, 320, 90, clWhite);
    TCanvas& k = copies.Canvas();
    k.Brush().SetBitmap(&pattern);
    k.FillRect(Rect(10, 10, 90, 80));
    k.Brush().SetBitmap(nullptr);
    TBitmap picture;
    Blank(picture, 60, 60, 0x00C0FF);
    picture.Canvas().Brush().SetColor(clBlue);
    picture.Canvas().Ellipse(5, 5, 55, 55);
    k.Brush().SetColor(0x606060);
    k.FillRect(Rect(110, 10, 310, 80));
    k.SetCopyMode(cmSrcCopy);
    k.Draw(115, 15, picture);
    k.SetCopyMode(cmSrcInvert);
    k.Draw(180, 15, picture);
    k.SetCopyMode(cmSrcAnd);
    k.Draw(245, 15, picture);
    k.SetCopyMode(cmSrcCopy);
    g.Figure(copies, "An 8 x 8 pattern brush; Draw with CopyMode SRCCOPY, SRCINVERT and SRCAND on grey", 2);

    TBitmap frames;
    Blank(frames, 320, 70, clBtnFace);
    TRect fr = Rect(10, 10, 100, 60);
    Frame3D(frames.Canvas(), fr, clBtnHighlight, clBtnShadow, 2);
    TRect fr2 = Rect(120, 10, 210, 60);
    Frame3D(frames.Canvas(), fr2, clBtnShadow, clBtnHighlight, 2);
    frames.Canvas().Pen().SetMode(pmXor);
    frames.Canvas().Pen().SetColor(clWhite);
    frames.Canvas().Pen().SetWidth(5);
    frames.Canvas().MoveTo(230, 10);
    frames.Canvas().LineTo(310, 60);
    g.Figure(frames, "Frame3D raised and sunken in the system colours; an XOR pen 5 pixels wide", 2);
}

} // namespace gallery
