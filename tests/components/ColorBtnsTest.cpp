#include "components/ClrPanel.h"
#include "components/ColorBtns.h"

#include "color/ColorMan.h"
#include "color/host/DrawText.h"
#include "color/host/SysColors.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"
#include "utils/WaveOut.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

using namespace plx;

namespace {

constexpr TColor kFace = 0x336699;
constexpr TColor kSentinel = 0x0A0B0C;

// The face of a 75 x 25 button drawn on a bitmap that held kSentinel.
struct FacePicture {
    explicit FacePicture(TClr95ButtonStyle style, bool down = false, bool over = false, TColor color = kFace)
        : bitmap(test::Filled(75, 25, kSentinel))
    {
        content = DrawButtonFace(bitmap->Canvas(), Rect(0, 0, 75, 25), style, false, down, over, color);
    }
    [[nodiscard]] TColor At(std::int32_t x, std::int32_t y) const { return bitmap->Image().GetColor(x, y); }

    std::unique_ptr<TBitmap> bitmap;
    TRect content;
};

// A glyph of n 16 x 16 cells on olive, each with an 8 x 8 square of its colour in the middle.
std::unique_ptr<TBitmap> Glyph(std::initializer_list<TColor> cells)
{
    auto b = test::Filled(16 * static_cast<std::int32_t>(cells.size()), 16, clOlive);
    std::int32_t x = 0;
    for (TColor c : cells) {
        b->Canvas().Brush().SetColor(c);
        b->Canvas().FillRect(Bounds(x + 4, 4, 8, 8));
        x += 16;
    }
    return b;
}

TColor95Button* AddButton(TForm& form, const TRect& bounds)
{
    auto* b = new TColor95Button(&form);
    b->SetParent(&form);
    b->SetBoundsRect(bounds);
    b->SetColor(kFace);
    return b;
}

// A shown form with buttons, driven by injected mouse input.
class ColorButtonTest : public test::FormTest {
protected:
    TColor95Button* Add(const TRect& bounds) { return AddButton(Form(), bounds); }
    void Press(TPoint client)
    {
        test::Headless().MouseMove(Screen(client));
        test::Headless().MouseDown(Screen(client));
        Application().ProcessMessages();
    }
    void Move(TPoint client)
    {
        test::Headless().MouseMove(Screen(client));
        Application().ProcessMessages();
    }
    void Release(TPoint client)
    {
        test::Headless().MouseUp(Screen(client));
        Application().ProcessMessages();
    }
    //! The colour of a point of a control, from a fresh picture of the form.
    TColor PixelOf(const TControl& c, std::int32_t x, std::int32_t y)
    {
        return test::Picture(Form())->Image().GetColor(c.Left() + x, c.Top() + y);
    }
};

} // namespace

// ---- DrawButtonFace -----------------------------------------------------------

TEST(DrawButtonFace, ContentRectanglesOfAStandardButton)
{
    EXPECT_EQ(FacePicture(bsNew).content, Rect(2, 2, 73, 23));
    EXPECT_EQ(FacePicture(bsNew, true).content, Rect(3, 3, 72, 22)) << "pressed: smaller, not offset";
    EXPECT_EQ(FacePicture(bsWin31).content, Rect(3, 3, 72, 22));
    EXPECT_EQ(FacePicture(bsMicroposeGame).content, Rect(4, 4, 70, 20)) << "its corners move in";
    EXPECT_EQ(FacePicture(bsIE4).content, Rect(1, 1, 74, 24));
    EXPECT_EQ(FacePicture(bsGlass, true).content, Rect(4, 4, 71, 21));
    EXPECT_EQ(FacePicture(static_cast<TClr95ButtonStyle>(42)).content, Rect(2, 2, 73, 23));
    EXPECT_EQ(test::CountColor(*FacePicture(static_cast<TClr95ButtonStyle>(42)).bitmap, Rect(0, 0, 75, 25), kSentinel), 75 * 25)
        << "an unknown style draws nothing";
}

TEST(DrawButtonFace, NewStyleEdgesAreShadesOfTheColour)
{
    const FacePicture up(bsNew);
    EXPECT_EQ(up.At(0, 0), BrightenColor(kFace, 12));
    EXPECT_EQ(up.At(74, 10), DarkenColor(kFace, 100));
    EXPECT_EQ(up.At(1, 1), BrightenColor(kFace, 60));
    EXPECT_EQ(up.At(73, 23), DarkenColor(kFace, 48));
    EXPECT_EQ(up.At(30, 12), kFace);
    const FacePicture down(bsNew, true);
    EXPECT_EQ(down.At(0, 0), DarkenColor(kFace, 96));
    EXPECT_EQ(down.At(74, 24), BrightenColor(kFace, 64));
    EXPECT_EQ(down.At(1, 1), DarkenColor(kFace, 48));
    const FacePicture system(bsNew, false, false, clBtnFace);
    EXPECT_EQ(system.At(30, 12), ColorToRGB(clBtnFace)) << "system colours are resolved";
}

