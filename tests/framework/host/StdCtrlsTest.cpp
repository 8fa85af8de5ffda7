#include "FrameworkFixture.h"

#include "color/host/Bitmap.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/StdCtrls.h"

#include <gtest/gtest.h>

using namespace plx;
using plx::test::FormTest;

TEST_F(FormTest, LabelSizesItselfToItsText)
{
    auto* label = new TLabel(&Form());
    label->SetParent(&Form());
    label->SetCaption("Hello");
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(&label->Font());
    EXPECT_EQ(label->Width(), probe.Canvas().TextWidth("Hello"));
    EXPECT_EQ(label->Height(), probe.Canvas().TextHeight("Hello"));
    label->SetCaption("");
    EXPECT_EQ(label->Height(), probe.Canvas().TextHeight("W")) << "an empty caption keeps one line";
    label->SetAlignment(taRightJustify);
    std::int32_t right = label->Left() + label->Width();
    label->SetCaption("A longer caption");
    EXPECT_EQ(label->Left() + label->Width(), right) << "right-justified labels keep their right edge";
}

TEST_F(FormTest, TransparentLabelLeavesTheBackground)
{
    Form().SetColor(clYellow);
    auto* label = new TLabel(&Form());
    label->SetParent(&Form());
    label->SetCaption("   ");
    label->SetColor(clRed);
    TBitmap picture;
    Form().RenderTo(picture);
    EXPECT_EQ(picture.Canvas().Pixels(1, 1), clRed);
    label->SetTransparent(true);
    Form().RenderTo(picture);
    EXPECT_EQ(picture.Canvas().Pixels(1, 1), clYellow);
}

TEST_F(FormTest, PanelCaptionIsCentredInsideItsFrames)
{
    auto* panel = new TPanel(&Form());
    panel->SetParent(&Form());
    panel->SetBounds(0, 0, 120, 40);
    panel->SetCaption("X");
    panel->Font().SetColor(clRed);
    TBitmap picture;
    Form().RenderTo(picture);
    // The raised frame: highlight on the top-left, shadow on the bottom-right.
    EXPECT_EQ(picture.Canvas().Pixels(0, 0), 0xFFFFFF);
    EXPECT_EQ(picture.Canvas().Pixels(119, 39), 0x808080);
    int left = 120, right = -1, top = 40, bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (picture.Canvas().Pixels(x, y) == clRed) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left) << "the caption was drawn";
    EXPECT_LE(std::abs((left + right) - 119), 3) << "centred horizontally";
    EXPECT_LE(std::abs((top + bottom) - 39), 6) << "centred vertically";
}
