#include "components/KnScroll.h"

#include "components/detail/KnCtrlsShared.h"
#include "components/KnCtrlsUnit.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Timer.h"
#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Frames;
using plx::test::Headless;

namespace {

constexpr TColor kTrack = 0x204060;

// A scroll bar that counts its renders and lets the tests press it directly.
class Scroll : public TKnScroll {
public:
    using TKnScroll::TKnScroll;
    using TKnScroll::MouseDown;
    using TKnScroll::MouseMove;
    using TKnScroll::MouseUp;
    int renders { 0 };

protected:
    void PaintBackup() override
    {
        TKnScroll::PaintBackup();
        ++renders;
    }
};

// A horizontal bar of 140 x 20 without a bevel: 16-pixel buttons and an 8-pixel
// thumb leave a track of 100 pixels, starting at DecBox.Right = 16.
void Skin(TKnScroll& s, TColor dec = clRed, TColor inc = clBlue, TColor thumb = clYellow)
{
    s.Bevel().SetBevelType(btNone);
    s.Background().SetColor(kTrack);
    s.SetBounds(s.Left(), s.Top(), 140, 20);
    s.SetPic_Left(*Frames(16, 20, { dec }));
    s.SetPic_Right(*Frames(16, 20, { inc }));
    s.SetPic_Thumb(*Frames(8, 20, { thumb }));
}

TColor At(const TKnScroll& s, std::int32_t x, std::int32_t y)
{
    return s.Backup().Image().GetColor(x, y);
}

// The published properties after those every control has (Left, Width, Hint...).
std::vector<std::string> OwnProperties(const TClassInfo& info)
{
    std::vector<std::string> names;
    for (const TPropInfo& p : info.Properties())
        if (!TControl::StaticClassInfo().FindProperty(p.Name) || !names.empty())
            names.push_back(p.Name);
    return names;
}

} // namespace

// ---- Properties ---------------------------------------------------------------------

TEST(KnScroll, DefaultsAndThePublishedOrder)
{
    TKnScroll s(nullptr);
    EXPECT_EQ(s.Width(), 160);
    EXPECT_EQ(s.Height(), 20);
    EXPECT_EQ(s.Max(), 100);
    EXPECT_EQ(s.Min(), 0);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.LargeChange(), 1);
    EXPECT_EQ(s.SmallChange(), 1);
    EXPECT_EQ(s.NumGlyph(), 1);
    EXPECT_FALSE(s.TransparentThumb());
    EXPECT_EQ(s.Orientation(), soHorizontal);
    EXPECT_EQ(s.Event(), seNone);
    EXPECT_FALSE(s.ThumbDragging());
    EXPECT_TRUE(s.Pic_Up().Empty());
    EXPECT_TRUE(s.Pic_Thumb().Empty());
    EXPECT_EQ(OwnProperties(TKnScroll::StaticClassInfo()),
        (std::vector<std::string> { "Pic_Up", "Pic_Down", "Pic_Left",
            "Pic_Right", "Pic_Thumb", "Max", "Min", "Position", "LargeChange", "SmallChange", "NumGlyph",
            "TransparentThumb", "Orientation", "Background", "Bevel", "OnMouseEnter", "OnMouseLeave", "OnChange", "Align",
            "Enabled", "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
            "OnMouseMove", "OnMouseUp", "OnStartDrag" }));
}

TEST(KnScroll, PositionSnapsToSmallChangeThenClampsAndAlwaysFiresOnChange)
{
    Scroll s(nullptr);
    int changes = 0;
    s.SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, &s);
        ++changes;
    });
    s.SetSmallChange(5);
    s.SetPosition(17);
    EXPECT_EQ(s.Position(), 15);
    s.SetSmallChange(1);
    s.SetPosition(17);
    EXPECT_EQ(s.Position(), 17);
    s.SetPosition(-3);
    EXPECT_EQ(s.Position(), 0);
    s.SetPosition(1000);
    EXPECT_EQ(s.Position(), 100);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(s.renders, 4);

    s.SetPosition(100);
    EXPECT_EQ(changes, 5) << "the same position fires OnChange";
    EXPECT_EQ(s.renders, 4) << "but renders nothing";

    // The grid is anchored at 0 and cut toward zero; the bounds win over it.
    s.SetMin(-50);
    s.SetSmallChange(5);
    s.SetPosition(-13);
    EXPECT_EQ(s.Position(), -10);
    s.SetMin(3);
    EXPECT_EQ(s.Position(), 3);
    s.SetPosition(9);
    EXPECT_EQ(s.Position(), 5);
    s.SetPosition(2);
    EXPECT_EQ(s.Position(), 3) << "0 on the grid, then raised to Min";
}

