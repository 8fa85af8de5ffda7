#include "paint/Gradient.h"

#include "color/ColorMan.h"
#include "paint/DrawMan.h"
#include "paint/detail/BandWalk.h"
#include "color/host/Bitmap.h"
#include "color/host/Font.h"
#include "framework/host/Component.h"
#include "rtl/Exceptions.h"
#include "framework/host/FormFiles.h"
#include "rtl/TypInfo.h"

#include "TestBitmaps.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace plx;
using plx::test::Filled;

namespace {

TColor Grey(std::int32_t v)
{
    return RGB(v, v, v);
}

// Round(5.1 m) with ties to even, clamped at 0: the grey of the black-white-black
// line example, computed exactly in integers.
std::int32_t FivePointOne(std::int32_t m)
{
    if (m < 0)
        return 0;
    std::int32_t q = 51 * m / 10, rem = 51 * m % 10;
    if (rem > 5 || (rem == 5 && q % 2 == 1))
        ++q;
    return q;
}

// The grey of row k of the black-white-black example (N = 2, s = 1, 100 rows).
TColor ExampleRow(std::int32_t k)
{
    return Grey(k <= 49 ? FivePointOne(k) : FivePointOne(98 - k));
}

constexpr std::array<TColor, 3> kBlackWhiteBlack { clBlack, clWhite, clBlack };

void ExpectSame(TBitmap& a, TBitmap& b)
{
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (std::int32_t y = 0; y < a.Height(); ++y)
        for (std::int32_t x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.Canvas().Pixels(x, y), b.Canvas().Pixels(x, y)) << x << ", " << y;
}

} // namespace

// ---- The description ------------------------------------------------------------

TEST(GradientDescription, NewGradientIsBrushedMetal)
{
    TGradient g;
    EXPECT_EQ(g.GradientStyle(), gsLine);
    EXPECT_EQ(g.LineSize(), 3);
    EXPECT_EQ(g.Color1(), 0x808080);
    EXPECT_EQ(g.Color2(), 0xFFFFFF);
    EXPECT_EQ(g.Color3(), 0xC0C0C0);
    EXPECT_EQ(g.Color4(), 0xFFFFFF);
    EXPECT_EQ(g.Color5(), 0x000000);
    EXPECT_EQ(g.ColorCount(), 3);
    EXPECT_EQ(g.LineDirection(), diHorizonal);
    EXPECT_FALSE(g.OnChange());
    EXPECT_FALSE(g.OnDrawRect());
}

TEST(GradientDescription, SettersNotifyOnlyRealChanges)
{
    TGradient g;
    int changes = 0;
    TObject* sender = nullptr;
    g.SetOnChange([&](TObject* s) {
        ++changes;
        sender = s;
    });
    g.SetColor1(0x808080);
    EXPECT_EQ(changes, 0) << "an equal value fires nothing";
    g.SetColor1(0x123456);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &g);
    g.SetGradientStyle(gsEllipse);
    g.SetLineSize(-4); // not range-checked
    g.SetColor2(1);
    g.SetColor3(2);
    g.SetColor4(3);
    g.SetColor5(4);
    g.SetColorCount(9); // not range-checked either
    g.SetLineDir(diVertical);
    EXPECT_EQ(changes, 9);
    EXPECT_EQ(g.LineSize(), -4);
    EXPECT_EQ(g.ColorCount(), 9);
    g.SetGradientStyle(gsEllipse);
    g.SetLineDir(diVertical);
    g.SetColorCount(9);
    EXPECT_EQ(changes, 9);
}

