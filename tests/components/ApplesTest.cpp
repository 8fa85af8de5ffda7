#include "components/Apples.h"

#include "color/host/Resources.h"
#include "framework/host/FormFiles.h"
#include "paint/DrawMan.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace plx;

namespace {

constexpr TColor kFuchsia = 0xFF00FF;

class CountedApples : public TApples {
public:
    using TApples::TApples;
    int renders { 0 };

protected:
    void PaintBackup() override
    {
        TApples::PaintBackup();
        ++renders;
    }
};

// The face of a control like a's with no value: bevel and background only.
std::unique_ptr<TBitmap> Empty(const TApples& a)
{
    TApples blank(nullptr);
    blank.SetBounds(0, 0, a.Width(), a.Height());
    blank.SetLineWrap(a.LineWrap());
    blank.RepaintAll();
    auto b = std::make_unique<TBitmap>();
    b->Assign(&blank.Backup());
    return b;
}

// That face with the default picture drawn at each place, keyed on its top-left colour.
std::unique_ptr<TBitmap> Expected(const TApples& a, const std::vector<std::pair<int, int>>& places)
{
    auto b = Empty(a);
    TBitmap apple;
    apple.LoadFromResourceName(HInstance(), "APPLE");
    for (auto [x, y] : places)
        TransparentBlt(b->Canvas(), apple, x, y, kFuchsia);
    return b;
}

std::string Difference(const TApples& a, const TBitmap& expected)
{
    return test::FirstDifference(a.Backup(), {}, expected, {}, a.Width(), a.Height());
}

} // namespace

TEST(Apples, DefaultsTheAppleResourceAndItsCornerColour)
{
    TApples a(nullptr);
    EXPECT_EQ(a.Width(), 80);
    EXPECT_EQ(a.Height(), 25);
    EXPECT_EQ(a.Apple().Width(), 16);
    EXPECT_EQ(a.Apple().Height(), 16);
    EXPECT_EQ(a.Apple().PixelFormat(), pf4bit);
    EXPECT_EQ(a.TransparentColor(), kFuchsia);
    EXPECT_EQ(a.Value(), 0);
    EXPECT_FALSE(a.LineWrap());
    std::vector<std::string> names;
    for (const TPropInfo& p : TApples::StaticClassInfo().Properties())
        names.push_back(p.Name);
    const std::vector<std::string> own { "Apple", "LineWrap", "TransparentColor", "Value", "Background", "Bevel",
        "OnMouseEnter", "OnMouseLeave", "Align", "Enabled", "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
        "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" };
    ASSERT_GE(names.size(), own.size());
    EXPECT_EQ(std::vector<std::string>(names.end() - static_cast<std::ptrdiff_t>(own.size()), names.end()), own);
}

TEST(Apples, TenInTheDefaultControlDrawFourAndStop)
{
    TApples a(nullptr);
    a.SetValue(10);
    EXPECT_EQ(a.WorkRect(), Rect(2, 2, 78, 23));
    EXPECT_EQ(Difference(a, *Expected(a, { { 4, 4 }, { 22, 4 }, { 40, 4 }, { 58, 4 } })), "");
    // The same number of pictures for 4, and nothing at all for 0 or less.
    a.SetValue(4);
    EXPECT_EQ(Difference(a, *Expected(a, { { 4, 4 }, { 22, 4 }, { 40, 4 }, { 58, 4 } })), "");
    for (long double v : { 0.0L, -1.0L, -0.5L, std::numeric_limits<long double>::quiet_NaN() }) {
        a.SetValue(v);
        EXPECT_EQ(Difference(a, *Empty(a)), "") << static_cast<double>(v);
    }
}

TEST(Apples, LineWrapGoesOnInRowsBelowUntilARowWouldStartAtTheBottom)
{
    TApples a(nullptr);
    a.SetBounds(0, 0, 80, 50); // WorkRect (2, 2, 78, 48)
    a.SetLineWrap(true);
    a.SetValue(10);
    EXPECT_EQ(Difference(a, *Expected(a, { { 4, 4 }, { 22, 4 }, { 40, 4 }, { 58, 4 }, { 4, 22 }, { 22, 22 }, { 40, 22 },
                                              { 58, 22 }, { 4, 40 }, { 22, 40 } })),
        "")
        << "the third row starts above the bottom and runs over the bevel";

    // Any value beyond a full control ends with the full control.
    a.SetValue(12);
    const std::string full = Difference(a, *Expected(a, { { 4, 4 }, { 22, 4 }, { 40, 4 }, { 58, 4 }, { 4, 22 }, { 22, 22 },
                                                             { 40, 22 }, { 58, 22 }, { 4, 40 }, { 22, 40 }, { 40, 40 }, { 58, 40 } }));
    EXPECT_EQ(full, "");
    TBitmap twelve;
    twelve.Assign(&a.Backup());
    for (long double v : { 12.5L, 1e30L, 1e4000L, std::numeric_limits<long double>::infinity() }) {
        a.SetValue(v);
        EXPECT_EQ(Difference(a, twelve), "") << static_cast<double>(v);
    }
    a.SetLineWrap(false);
    TApples four(nullptr);
    four.SetBounds(0, 0, 80, 50);
    four.SetValue(4);
    EXPECT_EQ(test::FirstDifference(a.Backup(), {}, four.Backup(), {}, 80, 50), "") << "without wrap: one row";
}

