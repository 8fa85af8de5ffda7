#include "components/SImageBtn.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "paint/GrafMan.h"
#include "rtl/TypInfo.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

using namespace plx;
using plx::test::BoxOf;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

constexpr TColor kFormColor = 0x336699;
constexpr TColor kSquare = 0xFF0000; // blue
constexpr TColor kKey = clRed;

TColor Face()
{
    return ColorToRGB(clBtnFace);
}

TColor ShadowColor(std::int32_t darkness = 40)
{
    return DarkenColor(clBtnFace, darkness);
}

// A 32 x 32 picture: red all round (its top-left pixel) and a square of
// `color` over (8, 8)-(24, 24).
std::unique_ptr<TBitmap> Picture32(TColor color = kSquare)
{
    auto b = test::Filled(32, 32, kKey);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect(Rect(8, 8, 24, 24));
    return b;
}

// A hidden form in kFormColor with one 60 x 60 image button at (0, 0) holding
// Picture32 and no caption.
struct ButtonOnForm {
    ButtonOnForm()
    {
        form.SetBounds(0, 0, 100, 80);
        form.SetColor(kFormColor);
        button = new TSImageBtn(&form);
        button->SetParent(&form);
        button->SetBounds(0, 0, 60, 60);
        button->SetImage(*Picture32());
    }
    std::unique_ptr<TBitmap> Picture() { return test::Picture(form); }

    TForm form { nullptr };
    TSImageBtn* button { nullptr };
};

// The expected face of a 60 x 60 button without caption showing Picture32 with
// its square at (x, y), and the shadow's square at (sx, sy) unless sx < 0.
std::unique_ptr<TBitmap> Face60(std::int32_t x, std::int32_t y, std::int32_t sx, std::int32_t sy, TColor square = kSquare)
{
    auto b = test::Filled(60, 60, Face());
    if (sx >= 0) {
        b->Canvas().Brush().SetColor(ShadowColor());
        b->Canvas().FillRect(Bounds(sx, sy, 16, 16));
    }
    b->Canvas().Brush().SetColor(square);
    b->Canvas().FillRect(Bounds(x, y, 16, 16));
    return b;
}

} // namespace

TEST(SImageBtn, ANewButtonHasTheDocumentedValuesAndDrivesItsPressThroughItsEvents)
{
    TSImageBtn b(nullptr);
    EXPECT_EQ(b.Width(), 25);
    EXPECT_EQ(b.Height(), 26);
    EXPECT_TRUE(b.Shadow());
    EXPECT_EQ(b.Deepth(), 2);
    EXPECT_TRUE(b.Image().Empty());
    EXPECT_EQ(b.TransparentColor(), 0);
    EXPECT_EQ(b.Space(), 2);
    EXPECT_EQ(b.ShadowsDarkness(), 40);
    EXPECT_TRUE(b.ShowMouseFocus());
    EXPECT_TRUE(b.FocusedImage().Empty());
    EXPECT_EQ(b.Caption(), "");
    EXPECT_TRUE(b.OnMouseDown());
    EXPECT_TRUE(b.OnMouseUp());
    EXPECT_FALSE(b.Pressed());

    // Only the left button presses.
    b.OnMouseDown()(&b, mbRight, {}, 1, 1);
    EXPECT_FALSE(b.Pressed());
    b.OnMouseDown()(&b, mbLeft, {}, 1, 1);
    EXPECT_TRUE(b.Pressed());
    b.OnMouseUp()(&b, mbMiddle, {}, 1, 1);
    EXPECT_TRUE(b.Pressed());
    b.OnMouseUp()(&b, mbLeft, {}, 1, 1);
    EXPECT_FALSE(b.Pressed());

    // Its drag-over event keeps its published spelling.
    const auto& properties = TSImageBtn::StaticClassInfo().Properties();
    EXPECT_EQ(std::count_if(properties.begin(), properties.end(), [](const TPropInfo& p) { return p.Name == "OnDragOVer"; }), 1);
    EXPECT_EQ(std::count_if(properties.begin(), properties.end(), [](const TPropInfo& p) { return p.Name == "OnDragOver"; }), 0);
}

