#include "components/ArtLabel.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/FormFiles.h"
#include "paint/DrawMan.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace plx;
using plx::test::FormTest;

namespace {

constexpr TColor kFormColor = 0x336699;

// A hidden form of 200 x 60 in kFormColor with one art label over all of it.
struct LabelOnForm {
    LabelOnForm()
    {
        form.SetBounds(0, 0, 200, 60);
        form.SetColor(kFormColor);
        label = new TArtLabel(&form);
        label->SetParent(&form);
        label->SetBounds(0, 0, 200, 60);
    }
    std::unique_ptr<TBitmap> Picture() { return test::Picture(form); }

    TForm form { nullptr };
    TArtLabel* label { nullptr };
};

// The expected picture: the label's colour, then draw() with the label's font.
template <class F>
std::unique_ptr<TBitmap> Expected(TArtLabel& label, F draw)
{
    auto b = test::Filled(label.Width(), label.Height(), ColorToRGB(label.Color()));
    b->Canvas().Font().Assign(&label.GetFont());
    draw(b->Canvas());
    return b;
}

class PaintCounter : public TArtLabel {
public:
    using TArtLabel::TArtLabel;
    int paints { 0 };

protected:
    void Paint() override
    {
        ++paints;
        TArtLabel::Paint();
    }
};

} // namespace

TEST(ArtLabel, AFreshLabelDrawsRaisedTextWithAGreyShadow)
{
    LabelOnForm f;
    TArtLabel fresh(nullptr);
    EXPECT_EQ(fresh.Caption(), "Art Label");
    EXPECT_EQ(fresh.Width(), 64);
    EXPECT_EQ(fresh.Height(), 25);
    EXPECT_EQ(fresh.GetFont().Name(), "Arial");
    EXPECT_EQ(fresh.GetFont().Size(), 24);
    EXPECT_EQ(fresh.GetFont().Style(), TFontStyles { fsBold });
    EXPECT_EQ(fresh.ArtStyle(), (TArtStyle { as3DRaise, asShadow }));
    EXPECT_EQ(fresh.Color(), clBtnFace);
    EXPECT_EQ(fresh.ShadowColor(), 0x808080);
    EXPECT_EQ(fresh.OutlineColor(), clWhite);
    EXPECT_EQ(fresh.ShadowLength(), 3);
    EXPECT_EQ(fresh.Gradient().Color1(), 0xC0C0C0);
    EXPECT_EQ(fresh.Gradient().ColorCount(), 3);

    auto picture = f.Picture();
    TArtLabel& l = *f.label;
    const TColor face = ColorToRGB(clBtnFace);
    auto expected = Expected(l, [&](TCanvas& c) {
        const std::int32_t y = std::max((60 - c.TextHeight("Art Label")) / 2, 2);
        DrawShadowTextExt(c, 2, y, "Art Label", 0x808080, 3, 3);
        Draw3DText(c, "Art Label", 2, y, BrightenColor(face, 64), DarkenColor(face, 64));
    });
    EXPECT_EQ(test::FirstDifference(*picture, {}, *expected, {}, 200, 60), "");
    EXPECT_GT(test::CountColor(*picture, Rect(0, 0, 200, 60), 0x808080), 20) << "the shadow shows";
    EXPECT_GT(test::CountColor(*picture, Rect(0, 0, 200, 60), BrightenColor(face, 64)), 20);
    EXPECT_GT(test::CountColor(*picture, Rect(0, 0, 200, 60), DarkenColor(face, 64)), 20);
}

TEST(ArtLabel, NoStyleShowsOnlyTheColourAndTransparentNothing)
{
    LabelOnForm f;
    f.label->SetArtStyle({});
    f.label->SetColor(clTeal);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 200, 60), clTeal), 200 * 60);
    f.label->SetTransparent(true);
    EXPECT_EQ(test::CountColor(*f.Picture(), Rect(0, 0, 200, 60), kFormColor), 200 * 60);
}

