// The sections of the skinned scroll bars with the apples indicator, the colour
// bevel and panels, and the picture control.
#include "Sections.h"

#include "Skins.h"

#include "color/ColorMan.h"
#include "components/Apples.h"
#include "components/ArtLabel.h"
#include "components/BCBitmap.h"
#include "components/ClrPanel.h"
#include "components/KnGradient.h"
#include "components/KnScroll.h"
#include "framework/host/StdCtrls.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace demo {

using namespace plx;

namespace {

constexpr std::int32_t kBarLeft = 74, kBarWidth = 300, kBarHeight = 18, kThumbLength = 24;

// A horizontal bar with the demo's arrow buttons and grip thumb, in two frames each.
TKnScroll& HorizontalBar(Demo& demo, TPanel& box, const std::string& name, std::int32_t top)
{
    auto* bar = new TKnScroll(&demo);
    bar->SetName(name);
    bar->SetParent(&box);
    bar->SetBounds(kBarLeft, top, kBarWidth, kBarHeight);
    bar->SetGlyphs(2);
    bar->Bevel().SetBevelType(btNone);
    TBitmap picture;
    MakeArrowSkin(picture, ArrowDirection::Left, kBarHeight);
    bar->SetPic_Left(picture);
    MakeArrowSkin(picture, ArrowDirection::Right, kBarHeight);
    bar->SetPic_Right(picture);
    MakeThumbSkin(picture, kThumbLength, kBarHeight, false);
    bar->SetPic_Thumb(picture);
    bar->SetCursor(crHandPoint);
    return *bar;
}

// The hues of 0..355 degrees along the track, so the thumb's middle sits on
// the colour it gives.
void HueTrack(TKnScroll& bar)
{
    TBitmap track(kBarWidth, kBarHeight);
    const std::int32_t start = kBarHeight + kThumbLength / 2, length = kBarWidth - 2 * kBarHeight - kThumbLength;
    for (std::int32_t x = 0; x < kBarWidth; ++x) {
        const std::int32_t degrees = std::clamp((x - start) * 355 / length, 0, 355);
        const TColor c = MergeColorExt(Hue(degrees), clWhite, 60);
        track.Canvas().Brush().SetColor(c);
        track.Canvas().FillRect(Rect(x, 0, x + 1, kBarHeight));
    }
    bar.Background().SetPicture(track);
    bar.Background().SetStyle(bgSingleBitmap);
}

std::string Apples(long double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1Lf apples", value);
    return text;
}

} // namespace