TEST(SImageBtn, ThePictureIsCentredAboveTheCaptionWithItsShadowDeepthAway)
{
    ButtonOnForm f;
    TSImageBtn& b = *f.button;
    // Without a caption the empty text still takes its line.
    TBitmap probe;
    probe.Canvas().Font().Assign(&b.Font());
    const std::int32_t line = probe.Canvas().TextHeight("");
    const std::int32_t top = (60 - line - 32) / 2;
    auto expected = Face60(14 + 8, top + 8, 16 + 8, top + 2 + 8);
    EXPECT_EQ(test::FirstDifference(*f.Picture(), {}, *expected, {}, 60, 60), "");

    // A 13-pixel-high caption: picture at (14, 7), caption at 41.
    b.Font().SetHeight(13);
    b.Font().SetColor(clBlack);
    probe.Canvas().Font().Assign(&b.Font());
    ASSERT_EQ(probe.Canvas().TextHeight("Go"), 13);
    b.SetCaption("Go");
    auto picture = f.Picture();
    EXPECT_EQ(BoxOf(*picture, Rect(0, 0, 60, 60), kSquare), Bounds(14 + 8, 7 + 8, 16, 16));
    const TRect text = BoxOf(*picture, Rect(0, 41, 60, 60), clBlack);
    const TRect shadow = BoxOf(*picture, Rect(0, 41, 60, 60), ShadowColor());
    ASSERT_FALSE(text.IsEmpty());
    EXPECT_GE(text.Top, 41);
    EXPECT_LE(text.Bottom, 41 + 13);
    const std::int32_t textWidth = probe.Canvas().TextWidth("Go");
    EXPECT_GE(text.Left, (60 - textWidth) / 2);
    EXPECT_LE(text.Right, (60 - textWidth) / 2 + textWidth);
    EXPECT_EQ(shadow.Right, text.Right + 2) << "the caption's shadow lies Deepth right and down";
    EXPECT_EQ(shadow.Bottom, text.Bottom + 2);

    // Space moves the caption only.
    b.SetSpace(10);
    EXPECT_EQ(BoxOf(*f.Picture(), Rect(0, 0, 60, 60), clBlack), Bounds(text.Left, text.Top + 8, text.Width(), text.Height()));
    EXPECT_EQ(BoxOf(*f.Picture(), Rect(0, 0, 60, 60), kSquare), Bounds(22, 15, 16, 16));
}

TEST(SImageBtn, PressingMovesPictureAndCaptionOntoTheShadow)
{
    ButtonOnForm f;
    TSImageBtn& b = *f.button;
    b.SetDeepth(5);
    const std::int32_t top = (60 - b.Canvas().TextHeight("") - 32) / 2;
    b.OnMouseDown()(&b, mbLeft, {}, 0, 0);
    auto expected = Face60(22 + 5, top + 8 + 5, -1, -1);
    EXPECT_EQ(test::FirstDifference(*f.Picture(), {}, *expected, {}, 60, 60), "") << "no shadow while pressed";

    // With Deepth 0 the shadow hides under the picture and the press shows nothing.
    b.OnMouseUp()(&b, mbLeft, {}, 0, 0);
    b.SetDeepth(0);
    auto up = f.Picture();
    b.OnMouseDown()(&b, mbLeft, {}, 0, 0);
    EXPECT_EQ(test::FirstDifference(*up, {}, *f.Picture(), {}, 60, 60), "");
    EXPECT_EQ(test::FirstDifference(*up, {}, *Face60(22, top + 8, -1, -1), {}, 60, 60), "");

    // Deepth is at most 12.
    b.SetDeepth(200);
    EXPECT_EQ(b.Deepth(), 12);
}

TEST(SImageBtn, TheTopLeftColourIsTransparentAndLeftOutOfTheShadow)
{
    ButtonOnForm f;
    TSImageBtn& b = *f.button;
    EXPECT_EQ(b.TransparentColor(), kKey);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), kKey), 0);
    const TBitmap& shadow = b.ShadowImage();
    ASSERT_EQ(shadow.Width(), 32);
    EXPECT_EQ(test::CountColor(shadow, Rect(0, 0, 32, 32), clWhite), 32 * 32 - 16 * 16);
    EXPECT_EQ(test::CountColor(shadow, Rect(0, 0, 32, 32), ShadowColor()), 16 * 16);
    EXPECT_FALSE(b.Image().Transparent()) << "drawing leaves the application's picture as it was";

    // The shadow is cut again for a new darkness, not for a new transparent colour.
    b.SetTrans(kSquare);
    EXPECT_EQ(test::CountColor(b.ShadowImage(), Rect(0, 0, 32, 32), ShadowColor()), 16 * 16);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), kSquare), 0);
    b.SetDarkness(100);
    EXPECT_EQ(test::CountColor(b.ShadowImage(), Rect(0, 0, 32, 32), ShadowColor(100)), 32 * 32 - 16 * 16);

    // A new picture takes its own top-left colour.
    auto green = test::Filled(10, 10, clLime);
    b.SetImage(*green);
    EXPECT_EQ(b.TransparentColor(), clLime);
    EXPECT_EQ(test::CountColor(b.ShadowImage(), Rect(0, 0, 10, 10), clWhite), 100);
}

