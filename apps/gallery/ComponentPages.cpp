// Pages of the package's components: the bevels of TKnControl drawn on a form
// made in code, and the components' demo forms.
#include "EmbeddedForms.h"
#include "Gallery.h"

#include "components/BCBitmap.h"
#include "components/KnScroll.h"
#include "components/SImageBtn.h"
#include "components/ShadowButton.h"
#include "framework/KnCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"
#include "framework/host/StdCtrls.h"

#include <memory>

#include <array>
#include <string>

using namespace plx;

namespace gallery {

namespace {

// TKnControl publishes nothing and is made by its descendants only; this one
// shows the base's face alone: the bevel and the background inside it.
class BevelCell : public TKnControl {
public:
    using TKnControl::TKnControl;
};

} // namespace

void BevelsPage(Gallery& g)
{
    g.BeginPage("bevels", "Bevels",
        "The five bevel types of TKnControl, unfocused and focused (btIE4Interactive draws its edge only when focused "
        "but keeps its room either way), on a button-face bevel and a teal one, each around a light yellow "
        "bgSingleColor background.");
    constexpr std::array<TBevelType, 5> kTypes { btNone, btWindows95, btFlat3D, btIE4Interactive, bt2DRect };
    constexpr std::array<const char*, 5> kNames { "btNone", "btWindows95", "btFlat3D", "btIE4Interactive", "bt2DRect" };
    constexpr int kCellWidth = 104, kCellHeight = 44, kGap = 8, kLabelWidth = 120;
    TForm form(nullptr);
    form.SetColor(clBtnFace);
    form.SetBounds(0, 0, kLabelWidth + 5 * (kCellWidth + kGap) + kGap, 24 + 4 * (kCellHeight + kGap));
    for (int i = 0; i < 5; ++i) {
        auto* caption = new TLabel(&form);
        caption->SetParent(&form);
        caption->SetCaption(kNames[i]);
        caption->SetBounds(kLabelWidth + kGap + i * (kCellWidth + kGap), 6, kCellWidth, 16);
    }
    const std::array<std::pair<TColor, bool>, 4> rows { { { clBtnFace, false }, { clBtnFace, true }, { clTeal, false }, { clTeal, true } } };
    for (int r = 0; r < 4; ++r) {
        auto [color, focused] = rows[r];
        const int top = 24 + r * (kCellHeight + kGap);
        auto* caption = new TLabel(&form);
        caption->SetParent(&form);
        caption->SetCaption(std::string(color == clTeal ? "clTeal" : "clBtnFace") + (focused ? ", focused" : ""));
        caption->SetBounds(kGap, top + kCellHeight / 2 - 7, kLabelWidth, 16);
        for (int i = 0; i < 5; ++i) {
            auto* cell = new BevelCell(&form);
            cell->SetParent(&form);
            cell->SetBounds(kLabelWidth + kGap + i * (kCellWidth + kGap), top, kCellWidth, kCellHeight);
            cell->Background().SetColor(0xC0FFFF);
            cell->Bevel().SetColor(color);
            cell->Bevel().SetBevelType(kTypes[i]);
            cell->SetFocused(focused);
        }
    }
    TBitmap picture;
    form.RenderTo(picture);
    g.Figure(picture, "PaintBevel through TKnControl.PaintBackup, rendered at 2x", 2);
}

void BackgroundsPage(Gallery& g)
{
    FormPage(g, "backgrounds", "Backgrounds",
        "TBackground in its four styles. The gradient is computed for an area at the origin wherever it lies; pictures "
        "are anchored at the back buffer's origin, so a single picture covers its own area only (the rest of the buffer "
        "is its new white) and tiles join wherever they are painted.",
        "backgrounds.form", 2);
}

void GradientPanelsPage(Gallery& g)
{
    FormPage(g, "gradient-panels", "Gradient panels",
        "TKnGradient: a new one (black and white bands in four transitions), and gradients in other styles. Where a "
        "style leaves room, as around gsEllipse, the control's Color shows.",
        "gradients.form", 2);
}

void ArtLabelsPage(Gallery& g)
{
    FormPage(g, "art-labels", "Art labels",
        "TArtLabel in the style combinations that look different: relief, shadow, outline, gradient and picture fills, "
        "and two transparent labels over a tiled picture.",
        "artlabels.form");
}

namespace {

// A form of apps/gallery/forms/, read as FormPage reads it.
std::unique_ptr<TCustomForm> ReadDemoForm(std::string_view name)
{
    std::unique_ptr<TComponent> root(ReadComponentFromText(std::string(apps::EmbeddedForm(name)), nullptr));
    auto* form = dynamic_cast<TCustomForm*>(root.get());
    if (!form)
        return nullptr;
    root.release();
    return std::unique_ptr<TCustomForm>(form);
}

// A left press at a client point of a control, as the mouse gives it.
void Press(TControl& control, TPoint at)
{
    control.Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(at));
}

void Release(TControl& control, TPoint at)
{
    control.Perform(WM_LBUTTONUP, 0, PointToLParam(at));
}

} // namespace