TEST(KnScroll, BoundsPullThePositionWithoutOnChange)
{
    Scroll s(nullptr);
    s.SetPosition(50);
    int changes = 0;
    s.SetOnChange([&](TObject*) { ++changes; });
    const int renders = s.renders;
    s.SetMax(10);
    EXPECT_EQ(s.Position(), 10);
    EXPECT_EQ(s.renders, renders + 1);
    s.SetMax(10);
    EXPECT_EQ(s.renders, renders + 1) << "an equal bound renders nothing";
    s.SetMin(20);
    EXPECT_EQ(s.Position(), 20) << "Max is not consulted";
    EXPECT_EQ(s.Min(), 20);
    s.SetMax(5);
    EXPECT_EQ(s.Position(), 5) << "Min is not consulted";
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(s.renders, renders + 3);
}

TEST(KnScroll, LargeAndSmallChangeRenderNothingAndZeroStepsCountAsOne)
{
    Scroll s(nullptr);
    const int renders = s.renders;
    s.SetLargeChange(-7);
    s.SetSmallChange(0);
    EXPECT_EQ(s.renders, renders);
    EXPECT_EQ(s.SmallChange(), 0) << "kept as given";
    s.SetPosition(17);
    EXPECT_EQ(s.Position(), 17) << "a grid of 1";
    s.Increment();
    EXPECT_EQ(s.Position(), 17) << "a step of 0";
    s.PageDown();
    EXPECT_EQ(s.Position(), 10);
    s.PageUp();
    EXPECT_EQ(s.Position(), 17);
}

TEST(KnScroll, StepsAtTheEndsOfTheIntegerRangeDoNotWrapAround)
{
    TKnScroll s(nullptr);
    s.SetMax(2147483647);
    s.SetMin(-2147483647 - 1);
    s.SetPosition(2147483647);
    s.SetSmallChange(10);
    s.SetLargeChange(2147483647);
    int changes = 0;
    s.SetOnChange([&](TObject*) { ++changes; });
    s.Increment();
    EXPECT_EQ(s.Position(), 2147483647);
    s.PageDown();
    EXPECT_EQ(s.Position(), 2147483647);
    EXPECT_EQ(changes, 2);
    s.SetSmallChange(-1);
    s.SetPosition(-2147483647 - 1);
    EXPECT_EQ(s.Position(), -2147483647 - 1) << "the grid of -1 takes the lowest value too";
    s.PageUp();
    EXPECT_EQ(s.Position(), -2147483647 - 1);
}

TEST(KnScroll, PicturesRenderOnlyWhenTheOrientationUsesThem)
{
    Scroll s(nullptr);
    auto picture = Frames(10, 10, { clRed });
    const int renders = s.renders;
    s.SetPic_Up(*picture);
    s.SetPic_Down(*picture);
    EXPECT_EQ(s.renders, renders) << "vertical pictures on a horizontal bar";
    EXPECT_EQ(s.Pic_Up().Width(), 10) << "but stored";
    s.SetPic_Left(*picture);
    s.SetPic_Right(*picture);
    s.SetPic_Thumb(*picture);
    EXPECT_EQ(s.renders, renders + 3);
    s.SetPic_Thumb(s.Pic_Thumb());
    EXPECT_EQ(s.renders, renders + 3) << "its own picture";
    s.SetOrientation(soVertical);
    EXPECT_EQ(s.renders, renders + 4);
    s.SetPic_Left(*picture);
    EXPECT_EQ(s.renders, renders + 4);
    s.SetPic_Up(*picture);
    EXPECT_EQ(s.renders, renders + 5);
    s.SetGlyphs(2);
    s.SetThumbTrans(true);
    s.SetGlyphs(2);
    s.SetThumbTrans(true);
    s.SetOrientation(soVertical);
    EXPECT_EQ(s.renders, renders + 7);
    EXPECT_EQ(s.Width(), 160) << "width and height are not swapped";
}

