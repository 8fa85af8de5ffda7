// The sections of the package's buttons: the colour buttons, and the image and
// shadow buttons.
#include "Sections.h"

#include "color/ColorMan.h"
#include "color/host/Resources.h"
#include "color/host/SysColors.h"
#include "components/ColorBtns.h"
#include "components/SImageBtn.h"
#include "components/ShadowButton.h"
#include "framework/host/StdCtrls.h"
#include "paint/Gradient.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace demo {

using namespace plx;

namespace {

struct StyleEntry {
    const char* name;
    const char* caption;
    TClr95ButtonStyle style;
};

constexpr std::array<StyleEntry, 11> kStyles { { { "bsWin31", "Win 3.1", bsWin31 }, { "bsNew", "New", bsNew },
    { "bsEllipse", "Ellipse", bsEllipse }, { "bsTab", "Tab", bsTab }, { "bsIE4", "IE4", bsIE4 },
    { "bsSideDownTab", "Side tab", bsSideDownTab }, { "bsGlass", "Glass", bsGlass }, { "bsFlat", "Flat", bsFlat },
    { "bsOwnerDraw", "Owner-draw", bsOwnerDraw }, { "bsMicroposeGame", "Micropose", bsMicroposeGame },
    { "bsGradient", "Gradient", bsGradient } } };

struct Paint {
    const char* name;
    TColor color;
};

constexpr std::array<Paint, 4> kPaints { { { "Grey", clBtnFace }, { "Teal", 0x00808000 }, { "Gold", 0x0040C0F0 },
    { "Rose", 0x00A080F0 } } };

// The face of the bsOwnerDraw button: its colour fading to white, framed.
void DrawOwnFace(TColor color, TCanvas& canvas, TRect& rect)
{
    TGradient g;
    g.SetColorCount(1);
    g.SetLineSize(2);
    g.SetColor1(ColorToRGB(color));
    g.SetColor2(clWhite);
    PaintGradient(canvas, rect, g);
    canvas.Brush().SetColor(DarkenColor(ColorToRGB(color), 96));
    canvas.FrameRect(rect);
    rect = Rect(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
}

// A picture of the package at twice its size, pixel for pixel.
void LoadDoubled(TBitmap& picture, const char* name)
{
    TBitmap original;
    original.LoadFromResourceName(HInstance(), name);
    picture.SetSize(original.Width() * 2, original.Height() * 2);
    picture.Canvas().StretchDraw(Rect(0, 0, picture.Width(), picture.Height()), original);
}

} // namespace

// The colour buttons: one per style, painted in the colour the exclusive group
// below them chooses; a button with a glyph, disabled; and two buttons that
// repeat their click while held.
void ColorButtonsSection(Demo& demo, TPanel& box)
{
    constexpr std::int32_t kWidth = 94, kHeight = 26, kStep = 102;
    auto styled = std::make_shared<std::vector<TColor95Button*>>();
    for (std::size_t i = 0; i <= kStyles.size(); ++i) {
        auto* button = new TColor95Button(&demo);
        button->SetParent(&box);
        const auto col = static_cast<std::int32_t>(i % 4), row = static_cast<std::int32_t>(i / 4);
        button->SetBounds(10 + col * kStep, kTitleHeight + 6 + row * 32, kWidth, kHeight);
        button->SetColor(clBtnFace);
        if (i == kStyles.size()) {
            // The last place: a glyph beside the caption, and the disabled look.
            TBitmap star;
            star.LoadFromResourceName(HInstance(), "STAR");
            button->SetName("DisabledButton");
            button->SetGlyph(star);
            button->SetCaption("Disabled");
            button->SetEnabled(false);
        } else {
            const StyleEntry entry = kStyles[i];
            button->SetName(std::string("Style") + (entry.name + 2));
            button->SetStyle(entry.style);
            button->SetCaption(entry.caption);
            button->SetHint(entry.name);
            button->SetShowHint(true);
            if (entry.style == bsOwnerDraw)
                button->SetOnOwnerDraw([button](TObject*, TCanvas& canvas, TRect& rect) { DrawOwnFace(button->Color(), canvas, rect); });
            button->SetOnClick([&demo, entry](TObject*) { demo.Status(std::string("Colour button: ") + entry.name + " clicked"); });
        }
        styled->push_back(button);
    }

    demo.Label(box, "Paint them in:", 10, kTitleHeight + 116);
    std::int32_t x = 104;
    for (const Paint& paint : kPaints) {
        auto* button = new TColor95Button(&demo);
        button->SetName(std::string("Paint") + paint.name);
        button->SetParent(&box);
        button->SetBounds(x, kTitleHeight + 110, 72, kHeight);
        button->SetColor(paint.color);
        button->SetCaption(paint.name);
        button->SetGroupIndex(1);
        button->SetDown(paint.color == clBtnFace);
        button->SetOnClick([&demo, styled, paint](TObject*) {
            for (TColor95Button* b : *styled) {
                b->SetColor(paint.color);
                // A glyph's images keep the face colour they were made in; a
                // picture set again makes them in the new one.
                if (!b->GetGlyph().Empty()) {
                    TBitmap glyph;
                    glyph.Assign(&b->GetGlyph());
                    b->SetGlyph(glyph);
                }
            }
            demo.Status(std::string("Colour buttons: painted in ") + paint.name);
        });
        x += 78;
    }

    demo.Label(box, "Hold to repeat:", 10, kTitleHeight + 154);
    auto* count = new TPanel(&demo);
    count->SetName("RepeatCount");
    count->SetParent(&box);
    count->SetBounds(196, kTitleHeight + 148, 72, kHeight);
    count->SetBevelOuter(bvLowered);
    count->SetColor(clWindow);
    count->SetCaption("0");
    auto counter = std::make_shared<std::int32_t>(0);
    for (const bool up : { false, true }) {
        auto* button = new TColor95Button(&demo);
        button->SetName(up ? "RepeatUp" : "RepeatDown");
        button->SetParent(&box);
        button->SetBounds(up ? 148 : 104, kTitleHeight + 148, 40, kHeight);
        button->SetStyle(bsGradient);
        button->SetColor(0x00E0C080);
        button->SetCaption(up ? "+" : "-");
        TButtonOptions options = button->Options();
        options.Include(boRepeatable);
        button->SetOptions(options);
        button->SetOnClick([&demo, count, counter, up](TObject*) {
            *counter += up ? 1 : -1;
            count->SetCaption(std::to_string(*counter));
            demo.Status("Colour button: repeated, count " + std::to_string(*counter));
        });
    }
}

// The image buttons with the package's pictures (another one under the
// pointer), the shadow buttons in four shapes, and check boxes that disable
// them all or take their shadows away.
void ImageButtonsSection(Demo& demo, TPanel& box)
{
    struct Picture {
        const char* caption;
        const char* image;
        const char* focused;
        TDeepth deepth;
    };
    static constexpr std::array<Picture, 3> kPictures { { { "Ball", "REDBALL", "STAR", 2 }, { "Star", "STAR", "REDBALL", 3 },
        { "Deep", "REDBALL", "", 6 } } };
    auto images = std::make_shared<std::vector<TSImageBtn*>>();
    auto shapes = std::make_shared<std::vector<TShadowButton*>>();
    std::int32_t x = 10;
    for (const Picture& p : kPictures) {
        auto* button = new TSImageBtn(&demo);
        button->SetName(std::string("Image") + p.caption);
        button->SetParent(&box);
        button->SetBounds(x, kTitleHeight + 6, 96, 60);
        LoadDoubled(button->Image(), p.image);
        if (*p.focused)
            LoadDoubled(button->FocusedImage(), p.focused);
        button->SetDeepth(p.deepth);
        button->SetCaption(p.caption);
        button->SetOnClick([&demo, p](TObject*) { demo.Status(std::string("Image button: ") + p.caption + " clicked"); });
        images->push_back(button);
        x += 107;
    }

    struct Shape {
        const char* caption;
        TShapeType shape;
        TColor color;
    };
    static constexpr std::array<Shape, 4> kShapes { { { "Rect", stRectangle, 0x0000FF00 }, { "Round", stRoundRect, 0x0040A0FF },
        { "Ellipse", stEllipse, 0x00FFC080 }, { "Circle", stCircle, 0x00C0C0FF } } };
    x = 10;
    for (const Shape& s : kShapes) {
        auto* button = new TShadowButton(&demo);
        button->SetName(std::string("Shape") + s.caption);
        button->SetParent(&box);
        button->SetBounds(x, kTitleHeight + 102, 72, 48);
        button->SetShape(s.shape);
        button->SetColor(s.color);
        button->SetCaption(s.caption);
        button->SetOnClick([&demo, s](TObject*) { demo.Status(std::string("Shadow button: ") + s.caption + " clicked"); });
        shapes->push_back(button);
        x += 78;
    }

    auto* enabled = new TCheckBox(&demo);
    enabled->SetName("ButtonsEnabled");
    enabled->SetParent(&box);
    enabled->SetBounds(10, kTitleHeight + 74, 90, 20);
    enabled->SetCaption("Enabled");
    enabled->SetChecked(true);
    enabled->SetOnClick([&demo, enabled, images, shapes](TObject*) {
        for (TSImageBtn* b : *images)
            b->SetEnabled(enabled->Checked());
        for (TShadowButton* b : *shapes)
            b->SetEnabled(enabled->Checked());
        demo.Status(enabled->Checked() ? "Image buttons: enabled" : "Image buttons: disabled");
    });
    auto* shadows = new TCheckBox(&demo);
    shadows->SetName("ButtonsShadow");
    shadows->SetParent(&box);
    shadows->SetBounds(117, kTitleHeight + 74, 90, 20);
    shadows->SetCaption("Shadows");
    shadows->SetChecked(true);
    shadows->SetOnClick([&demo, shadows, images, shapes](TObject*) {
        for (TSImageBtn* b : *images)
            b->SetShadow(shadows->Checked());
        for (TShadowButton* b : *shapes)
            b->SetShadow(shadows->Checked());
        demo.Status(shadows->Checked() ? "Image buttons: with shadows" : "Image buttons: without shadows");
    });
    demo.Label(box, "Point at the pictures; press the buttons.", 10, kTitleHeight + 160);
}

} // namespace demo
