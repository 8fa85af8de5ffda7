// The host's graphics layer in one include: colours, geometry, pens, brushes,
// fonts, canvases, bitmaps and the GDI-style calls.
#pragma once

#include "color/host/Bitmap.h"
#include "color/host/Canvas.h"
#include "color/host/Gdi.h"
#include "color/host/Resources.h"
#include "color/host/SysColors.h"
#include "color/host/Types.h"
