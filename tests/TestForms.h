// Helpers for component tests: form-file round trips and pictures of a form.
#pragma once

#include "color/host/Bitmap.h"
#include "color/host/Raster.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace plx::test {

//! Writes root, reads the text back into a new root, writes that again and
//! expects the same text; returns the text.
inline std::string ExpectRoundTrip(const TComponent& root)
{
    const std::string text = WriteComponentText(root);
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    EXPECT_EQ(WriteComponentText(*copy), text) << "write, read, write changed the text";
    return text;
}

//! The form's client area painted into a new bitmap (no window needed).
inline std::unique_ptr<TBitmap> Picture(TCustomForm& form)
{
    auto bitmap = std::make_unique<TBitmap>();
    form.RenderTo(*bitmap);
    return bitmap;
}

//! The number of pixels of the area with exactly this colour.
inline std::int64_t CountColor(const TBitmap& bitmap, const TRect& area, TColor color)
{
    std::int64_t n = 0;
    for (std::int32_t y = area.Top; y < area.Bottom; ++y)
        for (std::int32_t x = area.Left; x < area.Right; ++x)
            n += bitmap.Image().GetColor(x, y) == color ? 1 : 0;
    return n;
}

//! The first place where two areas of the same size differ, as text; empty when equal.
inline std::string FirstDifference(const TBitmap& a, TPoint aOrigin, const TBitmap& b, TPoint bOrigin, std::int32_t width,
    std::int32_t height)
{
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            const TColor pa = a.Image().GetColor(aOrigin.X + x, aOrigin.Y + y);
            const TColor pb = b.Image().GetColor(bOrigin.X + x, bOrigin.Y + y);
            if (pa != pb)
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(pa) + " against "
                    + std::to_string(pb);
        }
    return {};
}

//! The box of the pixels of one colour in an area; empty when there are none.
inline TRect BoxOf(const TBitmap& picture, const TRect& area, TColor color)
{
    TRect box { area.Right, area.Bottom, area.Left, area.Top };
    for (std::int32_t y = area.Top; y < area.Bottom; ++y)
        for (std::int32_t x = area.Left; x < area.Right; ++x)
            if (picture.Image().GetColor(x, y) == color) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect {} : box;
}

//! Reads a form file of a 50 x 30 form holding one component of the class,
//! with the given property lines (each "    Name = value\n"), and paints the
//! form: what that raised, as MessageOf gives it.
inline std::string ReadAndPaint(const std::string& className, const std::string& lines)
{
    return MessageOf([&] {
        std::unique_ptr<TComponent> form(ReadComponentFromText(
            "object F: TForm\n  ClientWidth = 50\n  ClientHeight = 30\n  object B: " + className + "\n" + lines + "  end\nend\n",
            nullptr));
        auto picture = Picture(dynamic_cast<TForm&>(*form));
    });
}

} // namespace plx::test