TEST(ArtLabel, OutlineWinsOverReliefOnTheBufferAndTheMaskHoldsWhatWasDrawn)
{
    LabelOnForm f;
    TArtLabel& l = *f.label;
    l.SetArtStyle({ asOutlined, as3DRaise });
    l.SetOutlineColor(clYellow);
    auto opaque = f.Picture();
    const TColor face = ColorToRGB(clBtnFace);
    const TRect all = Rect(0, 0, 200, 60);
    EXPECT_GT(test::CountColor(*opaque, all, clYellow), 20);
    EXPECT_EQ(test::CountColor(*opaque, all, BrightenColor(face, 64)), 0) << "no relief";
    EXPECT_EQ(test::CountColor(*opaque, all, DarkenColor(face, 64)), 0);

    // Transparent: exactly the drawn pixels reach the form.
    l.SetTransparent(true);
    auto transparent = f.Picture();
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const TColor drawn = opaque->Image().GetColor(x, y);
            ASSERT_EQ(transparent->Image().GetColor(x, y), drawn == face ? kFormColor : drawn) << x << ", " << y;
        }

    // Sunk relief in the mask too.
    l.SetArtStyle({ as3DSunk });
    l.SetTransparent(false);
    auto sunk = f.Picture();
    l.SetTransparent(true);
    auto sunkTransparent = f.Picture();
    EXPECT_GT(test::CountColor(*sunkTransparent, all, DarkenColor(face, 64)), 20);
    EXPECT_EQ(test::CountColor(*sunkTransparent, all, face), 0);
    EXPECT_EQ(test::CountColor(*sunkTransparent, all, kFormColor), test::CountColor(*sunk, all, face));
}

TEST(ArtLabel, FillsAreDrawnOnTheTextAndShowWhenTransparent)
{
    LabelOnForm f;
    TArtLabel& l = *f.label;
    l.SetArtStyle({ asGradient });
    l.Gradient().SetColorCount(1);
    l.Gradient().SetColor1(clRed);
    const TRect all = Rect(0, 0, 200, 60);
    auto opaque = f.Picture();
    const std::int64_t letters = test::CountColor(*opaque, all, clRed);
    EXPECT_GT(letters, 100);
    l.SetTransparent(true);
    auto transparent = f.Picture();
    EXPECT_EQ(test::CountColor(*transparent, all, clRed), letters) << "the letters a fill paints show";
    EXPECT_EQ(test::CountColor(*transparent, all, kFormColor), 200 * 60 - letters);

    // A picture fill: the gradient wins over it, the fitted picture over the plain one.
    auto green = test::Filled(40, 20, clLime);
    l.SetBitmap(*green);
    l.SetArtStyle({ asGradient, asBitmap });
    EXPECT_EQ(test::CountColor(*f.Picture(), all, clLime), 0);
    l.SetArtStyle({ asBitmap });
    EXPECT_GT(test::CountColor(*f.Picture(), all, clLime), 0);
    EXPECT_LT(test::CountColor(*f.Picture(), all, clLime), letters) << "the unscaled picture covers a corner only";
    l.SetArtStyle({ asBitmap, asBitmapFit });
    EXPECT_EQ(test::CountColor(*f.Picture(), all, clLime), letters);
}

TEST(ArtLabel, TextIsPlacedByItsAlignment)
{
    LabelOnForm f;
    TArtLabel& l = *f.label;
    // An outline in the label's own colour is invisible: only the text shows.
    l.SetArtStyle({ asOutlined });
    l.SetOutlineColor(clBtnFace);
    auto check = [&](TAlignment align, std::int32_t width, std::int32_t height, std::int32_t x, std::int32_t y) {
        l.SetTextAlign(align);
        l.SetBounds(0, 0, width, height);
        auto expected = Expected(l, [&](TCanvas& c) {
            c.Brush().SetStyle(bsClear);
            c.TextOut(x, y, l.Caption());
        });
        const std::int32_t w = std::min(width, 200), h = std::min(height, 60);
        EXPECT_EQ(test::FirstDifference(*f.Picture(), {}, *expected, {}, w, h), "") << align << " " << width << " x " << height;
    };
    TBitmap probe;
    probe.Canvas().Font().Assign(&l.GetFont());
    const TSize text = probe.Canvas().TextExtent(l.Caption());
    check(taLeftJustify, 200, 60, 2, (60 - text.cy) / 2);
    check(taRightJustify, 200, 60, 200 - text.cx - 2, (60 - text.cy) / 2);
    check(taCenter, 200, 60, (200 - text.cx) / 2, (60 - text.cy) / 2);
    check(taCenter, 50, 20, 0, 0); // wider than the label: from x = 0
    check(taLeftJustify, 50, 20, 2, 2); // taller than the label: from y = 2
}

TEST(ArtLabel, AutoSizeTakesTheTextSizeAtTheNextPaint)
{
    LabelOnForm f;
    TArtLabel& l = *f.label;
    TBitmap probe;
    probe.Canvas().Font().Assign(&l.GetFont());
    l.SetCaption("");
    l.SetAutosize(true);
    f.Picture();
    EXPECT_EQ(l.Width(), 4);
    EXPECT_EQ(l.Height(), probe.Canvas().TextHeight("Wg") + 4);
    l.SetCaption("Wide caption");
    f.Picture();
    EXPECT_EQ(l.Width(), probe.Canvas().TextWidth("Wide caption") + 4);
}

