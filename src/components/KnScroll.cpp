#include "components/KnScroll.h"

#include "components/detail/KnCtrlsShared.h"
#include "framework/host/Published.h"
#include "framework/host/Timer.h"
#include "paint/DrawMan.h"
#include "rtl/Exceptions.h"
#include "rtl/Store.h"
#include "rtl/System.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace plx {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t Clamp32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp(value, kInt32Min, kInt32Max));
}

// Positions and places are worked out in extended precision, as the scroll
// bar always has, and end in the 32-bit range whatever the range and track.
std::int64_t Truncate(long double value) noexcept
{
    return static_cast<std::int64_t>(std::clamp(std::trunc(value), -0x1p62L, 0x1p62L));
}

} // namespace

TKnScroll::TKnScroll(TComponent* owner)
    : TKnControl(owner)
{
    if (!detail::RepeatTimer())
        throw EInvalidOperation("KnCtrls: the package is not started; create a plx::TPackageScope (or call "
                                "plx::InitializePackage) first");
    SetBounds(Left(), Top(), 160, 20);
}

TKnScroll::~TKnScroll()
{
    // The timer would otherwise go on calling into a freed scroll bar.
    if (detail::RepeatClient() != this)
        return;
    detail::SetRepeatClient(nullptr);
    if (TTimer* timer = detail::RepeatTimer()) {
        timer->SetEnabled(false);
        timer->SetOnTimer({});
    }
}

// ---- Properties -----------------------------------------------------------------------

void TKnScroll::SetPic_Up(const TBitmap& value)
{
    if (&value == &m_picUp)
        return;
    m_picUp.Assign(&value);
    if (!Horizontal())
        RepaintAll();
}

void TKnScroll::SetPic_Down(const TBitmap& value)
{
    if (&value == &m_picDown)
        return;
    m_picDown.Assign(&value);
    if (!Horizontal())
        RepaintAll();
}

void TKnScroll::SetPic_Left(const TBitmap& value)
{
    if (&value == &m_picLeft)
        return;
    m_picLeft.Assign(&value);
    if (Horizontal())
        RepaintAll();
}

void TKnScroll::SetPic_Right(const TBitmap& value)
{
    if (&value == &m_picRight)
        return;
    m_picRight.Assign(&value);
    if (Horizontal())
        RepaintAll();
}

void TKnScroll::SetPic_Thumb(const TBitmap& value)
{
    if (&value == &m_picThumb)
        return;
    m_picThumb.Assign(&value);
    RepaintAll();
}

void TKnScroll::SetMax(std::int32_t value)
{
    Store(m_max, value, [this] {
        if (m_position > m_max)
            m_position = m_max;
        RepaintAll();
    });
}

void TKnScroll::SetMin(std::int32_t value)
{
    Store(m_min, value, [this] {
        if (m_min > m_position)
            m_position = m_min;
        RepaintAll();
    });
}

void TKnScroll::SetPosition(std::int32_t value)
{
    if (value != m_position) {
        // Snapped toward zero on the grid anchored at 0; the bounds win over the grid.
        const std::int64_t grid = m_smallChange == 0 ? 1 : m_smallChange;
        std::int64_t position = std::int64_t { value } / grid * grid;
        if (position < m_min)
            position = m_min;
        if (m_max < position)
            position = m_max;
        m_position = static_cast<std::int32_t>(position);
        RepaintAll();
    }
    // A copy runs: the handler may free the scroll bar, and its own OnChange with it.
    if (const TNotifyEvent handler = m_onChange)
        handler(this);
}

void TKnScroll::SetGlyphs(std::uint8_t value)
{
    Store(m_numGlyph, value, [this] { RepaintAll(); });
}

void TKnScroll::SetThumbTrans(bool value)
{
    Store(m_transparentThumb, value, [this] { RepaintAll(); });
}

void TKnScroll::SetOrientation(TKnScrollOrientation value)
{
    Store(m_orientation, value, [this] { RepaintAll(); });
}

// ---- Geometry ------------------------------------------------------------------------

