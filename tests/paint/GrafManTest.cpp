#include "paint/GrafMan.h"

#include "color/ColorMan.h"
#include "color/VBitmap.h"
#include "paint/detail/PixelRows.h"
#include "rtl/Exceptions.h"
#include "rtl/System.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace plx;

namespace {

using test::MessageOf;

constexpr const char* kNoTable = "VirtualBitmap: Color table isnot avialable for 16bit or 24bit bitmaps.";
constexpr const char* kNeedsTrueColour = "Required 16bit or more colors for this operation.";

// A true-colour bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(std::int32_t width, std::int32_t height, TColor color, TPixelFormat format = pf24bit)
{
    auto b = std::make_unique<TBitmap>(width, height);
    b->SetPixelFormat(format);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect(Rect(0, 0, width, height));
    return b;
}

// An 8-bit bitmap whose table is i -> table(i) and whose pixel (x, y) is entry (x + 3y) mod 256.
std::unique_ptr<TBitmap> Palette(std::int32_t width, std::int32_t height, const std::function<TColor(int)>& table)
{
    auto holder = std::make_unique<TBitmap>(width, height);
    TBitmap& b = *holder;
    b.SetPixelFormat(pf8bit);
    std::vector<TColor> entries(256);
    for (int i = 0; i < 256; ++i)
        entries[static_cast<std::size_t>(i)] = table(i);
    b.SetColorTable(entries);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            b.Image().Row(y)[x] = b.Image().StoreIndex(static_cast<std::uint32_t>((x + 3 * y) % 256));
    return holder;
}

std::vector<TColor> Pixels(const TBitmap& b)
{
    std::vector<TColor> out;
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            out.push_back(b.Image().GetColor(x, y));
    return out;
}

std::vector<std::uint32_t> Indices(const TBitmap& b)
{
    std::vector<std::uint32_t> out;
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            out.push_back(b.Image().Row(y)[x] >> 24);
    return out;
}

} // namespace

// ---- The result bitmap ------------------------------------------------------------

TEST(GrafManResult, EveryRoutineReturnsTheSameOverwrittenBitmap)
{
    auto red = Filled(2, 2, clRed);
    auto blue = Filled(3, 1, clBlue);
    TBitmap& first = GreyBMP(*red);
    TBitmap& second = BrightenBMP(*blue, 0);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(&first, &CreatePattern(clBlack, clWhite));
    EXPECT_EQ(first.Width(), 8);
    EXPECT_EQ(Pixels(*red), std::vector<TColor>(4, clRed)) << "the given bitmap is not changed";
}

TEST(GrafManResult, ChainingOnTheResultCopiesItFirst)
{
    auto b = Filled(2, 2, clRed);
    b->Canvas().SetPixels(1, 1, clWhite);
    TBitmap& r = ResizeBMP(GreyBMP(*b), 4, 4);
    EXPECT_EQ(r.Width(), 4);
    EXPECT_EQ(r.Image().GetColor(0, 0), 0x333333);
    EXPECT_EQ(r.Image().GetColor(3, 3), clWhite);

    TBitmap& lcd = BmpToLCD(CreatePattern(clBlack, clWhite), clBlack, clWhite);
    EXPECT_EQ(lcd.Width(), 32);
    EXPECT_EQ(lcd.Image().GetColor(1, 1), clWhite) << "pattern (0, 0) is white: no dot";
    EXPECT_EQ(lcd.Image().GetColor(4, 1), 0x808080) << "pattern (1, 0) is black: a dot";

    TBitmap& soft = SoftenBMP(MergeBMP(*b, *b), 0);
    EXPECT_EQ(soft.Image().GetColor(1, 1), clWhite);
    EXPECT_EQ(soft.Image().GetColor(0, 0), clRed);

    TBitmap& bw = BWOnlyBMP(BWOnlyBMP(*b));
    EXPECT_EQ(bw.Image().GetColor(0, 0), clBlack);
}

TEST(GrafManResult, ResultsStartWithoutAnEarlierCallsTransparency)
{
    auto b = Filled(2, 2, clRed);
    b->SetTransparentColor(clRed);
    b->SetTransparent(true);
    EXPECT_TRUE(BWOnlyBMP(*b).Transparent());
    TBitmap& grey = GreyBMP(*b);
    EXPECT_FALSE(grey.Transparent());
    EXPECT_EQ(grey.TransparentMode(), tmAuto);
}

TEST(GrafManResult, EmptyBitmapsGiveEmptyResults)
{
    TBitmap empty;
    EXPECT_TRUE(GreyBMP(empty).Empty());
    EXPECT_TRUE(MergeBMP(empty, empty).Empty());
    EXPECT_TRUE(SoftenBMP(empty, 2).Empty());
    EXPECT_TRUE(MakeButton(empty, 2, true).Empty());
    EXPECT_TRUE(BmpToLCD(empty, clBlack, clWhite).Empty());
    EXPECT_TRUE(DisabledBmp(empty, clBlack, clWhite).Empty());
}