TEST(DrawButtonFace, Win31HasRoundedCornersAndAPressedShadowOverItsFrame)
{
    const FacePicture up(bsWin31);
    EXPECT_EQ(up.At(0, 0), kFace);
    EXPECT_EQ(up.At(74, 24), kFace);
    EXPECT_EQ(up.At(1, 0), DarkenColor(kFace, 126));
    EXPECT_EQ(up.At(2, 2), BrightenColor(kFace, 48)) << "a two-pixel bevel";
    EXPECT_EQ(up.At(72, 22), DarkenColor(kFace, 48));
    const FacePicture down(bsWin31, true);
    EXPECT_EQ(down.At(5, 0), DarkenColor(kFace, 48));
    EXPECT_EQ(down.At(0, 5), DarkenColor(kFace, 48));
    EXPECT_EQ(down.At(2, 2), kFace);
}

TEST(DrawButtonFace, IE4ShowsAnEdgeOnlyWhenPressedHoveredOrDesigned)
{
    EXPECT_EQ(test::CountColor(*FacePicture(bsIE4).bitmap, Rect(0, 0, 75, 25), kSentinel), 75 * 25);
    EXPECT_EQ(FacePicture(bsIE4, false, true).At(0, 0), BrightenColor(kFace, 60));
    EXPECT_EQ(FacePicture(bsIE4, true).At(74, 24), BrightenColor(kFace, 64));
    TBitmap b(75, 25);
    DrawButtonFace(b.Canvas(), Rect(0, 0, 75, 25), bsIE4, true, false, false, kFace);
    EXPECT_EQ(b.Image().GetColor(74, 0), DarkenColor(kFace, 100));
    EXPECT_EQ(FacePicture(bsIE4, true).At(30, 12), kSentinel) << "never filled";
}

TEST(DrawButtonFace, GlassIsWhiteInsideOutlinesOfTheColour)
{
    for (TColor color : { kFace, clRed, clBlack }) {
        const FacePicture up(bsGlass, false, false, color);
        EXPECT_EQ(test::CountColor(*up.bitmap, Rect(2, 2, 72, 22), clWhite), 70 * 20);
        EXPECT_EQ(up.At(0, 0), DarkenColor(color, 64));
        EXPECT_EQ(up.At(1, 1), color);
        EXPECT_EQ(up.At(74, 24), DarkenColor(color, 128));
        EXPECT_EQ(up.At(74, 0), DarkenColor(color, 128));
        const FacePicture down(bsGlass, true, false, color);
        EXPECT_EQ(down.At(0, 0), color);
        EXPECT_EQ(down.At(5, 2), DarkenColor(color, 128));
    }
}

TEST(DrawButtonFace, TabsDrawTheirOpenSideLineOnlyWhenNotPressed)
{
    EXPECT_EQ(FacePicture(bsTab).At(30, 23), BrightenColor(kFace, 64));
    EXPECT_EQ(FacePicture(bsTab, true).At(30, 23), kFace);
    EXPECT_EQ(FacePicture(bsTab).At(73, 12), DarkenColor(kFace, 48));
    EXPECT_EQ(FacePicture(bsSideDownTab).At(30, 2), DarkenColor(kFace, 64));
    EXPECT_EQ(FacePicture(bsSideDownTab, true).At(30, 2), kFace);
    EXPECT_EQ(FacePicture(bsSideDownTab).At(30, 24), DarkenColor(kFace, 128));
}

TEST(DrawButtonFace, OtherStylesAndTheCanvasStateTheyLeave)
{
    const FacePicture ellipse(bsEllipse);
    EXPECT_EQ(ellipse.At(0, 0), kSentinel) << "the corners keep what was there";
    EXPECT_EQ(ellipse.At(37, 12), kFace);
    EXPECT_EQ(ellipse.bitmap->Canvas().Brush().Style(), bsClear);
    EXPECT_EQ(ellipse.bitmap->Canvas().Pen().Width(), 1);
    for (bool down : { false, true }) {
        auto b = test::Filled(75, 25, kSentinel);
        b->Canvas().Pen().SetColor(clLime);
        DrawButtonFace(b->Canvas(), Rect(0, 0, 75, 25), bsEllipse, false, down, false, kFace);
        EXPECT_EQ(test::CountColor(*b, Rect(0, 0, 75, 25), clLime), 0) << "the arcs cover the whole outline";
    }
    const FacePicture game(bsMicroposeGame);
    EXPECT_EQ(game.bitmap->Canvas().Pen().Width(), 2);
    EXPECT_EQ(game.At(0, 0), kSentinel);
    EXPECT_EQ(game.At(37, 12), kFace);
    EXPECT_EQ(FacePicture(bsGlass).bitmap->Canvas().Brush().Style(), bsClear);
    const FacePicture flat(bsFlat);
    EXPECT_EQ(flat.At(0, 0), BrightenColor(kFace, 60));
    EXPECT_EQ(flat.At(30, 12), kFace);
    const FacePicture gradient(bsGradient);
    EXPECT_EQ(gradient.At(0, 0), BrightenColor(kFace, 24));
    EXPECT_EQ(gradient.At(1, 1), BrightenColor(kFace, 24)) << "the first band";
    EXPECT_EQ(test::CountColor(*FacePicture(bsOwnerDraw).bitmap, Rect(0, 0, 75, 25), kSentinel), 75 * 25);
    // A previous style's wide pen does not reach the next face.
    TBitmap b(75, 25);
    DrawButtonFace(b.Canvas(), Rect(0, 0, 75, 25), bsMicroposeGame, false, false, false, kFace);
    DrawButtonFace(b.Canvas(), Rect(0, 0, 75, 25), bsWin31, false, false, false, kFace);
    EXPECT_EQ(test::FirstDifference(b, {}, *FacePicture(bsWin31).bitmap, {}, 75, 25), "");
}