// ---- Geometry -----------------------------------------------------------------------

TEST(KnScroll, PositionsAndPointsMapThroughTheTrack)
{
    TKnScroll s(nullptr);
    Skin(s);
    EXPECT_EQ(s.DecBox(), Rect(0, 0, 16, 20));
    EXPECT_EQ(s.IncBox(), Rect(124, 0, 140, 20));
    EXPECT_EQ(s.ThumbBox(), Rect(16, 0, 24, 20));
    EXPECT_EQ(s.PosToPoint(50), Point(66, 0));
    EXPECT_EQ(s.PointToPos(Point(66, 7)), 50);
    EXPECT_EQ(s.PosToPoint(100), Point(116, 0));
    EXPECT_EQ(s.PointToPos(Point(3, 0)), -13) << "not clamped";

    s.SetMax(110);
    s.SetMin(10);
    EXPECT_EQ(s.PointToPos(Point(66, 0)), 60);
    EXPECT_EQ(s.PosToPoint(60), Point(66, 0));

    // Half a pixel per unit: rounded to nearest with ties to even, and back cut toward zero.
    s.SetMin(0);
    s.SetMax(200);
    EXPECT_EQ(s.PosToPoint(1), Point(16, 0)) << "0.5 goes to 0";
    EXPECT_EQ(s.PosToPoint(3), Point(18, 0)) << "1.5 goes to 2";
    EXPECT_EQ(s.PointToPos(Point(17, 0)), 2);
    s.SetPosition(150);
    EXPECT_EQ(s.ThumbBox(), Rect(91, 0, 99, 20));
}

TEST(KnScroll, VerticalBarsUseHeightsAndTheThumbHeight)
{
    TKnScroll s(nullptr);
    s.Bevel().SetBevelType(btWindows95);
    s.SetOrientation(soVertical);
    s.SetBounds(0, 0, 24, 144);
    s.SetPic_Up(*Frames(10, 16, { clRed, clMaroon }));
    s.SetPic_Down(*Frames(10, 18, { clBlue, clNavy }));
    s.SetPic_Thumb(*Frames(10, 6, { clYellow, clOlive }));
    s.SetGlyphs(2);
    // WorkRect (2, 2, 22, 142): buttons 16 and 18 high (heights are never divided),
    // the thumb 6 high: a track of 140 - 16 - 18 - 6 = 100.
    EXPECT_EQ(s.DecBox(), Rect(2, 2, 22, 18));
    EXPECT_EQ(s.IncBox(), Rect(2, 124, 22, 142));
    EXPECT_EQ(s.PosToPoint(25), Point(2, 43));
    EXPECT_EQ(s.PointToPos(Point(0, 43)), 25);
    s.SetPosition(25);
    EXPECT_EQ(s.ThumbBox(), Rect(2, 43, 22, 49));
    EXPECT_EQ(At(s, 12, 10), clRed) << "frame 0 of each picture, stretched";
    EXPECT_EQ(At(s, 2, 130), clBlue);
    EXPECT_EQ(At(s, 21, 45), clYellow);
    EXPECT_EQ(At(s, 12, 30), clBlack) << "the track is the background";
}

TEST(KnScroll, AnEmptyRangeOrTrackKeepsTheThumbAtTheStart)
{
    TKnScroll s(nullptr);
    Skin(s);
    s.SetMax(0);
    EXPECT_EQ(s.PosToPoint(0), Point(16, 0));
    EXPECT_EQ(s.PosToPoint(50), Point(16, 0));
    EXPECT_EQ(s.PointToPos(Point(90, 0)), 0);
    s.SetMax(100);
    s.SetBounds(0, 0, 40, 20); // 40 - 32 - 8: no room
    s.RepaintAll();
    EXPECT_EQ(s.PointToPos(Point(30, 0)), 0);
    s.SetBounds(0, 0, 20, 20); // the buttons overlap
    s.RepaintAll();
    EXPECT_EQ(s.PointToPos(Point(30, 0)), 0);
    EXPECT_EQ(s.PosToPoint(100), Point(-4, 0)) << "the track's formula, negative room and all";
}

