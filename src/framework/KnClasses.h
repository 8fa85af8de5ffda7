// KnClasses: an owning object list, a cell matrix kept in one flat list, the
// shared timer that repaints registered controls, a memory stream with typed
// reads and writes, and the back-buffered windowless control base.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Control.h"
#include "rtl/List.h"
#include "rtl/Streams.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace plx {

class TComponent;
class TControl;
class TStrings;
class TTimer;

//! A pointer list that owns its objects: the destructor frees every object in
//! it (nil entries are allowed and skipped; an object listed twice is freed
//! once). Delete, Remove and Clear free nothing; FreeItem does.
class TObjectsList : public TList {
public:
    TObjectsList() = default;
    ~TObjectsList() override;

    //! The entry at index as an object; raises EListError out of range.
    [[nodiscard]] TObject* GetObjs(std::int32_t index) const;
    //! Replaces the entry without freeing the object it held.
    void SetObjs(std::int32_t index, TObject* object);
    //! Frees the object at index and deletes the entry; later entries move down.
    void FreeItem(std::int32_t index);
};

//! Sender, then the cell's indexes cut to their low 16 bits.
using TOnCellChange = std::function<void(TObject* sender, std::uint16_t r, std::uint16_t c)>;

//! Rows × Cols cells of pointer size (an integer or a pointer) in one list:
//! cell (r, c) is entry r + c × Rows, and one spare entry follows the last
//! cell, so Count is Rows × Cols + 1. Cells are not range-checked beyond the
//! list's own check of that flat index.
class TMatrix : public TList {
public:
    //! Raises EListError ("List capacity out of bounds") when Rows × Cols is
    //! negative or the list cannot hold it, and then changes nothing.
    TMatrix(std::int32_t rows, std::int32_t cols);

    //! New extents; every cell becomes 0. Objects the cells pointed to are not freed.
    void Recreate(std::int32_t rows, std::int32_t cols);
    //! The number of rows.
    [[nodiscard]] std::int32_t Rows() const noexcept { return m_rows; }
    //! The number of columns.
    [[nodiscard]] std::int32_t Cols() const noexcept { return m_cols; }

    //! Raise EListError ("List index out of bounds") when the flat index lies
    //! outside the list.
    [[nodiscard]] std::intptr_t GetCells(std::int32_t r, std::int32_t c) const;
    //! Stores the value and then fires OnCellChange, changed or not.
    void SetCells(std::int32_t r, std::int32_t c, std::intptr_t value);

    //! Fired by every cell write, with the cell's row and column.
    [[nodiscard]] const TOnCellChange& OnCellChange() const noexcept { return m_onCellChange; }
    //! Sets the handler fired by every cell write.
    void SetOnCellChange(TOnCellChange handler) { m_onCellChange = std::move(handler); }

protected:
    //! The list index of cell (r, c), r + c × Rows; raises EListError ("List index out of
    //! bounds") outside the list.
    [[nodiscard]] std::int32_t FlatIndex(std::int32_t r, std::int32_t c) const;
    //! Stores the value in cell (r, c) and fires OnCellChange.
    void PutCell(std::int32_t r, std::int32_t c, void* value);

private:
    void Extend(std::int32_t rows, std::int32_t cols, bool clear);

    std::int32_t m_rows { 0 };
    std::int32_t m_cols { 0 };
    TOnCellChange m_onCellChange;
};

//! A matrix of object cells. It does not own them.
class TObjMatrix : public TMatrix {
public:
    using TMatrix::TMatrix;

    //! The object in cell (r, c); raises like GetCells.
    [[nodiscard]] TObject* GetObjs(std::int32_t r, std::int32_t c) const;
    //! Stores the object and fires OnCellChange.
    void SetObjs(std::int32_t r, std::int32_t c, TObject* object);
};

//! One timer that repaints registered controls on every tick. The timer is
//! made at the first StartTimer (2000 ms, enabled); until then StopTimer and
//! SetInterval do nothing and GetInterval is 0. The alarmer does not own its
//! controls: a control that goes away leaves the list by itself, and
//! destroying the alarmer frees only its list and its timer.
class TTimeAlarmer : public TObject {
public:
    TTimeAlarmer();
    ~TTimeAlarmer() override;

    //! Creates, starts and hooks the timer when there is none yet; otherwise
    //! does nothing (a stopped timer stays stopped).
    void StartTimer();
    //! Disables the timer; the controls stay registered.
    void StopTimer();
    //! Appends the control and returns its index. A control added twice is
    //! repainted twice a tick.
    std::int32_t Add(TControl* control);
    //! Removes the control's first entry and returns its former index, or -1.
    std::int32_t Remove(TControl* control);

    //! The timer's interval in milliseconds; 0 before the first StartTimer.
    [[nodiscard]] std::uint32_t GetInterval() const noexcept;
    //! Sets the timer's interval in milliseconds; does nothing before the first StartTimer.
    void SetInterval(std::uint32_t value);

    //! The tick: repaints every control registered when it starts, in order,
    //! skipping a control that left the list before its turn came.
    void OnNotify(TObject* sender);

    //! The number of registered entries.
    [[nodiscard]] std::int32_t ListenerCount() const noexcept { return m_listeners.Count(); }
    //! The control registered at index; raises EListError out of range.
    [[nodiscard]] TControl* Listeners(std::int32_t index) const;
    //! The timer, or null before the first StartTimer.
    [[nodiscard]] TTimer* Timer() const noexcept { return m_timer.get(); }

private:
    class TListenerWatch;
    friend class TListenerWatch;
    void ControlGone(TComponent* component) noexcept;