// Skinned scroll bars: the art label's shadow, the gradient panel's first two
// colours (as hues) and its bands (the vertical bar), and a value the apples
// indicator shows.
void ScrollBarsSection(Demo& demo, TPanel& box)
{
    const std::int32_t top = kTitleHeight + 6;
    TArtLabel* label = dynamic_cast<TArtLabel*>(demo.FindComponent("ArtLabel"));
    TKnGradient* panel = dynamic_cast<TKnGradient*>(demo.FindComponent("GradientPanel"));

    demo.Label(box, "Shadow", 10, top + 2);
    TKnScroll& shadow = HorizontalBar(demo, box, "ShadowBar", top);
    shadow.SetMax(kMaxShadow);
    shadow.SetLargeChange(3);
    shadow.Background().Gradient().SetLineDir(diVertical);
    shadow.Background().Gradient().SetColorCount(1);
    shadow.Background().Gradient().SetColor1(0x00F0E0D0);
    shadow.Background().Gradient().SetColor2(0x00A08060);
    shadow.Background().SetStyle(bgGradient);
    shadow.SetPosition(label ? label->ShadowLength() : 0);
    shadow.SetOnChange([&demo, bar = &shadow](TObject*) { SetArtShadow(demo, bar->Position(), "scroll bar"); });

    struct HueBar {
        const char* caption;
        const char* name;
        std::int32_t degrees;
        void (TGradient::*set)(TColor);
    };
    const std::array<HueBar, 2> kHues { { { "Colour 1", "Colour1Bar", 240, &TGradient::SetColor1 },
        { "Colour 2", "Colour2Bar", 180, &TGradient::SetColor2 } } };
    std::int32_t y = top + 28;
    for (const HueBar& hue : kHues) {
        demo.Label(box, hue.caption, 10, y + 2);
        TKnScroll& bar = HorizontalBar(demo, box, hue.name, y);
        HueTrack(bar);
        bar.SetMax(355);
        bar.SetSmallChange(5);
        bar.SetLargeChange(30);
        bar.SetPosition(hue.degrees);
        bar.SetOnChange([&demo, panel, hue, b = &bar](TObject*) {
            if (!panel)
                return;
            (panel->Gradient().*hue.set)(Hue(b->Position()));
            demo.Status(std::string("Gradient panel: ") + hue.caption + " at " + std::to_string(b->Position()) + " degrees");
        });
        y += 28;
    }

    demo.Label(box, "Value", 10, y + 2);
    TKnScroll& value = HorizontalBar(demo, box, "AppleBar", y);
    TBitmap picture;
    MakeBallSkin(picture, kBarHeight);
    value.SetPic_Thumb(picture);
    value.SetThumbTrans(true);
    MakeTrackTile(picture);
    value.Background().SetPicture(picture);
    value.Background().SetStyle(bgTileBitmap);
    value.SetMax(80);
    value.SetSmallChange(5);
    value.SetLargeChange(10);
    value.SetPosition(35);
    y += 28;

    auto* apples = new TApples(&demo);
    apples->SetName("Apples");
    apples->SetParent(&box);
    apples->SetBounds(kBarLeft, y, 156, 24);
    apples->Background().SetColor(0x00F0F8FF);
    apples->SetValue(value.Position() / 10.0L);
    TLabel* count = &demo.Label(box, Apples(apples->Value()), kBarLeft + 166, y + 5);
    count->SetName("AppleCount");
    value.SetOnChange([&demo, apples, count, bar = &value](TObject*) {
        apples->SetValue(bar->Position() / 10.0L);
        count->SetCaption(Apples(apples->Value()));
        demo.Status("Apples: " + Apples(apples->Value()));
    });

    // The gradient panel's bands, 1 to 16 pixels from the top down.
    auto* bands = new TKnScroll(&demo);
    bands->SetName("BandsBar");
    bands->SetParent(&box);
    bands->SetOrientation(soVertical);
    bands->SetBounds(390, top, kBarHeight, 148);
    bands->SetGlyphs(2);
    bands->Bevel().SetBevelType(btFlat3D);
    bands->Background().SetColor(0x00D8C8B8);
    MakeArrowSkin(picture, ArrowDirection::Up, kBarHeight - 4);
    bands->SetPic_Up(picture);
    MakeArrowSkin(picture, ArrowDirection::Down, kBarHeight - 4);
    bands->SetPic_Down(picture);
    MakeThumbSkin(picture, kBarHeight - 4, kThumbLength, true);
    bands->SetPic_Thumb(picture);
    bands->SetCursor(crHandPoint);
    bands->SetMin(1);
    bands->SetMax(16);
    bands->SetLargeChange(4);
    bands->SetPosition(panel ? panel->Gradient().LineSize() : 1);
    bands->SetOnChange([&demo, bands](TObject*) { SetGradientBands(demo, bands->Position(), "scroll bar"); });

    demo.Label(box, "Every bar takes the wheel; the upright one sets the bands.", 10, top + 156);
}

// ---- Colour bevel and panels ---------------------------------------------------

namespace {

struct NamedColor {
    const char* name;
    TColor color;
};

constexpr std::array<NamedColor, 10> kPanelColors { { { "Teal", 0x00808000 }, { "Navy", 0x00800000 }, { "Maroon", 0x00000080 },
    { "Olive", 0x00008080 }, { "Purple", 0x00800080 }, { "Green", 0x00008000 }, { "Slate", 0x00906050 }, { "Sand", 0x0080C0E0 },
    { "Rose", 0x00C0A0F0 }, { "Silver", 0x00C0C0C0 } } };

} // namespace