TEST(KnScroll, TheWholeIntegerRangeMapsWithoutOverflow)
{
    TKnScroll s(nullptr);
    Skin(s);
    s.SetMax(2147483647);
    s.SetMin(-2147483647 - 1);
    EXPECT_EQ(s.PosToPoint(-2147483647 - 1), Point(16, 0));
    EXPECT_EQ(s.PosToPoint(2147483647), Point(116, 0));
    EXPECT_EQ(s.PosToPoint(0), Point(66, 0));
    EXPECT_EQ(s.PointToPos(Point(16, 0)), -2147483647 - 1);
    EXPECT_GE(s.PointToPos(Point(116, 0)), 2147483646);
    EXPECT_EQ(s.PointToPos(Point(1000000, 0)), 2147483647) << "beyond the range: the end of the integers";
    EXPECT_EQ(s.PointToPos(Point(-1000000, 0)), -2147483647 - 1);
    s.SetMin(-5);
    s.SetMax(-2147483647 - 1); // a reversed range
    s.SetPosition(0);
    EXPECT_EQ(s.Position(), -2147483647 - 1);
    EXPECT_EQ(s.ThumbBox(), Rect(116, 0, 124, 20));
}

// ---- Painting -----------------------------------------------------------------------

TEST(KnScroll, ButtonsAndThumbAreStretchedIntoTheirBoxes)
{
    TKnScroll s(nullptr);
    Skin(s);
    s.SetPosition(50);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(0, 0, 16, 20), clRed), 320);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(124, 0, 140, 20), clBlue), 320);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), clYellow), 160);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(16, 0, 124, 20), kTrack), 100 * 20);

    // An empty decrement picture keeps a box of width 0: the track starts at 0.
    s.SetPic_Left(TBitmap());
    EXPECT_EQ(s.DecBox(), Rect(0, 0, 0, 20));
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(0, 0, 16, 20), clRed), 0);
    EXPECT_EQ(s.ThumbBox().Left, 58) << "a track of 116 pixels";
}

TEST(KnScroll, FramesAreHalvesCutForTheNormalAndThePressedState)
{
    Scroll s(nullptr);
    Skin(s);
    s.SetPic_Left(*Frames(16, 20, { clRed, clMaroon }));
    s.SetPic_Right(*Frames(16, 20, { clBlue, clNavy }));
    s.SetPic_Thumb(*Frames(8, 20, { clYellow, clOlive }));
    s.SetGlyphs(2);
    s.SetPosition(50);
    EXPECT_EQ(s.DecBox(), Rect(0, 0, 16, 20));
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(0, 0, 16, 20), clRed), 320);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), clYellow), 160);

    s.MouseDown(mbLeft, {}, 5, 5);
    EXPECT_EQ(s.Event(), seDecClick);
    EXPECT_EQ(s.Position(), 49);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(0, 0, 16, 20), clMaroon), 320) << "the pressed frame";
    EXPECT_EQ(At(s, 130, 5), clBlue);
    s.MouseUp(mbLeft, {}, 5, 5);
    EXPECT_EQ(At(s, 5, 5), clRed);

    // Pressing the thumb renders nothing by itself; the drag's first move shows the pressed frame.
    const int renders = s.renders;
    s.MouseDown(mbLeft, {}, 70, 5);
    EXPECT_EQ(s.Event(), seDragThumb);
    EXPECT_EQ(s.renders, renders);
    s.MouseMove({}, 80, 5);
    EXPECT_EQ(s.Position(), 59);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(75, 0, 83, 20), clOlive), 160);
    s.MouseUp(mbLeft, {}, 80, 5);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(75, 0, 83, 20), clYellow), 160);
}