TEST(GrafManResult, StartUpCreatesAndShutDownFreesTheResult)
{
    auto b = Filled(1, 1, clRed);
    TBitmap* before = &GreyBMP(*b);
    InitializeGrafMan(); // a second start-up only counts
    FinalizeGrafMan();
    EXPECT_EQ(&GreyBMP(*b), before);
    FinalizeGrafMan();
    EXPECT_THROW((void)GreyBMP(*b), EInvalidOperation);
    InitializeGrafMan();
    EXPECT_EQ(GreyBMP(*b).Image().GetColor(0, 0), 0x333333);
}

// ---- Colour filters ---------------------------------------------------------------

TEST(GrafManColourFilters, TrueColourPixels)
{
    auto b = Filled(3, 2, 0x0000FF);
    b->Canvas().SetPixels(2, 1, 0x204080);
    EXPECT_EQ(GreyBMP(*b).Image().GetColor(0, 0), 0x333333);
    EXPECT_EQ(GreyBMP(*b).Image().GetColor(2, 1), ColorToGrey(0x204080));
    EXPECT_EQ(BrightenBMP(*b, 48).Image().GetColor(2, 1), 0x5070B0);
    EXPECT_EQ(DarkenBMP(*b, 48).Image().GetColor(2, 1), 0x001050);
    EXPECT_EQ(ColoriseImage(*b, 0x0000FF).Image().GetColor(0, 0), Colorise(0x0000FF, 0x0000FF));
    EXPECT_EQ(GreyBMP(*b).PixelFormat(), pf24bit);
}

TEST(GrafManColourFilters, EveryTrueColourDepthIsFilteredPerPixel)
{
    // 0x33 kept in 5 bits reads back as 0x31, in 6 bits as 0x30.
    const std::vector<std::pair<TPixelFormat, TColor>> cases { { pf15bit, 0x313131 }, { pf16bit, 0x313031 },
        { pf24bit, 0x333333 }, { pf32bit, 0x333333 }, { pfDevice, 0x333333 } };
    for (auto [format, grey] : cases) {
        auto b = Filled(2, 2, 0x0000FF, format);
        TBitmap& r = GreyBMP(*b);
        EXPECT_EQ(r.Image().GetColor(1, 1), grey) << int(format);
        EXPECT_EQ(r.PixelFormat(), format == pfDevice ? pf24bit : format);
    }
}

TEST(GrafManColourFilters, PaletteBitmapsChangeOnlyTheirTable)
{
    auto b = Palette(5, 4, [](int i) { return RGB(i, i / 2, 255 - i); });
    const auto indices = Indices(*b);
    TBitmap& r = BrightenBMP(*b, 10);
    EXPECT_EQ(r.PixelFormat(), pf8bit);
    EXPECT_EQ(Indices(r), indices);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(r.ColorTable()[static_cast<std::size_t>(i)], BrightenColor(RGB(i, i / 2, 255 - i), 10)) << i;
    EXPECT_EQ(GreyBMP(*b).ColorTable()[0], ColorToGrey(RGB(0, 0, 255)));
}

// ---- Merging ------------------------------------------------------------------------

TEST(GrafManMerge, BlackAndWhiteGiveMidGrey)
{
    auto black = Filled(4, 3, clBlack);
    auto white = Filled(4, 3, clWhite);
    EXPECT_EQ(Pixels(MergeBMP(*black, *white)), std::vector<TColor>(12, 0x808080));
    EXPECT_EQ(Pixels(MergeBMPExt(*black, *white, 30)), std::vector<TColor>(12, 0xB2B2B2)) << "percent is bitmap 1's weight";
}

TEST(GrafManMerge, OutsideBitmapTwoReadsAsZero)
{
    auto one = Filled(3, 2, clWhite);
    auto two = Filled(1, 1, clWhite);
    EXPECT_EQ(Pixels(MergeBMP(*one, *two)), (std::vector<TColor> { clWhite, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080 }));
    auto deep = Filled(3, 2, clWhite, pf32bit);
    EXPECT_EQ(Pixels(MergeBMPExt(*one, *deep, 0)), std::vector<TColor>(6, clWhite)) << "different depths read pixel by pixel";

    auto small = Palette(1, 1, [](int) { return clWhite; });
    small->SetPixelFormat(pf4bit);
    small->SetColorTable(std::vector<TColor>(16, clWhite));
    auto big = Palette(2, 2, [](int) { return clWhite; });
    TBitmap& r = MergeBMP(*big, *small);
    EXPECT_EQ(r.ColorTable()[15], clWhite);
    EXPECT_EQ(r.ColorTable()[16], 0x808080) << "entries beyond bitmap 2's table read as 0";
}

