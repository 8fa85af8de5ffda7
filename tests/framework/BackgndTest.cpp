#include "framework/Backgnd.h"

#include "framework/host/FormFiles.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace plx;
using plx::test::FormTest;

namespace {

// A 4 x 3 picture whose pixel (x, y) is RGB(x * 60, y * 60, 200).
std::unique_ptr<TBitmap> Picture4x3()
{
    auto b = std::make_unique<TBitmap>(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            b->Canvas().SetPixels(x, y, RGB(x * 60, y * 60, 200));
    return b;
}

std::unique_ptr<TBitmap> Painted(TBackgndObj& obj, const TRect& rect, int w = 20, int h = 12)
{
    auto b = test::Filled(w, h, clFuchsia);
    PaintBackObj(b->Canvas(), rect, obj);
    return b;
}

} // namespace

TEST(Backgnd, DescriptionNotifiesOnlyForChanges)
{
    TBackgndObj o;
    EXPECT_EQ(o.BackStyle(), bgSingleColor);
    EXPECT_EQ(o.Color(), clBlack);
    EXPECT_TRUE(o.Picture().Empty());
    int fired = 0;
    o.SetOnChange([&](TObject* s) {
        EXPECT_EQ(s, &o);
        ++fired;
    });
    o.SetStyle(bgSingleColor);
    o.SetColor(clBlack);
    o.SetGradient(o.Gradient());
    o.SetPicture(o.Picture());
    EXPECT_EQ(fired, 0);
    o.SetColor(clRed);
    EXPECT_EQ(fired, 1);
    o.Gradient().SetColor2(clBlue);
    EXPECT_EQ(fired, 2) << "a gradient change is the description's change";
    TGradient g;
    o.SetGradient(g);
    EXPECT_EQ(fired, 4) << "once through the gradient, once for the setter";
}

TEST(Backgnd, AssignCopiesEverythingButTheHandler)
{
    TBackgndObj source;
    source.SetPicture(*Picture4x3());
    source.Gradient().SetColor1(clRed);
    source.SetStyle(bgTileBitmap);
    source.SetColor(clLime);
    source.SetOnChange([](TObject*) { FAIL() << "the source's handler is not copied"; });
    TBackgndObj target;
    int fired = 0;
    target.SetOnChange([&](TObject*) { ++fired; });
    target.Assign(&source);
    EXPECT_EQ(fired, 2) << "once through its gradient, once at the end";
    EXPECT_EQ(target.BackStyle(), bgTileBitmap);
    EXPECT_EQ(target.Color(), clLime);
    EXPECT_EQ(target.Gradient().Color1(), clRed);
    EXPECT_EQ(target.Picture().Width(), 4);
    EXPECT_EQ(target.Picture().Image().GetColor(3, 2), RGB(180, 120, 200));

    TGradient notADescription;
    EXPECT_EQ(test::MessageOf([&] { target.Assign(&notADescription); }), "Cannot assign a TGradient to a TBackgndObj");
    EXPECT_EQ(target.BackStyle(), bgTileBitmap);
}

TEST(Backgnd, GradientLooksTheSameWhereverItLies)
{
    TBackgndObj o;
    o.SetStyle(bgGradient);
    o.Gradient().SetGradientStyle(gsEllipse);
    o.Gradient().SetLineSize(1);
    auto atOrigin = Painted(o, Rect(0, 0, 100, 50), 120, 70);
    auto shifted = Painted(o, Rect(10, 10, 110, 60), 120, 70);
    EXPECT_EQ(test::FirstDifference(*atOrigin, { 0, 0 }, *shifted, { 10, 10 }, 100, 50), "");
    EXPECT_EQ(shifted->Image().GetColor(9, 30), clFuchsia) << "nothing outside the rectangle";
    EXPECT_EQ(shifted->Image().GetColor(110, 30), clFuchsia);

    // Only the visible part is computed: a rectangle far larger than any bitmap.
    auto big = test::Filled(40, 30, clFuchsia);
    o.Gradient().SetGradientStyle(gsLine);
    o.Gradient().SetLineDir(diVertical);
    PaintBackObj(big->Canvas(), Rect(-1000000, 0, 1000000, 30), o);
    EXPECT_EQ(test::CountColor(*big, Rect(0, 0, 40, 30), clFuchsia), 0);
}

TEST(Backgnd, PicturesAreAnchoredAtTheCanvasOriginAndNeverReadBeyond)
{
    TBackgndObj o;
    o.SetPicture(*Picture4x3());
    o.SetStyle(bgSingleBitmap);
    auto single = Painted(o, Rect(2, 1, 10, 8));
    EXPECT_EQ(single->Image().GetColor(2, 1), RGB(120, 60, 200)) << "picture pixel (2, 1) at (2, 1)";
    EXPECT_EQ(single->Image().GetColor(3, 2), RGB(180, 120, 200));
    EXPECT_EQ(single->Image().GetColor(4, 1), clFuchsia) << "beyond the picture the canvas keeps its pixels";
    EXPECT_EQ(single->Image().GetColor(2, 3), clFuchsia);
    EXPECT_EQ(single->Image().GetColor(1, 1), clFuchsia) << "outside the rectangle";

    o.SetStyle(bgTileBitmap);
    auto tiles = Painted(o, Rect(3, 2, 17, 11));
    for (int y = 2; y < 11; ++y)
        for (int x = 3; x < 17; ++x)
            ASSERT_EQ(tiles->Image().GetColor(x, y), RGB((x % 4) * 60, (y % 3) * 60, 200)) << x << ", " << y;
    EXPECT_EQ(tiles->Image().GetColor(17, 5), clFuchsia);

    TBackgndObj empty;
    for (TBackStyle style : { bgSingleBitmap, bgTileBitmap }) {
        empty.SetStyle(style);
        auto b = Painted(empty, Rect(0, 0, 20, 12));
        EXPECT_EQ(test::CountColor(*b, Rect(0, 0, 20, 12), clFuchsia), 240) << "an empty picture paints nothing";
    }

    o.SetStyle(bgSingleColor);
    o.SetColor(clTeal);
    auto plain = Painted(o, Rect(5, 5, 7, 6));
    EXPECT_EQ(test::CountColor(*plain, Rect(0, 0, 20, 12), clTeal), 2);
}

TEST_F(FormTest, BackgroundIsBlackAndRendersOnEachChange)
{
    auto* bg = new TBackground(&Form());
    bg->SetParent(&Form());
    bg->SetBounds(20, 10, bg->Width(), bg->Height());
    EXPECT_EQ(bg->Width(), 144);
    EXPECT_EQ(bg->Height(), 144);
    EXPECT_EQ(bg->Left(), 20) << "the size is set keeping the position";
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    EXPECT_EQ(s->GetColor(20, 10), clBlack);
    EXPECT_EQ(s->GetColor(163, 153), clBlack);
    EXPECT_NE(s->GetColor(164, 153), clBlack);

    bg->BackObj().SetColor(clNavy);
    EXPECT_EQ(bg->Backup().Image().GetColor(0, 0), clNavy) << "rendered at the change";
    EXPECT_EQ(s->GetColor(20, 10), clBlack) << "shown at the next paint";
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(20, 10), clNavy);

