#include "components/ClrPanel.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/FormFiles.h"
#include "rtl/TypInfo.h"
#include "TestForms.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>

using namespace plx;

namespace {

constexpr TColor kFormColor = 0x336699;
constexpr TColor kGrey = 0x808080;

// A hidden form of 120 x 80 in kFormColor.
struct OnForm {
    OnForm()
    {
        form.SetBounds(0, 0, 120, 80);
        form.SetColor(kFormColor);
    }
    template <class C>
    C& Add(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
    {
        auto* c = new C(&form);
        c->SetParent(&form);
        c->SetBounds(left, top, width, height);
        return *c;
    }
    std::unique_ptr<TBitmap> Picture() { return test::Picture(form); }

    TForm form { nullptr };
};

// The expected colour of a control area w x h framed `depth` deep 3D-style
// (top-left edges in one colour, bottom-right ones, corners included, in the
// other), with `inside` for the rest; nullopt-like kNone where nothing is drawn.
constexpr TColor kNone = 0x7FFFFFFF;
TColor FramePixel(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t depth, TColor top,
    TColor bottom, TColor inside)
{
    const std::int32_t k = std::min({ x, y, w - 1 - x, h - 1 - y });
    if (k >= depth)
        return inside;
    return (x == w - 1 - k || y == h - 1 - k) ? bottom : top;
}

// The first pixel of the area at (left, top) that differs from expected(x, y), as text.
std::string Mismatch(const TBitmap& picture, std::int32_t left, std::int32_t top, std::int32_t w, std::int32_t h,
    const std::function<TColor(std::int32_t, std::int32_t)>& expected)
{
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) {
            const TColor want = expected(x, y);
            const TColor got = picture.Image().GetColor(left + x, top + y);
            if (want != kNone && want != got)
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(got) + " instead of "
                    + std::to_string(want);
        }
    return {};
}

} // namespace

// ---- Owner colour ---------------------------------------------------------------

TEST(ClrPanel, BevelsAndPanelsTakeTheColourOfAFormOrColourPanelOwner)
{
    TForm form(nullptr);
    form.SetColor(clTeal);
    TColor color = clRed;
    EXPECT_TRUE(OwnerColor(&form, color));
    EXPECT_EQ(color, clTeal);

    TClrBevel bevel(&form);
    EXPECT_EQ(bevel.Color(), clTeal);
    TColorPanel panel(&form);
    EXPECT_EQ(panel.Color(), clTeal);

    panel.SetColor(clYellow);
    TClrBevel onPanel(&panel);
    EXPECT_EQ(onPanel.Color(), clYellow);
    TColorPanel inPanel(&panel);
    EXPECT_EQ(inPanel.Color(), clYellow);

    // Owners of other kinds, and none, leave the defaults.
    TPanel plain(&form);
    plain.SetColor(clLime);
    color = clRed;
    EXPECT_FALSE(OwnerColor(&plain, color));
    EXPECT_EQ(color, clRed);
    EXPECT_FALSE(OwnerColor(nullptr, color));
    EXPECT_EQ(TClrBevel(&plain).Color(), clWindow);
    EXPECT_EQ(TClrBevel(nullptr).Color(), clWindow);
    EXPECT_EQ(TColorPanel(nullptr).Color(), clBtnFace);
    EXPECT_EQ(TColorPanel(&plain).Color(), clBtnFace);
}

// ---- TClrBevel ------------------------------------------------------------------

TEST(ClrPanel, ALoweredBoxIsDarkTopLeftAndLightBottomRightAndFillsNothing)
{
    OnForm f;
    auto& bevel = f.Add<TClrBevel>(10, 10, 30, 20);
    bevel.SetColor(kGrey);
    EXPECT_EQ(bevel.Shape(), bsBox);
    EXPECT_EQ(bevel.Style(), bsLowered);
    const TColor dark = 0x505050, light = 0xB0B0B0; // (80, 80, 80) and (176, 176, 176)
    // The first colour runs up the left edge from the bottom corner and along the
    // top; the second down the right edge from the top corner and back along the bottom.
    auto box = [](TColor c1, TColor c2) {
        return [=](std::int32_t x, std::int32_t y) {
            if (x == 0 || (y == 0 && x < 29))
                return c1;
            if (x == 29 || y == 19)
                return c2;
            return kFormColor;
        };
    };
    EXPECT_EQ(Mismatch(*f.Picture(), 10, 10, 30, 20, box(dark, light)), "");
    bevel.SetStyle(bsRaised);
    EXPECT_EQ(Mismatch(*f.Picture(), 10, 10, 30, 20, box(light, dark)), "");
}

