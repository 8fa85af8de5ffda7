// The base of pens, brushes and fonts, their enumerations, and colour names.
#pragma once

#include "rtl/Set.h"
#include "color/host/Types.h"
#include "rtl/Persistent.h"

#include <string>

namespace plx {

class TBitmap;
struct TIdentMap;

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
//! How pen pixels combine with the destination (the platform's binary raster operations).
enum TPenMode : std::uint8_t {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle : std::uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;

//! Rounds a × b ÷ c to the nearest integer, halves away from zero (the platform's MulDiv).
[[nodiscard]] std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) noexcept;

//! The colour names form files use (clBlack ... clWhite, the system colours).
[[nodiscard]] const TIdentMap& ColorIdents();
//! "clRed" for a named colour, otherwise "$00BBGGRR".
[[nodiscard]] std::string ColorToString(TColor color);
//! Reads a colour name, "$hex" or a decimal number; throws EConvertError otherwise.
[[nodiscard]] TColor StringToColor(const std::string& text);

//! Common base: OnChange fires after every effective change.
class TGraphicsObject : public TPersistent {
public:
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

protected:
    void Changed();

private:
    TNotifyEvent m_onChange;
};

} // namespace plx