TEST(GradientDescription, AssignCopiesDataNotHandlersAndFiresOnce)
{
    TGradient source, target;
    int sourceHandler = 0, targetChanges = 0, targetDraws = 0;
    source.SetOnChange([&](TObject*) { ++sourceHandler; });
    source.SetOnDrawRect([](TObject*, TCanvas&, TRect) { });
    source.SetGradientStyle(gsCustomRect);
    source.SetLineSize(7);
    source.SetColor1(1);
    source.SetColor2(2);
    source.SetColor3(3);
    source.SetColor4(4);
    source.SetColor5(5);
    source.SetColorCount(4);
    source.SetLineDir(diVertical);
    target.SetOnChange([&](TObject*) { ++targetChanges; });
    target.SetOnDrawRect([&](TObject*, TCanvas&, TRect) { ++targetDraws; });
    sourceHandler = 0;

    target.Assign(&source);
    EXPECT_EQ(targetChanges, 1);
    EXPECT_EQ(sourceHandler, 0);
    EXPECT_EQ(target.GradientStyle(), gsCustomRect);
    EXPECT_EQ(target.LineSize(), 7);
    EXPECT_EQ(target.Color1(), 1);
    EXPECT_EQ(target.Color2(), 2);
    EXPECT_EQ(target.Color3(), 3);
    EXPECT_EQ(target.Color4(), 4);
    EXPECT_EQ(target.Color5(), 5);
    EXPECT_EQ(target.ColorCount(), 4);
    EXPECT_EQ(target.LineDirection(), diVertical);
    // The target keeps its own handlers.
    TBitmap b(1, 1);
    target.OnDrawRect()(nullptr, b.Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(targetDraws, 1);

    target.Assign(&source);
    EXPECT_EQ(targetChanges, 2) << "fires even when nothing differs";
}

TEST(GradientDescription, AssignFromAnotherClassRaisesAndChangesNothing)
{
    TGradient target;
    target.SetColor1(0x010203);
    int changes = 0;
    target.SetOnChange([&](TObject*) { ++changes; });
    TFont font;
    try {
        target.Assign(&font);
        FAIL() << "no error raised";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TFont to a TGradient");
    }
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(target.Color1(), 0x010203);
    EXPECT_EQ(target.LineSize(), 3);
}

TEST(GradientDescription, PublishedPropertiesInOrderAllStoredWithoutDefaults)
{
    const TClassInfo& info = TGradient::StaticClassInfo();
    EXPECT_EQ(info.Name(), "TGradient");
    EXPECT_TRUE(info.InheritsFrom(TPersistent::StaticClassInfo()));
    std::vector<std::string> names;
    TGradient g;
    for (const auto& p : info.Properties()) {
        names.push_back(p.Name);
        EXPECT_FALSE(p.Default.has_value()) << p.Name;
        EXPECT_TRUE(p.Stored(g)) << p.Name;
    }
    const std::vector<std::string> expected { "GradientStyle", "LineSize", "Color1", "Color2", "Color3", "Color4", "Color5",
        "ColorCount", "LineDirection", "OnDrawRect", "OnChange" };
    EXPECT_EQ(names, expected);
    EXPECT_EQ(info.FindProperty("GradientStyle")->EnumType->NameOf(gsCustomRect), "gsCustomRect");
    EXPECT_EQ(info.FindProperty("LineDirection")->EnumType->Names,
        (std::vector<std::string> { "diHorizonal", "diVertical" }));
    EXPECT_EQ(info.FindProperty("Color1")->TypeName, "TColor");
    EXPECT_EQ(info.FindProperty("ColorCount")->TypeName, "TColorCount");
    EXPECT_EQ(info.FindProperty("OnDrawRect")->Kind, TTypeKind::tkMethod);
    EXPECT_EQ(info.FindProperty("OnChange")->Kind, TTypeKind::tkMethod);
    EXPECT_EQ(&g.ClassType(), &info);
}

TEST(GradientDescription, PropertyTableReadsAndWritesTheFields)
{
    TGradient a, b;
    const TClassInfo& info = TGradient::StaticClassInfo();
    // A fresh gradient's nine data values, as a form file stores them.
    std::vector<std::int64_t> values;
    for (const auto& p : info.Properties())
        if (p.Kind != TTypeKind::tkMethod)
            values.push_back(std::get<std::int64_t>(p.Get(a)));
    EXPECT_EQ(values, (std::vector<std::int64_t> { gsLine, 3, 0x808080, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF, 0, 3, diHorizonal }));

    info.FindProperty("GradientStyle")->Set(a, std::int64_t { gsRect });
    info.FindProperty("ColorCount")->Set(a, std::int64_t { 2 });
    info.FindProperty("Color5")->Set(a, std::int64_t { 0x00FF00 });
    AssignPublished(b, a);
    EXPECT_EQ(b.GradientStyle(), gsRect);
    EXPECT_EQ(b.ColorCount(), 2);
    EXPECT_EQ(b.Color5(), 0x00FF00);

    int calls = 0;
    info.FindProperty("OnChange")->Bind(a, std::any(TNotifyEvent([&](TObject*) { ++calls; })));
    EXPECT_TRUE(info.FindProperty("OnChange")->Assigned(a));
    a.SetLineSize(10);
    EXPECT_EQ(calls, 1);
}

// ---- Parallel bands ---------------------------------------------------------------

TEST(GradientLine, BlackWhiteBlackRowsFollowTheBandEngine)
{
    auto canvas = Filled(10, 110, clRed);
    LineGradient(canvas->Canvas(), Rect(0, 0, 10, 100), kBlackWhiteBlack, 2, diHorizonal, 1);
    TCanvas& c = canvas->Canvas();
    EXPECT_EQ(c.Pixels(0, 0), Grey(0));
    EXPECT_EQ(c.Pixels(5, 1), Grey(5));
    EXPECT_EQ(c.Pixels(9, 2), Grey(10));
    EXPECT_EQ(c.Pixels(3, 25), Grey(128)) << "127.5 rounds to even";
    EXPECT_EQ(c.Pixels(0, 49), Grey(250));
    EXPECT_EQ(c.Pixels(0, 50), Grey(245)) << "the step after row 49 already belongs to the second segment";
    EXPECT_EQ(c.Pixels(0, 100), Grey(0)) << "a band is drawn just outside the rectangle";
    EXPECT_EQ(c.Pixels(0, 101), clRed);
    for (std::int32_t k = 0; k <= 100; ++k)
        for (std::int32_t x : { 0, 9 })
            ASSERT_EQ(c.Pixels(x, k), ExampleRow(k)) << "row " << k;
}

TEST(GradientLine, VerticalBandsRunFromLeftToRight)
{
    auto canvas = Filled(110, 4, clRed);
    LineGradient(canvas->Canvas(), Rect(0, 0, 100, 4), kBlackWhiteBlack, 2, diVertical, 1);
    for (std::int32_t k = 0; k <= 100; ++k)
        ASSERT_EQ(canvas->Canvas().Pixels(k, 3), ExampleRow(k)) << "column " << k;
    EXPECT_EQ(canvas->Canvas().Pixels(101, 0), clRed);
}

TEST(GradientLine, VerticalBandsAreTheHorizontalOnesTransposed)
{
    // Vertical bands are made as one row copied down; horizontal ones fill row
    // by row. Transposed, both must give the same pixels and leave the brush at
    // the same colour, for areas inside, across and beyond the canvas's edges.
    const std::array<TColor, 5> colors { 0x102030, 0xF0E0D0, 0x00FF00, 0x0000FF, 0xFF0000 };
    for (const TRect& r : { Rect(5, 3, 75, 40), Rect(-33, -7, 61, 29), Rect(40, 10, 200, 30), Rect(90, 0, 120, 10) }) {
        for (std::int32_t lineSize : { 1, 3, 7 }) {
            auto vertical = Filled(80, 50, clWhite);
            auto horizontal = Filled(50, 80, clWhite);
            LineGradient(vertical->Canvas(), r, colors, 4, diVertical, lineSize);
            LineGradient(horizontal->Canvas(), Rect(r.Top, r.Left, r.Bottom, r.Right), colors, 4, diHorizonal, lineSize);
            for (std::int32_t y = 0; y < 50; ++y)
                for (std::int32_t x = 0; x < 80; ++x)
                    ASSERT_EQ(vertical->Canvas().Pixels(x, y), horizontal->Canvas().Pixels(y, x))
                        << x << ", " << y << " of " << r.Left << ", " << r.Top << " at line size " << lineSize;
            EXPECT_EQ(vertical->Canvas().Brush().Color(), horizontal->Canvas().Brush().Color());
        }
    }
}

TEST(GradientLine, FastLineGradPaintsTheSameColoursWithinTheRectangle)
{
    for (TDirection dir : { diHorizonal, diVertical }) {
        const TRect r = dir == diHorizonal ? Rect(0, 0, 10, 100) : Rect(0, 0, 100, 10);
        auto fast = Filled(110, 110, clRed);
        auto slow = Filled(110, 110, clRed);
        FastLineGrad(fast->Canvas(), r, kBlackWhiteBlack, 2, dir, 1);
        LineGradient(slow->Canvas(), r, kBlackWhiteBlack, 2, dir, 1);
        slow->Canvas().Brush().SetColor(clRed);
        slow->Canvas().FillRect(dir == diHorizonal ? Rect(0, 100, 10, 101) : Rect(100, 0, 101, 10)); // the overhang
        ExpectSame(*fast, *slow);
    }
}

TEST(GradientLine, FastLineGradCopiesThroughTheCanvasCopyMode)
{
    for (TDirection dir : { diHorizonal, diVertical }) {
        const TRect r = dir == diHorizonal ? Rect(0, 0, 10, 100) : Rect(0, 0, 100, 10);
        auto canvas = Filled(100, 100, 0x0F0F0F);
        canvas->Canvas().SetCopyMode(cmSrcInvert);
        FastLineGrad(canvas->Canvas(), r, kBlackWhiteBlack, 2, dir, 1);
        for (std::int32_t k = 0; k < 100; ++k) {
            TColor c = dir == diHorizonal ? canvas->Canvas().Pixels(3, k) : canvas->Canvas().Pixels(k, 3);
            ASSERT_EQ(c, ExampleRow(k) ^ 0x0F0F0F) << k;
        }
        EXPECT_EQ(canvas->Canvas().CopyMode(), cmSrcInvert);
    }
}

TEST(GradientLine, FastLineGradOntoAMonochromeBitmapFollowsTheCopyRule)
{
    // Copies into a monochrome surface keep white only where the strip has the
    // strip's background colour (white); everything else turns black.
    const std::array<TColor, 2> colors { clWhite, 0x808080 };
    TBitmap mono(4, 20);
    mono.SetMonochrome(true);
    FastLineGrad(mono.Canvas(), Rect(0, 0, 4, 20), colors, 1, diHorizonal, 1);
    for (std::int32_t y = 0; y < 20; ++y)
        EXPECT_EQ(mono.Canvas().Pixels(1, y), clWhite) << y;
    const std::array<TColor, 2> dark { 0xF0F0F0, clWhite };
    FastLineGrad(mono.Canvas(), Rect(0, 0, 4, 20), dark, 1, diHorizonal, 1);
    EXPECT_EQ(mono.Canvas().Pixels(1, 5), clBlack) << "light grey is not the background colour";
}

TEST(GradientLine, FastLineGradComputesTheStripAtTheOrigin)
{
    const std::array<TColor, 5> colors { 0x102030, 0xF0E0D0, 0x00FF00, 0x0000FF, 0xFF0000 };
    auto atOrigin = Filled(60, 90, clWhite);
    FastLineGrad(atOrigin->Canvas(), Rect(0, 0, 60, 90), colors, 4, diHorizonal, 2);
    auto shifted = Filled(100, 130, clWhite);
    FastLineGrad(shifted->Canvas(), Rect(25, 30, 85, 120), colors, 4, diHorizonal, 2);
    for (std::int32_t y = 0; y < 90; ++y)
        for (std::int32_t x = 0; x < 60; ++x)
            ASSERT_EQ(shifted->Canvas().Pixels(x + 25, y + 30), atOrigin->Canvas().Pixels(x, y)) << x << ", " << y;
    EXPECT_EQ(shifted->Canvas().Pixels(24, 50), clWhite);
    EXPECT_EQ(shifted->Canvas().Pixels(85, 50), clWhite);
    EXPECT_EQ(shifted->Canvas().Pixels(50, 120), clWhite);
}

TEST(GradientLine, FastLineGradOfAnAreaLargerThanTheCanvasShowsItsVisiblePart)
{
    const std::array<TColor, 3> colors { clBlack, 0xFF8040, clWhite };
    for (TDirection dir : { diHorizonal, diVertical }) {
        auto whole = Filled(200, 200, clRed);
        LineGradient(whole->Canvas(), Rect(0, 0, 200, 200), colors, 2, dir, 3);
        auto part = Filled(40, 40, clRed);
        // The same gradient, its area starting 70 pixels before the canvas.
        const TRect r = dir == diHorizonal ? Rect(-10, -70, 190, 130) : Rect(-70, -10, 130, 190);
        FastLineGrad(part->Canvas(), r, colors, 2, dir, 3);
        for (std::int32_t y = 0; y < 40; ++y)
            for (std::int32_t x = 0; x < 40; ++x) {
                TColor expected = dir == diHorizonal ? whole->Canvas().Pixels(0, y + 70) : whole->Canvas().Pixels(x + 70, 0);
                ASSERT_EQ(part->Canvas().Pixels(x, y), expected) << x << ", " << y;
            }
    }
}

TEST(GradientLine, SegmentBoundariesCountFromCoordinateZero)
{
    // A rectangle from y = 100: D = 50, but the first boundary lies at 50, so the
    // first band already enters the second segment (white to black, from the
    // current black) and the second the last; the colour never leaves black.
    auto canvas = Filled(4, 201, clRed);
    LineGradient(canvas->Canvas(), Rect(0, 100, 4, 200), kBlackWhiteBlack, 2, diHorizonal, 1);
    for (std::int32_t y = 100; y <= 200; ++y)
        ASSERT_EQ(canvas->Canvas().Pixels(1, y), clBlack) << y;
    EXPECT_EQ(canvas->Canvas().Pixels(1, 99), clRed);
}

TEST(GradientLine, ThickBandsStepEightTimesFurther)
{
    auto canvas = Filled(4, 110, clRed);
    LineGradient(canvas->Canvas(), Rect(0, 0, 4, 100), kBlackWhiteBlack, 2, diHorizonal, 8);
    // 40.8 per band: 0, 40.8, 81.6, 122.4, 163.2, 204, 244.8, then down again.
    const std::int32_t bands[] = { 0, 41, 82, 122, 163, 204, 245, 204, 163, 122, 82, 41, 0 };
    for (std::int32_t k = 0; k < 13; ++k)
        for (std::int32_t y = 8 * k; y < 8 * k + 8 && y < 110; ++y)
            ASSERT_EQ(canvas->Canvas().Pixels(2, y), Grey(bands[k])) << "row " << y;
}

TEST(GradientLine, CountOfOnePaintsTheFirstColour)
{
    for (TGradientStyle style : { gsLine, gsEllipse, gsRect, gsCustomRect })
        for (TDirection dir : { diHorizonal, diVertical }) {
            TGradient g;
            g.SetGradientStyle(style);
            g.SetLineDir(dir);
            g.SetColorCount(1);
            g.SetColor1(0x336699);
            auto canvas = Filled(80, 50, clRed);
            PaintGradient(canvas->Canvas(), Rect(0, 0, 80, 50), g);
            for (std::int32_t y = 0; y < 50; ++y)
                for (std::int32_t x = 0; x < 80; ++x) {
                    TColor c = canvas->Canvas().Pixels(x, y);
                    if (style == gsEllipse && c == clRed)
                        continue; // the corners outside the first ellipse
                    ASSERT_EQ(c, 0x336699) << style << " " << dir << " at " << x << ", " << y;
                }
        }
}

// ---- Concentric bands ---------------------------------------------------------

TEST(GradientConcentric, EllipsesStopAtHalfTheHeight)
{
    // 200 x 100 with N = 4: D = 25, the insets stop at 50, so only the first two
    // transitions (black to white to black) appear.
    const std::array<TColor, 5> colors { clBlack, clWhite, clBlack, clWhite, clBlack };
    auto canvas = Filled(200, 100, clRed);
    EllipseGradient(canvas->Canvas(), Rect(0, 0, 200, 100), colors, 4, 1);
    // Band k is the outermost ellipse at the top of the centre column.
    auto bandGrey = [](std::int32_t k) {
        // 10.2 per band: up for 25 bands, then down.
        std::int32_t m = k <= 24 ? k : 48 - k;
        if (m < 0)
            return 0;
        std::int32_t q = 102 * m / 10, rem = 102 * m % 10;
        if (rem > 5 || (rem == 5 && q % 2 == 1))
            ++q;
        return q;
    };
    for (std::int32_t k = 0; k < 50; ++k)
        ASSERT_EQ(canvas->Canvas().Pixels(100, k), Grey(bandGrey(k))) << "band " << k;
    EXPECT_EQ(canvas->Canvas().Pixels(100, 50), Grey(0)) << "the last ellipse fills the centre";
    EXPECT_EQ(canvas->Canvas().Pixels(0, 0), clRed) << "corners stay";
    EXPECT_EQ(canvas->Canvas().Pen().Style(), psClear) << "the pen is left clear";
}

TEST(GradientConcentric, RectanglesMoveTheirTopLeftCornerInwards)
{
    const std::array<TColor, 2> colors { clBlack, clWhite };
    auto canvas = Filled(60, 40, clRed);
    RectGradient(canvas->Canvas(), Rect(0, 0, 60, 40), colors, 1, 2);
    // N = 1: D = 30, the loop ends at y = 20 before the boundary: one colour.
    for (std::int32_t y = 0; y < 40; ++y)
        for (std::int32_t x = 0; x < 60; ++x)
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), clBlack);

    const std::array<TColor, 3> three { clBlack, clWhite, clBlue };
    auto c2 = Filled(60, 40, clRed);
    RectGradient(c2->Canvas(), Rect(0, 0, 60, 40), three, 2, 1);
    // D = 15; band k covers (k, k, 60, 40). Its top row at the right edge shows it.
    EXPECT_EQ(c2->Canvas().Pixels(59, 0), Grey(0));
    EXPECT_EQ(c2->Canvas().Pixels(59, 1), Grey(17));
    EXPECT_EQ(c2->Canvas().Pixels(0, 39), Grey(0));
    EXPECT_EQ(c2->Canvas().Pixels(1, 39), Grey(17));
    EXPECT_EQ(c2->Canvas().Pixels(59, 14), Grey(238));
    // At y = 15 the walk turns towards blue from the current colour (238, 238, 238).
    EXPECT_EQ(c2->Canvas().Pixels(59, 15), RGB(221, 221, 238));
    EXPECT_EQ(c2->Canvas().Pixels(59, 19), RGB(153, 153, 238));
    EXPECT_EQ(c2->Canvas().Pixels(40, 39), RGB(153, 153, 238)) << "the last band fills the rest";
}