std::int32_t TKnScroll::ThumbLength() const noexcept
{
    return Horizontal() ? m_picThumb.Width() / Glyphs() : m_picThumb.Height();
}

TRect TKnScroll::DecBox() const
{
    const TRect& w = WorkRect();
    if (Horizontal())
        return Rect(w.Left, w.Top, Clamp32(std::int64_t { w.Left } + m_picLeft.Width() / Glyphs()), w.Bottom);
    return Rect(w.Left, w.Top, w.Right, Clamp32(std::int64_t { w.Top } + m_picUp.Height()));
}

TRect TKnScroll::IncBox() const
{
    const TRect& w = WorkRect();
    if (Horizontal())
        return Rect(Clamp32(std::int64_t { w.Right } - m_picRight.Width() / Glyphs()), w.Top, w.Right, w.Bottom);
    return Rect(w.Left, Clamp32(std::int64_t { w.Bottom } - m_picDown.Height()), w.Right, w.Bottom);
}

TRect TKnScroll::ThumbBox() const
{
    const TRect& w = WorkRect();
    const TPoint at = PosToPoint(m_position);
    if (Horizontal())
        return Rect(at.X, w.Top, Clamp32(std::int64_t { at.X } + ThumbLength()), w.Bottom);
    return Rect(w.Left, at.Y, w.Right, Clamp32(std::int64_t { at.Y } + ThumbLength()));
}

std::int64_t TKnScroll::Track() const
{
    if (Horizontal())
        return std::int64_t { IncBox().Left } - DecBox().Right - ThumbLength();
    return std::int64_t { IncBox().Top } - DecBox().Bottom - ThumbLength();
}

TPoint TKnScroll::PosToPoint(std::int32_t pos) const
{
    const TRect dec = DecBox();
    const std::int64_t start = Horizontal() ? dec.Right : dec.Bottom;
    const std::int64_t range = std::int64_t { m_max } - m_min;
    std::int64_t offset = 0;
    if (range != 0)
        offset = Round(static_cast<long double>(Track()) / range * (std::int64_t { pos } - m_min));
    const std::int32_t along = Clamp32(std::clamp<std::int64_t>(offset, kInt32Min, kInt32Max) + start);
    return Horizontal() ? Point(along, WorkRect().Top) : Point(WorkRect().Left, along);
}

std::int32_t TKnScroll::PointToPos(TPoint point) const
{
    const std::int64_t range = std::int64_t { m_max } - m_min;
    const std::int64_t track = Track();
    if (range == 0 || track <= 0)
        return m_min;
    const TRect dec = DecBox();
    const std::int64_t distance = Horizontal() ? std::int64_t { point.X } - dec.Right : std::int64_t { point.Y } - dec.Bottom;
    const long double ratio = static_cast<long double>(track) / range;
    return Clamp32(m_min + Truncate(distance / ratio));
}

// ---- Stepping ------------------------------------------------------------------------

void TKnScroll::Step(std::int64_t delta)
{
    SetPosition(Clamp32(m_position + delta));
}

void TKnScroll::Increment()
{
    Step(m_smallChange);
}

void TKnScroll::Decrement()
{
    Step(-std::int64_t { m_smallChange });
}

void TKnScroll::PageDown()
{
    Step(m_largeChange);
}

void TKnScroll::PageUp()
{
    Step(-std::int64_t { m_largeChange });
}

void TKnScroll::ScrollBy(std::int32_t x, std::int32_t y)
{
    SetPosition(PointToPos(Point(x, y)));
}

// ---- Painting ------------------------------------------------------------------------