TEST(DrawButtonFace, ExtremeRectanglesDrawWhatShows)
{
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t s = 0; s <= bsGradient; ++s)
        for (bool down : { false, true }) {
            const auto style = static_cast<TClr95ButtonStyle>(s);
            TBitmap b(20, 20);
            const TRect r = DrawButtonFace(b.Canvas(), Rect(0, -100000, hi, hi), style, false, down, true, kFace);
            EXPECT_EQ(r.Left, DrawButtonFace(b.Canvas(), Rect(0, 0, 75, 25), style, false, down, true, kFace).Left);
            EXPECT_GT(r.Right, 1 << 29);
            DrawButtonFace(b.Canvas(), Rect(hi, hi, lo, lo), style, false, down, true, kFace);
            DrawButtonFace(b.Canvas(), Rect(lo, 0, lo + 10, 10), style, false, down, true, kFace);
            if (style != bsGradient) // its bands are counted from the top, however far
                DrawButtonFace(b.Canvas(), Rect(lo, lo, hi, hi), style, false, down, true, kFace);
        }
    // Far corners draw what shows exactly as near ones.
    for (TClr95ButtonStyle style : { bsWin31, bsNew, bsTab, bsSideDownTab, bsGlass, bsFlat, bsMicroposeGame }) {
        TBitmap near(75, 25), far(75, 25);
        DrawButtonFace(near.Canvas(), Rect(0, 0, 75, 25), style, false, false, false, kFace);
        far.Canvas().SetClipRect(Rect(0, 0, 40, 25));
        DrawButtonFace(far.Canvas(), Rect(0, 0, 75, 25), style, false, false, false, kFace);
        EXPECT_EQ(test::FirstDifference(near, {}, far, {}, 40, 25), "") << TColor95Button::StyleInfo().NameOf(style);
    }
}

TEST(DitherBitmap, IsACheckerOfTheColourAndItsBrightShade)
{
    TBitmap* pattern = DitherBitmap(kFace);
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->Width(), 8);
    EXPECT_EQ(pattern->Height(), 8);
    EXPECT_EQ(pattern->Image().GetColor(0, 0), BrightenColor(kFace, 128));
    EXPECT_EQ(pattern->Image().GetColor(1, 0), kFace) << "the exact colour, not the nearest entry of a table";
    EXPECT_EQ(pattern->Image().GetColor(7, 7), BrightenColor(kFace, 128));
    EXPECT_EQ(test::CountColor(*pattern, Rect(0, 0, 8, 8), kFace), 32);
    EXPECT_EQ(DitherBitmap(clRed), pattern) << "the same bitmap, refilled";
}

// ---- Glyphs -------------------------------------------------------------------

TEST(ButtonGlyph, CellCountFollowsThePictureShape)
{
    TButtonGlyph g;
    g.SetGlyph(*test::Filled(64, 16));
    EXPECT_EQ(g.NumGlyphs(), 4);
    g.SetGlyph(*test::Filled(80, 16));
    EXPECT_EQ(g.NumGlyphs(), 1) << "five cells are one";
    g.SetGlyph(*test::Filled(32, 16));
    g.SetGlyph(*test::Filled(50, 16));
    EXPECT_EQ(g.NumGlyphs(), 2) << "not a whole multiple: kept";
    g.SetGlyph(TBitmap());
    EXPECT_EQ(g.NumGlyphs(), 2) << "an empty picture divides nothing";
    EXPECT_EQ(g.MakeStateImage(bsUp, kFace), -1);
    EXPECT_EQ(g.GlyphList(), nullptr);
    g.SetGlyph(*test::Filled(3, 16));
    g.SetNumGlyphs(4);
    EXPECT_EQ(g.MakeStateImage(bsUp, kFace), -1) << "cells narrower than a pixel";
    g.SetNumGlyphs(0);
    EXPECT_EQ(g.NumGlyphs(), 4);
    g.SetNumGlyphs(9);
    EXPECT_EQ(g.NumGlyphs(), 4);
}

TEST(ButtonGlyph, TransparentColourComesFromThePicture)
{
    TButtonGlyph g;
    EXPECT_EQ(g.TransparentColor(), clOlive);
    auto b = test::Filled(16, 16, clFuchsia);
    g.SetGlyph(*b);
    EXPECT_EQ(g.TransparentColor(), clFuchsia);
    g.Picture().Canvas().SetPixels(0, 15, clLime);
    EXPECT_EQ(g.TransparentColor(), clLime) << "a change of the picture itself";
}

TEST(ButtonGlyph, DisabledCellIsRecolouredToTheFace)
{
    TButtonGlyph g;
    auto picture = Glyph({ clRed, clBlue });
    picture->Canvas().SetPixels(17, 1, clWhite);
    picture->Canvas().SetPixels(18, 2, clGray);
    g.SetGlyph(*picture);
    const std::int32_t slot = g.MakeStateImage(bsDisabled, kFace);
    ASSERT_GE(slot, 0);
    TBitmap image;
    g.GlyphList()->GetBitmap(slot, image);
    EXPECT_EQ(image.Image().GetColor(1, 1), BrightenColor(kFace, 96));
    EXPECT_EQ(image.Image().GetColor(2, 2), DarkenColor(kFace, 48));
    EXPECT_EQ(image.Image().GetColor(0, 0), kFace) << "the transparent colour";
    EXPECT_EQ(image.Image().GetColor(8, 8), clBlue) << "the disabled cell's own colours stay";
    EXPECT_EQ(g.FaceColor(), kFace);
}

