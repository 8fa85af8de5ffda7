#include "color/host/Bitmap.h"

#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"
#include "color/host/Gdi.h"
#include "color/host/Resources.h"
#include "color/host/SysColors.h"
#include "color/host/detail/GdiTable.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/TypInfo.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <limits>

namespace plx {

TBitmap::TBitmap()
    : m_image(std::make_shared<Raster>())
    , m_canvas(std::make_unique<TCanvas>())
{
    AttachCanvas();
}

TBitmap::TBitmap(std::int32_t width, std::int32_t height)
    : TBitmap()
{
    m_image->SetSize(width, height);
}

TBitmap::~TBitmap()
{
    ReleaseOwnHandle();
}

void TBitmap::AttachCanvas()
{
    m_canvas->SetSurface(m_image.get());
    m_canvas->SetOnChange([this](TObject*) { Changed(); });
}

void TBitmap::ReleaseOwnHandle() const
{
    if (m_handle)
        detail::UnregisterObject(m_handle);
    m_handle = 0;
}

void TBitmap::Changed()
{
    if (m_onChange)
        m_onChange(this);
}

void TBitmap::SetWidth(std::int32_t width)
{
    SetSize(width, Height());
}

void TBitmap::SetHeight(std::int32_t height)
{
    SetSize(Width(), height);
}

void TBitmap::SetSize(std::int32_t width, std::int32_t height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    m_image->SetSize(width, height);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == PixelFormat())
        return;
    m_image->SetFormat(format);
    Changed();
}

void TBitmap::SetMonochrome(bool value)
{
    if (value == Monochrome())
        return;
    if (value) {
        // Pixels of the background colour become white, all others black.
        const auto bk = static_cast<std::uint32_t>(ColorToRGB(m_canvas->BkColor())) & 0xFFFFFF;
        for (auto& word : m_image->Words())
            word = (word & 0xFFFFFF) == bk ? 0xFFFFFF : 0;
        m_image->SetFormat(pfDevice);
        m_image->SetFormat(pf1bit);
    } else {
        m_image->SetFormat(pfDevice);
    }
    Changed();
}

void TBitmap::SetColorTable(std::span<const TColor> colors)
{
    m_image->SetPalette(colors);
    Changed();
}

void TBitmap::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    Changed();
}

TColor TBitmap::TransparentColor() const noexcept
{
    if (m_transparentMode == tmFixed)
        return m_transparentColor;
    if (Empty())
        return clDefault;
    return m_image->GetColor(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (m_transparentMode == tmFixed && color == m_transparentColor)
        return;
    m_transparentColor = color;
    m_transparentMode = tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == m_transparentMode)
        return;
    m_transparentMode = mode;
    Changed();
}

HBITMAP TBitmap::Handle() const
{
    if (Empty())
        return 0;
    if (!m_handle) {
        auto object = std::make_unique<detail::GdiBitmap>();
        object->raster = m_image;
        object->owner = this;
        m_handle = detail::RegisterObject(std::move(object), false);
    }
    return m_handle;
}

void TBitmap::SetHandle(HBITMAP handle)
{
    if (handle == m_handle && handle)
        return;
    if (!handle) {
        FreeImage();
        return;
    }
    auto* object = detail::Lookup<detail::GdiBitmap>(handle);
    if (!object)
        throw EInvalidGraphic("Invalid bitmap handle");
    if (object->owner) {
        // Another bitmap's handle: take a copy of its image, leave it alone.
        m_image->CopyFrom(*object->raster);
    } else {
        auto taken = detail::TakeObject(handle);
        m_image->CopyFrom(*static_cast<detail::GdiBitmap&>(*taken).raster);
    }
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    if (Empty())
        return 0;
    HBITMAP handle = Handle();
    auto* object = static_cast<detail::GdiBitmap*>(detail::LookupObject(handle));
    object->owner = nullptr;
    detail::SetCallerOwned(handle, true);
    m_handle = 0;
    m_image = std::make_shared<Raster>();
    AttachCanvas();
    Changed();
    return handle;
}

