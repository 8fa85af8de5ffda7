#include "Skins.h"

#include "paint/Gradient.h"

#include <cmath>

namespace demo {

using namespace plx;

namespace {

constexpr TColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) noexcept
{
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

constexpr TColor kOutline = Rgb(24, 40, 72);
constexpr TColor kFace = Rgb(96, 136, 200);
constexpr TColor kPressedFace = Rgb(64, 100, 168);
constexpr TColor kLightEdge = Rgb(176, 204, 240);
constexpr TColor kShadowEdge = Rgb(56, 88, 144);
constexpr TColor kArrow = Rgb(16, 24, 48);
constexpr TColor kTrackLight = Rgb(220, 228, 240);
constexpr TColor kTrackDark = Rgb(184, 196, 216);

void Fill(TCanvas& canvas, const TRect& rect, TColor color)
{
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

// A square-cornered button face in the frame at left: an outline, a one-pixel
// relief (sunk when pressed) and the face.
void ButtonFrame(TCanvas& canvas, std::int32_t left, std::int32_t width, std::int32_t height, bool pressed)
{
    Fill(canvas, Rect(left, 0, left + width, height), kOutline);
    Fill(canvas, Rect(left + 1, 1, left + width - 1, height - 1), pressed ? kLightEdge : kShadowEdge);
    Fill(canvas, Rect(left + 1, 1, left + width - 2, height - 2), pressed ? kShadowEdge : kLightEdge);
    Fill(canvas, Rect(left + 2, 2, left + width - 2, height - 2), pressed ? kPressedFace : kFace);
}

// A solid triangle five pixels long in the middle of the frame at left.
void Arrow(TCanvas& canvas, std::int32_t left, std::int32_t size, ArrowDirection direction, TColor color, std::int32_t shift)
{
    for (std::int32_t along = 0; along < 5; ++along)
        for (std::int32_t across = -along - 1; across <= along; ++across) {
            std::int32_t a = size / 2 - 3 + along;
            if (direction == ArrowDirection::Right || direction == ArrowDirection::Down)
                a = size - 1 - a;
            const std::int32_t c = size / 2 + across;
            const bool horizontal = direction == ArrowDirection::Left || direction == ArrowDirection::Right;
            canvas.SetPixels(left + (horizontal ? a : c) + shift, (horizontal ? c : a) + shift, color);
        }
}

} // namespace

void MakeArrowSkin(TBitmap& picture, ArrowDirection direction, std::int32_t size)
{
    picture.SetSize(2 * size, size);
    TCanvas& canvas = picture.Canvas();
    ButtonFrame(canvas, 0, size, size, false);
    Arrow(canvas, 0, size, direction, kArrow, 0);
    ButtonFrame(canvas, size, size, size, true);
    Arrow(canvas, size, size, direction, clWhite, 1);
}

void MakeThumbSkin(TBitmap& picture, std::int32_t width, std::int32_t height, bool vertical)
{
    picture.SetSize(2 * width, height);
    TCanvas& canvas = picture.Canvas();
    for (const bool pressed : { false, true }) {
        const std::int32_t left = pressed ? width : 0;
        ButtonFrame(canvas, left, width, height, pressed);
        // Three grooves across the bar, each a dark line over a light one.
        for (const std::int32_t k : { -2, 0, 2 }) {
            const TRect dark = vertical ? Rect(left + 4, height / 2 + k, left + width - 4, height / 2 + k + 1)
                                        : Rect(left + width / 2 + k, 4, left + width / 2 + k + 1, height - 4);
            const TRect light = vertical ? Rect(dark.Left, dark.Top + 1, dark.Right, dark.Bottom + 1)
                                         : Rect(dark.Left + 1, dark.Top, dark.Right + 1, dark.Bottom);
            Fill(canvas, light, pressed ? kOutline : kShadowEdge);
            Fill(canvas, dark, pressed ? clWhite : kLightEdge);
        }
    }
}

void MakeBallSkin(TBitmap& picture, std::int32_t size)
{
    struct Shades {
        TColor body, light, dark;
    };
    picture.SetSize(2 * size, size);
    const Shades frames[] = { { Rgb(232, 120, 24), Rgb(255, 200, 120), Rgb(160, 64, 8) },
        { Rgb(200, 32, 32), Rgb(255, 150, 150), Rgb(112, 16, 16) } };
    for (std::int32_t f = 0; f < 2; ++f)
        for (std::int32_t y = 0; y < size; ++y)
            for (std::int32_t x = 0; x < size; ++x) {
                const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
                const double d = std::hypot(dx, dy);
                TColor c = frames[f].body;
                if (d > size / 2.0 - 0.5)
                    c = kSkinTransparent;
                else if (d > size / 2.0 - 1.6)
                    c = frames[f].dark;
                else if (std::hypot(dx + 2.5, dy + 2.5) < 2.5)
                    c = frames[f].light;
                picture.Canvas().SetPixels(f * size + x, y, c);
            }
}

void MakeTrackTile(TBitmap& picture)
{
    picture.SetSize(8, 8);
    for (std::int32_t y = 0; y < 8; ++y)
        for (std::int32_t x = 0; x < 8; ++x)
            picture.Canvas().SetPixels(x, y, (x + y) % 4 != 0 ? kTrackLight : kTrackDark);
}

void MakeLandscape(TBitmap& picture, std::int32_t size)
{
    picture.SetSize(size, size);
    TCanvas& canvas = picture.Canvas();
    TGradient sky;
    sky.SetColorCount(1);
    sky.SetColor1(Rgb(40, 96, 200));
    sky.SetColor2(Rgb(200, 228, 255));
    sky.SetLineSize(2);
    PaintGradient(canvas, Rect(0, 0, size, size), sky);
    canvas.Pen().SetColor(Rgb(240, 160, 0));
    canvas.Brush().SetColor(Rgb(255, 216, 40));
    canvas.Ellipse(size * 55 / 100, size * 14 / 100, size * 80 / 100, size * 39 / 100);
    canvas.Pen().SetColor(Rgb(24, 96, 32));
    canvas.Brush().SetColor(Rgb(64, 160, 64));
    canvas.Ellipse(-size / 2, size * 58 / 100, size * 80 / 100, size * 2);
    canvas.Brush().SetColor(Rgb(40, 128, 48));
    canvas.Ellipse(size * 35 / 100, size * 68 / 100, size * 3 / 2, size * 2);
    // Round: everything outside the circle becomes the transparent colour.
    const double r = size / 2.0;
    for (std::int32_t y = 0; y < size; ++y)
        for (std::int32_t x = 0; x < size; ++x)
            if (std::hypot(x + 0.5 - r, y + 0.5 - r) > r - 0.5)
                canvas.SetPixels(x, y, kSkinTransparent);
}

} // namespace demo