TEST(KnScroll, MoreThanTwoGlyphsNarrowTheBoxesButTheFramesStayHalves)
{
    TKnScroll s(nullptr);
    Skin(s);
    // Frames 15 wide with a white first column, boxes 30 div 3 = 10 wide.
    auto left = Frames(15, 20, { clRed, clMaroon });
    left->Canvas().Brush().SetColor(clWhite);
    left->Canvas().FillRect(Rect(0, 0, 1, 20));
    s.SetPic_Left(*left);
    s.SetGlyphs(3);
    EXPECT_EQ(s.DecBox(), Rect(0, 0, 10, 20));
    EXPECT_EQ(At(s, 0, 5), clWhite);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(1, 0, 10, 20), clRed), 180) << "frame 0 squeezed into 10 columns";
    EXPECT_EQ(s.ThumbBox(), Rect(10, 0, 12, 20)) << "the thumb narrowed too";
    EXPECT_EQ(At(s, 12, 5), kTrack);
    s.SetGlyphs(0);
    EXPECT_EQ(s.NumGlyph(), 0);
    EXPECT_EQ(s.DecBox(), Rect(0, 0, 30, 20)) << "0 counts as 1: the whole picture";
    EXPECT_EQ(At(s, 20, 5), clMaroon);
}

TEST(KnScroll, ATransparentThumbIsDrawnUnstretchedAndLeavesItsPictureAlone)
{
    TKnScroll s(nullptr);
    Skin(s);
    // An 8 x 6 thumb: fuchsia round a green middle.
    auto thumb = Frames(8, 6, { clFuchsia });
    thumb->Canvas().Brush().SetColor(clGreen);
    thumb->Canvas().FillRect(Rect(2, 2, 6, 4));
    s.SetPic_Thumb(*thumb);
    s.SetThumbTrans(true);
    s.SetPosition(50);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), clGreen), 8);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), kTrack), 160 - 8);
    EXPECT_FALSE(s.Pic_Thumb().Transparent()) << "drawing does not change the picture";

    s.SetThumbTrans(false);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), kTrack), 0) << "stretched and opaque again";
    EXPECT_GT(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), clFuchsia), 100);

    // The same with frames: the pressed frame keeps its own key too.
    s.SetPic_Thumb(*Frames(8, 6, { clFuchsia, clGreen }));
    s.SetGlyphs(2);
    s.SetThumbTrans(true);
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(66, 0, 74, 20), kTrack), 160);
    s.SetPic_Left(*Frames(16, 20, { clFuchsia }));
    EXPECT_EQ(test::CountColor(s.Backup(), Rect(0, 0, 8, 20), clFuchsia), 160)
        << "the shared frame bitmap carries no key into the next button";
}

// ---- The mouse and the repeat timer ------------------------------------------------------

TEST_F(FormTest, KnScrollHoldingAnArrowStepsEveryTenthOfASecond)
{
    auto* s = new Scroll(&Form());
    s->SetParent(&Form());
    s->SetLeft(10);
    s->SetTop(10);
    Skin(*s);
    s->SetSmallChange(5);
    int changes = 0, downs = 0;
    s->SetOnChange([&](TObject*) { ++changes; });
    s->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++downs; });
    const TPoint arrow = Screen({ 10 + 130, 10 + 10 });
    Headless().MouseMove(arrow);
    Headless().MouseDown(arrow);
    Application().ProcessMessages();
    EXPECT_EQ(s->Position(), 5);
    EXPECT_EQ(s->Event(), seIncClick);
    Application().AdvanceTime(99);
    EXPECT_EQ(s->Position(), 5);
    Application().AdvanceTime(1);
    EXPECT_EQ(s->Position(), 10);
    Application().AdvanceTime(300);
    EXPECT_EQ(s->Position(), 25);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(downs, 5) << "OnMouseDown fires at every tick";
    Headless().MouseUp(arrow);
    Application().ProcessMessages();
    EXPECT_EQ(s->Event(), seNone);
    EXPECT_FALSE(detail::RepeatTimer()->Enabled());
    Application().AdvanceTime(500);
    EXPECT_EQ(s->Position(), 25);

    // At Max the position stays and OnChange still fires at every tick.
    s->SetPosition(100);
    changes = 0;
    const int renders = s->renders;
    Headless().MouseDown(arrow);
    Application().ProcessMessages();
    Application().AdvanceTime(200);
    EXPECT_EQ(s->Position(), 100);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(s->renders, renders + 3) << "each asks for Max + 5, which is another value, then clamps";
    Headless().MouseUp(arrow);
    Application().ProcessMessages();
}

