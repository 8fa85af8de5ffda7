// Font objects of the GDI-style calls: CreateFontA and CreateFontIndirectA.
#include "color/host/Gdi.h"

#include "color/host/detail/GdiTable.h"

#include <algorithm>
#include <cstring>

namespace plx {

HFONT CreateFontIndirectA(const LOGFONTA& logFont)
{
    auto font = std::make_unique<detail::GdiFont>();
    font->logFont = logFont;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return detail::RegisterObject(std::move(font), true);
}

HFONT CreateFontA(std::int32_t height, std::int32_t width, std::int32_t escapement, std::int32_t orientation,
    std::int32_t weight, std::uint32_t italic, std::uint32_t underline, std::uint32_t strikeOut, std::uint32_t charSet,
    std::uint32_t outPrecision, std::uint32_t clipPrecision, std::uint32_t quality, std::uint32_t pitchAndFamily,
    const char* faceName)
{
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<std::uint8_t>(italic != 0);
    lf.lfUnderline = static_cast<std::uint8_t>(underline != 0);
    lf.lfStrikeOut = static_cast<std::uint8_t>(strikeOut != 0);
    lf.lfCharSet = static_cast<std::uint8_t>(charSet);
    lf.lfOutPrecision = static_cast<std::uint8_t>(outPrecision);
    lf.lfClipPrecision = static_cast<std::uint8_t>(clipPrecision);
    lf.lfQuality = static_cast<std::uint8_t>(quality);
    lf.lfPitchAndFamily = static_cast<std::uint8_t>(pitchAndFamily);
    if (faceName) {
        std::size_t n = strnlen(faceName, LF_FACESIZE - 1);
        std::memcpy(lf.lfFaceName, faceName, n);
    }
    return CreateFontIndirectA(lf);
}

} // namespace plx
