// Speed buttons and bitmap buttons.
#include "FrameworkFixture.h"

#include "color/host/Bitmap.h"
#include "framework/host/Buttons.h"
#include "framework/host/FormFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

TSpeedButton* Speed(TForm& form, std::int32_t left, std::int32_t group)
{
    auto* b = new TSpeedButton(&form);
    b->SetParent(&form);
    b->SetBounds(left, 10, 44, 44);
    b->SetGroupIndex(group);
    return b;
}

} // namespace

TEST_F(FormTest, SpeedButtonsOfAGroupReleaseEachOther)
{
    auto* a = Speed(Form(), 10, 1);
    auto* b = Speed(Form(), 60, 1);
    auto* c = Speed(Form(), 110, 1);
    auto* other = Speed(Form(), 160, 2);
    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    a->SetDown(true);
    other->SetDown(true);
    Click({ 70, 20 });
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(c->Down());
    EXPECT_TRUE(other->Down()) << "another group is not touched";
    EXPECT_EQ(clicks, 1);
    Click({ 70, 20 });
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
    EXPECT_EQ(clicks, 2);
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp()) << "AllowAllUp is shared by the group";
    Click({ 70, 20 });
    EXPECT_FALSE(b->Down());
    auto* loose = Speed(Form(), 210, 0);
    loose->SetDown(true);
    EXPECT_FALSE(loose->Down()) << "a button without a group cannot stay down";
}

TEST_F(FormTest, SpeedButtonFacesAndGlyphs)
{
    auto* b = Speed(Form(), 10, 1);
    // A 2 x 2 glyph: its bottom-left pixel's colour (olive) is left out.
    TBitmap glyph(2, 2);
    glyph.Canvas().SetPixels(0, 0, clRed);
    glyph.Canvas().SetPixels(1, 0, clBlue);
    glyph.Canvas().SetPixels(0, 1, clOlive);
    glyph.Canvas().SetPixels(1, 1, clRed);
    b->SetGlyph(glyph);
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    // Up: raised edges; the glyph centred (44 - 2 + 1) / 2 = 21 from the face's edges.
    EXPECT_EQ(s->GetColor(10, 10), 0xFFFFFF);
    EXPECT_EQ(s->GetColor(53, 53), 0x000000);
    EXPECT_EQ(s->GetColor(10 + 2 + 19, 10 + 2 + 19), clRed);
    EXPECT_EQ(s->GetColor(10 + 2 + 20, 10 + 2 + 19), clBlue);
    EXPECT_EQ(s->GetColor(10 + 2 + 19, 10 + 2 + 20), 0xC0C0C0) << "transparent";
    // Down: sunken, dithered, the glyph one pixel down and right.
    b->SetDown(true);
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(10, 10), 0x000000);
    EXPECT_EQ(s->GetColor(10 + 2 + 20, 10 + 2 + 20), clRed);
    const TColor d1 = s->GetColor(14, 14), d2 = s->GetColor(15, 14);
    EXPECT_NE(d1, d2);
    EXPECT_TRUE((d1 == 0xFFFFFF && d2 == 0xC0C0C0) || (d1 == 0xC0C0C0 && d2 == 0xFFFFFF));
    // Disabled: the glyph embossed in highlight and shadow.
    b->SetAllowAllUp(true);
    b->SetDown(false);
    b->SetEnabled(false);
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(10 + 2 + 19, 10 + 2 + 19), 0x808080);
    EXPECT_EQ(s->GetColor(10 + 2 + 21, 10 + 2 + 21), 0xFFFFFF);
    EXPECT_EQ(s->GetColor(10 + 2 + 19, 10 + 2 + 21), 0xC0C0C0);
}

TEST_F(FormTest, FlatSpeedButtonsShowTheirEdgeUnderThePointer)
{
    Form().SetColor(clTeal);
    auto* b = Speed(Form(), 10, 0);
    b->SetFlat(true);
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    EXPECT_EQ(s->GetColor(10, 10), clTeal);
    Headless().MouseMove(FormTest::Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(10, 10), 0xFFFFFF);
    EXPECT_EQ(s->GetColor(53, 53), 0x808080);
    Headless().MouseMove(FormTest::Screen({ 250, 150 }));
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(10, 10), clTeal);
}

TEST_F(FormTest, BitBtnKindsGiveCaptionResultAndGlyph)
{
    auto* ok = new TBitBtn(&Form());
    ok->SetParent(&Form());
    ok->SetName("OkBtn");
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    EXPECT_FALSE(ok->Glyph().Empty());
    auto* no = new TBitBtn(&Form());
    no->SetParent(&Form());
    no->SetName("NoBtn");
    no->SetKind(bkNo);
    EXPECT_TRUE(no->Cancel());
    EXPECT_EQ(no->ModalResult(), mrNo);
    auto* close = new TBitBtn(&Form());
    close->SetParent(&Form());
    close->SetName("CloseBtn");
    close->SetKind(bkClose);
    close->SetCaption("&Close");
    close->SetModalResult(mrOk);
    // A kind's own values are not stored; a caption of one's own is.
    std::string text = WriteComponentText(Form());
    auto okAt = text.find("object OkBtn: TBitBtn");
    auto okEnd = text.find("end", okAt);
    const std::string okText = text.substr(okAt, okEnd - okAt);
    EXPECT_NE(okText.find("Kind = bkOK"), std::string::npos);
    EXPECT_EQ(okText.find("Caption"), std::string::npos);
    EXPECT_EQ(okText.find("Glyph"), std::string::npos);
    EXPECT_EQ(okText.find("ModalResult"), std::string::npos);
    TForm again(nullptr);
    ReadComponentText(text, again);
    auto* readOk = dynamic_cast<TBitBtn*>(again.FindComponent("OkBtn"));
    ASSERT_NE(readOk, nullptr);
    EXPECT_EQ(readOk->Caption(), "OK");
    EXPECT_EQ(readOk->Kind(), bkOK);
    EXPECT_EQ(WriteComponentText(again), text);
    // A glyph of one's own makes a button custom.
    TBitmap glyph(4, 4);
    no->SetGlyph(glyph);
    EXPECT_EQ(no->Kind(), bkCustom);
}

TEST_F(FormTest, ABitBtnOfKindCloseClosesItsModalForm)
{
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 200, 100);
    auto* close = new TBitBtn(&dialog);
    close->SetParent(&dialog);
    close->SetBounds(10, 10, 75, 25);
    close->SetKind(bkClose);
    Application().AddShowHook([&](TCustomForm& shown) {
        if (&shown != &dialog)
            return false;
        const TPoint p = close->ClientToScreen({ 10, 10 });
        Headless().MouseMove(p);
        Headless().MouseDown(p);
        Headless().MouseUp(p);
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}
