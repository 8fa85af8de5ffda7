// The list of the demo's sections, the sections of the gradient panel, the art
// label, the background, the bevels and the free routines, and what sections share.
#include "Sections.h"

#include "color/host/Resources.h"
#include "components/ArtLabel.h"
#include "components/KnGradient.h"
#include "components/KnScroll.h"
#include "framework/Backgnd.h"
#include "framework/KnCtrls.h"
#include "framework/host/ComCtrls.h"
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

std::string StyleName(TGradientStyle style)
{
    static constexpr std::array<const char*, 4> kNames { "gsLine", "gsEllipse", "gsRect", "gsCustomRect" };
    return kNames[style];
}

// The art label of the demo (none while its section is not built).
TArtLabel* ArtLabel(const Demo& demo)
{
    return dynamic_cast<TArtLabel*>(demo.FindComponent("ArtLabel"));
}

TKnGradient* GradientPanel(const Demo& demo)
{
    return dynamic_cast<TKnGradient*>(demo.FindComponent("GradientPanel"));
}

} // namespace

// ---- Shared --------------------------------------------------------------------

TColor Hue(std::int32_t degrees) noexcept
{
    const std::int32_t h = ((degrees % 360) + 360) % 360;
    const std::int32_t rising = (h % 60) * 255 / 60;
    std::int32_t r = 0, g = 0, b = 0;
    switch (h / 60) {
    case 0: r = 255, g = rising; break;
    case 1: r = 255 - rising, g = 255; break;
    case 2: g = 255, b = rising; break;
    case 3: g = 255 - rising, b = 255; break;
    case 4: b = 255, r = rising; break;
    default: b = 255 - rising, r = 255; break;
    }
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

void SetArtShadow(Demo& demo, std::int32_t length, const std::string& how)
{
    length = std::clamp(length, 0, kMaxShadow);
    // The bar's OnChange comes back here with the bar's position: no loop.
    if (auto* bar = dynamic_cast<TKnScroll*>(demo.FindComponent("ShadowBar")); bar && bar->Position() != length)
        bar->SetPosition(length);
    if (TArtLabel* label = ArtLabel(demo)) {
        label->SetShadowLength(length);
        demo.Status("Art label: shadow " + std::to_string(length) + " pixels" + (how.empty() ? "" : " (" + how + ")"));
    }
}

void SetGradientBands(Demo& demo, std::int32_t size, const std::string& how)
{
    size = std::clamp(size, 1, 16);
    if (auto* bar = dynamic_cast<TKnScroll*>(demo.FindComponent("BandsBar")); bar && bar->Position() != size)
        bar->SetPosition(size);
    if (auto* upDown = dynamic_cast<TUpDown*>(demo.FindComponent("BandsUpDown")))
        upDown->SetPosition(size); // fires nothing
    if (TKnGradient* panel = GradientPanel(demo)) {
        panel->Gradient().SetLineSize(size);
        demo.Status("Gradient panel: bands of " + std::to_string(size) + " pixels" + (how.empty() ? "" : " (" + how + ")"));
    }
}

// ---- Gradient panel --------------------------------------------------------------

// The gradient panel: click it (or the button) for the next style; the bands
// come from an up-down (or the wheel, or a scroll bar), a timer turns the
// first colour, and the gradient editor edits it all.
void GradientPanelSection(Demo& demo, TPanel& box)
{
    auto* panel = new TKnGradient(&demo);
    panel->SetName("GradientPanel");
    panel->SetParent(&box);
    panel->SetBounds(10, kTitleHeight + 6, 196, 172);
    panel->SetCursor(crHandPoint);
    TGradient g;
    g.SetGradientStyle(gsEllipse);
    g.SetLineSize(2);
    g.SetColorCount(2);
    g.SetColor1(Hue(240));
    g.SetColor2(Hue(180));
    g.SetColor3(clWhite);
    g.SetColor4(0x000080FF);
    panel->SetGradient(g);
    panel->SetColor(clBtnFace); // around the ellipses
    auto nextStyle = [&demo, panel] {
        TGradient& gradient = panel->Gradient();
        gradient.SetGradientStyle(static_cast<TGradientStyle>((gradient.GradientStyle() + 1) % 3));
        demo.Status("Gradient panel: " + StyleName(gradient.GradientStyle()));
    };
    panel->SetOnClick([nextStyle](TObject*) { nextStyle(); });
    demo.OnWheel([&demo, panel](TControl& under, std::int32_t notches) {
        if (&under == panel)
            SetGradientBands(demo, panel->Gradient().LineSize() + notches, "wheel");
    });

    const std::int32_t x = 216, w = 104;
    demo.Button(box, "&Next style", Rect(x, kTitleHeight + 6, x + w, kTitleHeight + 32), nextStyle);
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
    auto& animate = demo.Button(box, "Ani&mate", Rect(x, kTitleHeight + 38, x + w, kTitleHeight + 64), {});
    animate.SetOnClick([&demo, timer, button = &animate](TObject*) {
        timer->SetEnabled(!timer->Enabled());
        button->SetCaption(timer->Enabled() ? "Sto&p" : "Ani&mate");
        demo.Status(timer->Enabled() ? "Gradient panel: animated by a timer" : "Gradient panel: still");
    });
    demo.Button(box, "&Edit gradient...", Rect(x, kTitleHeight + 70, x + w, kTitleHeight + 96), [&demo, panel] {
        if (demo.EditGradient(panel->Gradient()))
            demo.Status("Gradient panel: gradient edited");
    });

    demo.Label(box, "Bands (pixels):", x, kTitleHeight + 112);
    auto* bands = new TEdit(&demo);
    bands->SetName("BandsEdit");
    bands->SetParent(&box);
    bands->SetBounds(x, kTitleHeight + 130, w, 22);
    auto* upDown = new TUpDown(&demo);
    upDown->SetName("BandsUpDown");
    upDown->SetParent(&box);
    upDown->SetMin(1);
    upDown->SetMax(16);
    upDown->SetPosition(g.LineSize());
    upDown->SetAssociate(bands);
    upDown->SetOnUDClick([&demo, upDown](TObject*, TUDBtnType) { SetGradientBands(demo, upDown->Position(), "up-down"); });
}

// ---- Art label -----------------------------------------------------------------

// The art label: check boxes switch its effects, a drag across it (or the
// wheel, or a scroll bar) sets the shadow's length, the edit holds its text
// and the combo box its font. Typing anywhere goes to the edit.
void ArtLabelSection(Demo& demo, TPanel& box)
{
    auto* label = new TArtLabel(&demo);
    label->SetName("ArtLabel");
    label->SetParent(&box);
    label->SetBounds(10, kTitleHeight + 4, 438, 84);
    label->GetFont().SetName("Arial");
    label->GetFont().SetHeight(-52);
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
        const std::int32_t length = std::clamp(*lengthAtStart + (x - *dragStart) / 8, 0, kMaxShadow);
        if (length != label->ShadowLength())
            SetArtShadow(demo, length, "drag");
    });
    label->SetOnMouseUp([dragStart](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { *dragStart = -1; });
    demo.OnWheel([&demo, label](TControl& under, std::int32_t notches) {
        if (&under == label)
            SetArtShadow(demo, label->ShadowLength() + notches, "wheel");
    });

    struct Toggle {
        const char* caption;
        TArtStyleFlag flag;
    };
    static constexpr std::array<Toggle, 4> kToggles { { { "Shadow", asShadow }, { "Outline", asOutlined }, { "Raised", as3DRaise },
        { "Gradient", asGradient } } };
    std::int32_t x = 10;
    for (const Toggle& t : kToggles) {
        auto* check = new TCheckBox(&demo);
        check->SetName(std::string("Art") + t.caption);
        check->SetParent(&box);
        check->SetBounds(x, kTitleHeight + 96, 100, 20);
        check->SetCaption(t.caption);
        check->SetChecked(label->ArtStyle().Contains(t.flag));
        check->SetOnClick([&demo, label, check, t](TObject*) {
            TArtStyle style = label->ArtStyle();
            if (check->Checked())
                style.Include(t.flag);
            else
                style.Exclude(t.flag);
            label->SetArtStyle(style);
            demo.Status(std::string("Art label: ") + t.caption + (check->Checked() ? " on" : " off"));
        });
        x += 108;
    }

    auto* text = new TEdit(&demo);
    text->SetName("ArtText");
    text->SetParent(&box);
    text->SetBounds(50, kTitleHeight + 128, 180, 22);
    text->SetText(label->Caption());
    // Typing goes on from the end of the text, never over all of it.
    text->SetAutoSelect(false);
    text->SetSelStart(text->TextLength());
    text->SetOnChange([&demo, label, text](TObject*) {
        label->SetCaption(text->Text());
        demo.Status("Art label: \"" + text->Text() + "\"");
    });
    demo.Label(box, "&Text:", 10, kTitleHeight + 131).SetFocusControl(text);
    demo.SetActiveControl(text);
    // What is typed while no control takes characters goes into the edit.
    demo.OnTyped([text](std::uint32_t c) {
        if (c < 0x20 || !text->CanFocus())
            return;
        const TWeakRef<TEdit> alive(text);
        text->SetFocus();
        if (alive)
            text->Perform(WM_CHAR, static_cast<WPARAM>(c), 0);
    });

    auto* font = new TComboBox(&demo);
    font->SetName("ArtFont");
    font->SetParent(&box);
    font->SetStyle(csDropDownList);
    font->SetBounds(288, kTitleHeight + 128, 160, 22);
    for (const char* name : { "Arial", "Times New Roman", "Courier New", "DejaVu Sans" })
        font->Items().Add(name);
    font->SetItemIndex(0);
    font->SetOnChange([&demo, label, font](TObject*) {
        label->GetFont().SetName(font->Text());
        demo.Status("Art label: font " + font->Text());
    });
    demo.Label(box, "&Font:", 248, kTitleHeight + 131).SetFocusControl(font);
    demo.Label(box, "Drag across the art text, or turn the wheel over it, for its shadow.", 10, kTitleHeight + 164);
}