void ScrollBarsPage(Gallery& g)
{
    FormPage(g, "scroll-bars", "Skinned scroll bars",
        "TKnScroll drawn from pictures made for this page: arrow buttons and thumbs with a normal and a pressed frame "
        "side by side (NumGlyph 2), stretched into their boxes; a round thumb drawn unstretched without its corner "
        "colour (TransparentThumb); a bar with single pictures and no Pic_Left, whose decrement box is 0 wide. The "
        "track is the background: a gradient, a colour or a tiled picture.",
        "scrollbars.form", 2);
    auto form = ReadDemoForm("scrollbars");
    auto* first = dynamic_cast<TKnScroll*>(form->FindComponent("First"));
    auto* middle = dynamic_cast<TKnScroll*>(form->FindComponent("Middle"));
    auto* top = dynamic_cast<TKnScroll*>(form->FindComponent("Top"));
    TBitmap before;
    form->RenderTo(before); // the first paint lays the bars out
    Press(*first, Point(4, 8));
    const TPoint grip = middle->ThumbBox().TopLeft();
    Press(*middle, Point(grip.X + 2, 4));
    middle->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(Point(grip.X + 62, 4)));
    Press(*top, Point(8, 160));
    TBitmap picture;
    form->RenderTo(picture);
    g.Figure(picture,
        "Pressed frames, shown until the release: First's decrement button held at Position 0, Middle's thumb "
        "dragged 60 pixels, Top's increment button held, rendered at 2x",
        2);
    Release(*first, Point(4, 8));
    Release(*middle, Point(grip.X + 62, 4));
    Release(*top, Point(8, 160));
}

void ApplesPage(Gallery& g)
{
    FormPage(g, "apples", "Apples",
        "TApples: one picture per whole unit of Value and the left part of one for the fraction, 2 pixels apart. A "
        "full row ends the drawing, or with LineWrap goes on below. The package's own 16 x 16 \"APPLE\" picture, and "
        "a star.",
        "apples.form", 2);
}

void PictureControlsPage(Gallery& g)
{
    FormPage(g, "picture-controls", "Picture controls",
        "TBCBitmap in its three draw styles and three colour options, with a flower made for this page on fuchsia. "
        "coTransparent always draws at the control's corner; coSmoothed softens the picture's outer edge. AutoSize "
        "fits the control to a 56 x 56 picture plus the bevel; a picture larger than the content area is squeezed "
        "into it by dsNone.",
        "pictures.form", 2);
    auto form = ReadDemoForm("pictures");
    TBitmap before;
    form->RenderTo(before);
    for (const char* name : { "NoneNone", "NoneClient", "NoneCentered", "TransparentCentered" })
        if (auto* c = dynamic_cast<TBCBitmap*>(form->FindComponent(name)))
            Press(*c, Point(10, 10));
    TBitmap picture;
    form->RenderTo(picture);
    g.Figure(picture,
        "InvertImageOnMouseDown: the first row and the transparent centred control while the left button is held on "
        "them (coSmoothed never inverts), rendered at 2x",
        2);
}

void ColourPanelsPage(Gallery& g)
{
    FormPage(g, "colour-panels", "Colour bevels and panels",
        "TClrBevel in its six shapes, lowered and raised, on three colours (each row a TColorPanel without bevels), "
        "and TColorPanel with outer and inner bevels, border widths, a single border and its three alignments. The "
        "edges are shades of each control's own colour.",
        "clrpanels.form", 2);
}

void ImageButtonsPage(Gallery& g)
{
    FormPage(g, "image-buttons", "Image buttons",
        "TSImageBtn with the package's REDBALL and STAR pictures (fuchsia, their top-left colour, is transparent): "
        "up, pressed (moved onto the shadow), under the mouse (showing its focused picture, the star), disabled "
        "(dithered, with a grey caption where there is no shadow), without a shadow, deeper and darker shadows and a "
        "wider space above the caption.",
        "imagebuttons.form", 2, [](TCustomForm& form) {
            for (const char* name : { "Pressed", "StarPressed" })
                if (auto* b = dynamic_cast<TSImageBtn*>(form.FindComponent(name)))
                    b->MouseDown(b, mbLeft, {}, 0, 0);
            if (auto* b = dynamic_cast<TSImageBtn*>(form.FindComponent("Focused")))
                b->Perform(CM_MOUSEENTER, 0, 0);
        });
}

void ShadowButtonsPage(Gallery& g)
{
    FormPage(g, "shadow-buttons", "Shadow buttons",
        "TShadowButton in its six shapes (the ellipse without a border): up, pressed (moved onto the shadow) and "
        "disabled (the greys of the colour and the border colour).",
        "shadowbuttons.form", 2, [](TCustomForm& form) {
            for (std::int32_t i = 0; i < form.ComponentCount(); ++i)
                if (auto* b = dynamic_cast<TShadowButton*>(form.Components(i)); b && b->Caption() == "Pressed")
                    b->MouseDown(b, mbLeft, {}, 0, 0);
        });
}

} // namespace gallery