TEST(SImageBtn, AnEmptiedPictureLeavesNoGhost)
{
    ButtonOnForm f;
    TSImageBtn& b = *f.button;
    ASSERT_FALSE(b.GreyImage().Empty());
    b.SetImage(TBitmap());
    EXPECT_TRUE(b.GreyImage().Empty());
    EXPECT_TRUE(b.ShadowImage().Empty());
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), Face()), 60 * 60);
    b.SetEnabled(false);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), Face()), 60 * 60);
    b.SetEnabled(true);
    b.SetImage(*Picture32());
    b.Image().FreeImage(); // straight on the picture
    EXPECT_TRUE(b.ShadowImage().Empty());
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), Face()), 60 * 60);
}

TEST(SImageBtn, ADisabledButtonShowsTheDitheredPictureAndAGreyCaption)
{
    ButtonOnForm f;
    TSImageBtn& b = *f.button;
    b.SetEnabled(false);
    const std::int32_t top = (60 - b.Canvas().TextHeight("") - 32) / 2;
    auto picture = f.Picture();
    // Every other pixel of the square is clBtnFace; the red background stays out.
    for (std::int32_t y = 0; y < 16; ++y)
        for (std::int32_t x = 0; x < 16; ++x) {
            const std::int32_t px = 22 + x, py = top + 8 + y;
            const TColor want = (x + y) % 2 == 1 ? Face() : kSquare; // 8 + 8 is even
            ASSERT_EQ(picture->Image().GetColor(px, py), want) << x << ", " << y;
        }
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 60, 60), kKey), 0);
    // The dithering covers the picture's background too, so the shadow shows
    // between its dots.
    EXPECT_EQ(test::CountColor(*picture, Bounds(38, top + 10, 2, 16), ShadowColor()), 16) << "still shadowed";

    // The caption is grey without a shadow; with one, only the shadow is drawn darkened.
    b.Font().SetColor(clRed);
    b.SetCaption("Disabled");
    b.SetShadow(false);
    picture = f.Picture();
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 60, 60), clRed), 0);
    EXPECT_GT(test::CountColor(*picture, Rect(0, 0, 60, 60), ColorToGrey(clRed)), 10);
    b.SetShadow(true);
    picture = f.Picture();
    EXPECT_GT(test::CountColor(*picture, Rect(0, 0, 60, 60), clRed), 10);
    EXPECT_GT(test::CountColor(*picture, Rect(0, 0, 60, 60), ShadowColor()), 10 + (16 * 16 - 14 * 14) / 2);

    // A palette picture is dotted with clBtnFace itself, not the nearest colour of its table.
    b.SetImage(BMPFromRes("STAR"));
    ASSERT_EQ(b.GreyImage().Width(), 16);
    for (std::int32_t y = 0; y < 16; ++y)
        for (std::int32_t x = (y + 1) % 2; x < 16; x += 2)
            ASSERT_EQ(b.GreyImage().Image().GetColor(x, y), Face()) << x << ", " << y;

    // A system font colour is resolved before it is greyed.
    b.SetShadow(false);
    b.Font().SetColor(clHighlight);
    EXPECT_GT(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), ColorToGrey(ColorToRGB(clHighlight))), 10);
}

TEST(SImageBtn, TheDesignerSeesADottedOutline)
{
    ButtonOnForm f;
    f.button->SetImage(TBitmap());
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 60, 60), clBlack), 0);
    f.button->SetDesigning(true);
    auto picture = f.Picture();
    const std::int64_t dots = test::CountColor(*picture, Rect(0, 0, 60, 60), clBlack);
    EXPECT_GT(dots, 60);
    EXPECT_LT(dots, 4 * 59);
    EXPECT_EQ(test::CountColor(*picture, Rect(1, 1, 59, 59), clBlack), 0);
}

