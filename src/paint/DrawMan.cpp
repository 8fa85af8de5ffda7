#include "paint/DrawMan.h"

namespace plx {

TColor TransColor(const TBitmap& bitmap) noexcept
{
    if (bitmap.Empty())
        return clInvalid;
    return bitmap.Image().GetColor(0, 0);
}

bool BmpIsNil(const TBitmap* bitmap) noexcept
{
    return !bitmap || bitmap->Width() == 0 || bitmap->Height() == 0;
}

void SetSize(TBitmap& bitmap, std::int32_t width, std::int32_t height)
{
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
}

void TransparentBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y, TColor transparentColor)
{
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(transparentColor);
    canvas.Draw(x, y, bitmap);
}

void TransBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y)
{
    TransparentBlt(canvas, bitmap, x, y, bitmap.TransparentColor());
}

} // namespace plx
