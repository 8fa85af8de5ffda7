// The sections of the demo window, one function each, and their list.
#include "Demo.h"

#include "color/host/Resources.h"
#include "components/ArtLabel.h"
#include "components/KnGradient.h"
#include "framework/Backgnd.h"
#include "framework/KnCtrls.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/Timer.h"
#include "paint/DrawMan.h"
#include "paint/Gradient.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace demo {

using namespace plx;

namespace {

std::string Utf8(std::uint32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string StyleName(TGradientStyle style)
{
    static constexpr std::array<const char*, 4> kNames { "gsLine", "gsEllipse", "gsRect", "gsCustomRect" };
    return kNames[style];
}

// The gradient panel: click it for the next style, the buttons change the
// colours and the bands, and a timer turns the colours.
void GradientPanelSection(Demo& demo, TPanel& box)
{
    auto* panel = new TKnGradient(&demo);
    panel->SetName("GradientPanel");
    panel->SetParent(&box);
    panel->SetBounds(10, kTitleHeight + 4, 190, 116);
    panel->SetCursor(crHandPoint);
    TGradient g;
    g.SetGradientStyle(gsEllipse);
    g.SetLineSize(2);
    g.SetColorCount(3);
    g.SetColor1(clNavy);
    g.SetColor2(clAqua);
    g.SetColor3(clWhite);
    g.SetColor4(0x000080FF);
    panel->SetGradient(g);
    panel->SetColor(clBtnFace); // around the ellipses
    panel->SetOnClick([&demo, panel](TObject*) {
        TGradient& gradient = panel->Gradient();
        gradient.SetGradientStyle(static_cast<TGradientStyle>((gradient.GradientStyle() + 1) % 3));
        demo.Status("Gradient panel: " + StyleName(gradient.GradientStyle()));
    });
    const std::int32_t x = 206;
    demo.Button(box, "Colours", Rect(x, kTitleHeight + 4, x + 84, kTitleHeight + 28), [&demo, panel] {
        TGradient& gradient = panel->Gradient();
        const TColor first = gradient.Color1();
        gradient.SetColor1(gradient.Color2());
        gradient.SetColor2(gradient.Color3());
        gradient.SetColor3(gradient.Color4());
        gradient.SetColor4(first);
        demo.Status("Gradient panel: colours turned");
    });
    demo.Button(box, "Bands", Rect(x, kTitleHeight + 34, x + 84, kTitleHeight + 58), [&demo, panel] {
        TGradient& gradient = panel->Gradient();
        gradient.SetLineSize(gradient.LineSize() % 8 + 1);
        demo.Status("Gradient panel: bands of " + std::to_string(gradient.LineSize()) + " pixels");
    });
    demo.OnWheel([&demo, panel](TControl& under, std::int32_t notches) {
        if (&under != panel)
            return;
        TGradient& gradient = panel->Gradient();
        gradient.SetLineSize(std::clamp(gradient.LineSize() + notches, 1, 16));
        demo.Status("Gradient panel: bands of " + std::to_string(gradient.LineSize()) + " pixels (wheel)");
    });
    auto* timer = new TTimer(&demo);
    timer->SetInterval(120);
    timer->SetEnabled(false);
    timer->SetOnTimer([panel](TObject*) {
        TGradient& gradient = panel->Gradient();
        const TColor c = gradient.Color1();
        // Turn the first colour a little each tick.
        const auto r = static_cast<std::uint8_t>(c & 0xFF), gr = static_cast<std::uint8_t>((c >> 8) & 0xFF),
                   b = static_cast<std::uint8_t>((c >> 16) & 0xFF);
        gradient.SetColor1(static_cast<TColor>(static_cast<std::uint8_t>(b + 8) | (r << 8) | (static_cast<std::uint8_t>(gr + 24) << 16)));
    });
    demo.Button(box, "Animate", Rect(x, kTitleHeight + 64, x + 84, kTitleHeight + 88), [&demo, timer] {
        timer->SetEnabled(!timer->Enabled());
        demo.Status(timer->Enabled() ? "Gradient panel: animated by a timer" : "Gradient panel: still");
    });
}

// The art label: buttons switch its effects, a drag across it sets the shadow
// length, and typing replaces its text.
void ArtLabelSection(Demo& demo, TPanel& box)
{
    auto* label = new TArtLabel(&demo);
    label->SetName("ArtLabel");
    label->SetParent(&box);
    label->SetBounds(10, kTitleHeight + 4, 250, 64);
    label->GetFont().SetName("Arial");
    label->GetFont().SetHeight(-36);
    label->GetFont().SetStyle({ fsBold });
    label->GetFont().SetColor(clRed);
    label->SetCaption("Art text");
    label->SetArtStyle({ asShadow, asGradient });
    label->SetShadowLength(4);
    label->SetCursor(crSizeWE);
    TGradient g;
    g.SetColorCount(2);
    g.SetLineSize(2);
    g.SetColor1(clMaroon);
    g.SetColor2(clYellow);
    g.SetColor3(clRed);
    label->SetGrad(g);
    // Dragging across the label sets the shadow's length.
    auto dragStart = std::make_shared<std::int32_t>(-1);
    auto lengthAtStart = std::make_shared<std::int32_t>(0);
    label->SetOnMouseDown([label, dragStart, lengthAtStart](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t) {
        *dragStart = x;
        *lengthAtStart = label->ShadowLength();
    });
    label->SetOnMouseMove([&demo, label, dragStart, lengthAtStart](TObject*, TShiftState shift, std::int32_t x, std::int32_t) {
        if (*dragStart < 0 || !shift.Contains(ssLeft))
            return;
        const std::int32_t length = std::clamp(*lengthAtStart + (x - *dragStart) / 8, 0, 12);
        if (length != label->ShadowLength()) {
            label->SetShadowLength(length);
            demo.Status("Art label: shadow " + std::to_string(length) + " pixels");
        }
    });
    label->SetOnMouseUp([dragStart](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { *dragStart = -1; });
    demo.OnWheel([&demo, label](TControl& under, std::int32_t notches) {
        if (&under != label)
            return;
        label->SetShadowLength(std::clamp(label->ShadowLength() + notches, 0, 12));
        demo.Status("Art label: shadow " + std::to_string(label->ShadowLength()) + " pixels (wheel)");
    });

    struct Toggle {
        const char* caption;
        TArtStyleFlag flag;
    };
    static constexpr std::array<Toggle, 4> kToggles { { { "Shadow", asShadow }, { "Outline", asOutlined }, { "Raised", as3DRaise },
        { "Gradient", asGradient } } };
    std::int32_t x = 10;
    for (const Toggle& t : kToggles) {
        demo.Button(box, t.caption, Rect(x, kTitleHeight + 74, x + 60, kTitleHeight + 96), [&demo, label, t] {
            TArtStyle style = label->ArtStyle();
            if (style.Contains(t.flag))
                style.Exclude(t.flag);
            else
                style.Include(t.flag);
            label->SetArtStyle(style);
            demo.Status(std::string("Art label: ") + t.caption + (style.Contains(t.flag) ? " on" : " off"));
        });
        x += 64;
    }
    auto* hint = new TLabel(&demo);
    hint->SetParent(&box);
    hint->SetBounds(10, kTitleHeight + 100, 250, 16);
    hint->SetCaption("Drag across it; type to change its text.");
    demo.OnTyped([&demo, label](std::uint32_t c) {
        std::string text = label->Caption();
        if (c == 8) {
            // Back over one character, however many bytes of UTF-8 it took.
            while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
                text.pop_back();
            if (!text.empty())
                text.pop_back();
        } else if (c >= 0x20 && c != 0x7F && c <= 0x10FFFF && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c < 0xE000)) {
            text += Utf8(c);
        } else {
            return;
        }
        label->SetCaption(text);
        demo.Status("Art label: \"" + text + "\"");
    });
}

// The background control in its four styles; a click shows the next one.
void BackgroundSection(Demo& demo, TPanel& box)
{
    auto* background = new TBackground(&demo);
    background->SetName("Background");
    background->SetParent(&box);
    background->SetBounds(10, kTitleHeight + 4, 140, 116);
    background->SetCursor(crHandPoint);
    TBitmap ball;
    ball.LoadFromResourceName(HInstance(), "REDBALL");
    TBackgndObj back;
    back.SetColor(0x00E0F0FF);
    back.Gradient().SetGradientStyle(gsRect);
    back.Gradient().SetColorCount(2);
    back.Gradient().SetColor1(clGreen);
    back.Gradient().SetColor2(clWhite);
    back.Gradient().SetColor3(clLime);
    back.SetPicture(ball);
    back.SetStyle(bgGradient);
    background->SetBackObj(back);
    background->SetOnClick([&demo, background](TObject*) {
        static constexpr std::array<const char*, 4> kNames { "bgSingleColor", "bgGradient", "bgSingleBitmap", "bgTileBitmap" };
        TBackgndObj& obj = background->BackObj();
        obj.SetStyle(static_cast<TBackStyle>((obj.BackStyle() + 1) % 4));
        demo.Status(std::string("Background: ") + kNames[obj.BackStyle()]);
    });
}

// A TKnControl showing only its own face: bevel and background.
class BevelCell : public TKnControl {
public:
    using TKnControl::TKnControl;
};

// The bevels of TKnControl: hover shows enter and leave, a click focuses.
void BevelsSection(Demo& demo, TPanel& box)
{
    struct Kind {
        const char* name;
        TBevelType type;
    };
    static constexpr std::array<Kind, 5> kKinds { { { "btNone", btNone }, { "btWindows95", btWindows95 }, { "btFlat3D", btFlat3D },
        { "btIE4Interactive", btIE4Interactive }, { "bt2DRect", bt2DRect } } };
    std::int32_t x = 10;
    for (const Kind& kind : kKinds) {
        auto* cell = new BevelCell(&demo);
        cell->SetParent(&box);
        cell->SetBounds(x, kTitleHeight + 6, 50, 50);
        cell->Bevel().SetBevelType(kind.type);
        cell->Bevel().SetColor(clGray);
        cell->Background().SetStyle(bgGradient);
        cell->Background().Gradient().SetColorCount(2);
        cell->Background().Gradient().SetGradientStyle(gsEllipse);
        cell->SetOnMouseEnter([&demo, kind](TObject*) { demo.Status(std::string("Bevel: entered ") + kind.name); });
        cell->SetOnMouseLeave([&demo, kind](TObject*) { demo.Status(std::string("Bevel: left ") + kind.name); });
        cell->SetOnClick([&demo, cell, kind](TObject*) {
            cell->SetFocused(!cell->Focused());
            demo.Status(std::string("Bevel: ") + kind.name + (cell->Focused() ? " focused" : " not focused"));
        });
        x += 58;
    }
    auto* hint = new TLabel(&demo);
    hint->SetParent(&box);
    hint->SetBounds(10, kTitleHeight + 62, 280, 16);
    hint->SetCaption("Point at a bevel; click to focus it.");
}

// The host's own controls: panels with accelerators, labels, bevels, an image.
void HostControlsSection(Demo& demo, TPanel& box)
{
    demo.Button(box, "&Raised panel", Rect(10, kTitleHeight + 4, 130, kTitleHeight + 30), [&demo] { demo.Status("Host: the raised panel (Alt+R)"); });
    auto* lowered = new TPanel(&demo);
    lowered->SetParent(&box);
    lowered->SetBounds(10, kTitleHeight + 36, 120, 26);
    lowered->SetBevelOuter(bvLowered);
    lowered->SetColor(clWindow);
    lowered->SetCaption("Lowered panel");
    auto* frame = new TBevel(&demo);
    frame->SetParent(&box);
    frame->SetBounds(140, kTitleHeight + 4, 60, 58);
    frame->SetShape(bsFrame);
    auto* image = new TImage(&demo);
    image->SetParent(&box);
    image->SetBounds(146, kTitleHeight + 10, 48, 46);
    image->SetCenter(true);
    image->Picture().LoadFromResourceName(HInstance(), "REDBALL");
    auto* label = new TLabel(&demo);
    label->SetParent(&box);
    label->SetBounds(10, kTitleHeight + 70, 180, 16);
    label->SetCaption("TPanel, TLabel, TBevel, TImage");
}

// Free routines drawing on a paint box: text effects and a gradient fill.
void RoutinesSection(Demo& demo, TPanel& box)
{
    auto* paint = new TPaintBox(&demo);
    paint->SetParent(&box);
    paint->SetBounds(10, kTitleHeight + 4, 230, 92);
    paint->SetOnPaint([paint](TObject*) {
        TCanvas& canvas = paint->Canvas();
        TGradient g;
        g.SetLineDir(diVertical);
        g.SetColorCount(2);
        g.SetColor1(0x00FFE0C0);
        g.SetColor2(clWhite);
        g.SetColor3(0x00C0E0FF);
        PaintGradient(canvas, paint->ClientRect(), g);
        canvas.Font().SetName("Arial");
        canvas.Font().SetHeight(-18);
        canvas.Font().SetStyle({ fsBold });
        canvas.Font().SetColor(clNavy);
        DrawShadowText(canvas, 8, 4, "DrawShadowText");
        canvas.Font().SetColor(clSilver);
        Draw3DText(canvas, "Draw3DText", 8, 34, clWhite, clGray);
        canvas.Font().SetColor(clYellow);
        DrawOutlinedText(canvas, 8, 62, "DrawOutlinedText", clMaroon);
    });
    (void)demo;
}

} // namespace

const std::vector<Section>& Sections()
{
    static const std::vector<Section> sections {
        { "Gradient panel (TKnGradient)", 300, 150, GradientPanelSection },
        { "Art label (TArtLabel)", 270, 150, ArtLabelSection },
        { "Background", 160, 150, BackgroundSection },
        { "Bevels (TKnControl)", 300, 126, BevelsSection },
        { "Host controls", 200, 126, HostControlsSection },
        { "Free routines", 250, 126, RoutinesSection },
    };
    return sections;
}

} // namespace demo