// A colour panel holding colour bevels and more colour panels, all in the
// shades of the colour the list box chooses.
void ColorPanelsSection(Demo& demo, TPanel& box)
{
    auto* outer = new TColorPanel(&demo);
    outer->SetName("ColourPanel");
    outer->SetParent(&box);
    outer->SetBounds(10, kTitleHeight + 6, 312, 172);
    outer->SetBevelOuter(bvRaised);
    outer->SetBevelInner(bvLowered);
    outer->SetBorderWidth(2);
    auto parts = std::make_shared<std::vector<TControl*>>();
    parts->push_back(outer);

    struct BevelPart {
        TBevelShape shape;
        TBevelStyle style;
        TRect bounds;
    };
    const std::array<BevelPart, 6> kBevels { { { bsBox, bsLowered, Rect(14, 14, 74, 54) }, { bsBox, bsRaised, Rect(86, 14, 146, 54) },
        { bsFrame, bsLowered, Rect(158, 14, 218, 54) }, { bsTopLine, bsLowered, Rect(230, 18, 298, 24) },
        { bsBottomLine, bsLowered, Rect(230, 30, 298, 36) }, { bsTopLine, bsRaised, Rect(230, 46, 298, 52) } } };
    for (const BevelPart& part : kBevels) {
        auto* bevel = new TClrBevel(&demo);
        bevel->SetParent(outer);
        bevel->SetBoundsRect(part.bounds);
        bevel->SetShape(part.shape);
        bevel->SetStyle(part.style);
        parts->push_back(bevel);
    }

    struct PanelPart {
        const char* caption;
        TPanelBevel outerBevel, innerBevel;
        TRect bounds;
    };
    const std::array<PanelPart, 4> kPanels { { { "Raised", bvRaised, bvNone, Rect(14, 66, 104, 108) },
        { "Lowered", bvLowered, bvNone, Rect(111, 66, 201, 108) }, { "Two bevels", bvRaised, bvLowered, Rect(208, 66, 298, 108) },
        { "TClrBevel and TColorPanel", bvLowered, bvNone, Rect(14, 118, 298, 156) } } };
    for (const PanelPart& part : kPanels) {
        auto* inner = new TColorPanel(&demo);
        inner->SetParent(outer);
        inner->SetBoundsRect(part.bounds);
        inner->SetBevelOuter(part.outerBevel);
        inner->SetBevelInner(part.innerBevel);
        if (part.innerBevel != bvNone)
            inner->SetBorderWidth(2);
        inner->SetCaption(part.caption);
        parts->push_back(inner);
    }

    auto paint = [parts](TColor color) {
        for (TControl* part : *parts) {
            part->SetColor(color);
            if (auto* panel = dynamic_cast<TColorPanel*>(part))
                panel->Font().SetColor(IsLightColor(color) ? clBlack : clWhite);
        }
    };
    paint(kPanelColors[0].color);

    auto* list = new TListBox(&demo);
    list->SetName("PanelColours");
    list->SetParent(&box);
    list->SetBounds(332, kTitleHeight + 6, 116, 172);
    for (const NamedColor& c : kPanelColors)
        list->Items().Add(c.name);
    list->SetItemIndex(0);
    list->SetOnClick([&demo, list, paint](TObject*) {
        if (list->ItemIndex() < 0)
            return;
        const NamedColor& c = kPanelColors[static_cast<std::size_t>(list->ItemIndex())];
        paint(c.color);
        demo.Status(std::string("Colour panels: ") + c.name);
    });
}

// ---- Picture -------------------------------------------------------------------

// The picture control with a round picture: where it goes and how it is drawn
// come from the combo boxes; holding the button on it inverts it.
void PictureSection(Demo& demo, TPanel& box)
{
    auto* picture = new TBCBitmap(&demo);
    picture->SetName("Picture");
    picture->SetParent(&box);
    picture->SetBounds(10, kTitleHeight + 6, 110, 104);
    picture->Bevel().SetBevelType(btWindows95);
    picture->Background().SetStyle(bgGradient);
    picture->Background().Gradient().SetColorCount(1);
    picture->Background().Gradient().SetColor1(0x00F8F0E8);
    picture->Background().Gradient().SetColor2(0x00C0A080);
    TBitmap landscape;
    MakeLandscape(landscape, 72);
    picture->SetPicture(landscape);
    picture->SetStyle(dsCentered);
    picture->SetColorOption(coSmoothed);
    picture->SetInvertImageOnMouseDown(true);

    auto* place = new TComboBox(&demo);
    place->SetName("PictureStyle");
    place->SetParent(&box);
    place->SetStyle(csDropDownList);
    place->SetBounds(130, kTitleHeight + 22, 100, 22);
    for (const char* name : { "dsNone", "dsClient", "dsCentered" })
        place->Items().Add(name);
    place->SetItemIndex(picture->DrawStyle());
    place->SetOnChange([&demo, picture, place](TObject*) {
        picture->SetStyle(static_cast<TDrawStyle>(place->ItemIndex()));
        demo.Status("Picture: " + place->Text());
    });
    demo.Label(box, "DrawStyle", 130, kTitleHeight + 6).SetFocusControl(place);

    auto* option = new TComboBox(&demo);
    option->SetName("PictureOption");
    option->SetParent(&box);
    option->SetStyle(csDropDownList);
    option->SetBounds(130, kTitleHeight + 70, 100, 22);
    for (const char* name : { "coNone", "coTransparent", "coSmoothed" })
        option->Items().Add(name);
    option->SetItemIndex(picture->ColorOption());
    option->SetOnChange([&demo, picture, option](TObject*) {
        picture->SetColorOption(static_cast<TColorOption>(option->ItemIndex()));
        demo.Status("Picture: " + option->Text());
    });
    demo.Label(box, "ColorOption", 130, kTitleHeight + 54).SetFocusControl(option);
    demo.Label(box, "Hold the button on it: coNone and", 10, kTitleHeight + 116);
    demo.Label(box, "coTransparent show it inverted.", 10, kTitleHeight + 132);
}

} // namespace demo