// ---- Background ----------------------------------------------------------------

// The background control in its four styles, chosen by the radio group or by
// a click on it (the next style).
void BackgroundSection(Demo& demo, TPanel& box)
{
    auto* background = new TBackground(&demo);
    background->SetName("Background");
    background->SetParent(&box);
    background->SetBounds(10, kTitleHeight + 6, 160, 138);
    background->SetCursor(crHandPoint);
    // The picture: a tile with the package's red ball in it.
    TBitmap ball;
    ball.LoadFromResourceName(HInstance(), "REDBALL");
    ball.SetTransparent(true);
    TBitmap tile(28, 28);
    tile.Canvas().Brush().SetColor(0x00E0F0FF);
    tile.Canvas().FillRect(Rect(0, 0, 28, 28));
    tile.Canvas().Brush().SetColor(0x00C0D8F0);
    tile.Canvas().FillRect(Rect(0, 27, 28, 28));
    tile.Canvas().FillRect(Rect(27, 0, 28, 28));
    tile.Canvas().Draw(6, 6, ball);
    TBackgndObj back;
    back.SetColor(0x00A0C0E0);
    back.Gradient().SetGradientStyle(gsRect);
    back.Gradient().SetColorCount(2);
    back.Gradient().SetColor1(clGreen);
    back.Gradient().SetColor2(clWhite);
    back.Gradient().SetColor3(clLime);
    back.SetPicture(tile);
    back.SetStyle(bgGradient);
    background->SetBackObj(back);

    auto* style = new TRadioGroup(&demo);
    style->SetName("BackStyle");
    style->SetParent(&box);
    style->SetBounds(180, kTitleHeight + 2, 110, 142);
    style->SetCaption("Style");
    for (const char* name : { "Colour", "Gradient", "Picture", "Tiled" })
        style->Items().Add(name);
    style->SetItemIndex(background->BackObj().BackStyle());

    static constexpr std::array<const char*, 4> kNames { "bgSingleColor", "bgGradient", "bgSingleBitmap", "bgTileBitmap" };
    background->SetOnClick([&demo, background, style](TObject*) {
        TBackgndObj& obj = background->BackObj();
        obj.SetStyle(static_cast<TBackStyle>((obj.BackStyle() + 1) % 4));
        style->SetItemIndex(obj.BackStyle());
        demo.Status(std::string("Background: ") + kNames[obj.BackStyle()]);
    });
    style->SetOnClick([&demo, background, style](TObject*) {
        if (style->ItemIndex() < 0)
            return;
        background->BackObj().SetStyle(static_cast<TBackStyle>(style->ItemIndex()));
        demo.Status(std::string("Background: ") + kNames[background->BackObj().BackStyle()]);
    });
}

