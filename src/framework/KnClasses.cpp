#include "framework/KnClasses.h"

#include "color/host/Gdi.h"
#include "color/host/Raster.h"
#include "framework/host/Component.h"
#include "framework/host/Control.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_set>
#include <vector>

namespace plx {

// ---- TObjectsList -------------------------------------------------------------

TObjectsList::~TObjectsList()
{
    std::unordered_set<TObject*> freed;
    for (std::int32_t i = 0; i < Count(); ++i) {
        auto* object = static_cast<TObject*>(Get(i));
        Put(i, nullptr);
        if (object && freed.insert(object).second)
            delete object;
    }
    Pack();
}

TObject* TObjectsList::GetObjs(std::int32_t index) const
{
    return static_cast<TObject*>(Get(index));
}

void TObjectsList::SetObjs(std::int32_t index, TObject* object)
{
    Put(index, object);
}

void TObjectsList::FreeItem(std::int32_t index)
{
    auto* object = static_cast<TObject*>(Get(index));
    // Out of the list first, so an object whose destructor looks at the list
    // does not find itself there.
    Delete(index);
    delete object;
}

// ---- TMatrix ------------------------------------------------------------------

TMatrix::TMatrix(std::int32_t rows, std::int32_t cols)
{
    Extend(rows, cols, false);
}

void TMatrix::Recreate(std::int32_t rows, std::int32_t cols)
{
    Extend(rows, cols, true);
}

void TMatrix::Extend(std::int32_t rows, std::int32_t cols, bool clear)
{
    // The product in 64 bits: two valid extents can overflow 32.
    const std::int64_t entries = static_cast<std::int64_t>(rows) * cols + 1;
    if (entries < 1 || entries > MaxListSize)
        throw EListError("List capacity out of bounds (" + IntToStr(entries) + ")");
    m_rows = rows;
    m_cols = cols;
    if (clear)
        Clear();
    SetCapacity(static_cast<std::int32_t>(entries));
    SetCount(static_cast<std::int32_t>(entries));
}

std::int32_t TMatrix::FlatIndex(std::int32_t r, std::int32_t c) const
{
    const std::int64_t index = r + static_cast<std::int64_t>(c) * m_rows;
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return static_cast<std::int32_t>(index);
}

void TMatrix::PutCell(std::int32_t r, std::int32_t c, void* value)
{
    Put(FlatIndex(r, c), value);
    if (m_onCellChange)
        m_onCellChange(this, static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c));
}

std::intptr_t TMatrix::GetCells(std::int32_t r, std::int32_t c) const
{
    return reinterpret_cast<std::intptr_t>(Get(FlatIndex(r, c)));
}

void TMatrix::SetCells(std::int32_t r, std::int32_t c, std::intptr_t value)
{
    PutCell(r, c, reinterpret_cast<void*>(value));
}

TObject* TObjMatrix::GetObjs(std::int32_t r, std::int32_t c) const
{
    return static_cast<TObject*>(Get(FlatIndex(r, c)));
}

void TObjMatrix::SetObjs(std::int32_t r, std::int32_t c, TObject* object)
{
    PutCell(r, c, object);
}

// ---- TTimeAlarmer -------------------------------------------------------------

// Hears when a registered control goes away. The alarmer is no component, so
// this small one takes the host's free notifications for it.
class TTimeAlarmer::TListenerWatch : public TComponent {
public:
    explicit TListenerWatch(TTimeAlarmer& alarmer)
        : TComponent(nullptr)
        , m_alarmer(alarmer)
    {
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove)
            m_alarmer.ControlGone(component);
    }

private:
    TTimeAlarmer& m_alarmer;
};

namespace {

constexpr std::uint32_t kAlarmInterval = 2000;

} // namespace

TTimeAlarmer::TTimeAlarmer()
    : m_watch(std::make_unique<TListenerWatch>(*this))
{
}

TTimeAlarmer::~TTimeAlarmer()
{
    // The watch goes first: its destructor unhooks it from every control.
    m_watch.reset();
    m_listeners.Clear();
    m_timer.reset();
}

void TTimeAlarmer::StartTimer()
{
    if (m_timer)
        return;
    m_timer = std::make_unique<TTimer>(nullptr);
    m_timer->SetInterval(kAlarmInterval);
    m_timer->SetEnabled(true);
    m_timer->SetOnTimer([this](TObject* sender) { OnNotify(sender); });
}

void TTimeAlarmer::StopTimer()
{
    if (m_timer)
        m_timer->SetEnabled(false);
}

std::int32_t TTimeAlarmer::Add(TControl* control)
{
    const std::int32_t index = m_listeners.Add(control);
    if (control)
        control->FreeNotification(m_watch.get());
    return index;
}

std::int32_t TTimeAlarmer::Remove(TControl* control)
{
    const std::int32_t index = m_listeners.Remove(control);
    if (control && index >= 0 && m_listeners.IndexOf(control) < 0)
        control->RemoveFreeNotification(m_watch.get());
    return index;
}

std::uint32_t TTimeAlarmer::GetInterval() const noexcept
{
    return m_timer ? m_timer->Interval() : 0;
}

