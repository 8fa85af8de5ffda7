#include "components/KnGradient.h"

#include "framework/host/FormFiles.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace plx;
using plx::test::FormTest;

namespace {

class CountedGradient : public TKnGradient {
public:
    using TKnGradient::TKnGradient;
    int renders { 0 };

protected:
    void CreateOnTmp() override
    {
        ++renders;
        TKnGradient::CreateOnTmp();
    }
};

} // namespace

TEST(KnGradient, ANewOneShowsBlackAndWhiteBandsInFourTransitions)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 144, 144);
    auto* g = new TKnGradient(&form);
    g->SetParent(&form);
    EXPECT_EQ(g->Width(), 144);
    EXPECT_EQ(g->Height(), 144);
    EXPECT_EQ(g->Gradient().ColorCount(), 4);
    EXPECT_EQ(g->Gradient().LineSize(), 2);
    auto picture = test::Picture(form);
    auto row = [&](int y) { return picture->Image().GetColor(0, y); };
    for (int y = 0; y < 144; ++y)
        ASSERT_EQ(test::CountColor(*picture, Rect(0, y, 144, y + 1), row(y)), 144) << "row " << y << " is one colour";
    // Four segments of 36 rows: black up to nearly white, back to black, twice.
    auto level = [&](int y) { return GetRValue(row(y)); };
    EXPECT_EQ(row(0), clBlack);
    EXPECT_GE(level(34), 0xF0);
    EXPECT_EQ(row(70), clBlack);
    EXPECT_GE(level(106), 0xF0);
    EXPECT_EQ(row(143), clBlack);
    for (int y = 2; y <= 34; ++y)
        ASSERT_GE(level(y), level(y - 1)) << "brighter down to row 34: " << y;
    for (int y = 36; y <= 70; ++y)
        ASSERT_LE(level(y), level(y - 1)) << "darker down to row 70: " << y;
}

TEST(KnGradient, EllipseCornersFollowColor)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 144, 144);
    auto* g = new TKnGradient(&form);
    g->SetParent(&form);
    g->Gradient().SetGradientStyle(gsEllipse);
    g->SetColor(clRed);
    EXPECT_EQ(test::Picture(form)->Image().GetColor(0, 0), clRed);
    g->SetColor(clBlue);
    auto picture = test::Picture(form);
    EXPECT_EQ(picture->Image().GetColor(0, 0), clBlue);
    EXPECT_EQ(picture->Image().GetColor(143, 143), clBlue);
    EXPECT_NE(picture->Image().GetColor(72, 72), clBlue) << "the ellipses cover the middle";
}

TEST_F(FormTest, KnGradientRendersOnlyOnChangesAndResizes)
{
    auto* g = new CountedGradient(&Form());
    g->SetParent(&Form());
    const int atStart = g->renders; // taking the form's colour renders once
    Application().ProcessMessages();
    EXPECT_EQ(g->renders, atStart) << "the picture already has the size";

    g->Invalidate();
    Form().InvalidateFormRect(Rect(0, 0, 300, 200));
    Application().ProcessMessages();
    EXPECT_EQ(g->renders, atStart) << "an expose copies";

    g->SetBounds(0, 0, 100, 60);
    EXPECT_EQ(g->renders, atStart);
    Application().ProcessMessages();
    EXPECT_EQ(g->renders, atStart + 1) << "a resize renders at the next paint";

    g->Gradient().SetColor1(clBlack);
    EXPECT_EQ(g->renders, atStart + 1) << "an equal value changes nothing";
    g->Gradient().SetColor1(clRed);
    EXPECT_EQ(g->renders, atStart + 2);
    TGradient same;
    same.Assign(&g->Gradient());
    g->SetGradient(same);
    EXPECT_EQ(g->renders, atStart + 3) << "assigning an identical gradient still renders once";
    g->SetGradient(g->Gradient());
    EXPECT_EQ(g->renders, atStart + 3);
    Application().ProcessMessages();
    EXPECT_EQ(g->renders, atStart + 3);
    EXPECT_EQ(Form().Surface()->GetColor(50, 0), clRed);
}

TEST(KnGradient, RoundTripsAndRendersOnceWhenRead)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* g = new TKnGradient(&form);
    g->SetName("G");
    g->SetParent(&form);
    g->Gradient().SetLineDir(diVertical);
    g->SetColor(clYellow);
    const std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("    Gradient.GradientStyle = gsLine\n    Gradient.LineSize = 2\n    Gradient.Color1 = clBlack\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("Gradient.LineDirection = diVertical"), std::string::npos);
    EXPECT_NE(text.find("    Color = clYellow\n"), std::string::npos);

    // Hostile values: the reader's error, or values the painters clamp.
    auto read = [&](const std::string& lines) {
        return test::MessageOf([&] {
            std::unique_ptr<TComponent> r(
                ReadComponentFromText("object F: TForm\n  object G: TKnGradient\n" + lines + "  end\nend\n", nullptr));
            auto picture = test::Picture(dynamic_cast<TForm&>(*r));
        });
    };
    EXPECT_NE(read("    Gradient.GradientStyle = gsSpiral\n").find("Line 3"), std::string::npos);
    EXPECT_EQ(read("    Gradient.LineSize = -5\n    Gradient.ColorCount = 200\n"), "no exception");
    EXPECT_EQ(read("    Width = 2147483647\n    Height = 2147483647\n"), "no exception");
}