TEST(ButtonGlyph, SingleCellDisabledImageIsEmbossed)
{
    TButtonGlyph g;
    auto picture = test::Filled(16, 16, clOlive);
    picture->Canvas().SetPixels(4, 4, clBlack);
    picture->Canvas().SetPixels(8, 8, clRed);
    g.SetGlyph(*picture);
    TBitmap image;
    g.MakeStateImage(bsDisabled, clBtnFace);
    g.GlyphList()->GetBitmap(g.Index(bsDisabled), image);
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(image.Image().GetColor(4, 4), DarkenColor(face, 48));
    EXPECT_EQ(image.Image().GetColor(5, 5), BrightenColor(face, 96));
    EXPECT_EQ(image.Image().GetColor(8, 8), face) << "only the picture's black shows";
    EXPECT_EQ(test::CountColor(image, Rect(0, 0, 16, 16), face), 16 * 16 - 2);
    // A monochrome picture embosses its black the same way.
    auto mono = test::Filled(16, 16, clWhite);
    mono->Canvas().SetPixels(4, 4, clBlack);
    mono->SetMonochrome(true);
    g.SetGlyph(*mono);
    g.MakeStateImage(bsDisabled, clBtnFace);
    g.GlyphList()->GetBitmap(g.Index(bsDisabled), image);
    EXPECT_EQ(image.Image().GetColor(4, 4), DarkenColor(face, 48));
    EXPECT_EQ(image.Image().GetColor(5, 5), BrightenColor(face, 96));
}

TEST(GlyphList, ReusesTheLowestFreeSlotAndGrowsOnlyWhenFull)
{
    TGlyphList list(16, 16);
    auto image = test::Filled(16, 16, clRed);
    EXPECT_EQ(list.Add(*image, nullptr), 0);
    EXPECT_EQ(list.Add(*image, nullptr), 1);
    EXPECT_EQ(list.Add(*image, nullptr), 2);
    list.Delete(1);
    list.Delete(0);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Add(*test::Filled(16, 16, clBlue), nullptr), 0);
    EXPECT_EQ(list.Add(*image, nullptr), 1);
    EXPECT_EQ(static_cast<TImageList&>(list).Count(), 3) << "no growth while a slot was free";
    EXPECT_EQ(list.Add(*image, nullptr), 3);
    EXPECT_EQ(list.Count(), 4);
    TBitmap out;
    list.GetBitmap(0, out);
    EXPECT_EQ(out.Image().GetColor(5, 5), clBlue);
    EXPECT_THROW(list.Delete(9), EInvalidOperation);
}

TEST(GlyphCache, LivesFromTheFirstGlyphToTheLastWithNothingInIt)
{
    ASSERT_EQ(GlyphCache(), nullptr) << "no glyph is left from another test";
    {
        TButtonGlyph g;
        ASSERT_NE(GlyphCache(), nullptr);
        EXPECT_TRUE(GlyphCache()->Empty());
    }
    EXPECT_EQ(GlyphCache(), nullptr);

    auto a = std::make_unique<TButtonGlyph>();
    auto b = std::make_unique<TButtonGlyph>();
    a->SetGlyph(*Glyph({ clRed }));
    b->SetGlyph(*Glyph({ clBlue }));
    EXPECT_EQ(a->MakeStateImage(bsUp, kFace), 0);
    EXPECT_EQ(b->MakeStateImage(bsUp, kFace), 1);
    EXPECT_EQ(a->GlyphList(), b->GlyphList()) << "one list per cell size";
    EXPECT_EQ(a->MakeStateImage(bsDown, kFace), 0) << "two cells or fewer: the up image";
    EXPECT_EQ(GlyphCache()->ListCount(), 1);
    a.reset();
    ASSERT_NE(GlyphCache(), nullptr) << "b's image is still in it";
    b.reset();
    EXPECT_EQ(GlyphCache(), nullptr);

    // A cache freed while an imageless glyph lives comes back with the next image.
    a = std::make_unique<TButtonGlyph>();
    b = std::make_unique<TButtonGlyph>();
    a.reset();
    EXPECT_EQ(GlyphCache(), nullptr);
    b->SetGlyph(*Glyph({ clRed, clBlue }));
    EXPECT_EQ(b->MakeStateImage(bsUp, kFace), 0);
    EXPECT_NE(GlyphCache(), nullptr);
    b->SetNumGlyphs(1);
    EXPECT_EQ(b->Index(bsUp), -1) << "a new cell count releases the images";
    EXPECT_TRUE(GlyphCache()->Empty());
    b.reset();
    EXPECT_EQ(GlyphCache(), nullptr);
}

