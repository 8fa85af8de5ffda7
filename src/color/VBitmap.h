// VBitmap: TVirtualBitmap, a device-independent bitmap held in memory in the .bmp
// layout, with direct pixel and colour-table access and simple line drawing.
#pragma once

#include "color/host/Brush.h"
#include "color/host/Pen.h"
#include "color/host/Types.h"
#include "rtl/Persistent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace plx {

class TBitmap;
class TMemoryStream;
class TStream;

namespace detail {
struct BmpLayout;
}

//! A bitmap kept exactly as the pixel rows of a .bmp file: bottom-up, each row
//! padded to a multiple of 4 bytes, 24-bit pixels as blue, green, red, 32-bit
//! pixels as blue, green, red, 0, 16-bit pixels as 5-5-5 (or 5-6-5 when loaded
//! from such bit fields), and 1-, 4- and 8-bit pixels as indices into a colour
//! table of 2^Bits entries (blue, green, red, 0), packed from the top bit down.
//! Coordinates have (0, 0) at the top-left. The whole bitmap is kept as one
//! .bmp stream in memory (headers, table, pixels), so it reaches a host bitmap
//! without being copied.
//!
//! Sizes over 32,767 per side or 2^28 pixels and bit counts other than 1, 4, 8,
//! 16, 24 and 32 raise Exception("VirtualBitmap: Invalid bitmap."), leaving the
//! object as it was.
class TVirtualBitmap : public TObject {
public:
    //! Create: a bitmap of the given size and depth, table and pixels all 0.
    TVirtualBitmap(std::int32_t width, std::int32_t height, std::int32_t bits);
    //! CreateFromBitmap: a copy of the host bitmap, read from its .bmp stream. An
    //! empty host bitmap gives an empty (0 x 0, 24-bit) virtual bitmap.
    explicit TVirtualBitmap(const TBitmap& bitmap);
    ~TVirtualBitmap() override;

    //! \name Streaming

    //! Reads a .bmp stream from its current position and leaves the position after
    //! the pixel data. Reads what the host bitmap reads (the same headers and
    //! checks, the same pixels) and keeps it in this object's layout: a 108- or
    //! 124-byte header becomes a 40-byte one, a 12-byte header's 3-byte entries
    //! become 4-byte ones, top-down rows are turned bottom-up, run-length data is
    //! decoded into rows of the same depth (pixels it leaves undefined take entry
    //! 0), and 32-bit fields of the standard masks become plain 32-bit pixels.
    //! Headers that do not fit the data, and pixels this layout cannot hold (bit
    //! fields other than 5-5-5, 5-6-5 and the standard 32-bit ones), raise
    //! Exception("VirtualBitmap: Invalid bitmap."); LoadError then says why. A
    //! bitmap whose rows would pass the image allocation limit (BmpFormat.h:
    //! SetImageAllocationLimit, 256 MiB unless the application changes it) raises
    //! EInvalidGraphic naming both sizes. Either way this is decided before
    //! anything is allocated for the pixels, and the object keeps its state.
    void LoadFromStream(TStream& stream);
    //! Writes the bitmap as a .bmp stream in this object's layout: file header,
    //! 40-byte header (with the 5-6-5 masks for such pixels), the whole table,
    //! the bottom-up rows.
    void SaveToStream(TStream& stream) const;
    //! LoadFromStream on the named file, opened for reading; a file that cannot be
    //! opened raises EFOpenError.
    void LoadFromFile(const std::string& fileName);
    //! SaveToStream into the named file, created or truncated; a file that cannot be
    //! created raises EFCreateError.
    void SaveToFile(const std::string& fileName) const;
    //! Why the last LoadFromStream refused its stream ("plane count 3"), for
    //! whoever debugs a file; empty after a successful load.
    [[nodiscard]] const std::string& LoadError() const noexcept { return m_loadError; }
    //! Loads the bitmap's .bmp stream into the host bitmap (an empty virtual
    //! bitmap empties it). Not held to the image allocation limit.
    void ProduceBitmap(TBitmap& bitmap) const;
    //! Sizes the pixel data for the current Width, Height and Bits and gives a
    //! new table when Bits <= 8; table and pixels are zero-filled.
    virtual void RecreateContent();

    //! \name Pixels

    //! The colour of pixel (x, y); 0 outside the bitmap.
    [[nodiscard]] TColor GetPixel(std::int32_t x, std::int32_t y) const noexcept;
    //! Stores the colour (the nearest table entry for palette bitmaps); nothing
    //! outside the bitmap. With Smooth on a 24-bit bitmap the eight neighbours are
    //! blended towards the colour.
    void SetPixel(std::int32_t x, std::int32_t y, TColor color) noexcept;
    //! The offset in PixelData of the byte holding pixel (x, y), which must lie
    //! inside the bitmap (asserted).
    [[nodiscard]] std::size_t GotoXY(std::int32_t x, std::int32_t y) const noexcept;
    //! Bytes per stored row: ((Width × Bits + 31) div 32) × 4.
    [[nodiscard]] std::size_t RowSize() const noexcept;
    //! The stored bytes of row y (0 = top), RowSize bytes long; y must lie inside
    //! the bitmap (asserted), so pixel loops need not check it.
    [[nodiscard]] std::uint8_t* ScanLine(std::int32_t y) noexcept;
    //! ScanLine of a constant bitmap.
    [[nodiscard]] const std::uint8_t* ScanLine(std::int32_t y) const noexcept;
    //! All pixel rows as stored, bottom row first.
    [[nodiscard]] std::span<std::uint8_t> PixelData() noexcept;
    //! PixelData of a constant bitmap.
    [[nodiscard]] std::span<const std::uint8_t> PixelData() const noexcept;