TEST(Apples, AFractionDrawsTheLeftPartOfThePicture)
{
    TApples a(nullptr);
    a.SetBounds(0, 0, 200, 25);
    a.SetValue(2.5);
    auto expected = Expected(a, { { 4, 4 }, { 22, 4 } });
    TBitmap apple;
    apple.LoadFromResourceName(HInstance(), "APPLE");
    TBitmap half(8, 16);
    half.Canvas().CopyRect(Rect(0, 0, 8, 16), apple.Canvas(), Rect(0, 0, 8, 16));
    TransparentBlt(expected->Canvas(), half, 40, 4, kFuchsia);
    EXPECT_EQ(Difference(a, *expected), "");

    // Round(16 x 0.53125) = Round(8.5) = 8, ties to even. The value is laid out
    // at 40 significant bits: 2^-44 more is lost, where a double would keep it
    // and cut 9 columns.
    a.SetValue(1.53125L);
    TBitmap eight;
    eight.Assign(&a.Backup());
    EXPECT_EQ(test::CountColor(eight, Rect(30, 4, 31, 20), clBlack), 16);
    a.SetValue(1.53125L + std::ldexp(1.0L, -44));
    EXPECT_EQ(test::FirstDifference(a.Backup(), {}, eight, {}, 200, 25), "");
    a.SetValue(1.5625L); // 16 x 0.5625 = 9
    EXPECT_NE(test::FirstDifference(a.Backup(), {}, eight, {}, 200, 25), "");
}

TEST(Apples, SettersStoreAndRenderOnlyForNewValues)
{
    CountedApples a(nullptr);
    a.SetValue(3.25);
    const int renders = a.renders;
    a.SetValue(3.25);
    a.SetLineWrap(false);
    a.SetTransparentColor(kFuchsia);
    a.SetApple(&a.Apple());
    EXPECT_EQ(a.renders, renders);
    a.SetValue(3.5);
    a.SetLineWrap(true);
    a.SetTransparentColor(clWhite);
    EXPECT_EQ(a.renders, renders + 3);

    // A new picture brings its top-left colour; nil empties it and keeps the colour.
    auto star = test::Filled(10, 8, clLime);
    star->Canvas().SetPixels(0, 0, clNavy);
    a.SetApple(star.get());
    EXPECT_EQ(a.TransparentColor(), clNavy);
    EXPECT_EQ(a.Apple().Width(), 10);
    EXPECT_EQ(a.renders, renders + 4);
    a.SetApple(nullptr);
    EXPECT_TRUE(a.Apple().Empty());
    EXPECT_EQ(a.TransparentColor(), clNavy);
    a.SetApple(star.get());
    TBitmap none;
    a.SetApple(&none);
    EXPECT_TRUE(a.Apple().Empty());
    EXPECT_EQ(a.TransparentColor(), clNavy) << "an empty picture has no corner to take a colour from";
    a.SetValue(1e9);
    EXPECT_EQ(a.renders, renders + 8) << "an empty picture draws, quickly, nothing";
}

TEST(Apples, DrawingLeavesThePicturesTransparencyAsItWas)
{
    TApples a(nullptr);
    a.SetTransparentColor(clRed);
    a.SetValue(2.75);
    EXPECT_FALSE(a.Apple().Transparent());
    EXPECT_EQ(a.Apple().TransparentMode(), tmAuto);
}

TEST(Apples, RoundTripsWithItsOwnPicture)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* a = new TApples(&form);
    a->SetName("A");
    a->SetParent(&form);
    auto picture = test::Filled(12, 10, clTeal);
    a->SetApple(picture.get());
    a->SetLineWrap(true);
    a->SetValue(3.25);
    a->Bevel().SetBevelType(btFlat3D);
    const std::string text = test::ExpectRoundTrip(form);
    for (const char* line : { "Apple.Data = {", "LineWrap = True", "TransparentColor = clTeal", "Value = 3.25",
             "Bevel.BevelType = btFlat3D" })
        EXPECT_NE(text.find(line), std::string::npos) << line;

    // Without a value, Value is left out; LineWrap and TransparentColor are always written.
    const std::string plain = WriteComponentText(TApples(nullptr));
    EXPECT_EQ(plain.find("Value"), std::string::npos);
    EXPECT_NE(plain.find("LineWrap = False"), std::string::npos);
    EXPECT_NE(plain.find("TransparentColor = clFuchsia"), std::string::npos);

    const std::string hostile = test::MessageOf([] {
        std::unique_ptr<TComponent> c(ReadComponentFromText("object A: TApples\n  Value = 'many'\nend\n", nullptr));
    });
    EXPECT_NE(hostile.find("Invalid property value"), std::string::npos) << hostile;
}