TEST(SImageBtn, ButtonsSmallerThanTheirPictureOrHugeDrawWhatShows)
{
    ButtonOnForm f;
    TSImageBtn& b = *f.button;
    b.SetBounds(0, 0, 1, 1);
    b.SetCaption("Caption");
    b.SetDeepth(12);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 100, 80), kFormColor), 100 * 80 - 1);
    b.SetBounds(0, 0, 0, 0);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 100, 80), kFormColor), 100 * 80);

    // A button far larger than any bitmap: its centre is off the form, its face shows.
    b.SetCaption("");
    b.SetBounds(-1'000'000'000, -1'000'000'000, 2'000'000'060, 2'000'000'060);
    auto picture = f.Picture();
    EXPECT_EQ(test::CountColor(*picture, Rect(0, 0, 100, 80), Face()), 100 * 80 - 16 * 16 - (16 * 16 - 4 * 4))
        << "the square and its shadow 12 pixels away";
    const std::int32_t top = (60 - b.Canvas().TextHeight("") - 32) / 2;
    EXPECT_EQ(BoxOf(*picture, Rect(0, 0, 100, 80), kSquare), Bounds(22, top + 8, 16, 16));
}

TEST_F(FormTest, SImageBtnPressesWithTheLeftButtonAndClicksThroughTheHost)
{
    auto* b = new TSImageBtn(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 60, 60);
    b->SetImage(*Picture32());
    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    Application().ProcessMessages();

    Headless().MouseMove(Screen({ 20, 20 }));
    Headless().MouseDown(Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_TRUE(b->Pressed());
    const std::int32_t top = 10 + (60 - b->Canvas().TextHeight("") - 32) / 2 + 8;
    EXPECT_EQ(BoxOf(*test::Picture(Form()), Bounds(10, 10, 60, 60), kSquare), Bounds(10 + 22 + 2, top + 2, 16, 16));
    Headless().MouseUp(Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(BoxOf(*test::Picture(Form()), Bounds(10, 10, 60, 60), kSquare), Bounds(10 + 22, top, 16, 16));

    Headless().MouseDown(Screen({ 20, 20 }), TPlatformButton::Right);
    Application().ProcessMessages();
    EXPECT_FALSE(b->Pressed());
    Headless().MouseUp(Screen({ 20, 20 }), TPlatformButton::Right);
    Application().ProcessMessages();
}

TEST_F(FormTest, SImageBtnAnApplicationsHandlerReplacesThePress)
{
    auto* b = new TSImageBtn(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 60, 60);
    int downs = 0, ups = 0;
    b->SetOnMouseDown([&](TObject* sender, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
        ++downs;
        EXPECT_EQ(sender, b);
        EXPECT_EQ(x, 10);
        EXPECT_EQ(y, 15);
    });
    b->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++ups; });
    Click({ 20, 25 });
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    Headless().MouseDown(Screen({ 20, 25 }));
    Application().ProcessMessages();
    EXPECT_FALSE(b->Pressed()) << "the press effect went with the replaced handler";
    Headless().MouseUp(Screen({ 20, 25 }));
    Application().ProcessMessages();

    // A handler that wants the effect too calls the button's own.
    b->SetOnMouseDown([&](TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
        ++downs;
        b->MouseDown(sender, button, shift, x, y);
    });
    Headless().MouseDown(Screen({ 20, 25 }));
    Application().ProcessMessages();
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(downs, 3);
    Headless().MouseUp(Screen({ 20, 25 }));
    Application().ProcessMessages();
    EXPECT_TRUE(b->Pressed()) << "the replaced OnMouseUp does not release";
}