    TBackgndObj other;
    other.SetColor(clOlive);
    bg->SetBackObj(other);
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(100, 100), clOlive);
}

TEST(Backgnd, BackgroundRoundTripsWithItsPicture)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* bg = new TBackground(&form);
    bg->SetName("B");
    bg->SetParent(&form);
    bg->BackObj().SetPicture(*Picture4x3());
    bg->BackObj().SetStyle(bgTileBitmap);
    const std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("BackObj.Gradient.GradientStyle = gsLine"), std::string::npos) << text;
    EXPECT_NE(text.find("BackObj.Picture.Data = {"), std::string::npos);
    EXPECT_NE(text.find("BackObj.BackStyle = bgTileBitmap\n    BackObj.Color = clBlack\n"), std::string::npos);

    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    auto picture = test::Picture(dynamic_cast<TForm&>(*copy));
    EXPECT_EQ(picture->Image().GetColor(5, 4), RGB(60, 60, 200)) << "tiles aligned to the back buffer's origin";

    // A picture with bad .bmp data is the reader's error.
    const std::string bad = "object F: TForm\n  object B: TBackground\n    BackObj.Picture.Data = {424D0000}\n  end\nend\n";
    EXPECT_NE(test::MessageOf([&] { std::unique_ptr<TComponent> r(ReadComponentFromText(bad, nullptr)); }).find("Line 3"),
        std::string::npos);
}
