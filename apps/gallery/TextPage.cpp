#include "Gallery.h"

#include "color/host/DrawText.h"
#include "color/host/FontEngine.h"
#include "color/host/Gdi.h"
#include "paint/DrawMan.h"

#include <string>

using namespace plx;

namespace gallery {

namespace {

// A small picture for the picture-filled letters: diagonal colour bands.
void BandPicture(TBitmap& picture, int w, int h)
{
    picture.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int band = ((x + y) / 6) % 3;
            picture.Canvas().SetPixels(x, y, band == 0 ? 0x3060FF : band == 1 ? 0x20C0FF : 0x40E040);
        }
}

void UseCaptionFont(TCanvas& c, TColor color)
{
    c.Font().SetName("Arial");
    c.Font().SetHeight(-26);
    c.Font().SetStyle({ fsBold });
    c.Font().SetColor(color);
    c.Brush().SetStyle(bsClear);
}

// Every effect, one per row, on one background.
void EffectsSheet(Gallery& g, TColor background, TColor ink, TColor light, TColor dark, const std::string& caption)
{
    TBitmap sheet;
    const int rowHeight = 40;
    const int rows = 11;
    Blank(sheet, 560, rows * rowHeight + 10, background);
    TCanvas& c = sheet.Canvas();
    TBitmap picture;
    BandPicture(picture, 90, 30);
    TBitmap small;
    BandPicture(small, 40, 14);

    int row = 0;
    auto label = [&](const std::string& name) {
        const int y = 5 + row * rowHeight;
        c.Font().SetName("DejaVu Sans");
        c.Font().SetHeight(-12);
        c.Font().SetStyle({});
        c.Font().SetColor(ink);
        c.Brush().SetStyle(bsClear);
        c.TextOut(10, y + 12, name);
        UseCaptionFont(c, ink);
        ++row;
        return y;
    };
    const int x = 230;
    int y = label("TextOut");
    c.TextOut(x, y, "Plumex text");
    y = label("DrawOutlinedText");
    DrawOutlinedText(c, x, y, "Plumex text", 0x0000C0);
    y = label("DrawTextOutline");
    DrawTextOutline(c, x, y, "Plumex text", ink);
    y = label("Draw3DText raised");
    c.Font().SetColor(background);
    Draw3DText(c, "Plumex text", x, y, light, dark);
    y = label("Draw3DText sunken");
    c.Font().SetColor(background);
    Draw3DText(c, "Plumex text", x, y, dark, light);
    y = label("DrawShadowText");
    DrawShadowText(c, x, y, "Plumex text");
    y = label("DrawShadowTextExt (red, 4, 3)");
    DrawShadowTextExt(c, x, y, "Plumex text", 0x0000C0, 4, 3);
    y = label("TextSmooth");
    TextSmooth(c, x, y, "Plumex text");
    y = label("PaintOnText (90 x 30 picture)");
    PaintOnText(c, x, y, "Plumex text", picture);
    y = label("PaintOnText (40 x 14 picture)");
    PaintOnText(c, x, y, "Plumex text", small);
    y = label("StretchPaintOnText");
    StretchPaintOnText(c, x, y, "Plumex text", picture);
    g.Figure(sheet, caption, 1);
}

} // namespace