    //! \name Colour table

    //! Entry index of the table; 0 for an index beyond Colors - 1. Raises the
    //! colour-table message when the bitmap has no table.
    [[nodiscard]] TColor GetColor(std::uint8_t index) const;
    //! Writes entry index; an index beyond Colors - 1 does nothing. Raises like GetColor.
    void SetColor(std::uint8_t index, TColor color);
    //! True when the bitmap has a colour table (Bits <= 8); otherwise raises
    //! Exception("VirtualBitmap: Color table isnot avialable for 16bit or 24bit bitmaps.").
    bool CheckTable() const;
    //! The table entry nearest to the colour, comparing colours as whole 24-bit
    //! integers; the lowest index wins a tie. Raises like GetColor.
    [[nodiscard]] TColor GetNearestColor(TColor color) const;

    //! \name Drawing

    //! Orders each pair and clips it to the bitmap (bounds inclusive). Returns
    //! false when nothing of the range is left inside.
    bool ValidXY(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const noexcept;
    //! A line in Pen.Color from (x1, y1) to (x2, y2), both end points included;
    //! only its pixels inside the bitmap are set.
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    //! The outline of the clipped rectangle, corners inclusive, in Pen.Color.
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    //! Copies the source's pixels to (x, y) onward; pixels landing outside are skipped.
    void Draw(std::int32_t x, std::int32_t y, const TVirtualBitmap& source);

    //! \name Properties

    //! The width in pixels.
    [[nodiscard]] std::int32_t Width() const noexcept { return m_width; }
    //! A new width recreates the content (RecreateContent): table and pixels become 0.
    void SetWidth(std::int32_t width);
    //! The height in pixels.
    [[nodiscard]] std::int32_t Height() const noexcept { return m_height; }
    //! A new height recreates the content, as SetWidth does.
    void SetHeight(std::int32_t height);
    //! Bits per pixel: 1, 4, 8, 16, 24 or 32.
    [[nodiscard]] std::int32_t Bits() const noexcept { return m_bits; }
    //! A new depth recreates the content, as SetWidth does; other values than 1, 4, 8, 16,
    //! 24 and 32 raise "VirtualBitmap: Invalid bitmap.".
    void SetBits(std::int32_t bits);
    //! 2^Bits: the table's entry count when Bits <= 8.
    [[nodiscard]] std::int64_t Colors() const noexcept { return m_colors; }
    //! Whether SetPixel blends the neighbours of 24-bit pixels (off by default).
    [[nodiscard]] bool Smooth() const noexcept { return m_smooth; }
    //! Turns the blending of SetPixel on or off.
    void SetSmooth(bool value) noexcept { m_smooth = value; }
    //! The pen whose colour Line and Rectangle draw with.
    [[nodiscard]] TPen& Pen() noexcept { return m_pen; }
    //! Copies the pen's properties.
    void SetPen(const TPen& pen);
    //! A brush kept with the bitmap for callers; the drawing routines do not use it.
    [[nodiscard]] TBrush& Brush() noexcept { return m_brush; }
    //! Copies the brush's properties.
    void SetBrush(const TBrush& brush);

private:
    void Resize(std::int32_t width, std::int32_t height, std::int32_t bits);
    [[nodiscard]] bool Adopt(std::unique_ptr<TMemoryStream>& data);
    [[nodiscard]] detail::BmpLayout ReadLayout(TStream& stream, std::int64_t available);
    [[noreturn]] void Refuse(std::string why);
    void Commit(const detail::BmpLayout& layout, std::unique_ptr<TMemoryStream> data);
    void WriteHeaders() noexcept;
    [[nodiscard]] std::size_t TableOffset() const noexcept;
    [[nodiscard]] std::size_t TableEntries() const noexcept;
    [[nodiscard]] std::size_t PixelOffset() const noexcept;
    [[nodiscard]] std::uint8_t* Pixels() const noexcept;
    [[nodiscard]] std::size_t NearestIndex(TColor color) const noexcept;
    [[nodiscard]] TColor TableEntry(std::size_t index) const noexcept;
    [[nodiscard]] std::uint32_t ReadIndex(std::int32_t x, std::int32_t y) const noexcept;
    void WriteIndex(std::int32_t x, std::int32_t y, std::uint32_t index) noexcept;
    void StoreColor(std::int32_t x, std::int32_t y, TColor color) noexcept;
    void BlendNeighbours(std::int32_t x, std::int32_t y, TColor color) noexcept;
    void SlopedLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    TBrush m_brush;
    TPen m_pen;
    std::int32_t m_width { 0 };
    std::int32_t m_height { 0 };
    std::int64_t m_colors { 0 };
    bool m_smooth { false };
    std::int32_t m_bits { 0 };
    bool m_sixBitGreen { false }; //!< 16-bit pixels are 5-6-5 (kept as loaded)
    //! The bitmap as a .bmp stream: file header, 40-byte header, the 5-6-5 masks
    //! when m_sixBitGreen, the table (Colors × 4 bytes when Bits <= 8), the pixels.
    std::unique_ptr<TMemoryStream> m_data;
    std::string m_loadError;
};

} // namespace plx