TEST_F(FormTest, KnScrollHoldingTheTrackPagesUntilTheThumbReachesThePointerThenDrags)
{
    auto* s = new Scroll(&Form());
    s->SetParent(&Form());
    s->SetLeft(10);
    s->SetTop(10);
    Skin(*s);
    s->SetLargeChange(10);
    const TPoint track = Screen({ 10 + 80, 10 + 10 });
    Headless().MouseMove(track);
    Headless().MouseDown(track);
    Application().ProcessMessages();
    EXPECT_EQ(s->Event(), sePageDown);
    EXPECT_EQ(s->Position(), 10);
    std::vector<std::int32_t> positions;
    for (int tick = 0; tick < 7; ++tick) {
        Application().AdvanceTime(100);
        positions.push_back(s->Position());
    }
    EXPECT_EQ(positions, (std::vector<std::int32_t> { 20, 30, 40, 50, 60, 60, 60 }));
    EXPECT_EQ(s->ThumbBox(), Rect(76, 0, 84, 20));
    EXPECT_EQ(s->Event(), seDragThumb);
    EXPECT_TRUE(s->ThumbDragging());
    EXPECT_EQ(s->DragOffset(), Point(4, 10));

    // The drag follows the pointer, one render per move.
    const int renders = s->renders;
    Headless().MouseMove(Screen({ 10 + 90, 10 + 30 }));
    Application().ProcessMessages();
    EXPECT_EQ(s->Position(), 70);
    EXPECT_EQ(s->renders, renders + 1);
    Headless().MouseMove(Screen({ 10 + 500, 10 + 30 }));
    Application().ProcessMessages();
    EXPECT_EQ(s->Position(), 100);
    Headless().MouseUp(Screen({ 10 + 500, 10 + 30 }));
    Application().ProcessMessages();
    EXPECT_FALSE(s->ThumbDragging());
    Headless().MouseMove(Screen({ 10 + 20, 10 + 30 }));
    Application().ProcessMessages();
    EXPECT_EQ(s->Position(), 100) << "no drag after the release";

    // Page up from the other side; a press on the thumb's right edge does nothing.
    Application().AdvanceTime(1000);
    Headless().MouseDown(Screen({ 10 + 30, 10 + 5 }));
    Headless().MouseUp(Screen({ 10 + 30, 10 + 5 }));
    Application().ProcessMessages();
    EXPECT_EQ(s->Position(), 90);
    s->MouseDown(mbLeft, {}, s->ThumbBox().Right, 5);
    EXPECT_EQ(s->Event(), seNone);
    EXPECT_EQ(s->Position(), 90);
    s->MouseDown(mbRight, {}, 130, 5);
    EXPECT_EQ(s->Position(), 90) << "the right button steps nothing";
    s->MouseUp(mbRight, {}, 130, 5);
}

TEST_F(FormTest, KnScrollTheRepeatServesTheBarPressedLastAndAnyReleaseStopsIt)
{
    auto* a = new Scroll(&Form());
    a->SetParent(&Form());
    Skin(*a);
    auto* b = new Scroll(&Form());
    b->SetParent(&Form());
    b->SetTop(40);
    Skin(*b);
    a->MouseDown(mbLeft, {}, 130, 5);
    b->MouseDown(mbLeft, {}, 130, 5);
    EXPECT_EQ(detail::RepeatClient(), b);
    a->MouseUp(mbLeft, {}, 130, 5);
    EXPECT_FALSE(detail::RepeatTimer()->Enabled());
    EXPECT_EQ(a->Position(), 1);
    EXPECT_EQ(b->Position(), 1);
    b->MouseUp(mbLeft, {}, 130, 5);
}

