#include "Gallery.h"

#include "color/ColorMan.h"

using namespace plx;

namespace gallery {

namespace {

constexpr int kSwatch = 24;

// One row of swatches per base colour, one column per step.
template <class F>
void SwatchGrid(Gallery& g, const std::vector<TColor>& bases, int steps, F colourAt, const std::string& caption)
{
    TBitmap b;
    Blank(b, steps * kSwatch, static_cast<int>(bases.size()) * kSwatch, clWhite);
    for (std::size_t row = 0; row < bases.size(); ++row)
        for (int col = 0; col < steps; ++col) {
            b.Canvas().Brush().SetColor(colourAt(bases[row], col));
            b.Canvas().FillRect(Bounds(col * kSwatch, static_cast<int>(row) * kSwatch, kSwatch, kSwatch));
        }
    g.Figure(b, caption, 1);
}

} // namespace

void ColourPage(Gallery& g)
{
    g.BeginPage("colour", "Colour routines",
        "Swatches computed by the colour arithmetic: every edge and fill Plumex draws takes its colours from these routines.");
    const std::vector<TColor> bases { 0x2040C0, 0x30A050, 0xC08020, clBtnFace, 0x808080 };
    SwatchGrid(g, bases, 9, [](TColor c, int i) { return BrightenColor(c, i * 16); },
        "BrightenColor: amounts 0, 16, ..., 128 (rows: brick, green, blue, button face, grey)");
    SwatchGrid(g, bases, 9, [](TColor c, int i) { return DarkenColor(c, i * 16); }, "DarkenColor: amounts 0, 16, ..., 128");
    SwatchGrid(g, bases, 11, [](TColor c, int i) { return MergeColorExt(c, clWhite, static_cast<std::uint8_t>(100 - i * 10)); },
        "MergeColorExt with white: percent 100, 90, ..., 0");
    SwatchGrid(g, { 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xC0C0C0 }, 2,
        [](TColor c, int i) { return i == 0 ? c : ColorToGrey(c); }, "ColorToGrey: each colour and its grey (weights 20/50/30)");
    SwatchGrid(g, { 0x404040, 0x808080, 0xC0C0C0, 0x3080F0 }, 6,
        [](TColor c, int i) {
            static const TColor tints[] = { 0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00C0FF, 0xFF80C0 };
            return Colorise(c, tints[i]);
        },
        "Colorise: no tint, red, green, blue, amber and violet tints on three greys and an orange");
    SwatchGrid(g, { 0 }, 16, [](TColor, int i) { return QBColor(i); }, "QBColor: the sixteen console colours, 0 to 15");
    SwatchGrid(g, { 0 }, 11, [](TColor, int i) { return ERGB(i * 30.0f - 20, 255 - i * 30.0f, 128.0f); },
        "ERGB: channels beyond 0..255 are clamped (red from -20 to 280, green from 255 to -45)");
}

} // namespace gallery