TEST(GradientConcentric, RectGradientEqualsDrawingEveryBandWhole)
{
    const std::array<TColor, 5> colors { 0x203040, 0xE0C080, 0x4080F0, 0x10FF10, 0xFF00FF };
    for (std::int32_t s : { 1, 3, 8 }) {
        auto direct = Filled(90, 70, clRed);
        RectGradient(direct->Canvas(), Rect(0, 0, 90, 70), colors, 4, s);
        auto whole = Filled(90, 70, clRed);
        CustomGradient(whole->Canvas(), Rect(0, 0, 90, 70), colors, 4, s,
            [](TObject*, TCanvas& canvas, TRect rect) { canvas.FillRect(rect); });
        ExpectSame(*direct, *whole);
    }
}

TEST(GradientConcentric, CustomBandsGoToTheHandlerWithTheBrushSet)
{
    const std::array<TColor, 2> colors { clBlack, clWhite };
    auto canvas = Filled(20, 10, clRed);
    canvas->Canvas().Pen().SetStyle(psSolid);
    std::vector<TRect> rects;
    std::vector<TColor> brushes;
    CustomGradient(canvas->Canvas(), Rect(0, 0, 20, 10), colors, 1, 2, [&](TObject* sender, TCanvas& c, TRect r) {
        EXPECT_EQ(sender, nullptr);
        EXPECT_EQ(c.Pen().Style(), psClear);
        rects.push_back(r);
        brushes.push_back(c.Brush().Color());
    });
    // N = 1: D = 10, insets 0, 2, 4 (y < 5); the boundary is never reached.
    EXPECT_EQ(rects, (std::vector<TRect> { Rect(0, 0, 20, 10), Rect(2, 2, 20, 10), Rect(4, 4, 20, 10) }));
    EXPECT_EQ(brushes, (std::vector<TColor> { clBlack, clBlack, clBlack }));
    EXPECT_EQ(canvas->Canvas().Pixels(5, 5), clRed) << "only the handler draws";
}

