#include "components/ShadowButton.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/FormFiles.h"
#include "rtl/TypInfo.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace plx;
using plx::test::BoxOf;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

constexpr TColor kFormColor = 0x336699;

TColor ShadowColor()
{
    return ColorToRGB(clBtnShadow);
}

// A hidden 120 x 50 form in kFormColor with one shadow button at (0, 0),
// 100 x 33 and without a caption.
struct ButtonOnForm {
    ButtonOnForm()
    {
        form.SetBounds(0, 0, 120, 50);
        form.SetColor(kFormColor);
        button = new TShadowButton(&form);
        button->SetParent(&form);
        button->SetCaption("");
    }
    std::unique_ptr<TBitmap> Picture() { return test::Picture(form); }

    TForm form { nullptr };
    TShadowButton* button { nullptr };
};

// The expected 120 x 50 picture: the form's colour, a shadow figure in
// clBtnShadow, then the figure in lime outlined in black.
template <class F>
std::unique_ptr<TBitmap> Expected(F figure, std::int32_t shadowAt, std::int32_t at)
{
    auto b = test::Filled(120, 50, kFormColor);
    TCanvas& c = b->Canvas();
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(ShadowColor());
    if (shadowAt >= 0)
        figure(c, shadowAt);
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clLime);
    figure(c, at);
    return b;
}

} // namespace

TEST(ShadowButton, ANewButtonHasTheDocumentedValues)
{
    TShadowButton b(nullptr);
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(b.Height(), 33);
    EXPECT_EQ(b.Caption(), "Shadow Button");
    EXPECT_EQ(b.Color(), 0x00FF00);
    EXPECT_TRUE(b.Shadow());
    EXPECT_EQ(b.Shape(), stRoundRect);
    EXPECT_TRUE(b.Border());
    EXPECT_EQ(b.BorderColor(), 0);
    EXPECT_EQ(b.Deepth(), 3);
    EXPECT_FALSE(b.Pressed());
    EXPECT_TRUE(b.OnMouseDown());
    EXPECT_TRUE(b.OnMouseMove());
    EXPECT_TRUE(b.OnMouseUp());
    // Its own caption and colour, apart from the control's.
    EXPECT_EQ(b.TControl::Caption(), "");
    b.SetColor(clRed);
    EXPECT_NE(b.TControl::Color(), clRed);
    b.SetDeepth(13);
    EXPECT_EQ(b.Deepth(), 12);
}

TEST(ShadowButton, ACircleIsTheCentredSquaresWithItsShadowDeepthAway)
{
    ButtonOnForm f;
    f.button->SetShape(stCircle);
    auto picture = f.Picture();
    EXPECT_EQ(BoxOf(*picture, Rect(0, 0, 120, 50), clBlack), Bounds(33, 0, 30, 30));
    EXPECT_EQ(BoxOf(*picture, Rect(0, 0, 120, 50), ShadowColor()).BottomRight(), TPoint(66, 33));
    auto expected = Expected([](TCanvas& c, std::int32_t at) { c.Ellipse(33 + at, at, 63 + at, 30 + at); }, 3, 0);
    EXPECT_EQ(test::FirstDifference(*picture, {}, *expected, {}, 120, 50), "");

    // Pressed: the circle lies on its shadow's place, and the shadow is gone.
    f.button->MouseDown(f.button, mbLeft, {}, 0, 0);
    picture = f.Picture();
    EXPECT_EQ(BoxOf(*picture, Rect(0, 0, 120, 50), clBlack), Bounds(36, 3, 30, 30));
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 120, 50), ShadowColor()), 0);
}

