#include "framework/host/ImgList.h"

#include "rtl/Store.h"
#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <limits>

namespace plx {

TImageList::TImageList(TComponent* owner)
    : TComponent(owner)
{
}

TImageList::TImageList(TComponent* owner, std::int32_t width, std::int32_t height)
    : TComponent(owner)
    , m_width(std::max(width, 1))
    , m_height(std::max(height, 1))
{
}

void TImageList::SetWidth(std::int32_t value)
{
    value = std::max(value, 1);
    Store(m_width, value, [this] { Clear(); });
}

void TImageList::SetHeight(std::int32_t value)
{
    value = std::max(value, 1);
    Store(m_height, value, [this] { Clear(); });
}

void TImageList::CheckIndex(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation("Invalid image list index (" + std::to_string(index) + ")");
}

TImageList::Entry TImageList::MakeEntry(const TBitmap& image, const TBitmap* mask) const
{
    Entry e;
    e.image = std::make_unique<TBitmap>(m_width, m_height);
    if (!image.Empty())
        e.image->Canvas().StretchDraw(Rect(0, 0, m_width, m_height), image);
    if (mask && !mask->Empty()) {
        e.mask = std::make_unique<TBitmap>(m_width, m_height);
        e.mask->SetMonochrome(true);
        e.mask->Canvas().StretchDraw(Rect(0, 0, m_width, m_height), *mask);
    }
    return e;
}

std::int32_t TImageList::Add(const TBitmap& image, const TBitmap* mask)
{
    m_images.push_back(MakeEntry(image, mask));
    return Count() - 1;
}

std::int32_t TImageList::AddMasked(const TBitmap& image, TColor maskColor)
{
    TBitmap mask(image.Width(), image.Height());
    TColor key = maskColor & 0xFFFFFF;
    for (std::int32_t y = 0; y < image.Height(); ++y)
        for (std::int32_t x = 0; x < image.Width(); ++x)
            mask.Canvas().SetPixels(x, y, image.Image().GetColor(x, y) == key ? clWhite : clBlack);
    mask.SetMonochrome(true);
    return Add(image, &mask);
}

void TImageList::Replace(std::int32_t index, const TBitmap& image, const TBitmap* mask)
{
    CheckIndex(index);
    m_images[static_cast<std::size_t>(index)] = MakeEntry(image, mask);
}

void TImageList::Delete(std::int32_t index)
{
    CheckIndex(index);
    m_images.erase(m_images.begin() + index);
}

void TImageList::Clear()
{
    m_images.clear();
}

void TImageList::GetBitmap(std::int32_t index, TBitmap& bitmap) const
{
    CheckIndex(index);
    bitmap.Assign(m_images[static_cast<std::size_t>(index)].image.get());
}

void TImageList::Draw(TCanvas& canvas, std::int32_t x, std::int32_t y, std::int32_t index) const
{
    CheckIndex(index);
    const Entry& e = m_images[static_cast<std::size_t>(index)];
    if (!e.mask) {
        TCanvasStateGuard guard(canvas);
        canvas.SetCopyMode(cmSrcCopy);
        canvas.Draw(x, y, *e.image);
        return;
    }
    // Only the pixels inside the clip are visited, in 64 bits: an image placed
    // at the end of the int32 range neither wraps nor costs more than it shows
    // (pixels past the end of the range have no canvas coordinates to set).
    const TRect device = canvas.DeviceClip();
    const TPoint origin = canvas.Origin();
    const std::int64_t end = std::int64_t { std::numeric_limits<std::int32_t>::max() } + 1;
    const std::int64_t left = std::max<std::int64_t>(x, std::int64_t { device.Left } - origin.X);
    const std::int64_t right = std::min({ std::int64_t { x } + m_width, std::int64_t { device.Right } - origin.X, end });
    const std::int64_t top = std::max<std::int64_t>(y, std::int64_t { device.Top } - origin.Y);
    const std::int64_t bottom = std::min({ std::int64_t { y } + m_height, std::int64_t { device.Bottom } - origin.Y, end });
    for (std::int64_t cy = top; cy < bottom; ++cy)
        for (std::int64_t cx = left; cx < right; ++cx) {
            const auto i = static_cast<std::int32_t>(cx - x), j = static_cast<std::int32_t>(cy - y);
            if (e.mask->Image().GetColor(i, j) == 0)
                canvas.SetPixels(static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy), e.image->Image().GetColor(i, j));
        }
}

const TClassInfo& TImageList::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TImageList>("TImageList", &TComponent::StaticClassInfo())
        .Integer("Height", &TImageList::Height, &TImageList::SetHeight, 16)
        .Integer("Width", &TImageList::Width, &TImageList::SetWidth, 16)
        .Creator([](TComponent* owner) -> TComponent* { return new TImageList(owner); })
        .Build();
    return info;
}

const TClassInfo& TImageList::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