TEST(ClrPanel, EveryBevelShapeDrawsItsLinesInTheShadesOfItsColour)
{
    OnForm f;
    auto& bevel = f.Add<TClrBevel>(0, 0, 12, 8);
    bevel.SetColor(clWhite);
    const TColor light = clWhite, dark = 0xCFCFCF; // white brightened stays white
    const TColor c1 = dark, c2 = light; // lowered
    using Rule = std::function<TColor(std::int32_t, std::int32_t)>;
    const std::pair<TBevelShape, Rule> cases[] = {
        // An outer frame in c1 (right and bottom edges left out) over an inner one in c2.
        { bsFrame,
            [&](std::int32_t x, std::int32_t y) {
                if ((x == 0 && y <= 6) || (y == 0 && x <= 10) || (x == 10 && y <= 6) || (y == 6 && x <= 10))
                    return c1;
                if (x >= 1 && y >= 1 && (x == 1 || y == 1 || x == 11 || y == 7))
                    return c2;
                return kFormColor;
            } },
        { bsTopLine, [&](std::int32_t, std::int32_t y) { return y == 0 ? c1 : y == 1 ? c2 : kFormColor; } },
        { bsBottomLine, [&](std::int32_t, std::int32_t y) { return y == 6 ? c1 : y == 7 ? c2 : kFormColor; } },
        { bsLeftLine, [&](std::int32_t x, std::int32_t) { return x == 0 ? c1 : x == 1 ? c2 : kFormColor; } },
        { bsRightLine, [&](std::int32_t x, std::int32_t) { return x == 10 ? c1 : x == 11 ? c2 : kFormColor; } },
    };
    for (const auto& [shape, rule] : cases) {
        bevel.SetShape(shape);
        EXPECT_EQ(Mismatch(*f.Picture(), 0, 0, 12, 8, rule), "") << BevelShapeInfo().NameOf(shape);
    }
    // Raised swaps the shades.
    bevel.SetShape(bsTopLine);
    bevel.SetStyle(bsRaised);
    EXPECT_EQ(Mismatch(*f.Picture(), 0, 0, 12, 8,
                  [&](std::int32_t, std::int32_t y) { return y == 0 ? light : y == 1 ? dark : kFormColor; }),
        "");
}

TEST(ClrPanel, BevelsSmallerThanTheirLinesDrawInsideThemselvesOnly)
{
    OnForm f;
    for (auto shape : { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine }) {
        for (auto [w, h] : { std::pair { 0, 0 }, std::pair { 1, 1 }, std::pair { 1, 5 }, std::pair { 2, 0 } }) {
            auto& bevel = f.Add<TClrBevel>(50, 30, w, h);
            bevel.SetShape(shape);
            auto picture = f.Picture();
            const std::int64_t outside = test::CountColor(*picture, Rect(0, 0, 120, 80), kFormColor)
                - test::CountColor(*picture, Bounds(50, 30, w, h), kFormColor);
            EXPECT_EQ(outside, 120 * 80 - std::int64_t { w } * h)
                << BevelShapeInfo().NameOf(shape) << " " << w << " x " << h;
            delete &bevel;
        }
    }
}

// ---- TColorPanel ----------------------------------------------------------------

TEST(ClrPanel, ARaisedWhitePanelHasAWhiteTopLeftAndAGreyBottomRight)
{
    OnForm f;
    auto& panel = f.Add<TColorPanel>(10, 10, 40, 20);
    EXPECT_EQ(panel.Caption(), "") << "a new colour panel has no caption";
    panel.SetColor(clWhite);
    panel.SetBevelWidth(2);
    EXPECT_EQ(Mismatch(*f.Picture(), 10, 10, 40, 20,
                  [](std::int32_t x, std::int32_t y) { return FramePixel(x, y, 40, 20, 2, clWhite, 0xBFBFBF, clWhite); }),
        "");
    EXPECT_EQ(panel.PanelRect(), Rect(2, 2, 38, 18));
}

