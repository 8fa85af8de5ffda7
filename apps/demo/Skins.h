// The demo's own pictures, drawn in code: skins for the scroll bars (arrow
// buttons, thumbs, a track tile) and a round landscape for the picture control.
#pragma once

#include "color/host/Bitmap.h"

#include <cstdint>

namespace demo {

//! Where an arrow button's arrow points.
enum class ArrowDirection : std::uint8_t { Left, Right, Up, Down };

//! The colour around the round pictures, which the controls leave out.
inline constexpr plx::TColor kSkinTransparent = 0x00FF00FF; // fuchsia

//! An arrow button of size x size in two frames side by side: raised, then
//! pressed (sunk, with the arrow one pixel right and down).
void MakeArrowSkin(plx::TBitmap& picture, ArrowDirection direction, std::int32_t size = 16);
//! A thumb of width x height in two frames, with three grip lines across the
//! bar; the pressed frame is darker.
void MakeThumbSkin(plx::TBitmap& picture, std::int32_t width, std::int32_t height, bool vertical);
//! A round thumb of size x size on kSkinTransparent in two frames: orange,
//! then red while it is dragged.
void MakeBallSkin(plx::TBitmap& picture, std::int32_t size = 16);
//! An 8 x 8 tile of fine diagonal ribs, for a tiled track.
void MakeTrackTile(plx::TBitmap& picture);
//! A round picture of size x size: hills under a sky with the sun, on
//! kSkinTransparent (its bottom-left pixel) outside the circle.
void MakeLandscape(plx::TBitmap& picture, std::int32_t size);

} // namespace demo