TEST_F(FormTest, ArtLabelRepaintsOnlyForWhatShows)
{
    auto* l = new PaintCounter(&Form());
    l->SetParent(&Form());
    l->SetBounds(0, 0, 200, 60);
    Application().ProcessMessages();
    int paints = l->paints;

    l->SetArtStyle({ as3DRaise });
    EXPECT_EQ(l->paints, ++paints) << "a change repaints at once";
    l->SetArtStyle({ as3DRaise });
    l->SetShadowColor(clRed);
    l->SetShadowLength(5);
    l->SetOutlineColor(clLime);
    l->Gradient().SetColor1(clBlue);
    l->SetBitmap(*test::Filled(4, 4, clRed));
    EXPECT_EQ(l->paints, paints) << "nothing of these shows without its style";
    l->SetArtStyle({ asShadow });
    EXPECT_EQ(l->paints, ++paints);
    EXPECT_GT(test::CountColor(*test::Picture(Form()), Rect(0, 0, 200, 60), clRed), 20) << "the new shadow colour is used";
    paints = l->paints;
    l->GetFont().SetColor(clNavy);
    EXPECT_EQ(l->paints, ++paints) << "a font change repaints";
    l->SetCaption("Other");
    l->SetColor(clWhite);
    l->SetTextAlign(taCenter);
    l->SetTransparent(true);
    l->SetAutosize(true);
    EXPECT_EQ(l->paints, paints + 5);
}

TEST(ArtLabel, TheGradientPictureIsRenderedOnlyAfterAChangeOrAResize)
{
    LabelOnForm f;
    TArtLabel& l = *f.label;
    int bands = 0;
    l.Gradient().SetOnDrawRect([&](TObject*, TCanvas& c, TRect r) {
        ++bands;
        c.FillRect(r);
    });
    l.Gradient().SetGradientStyle(gsCustomRect);
    l.SetArtStyle({ asGradient });
    f.Picture();
    const int once = bands;
    EXPECT_GT(once, 0);
    f.Picture();
    EXPECT_EQ(bands, once) << "a valid picture is reused";
    l.Gradient().SetColor2(clRed);
    f.Picture();
    EXPECT_EQ(bands, 2 * once);
    l.SetBounds(0, 0, 150, 60);
    f.Picture();
    EXPECT_GT(bands, 2 * once) << "a resize renders again";
}

TEST(ArtLabel, RoundTripsEveryOwnPropertyAndKeepsAnEmptyCaption)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* l = new TArtLabel(&form);
    l->SetName("L");
    l->SetParent(&form);
    l->SetCaption("");
    l->SetArtStyle({});
    l->SetBitmap(*test::Filled(3, 2, clRed));
    std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("    ArtStyle = []\n    Caption = ''\n    Font.Charset"), std::string::npos) << text;
    EXPECT_NE(text.find("    Transparent = False\n    Color = clBtnFace\n    Bitmap.Data = {"), std::string::npos);
    EXPECT_NE(text.find("    ShadowColor = clGray\n    OutlineColor = clWhite\n    AutoSize = False\n    ShadowLength = 3\n"),
        std::string::npos);
    EXPECT_NE(text.find("    TextAlign = taLeftJustify\n"), std::string::npos);
    EXPECT_EQ(text.find("ParentFont"), std::string::npos) << "its default, true";

    l->SetArtStyle({ asShadow, asGradient });
    l->SetCaption("It's");
    text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("ArtStyle = [asShadow, asGradient]"), std::string::npos);

    // Hostile values are the reader's error or are drawn as far as they show.
    auto read = [](const std::string& lines) { return test::ReadAndPaint("TArtLabel", lines); };
    EXPECT_NE(read("    ArtStyle = [asSparkle]\n").find("Line 5"), std::string::npos);
    EXPECT_NE(read("    TextAlign = taJustify\n").find("Line 5"), std::string::npos);
    EXPECT_EQ(read("    ShadowLength = 2147483647\n    ArtStyle = [asShadow]\n    Transparent = True\n"), "no exception");
    EXPECT_EQ(read("    ShadowLength = -2147483648\n    ArtStyle = [asShadow]\n"), "no exception");
    EXPECT_EQ(read("    Width = 2147483647\n    Height = 2147483647\n    ArtStyle = [asGradient]\n"), "no exception");
    EXPECT_EQ(read("    Left = -2147483648\n    AutoSize = True\n"), "no exception");
    EXPECT_EQ(read("    Font.Height = -3000\n    Caption = 'WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW'\n"
                   "    ArtStyle = [asBitmapFit, asShadow]\n    Transparent = True\n"),
        "no exception");
}
