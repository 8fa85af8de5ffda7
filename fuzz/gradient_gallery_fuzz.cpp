// The gradient editor's gallery file is read from the user's settings folder,
// where anything may have been written. Arbitrary bytes read as that file must
// load without a crash or a hang, and what loads must save as the editor saves
// it and load again to the same entries: readable values in their stated
// format with the count and ordinals in range, every other value unchanged,
// every name one the editor would accept. Readable entries are painted as the
// gallery list paints them.
#include "FuzzCheck.h"

#include "color/host/Bitmap.h"
#include "design/detail/GradientGallery.h"
#include "rtl/IniFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using plx::fuzz::Check;
namespace detail = plx::detail;

constexpr std::size_t kMaxPainted = 16;

// The section as the editor writes it: erased, then one key per entry in order.
plx::TIniDocument Saved(plx::TIniDocument document, const detail::TGradientGallery& gallery)
{
    document.EraseSection(detail::kGallerySection);
    for (const auto& [name, value] : gallery.Values())
        document.Write(detail::kGallerySection, name, value);
    return plx::TIniDocument::Parse(document.Serialize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    plx::fuzz::StartPackageOnce();
    if (size > plx::fuzz::kMaxTextInput)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const plx::TIniDocument file = plx::TIniDocument::Parse(text);
    const auto values = file.SectionValues(detail::kGallerySection);

    detail::TGradientGallery gallery;
    gallery.Load(values);
    const auto& entries = gallery.Entries();
    Check(entries.size() == values.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        Check(entry.Name == values[i].first);
        Check(detail::GalleryNameProblem(entry.Name).empty());
        if (!entry.Gradient) {
            Check(entry.Value == values[i].second);
            continue;
        }
        const plx::TGradient& g = *entry.Gradient;
        Check(g.ColorCount() >= 1 && g.ColorCount() <= 4);
        Check(g.GradientStyle() <= plx::gsCustomRect && g.LineDirection() <= plx::diVertical);
        plx::TGradient again;
        Check(detail::ReadGalleryValue(detail::GalleryValue(g), again));
        Check(detail::GalleryValue(again) == detail::GalleryValue(g));
    }

    // Saving never fails on what the file held, and loads back to a fixed point.
    const plx::TIniDocument saved = Saved(file, gallery);
    Check(saved.SectionValues(detail::kGallerySection) == gallery.Values());
    detail::TGradientGallery reloaded;
    reloaded.Load(saved.SectionValues(detail::kGallerySection));
    Check(reloaded.Values() == gallery.Values());

    // Painted as the gallery list paints its entries: one-pixel bands, 27 x 27.
    std::size_t painted = 0;
    for (const auto& entry : entries) {
        if (!entry.Gradient || painted++ == kMaxPainted)
            continue;
        entry.Gradient->SetLineSize(1);
        plx::TBitmap picture(27, 27);
        plx::PaintGradient(picture.Canvas(), plx::Rect(0, 0, 27, 27), *entry.Gradient);
    }
    return 0;
}