TEST(ShadowButton, EveryShapeFillsItsFigureOverItsShadow)
{
    ButtonOnForm f;
    using Figure = void (*)(TCanvas&, std::int32_t);
    const std::pair<TShapeType, Figure> cases[] = {
        { stRectangle, [](TCanvas& c, std::int32_t at) { c.Rectangle(at, at, 97 + at, 30 + at); } },
        { stSquare, [](TCanvas& c, std::int32_t at) { c.Rectangle(33 + at, at, 63 + at, 30 + at); } },
        { stRoundRect, [](TCanvas& c, std::int32_t at) { c.RoundRect(at, at, 97 + at, 30 + at, 7, 7); } },
        { stRoundSquare, [](TCanvas& c, std::int32_t at) { c.RoundRect(33 + at, at, 63 + at, 30 + at, 7, 7); } },
        { stEllipse, [](TCanvas& c, std::int32_t at) { c.Ellipse(at, at, 97 + at, 30 + at); } },
        { stCircle, [](TCanvas& c, std::int32_t at) { c.Ellipse(33 + at, at, 63 + at, 30 + at); } },
    };
    for (const auto& [shape, figure] : cases) {
        f.button->SetShape(shape);
        EXPECT_EQ(test::FirstDifference(*f.Picture(), {}, *Expected(figure, 3, 0), {}, 120, 50), "")
            << TShadowButton::ShapeTypeInfo().NameOf(shape);
    }
    // The corners are 30 div 4 = 7 across: 6 or 10 would differ.
    f.button->SetShape(stRoundRect);
    auto corners = [](std::int32_t size) {
        return Expected([size](TCanvas& c, std::int32_t at) { c.RoundRect(at, at, 97 + at, 30 + at, size, size); }, 3, 0);
    };
    EXPECT_NE(test::FirstDifference(*f.Picture(), {}, *corners(6), {}, 120, 50), "");
    EXPECT_NE(test::FirstDifference(*f.Picture(), {}, *corners(10), {}, 120, 50), "");
}

TEST(ShadowButton, DeepthZeroHidesTheShadowAndThePressShowsNothing)
{
    ButtonOnForm f;
    f.button->SetDeepth(0);
    auto up = f.Picture();
    EXPECT_EQ(test::CountColor(*up, Rect(0, 0, 120, 50), ShadowColor()), 0);
    f.button->MouseDown(f.button, mbLeft, {}, 0, 0);
    EXPECT_EQ(test::FirstDifference(*up, {}, *f.Picture(), {}, 120, 50), "");
}

TEST(ShadowButton, DisabledGreysAndNoOutlineWithoutBorder)
{
    ButtonOnForm f;
    TShadowButton& b = *f.button;
    b.SetShape(stRectangle);
    b.SetColor(clYellow);
    b.SetBorderColor(clRed);
    b.SetEnabled(false);
    auto picture = f.Picture();
    const TColor fill = ColorToGrey(clYellow), line = ColorToGrey(clRed);
    ASSERT_NE(fill, ShadowColor());
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 120, 50), fill), 95 * 28);
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 120, 50), line), 2 * 97 + 2 * 28);
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 120, 50), clYellow), 0);

    b.SetColor(clBtnFace); // a system colour is resolved before it is greyed
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 120, 50), ColorToGrey(ColorToRGB(clBtnFace))), 95 * 28);

    b.SetEnabled(true);
    b.SetColor(clLime);
    b.SetBorder(false);
    picture = f.Picture();
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 120, 50), clRed), 0);
    EXPECT_EQ(BoxOf(*picture, Rect(0, 0, 120, 50), clLime), Rect(0, 0, 97, 30));
}

TEST(ShadowButton, TheCaptionIsCentredOnTheShapeAndMovesWithThePress)
{
    ButtonOnForm f;
    TShadowButton& b = *f.button;
    b.SetShape(stRectangle);
    b.SetCaption("Press");
    b.Font().SetColor(clNavy);
    TBitmap probe;
    probe.Canvas().Font().Assign(&b.Font());
    const TSize text = probe.Canvas().TextExtent("Press");
    const TRect cell = Bounds((97 - text.cx) / 2, (30 - text.cy) / 2, text.cx, text.cy);
    TRect ink = BoxOf(*f.Picture(), Rect(0, 0, 120, 50), clNavy);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_EQ(Intersect(ink, cell), ink);
    b.MouseDown(&b, mbLeft, {}, 0, 0);
    EXPECT_EQ(BoxOf(*f.Picture(), Rect(0, 0, 120, 50), clNavy), Bounds(ink.Left + 3, ink.Top + 3, ink.Width(), ink.Height()));
}

TEST(ShadowButton, ButtonsSmallerThanTheirDepthDrawNothingOfNegativeSize)
{
    ButtonOnForm f;
    TShadowButton& b = *f.button;
    b.SetCaption("Caption");
    b.SetDeepth(12);
    for (auto shape : { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle }) {
        b.SetShape(shape);
        b.SetBounds(0, 0, 5, 40);
        auto picture = f.Picture();
        EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 120, 50), clLime), 0);
        EXPECT_EQ(test::CountColor(*picture, Rect(5, 0, 120, 50), kFormColor), 115 * 50) << "nothing beyond the button";
    }
    b.SetBounds(-2'000'000'000, -2'000'000'000, 2'100'000'000, 2'100'000'000);
    b.SetShape(stRectangle);
    EXPECT_GT(test::CountColor(*f.Picture(), Rect(0, 0, 120, 50), clLime), 0) << "a huge button shows what is visible";
}