TEST_F(FormTest, KnScrollFreedWhileTheRepeatServesItUnhooksTheTimer)
{
    auto* s = new Scroll(&Form());
    s->SetParent(&Form());
    Skin(*s);
    int changes = 0;
    s->SetOnChange([&](TObject*) {
        if (++changes == 3)
            delete s; // from a tick
    });
    const TPoint arrow = Screen({ 130, 5 });
    Headless().MouseMove(arrow);
    Headless().MouseDown(arrow);
    Application().ProcessMessages();
    Application().AdvanceTime(1000);
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(detail::RepeatTimer()->Enabled());
    EXPECT_FALSE(detail::RepeatTimer()->OnTimer());
    EXPECT_EQ(detail::RepeatClient(), nullptr);
    Application().SetCaptureControl(nullptr);
    Application().SetButtonsDown(0);

    // Freed while pressed, from nowhere near the timer.
    auto* t = new Scroll(&Form());
    t->SetParent(&Form());
    Skin(*t);
    t->MouseDown(mbLeft, {}, 130, 5);
    delete t;
    Application().AdvanceTime(1000);
    EXPECT_FALSE(detail::RepeatTimer()->OnTimer());

    // A bar the timer does not serve leaves it alone.
    auto* u = new Scroll(&Form());
    u->SetParent(&Form());
    Skin(*u);
    auto* v = new Scroll(&Form());
    v->SetParent(&Form());
    Skin(*v);
    u->MouseDown(mbLeft, {}, 130, 5);
    delete v;
    EXPECT_TRUE(detail::RepeatTimer()->Enabled());
    u->MouseUp(mbLeft, {}, 130, 5);
}

TEST(KnScroll, FreedByOnChangeDuringAPressOrADragItIsNotTouchedAgain)
{
    // Under the sanitizers a touch of the freed bar fails the test.
    for (int x : { 5, 130, 80 }) {
        TForm form(nullptr);
        auto* s = new Scroll(&form);
        Skin(*s);
        bool downFired = false;
        s->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { downFired = true; });
        s->SetOnChange([&](TObject*) { delete s; });
        s->MouseDown(mbLeft, {}, x, 5);
        EXPECT_FALSE(downFired) << x;
        EXPECT_EQ(detail::RepeatClient(), nullptr);
    }
    TForm form(nullptr);
    auto* s = new Scroll(&form);
    Skin(*s);
    s->MouseDown(mbLeft, {}, 20, 5);
    s->SetOnChange([&](TObject*) { delete s; });
    s->MouseMove({}, 60, 5);
    EXPECT_EQ(form.ComponentCount(), 0);
}

namespace {

LRESULT Wheel(TControl& c, std::int32_t delta)
{
    const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(delta));
    return c.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(std::uint32_t { word } << 16), 0);
}

} // namespace

TEST(KnScroll, TheWheelStepsAsTheArrowsDoAwayFromTheUserTowardMin)
{
    TForm form(nullptr);
    auto* s = new Scroll(&form);
    Skin(*s);
    s->SetSmallChange(5);
    s->SetPosition(50);
    int changes = 0;
    s->SetOnChange([&](TObject*) { ++changes; });
    EXPECT_EQ(Wheel(*s, -120), 1);
    EXPECT_EQ(s->Position(), 55);
    EXPECT_EQ(Wheel(*s, 240), 1); // two notches away
    EXPECT_EQ(s->Position(), 45);
    EXPECT_EQ(changes, 2) << "one OnChange a turn";
    EXPECT_EQ(Wheel(*s, 60), 1) << "part of a notch is taken and moves nothing";
    EXPECT_EQ(s->Position(), 45);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Wheel(*s, 120 * 20), 1);
    EXPECT_EQ(s->Position(), 0) << "clamped to Min";
    EXPECT_EQ(Wheel(*s, -32760), 1);
    EXPECT_EQ(s->Position(), 100) << "clamped to Max";
}

TEST(KnScroll, ADisabledBarOrOneInTheDesignerLeavesTheWheelToItsParent)
{
    TForm form(nullptr);
    auto* s = new Scroll(&form);
    Skin(*s);
    s->SetPosition(50);
    s->SetEnabled(false);
    EXPECT_EQ(Wheel(*s, -120), 0);
    EXPECT_EQ(s->Position(), 50);
    s->SetEnabled(true);
    s->SetDesigning(true);
    EXPECT_EQ(Wheel(*s, -120), 0);
    EXPECT_EQ(s->Position(), 50);
}

