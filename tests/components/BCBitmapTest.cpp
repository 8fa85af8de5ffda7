#include "components/BCBitmap.h"

#include "color/host/Gdi.h"
#include "framework/host/FormFiles.h"
#include "paint/DrawMan.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

class Picture : public TBCBitmap {
public:
    using TBCBitmap::TBCBitmap;
    using TBCBitmap::MouseDown;
    using TBCBitmap::MouseUp;
    int renders { 0 };

protected:
    void PaintBackup() override
    {
        TBCBitmap::PaintBackup();
        ++renders;
    }
};

// Quarters: red top-left, lime top-right, blue bottom-left (the corner colour), yellow bottom-right.
std::unique_ptr<TBitmap> Quarters(std::int32_t width, std::int32_t height)
{
    auto b = test::Filled(width, height, clRed);
    auto fill = [&](TRect r, TColor c) {
        b->Canvas().Brush().SetColor(c);
        b->Canvas().FillRect(r);
    };
    fill(Rect(width / 2, 0, width, height / 2), clLime);
    fill(Rect(0, height / 2, width / 2, height), clBlue);
    fill(Rect(width / 2, height / 2, width, height), clYellow);
    return b;
}

// The face of an empty control of the same size: bevel and background only.
std::unique_ptr<TBitmap> Blank(const TBCBitmap& c)
{
    TBCBitmap blank(nullptr);
    blank.SetBounds(0, 0, c.Width(), c.Height());
    blank.RepaintAll();
    auto b = std::make_unique<TBitmap>();
    b->Assign(&blank.Backup());
    return b;
}

std::string Difference(const TBCBitmap& c, const TBitmap& expected)
{
    return test::FirstDifference(c.Backup(), {}, expected, {}, c.Width(), c.Height());
}

std::unique_ptr<TBitmap> Inverted(const TBitmap& source)
{
    auto b = std::make_unique<TBitmap>();
    b->Assign(&source);
    PatBlt(b->Canvas().Handle(), 0, 0, b->Width(), b->Height(), DSTINVERT);
    return b;
}

} // namespace

TEST(BCBitmap, DefaultsAndThePublishedOrder)
{
    TBCBitmap c(nullptr);
    EXPECT_EQ(c.Width(), 64);
    EXPECT_EQ(c.Height(), 64);
    EXPECT_TRUE(c.Picture().Empty());
    EXPECT_EQ(c.DrawStyle(), dsNone);
    EXPECT_EQ(c.ColorOption(), coNone);
    EXPECT_FALSE(c.AutoSize());
    EXPECT_FALSE(c.InvertImageOnMouseDown());
    EXPECT_FALSE(c.Pressed());
    std::vector<std::string> names;
    for (const TPropInfo& p : TBCBitmap::StaticClassInfo().Properties())
        names.push_back(p.Name);
    const std::vector<std::string> own { "Picture", "DrawStyle", "ColorOption", "InvertImageOnMouseDown", "AutoSize",
        "Background", "Bevel", "OnMouseEnter", "OnMouseLeave", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
        "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" };
    ASSERT_GE(names.size(), own.size());
    EXPECT_EQ(std::vector<std::string>(names.end() - static_cast<std::ptrdiff_t>(own.size()), names.end()), own);
}

TEST(BCBitmap, TheThreePlacementsOfAnOpaquePicture)
{
    TBCBitmap c(nullptr);
    auto picture = Quarters(32, 32);
    c.SetPicture(*picture);
    auto expect = [&](const TRect& place) {
        auto b = Blank(c);
        b->Canvas().CopyRect(place, picture->Canvas(), Rect(0, 0, 32, 32));
        return b;
    };
    EXPECT_EQ(Difference(c, *expect(Rect(2, 2, 34, 34))), "") << "dsNone";
    c.SetStyle(dsCentered);
    EXPECT_EQ(Difference(c, *expect(Rect(16, 16, 48, 48))), "") << "dsCentered";
    c.SetStyle(dsClient);
    EXPECT_EQ(Difference(c, *expect(Rect(2, 2, 62, 62))), "") << "dsClient";
    EXPECT_EQ(c.Backup().Image().GetColor(61, 61), clYellow);

    // Centred on the whole control with ties to even: (64 - 31) / 2 = 16.5 gives 16.
    auto odd = Quarters(31, 29);
    c.SetPicture(*odd);
    c.SetStyle(dsCentered);
    auto b = Blank(c);
    b->Canvas().CopyRect(Rect(16, 18, 47, 47), odd->Canvas(), Rect(0, 0, 31, 29));
    EXPECT_EQ(Difference(c, *b), "");

    // dsNone squeezes a picture larger than WorkRect into it instead of cutting it.
    auto big = Quarters(100, 80);
    c.SetPicture(*big);
    c.SetStyle(dsNone);
    auto squeezed = Blank(c);
    squeezed->Canvas().CopyRect(Rect(2, 2, 62, 62), big->Canvas(), Rect(0, 0, 100, 80));
    EXPECT_EQ(Difference(c, *squeezed), "");
    EXPECT_EQ(c.Backup().Image().GetColor(61, 61), clYellow);
}

