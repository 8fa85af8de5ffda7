// Pages of the package's components: the bevels of TKnControl drawn on a form
// made in code, and the components' demo forms.
#include "Gallery.h"

#include "components/SImageBtn.h"
#include "components/ShadowButton.h"
#include "framework/KnCtrls.h"
#include "framework/host/Forms.h"
#include "framework/host/StdCtrls.h"

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