TEST_F(FormTest, ShadowButtonPressesWithTheLeftButtonAndClicksThroughTheHost)
{
    auto* b = new TShadowButton(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 100, 33);
    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    Application().ProcessMessages();
    Headless().MouseMove(Screen({ 40, 20 }));
    Headless().MouseDown(Screen({ 40, 20 }));
    Application().ProcessMessages();
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), Bounds(10, 10, 100, 33), ShadowColor()), 0);
    Headless().MouseMove(Screen({ 45, 22 })); // moving does nothing to the press
    Application().ProcessMessages();
    EXPECT_TRUE(b->Pressed());
    Headless().MouseUp(Screen({ 45, 22 }));
    Application().ProcessMessages();
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 1);
    EXPECT_GT(test::CountColor(*test::Picture(Form()), Bounds(10, 10, 100, 33), ShadowColor()), 0);

    Headless().MouseDown(Screen({ 40, 20 }), TPlatformButton::Right);
    Application().ProcessMessages();
    EXPECT_FALSE(b->Pressed());
    Headless().MouseUp(Screen({ 40, 20 }), TPlatformButton::Right);
    Application().ProcessMessages();

    // A font change shows at once.
    b->Font().SetColor(clRed);
    EXPECT_GT(test::CountColor(*test::Picture(Form()), Bounds(10, 10, 100, 33), clRed), 10);
}

TEST_F(FormTest, ShadowButtonAnApplicationsHandlerReplacesThePress)
{
    auto* b = new TShadowButton(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 100, 33);
    int downs = 0, moves = 0;
    b->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
        ++downs;
        EXPECT_EQ(x, 30);
        EXPECT_EQ(y, 10);
    });
    b->SetOnMouseMove([&](TObject*, TShiftState, std::int32_t, std::int32_t) { ++moves; });
    Headless().MouseMove(Screen({ 40, 20 }));
    Headless().MouseDown(Screen({ 40, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(downs, 1);
    EXPECT_GT(moves, 0);
    EXPECT_FALSE(b->Pressed());
    Headless().MouseUp(Screen({ 40, 20 }));
    Application().ProcessMessages();
}

TEST(ShadowButton, FormFilesRoundTripAndRefuseHostileValues)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* b = new TShadowButton(&form);
    b->SetName("B");
    b->SetParent(&form);
    b->SetCaption("");
    b->SetShape(stCircle);
    b->SetDeepth(0);
    std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("    Caption = ''\n    Color = clLime\n    Shadow = True\n    Shape = stCircle\n    Border = True\n"
                        "    BorderColor = clBlack\n    Deepth = 0\n"),
        std::string::npos)
        << text;

    std::unique_ptr<TComponent> copy(ReadComponentFromText(
        "object G: TForm\n  object B: TShadowButton\n    Color = clRed\n  end\nend\n", nullptr));
    auto* read = dynamic_cast<TShadowButton*>(copy->FindComponent("B"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Caption(), "Shadow Button");
    EXPECT_EQ(read->Color(), clRed);
    EXPECT_EQ(read->Deepth(), 3);

    auto readAndPaint = [](const std::string& lines) { return test::ReadAndPaint("TShadowButton", lines); };
    for (const char* refused : { "    Deepth = 13\n", "    Deepth = -3\n", "    Shape = stHexagon\n", "    Shape = 2\n",
         "    Border = 1\n" })
        EXPECT_NE(readAndPaint(refused).find("Line 5"), std::string::npos) << refused;
    EXPECT_EQ(readAndPaint("    Width = 2147483647\n    Height = 2147483647\n    Shape = stRectangle\n    Deepth = 12\n"),
        "no exception");
    EXPECT_EQ(readAndPaint("    Left = -2147483648\n    Top = -2147483648\n    Width = 2147483647\n    Height = 1\n"
                           "    Caption = 'Shadow'\n    Font.Height = -2000\n"),
        "no exception");
}