TEST(BCBitmap, TransparentDrawsAtTheCornerAndSmoothedAtThePlace)
{
    TBCBitmap c(nullptr);
    c.Background().SetColor(clWhite);
    auto picture = Quarters(32, 32);
    c.SetPicture(*picture);
    c.SetStyle(dsCentered);
    c.SetColorOption(coTransparent);
    auto transparent = Blank(c);
    transparent->Canvas().Brush().SetColor(clWhite);
    transparent->Canvas().FillRect(Rect(2, 2, 62, 62));
    TBitmap copy;
    copy.Assign(picture.get());
    TransparentBlt(transparent->Canvas(), copy, 0, 0, clBlue);
    EXPECT_EQ(Difference(c, *transparent), "") << "at (0, 0) over the bevel, blue left out";
    EXPECT_EQ(c.Backup().Image().GetColor(0, 0), clRed);
    EXPECT_EQ(c.Backup().Image().GetColor(2, 20), clWhite);

    c.SetColorOption(coSmoothed);
    auto smoothed = Blank(c);
    smoothed->Canvas().Brush().SetColor(clWhite);
    smoothed->Canvas().FillRect(Rect(2, 2, 62, 62));
    TBitmap again;
    again.Assign(picture.get());
    SmoothBlt(smoothed->Canvas(), 16, 16, again, clBlue);
    EXPECT_EQ(Difference(c, *smoothed), "");
    EXPECT_FALSE(c.Picture().Transparent()) << "drawing leaves the picture as it was";
    EXPECT_EQ(c.Picture().TransparentMode(), tmAuto);

    // So an opaque draw after a smoothed one shows every pixel of the picture.
    c.SetColorOption(coNone);
    auto opaque = Blank(c);
    opaque->Canvas().Brush().SetColor(clWhite);
    opaque->Canvas().FillRect(Rect(2, 2, 62, 62));
    opaque->Canvas().CopyRect(Rect(16, 16, 48, 48), picture->Canvas(), Rect(0, 0, 32, 32));
    EXPECT_EQ(Difference(c, *opaque), "");
}

TEST(BCBitmap, APictureWithTransparentOnIsCopiedWithWhiteForItsKey)
{
    TBCBitmap c(nullptr);
    c.Background().SetColor(clTeal);
    auto picture = Quarters(32, 32);
    picture->SetTransparent(true); // key: the bottom-left blue
    c.SetPicture(*picture);
    EXPECT_EQ(test::CountColor(c.Backup(), Rect(2, 18, 18, 34), clWhite), 256);
    c.SetColorOption(coTransparent);
    EXPECT_EQ(test::CountColor(c.Backup(), Rect(2, 18, 16, 32), clTeal), 14 * 14)
        << "the working copy's corner is white: white is left out";
}

TEST(BCBitmap, AutoSizeKeepsTheBevelsMargins)
{
    TBCBitmap c(nullptr);
    c.RepaintAll();
    c.SetAutoSize(true);
    EXPECT_EQ(c.Width(), 4) << "an empty picture and the last render's margins: 0 + 2 + 2";
    c.SetPicture(*Quarters(100, 50));
    EXPECT_EQ(c.Width(), 104);
    EXPECT_EQ(c.Height(), 54);
    EXPECT_EQ(c.WorkRect(), Rect(2, 2, 102, 52));
    c.Bevel().SetBevelType(bt2DRect); // renders: margins of 1
    c.SetPicture(*Quarters(10, 10));
    EXPECT_EQ(c.Width(), 12);

    // Before the first render WorkRect is empty: the picture's size plus the control's.
    TBCBitmap fresh(nullptr);
    fresh.Picture().Assign(Quarters(100, 50).get());
    EXPECT_EQ(fresh.WorkRect(), Rect(0, 0, 0, 0));
    fresh.SetAutoSize(true);
    EXPECT_EQ(fresh.Width(), 164);
    EXPECT_EQ(fresh.Height(), 114);
}

