// Pages of the colour button: every face style in every state on a form made in
// code, and the demo form with a group and a repeatable button.
#include "Gallery.h"

#include "components/ColorBtns.h"
#include "framework/host/Forms.h"
#include "framework/host/Messages.h"
#include "framework/host/StdCtrls.h"

#include <array>
#include <string>

using namespace plx;

namespace gallery {

namespace {

constexpr std::array<const char*, 11> kStyleNames { "bsWin31", "bsNew", "bsEllipse", "bsTab", "bsIE4", "bsSideDownTab",
    "bsGlass", "bsFlat", "bsOwnerDraw", "bsMicroposeGame", "bsGradient" };
enum class Shown { Up, Down, Exclusive, Hover, Disabled };
constexpr std::array<Shown, 5> kStates { Shown::Up, Shown::Down, Shown::Exclusive, Shown::Hover, Shown::Disabled };
constexpr std::array<const char*, 5> kStateNames { "up", "down", "exclusive", "hover", "disabled" };

// A yellow disc outlined in black on olive (the transparent colour): the black
// is what the embossed disabled image shows.
void MakeGlyph(TBitmap& glyph)
{
    glyph.SetSize(16, 16);
    TCanvas& c = glyph.Canvas();
    c.Brush().SetColor(clOlive);
    c.FillRect(Rect(0, 0, 16, 16));
    c.Brush().SetColor(clYellow);
    c.Pen().SetColor(clBlack);
    c.Ellipse(2, 2, 14, 14);
    c.MoveTo(8, 5);
    c.LineTo(8, 11);
    c.MoveTo(5, 8);
    c.LineTo(11, 8);
}

void Label(TForm& form, const std::string& text, const TRect& bounds)
{
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption(text);
    label->SetBoundsRect(bounds);
}

// Puts the button into the state the column shows, as input would.
void Show(TColor95Button& b, Shown state, std::int32_t group)
{
    switch (state) {
    case Shown::Up: break;
    case Shown::Down: b.Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({ 1, 1 })); break;
    case Shown::Exclusive:
        b.SetGroupIndex(group);
        b.SetDown(true);
        break;
    case Shown::Hover: b.Perform(CM_MOUSEENTER, 0, 0); break;
    case Shown::Disabled: b.SetEnabled(false); break;
    }
}

void StyleFigure(Gallery& g, TColor color, const std::string& colorName)
{
    constexpr int kWidth = 76, kHeight = 26, kGap = 6, kLabelWidth = 112, kTop = 40;
    TBitmap glyph;
    MakeGlyph(glyph);
    TForm form(nullptr);
    form.SetColor(clBtnFace);
    form.SetBounds(0, 0, kLabelWidth + 10 * (kWidth + kGap) + kGap, kTop + 11 * (kHeight + kGap) + kGap);
    for (int s = 0; s < 5; ++s) {
        const int left = kLabelWidth + kGap + 2 * s * (kWidth + kGap);
        Label(form, kStateNames[s], Rect(left, 6, left + 2 * kWidth, 20));
        Label(form, "plain", Rect(left, 22, left + kWidth, 36));
        Label(form, "captioned", Rect(left + kWidth + kGap, 22, left + 2 * kWidth + kGap, 36));
    }
    std::int32_t group = 1;
    for (int style = 0; style < 11; ++style) {
        const int top = kTop + style * (kHeight + kGap);
        Label(form, kStyleNames[style], Rect(kGap, top + 6, kLabelWidth, top + 20));
        for (int column = 0; column < 10; ++column) {
            const int left = kLabelWidth + kGap + column * (kWidth + kGap);
            auto* b = new TColor95Button(&form);
            b->SetParent(&form);
            b->SetBounds(left, top, kWidth, kHeight);
            b->SetColor(color);
            b->SetStyle(static_cast<TClr95ButtonStyle>(style));
            if (column % 2 == 1) {
                b->SetGlyph(glyph);
                b->SetCaption("Caption");
            }
            Show(*b, kStates[column / 2], group++);
        }
    }
    TBitmap picture;
    form.RenderTo(picture);
    Application().SetCaptureControl(nullptr); // the pressed ones
    g.Figure(picture, "DrawButtonFace and the face composition through TColor95Button, on " + colorName, 1);
}

} // namespace

void ColorButtonStylesPage(Gallery& g)
{
    g.BeginPage("color-button-styles", "Colour button styles",
        "TColor95Button in its eleven styles: up, pressed (down), down in a group (exclusive, with the dither pattern), "
        "under the pointer (hover) and disabled, each plain and with a glyph and a caption. Every edge is a shade of the "
        "one colour. bsIE4 shows an edge only when pressed or hovered, and bsOwnerDraw without a handler is bsNew. The "
        "single-cell glyph's disabled image is embossed from its black; the caption is black or white by the colour "
        "(also on the white glass face), and engraved when disabled.");
    StyleFigure(g, clBtnFace, "clBtnFace");
    StyleFigure(g, 0x00B07030, "$00B07030");
    StyleFigure(g, 0x0040A0F0, "$0040A0F0");
}

void ColorButtonsDemoPage(Gallery& g)
{
    FormPage(g, "color-buttons", "Colour buttons",
        "A form of colour buttons as plumex-render draws it: a group of three tabs with the middle one down, a repeatable "
        "button, a glyph of two cells whose second is the disabled image, and a few other styles.",
        "colorbuttons.form", 2);
}

} // namespace gallery