    std::unique_ptr<TTimer> m_timer;
    TList m_listeners;
    std::unique_ptr<TListenerWatch> m_watch;
};

//! The shared alarmer, made by InitializeKnClasses and freed by
//! FinalizeKnClasses; null outside that time.
[[nodiscard]] TTimeAlarmer* Alarmer() noexcept;
//! Creates the shared alarmer; the package calls it at start-up.
void InitializeKnClasses();
//! Frees the shared alarmer; the package calls it at shut-down.
void FinalizeKnClasses();

//! A memory stream with typed values, little-endian, without padding or tags:
//! Integer 4 bytes; Float 10 bytes (x87 extended: 64-bit significand with its
//! integer bit, then 15-bit biased exponent and sign); Char and Bool 1 byte
//! (Bool written as 0 or 1, any non-zero byte reads as true); String a 4-byte
//! length and the bytes; Strings a 4-byte count and that many Strings.
//!
//! Reads never fail: bytes past the end read as 0, a string length beyond the
//! bytes left is cut to them, and ReadStrings stops at the end of the data, so
//! no length or count read from the stream sizes an allocation.
class TKnStream : public TMemoryStream {
public:
    //! Writes 4 bytes.
    void WriteInteger(std::int32_t value);
    //! Writes the 10-byte extended encoding.
    void WriteFloat(long double value);
    //! Writes 1 byte.
    void WriteChar(char value);
    //! Writes 1 byte, 0 or 1.
    void WriteBool(bool value);
    //! Writes the length (4 bytes) and the bytes.
    void WriteString(std::string_view s);
    //! Writes the count (4 bytes) and every line as WriteString does.
    void WriteStrings(const TStrings& list);

    //! Reads 4 bytes.
    [[nodiscard]] std::int32_t ReadInteger();
    //! Reads a 10-byte extended value.
    [[nodiscard]] long double ReadFloat();
    //! Reads 1 byte.
    [[nodiscard]] char ReadChar();
    //! Reads 1 byte; any non-zero byte is true.
    [[nodiscard]] bool ReadBool();
    //! Reads a length and that many bytes (fewer at the end of the data) into s.
    void ReadString(std::string& s);
    //! Appends the lines read to list (which is not cleared). With a null list
    //! nothing is read and the position stays.
    void ReadStrings(TStrings* list);

private:
    //! Reads count bytes into buffer, zero-filling what the stream lacks.
    void ReadPadded(void* buffer, std::int64_t count);
};

// ---- Back buffers --------------------------------------------------------------

//! True when a bitmap of width x height can exist and has pixels: both sides
//! above 0, at most 32,767 each and 2^28 pixels in all.
[[nodiscard]] bool BitmapCanHold(std::int32_t width, std::int32_t height) noexcept;

//! Makes bitmap a picture of width x height. A bitmap of that size already keeps
//! its pixels; any other becomes a new white one. Returns false, and leaves the
//! bitmap empty, when a side is 0 or the size is beyond what a bitmap can hold
//! (32,767 per side, 2^28 pixels): there is nothing to draw on then.
bool SizeBuffer(TBitmap& bitmap, std::int32_t width, std::int32_t height);

//! Copies the part of buffer under the canvas's clip rectangle to the same
//! place on the canvas, as one source copy (SRCCOPY, whatever the canvas's
//! CopyMode). Canvas pixels beyond the buffer are left alone.
void ShowBuffer(TCanvas& canvas, TBitmap& buffer);

//! A windowless control that renders its whole face into a back buffer and
//! paints by copying the damaged part of it: an expose or an Invalidate never
//! re-runs the drawing. The face is rendered again only
//!   - at the first paint, and at the first paint after a change of size;
//!   - when RepaintAll (or Render) is called, which setters and the change
//!     handlers of owned descriptions do.
//! While the control is loading from a form file, a render waits for the first
//! paint, so reading a form renders each control once at most.
//!
//! A descendant overrides PaintBackup, calls the inherited version first and
//! then covers the whole of Backup.
class TKnGraphicControl : public TGraphicControl {
public:
    //! A control with an empty buffer; the first paint renders it.
    explicit TKnGraphicControl(TComponent* owner);

    //! The back buffer: after each render a picture of the control's size.
    [[nodiscard]] TBitmap& Backup() noexcept { return m_backup; }
    //! Backup of a constant control.
    [[nodiscard]] const TBitmap& Backup() const noexcept { return m_backup; }

    //! Renders the face now and shows it now, through the form's paint pass
    //! (so controls above this one stay above). A control without a form window
    //! renders its buffer and shows nothing.
    virtual void RepaintAll();

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! Publishes nothing of its own: a descendant declares its whole list.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Draws the face on Backup's canvas; Backup already has the control's
    //! size (never 0 and never beyond a bitmap's limits) when this runs. Never
    //! call it directly: call Render.
    virtual void PaintBackup();
    //! Sizes the buffer and calls PaintBackup, now; while loading, at the first
    //! paint. A control of no size (or one too large for a bitmap) renders
    //! nothing and keeps an empty buffer.
    void Render();
    //! Renders first when the buffer is out of date, then copies the clipped area.
    void Paint() override;
    //! What changed while loading shows at the first paint.
    void Loaded() override;

private:
    TBitmap m_backup;
    bool m_stale { false }; //!< a render was put off while loading
};

namespace detail {
//! The 10-byte x87 extended encoding of a value, computed without relying on
//! the layout of long double, and back. NaNs keep their sign but not their payload.
void EncodeExtended(long double value, std::uint8_t (&bytes)[10]) noexcept;
[[nodiscard]] long double DecodeExtended(const std::uint8_t (&bytes)[10]) noexcept;
} // namespace detail

} // namespace plx