TEST(ButtonGlyph, MarginAndSpacingMinusOneShareTheRoomInThree)
{
    TButtonGlyph g;
    g.SetGlyph(*Glyph({ clRed }));
    TBitmap b(200, 40);
    const std::int32_t textWidth = b.Canvas().TextWidth("Caption");
    const TRect client = Rect(5, 2, 5 + 16 + textWidth + 30, 30);
    auto p = g.LayoutGlyphAndCaption(b.Canvas(), client, "Caption", blGlyphLeft, -1, -1);
    EXPECT_EQ(p.glyphPos.X, 5 + 10);
    EXPECT_EQ(p.textBounds.Left, 5 + 10 + 16 + 10);
    EXPECT_EQ(p.textBounds.Width(), textWidth);
    EXPECT_EQ(p.glyphPos.Y, 2 + (28 - 16 + 1) / 2);
    p = g.LayoutGlyphAndCaption(b.Canvas(), client, "Caption", blGlyphRight, 3, 4);
    EXPECT_EQ(p.glyphPos.X, client.Right - 3 - 16);
    EXPECT_EQ(p.textBounds.Right, client.Right - 3 - 16 - 4);
    p = g.LayoutGlyphAndCaption(b.Canvas(), Rect(0, 0, 40, 40), "", blGlyphTop, -1, 7);
    EXPECT_EQ(p.glyphPos, Point(12, 12)) << "no caption, no spacing: centred";
    p = g.LayoutGlyphAndCaption(b.Canvas(), Rect(0, 0, 40, 40), "Caption", blGlyphBottom, 2, -1);
    EXPECT_EQ(p.glyphPos.Y, 40 - 2 - 16);
    p = g.LayoutGlyphAndCaption(b.Canvas(), Rect(0, 0, 40, 40), "Caption", blGlyphLeft, std::numeric_limits<std::int32_t>::max(),
        std::numeric_limits<std::int32_t>::max());
    EXPECT_GT(p.textBounds.Left, 1 << 29) << "far out, without overflow";
}

// ---- The control --------------------------------------------------------------

TEST_F(ColorButtonTest, ANewButtonTakesItsFormsColourAndTheStatedDefaults)
{
    Form().SetColor(0x123456);
    auto* b = new TColor95Button(&Form());
    EXPECT_EQ(b->Color(), 0x123456);
    EXPECT_EQ(b->BoundsRect(), Rect(0, 0, 25, 25));
    EXPECT_EQ(b->ControlStyle(), (TControlStyle { csCaptureMouse, csOpaque, csDoubleClicks }));
    EXPECT_EQ(b->Style(), bsNew);
    EXPECT_EQ(b->Options(), (TButtonOptions { boShowMouseFocus, boDitherPattern, boAutoBlackWhiteText }));
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_EQ(b->GetNumGlyphs(), 1);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_TRUE(b->ParentFont());
    EXPECT_EQ(b->Caption(), "");
    EXPECT_EQ(b->ButtonGlyph().FaceColor(), 0x123456);
    TColor95Button loose(nullptr);
    EXPECT_EQ(loose.Color(), clBlack);
    TGraphicControl other(nullptr);
    TColor95Button ownedByControl(&other);
    EXPECT_EQ(ownedByControl.Color(), clBlack);
    // A colour panel owner gives its colour as a form does.
    TColorPanel panel(nullptr);
    panel.SetColor(0x00336699);
    TColor95Button onPanel(&panel);
    EXPECT_EQ(onPanel.Color(), 0x00336699);
    EXPECT_EQ(onPanel.ButtonGlyph().FaceColor(), 0x00336699);
}

TEST_F(ColorButtonTest, SettersRefuseWhatTheButtonCannotTake)
{
    auto* b = Add(Rect(0, 0, 40, 25));
    b->SetMargin(3);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), 3);
    b->SetMargin(-1);
    EXPECT_EQ(b->Margin(), -1);
    b->SetNumGlyphs(7);
    EXPECT_EQ(b->GetNumGlyphs(), 4);
    b->SetNumGlyphs(0);
    EXPECT_EQ(b->GetNumGlyphs(), 4);
    b->SetDown(true);
    EXPECT_FALSE(b->Down()) << "without a group a button never stays down";
}

TEST_F(ColorButtonTest, AHeldRepeatableButtonClicksAfter500AndThenEvery100Ms)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetOptions(b->Options().With(boRepeatable));
    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    ASSERT_FALSE(RepeatTimer()->Enabled());
    Press({ 20, 20 });
    EXPECT_EQ(b->State(), bsDown);
    Application().AdvanceTime(499);
    EXPECT_EQ(clicks, 0);
    Application().AdvanceTime(1);
    EXPECT_EQ(clicks, 1);
    Application().AdvanceTime(300);
    EXPECT_EQ(clicks, 4);
    Move({ 100, 100 });
    EXPECT_EQ(b->State(), bsUp);
    Application().AdvanceTime(300);
    EXPECT_EQ(clicks, 4) << "outside: no clicks";
    Move({ 59, 35 });
    EXPECT_EQ(b->State(), bsDown) << "the bottom edge counts as inside";
    Application().AdvanceTime(100);
    EXPECT_EQ(clicks, 5);
    Release({ 59, 35 });
    EXPECT_EQ(clicks, 6) << "and the release clicks";
    EXPECT_FALSE(RepeatTimer()->Enabled());
    Application().AdvanceTime(1000);
    EXPECT_EQ(clicks, 6);
}

TEST_F(ColorButtonTest, AReleaseOutsideDoesNotClick)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    Press({ 20, 20 });
    Move({ 60, 20 });
    EXPECT_EQ(b->State(), bsUp) << "the right edge is outside";
    Release({ 60, 20 });
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Tracking());
    Click({ 20, 20 });
    EXPECT_EQ(clicks, 1);
}