TEST(ClrPanel, PanelFramesAreTheOuterBevelTheBorderInColourAndTheInnerBevel)
{
    OnForm f;
    auto& panel = f.Add<TColorPanel>(0, 0, 40, 30);
    panel.SetColor(kGrey);
    panel.SetBevelOuter(bvLowered);
    panel.SetBorderWidth(3);
    panel.SetBevelInner(bvRaised);
    panel.SetBevelWidth(2);
    const TColor dark = 0x404040, light = 0xC0C0C0;
    EXPECT_EQ(Mismatch(*f.Picture(), 0, 0, 40, 30,
                  [&](std::int32_t x, std::int32_t y) {
                      const std::int32_t k = std::min({ x, y, 39 - x, 29 - y });
                      if (k < 2)
                          return FramePixel(x, y, 40, 30, 2, dark, light, kNone);
                      if (k < 5)
                          return kGrey;
                      if (k < 7)
                          return FramePixel(x - 5, y - 5, 30, 20, 2, light, dark, kNone);
                      return kGrey;
                  }),
        "");
    EXPECT_EQ(panel.PanelRect(), Rect(7, 7, 33, 23));

    // bvNone leaves a bevel out; a single border is a frame around everything.
    panel.SetBevelOuter(bvNone);
    panel.SetBevelInner(bvNone);
    panel.SetBorderWidth(0);
    panel.SetBorderStyle(bsSingle);
    const TColor frame = ColorToRGB(clWindowFrame);
    EXPECT_EQ(Mismatch(*f.Picture(), 0, 0, 40, 30,
                  [&](std::int32_t x, std::int32_t y) { return FramePixel(x, y, 40, 30, 1, frame, frame, kGrey); }),
        "");
    EXPECT_EQ(panel.PanelRect(), Rect(1, 1, 39, 29));
}

TEST(ClrPanel, FramesWiderThanThePanelCoverItAndLeaveAnEmptyRectangle)
{
    OnForm f;
    auto& panel = f.Add<TColorPanel>(0, 0, 9, 30);
    panel.SetColor(kGrey);
    panel.SetBevelWidth(6);
    f.Picture();
    TRect r = panel.PanelRect();
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(r.Left, r.Right) << "empty, not inverted";
    EXPECT_EQ(r.Top, 6);
    EXPECT_EQ(r.Bottom, 24);
    // Five layers cover the nine columns; the sixth draws nothing.
    const TColor light = 0xC0C0C0, dark = 0x404040;
    EXPECT_EQ(Mismatch(*f.Picture(), 0, 0, 9, 30,
                  [&](std::int32_t x, std::int32_t y) { return FramePixel(x, y, 9, 30, 5, light, dark, kNone); }),
        "");

    // A border millions of pixels wide takes no longer than one that fits.
    panel.SetBevelOuter(bvNone);
    panel.SetBorderWidth(1 << 30);
    panel.SetBounds(0, 0, 40, 30);
    auto picture = f.Picture();
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 40, 30), kGrey), 40 * 30);
    r = panel.PanelRect();
    EXPECT_EQ(r, Rect(20, 15, 20, 15));

    // Aligned children keep inside the frames, and get no room when there is none.
    auto* child = new TClrBevel(&f.form);
    child->SetParent(&panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(20, 15, 20, 15));
    panel.SetBorderWidth(2);
    panel.SetBevelInner(bvLowered);
    panel.SetBevelWidth(3);
    EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 35, 25));
    panel.SetBevelOuter(bvRaised);
    panel.SetBorderStyle(bsSingle);
    panel.SetBevelWidth(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(child->BoundsRect(), Rect(20, 15, 20, 15));
}