void TTimeAlarmer::SetInterval(std::uint32_t value)
{
    if (m_timer)
        m_timer->SetInterval(value);
}

void TTimeAlarmer::OnNotify(TObject*)
{
    if (m_listeners.Count() == 0)
        return;
    // A repaint may add or remove listeners, or free a control (which then
    // leaves the list): the round runs over the list as it began, and an entry
    // is repainted only while its control is still registered.
    std::vector<TControl*> round;
    round.reserve(static_cast<std::size_t>(m_listeners.Count()));
    for (std::int32_t i = 0; i < m_listeners.Count(); ++i)
        round.push_back(static_cast<TControl*>(m_listeners.Get(i)));
    for (TControl* control : round)
        if (control && m_listeners.IndexOf(control) >= 0)
            control->Repaint();
}

TControl* TTimeAlarmer::Listeners(std::int32_t index) const
{
    return static_cast<TControl*>(m_listeners.Get(index));
}

void TTimeAlarmer::ControlGone(TComponent* component) noexcept
{
    // The control is being destroyed: compare as components, never cast down.
    for (std::int32_t i = m_listeners.Count() - 1; i >= 0; --i)
        if (static_cast<TComponent*>(static_cast<TControl*>(m_listeners.Get(i))) == component)
            m_listeners.Delete(i);
}

namespace {

TUnitLifetime g_unit;
std::unique_ptr<TTimeAlarmer> g_alarmer;

} // namespace

TTimeAlarmer* Alarmer() noexcept
{
    return g_alarmer.get();
}

void InitializeKnClasses()
{
    if (g_unit.Initialize())
        g_alarmer = std::make_unique<TTimeAlarmer>();
}

void FinalizeKnClasses()
{
    if (g_unit.Finalize())
        g_alarmer.reset();
}

// ---- Back buffers --------------------------------------------------------------

bool BitmapCanHold(std::int32_t width, std::int32_t height) noexcept
{
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide
        && std::int64_t { width } * height <= kMaxBitmapPixels;
}

bool SizeBuffer(TBitmap& bitmap, std::int32_t width, std::int32_t height)
{
    if (!BitmapCanHold(width, height)) {
        bitmap.FreeImage();
        return false;
    }
    if (bitmap.Width() != width || bitmap.Height() != height) {
        // A new picture, as if the old bitmap were freed: what follows covers it.
        bitmap.FreeImage();
        bitmap.SetSize(width, height);
    }
    return true;
}

void ShowBuffer(TCanvas& canvas, TBitmap& buffer)
{
    const TRect r = Intersect(canvas.ClipRect(), Rect(0, 0, buffer.Width(), buffer.Height()));
    if (r.IsEmpty())
        return;
    BitBlt(canvas.Handle(), r.Left, r.Top, r.Width(), r.Height(), buffer.Canvas().Handle(), r.Left, r.Top, SRCCOPY);
}

// ---- TKnGraphicControl --------------------------------------------------------

TKnGraphicControl::TKnGraphicControl(TComponent* owner)
    : TGraphicControl(owner)
{
}

void TKnGraphicControl::RepaintAll()
{
    Render();
    Repaint();
}

void TKnGraphicControl::PaintBackup()
{
}

void TKnGraphicControl::Render()
{
    if (ComponentState().Contains(csLoading)) {
        m_stale = true;
        return;
    }
    m_stale = false;
    if (SizeBuffer(m_backup, Width(), Height()))
        PaintBackup();
}

void TKnGraphicControl::Paint()
{
    if (m_stale || m_backup.Width() != Width() || m_backup.Height() != Height())
        Render();
    ShowBuffer(Canvas(), m_backup);
}

void TKnGraphicControl::Loaded()
{
    TGraphicControl::Loaded();
    m_stale = true;
}

const TClassInfo& TKnGraphicControl::StaticClassInfo()
{
    // Publishes nothing of its own; descendants declare their whole list.
    static const TClassInfo info = TClassInfoBuilder<TKnGraphicControl>("TKnGraphicControl", &TGraphicControl::StaticClassInfo())
        .Build();
    return info;
}

const TClassInfo& TKnGraphicControl::ClassType() const
{
    return StaticClassInfo();
}

// ---- TKnStream ----------------------------------------------------------------