TEST_F(ColorButtonTest, GroupsKeepAtMostOneButtonDown)
{
    TColor95Button* b[3];
    for (int i = 0; i < 3; ++i) {
        b[i] = Add(Rect(10 + 40 * i, 10, 40 + 40 * i, 35));
        b[i]->SetGroupIndex(1);
    }
    Click({ 20, 20 });
    EXPECT_TRUE(b[0]->Down());
    EXPECT_EQ(b[0]->State(), bsExclusive);
    Click({ 20, 20 });
    EXPECT_TRUE(b[0]->Down()) << "a down button of a group stays down";
    EXPECT_EQ(b[0]->State(), bsExclusive) << "and looks it";
    Click({ 60, 20 });
    EXPECT_FALSE(b[0]->Down());
    EXPECT_EQ(b[0]->State(), bsUp);
    EXPECT_TRUE(b[1]->Down());
    b[2]->SetAllowAllUp(true);
    EXPECT_TRUE(b[0]->AllowAllUp()) << "the whole group takes it";
    EXPECT_TRUE(b[1]->AllowAllUp());
    Click({ 60, 20 });
    EXPECT_FALSE(b[1]->Down()) << "all up";
    b[2]->SetDown(true);
    b[0]->SetDown(true);
    EXPECT_FALSE(b[2]->Down());
    auto* other = Add(Rect(200, 10, 230, 35));
    other->SetGroupIndex(2);
    other->SetDown(true);
    EXPECT_TRUE(b[0]->Down()) << "another group";
}

TEST_F(ColorButtonTest, ButtonPressedFromAnotherKindOfControlIsIgnored)
{
    auto* b = Add(Rect(10, 10, 40, 35));
    b->SetGroupIndex(1);
    b->SetDown(true);
    auto* stranger = new TGraphicControl(&Form());
    stranger->SetParent(&Form());
    b->Perform(CM_BUTTONPRESSED, 1, reinterpret_cast<LPARAM>(static_cast<TControl*>(stranger)));
    b->Perform(CM_BUTTONPRESSED, 1, 0);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(b->AllowAllUp());
}

TEST_F(ColorButtonTest, DoubleClickFiresOnlyOnADownButton)
{
    auto* plain = Add(Rect(10, 10, 40, 35));
    auto* grouped = Add(Rect(50, 10, 80, 35));
    grouped->SetGroupIndex(1);
    grouped->SetDown(true);
    int plainDouble = 0, groupedDouble = 0;
    plain->SetOnDblClick([&](TObject*) { ++plainDouble; });
    grouped->SetOnDblClick([&](TObject*) { ++groupedDouble; });
    for (TPoint p : { Point(20, 20), Point(60, 20) }) {
        Press(p);
        Release(p);
        Press(p);
        Release(p);
        Application().AdvanceTime(1000);
    }
    EXPECT_EQ(plainDouble, 0);
    EXPECT_EQ(groupedDouble, 1);
}

TEST_F(ColorButtonTest, AcceleratorClicksOnlyAnEnabledButton)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetCaption("&Go");
    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    test::Headless().Char('g');
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    test::Headless().Char('g');
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), bsDisabled);
}

TEST_F(ColorButtonTest, HoverTintsTheFaceOfAnEnabledButtonWithMouseFocus)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    const TRect content = Rect(12, 12, 58, 33);
    Move({ 30, 20 });
    EXPECT_TRUE(b->MouseOver());
    const TColor tint = BrightenColor(kFace, 24);
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), content, tint), content.Width() * content.Height());
    Move({ 200, 150 });
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(PixelOf(*b, 20, 10), kFace);

    b->SetEnabled(false);
    Move({ 30, 20 });
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), content, tint), 0);
    Move({ 200, 150 });
    b->SetEnabled(true);
    b->SetOptions({});
    Move({ 30, 20 });
    EXPECT_FALSE(b->MouseOver()) << "without boShowMouseFocus";
}

TEST_F(ColorButtonTest, SoundsPlayOnEnteringAndOnClicking)
{
    const TWaveDevice device = WaveDevice();
    SetWaveDevice(TWaveDevice::Silent);
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetSoundMouseOver("TONE");
    Move({ 30, 20 });
    EXPECT_TRUE(WavePlaying());
    StopWave();
    b->SetSoundClick("TONE");
    b->Click();
    EXPECT_TRUE(WavePlaying());
    StopWave();
    SetWaveDevice(device);
}

TEST_F(ColorButtonTest, AnExclusiveButtonShowsTheDitherPattern)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetGroupIndex(1);
    b->SetDown(true);
    // Pressed content (3, 3, 47, 22), less one pixel right and bottom.
    const TRect dither = Rect(13, 13, 56, 31);
    auto picture = test::Picture(Form());
    const std::int64_t face = test::CountColor(*picture, dither, kFace);
    const std::int64_t light = test::CountColor(*picture, dither, BrightenColor(kFace, 128));
    EXPECT_EQ(face + light, dither.Width() * dither.Height());
    EXPECT_GT(face, 300);
    EXPECT_GT(light, 300);
    b->SetOptions({});
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), dither, kFace), dither.Width() * dither.Height());
}