TEST(ClrPanel, TheCaptionIsCentredOnTheMiddleLineAndAligned)
{
    OnForm f;
    auto& panel = f.Add<TColorPanel>(0, 0, 100, 40);
    panel.SetColor(clWhite);
    panel.SetBevelOuter(bvNone);
    panel.Font().SetColor(clBlack);
    panel.SetCaption("IIII");
    // The box of the caption's black pixels.
    auto ink = [&] {
        auto picture = f.Picture();
        TRect box { 1000, 1000, -1, -1 };
        for (std::int32_t y = 0; y < 40; ++y)
            for (std::int32_t x = 0; x < 100; ++x)
                if (picture->Image().GetColor(x, y) == clBlack) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    };
    TBitmap probe;
    probe.Canvas().Font().Assign(&panel.Font());
    const std::int32_t width = probe.Canvas().TextWidth("IIII");
    const std::int32_t height = probe.Canvas().TextHeight("W");
    TRect centred = ink();
    ASSERT_GT(centred.Right, centred.Left);
    EXPECT_LE(std::abs((centred.Left + centred.Right) - 100), 3);
    EXPECT_GE(centred.Top, (40 - height) / 2);
    EXPECT_LE(centred.Bottom, (40 - height) / 2 + height);

    panel.SetAlignment(taLeftJustify);
    EXPECT_LT(ink().Left, 5);
    panel.SetAlignment(taRightJustify);
    EXPECT_GT(ink().Right, 95);
    EXPECT_LE(ink().Right, 100);

    // Tabs are expanded, to a stop eight average characters along.
    panel.SetAlignment(taLeftJustify);
    panel.SetCaption("I\tI");
    const TRect tabbed = ink();
    EXPECT_GT(tabbed.Right - tabbed.Left, probe.Canvas().TextWidth("I  I"));
    EXPECT_GT(width, 0);

    // A caption taller than the panel is still centred on its middle line.
    panel.SetCaption("IIII");
    panel.SetAlignment(taCenter);
    panel.SetBounds(0, 0, 100, 6);
    panel.Font().SetSize(30);
    probe.Canvas().Font().Assign(&panel.Font());
    const std::int32_t tall = probe.Canvas().TextHeight("W");
    ASSERT_GT(tall, 6);
    const TRect clipped = ink();
    EXPECT_EQ(clipped.Top, 0) << "drawn over the whole panel height";
    EXPECT_EQ(clipped.Bottom, 6);
}

// ---- Form files -----------------------------------------------------------------

TEST(ClrPanel, FormFilesRoundTripAndRefuseHostileValues)
{
    TForm form(nullptr);
    form.SetName("F");
    form.SetColor(clTeal);
    auto* bevel = new TClrBevel(&form);
    bevel->SetName("B");
    bevel->SetParent(&form);
    bevel->SetShape(bsFrame);
    bevel->SetStyle(bsRaised);
    auto* panel = new TColorPanel(&form);
    panel->SetName("P");
    panel->SetParent(&form);
    panel->SetCaption("Caption");
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(4);
    panel->SetBevelWidth(3);
    auto* inner = new TClrBevel(&form);
    inner->SetName("Inner");
    inner->SetParent(panel);
    inner->SetColor(clBtnFace);
    std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("  object B: TClrBevel\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Shape = bsFrame\n    Style = bsRaised\n    Color = clTeal\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    BevelInner = bvLowered\n    BevelWidth = 3\n    BorderWidth = 4\n    Caption = 'Caption'\n"
                        "    Color = clTeal\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("    object Inner: TClrBevel\n"), std::string::npos) << text;

    // Reading: the defaults hold where a file says nothing.
    std::unique_ptr<TComponent> read(ReadComponentFromText(
        "object G: TForm\n  object B: TClrBevel\n  end\n  object P: TColorPanel\n  end\nend\n", nullptr));
    auto* b = dynamic_cast<TClrBevel*>(read->FindComponent("B"));
    auto* p = dynamic_cast<TColorPanel*>(read->FindComponent("P"));
    ASSERT_TRUE(b && p);
    EXPECT_EQ(b->Shape(), bsBox);
    EXPECT_EQ(b->Style(), bsLowered);
    EXPECT_EQ(p->Caption(), "");
    EXPECT_EQ(p->BevelOuter(), bvRaised);
    EXPECT_EQ(p->Alignment(), taCenter);
    EXPECT_FALSE(p->ParentColor());

    const auto readBevel = [](const std::string& lines) { return test::ReadAndPaint("TClrBevel", lines); };
    const auto readPanel = [](const std::string& lines) { return test::ReadAndPaint("TColorPanel", lines); };
    EXPECT_NE(readBevel("    Shape = bsCircle\n").find("Line 5"), std::string::npos);
    EXPECT_NE(readBevel("    Style = 7\n").find("Line 5"), std::string::npos);
    EXPECT_NE(readPanel("    BevelOuter = bvSunken\n").find("Line 5"), std::string::npos);
    EXPECT_EQ(readPanel("    BevelWidth = 2147483647\n    BorderWidth = 2147483647\n"
                        "    BevelInner = bvLowered\n    BorderStyle = bsSingle\n"),
        "no exception");
    EXPECT_EQ(readPanel("    Left = -2147483648\n    Top = -2147483648\n    Width = 2147483647\n"
                        "    Height = 2147483647\n    Caption = 'x'\n"),
        "no exception");
    EXPECT_EQ(readBevel("    Left = -2147483648\n    Width = 2147483647\n    Height = 2147483647\n    Shape = bsRightLine\n"),
        "no exception");
}