namespace detail {

namespace {

constexpr int kExponentBias = 16383;
constexpr std::uint16_t kExponentMax = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t { 1 } << 63;

void Store(std::uint8_t (&bytes)[10], std::uint64_t significand, std::uint16_t exponent, bool negative) noexcept
{
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    const std::uint16_t top = static_cast<std::uint16_t>(exponent | (negative ? 0x8000 : 0));
    bytes[8] = static_cast<std::uint8_t>(top);
    bytes[9] = static_cast<std::uint8_t>(top >> 8);
}

// The value's significand scaled to 64 bits, rounded to nearest even (exact
// unless long double carries more than 64 bits).
std::uint64_t Significand64(long double scaled) noexcept
{
    const long double rounded = std::nearbyint(scaled);
    if (rounded >= 18446744073709551616.0L)
        return 0; // overflowed: the caller moves to the next binade
    return static_cast<std::uint64_t>(rounded);
}

} // namespace

void EncodeExtended(long double value, std::uint8_t (&bytes)[10]) noexcept
{
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        Store(bytes, kIntegerBit | kIntegerBit >> 1, kExponentMax, negative);
        return;
    }
    if (std::isinf(value)) {
        Store(bytes, kIntegerBit, kExponentMax, negative);
        return;
    }
    if (value == 0) {
        Store(bytes, 0, 0, negative);
        return;
    }
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent); // |value| = fraction × 2^exponent, fraction in [0.5, 1)
    std::int64_t biased = static_cast<std::int64_t>(exponent) - 1 + kExponentBias;
    std::uint64_t significand = 0;
    if (biased >= 1) {
        significand = Significand64(std::ldexp(fraction, 64));
        if (significand == 0) {
            significand = kIntegerBit;
            ++biased;
        }
    } else {
        // Denormal: exponent field 0, the value is significand × 2^(1 - bias - 63).
        significand = Significand64(std::ldexp(fraction, exponent + kExponentBias - 1 + 63));
        biased = significand >= kIntegerBit ? 1 : 0;
    }
    if (biased >= kExponentMax) {
        Store(bytes, kIntegerBit, kExponentMax, negative);
        return;
    }
    Store(bytes, significand, static_cast<std::uint16_t>(biased), negative);
}

long double DecodeExtended(const std::uint8_t (&bytes)[10]) noexcept
{
    std::uint64_t significand = 0;
    for (int i = 0; i < 8; ++i)
        significand |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    const std::uint16_t top = static_cast<std::uint16_t>(bytes[8] | bytes[9] << 8);
    const bool negative = (top & 0x8000) != 0;
    const int exponent = top & kExponentMax;
    long double value = 0;
    if (exponent == kExponentMax) {
        value = (significand << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                        : std::numeric_limits<long double>::quiet_NaN();
    } else {
        const int scale = (exponent == 0 ? 1 : exponent) - kExponentBias - 63;
        value = std::ldexp(static_cast<long double>(significand), scale);
    }
    return negative ? -value : value;
}

} // namespace detail

namespace {

// Where long double is the x87 extended type itself, its first ten bytes are
// the encoding; elsewhere it is computed by hand.
constexpr bool kNativeExtended = std::numeric_limits<long double>::digits == 64
    && std::numeric_limits<long double>::max_exponent == 16384 && std::endian::native == std::endian::little;

} // namespace

void TKnStream::WriteInteger(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = { static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24) };
    Write(bytes, 4);
}

void TKnStream::WriteFloat(long double value)
{
    std::uint8_t bytes[10] {};
    if constexpr (kNativeExtended)
        std::memcpy(bytes, &value, 10);
    else
        detail::EncodeExtended(value, bytes);
    Write(bytes, 10);
}

void TKnStream::WriteChar(char value)
{
    Write(&value, 1);
}

void TKnStream::WriteBool(bool value)
{
    const std::uint8_t byte = value ? 1 : 0;
    Write(&byte, 1);
}

void TKnStream::WriteString(std::string_view s)
{
    if (s.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw EWriteError("String too long for a stream");
    WriteInteger(static_cast<std::int32_t>(s.size()));
    if (!s.empty())
        Write(s.data(), static_cast<std::int64_t>(s.size()));
}

void TKnStream::WriteStrings(const TStrings& list)
{
    WriteInteger(list.Count());
    for (std::int32_t i = 0; i < list.Count(); ++i)
        WriteString(list.Strings(i));
}

void TKnStream::ReadPadded(void* buffer, std::int64_t count)
{
    std::memset(buffer, 0, static_cast<std::size_t>(count));
    Read(buffer, count);
}

std::int32_t TKnStream::ReadInteger()
{
    std::uint8_t bytes[4];
    ReadPadded(bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
        | static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

long double TKnStream::ReadFloat()
{
    std::uint8_t bytes[10];
    ReadPadded(bytes, 10);
    if constexpr (kNativeExtended) {
        long double value = 0;
        std::memcpy(&value, bytes, 10);
        return value;
    } else {
        return detail::DecodeExtended(bytes);
    }
}

char TKnStream::ReadChar()
{
    char value = 0;
    ReadPadded(&value, 1);
    return value;
}

bool TKnStream::ReadBool()
{
    std::uint8_t byte = 0;
    ReadPadded(&byte, 1);
    return byte != 0;
}

void TKnStream::ReadString(std::string& s)
{
    const std::int32_t length = ReadInteger();
    const std::int64_t available = std::max<std::int64_t>(Remaining(), 0);
    const std::int64_t count = std::min<std::int64_t>(length, available);
    if (count <= 0) {
        s.clear();
        return;
    }
    s.assign(static_cast<std::size_t>(count), '\0');
    Read(s.data(), count);
}

void TKnStream::ReadStrings(TStrings* list)
{
    if (!list)
        return;
    const std::int32_t count = ReadInteger();
    std::string line;
    for (std::int32_t i = 0; i < count && Remaining() > 0; ++i) {
        ReadString(line);
        list->Add(line);
    }
}

} // namespace plx