// ---- Dispatch -------------------------------------------------------------------

TEST(GradientDispatch, RightOrBottomAtZeroDrawsNothing)
{
    TGradient g;
    for (TGradientStyle style : { gsLine, gsEllipse, gsRect, gsCustomRect }) {
        g.SetGradientStyle(style);
        auto canvas = Filled(20, 20, clRed);
        int changes = 0;
        canvas->SetOnChange([&](TObject*) { ++changes; });
        PaintGradient(canvas->Canvas(), Rect(0, 0, 0, 50), g);
        PaintGradient(canvas->Canvas(), Rect(-10, -10, 10, 0), g);
        EXPECT_EQ(changes, 0) << style;
    }
}

TEST(GradientDispatch, CustomStyleWithoutHandlerPaintsLikeRect)
{
    TGradient g;
    g.SetColorCount(4);
    g.SetLineSize(2);
    g.SetGradientStyle(gsRect);
    auto asRect = Filled(70, 50, clRed);
    PaintGradient(asRect->Canvas(), Rect(0, 0, 70, 50), g);
    g.SetGradientStyle(gsCustomRect);
    auto asCustom = Filled(70, 50, clRed);
    PaintGradient(asCustom->Canvas(), Rect(0, 0, 70, 50), g);
    ExpectSame(*asRect, *asCustom);

    int calls = 0;
    g.SetOnDrawRect([&](TObject*, TCanvas&, TRect) { ++calls; });
    PaintGradient(asCustom->Canvas(), Rect(0, 0, 70, 50), g);
    EXPECT_EQ(calls, 13) << "insets 0, 2, ..., 24 (y < 25)";
}

TEST(GradientDispatch, LineStyleGoesThroughTheStripAndPaintsExactlyTheRectangle)
{
    TGradient g;
    g.SetColor1(clBlack);
    g.SetColor2(clWhite);
    g.SetColor3(clBlack);
    g.SetColorCount(2);
    g.SetLineSize(1);
    auto canvas = Filled(10, 110, clRed);
    PaintGradient(canvas->Canvas(), Rect(0, 0, 10, 100), g);
    for (std::int32_t k = 0; k < 100; ++k)
        ASSERT_EQ(canvas->Canvas().Pixels(4, k), ExampleRow(k)) << "row " << k;
    EXPECT_EQ(canvas->Canvas().Pixels(4, 100), clRed);
    EXPECT_EQ(canvas->Canvas().Brush().Color(), clRed) << "the target's brush is not touched";
}

// ---- Guards -----------------------------------------------------------------------