TEST(KnScroll, FreedByOnChangeOnAWheelTurnItIsNotTouchedAgain)
{
    TForm form(nullptr);
    auto* s = new Scroll(&form);
    Skin(*s);
    s->SetOnChange([&](TObject*) { delete s; });
    EXPECT_EQ(Wheel(*s, -120), 1);
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(KnScroll, MadeBeforeItsUnitStartsSaysWhatToCreate)
{
    FinalizeKnCtrls();
    EXPECT_EQ(detail::RepeatTimer(), nullptr);
    EXPECT_EQ(detail::GlyphFrame(), nullptr);
    EXPECT_EQ(FindClass("TKnScroll"), nullptr);
    std::string message = test::MessageOf([] { TKnScroll s(nullptr); });
    InitializeKnCtrls();
    EXPECT_NE(message.find("plx::TPackageScope"), std::string::npos) << message;
    TKnScroll again(nullptr);
    EXPECT_NE(detail::RepeatTimer(), nullptr);
    EXPECT_EQ(detail::RepeatTimer()->Interval(), 100u);
    EXPECT_NE(detail::GlyphFrame(), nullptr);
    EXPECT_FALSE(detail::RepeatTimer()->Enabled());
    EXPECT_NE(FindClass("TKnScroll"), nullptr);
    EXPECT_NE(FindClass("TApples"), nullptr);
    EXPECT_NE(FindClass("TBCBitmap"), nullptr);
}

// ---- Form files ---------------------------------------------------------------------

TEST(KnScroll, RoundTripsWithPicturesAndValuesKeptAsGiven)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* s = new TKnScroll(&form);
    s->SetName("S");
    s->SetParent(&form);
    s->SetPic_Left(*Frames(8, 12, { clRed, clMaroon }));
    s->SetPic_Thumb(*Frames(6, 12, { clYellow, clOlive }));
    s->SetMax(500);
    s->SetMin(-20);
    s->SetSmallChange(0);
    s->SetPosition(333);
    s->SetLargeChange(25);
    s->SetGlyphs(0);
    s->SetThumbTrans(true);
    s->SetOrientation(soVertical);
    s->Background().SetStyle(bgGradient);
    const std::string text = test::ExpectRoundTrip(form);
    for (const char* line : { "Max = 500", "Min = -20", "Position = 333", "LargeChange = 25", "SmallChange = 0",
             "NumGlyph = 0", "TransparentThumb = True", "Orientation = soVertical", "Pic_Left.Data = {",
             "Pic_Thumb.Data = {" })
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("Pic_Up"), std::string::npos) << "empty pictures are left out";
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    auto* read = dynamic_cast<TKnScroll*>(copy->FindComponent("S"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Position(), 333);
    EXPECT_EQ(read->Pic_Left().Width(), 16);

    const std::string defaults = WriteComponentText(TKnScroll(nullptr));
    EXPECT_EQ(defaults.find("Max"), std::string::npos) << defaults;
    EXPECT_EQ(defaults.find("NumGlyph"), std::string::npos);
}

TEST(KnScroll, HostileFormValuesGetTheReadersError)
{
    auto read = [](const std::string& line) {
        return test::MessageOf([&] {
            std::unique_ptr<TComponent> c(ReadComponentFromText("object S: TKnScroll\n  " + line + "\nend\n", nullptr));
        });
    };
    EXPECT_NE(read("NumGlyph = 256").find("out of range"), std::string::npos);
    EXPECT_NE(read("NumGlyph = -1").find("out of range"), std::string::npos);
    EXPECT_NE(read("Orientation = soDiagonal").find("not a value of TKnScrollOrientation"), std::string::npos);
    EXPECT_NE(read("Position = 99999999999").find("out of range"), std::string::npos);
    EXPECT_NE(read("Pic_Thumb.Data = {424D0000}").find("Pic_Thumb"), std::string::npos);
    EXPECT_NE(read("Bevel.Size = -3").find("out of range"), std::string::npos);

    // Huge sizes read, render nothing and answer the geometry.
    std::unique_ptr<TComponent> c(ReadComponentFromText(
        "object S: TKnScroll\n  Width = 2147483647\n  Height = 2147483647\n  Min = -2147483648\n  NumGlyph = 255\nend\n",
        nullptr));
    auto& s = dynamic_cast<TKnScroll&>(*c);
    s.RepaintAll();
    EXPECT_TRUE(s.Backup().Empty());
    EXPECT_EQ(s.ThumbBox(), Rect(0, 0, 0, 0));
}