TEST(GrafManMerge, PaletteBitmapOneWithTrueColourTwoRaises)
{
    auto pal = Palette(2, 2, [](int i) { return RGB(i, i, i); });
    auto deep = Filled(2, 2, clWhite);
    TBitmap& before = CreatePattern(clRed, clBlue);
    const auto pixels = Pixels(before);
    EXPECT_EQ(MessageOf([&] { (void)MergeBMP(*pal, *deep); }), kNoTable);
    EXPECT_EQ(Pixels(before), pixels) << "the result is left alone";
    TBitmap& r = MergeBMP(*pal, *Palette(2, 2, [](int) { return clWhite; }));
    EXPECT_EQ(r.ColorTable()[0], 0x808080);
}

// ---- Softening ----------------------------------------------------------------------

TEST(GrafManSoften, AveragesInPlaceColumnByColumn)
{
    auto b = std::make_unique<TBitmap>(3, 1);
    b->SetPixelFormat(pf24bit);
    b->Canvas().SetPixels(0, 0, RGB(0, 0, 0));
    b->Canvas().SetPixels(1, 0, RGB(30, 0, 0));
    b->Canvas().SetPixels(2, 0, RGB(90, 0, 0));
    // (0 + 30) / 2 = 15; (15 + 30 + 90) / 3 = 45; (45 + 90) / 2 = 67.5, to the even 68.
    EXPECT_EQ(Pixels(SoftenBMP(*b, 1)), (std::vector<TColor> { RGB(15, 0, 0), RGB(45, 0, 0), RGB(68, 0, 0) }));
}

TEST(GrafManSoften, SquareIsPlacedByRoundingTiesToEven)
{
    // Radius 0.5: square Bounds(Round(x - 0.5), ..., 1, 1): x = 1 takes columns 0..1,
    // x = 2 columns 2..3 (1.5 rounds to 2).
    auto b = std::make_unique<TBitmap>(4, 1);
    b->SetPixelFormat(pf24bit);
    for (int x = 0; x < 4; ++x)
        b->Canvas().SetPixels(x, 0, RGB(0, 0, 40 * x));
    // x = 0: columns 0..1 -> (0 + 40) / 2 = 20; x = 1: columns 0..1 -> (20 + 40) / 2 = 30;
    // x = 2: columns 2..3 -> (80 + 120) / 2 = 100; x = 3: columns 2..3 (2.5 rounds to 2) -> (100 + 120) / 2 = 110.
    EXPECT_EQ(Pixels(SoftenBMP(*b, 0.5f)), (std::vector<TColor> { RGB(0, 0, 20), RGB(0, 0, 30), RGB(0, 0, 100), RGB(0, 0, 110) }));
}

TEST(GrafManSoften, ZeroNaNAndNegativeRadiiKeepThePicture)
{
    auto b = Palette(4, 3, [](int i) { return RGB(i * 7, i * 3, i); });
    b->SetPixelFormat(pf24bit);
    const auto pixels = Pixels(*b);
    EXPECT_EQ(Pixels(SoftenBMP(*b, 0)), pixels);
    EXPECT_EQ(Pixels(SoftenBMP(*b, std::numeric_limits<float>::quiet_NaN())), pixels);
    EXPECT_EQ(Pixels(SoftenBMP(*b, -3)), pixels);
}