TEST(GradientGuards, LineSizeBelowOneCountsAsOneInEveryPainter)
{
    const std::array<TColor, 3> colors { clBlack, 0x80FF40, clWhite };
    using Painter = void (*)(TCanvas&, const TRect&, std::span<const TColor>, std::int32_t, std::int32_t);
    const Painter painters[] = {
        [](TCanvas& c, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { LineGradient(c, r, l, n, diHorizonal, s); },
        [](TCanvas& c, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { FastLineGrad(c, r, l, n, diVertical, s); },
        [](TCanvas& c, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { EllipseGradient(c, r, l, n, s); },
        [](TCanvas& c, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RectGradient(c, r, l, n, s); },
    };
    for (std::size_t i = 0; i < std::size(painters); ++i) {
        auto one = Filled(40, 30, clRed);
        painters[i](one->Canvas(), Rect(0, 0, 40, 30), colors, 2, 1);
        for (std::int32_t s : { 0, -5 }) {
            auto guarded = Filled(40, 30, clRed);
            painters[i](guarded->Canvas(), Rect(0, 0, 40, 30), colors, 2, s);
            ExpectSame(*one, *guarded);
        }
    }
}

TEST(GradientGuards, CountBelowOneCountsAsThreeAndBeyondTheListAsItsLastIndex)
{
    const std::array<TColor, 5> colors { clBlack, clWhite, clBlue, clLime, clYellow };
    for (TGradientStyle style : { gsLine, gsEllipse, gsRect }) {
        TGradient g;
        g.SetGradientStyle(style);
        g.SetColor1(colors[0]);
        g.SetColor2(colors[1]);
        g.SetColor3(colors[2]);
        g.SetColor4(colors[3]);
        g.SetColor5(colors[4]);
        g.SetLineSize(1);
        auto paint = [&](TColorCount n) {
            g.SetColorCount(n);
            auto b = Filled(60, 60, clRed);
            PaintGradient(b->Canvas(), Rect(0, 0, 60, 60), g);
            return b;
        };
        auto three = paint(3);
        auto zero = paint(0);
        ExpectSame(*three, *zero);
        auto four = paint(4);
        for (TColorCount n : { 5, 9, 255 }) {
            auto beyond = paint(n);
            ExpectSame(*four, *beyond);
            EXPECT_EQ(g.ColorCount(), n) << "the stored value is kept";
        }
    }
    // A short list clamps too, and a list of one colour paints that colour.
    const std::array<TColor, 1> single { 0x445566 };
    auto b = Filled(10, 10, clRed);
    LineGradient(b->Canvas(), Rect(0, 0, 10, 10), single, 3, diHorizonal, 1);
    EXPECT_EQ(b->Canvas().Pixels(5, 9), 0x445566);
    RectGradient(b->Canvas(), Rect(0, 0, 10, 10), std::span<const TColor>(single), 0, 1);
    EXPECT_EQ(b->Canvas().Pixels(5, 5), 0x445566);
}

TEST(GradientGuards, ZeroSegmentLengthPaintsWithoutChangingColour)
{
    const std::array<TColor, 5> colors { 0x112233, clWhite, clBlue, clLime, clYellow };
    auto line = Filled(10, 10, clRed);
    LineGradient(line->Canvas(), Rect(0, 0, 10, 3), colors, 4, diHorizonal, 1); // D = 3 div 4 = 0
    for (std::int32_t y = 0; y <= 3; ++y)
        EXPECT_EQ(line->Canvas().Pixels(0, y), 0x112233) << y;
    auto strip = Filled(10, 10, clRed);
    FastLineGrad(strip->Canvas(), Rect(0, 0, 3, 10), colors, 4, diVertical, 1);
    EXPECT_EQ(strip->Canvas().Pixels(2, 9), 0x112233);
    for (auto painter : { &EllipseGradient, &RectGradient }) {
        auto small = Filled(8, 8, clRed);
        painter(small->Canvas(), Rect(0, 0, 7, 7), colors, 4, 1); // D = (7 div 4) div 2 = 0
        EXPECT_EQ(small->Canvas().Pixels(3, 3), 0x112233);
    }
}

TEST(GradientGuards, EmptyListDrawsNothing)
{
    auto canvas = Filled(10, 10, clRed);
    int changes = 0;
    canvas->SetOnChange([&](TObject*) { ++changes; });
    LineGradient(canvas->Canvas(), Rect(0, 0, 10, 10), {}, 2, diHorizonal, 1);
    FastLineGrad(canvas->Canvas(), Rect(0, 0, 10, 10), {}, 2, diHorizonal, 1);
    EllipseGradient(canvas->Canvas(), Rect(0, 0, 10, 10), {}, 2, 1);
    RectGradient(canvas->Canvas(), Rect(0, 0, 10, 10), {}, 2, 1);
    CustomGradient(canvas->Canvas(), Rect(0, 0, 10, 10), {}, 2, 1, [](TObject*, TCanvas&, TRect) { FAIL(); });
    EXPECT_EQ(changes, 0);
}

TEST(GradientGuards, AreasFarLargerThanTheCanvasFinish)
{
    const std::array<TColor, 3> colors { clBlack, clWhite, clBlue };
    auto canvas = Filled(30, 20, clRed);
    const TRect huge = Rect(0, 0, 2000000000, 2000000000);
    LineGradient(canvas->Canvas(), huge, colors, 2, diHorizonal, 1);
    LineGradient(canvas->Canvas(), huge, colors, 2, diVertical, 1);
    FastLineGrad(canvas->Canvas(), huge, colors, 2, diHorizonal, 1);
    EllipseGradient(canvas->Canvas(), huge, colors, 2, 1);
    RectGradient(canvas->Canvas(), huge, colors, 2, 1);
    EXPECT_EQ(canvas->Canvas().Pixels(29, 19), clBlack);
    // Centred far around the canvas: the walk reaches white (0.0051 per band over
    // 100,000 bands, clamped) before the bands come near the canvas.
    const TRect around = Rect(-100000000, -100000000, 100000000, 100000000);
    auto ellipse = Filled(30, 20, clRed);
    EllipseGradient(ellipse->Canvas(), around, colors, 2, 1000);
    EXPECT_EQ(ellipse->Canvas().Pixels(29, 19), clWhite);
    auto rect = Filled(30, 20, clRed);
    RectGradient(rect->Canvas(), around, colors, 2, 1000);
    EXPECT_EQ(rect->Canvas().Pixels(0, 0), clWhite);
}

// ---- Form files -------------------------------------------------------------------

namespace {

// A component that owns a gradient as a published sub-object, as the gradient
// components do.
class TGradientHolder : public TComponent {
public:
    explicit TGradientHolder(TComponent* owner)
        : TComponent(owner)
    {
    }
    [[nodiscard]] TGradient* Gradient() noexcept { return &m_gradient; }
    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<TGradientHolder>("TGradientHolder", &TComponent::StaticClassInfo())
            .Object("Gradient", "TGradient", &TGradientHolder::Gradient)
            .Build();
        return info;
    }

private:
    TGradient m_gradient;
};

} // namespace

TEST(GradientFormFile, AFreshGradientWritesAllNineDataProperties)
{
    TGradientHolder holder(nullptr);
    holder.SetName("Holder1");
    const std::string text = WriteComponentText(holder);
    const std::string expected = "object Holder1: TGradientHolder\n"
                                 "  Gradient.GradientStyle = gsLine\n"
                                 "  Gradient.LineSize = 3\n"
                                 "  Gradient.Color1 = clGray\n"
                                 "  Gradient.Color2 = clWhite\n"
                                 "  Gradient.Color3 = clSilver\n"
                                 "  Gradient.Color4 = clWhite\n"
                                 "  Gradient.Color5 = clBlack\n"
                                 "  Gradient.ColorCount = 3\n"
                                 "  Gradient.LineDirection = diHorizonal\n"
                                 "end\n";
    EXPECT_EQ(text, expected);
}

TEST(GradientFormFile, WrittenValuesReadBack)
{
    TGradientHolder source(nullptr);
    source.SetName("Holder1");
    TGradient& g = *source.Gradient();
    g.SetGradientStyle(gsCustomRect);
    g.SetLineSize(8);
    g.SetColor1(0x123456);
    g.SetColor5(clRed);
    g.SetColorCount(4);
    g.SetLineDir(diVertical);
    TGradientHolder target(nullptr);
    int changes = 0;
    target.Gradient()->SetOnChange([&](TObject*) { ++changes; });
    ReadComponentText(WriteComponentText(source), target);
    const TGradient& r = *target.Gradient();
    EXPECT_EQ(r.GradientStyle(), gsCustomRect);
    EXPECT_EQ(r.LineSize(), 8);
    EXPECT_EQ(r.Color1(), 0x123456);
    EXPECT_EQ(r.Color5(), clRed);
    EXPECT_EQ(r.ColorCount(), 4);
    EXPECT_EQ(r.LineDirection(), diVertical);
    EXPECT_GT(changes, 0) << "the owner hears of the values read";
}

// ---- The stated band engine, as reference ------------------------------------------

namespace {

// The band engine exactly as described, drawing every band whole, in order,
// through the canvas: the fast painters must give the same pixels.
class RefWalk {
public:
    RefWalk(std::span<const TColor> colors, std::int32_t count, std::int64_t segment, std::int64_t lineSize)
        : m_colors(colors.begin(), colors.end())
        , m_count(count)
        , m_segment(segment)
        , m_boundary(segment)
        , m_lineSize(lineSize)
        , m_start(At(0))
        , m_target(count > 1 ? At(1) : At(0))
    {
        m_r = GetRValue(m_start);
        m_g = GetGValue(m_start);
        m_b = GetBValue(m_start);
        Update();
    }
    [[nodiscard]] TColor Current() const
    {
        return ERGB(static_cast<float>(m_r), static_cast<float>(m_g), static_cast<float>(m_b));
    }
    // After a band, with the next band's position.
    void Next(std::int64_t position)
    {
        if (position >= m_boundary) {
            m_boundary += m_segment;
            m_index = std::min(m_index + 1, m_count);
            m_start = m_target;
            m_target = At(m_index);
            Update();
        }
        m_r += m_dr;
        m_g += m_dg;
        m_b += m_db;
    }

private:
    [[nodiscard]] TColor At(std::int32_t i) const { return m_colors[std::min<std::size_t>(static_cast<std::size_t>(i), m_colors.size() - 1)]; }
    void Update()
    {
        if (m_segment == 0) {
            m_dr = m_dg = m_db = 0;
            return;
        }
        const double d = static_cast<double>(m_segment), s = static_cast<double>(m_lineSize);
        m_dr = (GetRValue(m_target) - GetRValue(m_start)) / d * s;
        m_dg = (GetGValue(m_target) - GetGValue(m_start)) / d * s;
        m_db = (GetBValue(m_target) - GetBValue(m_start)) / d * s;
    }

    std::vector<TColor> m_colors;
    std::int32_t m_count;
    std::int64_t m_segment, m_boundary, m_lineSize;
    std::int32_t m_index { 1 };
    TColor m_start, m_target;
    double m_r { 0 }, m_g { 0 }, m_b { 0 }, m_dr { 0 }, m_dg { 0 }, m_db { 0 };
};

struct RefSetup {
    std::int32_t count;
    std::int32_t lineSize;
};

std::optional<RefSetup> RefGuards(const TRect& r, std::span<const TColor> colors, std::int32_t count, std::int32_t lineSize)
{
    if (r.Right == 0 || r.Bottom == 0 || colors.empty())
        return std::nullopt;
    RefSetup s { count < 1 ? 3 : count, std::max(lineSize, 1) };
    s.count = std::min<std::int32_t>(s.count, std::max<std::int32_t>(static_cast<std::int32_t>(colors.size()) - 1, 1));
    return s;
}

void RefLine(TCanvas& canvas, const TRect& r, std::span<const TColor> colors, std::int32_t count, TDirection dir, std::int32_t lineSize)
{
    const auto s = RefGuards(r, colors, count, lineSize);
    if (!s)
        return;
    const bool h = dir == diHorizonal;
    const std::int64_t first = h ? r.Top : r.Left, end = h ? r.Bottom : r.Right;
    RefWalk walk(colors, s->count, (end - first) / s->count, s->lineSize);
    for (std::int64_t p = first; p <= end;) {
        canvas.Brush().SetColor(walk.Current());
        const auto a = static_cast<std::int32_t>(p), b = static_cast<std::int32_t>(p + s->lineSize);
        canvas.FillRect(h ? Rect(r.Left, a, r.Right, b) : Rect(a, r.Top, b, r.Bottom));
        p += s->lineSize;
        walk.Next(p);
    }
}

enum class Figure { Ellipse, Rect };

void RefConcentric(TCanvas& canvas, const TRect& r, std::span<const TColor> colors, std::int32_t count, std::int32_t lineSize, Figure figure)
{
    const auto s = RefGuards(r, colors, count, lineSize);
    if (!s)
        return;
    if (figure == Figure::Ellipse) {
        canvas.Pen().SetWidth(0);
        canvas.Pen().SetStyle(psClear);
    }
    const std::int64_t extent = std::max<std::int64_t>(std::int64_t { r.Right } - r.Left, std::int64_t { r.Bottom } - r.Top);
    RefWalk walk(colors, s->count, extent / s->count / 2, s->lineSize);
    for (std::int64_t x = r.Left, y = r.Top; x < r.Right / 2 && y < r.Bottom / 2;) {
        canvas.Brush().SetColor(walk.Current());
        const auto xi = static_cast<std::int32_t>(x), yi = static_cast<std::int32_t>(y);
        if (figure == Figure::Ellipse)
            canvas.Ellipse(xi, yi, r.Right - xi, r.Bottom - yi);
        else
            canvas.FillRect(Rect(xi, yi, r.Right, r.Bottom));
        x += s->lineSize;
        y += s->lineSize;
        walk.Next(y);
    }
}

// The strip of the bands at the origin, tiled over the rectangle.
void RefFastLine(TCanvas& canvas, const TRect& r, std::span<const TColor> colors, std::int32_t count, TDirection dir, std::int32_t lineSize)
{
    if (r.Right == 0 || r.Bottom == 0 || colors.empty() || Intersect(r, canvas.ClipRect()).IsEmpty())
        return;
    TBitmap strip;
    if (dir == diVertical)
        strip.SetSize(r.Right - r.Left, 8);
    else
        strip.SetSize(8, r.Bottom - r.Top);
    RefLine(strip.Canvas(), Rect(0, 0, strip.Width(), strip.Height()), colors, count, dir, lineSize);
    MultiPaint(canvas, strip, r);
}

// A picture on a surface: a bitmap of some format, seen through a canvas of its
// own whose origin and clip may differ from the bitmap's.
struct Surface {
    std::unique_ptr<TBitmap> bitmap;
    TCanvas canvas;
};

std::unique_ptr<Surface> MakeSurface(std::int32_t w, std::int32_t h, TPixelFormat format, TPoint origin, TRect clip, std::uint32_t seed)
{
    auto s = std::make_unique<Surface>();
    s->bitmap = std::make_unique<TBitmap>(w, h);
    s->bitmap->SetPixelFormat(format);
    Raster& image = s->bitmap->Image();
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            image.SetColor(x, y, static_cast<TColor>((seed * 2654435761u + static_cast<std::uint32_t>(x * 7 + y * 131)) & 0xFFFFFF));
    s->canvas.SetSurface(&image, origin, clip);
    return s;
}

void ExpectSameWords(const TBitmap& a, const TBitmap& b, const std::string& what)
{
    ASSERT_EQ(a.Width(), b.Width()) << what;
    ASSERT_EQ(a.Height(), b.Height()) << what;
    for (std::int32_t y = 0; y < a.Height(); ++y)
        for (std::int32_t x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.Image().Row(y)[x], b.Image().Row(y)[x]) << what << " at " << x << ", " << y;
}

// One random case: canvas, rectangle, colours and band settings.
struct Case {
    std::int32_t w, h;
    TPixelFormat format;
    TPoint origin;
    TRect clip;
    TRect rect;
    std::vector<TColor> colors;
    std::int32_t count, lineSize;
    TPenMode penMode;
    TBrushStyle brushStyle;

    [[nodiscard]] std::string Describe() const
    {
        return "canvas " + std::to_string(w) + "x" + std::to_string(h) + " format " + std::to_string(format) + " origin "
            + std::to_string(origin.X) + "," + std::to_string(origin.Y) + " rect " + std::to_string(rect.Left) + ","
            + std::to_string(rect.Top) + "," + std::to_string(rect.Right) + "," + std::to_string(rect.Bottom) + " colours "
            + std::to_string(colors.size()) + " count " + std::to_string(count) + " line " + std::to_string(lineSize)
            + " pen mode " + std::to_string(penMode) + " brush " + std::to_string(brushStyle);
    }
};

Case RandomCase(std::mt19937& rng, std::int32_t span)
{
    auto pick = [&](std::int32_t lo, std::int32_t hi) { return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng); };
    static const std::int32_t kSides[] = { 0, 1, 2, 3, 7, 16, 33, 64 };
    static const TPixelFormat kFormats[] = { pfDevice, pf24bit, pf8bit, pf15bit, pf1bit };
    Case c;
    c.w = kSides[pick(0, 7)];
    c.h = kSides[pick(0, 7)];
    c.format = pick(0, 3) == 0 ? kFormats[pick(1, 4)] : pfDevice;
    c.origin = pick(0, 2) == 0 ? Point(pick(-5, 5), pick(-5, 5)) : Point(0, 0);
    c.clip = pick(0, 2) == 0 ? Rect(pick(0, 8), pick(0, 8), pick(0, 70), pick(0, 70)) : Rect(0, 0, c.w, c.h);
    const std::int32_t l = pick(-span, span / 2), t = pick(-span, span / 2);
    c.rect = Rect(l, t, l + pick(-3, span + 40), t + pick(-3, span + 40));
    if (pick(0, 9) == 0)
        c.rect.Right = 0;
    c.colors.resize(static_cast<std::size_t>(pick(1, 5)));
    for (auto& color : c.colors)
        color = static_cast<TColor>(std::uniform_int_distribution<std::uint32_t>(0, 0xFFFFFF)(rng));
    c.count = pick(-1, 6);
    c.lineSize = pick(-2, 9);
    c.penMode = pick(0, 5) == 0 ? pmXor : pmCopy;
    c.brushStyle = pick(0, 7) == 0 ? bsDiagCross : bsSolid;
    return c;
}

using Painter = std::function<void(TCanvas&, const TRect&, std::span<const TColor>, std::int32_t, std::int32_t)>;

// Paints a case with both painters, onto equal surfaces with equal tools, and
// compares every word and the brush and pen left behind.
void Compare(const Case& c, const Painter& subject, const Painter& reference, std::uint32_t seed)
{
    auto a = MakeSurface(c.w, c.h, c.format, c.origin, c.clip, seed);
    auto b = MakeSurface(c.w, c.h, c.format, c.origin, c.clip, seed);
    for (TCanvas* canvas : { &a->canvas, &b->canvas }) {
        canvas->Pen().SetMode(c.penMode);
        canvas->Brush().SetStyle(c.brushStyle);
        canvas->Brush().SetColor(0x123456);
    }
    subject(a->canvas, c.rect, c.colors, c.count, c.lineSize);
    reference(b->canvas, c.rect, c.colors, c.count, c.lineSize);
    ExpectSameWords(*a->bitmap, *b->bitmap, c.Describe());
    EXPECT_EQ(a->canvas.Brush().Color(), b->canvas.Brush().Color()) << c.Describe();
    EXPECT_EQ(a->canvas.Pen().Style(), b->canvas.Pen().Style()) << c.Describe();
}

} // namespace

TEST(GradientReference, EllipsesEqualEveryBandDrawnWhole)
{
    std::mt19937 rng(2201);
    for (std::uint32_t i = 0; i < 400; ++i) {
        const Case c = RandomCase(rng, 60);
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { EllipseGradient(cv, r, l, n, s); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RefConcentric(cv, r, l, n, s, Figure::Ellipse); }, i);
        if (HasFailure())
            return;
    }
}