TEST_F(ColorButtonTest, EachStateShowsItsOwnGlyphCell)
{
    auto* b = Add(Rect(10, 10, 35, 35));
    b->SetGlyph(*Glyph({ clRed, clBlue, clLime, clYellow }));
    EXPECT_EQ(b->GetNumGlyphs(), 4);
    // The glyph's middle: content (2, 2) + margin 3, + 8.
    EXPECT_EQ(PixelOf(*b, 13, 13), clRed);
    EXPECT_EQ(PixelOf(*b, 6, 6), kFace) << "olive is transparent";
    Press({ 20, 20 });
    EXPECT_EQ(PixelOf(*b, 13, 13), clLime);
    Release({ 20, 20 });
    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(PixelOf(*b, 13, 13), clYellow);
    b->SetEnabled(false);
    EXPECT_EQ(PixelOf(*b, 13, 13), clBlue);

    b->SetEnabled(true);
    b->SetDown(false);
    b->SetAllowAllUp(true);
    b->SetDown(false);
    b->SetGlyph(*Glyph({ clRed, clBlue }));
    Press({ 20, 20 });
    EXPECT_EQ(PixelOf(*b, 13, 13), clRed) << "two cells: pressed shows up";
    Release({ 200, 150 });
    b->SetGlyph(*Glyph({ clRed, clBlue, clLime }));
    Press({ 20, 20 });
    EXPECT_EQ(PixelOf(*b, 13, 13), clLime) << "three cells: pressed shows cell 2";
    Release({ 200, 150 });
}

TEST_F(ColorButtonTest, StateImagesAreMadeOnceAndReleasedWithTheGlyph)
{
    auto* b = Add(Rect(10, 10, 35, 35));
    b->SetGlyph(*Glyph({ clRed }));
    test::Picture(Form());
    const std::uint64_t made = StateImagesMade();
    for (int i = 0; i < 3; ++i)
        test::Picture(Form());
    b->SetColor(clRed);
    test::Picture(Form());
    EXPECT_EQ(StateImagesMade(), made);
    b->SetGlyph(*Glyph({ clBlue }));
    test::Picture(Form());
    EXPECT_EQ(StateImagesMade(), made + 1);
}

TEST_F(ColorButtonTest, CaptionsAreBlackOrWhiteByTheFaceAndEngravedWhenDisabled)
{
    auto* b = Add(Rect(10, 10, 90, 40));
    b->SetCaption("WWW");
    const TRect content = Rect(12, 12, 88, 38);
    b->SetColor(0xE0E0E0);
    EXPECT_GT(test::CountColor(*test::Picture(Form()), content, clBlack), 10);
    b->SetColor(clNavy);
    EXPECT_GT(test::CountColor(*test::Picture(Form()), content, clWhite), 10);
    b->SetOptions({});
    b->Font().SetColor(clRed);
    EXPECT_GT(test::CountColor(*test::Picture(Form()), content, clRed), 10);
    b->SetEnabled(false);
    auto picture = test::Picture(Form());
    EXPECT_GT(test::CountColor(*picture, content, BrightenColor(clNavy, 96)), 10);
    EXPECT_GT(test::CountColor(*picture, content, DarkenColor(clNavy, 96)), 10);
    EXPECT_EQ(test::CountColor(*picture, content, clRed), 0);
}

TEST_F(ColorButtonTest, OwnerDrawPaintsTheFaceAndPlacesTheContent)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetStyle(bsOwnerDraw);
    Add(Rect(100, 10, 150, 35));
    auto picture = test::Picture(Form());
    EXPECT_EQ(test::FirstDifference(*picture, { 10, 10 }, *picture, { 100, 10 }, 50, 25), "") << "without a handler: bsNew";
    TRect given;
    b->SetOnOwnerDraw([&](TObject* sender, TCanvas& canvas, TRect& r) {
        EXPECT_EQ(sender, b);
        given = r;
        canvas.Brush().SetColor(clRed);
        canvas.FillRect(r);
        r = Rect(0, 0, 20, 25);
    });
    b->SetGlyph(*Glyph({ clBlue }));
    picture = test::Picture(Form());
    EXPECT_EQ(given, Rect(0, 0, 50, 25));
    EXPECT_EQ(picture->Image().GetColor(10, 10), clRed);
    EXPECT_EQ(picture->Image().GetColor(10 + 2 + 8, 10 + 5 + 8), clBlue) << "the glyph centred in the rectangle it left";
}

// ---- Lifetimes ----------------------------------------------------------------

TEST_F(ColorButtonTest, HandlersMayFreeTheButton)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetOnClick([b](TObject*) { delete b; });
    Click({ 20, 20 });
    EXPECT_EQ(Form().ControlCount(), 0);

    b = Add(Rect(10, 10, 60, 35));
    b->SetOnMouseDown([b](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { delete b; });
    Click({ 20, 20 });
    EXPECT_EQ(Form().ControlCount(), 0);

    b = Add(Rect(10, 10, 60, 35));
    b->SetOptions({ boRepeatable });
    b->SetOnClick([b](TObject*) { delete b; });
    Press({ 20, 20 });
    Application().AdvanceTime(500);
    EXPECT_EQ(Form().ControlCount(), 0);
    EXPECT_FALSE(RepeatTimer()->Enabled());
    EXPECT_FALSE(RepeatTimer()->OnTimer());
    Release({ 20, 20 });

    b = Add(Rect(10, 10, 60, 35));
    b->SetGroupIndex(1);
    b->SetDown(true);
    b->SetOnDblClick([b](TObject*) { delete b; });
    Press({ 20, 20 });
    Release({ 20, 20 });
    Press({ 20, 20 });
    Release({ 20, 20 });
    EXPECT_EQ(Form().ControlCount(), 0);
}

