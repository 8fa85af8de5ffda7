#include "Gallery.h"

#include "color/ColorMan.h"
#include "paint/GrafMan.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

using namespace plx;

namespace gallery {

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 96;
constexpr int kGap = 8;

// A small landscape: a sky gradient, a sun, hills, a house, a striped field and
// a word, with both smooth ramps and hard edges for the filters to work on.
void DrawPicture(TBitmap& b)
{
    Blank(b, kWidth, kHeight, clWhite);
    b.SetPixelFormat(pf24bit);
    TCanvas& c = b.Canvas();
    // The sky reaches down to the field, so no white is left under the hills.
    for (int y = 0; y < 72; ++y) {
        c.Pen().SetColor(RGB(40 + y * 2, 90 + y * 2, 230 - y));
        c.MoveTo(0, y);
        c.LineTo(kWidth, y);
    }
    c.Pen().SetColor(0x00A0F0);
    c.Brush().SetColor(0x30D0FF);
    c.Ellipse(88, 8, 116, 36);
    c.Pen().SetColor(0x207020);
    c.Brush().SetColor(0x40B040);
    c.Polygon({ Point(-10, 70), Point(30, 40), Point(70, 66), Point(100, 48), Point(140, 72), Point(140, 100), Point(-10, 100) });
    for (int y = 72; y < kHeight; y += 6) {
        c.Brush().SetColor(y % 12 == 0 ? 0x30C0E0 : 0x2090B0);
        c.FillRect(Rect(0, y, kWidth, y + 3));
    }
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(0x4060D0);
    c.Rectangle(20, 52, 52, 78);
    c.Brush().SetColor(0x303090);
    c.Polygon({ Point(16, 52), Point(36, 36), Point(56, 52) });
    c.Brush().SetColor(0xF0F0C0);
    c.Rectangle(26, 58, 34, 66);
    c.Brush().SetColor(0x204080);
    c.Rectangle(40, 62, 47, 78);
    c.Font().SetName("DejaVu Sans");
    c.Font().SetHeight(-15);
    c.Font().SetStyle({ fsBold });
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(0x402000);
    c.TextOut(7, 7, "Plumex");
    c.Font().SetColor(clWhite);
    c.TextOut(6, 6, "Plumex");
}

// A second picture for merging: diagonal colour bands.
void DrawBands(TBitmap& b)
{
    Blank(b, kWidth, kHeight, clWhite);
    b.SetPixelFormat(pf24bit);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            b.Canvas().SetPixels(x, y, ((x + y) / 12) % 2 ? RGB(250, 240, 60) : RGB(120, 20, 140));
}

// The original and a filter's result side by side on a light grey ground.
void Pair(Gallery& g, const TBitmap& original, const TBitmap& result, const std::string& caption, int zoom = 2)
{
    TBitmap both;
    Blank(both, original.Width() + kGap + result.Width(), std::max(original.Height(), result.Height()), 0xE8E8E8);
    both.Canvas().Draw(0, 0, original);
    TBitmap shown;
    shown.Assign(&result);
    shown.SetTransparent(false);
    both.Canvas().Draw(original.Width() + kGap, 0, shown);
    g.Figure(both, caption, zoom);
}

} // namespace

void FiltersPage(Gallery& g)
{
    g.BeginPage("filters", "Bitmap filters",
        "Every filter of GrafMan applied to a picture drawn here (gradient, shapes and text): the original on the left, the result on the right. "
        "Each filter returns the unit's one result bitmap, copied here before the next call. Shown at 2x.");

    TBitmap picture, bands;
    DrawPicture(picture);
    DrawBands(bands);

    Pair(g, picture, BrightenBMP(picture, 64), "BrightenBMP(picture, 64)");
    Pair(g, picture, DarkenBMP(picture, 64), "DarkenBMP(picture, 64)");
    Pair(g, picture, GreyBMP(picture), "GreyBMP: grey weights 20 % red, 50 % green, 30 % blue");
    Pair(g, picture, ColoriseImage(picture, 0x0060FF), "ColoriseImage(picture, orange): the grey tinted");
    Pair(g, picture, ColoriseImage(picture, 0xFF8000), "ColoriseImage(picture, sky blue)");
    Pair(g, bands, MergeBMP(picture, bands), "MergeBMP(picture, bands): half of each (the bands on the left)");
    Pair(g, bands, MergeBMPExt(picture, bands, 80), "MergeBMPExt(picture, bands, 80): 80 % picture");
    Pair(g, picture, SoftenBMP(picture, 1), "SoftenBMP(picture, 1): each pixel the average of the 3 x 3 square around it, taken in place (softened pixels feed later averages)");
    Pair(g, picture, SoftenBMP(picture, 2.5f), "SoftenBMP(picture, 2.5): 6 x 6 squares (Bounds of 5 x 5, both edges included)");
    Pair(g, picture, MakeButton(picture, 6, false), "MakeButton(picture, 6, False): a raised bevel of 6 rings");
    Pair(g, picture, MakeButton(picture, 10, true), "MakeButton(picture, 10, True): graded rings");
    Pair(g, picture, BWOnlyBMP(picture), "BWOnlyBMP: only white stays white");
    Pair(g, picture, DisabledBmp(picture, 0x808080, clWhite), "DisabledBmp(picture, grey, white): every pixel with x + y odd grey");
    Pair(g, picture, ResizeBMP(picture, 200, 60), "ResizeBMP(picture, 200, 60)");
    Pair(g, picture, BmpToLCD(picture, 0x203020, 0x90B090), "BmpToLCD(picture, dark green, pale green): 4 x larger", 1);

    // A palette version of the picture is filtered through its colour table.
    TBitmap palette;
    palette.Assign(&picture);
    palette.SetPixelFormat(pf8bit);
    Pair(g, palette, GreyBMP(palette), "GreyBMP of an 8-bit copy: only the 256 table entries are computed");
    Pair(g, palette, BrightenBMP(palette, 80), "BrightenBMP(8-bit copy, 80)");

    TBitmap checker;
    checker.Assign(&CreatePattern(clNavy, clYellow));
    TBitmap lcd;
    lcd.Assign(&BmpToLCD(checker, clBlack, clWhite));
    Pair(g, checker, lcd, "CreatePattern(navy, yellow) and BmpToLCD of it", 6);

    TBitmap row;
    Blank(row, 4 * 16 + 3 * kGap, 16, 0xE8E8E8);
    int x = 0;
    for (const char* name : { "apple", "star", "redball", "clrbtnpattern" }) {
        row.Canvas().Draw(x, 0, BMPFromRes(name));
        x += 16 + kGap;
    }
    g.Figure(row, "BMPFromRes: the package's pictures APPLE, STAR, REDBALL and CLRBTNPATTERN", 4);

    const auto file = std::filesystem::temp_directory_path() / "plumex-gallery-filters.bmp";
    GreyBMP(picture).SaveToFile(file.string());
    Pair(g, picture, DisabledBmp(LoadBMPFile(file.string()), clBlack, clWhite),
        "LoadBMPFile of a saved GreyBMP result, then DisabledBmp of it (black, white)");
    std::filesystem::remove(file);
}

} // namespace gallery