TEST(GradientReference, RectanglesEqualEveryBandDrawnWhole)
{
    std::mt19937 rng(2202);
    for (std::uint32_t i = 0; i < 400; ++i) {
        const Case c = RandomCase(rng, 60);
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RectGradient(cv, r, l, n, s); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RefConcentric(cv, r, l, n, s, Figure::Rect); }, i);
        if (HasFailure())
            return;
    }
}

TEST(GradientReference, LinesAndStripsEqualTheStatedBands)
{
    std::mt19937 rng(2203);
    for (std::uint32_t i = 0; i < 400; ++i) {
        Case c = RandomCase(rng, 60);
        const TDirection dir = i % 2 ? diVertical : diHorizonal;
        const TCopyMode mode = i % 7 == 3 ? cmSrcInvert : cmSrcCopy;
        Compare(c, [&](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { LineGradient(cv, r, l, n, dir, s); },
            [&](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RefLine(cv, r, l, n, dir, s); }, i);
        Compare(c,
            [&](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) {
                cv.SetCopyMode(mode);
                FastLineGrad(cv, r, l, n, dir, s);
            },
            [&](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) {
                cv.SetCopyMode(mode);
                RefFastLine(cv, r, l, n, dir, s);
            }, i);
        if (HasFailure())
            return;
    }
}

TEST(GradientReference, LargeFramesEqualTheReference)
{
    // Large enough for the ellipses to be painted in row bands on several threads.
    const std::array<TColor, 5> colors { 0x808080, 0xFFFFFF, 0xC0C0C0, 0x2050F0, 0x000000 };
    for (std::int32_t s : { 1, 3 }) {
        Case c { 641, 421, pfDevice, Point(0, 0), Rect(0, 0, 641, 421), Rect(0, 0, 641, 421), { colors.begin(), colors.end() }, 4, s, pmCopy, bsSolid };
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t ls) { EllipseGradient(cv, r, l, n, ls); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t ls) { RefConcentric(cv, r, l, n, ls, Figure::Ellipse); }, 1);
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t ls) { RectGradient(cv, r, l, n, ls); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t ls) { RefConcentric(cv, r, l, n, ls, Figure::Rect); }, 2);
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t ls) { FastLineGrad(cv, r, l, n, diVertical, ls); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t ls) { RefFastLine(cv, r, l, n, diVertical, ls); }, 3);
    }
}