void TextPage(Gallery& g)
{
    g.BeginPage("text", "Text and text effects",
        "Text drawn through FreeType with fonts found by fontconfig (here \"Arial\" resolves to a metric-compatible "
        "face where one is installed, else to DejaVu Sans), one bit per pixel unless a font asks for smoothing; the "
        "text effects of DrawMan on a light and a dark background; rotated text; formatted text in rectangles.");

    EffectsSheet(g, 0xF0F0F0, clBlack, clWhite, 0x808080, "Every text effect on a light background (bold 26-pixel Arial)");
    EffectsSheet(g, 0x402820, 0xF0F0F0, 0xA08070, 0x100804, "The same effects on a dark background");

    // Rotated text about a marked corner.
    TBitmap turned;
    Blank(turned, 560, 300, clWhite);
    TCanvas& t = turned.Canvas();
    t.Font().SetName("DejaVu Sans");
    t.Font().SetHeight(-18);
    t.Font().SetColor(clNavy);
    t.Brush().SetStyle(bsClear);
    const struct {
        int angle, x, y;
    } turns[] = { { 0, 20, 30 }, { 450, 120, 260 }, { 900, 250, 260 }, { 1800, 450, 130 }, { 2700, 500, 30 } };
    for (auto k : turns) {
        DrawTextAnglo(t, k.x, k.y, "Angle " + std::to_string(k.angle / 10), k.angle);
        t.Pen().SetColor(clRed);
        t.MoveTo(k.x - 4, k.y);
        t.LineTo(k.x + 5, k.y);
        t.MoveTo(k.x, k.y - 4);
        t.LineTo(k.x, k.y + 5);
    }
    g.Figure(turned, "DrawTextAnglo at 0, 45, 90, 180 and 270 degrees; the red cross marks each text's top-left corner", 1);

    // Font styles and smoothing.
    TBitmap styles;
    Blank(styles, 560, 190, clWhite);
    TCanvas& s = styles.Canvas();
    s.Font().SetName("DejaVu Sans");
    s.Font().SetHeight(-20);
    s.Font().SetColor(clBlack);
    s.Brush().SetStyle(bsClear);
    const struct {
        TFontStyles style;
        const char* name;
    } looks[] = { { {}, "Regular" }, { { fsBold }, "Bold" }, { { fsItalic }, "Italic" }, { { fsBold, fsItalic }, "Bold italic" },
        { { fsUnderline }, "Underline" }, { { fsStrikeOut }, "Strike-out" } };
    int ly = 8;
    for (auto& l : looks) {
        s.Font().SetStyle(l.style);
        s.Font().SetAntiAliased(false);
        s.TextOut(10, ly, l.name);
        s.Font().SetAntiAliased(true);
        s.TextOut(200, ly, std::string(l.name) + ", smoothed");
        ly += 30;
    }
    s.Font().SetStyle({});
    s.Font().SetAntiAliased(false);
    s.Brush().SetColor(0xC0FFFF);
    s.TextOut(420, 8, "Solid brush");
    s.Brush().SetStyle(bsClear);
    s.TextOut(420, 38, "caf\xC3\xA9 \x80 \xE9t\xE9");
    g.Figure(styles, "Styles one bit per pixel (left) and smoothed (right); a solid brush fills the text cell; UTF-8 "
                     "and stray Windows-1252 bytes in one string", 1);

    // DrawText in rectangles.
    TBitmap formatted;
    Blank(formatted, 560, 150, clWhite);
    TCanvas& f = formatted.Canvas();
    f.Font().SetName("DejaVu Sans");
    f.Font().SetHeight(-14);
    f.Font().SetColor(clBlack);
    const struct {
        TRect rect;
        std::uint32_t format;
        const char* text;
    } boxes[] = {
        { Rect(10, 10, 180, 70), DT_LEFT | DT_WORDBREAK, "Left, word break: lines are filled word by word" },
        { Rect(190, 10, 360, 70), DT_CENTER | DT_WORDBREAK, "Centred, word break: lines are filled word by word" },
        { Rect(370, 10, 550, 70), DT_RIGHT | DT_WORDBREAK, "Right, word break: lines are filled word by word" },
        { Rect(10, 80, 180, 140), DT_SINGLELINE | DT_VCENTER | DT_CENTER, "&File && &Edit" },
        { Rect(190, 80, 360, 140), DT_SINGLELINE | DT_BOTTOM | DT_RIGHT | DT_NOPREFIX, "&No prefix" },
        { Rect(370, 80, 550, 140), DT_EXPANDTABS, "Tabs:\tone\ttwo\nSecond\tline" },
    };
    for (auto& box : boxes) {
        f.Brush().SetColor(0xF0E8E0);
        f.FillRect(box.rect);
        f.Brush().SetStyle(bsClear);
        TRect r = box.rect;
        DrawText(f, box.text, r, box.format);
    }
    g.Figure(formatted,
        "DrawText: left, centred and right with word breaks; a single line centred both ways with accelerators "
        "(\"&File && &Edit\"); bottom right without prefixes; expanded tabs over two lines",
        1);

    const auto face = [](const char* name) {
        auto f = detail::FontEngine::Instance().ResolveFace(name, 400, false);
        return f.family + (f.fallback ? " (fallback)" : "") + ": " + f.file;
    };
    g.Table({ { "Font name", "Resolves to" }, { "Arial", face("Arial") }, { "MS Sans Serif", face("MS Sans Serif") },
        { "Times New Roman", face("Times New Roman") }, { "DejaVu Serif", face("DejaVu Serif") } });
}

} // namespace gallery