TEST(BCBitmap, ALeftPressInvertsWhileHeldWhenAsked)
{
    Picture c(nullptr);
    auto picture = Quarters(32, 32);
    c.SetPicture(*picture);
    int downs = 0, ups = 0;
    c.SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++downs; });
    c.SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++ups; });
    int renders = c.renders;
    c.MouseDown(mbLeft, {}, 5, 5);
    EXPECT_EQ(downs, 1);
    EXPECT_FALSE(c.Pressed());
    EXPECT_EQ(c.renders, renders) << "without InvertImageOnMouseDown only OnMouseDown";
    c.MouseUp(mbLeft, {}, 5, 5);

    c.SetInvertImageOnMouseDown(true);
    EXPECT_EQ(c.renders, renders) << "written straight to its field";
    c.MouseDown(mbRight, {}, 5, 5);
    EXPECT_FALSE(c.Pressed());
    EXPECT_EQ(c.renders, renders);
    c.MouseUp(mbRight, {}, 5, 5);
    EXPECT_EQ(c.renders, renders);

    c.MouseDown(mbLeft, {}, 5, 5);
    EXPECT_TRUE(c.Pressed());
    EXPECT_EQ(c.renders, renders + 1);
    auto inverted = Blank(c);
    inverted->Canvas().CopyRect(Rect(2, 2, 34, 34), Inverted(*picture)->Canvas(), Rect(0, 0, 32, 32));
    EXPECT_EQ(Difference(c, *inverted), "");
    EXPECT_EQ(c.Backup().Image().GetColor(2, 2), clAqua);

    // Transparent: the inverted corner colour is left out; smoothed: never inverted.
    c.SetColorOption(coTransparent);
    auto keyed = Blank(c);
    auto work = Inverted(*picture);
    TransparentBlt(keyed->Canvas(), *work, 0, 0, clYellow);
    EXPECT_EQ(Difference(c, *keyed), "");
    c.SetColorOption(coSmoothed);
    auto smooth = Blank(c);
    TBitmap copy;
    copy.Assign(picture.get());
    SmoothBlt(smooth->Canvas(), 2, 2, copy, clBlue);
    EXPECT_EQ(Difference(c, *smooth), "");

    c.MouseUp(mbLeft, {}, 5, 5);
    EXPECT_FALSE(c.Pressed());
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(ups, 3);
}

TEST_F(FormTest, BCBitmapInvertsUnderARealPress)
{
    auto* c = new TBCBitmap(&Form());
    c->SetParent(&Form());
    c->SetBounds(20, 20, 64, 64);
    c->SetPicture(*Quarters(32, 32));
    c->SetInvertImageOnMouseDown(true);
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(22, 22), clRed);
    Headless().MouseMove(Screen({ 30, 30 }));
    Headless().MouseDown(Screen({ 30, 30 }));
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(22, 22), clAqua);
    Headless().MouseUp(Screen({ 30, 30 }));
    Application().ProcessMessages();
    EXPECT_EQ(Form().Surface()->GetColor(22, 22), clRed);
}

TEST(BCBitmap, AnEmptyPictureDrawsOnlyBevelAndBackground)
{
    TBCBitmap c(nullptr);
    for (TColorOption o : { coNone, coTransparent, coSmoothed })
        for (TDrawStyle s : { dsNone, dsClient, dsCentered }) {
            c.SetColorOption(o);
            c.SetStyle(s);
            c.RepaintAll();
            EXPECT_EQ(Difference(c, *Blank(c)), "") << int(o) << " " << int(s);
        }
}

TEST(BCBitmap, FreedByItsOwnMouseEventItIsNotTouchedAgain)
{
    TForm form(nullptr);
    auto* c = new Picture(&form);
    c->SetInvertImageOnMouseDown(true);
    c->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { delete c; });
    c->MouseDown(mbLeft, {}, 5, 5);
    EXPECT_EQ(form.ComponentCount(), 0);
    auto* d = new Picture(&form);
    d->SetInvertImageOnMouseDown(true);
    d->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { delete d; });
    d->MouseUp(mbLeft, {}, 5, 5);
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(BCBitmap, RoundTripsAndAFittedControlKeepsItsSizeWhenRead)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* c = new TBCBitmap(&form);
    c->SetName("P");
    c->SetParent(&form);
    c->RepaintAll();
    c->SetAutoSize(true);
    c->SetPicture(*Quarters(100, 50));
    c->SetStyle(dsCentered);
    c->SetColorOption(coSmoothed);
    c->SetInvertImageOnMouseDown(true);
    const std::string text = test::ExpectRoundTrip(form);
    for (const char* line : { "Width = 104", "Height = 54", "Picture.Data = {", "DrawStyle = dsCentered",
             "ColorOption = coSmoothed", "InvertImageOnMouseDown = True", "AutoSize = True" })
        EXPECT_NE(text.find(line), std::string::npos) << line;
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    auto* read = dynamic_cast<TBCBitmap*>(copy->FindComponent("P"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Width(), 104);
    EXPECT_EQ(read->Height(), 54);

    const std::string plain = WriteComponentText(TBCBitmap(nullptr));
    EXPECT_NE(plain.find("DrawStyle = dsNone"), std::string::npos) << "written although at its initial value";
    EXPECT_EQ(plain.find("AutoSize"), std::string::npos);

    auto read1 = [](const std::string& line) {
        return test::MessageOf([&] {
            std::unique_ptr<TComponent> c(ReadComponentFromText("object P: TBCBitmap\n  " + line + "\nend\n", nullptr));
        });
    };
    EXPECT_NE(read1("DrawStyle = dsTiled").find("not a value of TDrawStyle"), std::string::npos);
    EXPECT_NE(read1("ColorOption = 2").find("Invalid property value"), std::string::npos);
    EXPECT_NE(read1("Picture.Data = {424D3E000000000000003E000000280000000100}").find("Picture"), std::string::npos);
}