TEST(GradientReference, AreasStartingFarBeforeTheCanvasEqualTheReference)
{
    // Thousands of bands lie before the canvas; the painters jump over them.
    std::mt19937 rng(2204);
    for (std::uint32_t i = 0; i < 9; ++i) {
        Case c = RandomCase(rng, 10);
        c.w = c.h = 48;
        c.clip = Rect(0, 0, 48, 48);
        c.origin = Point(0, 0);
        const std::int32_t far = 3000 + 997 * static_cast<std::int32_t>(i);
        c.rect = i % 3 == 0 ? Rect(-far, -far, 48, 48) : i % 3 == 1 ? Rect(-far, -far / 2, 40 + static_cast<std::int32_t>(i), 90) : Rect(-far, -far, far, far);
        c.lineSize = 1 + static_cast<std::int32_t>(i % 3);
        c.penMode = pmCopy;
        c.brushStyle = bsSolid;
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { EllipseGradient(cv, r, l, n, s); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RefConcentric(cv, r, l, n, s, Figure::Ellipse); }, i);
        Compare(c, [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RectGradient(cv, r, l, n, s); },
            [](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RefConcentric(cv, r, l, n, s, Figure::Rect); }, i);
        for (TDirection dir : { diHorizonal, diVertical })
            Compare(c, [&](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { FastLineGrad(cv, r, l, n, dir, s); },
                [&](TCanvas& cv, const TRect& r, std::span<const TColor> l, std::int32_t n, std::int32_t s) { RefFastLine(cv, r, l, n, dir, s); }, i);
        if (HasFailure())
            return;
    }
}

TEST(GradientReference, RectanglesMillionsOfBandsAwayKeepTheirColours)
{
    // 2^24 bands before the canvas: the reference walks every one of them and
    // gives each pixel the band min(column band, row band).
    const std::array<TColor, 5> colors { 0x102030, 0xF0E0D0, 0x0080FF, 0x33CC11, 0x000000 };
    const std::int32_t far = 1 << 24;
    const TRect r = Rect(-far, -far, 32, 40);
    auto canvas = Filled(32, 32, clRed);
    RectGradient(canvas->Canvas(), r, colors, 4, 1);
    const std::int64_t bands = std::min<std::int64_t>(far + 16, far + 20); // x < 16, y < 20
    RefWalk walk(colors, 4, (std::int64_t { 40 } + far) / 4 / 2, 1);
    std::vector<TColor> tail;
    for (std::int64_t k = 0; k < bands; ++k) {
        if (k >= far)
            tail.push_back(walk.Current());
        walk.Next(-far + k + 1);
    }
    for (std::int32_t y = 0; y < 32; ++y)
        for (std::int32_t x = 0; x < 32; ++x) {
            const std::int64_t band = std::min<std::int64_t>({ far + x, far + y, bands - 1 });
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), tail[static_cast<std::size_t>(band - far)]) << x << ", " << y;
        }
    EXPECT_EQ(canvas->Canvas().Brush().Color(), tail.back()) << "the brush keeps the last band's colour";
}