namespace {

// Frame k of a picture: the k-th half of it, whatever NumGlyph says, cut into
// frame. It draws as its picture would: the same transparency settings.
// False when the half has no pixels.
bool CutFrame(TBitmap& frame, TBitmap& picture, std::int32_t k)
{
    const std::int32_t w = picture.Width() / 2, h = picture.Height();
    if (!SizeBuffer(frame, w, h))
        return false;
    frame.Canvas().CopyRect(Rect(0, 0, w, h), picture.Canvas(), Rect(k * w, 0, k * w + w, h));
    frame.SetTransparent(picture.Transparent());
    if (picture.TransparentMode() == tmFixed)
        frame.SetTransparentColor(picture.TransparentColor());
    else
        frame.SetTransparentMode(tmAuto);
    return true;
}

// The bitmap to draw for a picture: the whole picture with fewer than two
// frames, otherwise its pressed frame (1) or its normal one (0) cut into the
// unit's frame bitmap. Null when there is nothing to draw.
TBitmap* Glyph(TBitmap& picture, std::uint8_t numGlyph, bool pressed, std::optional<TBitmap>& local)
{
    if (picture.Empty())
        return nullptr;
    if (numGlyph < 2)
        return &picture;
    TBitmap* frame = detail::GlyphFrame();
    if (!frame) // the unit was stopped before this scroll bar was freed
        frame = &local.emplace();
    return CutFrame(*frame, picture, pressed ? 1 : 0) ? frame : nullptr;
}

} // namespace

void TKnScroll::DrawButton(TCanvas& canvas, TBitmap& picture, const TRect& box, TKnScrollEvent own)
{
    std::optional<TBitmap> local;
    if (TBitmap* glyph = Glyph(picture, m_numGlyph, m_event == own, local))
        canvas.StretchDraw(box, *glyph);
}

void TKnScroll::DrawThumb(TCanvas& canvas)
{
    std::optional<TBitmap> local;
    TBitmap* glyph = Glyph(m_picThumb, m_numGlyph, m_event == seDragThumb, local);
    if (!glyph)
        return;
    const TRect box = ThumbBox();
    if (!m_transparentThumb) {
        canvas.StretchDraw(box, *glyph);
        return;
    }
    // Unstretched from the box's corner. A thumb wholly beyond the buffer shows
    // nothing, and is not drawn: its far edge could lie beyond the coordinate range.
    if (box.Left >= Width() || box.Top >= Height() || std::int64_t { box.Left } + glyph->Width() <= 0
        || std::int64_t { box.Top } + glyph->Height() <= 0)
        return;
    detail::TTransparencyKeeper keep(*glyph);
    TransBlt(canvas, *glyph, box.Left, box.Top);
}

void TKnScroll::PaintBackup()
{
    TKnControl::PaintBackup();
    TCanvas& canvas = Backup().Canvas();
    DrawButton(canvas, Horizontal() ? m_picLeft : m_picUp, DecBox(), seDecClick);
    DrawButton(canvas, Horizontal() ? m_picRight : m_picDown, IncBox(), seIncClick);
    DrawThumb(canvas);
}

// ---- Mouse ---------------------------------------------------------------------------

void TKnScroll::ClaimRepeatTimer()
{
    TTimer* timer = detail::RepeatTimer();
    if (!timer)
        return;
    timer->SetOnTimer([this](TObject* sender) { OnTimer(sender); });
    detail::SetRepeatClient(this);
    timer->SetEnabled(true);
}

void TKnScroll::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    m_event = seNone;
    if (button == mbLeft) {
        const TWeakRef alive(this);
        const TPoint p = Point(x, y);
        const TRect thumb = ThumbBox();
        if (thumb.Contains(p)) {
            m_dragging = true;
            m_dragOffset = Point(Clamp32(std::int64_t { x } - thumb.Left), Clamp32(std::int64_t { y } - thumb.Top));
            m_event = seDragThumb;
        } else if (DecBox().Contains(p)) {
            m_event = seDecClick;
            Decrement();
        } else if (IncBox().Contains(p)) {
            m_event = seIncClick;
            Increment();
        } else if (WorkRect().Contains(p)) {
            // On the thumb's right or bottom edge neither test holds: nothing.
            const std::int32_t at = Horizontal() ? x : y;
            if (at < (Horizontal() ? thumb.Left : thumb.Top)) {
                m_event = sePageUp;
                PageUp();
            } else if (at > (Horizontal() ? thumb.Right : thumb.Bottom)) {
                m_event = sePageDown;
                PageDown();
            }
        }
        if (!alive) // OnChange freed the scroll bar
            return;
    }
    if (m_event != seNone)
        ClaimRepeatTimer();
    TKnControl::MouseDown(button, shift, x, y);
}