void TBitmap::FreeImage()
{
    m_image->Clear();
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream)
{
    const std::int64_t start = stream.Position();
    const std::int64_t available = std::max<std::int64_t>(stream.Size() - start, 0);
    if (auto* memory = dynamic_cast<TMemoryStream*>(&stream); memory && start >= 0) {
        // Decoded where it lies, without a copy of the stream.
        std::span<const std::uint8_t> bytes;
        if (available > 0)
            bytes = { memory->Memory() + start, static_cast<std::size_t>(available) };
        const detail::BmpLayout layout = detail::ReadBmpLayout(bytes.first(std::min(bytes.size(), detail::kBmpHeaderPeek)), bytes.size());
        detail::DecodeBmp(bytes.first(static_cast<std::size_t>(layout.streamBytes)), *m_image);
        stream.SetPosition(start + static_cast<std::int64_t>(layout.streamBytes));
        Changed();
        return;
    }
    std::vector<std::uint8_t> peek(static_cast<std::size_t>(std::min<std::int64_t>(available, detail::kBmpHeaderPeek)));
    stream.ReadBuffer(peek.data(), static_cast<std::int64_t>(peek.size()));
    stream.SetPosition(start);
    // The headers are checked against the bytes the stream holds before
    // anything is allocated for the pixels.
    const detail::BmpLayout layout = detail::ReadBmpLayout(peek, static_cast<std::uint64_t>(available));
    std::vector<std::uint8_t> data(static_cast<std::size_t>(layout.streamBytes));
    stream.ReadBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    detail::DecodeBmp(data, *m_image);
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) const
{
    const auto size = static_cast<std::int64_t>(detail::EncodedBmpSize(*m_image));
    auto* memory = dynamic_cast<TMemoryStream*>(&stream);
    if (const std::int64_t at = memory ? memory->Position() : -1; at >= 0 && at <= std::numeric_limits<std::int64_t>::max() - size) {
        // Encoded straight into the stream's memory.
        if (memory->Size() < at + size)
            memory->SetSize(at + size);
        detail::EncodeBmp(*m_image, { memory->Memory() + at, static_cast<std::size_t>(size) });
        memory->SetPosition(at + size);
        return;
    }
    auto bytes = detail::EncodeBmp(*m_image);
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TBitmap::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TBitmap::SaveToPNG(const std::string& fileName) const
{
    if (Empty())
        throw EInvalidGraphic("Cannot write an empty bitmap as PNG");
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(Width());
    image.height = static_cast<png_uint_32>(Height());
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height()) * 3);
    std::size_t i = 0;
    for (std::int32_t y = 0; y < Height(); ++y)
        for (std::int32_t x = 0; x < Width(); ++x) {
            TColor c = m_image->GetColor(x, y);
            rgb[i++] = GetRValue(c);
            rgb[i++] = GetGValue(c);
            rgb[i++] = GetBValue(c);
        }
    if (!png_image_write_to_file(&image, fileName.c_str(), 0, rgb.data(), 0, nullptr)) {
        std::string why = image.message;
        png_image_free(&image);
        throw EInOutError("Cannot write PNG file \"" + fileName + "\": " + why);
    }
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    auto data = FindResource(instance, name, RT_BITMAP);
    if (!data)
        throw EResNotFound("Resource " + name + " not found");
    TMemoryStream stream;
    stream.WriteBuffer(data->data(), static_cast<std::int64_t>(data->size()));
    stream.SetPosition(0);
    LoadFromStream(stream);
}

void TBitmap::Assign(const TPersistent* source)
{
    if (!source) {
        FreeImage();
        return;
    }
    if (auto other = dynamic_cast<const TBitmap*>(source)) {
        if (other == this)
            return;
        m_image->CopyFrom(*other->m_image);
        m_transparent = other->m_transparent;
        m_transparentColor = other->m_transparentColor;
        m_transparentMode = other->m_transparentMode;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo& TBitmap::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TBitmap>("TBitmap", &TPersistent::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TBitmap::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