// ---- The colour walk ---------------------------------------------------------------

TEST(GradientWalk, RepeatedAdditionsInOneGoEqualTheLoop)
{
    std::mt19937_64 rng(2205);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto loop = [](double v, double step, std::uint64_t n) {
        for (std::uint64_t i = 0; i < n; ++i)
            v += step;
        return v;
    };
    auto same = [](double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); };
    struct Start {
        double value, step;
    };
    std::vector<Start> starts {
        { 0, 0.1 }, { 255, -0.1 }, { 0x1p52 + 1, 0.5 }, { 0x1p52, 0.5 }, { 0x1p52 + 1, -0.5 }, { 1.0, 0x1p-53 },
        { 1.0, 0x1p-52 * 1.5 }, { 1.0, -0x1p-53 }, { 3.0, -1.0 }, { -5.5, 0.25 }, { 0.001, -0.0001 }, { 1e-300, 1e-301 },
        { 4.9e-324, 4.9e-324 }, { 1e308, 1e307 }, { -0.0, 0.0 }, { 7, 0 }, { 2, 0x1p-60 }, { 128, 2.55 / 3 },
    };
    for (int i = 0; i < 600; ++i) {
        const double magnitude = std::ldexp(1.0, static_cast<int>(real(-40, 9)));
        starts.push_back({ real(-300, 300), real(-1, 1) * magnitude });
    }
    for (const Start& s : starts)
        for (std::uint64_t n : { 0ull, 1ull, 2ull, 3ull, 17ull, 1000ull, 20001ull }) {
            const double expected = loop(s.value, s.step, n);
            const double actual = detail::AddRepeatedly(s.value, s.step, n);
            ASSERT_TRUE(same(expected, actual) || (std::isnan(expected) && std::isnan(actual)))
                << std::hexfloat << s.value << " + " << s.step << " x " << n << ": " << actual << " instead of " << expected;
        }
}

TEST(GradientWalk, AdvancingManyBandsEqualsOneByOne)
{
    std::mt19937 rng(2206);
    auto pick = [&](std::int64_t lo, std::int64_t hi) { return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng); };
    for (int i = 0; i < 150; ++i) {
        std::vector<TColor> colors(static_cast<std::size_t>(pick(1, 6)));
        for (auto& c : colors)
            c = static_cast<TColor>(pick(0, 0xFFFFFF));
        const auto count = static_cast<std::int32_t>(pick(1, 5));
        const std::int64_t segments[] = { 0, 1, 2, 3, 7, 50, 997, -5, pick(1, 100000) };
        const std::int64_t segment = segments[pick(0, 8)];
        const std::int64_t lineSize = pick(1, 9);
        const std::int64_t first = pick(-300000, 300000);
        detail::BandWalk stepped(colors, count, segment, lineSize, first);
        detail::BandWalk jumped = stepped;
        for (int leg = 0; leg < 4; ++leg) {
            const std::int64_t n = pick(0, 20000);
            for (std::int64_t k = 0; k < n; ++k)
                stepped.Next();
            jumped.Advance(static_cast<std::uint64_t>(n));
            ASSERT_EQ(jumped.Current(), stepped.Current()) << "case " << i << " leg " << leg;
            ASSERT_EQ(jumped.Position(), stepped.Position());
        }
    }
}

// ---- Handlers that change what they paint --------------------------------------------

TEST(GradientEvents, ABandHandlerMayReplaceOrClearItselfWhilePainting)
{
    auto g = std::make_unique<TGradient>();
    g->SetGradientStyle(gsCustomRect);
    g->SetLineSize(2);
    g->SetColorCount(1);
    int first = 0, second = 0;
    g->SetOnDrawRect([&](TObject*, TCanvas& c, TRect r) {
        ++first;
        g->SetOnDrawRect([&](TObject*, TCanvas&, TRect) { ++second; });
        c.FillRect(r);
    });
    auto canvas = Filled(20, 10, clRed);
    PaintGradient(canvas->Canvas(), Rect(0, 0, 20, 10), *g);
    EXPECT_EQ(first, 3) << "the paint goes on with the handler it started with";
    EXPECT_EQ(second, 0);
    EXPECT_EQ(canvas->Canvas().Pixels(5, 5), g->Color1());
    PaintGradient(canvas->Canvas(), Rect(0, 0, 20, 10), *g);
    EXPECT_EQ(second, 3);

    int cleared = 0;
    g->SetOnDrawRect([&](TObject*, TCanvas&, TRect) {
        ++cleared;
        g->SetOnDrawRect(nullptr);
    });
    PaintGradient(canvas->Canvas(), Rect(0, 0, 20, 10), *g);
    EXPECT_EQ(cleared, 3);
    EXPECT_FALSE(g->OnDrawRect());
}

TEST(GradientEvents, ABandHandlerMayFreeTheGradient)
{
    auto g = std::make_unique<TGradient>();
    g->SetGradientStyle(gsCustomRect);
    g->SetLineSize(2);
    int bands = 0;
    const std::string tag = "a handler with state enough to live on the heap";
    g->SetOnDrawRect([&, tag](TObject*, TCanvas& c, TRect r) {
        g.reset();
        bands += tag.empty() ? 0 : 1; // the handler's own state, after the free
        c.FillRect(r);
    });
    auto canvas = Filled(20, 10, clRed);
    PaintGradient(canvas->Canvas(), Rect(0, 0, 20, 10), *g);
    EXPECT_EQ(bands, 3);
    EXPECT_EQ(g, nullptr);
}

TEST(GradientEvents, OnChangeMayReplaceItselfOrFreeTheGradient)
{
    // The handlers carry state of their own (held on the heap by the event), and
    // use it after replacing themselves or freeing the gradient.
    const std::string tag = "a handler with state enough to live on the heap";
    auto g = std::make_unique<TGradient>();
    std::size_t first = 0, second = 0;
    g->SetOnChange([&, tag](TObject*) {
        g->SetOnChange([&](TObject*) { ++second; });
        first += tag.size();
    });
    g->SetColor1(0x010203);
    EXPECT_EQ(first, tag.size());
    EXPECT_EQ(second, 0u);
    g->SetColor1(0x040506);
    EXPECT_EQ(second, 1u);

    std::size_t freed = 0;
    g->SetOnChange([&, tag](TObject*) {
        g.reset();
        freed += tag.size();
    });
    g->SetColor2(0x111111);
    EXPECT_EQ(g, nullptr);
    EXPECT_EQ(freed, tag.size());

    auto source = std::make_unique<TGradient>();
    g = std::make_unique<TGradient>();
    g->SetOnChange([&, tag](TObject*) {
        g.reset();
        freed += tag.size();
    });
    g->Assign(source.get());
    EXPECT_EQ(g, nullptr);
    EXPECT_EQ(freed, 2 * tag.size());
}
