// The gradient editor's gallery: named gradients as the file "Gradient Fill
// Editor.ini" keeps them, one key a gradient in the section "Gallary".
#pragma once

#include "paint/Gradient.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plx::detail {

//! The gallery file, a bare name: it lives in the settings folder.
inline constexpr std::string_view kGalleryFileName = "Gradient Fill Editor.ini";
//! The gallery's section (spelt as files have always spelt it).
inline constexpr std::string_view kGallerySection = "Gallary";

//! A gallery value: "Color1,Color2,Color3,Color4,Color5,ColorCount,style,direction",
//! eight signed decimal integers without spaces; LineSize is not kept.
[[nodiscard]] std::string GalleryValue(const TGradient& gradient);

//! Sets gradient (through its setters) from a gallery value of exactly eight
//! decimal integers, blanks around each allowed; the count is clamped into
//! 1..4, the style and direction ordinals into their enumerations. Any other
//! value leaves gradient as it was and gives false.
bool ReadGalleryValue(std::string_view value, TGradient& gradient);

//! Why name cannot be a gallery key (a line break, "=", a leading "[", ";" or
//! "#", blanks at either end), as a sentence for the user; empty when it can.
[[nodiscard]] std::string GalleryNameProblem(std::string_view name);

//! The gallery's entries in file order. An entry whose value cannot be read
//! keeps that value and is written back as it was, so a damaged line loses
//! nothing; only readable entries have a gradient.
class TGradientGallery {
public:
    struct TEntry {
        std::string Name;
        std::unique_ptr<TGradient> Gradient; //!< null when Value could not be read
        std::string Value; //!< the value as read, for an entry without a gradient
    };
    using TNameValues = std::vector<std::pair<std::string, std::string>>;

    //! Replaces the entries with the section's keys and values, in order.
    void Load(const TNameValues& values);
    //! The keys and values to write, in order.
    [[nodiscard]] TNameValues Values() const;

    [[nodiscard]] const std::vector<TEntry>& Entries() const noexcept { return m_entries; }
    //! The entry of that name, compared as keys are (ASCII case ignored); -1 when none.
    [[nodiscard]] std::int32_t IndexOf(std::string_view name) const noexcept;
    //! The entry holding gradient; -1 when none.
    [[nodiscard]] std::int32_t IndexOf(const TGradient* gradient) const noexcept;

    //! Appends an entry with a copy of gradient.
    void Add(const std::string& name, const TGradient& gradient);
    //! Gives entry index the name and a copy of gradient, in its place.
    void Replace(std::int32_t index, const std::string& name, const TGradient& gradient);
    //! Removes entry index (and frees its gradient).
    void Remove(std::int32_t index);

private:
    std::vector<TEntry> m_entries;
};

} // namespace plx::detail
