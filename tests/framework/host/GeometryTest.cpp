// Where controls lie on their form: kept until geometry changes, exact at any
// depth, and without wrapping for any int32 coordinate.
#include "FrameworkFixture.h"

#include "framework/host/ExtCtrls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using namespace plx;
using plx::test::FormTest;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// A plain panel: no bevel, so painting a huge one fills and draws no lines.
TPanel* AddPanel(TComponent* owner, TWinControl* parent, TRect bounds)
{
    auto* p = new TPanel(owner);
    p->SetBevelOuter(bvNone);
    p->SetParent(parent);
    p->SetBoundsRect(bounds);
    return p;
}

} // namespace

TEST_F(FormTest, PlacementFollowsMovesHidingAndNewParents)
{
    auto* box = AddPanel(&Form(), &Form(), Rect(10, 10, 110, 110));
    auto* inner = AddPanel(&Form(), box, Rect(5, 5, 205, 25));
    EXPECT_EQ(inner->FormOrigin(), Point(15, 15));
    EXPECT_EQ(inner->VisibleRectInForm(), Rect(15, 15, 110, 35)) << "clipped to the box";
    box->SetLeft(40);
    EXPECT_EQ(inner->FormOrigin(), Point(45, 15));
    EXPECT_EQ(inner->VisibleRectInForm(), Rect(45, 15, 140, 35));
    box->SetWidth(20);
    EXPECT_EQ(inner->VisibleRectInForm(), Rect(45, 15, 60, 35));
    box->Hide();
    EXPECT_FALSE(inner->Showing());
    EXPECT_TRUE(inner->VisibleRectInForm().IsEmpty());
    box->Show();
    EXPECT_TRUE(inner->Showing());
    EXPECT_EQ(inner->ClientToScreen({ 0, 0 }), Point(145, 65));

    TForm other(nullptr);
    other.SetBounds(500, 400, 100, 100);
    box->SetParent(&other);
    EXPECT_EQ(inner->ParentForm(), &other);
    EXPECT_EQ(inner->ClientToScreen({ 0, 0 }), Point(545, 415));
    box->SetParent(nullptr);
    EXPECT_EQ(inner->ParentForm(), nullptr);
    EXPECT_EQ(inner->FormOrigin(), Point(5, 5)) << "relative to the top of its chain";
    box->SetParent(&Form());
    EXPECT_EQ(inner->ParentForm(), &Form());
}

TEST_F(FormTest, DeepNestingIsPlacedAndPaintedExactly)
{
    // A chain of panels, each at (1, 0) inside the one before.
    constexpr int kDepth = 2000;
    std::vector<TPanel*> chain;
    TWinControl* parent = &Form();
    for (int i = 0; i < kDepth; ++i) {
        chain.push_back(AddPanel(&Form(), parent, Rect(i == 0 ? -1900 : 1, 0, 2100, 50)));
        chain.back()->SetColor(i % 2 ? clRed : clBlue);
        parent = chain.back();
    }
    TPanel* deepest = chain.back();
    EXPECT_EQ(deepest->FormOrigin(), Point(99, 0));
    EXPECT_EQ(deepest->VisibleRectInForm(), Rect(99, 0, 200, 50)) << "clipped by the second panel's right edge";
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(150, 10), clRed);
    EXPECT_EQ(Form().Surface()->GetColor(98, 10), clBlue);
    chain.front()->SetTop(20);
    EXPECT_EQ(deepest->FormOrigin(), Point(99, 20));
    EXPECT_EQ(deepest->ClientToScreen({ 0, 0 }), Point(199, 70));
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(150, 10), 0xC0C0C0) << "the form shows where the chain was";
    EXPECT_EQ(Form().Surface()->GetColor(150, 30), clRed);
    delete chain.front();
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(150, 30), 0xC0C0C0);
}

TEST_F(FormTest, AControlFreedFromAShownFormLeavesNoPicture)
{
    auto* panel = AddPanel(&Form(), &Form(), Rect(10, 10, 60, 40));
    panel->SetColor(clRed);
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(30, 25), clRed);
    delete panel;
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(30, 25), 0xC0C0C0);
}

TEST_F(FormTest, AlignmentOfHugeSizesUsesTheSpaceUpWithoutWrapping)
{
    constexpr std::int32_t kHuge = (1 << 30) + 10;
    std::vector<TPanel*> panels;
    for (TAlign align : { alTop, alBottom, alTop, alClient, alLeft }) {
        auto* p = AddPanel(&Form(), &Form(), Rect(0, 0, kHuge, kHuge));
        p->SetAlign(align);
        panels.push_back(p);
    }
    EXPECT_EQ(panels[0]->BoundsRect(), Rect(0, 0, 300, kHuge));
    EXPECT_EQ(panels[1]->BoundsRect(), Rect(0, 200 - kHuge, 300, 200));
    EXPECT_EQ(panels[2]->BoundsRect(), Rect(0, kHuge, 300, kMax)) << "the bottom edge stops at the largest coordinate";
    EXPECT_EQ(panels[3]->BoundsRect(), Rect(kHuge, kMax, kHuge, kMax)) << "no space left: empty";
    EXPECT_EQ(panels[4]->BoundsRect(), Rect(0, kMax, kHuge, kMax));
    EXPECT_TRUE(panels[2]->VisibleRectInForm().IsEmpty());
    Application().ProcessMessages();
}

TEST_F(FormTest, ControlsAtTheEndsOfTheCoordinateRange)
{
    auto* far = AddPanel(&Form(), &Form(), Rect(0, 0, 10, 10));
    far->SetBounds(kMax - 5, kMin, kMax, kMax);
    EXPECT_EQ(far->BoundsRect(), Rect(kMax - 5, kMin, kMax, -1));
    EXPECT_TRUE(far->VisibleRectInForm().IsEmpty());
    auto* back = AddPanel(&Form(), far, Rect(0, 0, 10, 10));
    back->SetBounds(kMin, kMax, kMax, kMax);
    EXPECT_TRUE(back->VisibleRectInForm().IsEmpty());
    EXPECT_EQ(back->FormOrigin(), Point(-6, -1)) << "the sum of the two origins";
    EXPECT_EQ(back->ClientToScreen({ kMax, kMax }), Point(kMax, kMax)) << "clamped, not wrapped";
    EXPECT_EQ(back->ScreenToClient({ kMin, kMin }), Point(kMin, kMin));
    back->Invalidate();
    far->SetBounds(-100, -100, kMax, kMax); // covers the whole form
    EXPECT_EQ(far->VisibleRectInForm(), Rect(0, 0, 300, 200));
    Application().ProcessMessages();
}
