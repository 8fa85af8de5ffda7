// GrafMan: whole-bitmap filters (brighten, darken, grey, tint, merge, soften,
// button bevel, black and white, disabled look, resize, LCD dots), an 8 x 8
// checker pattern and bitmap loading from files and package resources.
#pragma once

#include "color/host/Bitmap.h"
#include "color/host/Types.h"

#include <cstdint>
#include <string>

namespace plx {

//! Creates the unit's result bitmap; the package calls it at start-up.
void InitializeGrafMan();
//! Frees the result bitmap; the package calls it at shut-down.
void FinalizeGrafMan();

// Every routine below returns the unit's one result bitmap, overwritten by the
// next call of any of them: a caller that keeps a result copies it first (for
// example with Assign). The bitmaps given are never changed, and the result
// bitmap itself may be passed in (GreyBMP(SoftenBMP(b, 1))). Palette bitmaps
// (8 bits per pixel or fewer) are filtered through their colour table; an empty
// bitmap gives an empty result. Calling a routine while the unit is not
// initialised raises EInvalidOperation.

//! An 8 x 8 checker: color2 where x and y are both even or both odd, color1 elsewhere.
TBitmap& CreatePattern(TColor color1, TColor color2);
//! The bitmap as LCD dots, 4 times wider and higher: a dot in dotColor on a
//! 3-pixel grid for every pixel that is not light, on backColor.
TBitmap& BmpToLCD(const TBitmap& bitmap, TColor dotColor, TColor backColor);
//! The result loaded from a .bmp file; the host's load errors pass through.
TBitmap& LoadBMPFile(const std::string& fileName);
//! The result loaded from the package's bitmap resource of that name (upper-cased);
//! raises EResNotFound when there is none.
TBitmap& BMPFromRes(const std::string& name);
//! A copy of the bitmap with every pixel whose x + y is odd set to color1 (the
//! checker drawn over it with color2 transparent).
TBitmap& DisabledBmp(const TBitmap& bitmap, TColor color1, TColor color2);
//! The bitmap stretched to width x height.
TBitmap& ResizeBMP(const TBitmap& bitmap, std::int32_t width, std::int32_t height);
//! Each colour BrightenColor(colour, amount).
TBitmap& BrightenBMP(const TBitmap& bitmap, std::int32_t amount);
//! Each colour DarkenColor(colour, amount).
TBitmap& DarkenBMP(const TBitmap& bitmap, std::int32_t amount);
//! Each colour ColorToGrey(colour).
TBitmap& GreyBMP(const TBitmap& bitmap);
//! Each colour Colorise(colour, tint).
TBitmap& ColoriseImage(const TBitmap& bitmap, TColor tint);
//! Each colour MergeColorExt(colour of bitmap1, colour of bitmap2, percent), over
//! bitmap1's size or table; pixels or entries beyond bitmap2 read as 0. A
//! palette bitmap1 with a bitmap2 of more than 8 bits raises the colour-table
//! message of the virtual bitmap.
TBitmap& MergeBMPExt(const TBitmap& bitmap1, const TBitmap& bitmap2, std::uint8_t percent);
//! MergeBMPExt(bitmap1, bitmap2, 50).
TBitmap& MergeBMP(const TBitmap& bitmap1, const TBitmap& bitmap2);
//! Each pixel, columns outer, replaced by the average of the square
//! Bounds(Round(x - radius), Round(y - radius), Round(2 radius), Round(2 radius))
//! (bounds inclusive) of the picture as softened so far. A NaN or negative
//! radius counts as 0.
TBitmap& SoftenBMP(const TBitmap& bitmap, float radius);
//! The bitmap with a raised bevel of bevelWidth rings: top and left brightened,
//! bottom and right darkened by 96, or by amounts falling off ring by ring when
//! graded. Raises Exception("Required 16bit or more colors for this operation.")
//! for a bitmap of 8 bits per pixel or fewer, leaving the result unchanged.
TBitmap& MakeButton(const TBitmap& bitmap, std::int32_t bevelWidth, bool graded);
//! The bitmap reduced to black and white by the host's monochrome conversion.
TBitmap& BWOnlyBMP(const TBitmap& bitmap);

} // namespace plx