TEST_F(FormTest, SImageBtnShowsItsFocusedPictureUnderTheMouse)
{
    auto* b = new TSImageBtn(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 60, 60);
    b->SetImage(*Picture32());
    Application().ProcessMessages();
    const TRect area = Bounds(10, 10, 60, 60);

    // No focused picture: entering changes nothing.
    auto before = test::Picture(Form());
    Headless().MouseMove(Screen({ 30, 30 }));
    Application().ProcessMessages();
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(test::FirstDifference(*before, { 10, 10 }, *test::Picture(Form()), { 10, 10 }, 60, 60), "");
    Headless().MouseMove(Screen({ 200, 150 }));
    Application().ProcessMessages();

    b->SetBriImage(*Picture32(clLime));
    Headless().MouseMove(Screen({ 30, 30 }));
    Application().ProcessMessages();
    EXPECT_TRUE(b->MouseOver());
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), area, clLime), 16 * 16);
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), area, kSquare), 0);
    Headless().MouseMove(Screen({ 200, 150 }));
    Application().ProcessMessages();
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), area, kSquare), 16 * 16);

    // Without ShowMouseFocus the picture stays.
    b->SetShowMouseFocus(false);
    Headless().MouseMove(Screen({ 30, 30 }));
    Application().ProcessMessages();
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), area, kSquare), 16 * 16);
    b->SetShowMouseFocus(true);

    // Enabling finds out where the pointer is.
    b->SetEnabled(false);
    b->SetEnabled(true);
    EXPECT_TRUE(b->MouseOver());
    EXPECT_EQ(test::CountColor(*test::Picture(Form()), area, clLime), 16 * 16);
    b->SetEnabled(false);
    Headless().MouseMove(Screen({ 200, 150 }));
    Application().ProcessMessages();
    EXPECT_TRUE(b->MouseOver()) << "a disabled button does not track";
    b->SetEnabled(true);
    EXPECT_FALSE(b->MouseOver());
}

TEST_F(FormTest, SImageBtnFreedByAPaintHandlerWhileEnablingIsLeftAlone)
{
    auto* b = new TSImageBtn(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 60, 60);
    b->SetImage(*Picture32());
    b->SetBriImage(*Picture32(clLime));
    // A paint box over the button's right half, painted whenever the button is.
    auto* box = new TPaintBox(&Form());
    box->SetParent(&Form());
    box->SetBounds(50, 10, 40, 60);
    bool armed = false;
    TControl* victim = b;
    box->SetOnPaint([&](TObject*) {
        if (armed && victim) {
            armed = false;
            delete std::exchange(victim, nullptr);
        }
    });
    Headless().MouseMove(Screen({ 20, 20 }));
    Application().ProcessMessages();
    b->SetEnabled(false);
    armed = true;
    // The entry that enabling finds repaints the form, whose paint box frees the button.
    b->SetEnabled(true);
    EXPECT_EQ(victim, nullptr);
    Application().ProcessMessages();
    EXPECT_EQ(Form().ControlCount(), 1);
}

TEST(SImageBtn, FormFilesRoundTripAndRefuseHostileValues)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* b = new TSImageBtn(&form);
    b->SetName("B");
    b->SetParent(&form);
    b->SetCaption("");
    b->SetImage(*Picture32());
    b->SetBriImage(*test::Filled(2, 2, clLime));
    b->SetDeepth(12);
    b->SetShadow(false);
    std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("    Shadow = False\n    Deepth = 12\n    Image.Data = {"), std::string::npos) << text;
    EXPECT_NE(text.find("    TransparentColor = clRed\n    Space = 2\n    ShadowsDarkness = 40\n    ShowMouseFocus = True\n"
                        "    FocusedImage.Data = {"),
        std::string::npos)
        << text;
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    auto* read = dynamic_cast<TSImageBtn*>(copy->FindComponent("B"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->TransparentColor(), kKey);
    EXPECT_EQ(test::FirstDifference(read->ShadowImage(), {}, b->ShadowImage(), {}, 32, 32), "");
    EXPECT_EQ(test::FirstDifference(read->GreyImage(), {}, b->GreyImage(), {}, 32, 32), "");
    EXPECT_TRUE(read->OnMouseDown()) << "a file without handlers keeps the press";

    auto readAndPaint = [](const std::string& lines) { return test::ReadAndPaint("TSImageBtn", lines); };
    for (const char* refused : { "    Deepth = 13\n", "    Deepth = -1\n", "    Deepth = 4294967295\n", "    Shadow = Maybe\n",
         "    Image.Data = {424D0000}\n", "    FocusedImage.Data = {}\n" })
        EXPECT_NE(readAndPaint(refused).find("Line 5"), std::string::npos) << refused;
    EXPECT_EQ(readAndPaint("    Deepth = 12\n    Space = -2147483648\n    ShadowsDarkness = -2147483648\n    Caption = 'x'\n"),
        "no exception");
    EXPECT_EQ(readAndPaint("    Space = 2147483647\n    ShadowsDarkness = 2147483647\n    Caption = 'x'\n"
                           "    Left = -2147483648\n    Width = 2147483647\n    Height = 2147483647\n"),
        "no exception");
}