TEST(GrafManSoften, HugeRadiiAverageTheWholePicture)
{
    auto b = Filled(4, 4, clBlack);
    b->Canvas().SetPixels(0, 0, RGB(160, 0, 0));
    const auto start = std::chrono::steady_clock::now();
    const auto capped = Pixels(SoftenBMP(*b, 65536));
    EXPECT_EQ(Pixels(SoftenBMP(*b, 1e30f)), capped);
    EXPECT_EQ(Pixels(SoftenBMP(*b, std::numeric_limits<float>::infinity())), capped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(capped[0], RGB(10, 0, 0)) << "160 / 16";
}

// ---- Button bevel ----------------------------------------------------------------------

TEST(GrafManButton, WidthOneBevelsTheOuterRing)
{
    auto b = Filled(4, 4, 0x808080);
    TBitmap& r = MakeButton(*b, 1, false);
    auto at = [&](int x, int y) { return r.Image().GetColor(x, y); };
    EXPECT_EQ(at(1, 0), 0xE0E0E0);
    EXPECT_EQ(at(0, 2), 0xE0E0E0);
    EXPECT_EQ(at(2, 3), 0x202020);
    EXPECT_EQ(at(3, 1), 0x202020);
    EXPECT_EQ(at(1, 1), 0x808080);
    EXPECT_EQ(at(2, 2), 0x808080);
    // Corners are changed by both passes.
    EXPECT_EQ(at(0, 0), 0xFFFFFF);
    EXPECT_EQ(at(3, 0), 0x808080);
    EXPECT_EQ(at(0, 3), 0x808080);
    EXPECT_EQ(at(3, 3), 0x000000);
}

TEST(GrafManButton, WidthZeroIsAnUnchangedCopy)
{
    auto b = Palette(3, 3, [](int i) { return RGB(i, 2 * i, 3 * i); });
    b->SetPixelFormat(pf24bit);
    EXPECT_EQ(Pixels(MakeButton(*b, 0, true)), Pixels(*b));
    EXPECT_EQ(Pixels(MakeButton(*b, -4, true)), Pixels(*b));
}

TEST(GrafManButton, GradedAmountChangesAfterEachPixel)
{
    auto b = Filled(6, 6, 0x808080);
    TBitmap& r = MakeButton(*b, 2, true);
    auto at = [&](int x, int y) { return r.Image().GetColor(x, y); };
    // Ring 2's first pixel still uses 96; the rest Round(96 - 1/2 × 96) = 48.
    EXPECT_EQ(at(2, 1), 0xB0B0B0);
    EXPECT_EQ(at(3, 1), 0xB0B0B0);
    EXPECT_EQ(at(1, 2), 0xB0B0B0);
    EXPECT_EQ(at(2, 4), 0x505050);
    EXPECT_EQ(at(4, 3), 0x505050);
    EXPECT_EQ(at(1, 1), 0xFFFFFF) << "96 twice, clamped";
    EXPECT_EQ(at(1, 4), 0x505050) << "darkened by 96, then brightened by 48";
    EXPECT_EQ(at(0, 3), 0xE0E0E0);
}

TEST(GrafManButton, WideBevelsStopAtTheMiddle)
{
    auto b = Filled(3, 2, 0x808080);
    const auto start = std::chrono::steady_clock::now();
    TBitmap& r = MakeButton(*b, std::numeric_limits<std::int32_t>::max(), true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(r.Width(), 3);
}

TEST(GrafManButton, PaletteBitmapsRaiseAndLeaveTheResult)
{
    auto b = Palette(4, 4, [](int i) { return RGB(i, i, i); });
    TBitmap& before = CreatePattern(clRed, clBlue);
    const auto pixels = Pixels(before);
    EXPECT_EQ(MessageOf([&] { (void)MakeButton(*b, 1, false); }), kNeedsTrueColour);
    EXPECT_EQ(Pixels(before), pixels);
    EXPECT_EQ(before.Width(), 8);
}

// ---- Patterns, disabled look, LCD, resizing, black and white ------------------------------

TEST(GrafManPattern, CheckerHasColourTwoOnEqualParity)
{
    TBitmap& p = CreatePattern(clBlack, clWhite);
    EXPECT_EQ(p.Width(), 8);
    EXPECT_EQ(p.Height(), 8);
    EXPECT_EQ(p.Image().GetColor(0, 0), clWhite);
    EXPECT_EQ(p.Image().GetColor(1, 0), clBlack);
    EXPECT_EQ(p.Image().GetColor(1, 1), clWhite);
    EXPECT_EQ(p.Image().GetColor(7, 6), clBlack);
}

TEST(GrafManDisabled, OddPixelsTakeColourOne)
{
    auto b = Filled(11, 9, 0x808080);
    TBitmap& r = DisabledBmp(*b, clRed, clBlue);
    EXPECT_EQ(r.Width(), 11);
    for (std::int32_t y = 0; y < 9; ++y)
        for (std::int32_t x = 0; x < 11; ++x)
            ASSERT_EQ(r.Image().GetColor(x, y), (x + y) % 2 ? clRed : 0x808080) << x << ", " << y;
    EXPECT_EQ(Pixels(*b), std::vector<TColor>(99, 0x808080));
}

TEST(GrafManDisabled, EqualColoursLeaveTheCopyUnchanged)
{
    auto b = Palette(5, 5, [](int i) { return RGB(i, 0, 0); });
    b->SetPixelFormat(pf24bit);
    EXPECT_EQ(Pixels(DisabledBmp(*b, clLime, clLime)), Pixels(*b));
}

TEST(GrafManDisabled, WorksOnTheResultItself)
{
    TBitmap& r = DisabledBmp(BrightenBMP(*Filled(3, 3, 0x404040), 0), clBlack, clWhite);
    EXPECT_EQ(Pixels(r), (std::vector<TColor> { 0x404040, 0, 0x404040, 0, 0x404040, 0, 0x404040, 0, 0x404040 }));
}

TEST(GrafManLCD, DotsOnAThreePixelGrid)
{
    auto b = std::make_unique<TBitmap>(2, 1);
    b->SetPixelFormat(pf24bit);
    b->Canvas().SetPixels(0, 0, clBlack);
    b->Canvas().SetPixels(1, 0, clWhite);
    TBitmap& r = BmpToLCD(*b, clBlack, clWhite);
    ASSERT_EQ(r.Width(), 8);
    ASSERT_EQ(r.Height(), 4);
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 8; ++x) {
            const bool dot = x >= 1 && x < 3 && y >= 1 && y < 3;
            ASSERT_EQ(r.Image().GetColor(x, y), dot ? 0x808080 : clWhite) << x << ", " << y;
        }
}

TEST(GrafManResize, StretchesToTheGivenSize)
{
    auto b = Filled(2, 2, clRed);
    b->Canvas().SetPixels(1, 0, clBlue);
    TBitmap& r = ResizeBMP(*b, 4, 6);
    EXPECT_EQ(r.Width(), 4);
    EXPECT_EQ(r.Height(), 6);
    EXPECT_EQ(r.Image().GetColor(0, 0), clRed);
    EXPECT_EQ(r.Image().GetColor(3, 2), clBlue);
    EXPECT_EQ(r.Image().GetColor(3, 5), clRed);
    EXPECT_TRUE(ResizeBMP(*b, 0, 3).Empty());
}

TEST(GrafManResize, ResultsAreTrueColourWhateverTheLastCallLeft)
{
    (void)BMPFromRes("APPLE");
    auto b = Filled(1, 1, 0x123456);
    EXPECT_EQ(ResizeBMP(*b, 2, 2).Image().GetColor(1, 1), 0x123456);
    (void)BMPFromRes("APPLE");
    EXPECT_EQ(CreatePattern(0x123456, 0x654321).Image().GetColor(1, 0), 0x123456);
}

TEST(GrafManBlackAndWhite, OnlyWhiteStaysWhite)
{
    auto b = Filled(3, 1, clWhite);
    b->Canvas().SetPixels(1, 0, 0xFEFFFF);
    b->Canvas().SetPixels(2, 0, clYellow);
    TBitmap& r = BWOnlyBMP(*b);
    EXPECT_FALSE(r.Monochrome());
    EXPECT_EQ(Pixels(r), (std::vector<TColor> { clWhite, clBlack, clBlack }));
}

// ---- Loading ------------------------------------------------------------------------------

TEST(GrafManLoading, PackageResourcesByName)
{
    TBitmap& star = BMPFromRes("star");
    EXPECT_EQ(star.Width(), 16);
    EXPECT_EQ(star.Height(), 16);
    EXPECT_EQ(star.Image().GetColor(0, 0), clFuchsia);
    EXPECT_NE(star.Image().GetColor(8, 8), clFuchsia);
    EXPECT_EQ(BMPFromRes("Apple").PixelFormat(), pf4bit);
    EXPECT_EQ(BMPFromRes("APPLE").Image().GetColor(0, 0), clFuchsia);
    EXPECT_EQ(BMPFromRes("ClrBtnPattern").Width(), 8);
    EXPECT_EQ(BMPFromRes("ClrBtnPattern").PixelFormat(), pf4bit);
    EXPECT_EQ(BMPFromRes("redball").Height(), 16);
    EXPECT_THROW((void)BMPFromRes("NOSUCHPICTURE"), EResNotFound);
}

TEST(GrafManLoading, FilesAndChainedFilters)
{
    const auto file = std::filesystem::temp_directory_path() / ("grafman-" + std::to_string(::getpid()) + ".bmp");
    Filled(5, 4, 0x336699)->SaveToFile(file.string());
    TBitmap& r = LoadBMPFile(file.string());
    EXPECT_EQ(r.Width(), 5);
    EXPECT_EQ(r.Image().GetColor(4, 3), 0x336699);
    TBitmap& d = DisabledBmp(LoadBMPFile(file.string()), clBlack, clWhite);
    EXPECT_EQ(d.Image().GetColor(1, 0), clBlack);
    EXPECT_EQ(d.Image().GetColor(1, 1), 0x336699);
    std::filesystem::remove(file);
    EXPECT_THROW((void)LoadBMPFile(file.string()), EStreamError);
    EXPECT_EQ(d.Width(), 5) << "a failed load leaves the result";
}

// ---- Direct filters against the stated path -------------------------------------------

namespace {

// The filters as stated: through the virtual bitmap, the table of a palette
// picture or every pixel, and produced into a bitmap of their own.
template <class F>
std::unique_ptr<TBitmap> RefColorFilter(const TBitmap& bitmap, F f)
{
    TVirtualBitmap v(bitmap);
    if (v.Bits() <= 8) {
        for (std::int64_t i = 0; i < v.Colors(); ++i)
            v.SetColor(static_cast<std::uint8_t>(i), f(v.GetColor(static_cast<std::uint8_t>(i))));
    } else {
        for (std::int32_t x = 0; x < v.Width(); ++x)
            for (std::int32_t y = 0; y < v.Height(); ++y)
                v.SetPixel(x, y, f(v.GetPixel(x, y)));
    }
    auto out = std::make_unique<TBitmap>();
    v.ProduceBitmap(*out);
    return out;
}

std::unique_ptr<TBitmap> RefMerge(const TBitmap& one, const TBitmap& two, std::uint8_t percent)
{
    TVirtualBitmap a(one), b(two), out(one);
    if (out.Bits() <= 8) {
        for (std::int64_t i = 0; i < out.Colors(); ++i) {
            const auto index = static_cast<std::uint8_t>(i);
            out.SetColor(index, MergeColorExt(a.GetColor(index), b.GetColor(index), percent));
        }
    } else {
        for (std::int32_t x = 0; x < out.Width(); ++x)
            for (std::int32_t y = 0; y < out.Height(); ++y)
                out.SetPixel(x, y, MergeColorExt(a.GetPixel(x, y), b.GetPixel(x, y), percent));
    }
    auto result = std::make_unique<TBitmap>();
    out.ProduceBitmap(*result);
    return result;
}

std::unique_ptr<TBitmap> RefSoften(const TBitmap& bitmap, float radius)
{
    const long double r = std::isnan(radius) || radius < 0 ? 0.0L : std::min<long double>(radius, 65536.0L);
    TVirtualBitmap v(bitmap);
    const auto size = static_cast<std::int32_t>(Round(2 * r));
    for (std::int32_t x = 0; x < v.Width(); ++x)
        for (std::int32_t y = 0; y < v.Height(); ++y) {
            TRect square = Bounds(static_cast<std::int32_t>(Round(x - r)), static_cast<std::int32_t>(Round(y - r)), size, size);
            v.SetPixel(x, y, MiscVBToColor(v, square));
        }
    auto out = std::make_unique<TBitmap>();
    v.ProduceBitmap(*out);
    return out;
}

// A picture of random colours in the given format.
std::unique_ptr<TBitmap> Noise(std::int32_t w, std::int32_t h, TPixelFormat format, std::uint32_t seed)
{
    auto b = std::make_unique<TBitmap>(w, h);
    std::mt19937 rng(seed);
    Raster& image = b->Image();
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            image.Row(y)[x] = rng() & 0xFFFFFF;
    b->SetPixelFormat(format);
    return b;
}

void ExpectSameBitmap(const TBitmap& actual, const TBitmap& expected, const std::string& what)
{
    ASSERT_EQ(actual.Width(), expected.Width()) << what;
    ASSERT_EQ(actual.Height(), expected.Height()) << what;
    ASSERT_EQ(actual.PixelFormat(), expected.PixelFormat()) << what;
    ASSERT_EQ(actual.ColorTable(), expected.ColorTable()) << what;
    EXPECT_FALSE(actual.Transparent()) << what;
    for (std::int32_t y = 0; y < actual.Height(); ++y)
        for (std::int32_t x = 0; x < actual.Width(); ++x)
            ASSERT_EQ(actual.Image().Row(y)[x], expected.Image().Row(y)[x]) << what << " at " << x << ", " << y;
}

struct Shape {
    std::int32_t w, h;
};
// Empty, single pixels, odd sizes, and one large enough for several threads.
const Shape kShapes[] = { { 0, 0 }, { 1, 1 }, { 1, 5 }, { 6, 1 }, { 13, 7 }, { 31, 17 }, { 641, 421 } };
const TPixelFormat kFormats[] = { pf24bit, pf32bit, pfDevice, pf8bit, pf4bit, pf15bit, pf16bit };

// The large shape only matters where the pixels are filtered on several threads.
bool Worthwhile(const Shape& s, TPixelFormat f)
{
    return s.w * s.h < 100000 || f == pf24bit || f == pf32bit || f == pfDevice;
}

std::string Name(const Shape& s, TPixelFormat f, const std::string& filter)
{
    return filter + " on " + std::to_string(s.w) + "x" + std::to_string(s.h) + " format " + std::to_string(f);
}

} // namespace

TEST(GrafManStatedPath, ColourFiltersEqualTheVirtualBitmapPath)
{
    const std::int32_t amounts[] = { 0, 40, -40, 300, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max() };
    std::uint32_t seed = 1;
    for (const Shape& shape : kShapes)
        for (TPixelFormat format : kFormats) {
            if (!Worthwhile(shape, format))
                continue;
            auto picture = Noise(shape.w, shape.h, format, seed++);
            picture->SetTransparent(true);
            ExpectSameBitmap(GreyBMP(*picture), *RefColorFilter(*picture, [](TColor c) { return ColorToGrey(c); }), Name(shape, format, "grey"));
            const TColor tint = static_cast<TColor>(seed * 2654435761u & 0xFFFFFF);
            ExpectSameBitmap(ColoriseImage(*picture, tint), *RefColorFilter(*picture, [tint](TColor c) { return Colorise(c, tint); }),
                Name(shape, format, "colorise"));
            const std::int32_t amount = amounts[seed % std::size(amounts)];
            ExpectSameBitmap(BrightenBMP(*picture, amount),
                *RefColorFilter(*picture, [amount](TColor c) { return BrightenColor(c, amount); }), Name(shape, format, "brighten"));
            ExpectSameBitmap(DarkenBMP(*picture, amount),
                *RefColorFilter(*picture, [amount](TColor c) { return DarkenColor(c, amount); }), Name(shape, format, "darken"));
            if (HasFailure())
                return;
        }
}

TEST(GrafManStatedPath, EveryColourGoesThroughTheTablesAsThroughTheFunctions)
{
    // All 2^24 colours once: the grey and tint tables cover every weighted sum,
    // the channel tables every channel value.
    auto all = std::make_unique<TBitmap>(4096, 4096);
    all->SetPixelFormat(pf24bit);
    for (std::int32_t y = 0; y < 4096; ++y)
        for (std::int32_t x = 0; x < 4096; ++x)
            all->Image().Row(y)[x] = static_cast<std::uint32_t>(y) * 4096 + static_cast<std::uint32_t>(x);
    auto check = [&](TBitmap& result, auto f, const char* what, std::int32_t rowStep) {
        for (std::int32_t y = 0; y < 4096; y += rowStep) {
            const std::uint32_t* row = result.Image().Row(y);
            for (std::int32_t x = 0; x < 4096; ++x) {
                const auto c = static_cast<TColor>(static_cast<std::uint32_t>(y) * 4096 + static_cast<std::uint32_t>(x));
                if (row[x] != static_cast<std::uint32_t>(f(c))) {
                    ADD_FAILURE() << what << " of " << std::hex << c;
                    return;
                }
            }
        }
    };
    check(GreyBMP(*all), [](TColor c) { return ColorToGrey(c); }, "grey", 1);
    // The tint table is the grey table's, coloured; channel tables need few rows.
    check(ColoriseImage(*all, 0x2080F0), [](TColor c) { return Colorise(c, 0x2080F0); }, "tint", 7);
    check(BrightenBMP(*all, 77), [](TColor c) { return BrightenColor(c, 77); }, "brighten", 61);
}

TEST(GrafManStatedPath, MergingEqualsTheVirtualBitmapPath)
{
    std::uint32_t seed = 100;
    for (const Shape& shape : kShapes)
        for (TPixelFormat format : kFormats) {
            if (!Worthwhile(shape, format))
                continue;
            auto one = Noise(shape.w, shape.h, format, seed++);
            // The same size and depth, and a smaller or different second bitmap.
            for (int variant = 0; variant < 3; ++variant) {
                std::unique_ptr<TBitmap> two;
                if (variant == 0)
                    two = Noise(shape.w, shape.h, format, seed++);
                else if (variant == 1)
                    two = Noise(shape.w / 2 + 1, shape.h / 3, format == pf24bit ? pf32bit : format, seed++);
                else
                    two = std::make_unique<TBitmap>();
                if (Raster::IsPaletteFormat(format) && !one->Empty() && (two->Empty() || !Raster::IsPaletteFormat(two->PixelFormat()))) {
                    EXPECT_EQ(MessageOf([&] { (void)MergeBMP(*one, *two); }), kNoTable);
                    continue;
                }
                const auto percent = static_cast<std::uint8_t>(seed * 37 % 101);
                ExpectSameBitmap(MergeBMPExt(*one, *two, percent), *RefMerge(*one, *two, percent),
                    Name(shape, format, "merge " + std::to_string(variant)));
                if (HasFailure())
                    return;
            }
        }
    // Every pair of channel values meets once.
    auto a = std::make_unique<TBitmap>(256, 256);
    auto b = std::make_unique<TBitmap>(256, 256);
    a->SetPixelFormat(pf24bit);
    b->SetPixelFormat(pf24bit);
    for (std::uint32_t y = 0; y < 256; ++y)
        for (std::uint32_t x = 0; x < 256; ++x) {
            a->Image().Row(static_cast<std::int32_t>(y))[x] = RGB(x, y, 255 - x);
            b->Image().Row(static_cast<std::int32_t>(y))[x] = RGB(y, x, (x * 7 + y) & 0xFF);
        }
    for (std::uint8_t percent : { 0, 1, 30, 50, 99, 100, 255 })
        ExpectSameBitmap(MergeBMPExt(*a, *b, percent), *RefMerge(*a, *b, percent), "all pairs at " + std::to_string(percent));
}

TEST(GrafManStatedPath, SofteningEqualsAveragingTheSquareEachTime)
{
    const float radii[] = { 0.0f, 0.25f, 0.5f, 1.0f, 1.5f, 2.5f, 3.7f, 6.0f, 40.0f };
    std::uint32_t seed = 200;
    for (const Shape& shape : kShapes) {
        if (shape.w * shape.h > 1000)
            continue;
        for (TPixelFormat format : kFormats)
            for (float radius : radii) {
                auto picture = Noise(shape.w, shape.h, format, seed++);
                ExpectSameBitmap(SoftenBMP(*picture, radius), *RefSoften(*picture, radius),
                    Name(shape, format, "soften " + std::to_string(radius)));
                if (HasFailure())
                    return;
            }
    }
    auto large = Noise(97, 61, pf24bit, 7);
    for (float radius : { 1.0f, 4.0f })
        ExpectSameBitmap(SoftenBMP(*large, radius), *RefSoften(*large, radius), "97x61 soften " + std::to_string(radius));
}

TEST(GrafManStatedPath, FiltersOfTheResultItselfAndItsListeners)
{
    auto picture = Noise(9, 5, pf24bit, 300);
    auto twice = RefColorFilter(*RefColorFilter(*picture, [](TColor c) { return ColorToGrey(c); }),
        [](TColor c) { return BrightenColor(c, 9); });
    ExpectSameBitmap(BrightenBMP(GreyBMP(*picture), 9), *twice, "brighten of grey");
    auto softened = RefSoften(*RefMerge(*picture, *picture, 70), 1.5f);
    ExpectSameBitmap(SoftenBMP(MergeBMPExt(*picture, *picture, 70), 1.5f), *softened, "soften of merge");
    TBitmap& result = GreyBMP(*picture);
    ExpectSameBitmap(MergeBMPExt(result, result, 20), *RefMerge(result, result, 20), "merge of the result with itself");

    int changes = 0;
    result.SetOnChange([&](TObject*) { ++changes; });
    (void)DarkenBMP(*picture, 3);
    EXPECT_GT(changes, 0) << "the result's listeners hear of the new picture";
    result.SetOnChange(nullptr);
}

// ---- Rows of pixels ------------------------------------------------------------------

TEST(GrafManRows, RowsComputeWhatTheChannelFormulasSay)
{
    // Every length from 0 to 40, so the four- and eight-pixel steps meet every
    // remainder; rows written in place too.
    std::mt19937 rng(400);
    for (std::size_t n = 0; n <= 40; ++n) {
        std::vector<std::uint32_t> a(n), b(n), out(n);
        for (std::size_t i = 0; i < n; ++i) {
            a[i] = rng() & 0xFFFFFF;
            b[i] = rng() & 0xFFFFFF;
        }
        auto channel = [](std::uint32_t w, int c) { return (w >> (8 * c)) & 0xFF; };
        detail::GreyRow(a.data(), out.data(), n);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(out[i], detail::GreyOfSum(2 * channel(a[i], 0) + 5 * channel(a[i], 1) + 3 * channel(a[i], 2)) * 0x010101u) << n;
        std::array<std::uint32_t, 256> byGrey;
        for (std::uint32_t g = 0; g < 256; ++g)
            byGrey[g] = rng() & 0xFFFFFF;
        detail::ByGreyRow(a.data(), out.data(), n, byGrey.data());
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(out[i], byGrey[detail::GreyOfSum(2 * channel(a[i], 0) + 5 * channel(a[i], 1) + 3 * channel(a[i], 2))]) << n;
        for (std::uint32_t percent : { 0u, 1u, 30u, 50u, 99u, 100u }) {
            detail::MixRow(a.data(), b.data(), out.data(), n, percent);
            for (std::size_t i = 0; i < n; ++i)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(channel(out[i], c), detail::MixOf(channel(a[i], c), channel(b[i], c), percent)) << n << " " << percent;
        }
        for (std::int32_t amount : { -255, -100, -1, 0, 1, 77, 255 }) {
            std::vector<std::uint32_t> same = a;
            detail::ShiftRow(same.data(), same.data(), n, amount);
            for (std::size_t i = 0; i < n; ++i) {
                ASSERT_EQ(same[i] >> 24, 0u);
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(channel(same[i], c), detail::ShiftOf(channel(a[i], c), amount)) << n << " " << amount;
            }
        }
    }
}

TEST(GrafManRows, TheFormulasAreTheColourFunctions)
{
    // Where these hold, the filters work on whole rows; where one did not, they
    // would fall back to tables of the functions themselves.
    for (std::uint32_t r = 0; r < 256; ++r)
        for (std::uint32_t g = 0; g < 256; ++g)
            for (std::uint32_t b = 0; b < 256; b += 15) {
                const TColor c = RGB(r, g, b);
                ASSERT_EQ(ColorToGrey(c), static_cast<TColor>(detail::GreyOfSum(2 * r + 5 * g + 3 * b) * 0x010101u)) << std::hex << c;
            }
    for (std::uint32_t percent : { 0u, 1u, 2u, 29u, 30u, 50u, 51u, 71u, 99u, 100u })
        for (std::uint32_t a = 0; a < 256; ++a)
            for (std::uint32_t b = 0; b < 256; ++b)
                ASSERT_EQ(GetRValue(MergeColorExt(RGB(a, 0, 0), RGB(b, 0, 0), static_cast<std::uint8_t>(percent))), detail::MixOf(a, b, percent))
                    << a << " " << b << " " << percent;
    for (std::int32_t amount = -300; amount <= 300; ++amount)
        for (std::uint32_t v = 0; v < 256; ++v) {
            ASSERT_EQ(GetGValue(BrightenColor(RGB(0, v, 0), amount)), detail::ShiftOf(v, amount)) << v << " " << amount;
            ASSERT_EQ(GetBValue(DarkenColor(RGB(0, 0, v), amount)), detail::ShiftOf(v, -amount)) << v << " " << amount;
        }
}