TEST_F(ColorButtonTest, AButtonFreedWhileHeldLeavesTheRepeatTimerStopped)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetOptions({ boRepeatable });
    Press({ 20, 20 });
    ASSERT_TRUE(RepeatTimer()->Enabled());
    delete b;
    EXPECT_FALSE(RepeatTimer()->Enabled());
    EXPECT_FALSE(RepeatTimer()->OnTimer());
    Application().AdvanceTime(1000);
    Release({ 20, 20 });

    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 50, 300, 200);
    form->Show();
    b = AddButton(*form, Rect(10, 10, 60, 35));
    b->SetOptions({ boRepeatable });
    Press({ 20, 20 });
    ASSERT_TRUE(b->Tracking());
    form.reset();
    EXPECT_FALSE(RepeatTimer()->Enabled());
    Application().AdvanceTime(1000);
    Release({ 20, 20 });
}

TEST_F(ColorButtonTest, AClickThatRaisesStopsTheRepeatAndLeavesTheButtonAtRest)
{
    auto* b = Add(Rect(10, 10, 60, 35));
    b->SetOptions({ boRepeatable });
    int clicks = 0;
    b->SetOnClick([&](TObject*) {
        ++clicks;
        throw EInvalidOperation("no more");
    });
    const std::int64_t shown = Application().ExceptionsShown();
    Press({ 20, 20 });
    Application().AdvanceTime(500);
    EXPECT_EQ(Application().ExceptionsShown(), shown + 1) << "the loop showed the error";
    EXPECT_EQ(Application().LastExceptionMessage(), "no more");
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(RepeatTimer()->Enabled());
    EXPECT_FALSE(b->Tracking());
    EXPECT_EQ(b->State(), bsUp);
    Release({ 20, 20 });
    EXPECT_EQ(clicks, 1) << "the press ended with the error";

    Press({ 20, 20 });
    test::Headless().MouseUp(Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(Application().ExceptionsShown(), shown + 2);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(RepeatTimer()->Enabled());
    EXPECT_FALSE(b->Tracking());
    EXPECT_EQ(b->State(), bsUp);
}

// ---- Form files ---------------------------------------------------------------

TEST(ColorButton, RoundTripsGlyphOptionsAndGroup)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* b = AddButton(form, Rect(8, 8, 83, 33));
    b->SetName("B");
    b->SetGlyph(*Glyph({ clRed, clBlue }));
    b->SetOptions({ boRepeatable, boDitherPattern });
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->SetDown(true);
    b->SetCaption("&Go");
    b->SetStyle(bsGlass);
    b->SetLayout(blGlyphTop);
    b->SetSpacing(-1);
    b->SetSoundClick("TONE");
    std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("    AllowAllUp = True\n    GroupIndex = 3\n    Down = True\n    Caption = '&Go'\n    Glyph.Data = {"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("    Layout = blGlyphTop\n    SoundClick = 'TONE'\n    NumGlyphs = 2\n    Color = 3368601\n"
                        "    Style = bsGlass\n    Options = [boRepeatable, boDitherPattern]\n    Spacing = -1\n"),
        std::string::npos)
        << text;
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    auto* c = dynamic_cast<TColor95Button*>(copy->FindComponent("B"));
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->Down());
    EXPECT_EQ(c->GetNumGlyphs(), 2);
    EXPECT_EQ(c->GetGlyph().Width(), 32);
    EXPECT_NE(c->ButtonGlyph().Index(bsUp), -1) << "Loaded makes the up image";

    // A fresh button still writes its colour, style and options.
    TForm plain(nullptr);
    plain.SetName("P");
    auto* fresh = new TColor95Button(&plain);
    fresh->SetName("B");
    fresh->SetParent(&plain);
    text = test::ExpectRoundTrip(plain);
    EXPECT_NE(text.find("    Color = clBtnFace\n    Style = bsNew\n    Options = [boShowMouseFocus, boDitherPattern, "
                        "boAutoBlackWhiteText]\n  end"),
        std::string::npos)
        << text;
}

TEST(ColorButton, HostileFormValuesAreTheReadersErrorOrDrawWhatShows)
{
    auto read = [](const std::string& lines) { return test::ReadAndPaint("TColor95Button", lines); };
    for (const char* refused : { "    Style = bsSparkle\n", "    Style = 42\n", "    Layout = blGlyphMiddle\n",
         "    Options = [boBlink]\n", "    NumGlyphs = 7\n", "    NumGlyphs = 0\n", "    Glyph.Data = {424D0000}\n" })
        EXPECT_NE(read(refused).find("Line 5"), std::string::npos) << refused;
    EXPECT_EQ(read("    Margin = -2\n"), "no exception");
    for (const char* style : { "bsWin31", "bsEllipse", "bsGradient", "bsMicroposeGame", "bsSideDownTab" }) {
        EXPECT_EQ(read(std::string("    Style = ") + style
                      + "\n    Width = 2147483647\n    Height = 2147483647\n    Caption = 'Far'\n    Margin = 2147483647\n"
                        "    Spacing = -2147483648\n"),
            "no exception");
        EXPECT_EQ(read(std::string("    Style = ") + style
                      + "\n    Left = -2147483648\n    Top = 2147483600\n    GroupIndex = 1\n    Down = True\n"),
            "no exception");
    }
}
