// DrawMan: drawing routines over a host canvas: text effects, and bitmap
// routines (transparent blits, masks, tiling, frames, round buttons).
#pragma once

#include "color/host/Bitmap.h"
#include "color/host/Canvas.h"
#include "color/host/Gdi.h"
#include "color/host/Types.h"

#include <string>

namespace plx {

// ---- Bitmap routines -------------------------------------------------------

// ---- Text effects ----------------------------------------------------------

} // namespace plx
