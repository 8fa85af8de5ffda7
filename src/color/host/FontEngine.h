// The host's text engine: font names resolved through fontconfig, glyphs
// rendered by FreeType and kept in a cache per face, size, style and angle.
#pragma once

#include "color/host/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;
struct FT_LibraryRec_;

namespace plx::detail {

//! A logical font as the text calls see it, from a TFont or a GDI font object.
//! Height follows TFont: negative is the character height in pixels, positive
//! the cell height, 0 the default (8 points).
struct FontSpec {
    std::string name { "MS Sans Serif" };
    std::int32_t height { -11 };
    std::int32_t width { 0 }; //!< average character width in pixels; 0 keeps the face's proportions
    std::int32_t escapement { 0 }; //!< tenths of a degree, counter-clockwise
    std::int32_t weight { 400 };
    bool italic { false };
    bool underline { false };
    bool strikeOut { false };
    bool antiAliased { false };

    bool operator==(const FontSpec&) const = default;
};

//! Whole-pixel metrics of a sized font. Offsets count downwards from the baseline
//! to the top of the line they place.
struct FontMetrics {
    std::int32_t ascent { 0 };
    std::int32_t descent { 0 };
    std::int32_t height { 0 }; //!< the cell: ascent + descent
    std::int32_t averageWidth { 0 };
    std::int32_t underlineOffset { 0 };
    std::int32_t underlineThickness { 1 };
    std::int32_t strikeOutOffset { 0 };
    std::int32_t strikeOutThickness { 1 };
};

//! A rendered glyph: coverage 0..255 (only 0 and 255 for one-bit glyphs), placed
//! relative to the pen position on the baseline.
struct Glyph {
    std::int32_t left { 0 }; //!< columns right of the pen
    std::int32_t top { 0 }; //!< rows above the baseline
    std::int32_t width { 0 };
    std::int32_t height { 0 };
    std::int32_t advance { 0 }; //!< along the baseline, whole pixels, before rotation
    std::vector<std::uint8_t> coverage;
    std::uint64_t lastUse { 0 }; //!< when the cache last handed it out
};

//! Which face a font name and style resolve to.
struct FaceChoice {
    std::string file;
    std::int32_t index { 0 };
    std::string family;
    bool fallback { false }; //!< the name matched no installed face or alias
    bool syntheticBold { false };
    bool syntheticItalic { false };
};

//! One face at one size, style and angle, with its glyph cache.
class FontInstance {
public:
    FontInstance(FT_LibraryRec_* library, const FontSpec& spec, const FaceChoice& face);
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    [[nodiscard]] const FontMetrics& Metrics() const noexcept { return m_metrics; }
    [[nodiscard]] const FontSpec& Spec() const noexcept { return m_spec; }
    [[nodiscard]] const FaceChoice& Face() const noexcept { return m_face; }
    //! The escapement in radians.
    [[nodiscard]] double Angle() const noexcept { return m_angle; }
    //! The glyph, rendered on first use. The reference stays valid until the
    //! next GlyphOf of any font: small glyphs are cached, but the cache of all
    //! fonts together keeps within its budget by dropping the glyphs used least
    //! recently as new ones come in; a large glyph is never cached.
    [[nodiscard]] const Glyph& GlyphOf(char32_t codePoint);
    //! The glyph's advance, from the face's metrics without rendering (cached).
    [[nodiscard]] std::int32_t Advance(char32_t codePoint);
    //! Sum of advances, saturated to the int32 range.
    [[nodiscard]] std::int32_t Width(std::u32string_view text);
    //! Frees the cached glyphs (advances stay).
    void DropGlyphs() noexcept;

    //! The bytes the cached glyphs of all fonts take, and their budget.
    [[nodiscard]] static std::size_t CachedGlyphBytes() noexcept;
    static constexpr std::size_t kGlyphBudget = 32u << 20;

private:
    void SetUpMetrics();
    //! Loads the glyph's outline into the face's slot and gives its advance;
    //! false when the glyph draws nothing (advance then 0).
    [[nodiscard]] bool Load(char32_t codePoint, bool embolden, std::int32_t& advance);
    [[nodiscard]] Glyph Render(char32_t codePoint);
    void RecordAdvance(char32_t codePoint, std::int32_t advance);
    [[nodiscard]] std::unique_ptr<Glyph>* Slot(char32_t codePoint);
    //! Drops cached glyphs of every font, least recently used first, until the
    //! cache holds at most target bytes; never the glyph keep.
    static void Evict(std::size_t target, const Glyph* keep) noexcept;
    void Drop(char32_t codePoint) noexcept;
    FontSpec m_spec;
    FaceChoice m_face;
    FT_FaceRec_* m_ftFace { nullptr };
    FontMetrics m_metrics;
    double m_angle { 0 };
    double m_strength { 0 }; //!< synthetic bold, in 26.6 pixels
    std::vector<std::unique_ptr<Glyph>> m_latin;
    std::unordered_map<char32_t, std::unique_ptr<Glyph>> m_others;
    std::vector<std::int32_t> m_latinAdvances;
    std::unordered_map<char32_t, std::int32_t> m_otherAdvances;
    Glyph m_large;
    std::size_t m_cachedBytes { 0 };
};

//! Resolves font descriptions to sized instances, cached; process-wide,
//! created on first use and used from the user-interface thread only.
class FontEngine {
public:
    [[nodiscard]] static FontEngine& Instance();
    ~FontEngine();

    [[nodiscard]] std::shared_ptr<FontInstance> Resolve(const FontSpec& spec);
    //! The face a name resolves to: an installed family of that name or one of
    //! fontconfig's metric-compatible aliases, otherwise DejaVu Sans.
    [[nodiscard]] FaceChoice ResolveFace(const std::string& name, std::int32_t weight, bool italic);
    //! Drops every cached instance and face choice.
    void Flush();

private:
    FontEngine();
    [[nodiscard]] FaceChoice Match(const std::string& name, std::int32_t weight, bool italic, bool acceptAny) const;

    struct SpecHash {
        std::size_t operator()(const FontSpec& s) const noexcept;
    };
    struct Cached {
        std::shared_ptr<FontInstance> instance;
        std::uint64_t lastUse { 0 };
    };
    std::unordered_map<FontSpec, Cached, SpecHash> m_instances;
    std::unordered_map<std::string, FaceChoice> m_faces;
    std::shared_ptr<FontInstance> m_last;
    std::uint64_t m_clock { 0 };
    FT_LibraryRec_* m_library { nullptr };
};

//! The text a string of bytes holds: UTF-8, where a byte that does not start a
//! valid UTF-8 sequence is read as a Windows-1252 character.
[[nodiscard]] std::u32string DecodeText(std::string_view bytes);

} // namespace plx::detail