// ---- Bevels --------------------------------------------------------------------

namespace {

// A TKnControl showing only its own face: bevel and background.
class BevelCell : public TKnControl {
public:
    using TKnControl::TKnControl;
};

} // namespace

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
        cell->SetBounds(x, kTitleHeight + 10, 50, 70);
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
        x += 56;
    }
    demo.Label(box, "btNone, btWindows95, btFlat3D, btIE4Interactive", 10, kTitleHeight + 90);
    demo.Label(box, "and bt2DRect. Point at a bevel; click to focus it.", 10, kTitleHeight + 108);
}

// ---- Free routines -------------------------------------------------------------

// Free routines drawing on a paint box: text effects over a gradient fill.
void RoutinesSection(Demo& demo, TPanel& box)
{
    auto* paint = new TPaintBox(&demo);
    paint->SetParent(&box);
    paint->SetBounds(10, kTitleHeight + 6, 340, 138);
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
        canvas.Font().SetHeight(-24);
        canvas.Font().SetStyle({ fsBold });
        canvas.Font().SetColor(clNavy);
        DrawShadowText(canvas, 12, 10, "DrawShadowText");
        canvas.Font().SetColor(clSilver);
        Draw3DText(canvas, "Draw3DText", 12, 52, clWhite, clGray);
        canvas.Font().SetColor(clYellow);
        DrawOutlinedText(canvas, 12, 94, "DrawOutlinedText", clMaroon);
    });
    (void)demo;
}

// ---- The list ------------------------------------------------------------------

const std::vector<Section>& Sections()
{
    // Three rows; the widths of each add up to the window's.
    static const std::vector<Section> sections {
        { "Colour buttons (TColor95Button)", 420, 212, ColorButtonsSection },
        { "Gradient panel (TKnGradient)", 330, 212, GradientPanelSection },
        { "Art label (TArtLabel)", 458, 212, ArtLabelSection },
        { "Scroll bars (TKnScroll) and apples (TApples)", 420, 212, ScrollBarsSection },
        { "Image buttons (TSImageBtn, TShadowButton)", 330, 212, ImageButtonsSection },
        { "Colour bevel and panels (TClrBevel, TColorPanel)", 458, 212, ColorPanelsSection },
        { "Background (TBackground)", 300, 176, BackgroundSection },
        { "Picture (TBCBitmap)", 240, 176, PictureSection },
        { "Bevels (TKnControl)", 300, 176, BevelsSection },
        { "Free routines", 360, 176, RoutinesSection },
    };
    return sections;
}

} // namespace demo