void TKnScroll::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_dragging) {
        const TWeakRef alive(this);
        SetPosition(PointToPos(
            Point(Clamp32(std::int64_t { x } - m_dragOffset.X), Clamp32(std::int64_t { y } - m_dragOffset.Y))));
        if (!alive)
            return;
    }
    TKnControl::MouseMove(shift, x, y);
}

void TKnScroll::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft) {
        m_dragging = false;
        m_event = seNone;
        RepaintAll();
    }
    if (TTimer* timer = detail::RepeatTimer())
        timer->SetEnabled(false);
    TKnControl::MouseUp(button, shift, x, y);
}

void TKnScroll::OnTimer(TObject*)
{
    const TPoint p = ScreenToClient(GetCursorPos());
    MouseDown(mbLeft, {}, p.X, p.Y);
}

void TKnScroll::WndProc(TMessage& message)
{
    if (message.Msg != WM_MOUSEWHEEL || !Enabled() || ComponentState().Contains(csDesigning)) {
        TKnControl::WndProc(message);
        return;
    }
    message.Result = 1;
    const auto delta = static_cast<std::int16_t>((message.WParam >> 16) & 0xFFFF);
    if (const std::int64_t notches = delta / 120; notches != 0)
        Step(-notches * m_smallChange);
}

// ---- Published properties ------------------------------------------------------------

const TEnumInfo& TKnScroll::OrientationInfo()
{
    static const TEnumInfo info { "TKnScrollOrientation", { "soHorizontal", "soVertical" } };
    return info;
}

const TClassInfo& TKnScroll::StaticClassInfo()
{
    // NumGlyph is a byte: a form file's value outside 0..255 is refused.
    static const TClassInfo info = TClassInfoBuilder<TKnScroll>("TKnScroll", &TKnControl::StaticClassInfo())
        .Object("Pic_Up", "TBitmap", [](TKnScroll& c) -> TPersistent* { return &c.Pic_Up(); })
        .Object("Pic_Down", "TBitmap", [](TKnScroll& c) -> TPersistent* { return &c.Pic_Down(); })
        .Object("Pic_Left", "TBitmap", [](TKnScroll& c) -> TPersistent* { return &c.Pic_Left(); })
        .Object("Pic_Right", "TBitmap", [](TKnScroll& c) -> TPersistent* { return &c.Pic_Right(); })
        .Object("Pic_Thumb", "TBitmap", [](TKnScroll& c) -> TPersistent* { return &c.Pic_Thumb(); })
        .Integer("Max", &TKnScroll::Max, &TKnScroll::SetMax, 100)
        .Integer("Min", &TKnScroll::Min, &TKnScroll::SetMin, 0)
        .Integer("Position", &TKnScroll::Position, &TKnScroll::SetPosition, 0)
        .Integer("LargeChange", &TKnScroll::LargeChange, &TKnScroll::SetLargeChange, 1)
        .Integer("SmallChange", &TKnScroll::SmallChange, &TKnScroll::SetSmallChange, 1)
        .Integer(
            "NumGlyph", [](const TKnScroll& c) -> std::int32_t { return c.NumGlyph(); },
            [](TKnScroll& c, std::int32_t value) {
                if (value < 0 || value > 255)
                    throw EPropertyError("NumGlyph " + std::to_string(value) + " is out of range (0..255)");
                c.SetGlyphs(static_cast<std::uint8_t>(value));
            },
            1, nullptr, "Byte")
        .Bool("TransparentThumb", &TKnScroll::TransparentThumb, &TKnScroll::SetThumbTrans, false)
        .Enum("Orientation", OrientationInfo(), &TKnScroll::Orientation, &TKnScroll::SetOrientation, soHorizontal)
        .Apply([](auto& b) { PublishKnControl(b); })
        .Event("OnChange", "TNotifyEvent", &TKnScroll::OnChange, &TKnScroll::SetOnChange)
        .Apply([](auto& b) {
            PublishInherited(b, { "Align", "Enabled", "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
                                    "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TKnScroll(owner); })
        .Build();
    return info;
}

const TClassInfo& TKnScroll::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
