#include "color/host/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace plx::detail {

namespace {

// Larger requests are drawn at this character height: a glyph bitmap must stay a
// sensible allocation whatever a form file says.
constexpr double kMaxPixels = 2048;
// Cached glyphs of all fonts together stay within FontInstance::kGlyphBudget; a
// glyph larger than kLargeGlyph bytes is rendered whenever it is drawn and never
// cached. When the budget is passed, the cache drops to three quarters of it, so
// the cost of choosing what to drop is spread over many glyphs.
constexpr std::size_t kLargeGlyph = 256u << 10;
std::size_t g_cachedBytes = 0;
std::uint64_t g_glyphClock = 0;
constexpr std::size_t kMaxInstances = 48;
// Advances of characters beyond Latin-1 are cheap to find again; past this many
// per font they are forgotten rather than kept for the whole of Unicode.
constexpr std::size_t kMaxOtherAdvances = 1u << 16;
// The slant of synthetic italics (FreeType's own oblique factor).
constexpr double kObliqueShear = 0.2126;

// Every font instance alive, for the glyph budget (and for FreeType's lifetime).
std::vector<FontInstance*>& LiveInstances()
{
    static std::vector<FontInstance*> instances;
    return instances;
}

std::size_t GlyphBytes(const Glyph& g) noexcept
{
    return g.coverage.size() + sizeof(Glyph) + 32;
}

std::int32_t RoundToInt(double v) noexcept
{
    return static_cast<std::int32_t>(std::lround(v));
}

// Code points 0x80..0x9F of Windows-1252; the five unassigned bytes keep their value.
constexpr std::array<char16_t, 32> kCp1252High { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

bool IsContinuation(unsigned char b) noexcept
{
    return (b & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t Utf8Length(std::string_view s) noexcept
{
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char b = at(0);
    if (b < 0x80)
        return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF; // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0; // no overlong forms
        if (b == 0xED)
            hi = 0x9F; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        if (b == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (s.size() < n || at(1) < lo || at(1) > hi)
        return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (!IsContinuation(at(i)))
            return 0;
    return n;
}

std::string Lower(std::string s)
{
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool IsGenericFamily(const std::string& name)
{
    static constexpr std::string_view kGeneric[] = { "sans-serif", "sans", "serif", "monospace", "mono", "system-ui",
        "cursive", "fantasy" };
    std::string lower = Lower(name);
    return std::find(std::begin(kGeneric), std::end(kGeneric), lower) != std::end(kGeneric);
}

std::vector<std::string> StringValues(FcPattern* pattern, const char* object, bool strongOnly)
{
    std::vector<std::string> values;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern, object, i, &value, &binding) == FcResultMatch; ++i) {
        if (value.type != FcTypeString || (strongOnly && binding == FcValueBindingWeak))
            continue;
        values.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
    return values;
}

// Metrics of a face in font units: the platform's cell (the OS/2 Windows ascent
// and descent) where the face has one.
struct FaceUnits {
    double unitsPerEm { 2048 };
    double ascent { 1638 };
    double descent { 410 };
    double averageWidth { 0 };
    double underlinePosition { -205 };
    double underlineThickness { 102 };
    double strikeOutPosition { 0 };
    double strikeOutSize { 0 };
};

FaceUnits UnitsOf(FT_Face face)
{
    FaceUnits u;
    if (face->units_per_EM == 0)
        return u;
    u.unitsPerEm = face->units_per_EM;
    u.ascent = face->ascender;
    u.descent = -face->descender;
    u.underlinePosition = face->underline_position;
    u.underlineThickness = face->underline_thickness;
    if (auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            u.ascent = os2->usWinAscent;
            u.descent = os2->usWinDescent;
        }
        u.averageWidth = os2->xAvgCharWidth;
        u.strikeOutPosition = os2->yStrikeoutPosition;
        u.strikeOutSize = os2->yStrikeoutSize;
    }
    if (u.ascent + u.descent <= 0) {
        u.ascent = u.unitsPerEm * 0.8;
        u.descent = u.unitsPerEm * 0.2;
    }
    if (u.underlineThickness <= 0)
        u.underlineThickness = u.unitsPerEm / 20;
    if (u.strikeOutSize <= 0) {
        u.strikeOutSize = u.underlineThickness;
        u.strikeOutPosition = u.ascent * 0.3;
    }
    return u;
}

} // namespace

std::u32string DecodeText(std::string_view bytes)
{
    std::u32string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::string_view rest = bytes.substr(i);
        std::size_t n = Utf8Length(rest);
        auto b0 = static_cast<unsigned char>(rest[0]);
        if (n == 0) {
            text.push_back(b0 >= 0x80 && b0 < 0xA0 ? kCp1252High[b0 - 0x80] : b0);
            ++i;
            continue;
        }
        char32_t cp = n == 1 ? b0 : n == 2 ? (b0 & 0x1F) : n == 3 ? (b0 & 0x0F) : (b0 & 0x07);
        for (std::size_t k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(rest[k]) & 0x3F);
        text.push_back(cp);
        i += n;
    }
    return text;
}

// ---- FontInstance -----------------------------------------------------------

FontInstance::FontInstance(FT_LibraryRec_* library, const FontSpec& spec, const FaceChoice& face)
    : m_spec(spec)
    , m_face(face)
    , m_latin(256)
    , m_latinAdvances(256, -1)
{
    LiveInstances().push_back(this);
    std::int32_t tenths = spec.escapement % 3600;
    if (tenths < 0)
        tenths += 3600;
    m_angle = tenths * std::numbers::pi / 1800.0;
    FT_Face ftFace = nullptr;
    if (library && !face.file.empty() && FT_New_Face(library, face.file.c_str(), face.index, &ftFace) == 0) {
        if (FT_IS_SCALABLE(ftFace)) {
            m_ftFace = ftFace;
        } else {
            FT_Done_Face(ftFace);
        }
    }
    SetUpMetrics();
}

FontInstance::~FontInstance()
{
    DropGlyphs();
    if (m_ftFace)
        FT_Done_Face(m_ftFace);
    std::erase(LiveInstances(), this);
}

void FontInstance::SetUpMetrics()
{
    FaceUnits u = m_ftFace ? UnitsOf(m_ftFace) : FaceUnits {};
    double requested = m_spec.height == 0 ? -11 : m_spec.height;
    requested = std::clamp(requested, -kMaxPixels, kMaxPixels);
    const double cellUnits = u.ascent + u.descent;
    double ppem = 0;
    FontMetrics& m = m_metrics;
    if (requested < 0) {
        ppem = -requested;
        m.ascent = RoundToInt(u.ascent * ppem / u.unitsPerEm);
        m.height = std::max(RoundToInt(cellUnits * ppem / u.unitsPerEm), m.ascent);
    } else {
        // A positive height is the cell: the face is scaled so that ascent and
        // descent fill it exactly.
        m.height = static_cast<std::int32_t>(requested);
        ppem = requested * u.unitsPerEm / cellUnits;
        m.ascent = RoundToInt(requested * u.ascent / cellUnits);
    }
    m.descent = m.height - m.ascent;
    const double scale = ppem / u.unitsPerEm;

    double xppem = ppem;
    if (m_spec.width > 0) {
        double natural = (u.averageWidth > 0 ? u.averageWidth : u.unitsPerEm / 2) * scale;
        xppem = std::clamp(ppem * std::min<double>(m_spec.width, kMaxPixels) / std::max(natural, 1.0), 1.0, kMaxPixels);
    }
    if (m_ftFace) {
        auto toFixed = [](double px) { return static_cast<FT_F26Dot6>(std::max(std::lround(px * 64), 64L)); };
        if (FT_Set_Char_Size(m_ftFace, toFixed(xppem), toFixed(ppem), 72, 72) != 0) {
            FT_Done_Face(m_ftFace);
            m_ftFace = nullptr;
        }
    }
    const double xScale = xppem / u.unitsPerEm;
    m.averageWidth = m_spec.width > 0 ? std::min<std::int32_t>(m_spec.width, static_cast<std::int32_t>(kMaxPixels))
                                      : RoundToInt((u.averageWidth > 0 ? u.averageWidth : u.unitsPerEm / 2) * xScale);
    m.averageWidth = std::max(m.averageWidth, 1);

    m.underlineThickness = std::max(RoundToInt(u.underlineThickness * scale), 1);
    m.underlineOffset = RoundToInt(-u.underlinePosition * scale - m.underlineThickness / 2.0);
    m.underlineOffset = std::max(std::min(m.underlineOffset, m.descent - m.underlineThickness), 1);
    m.strikeOutThickness = std::max(RoundToInt(u.strikeOutSize * scale), 1);
    m.strikeOutOffset = -RoundToInt(u.strikeOutPosition * scale);

    // FreeType's emboldening strength for synthetic bold.
    m_strength = m_face.syntheticBold ? ppem * 64.0 / 24.0 : 0;
}

std::int32_t FontInstance::Width(std::u32string_view text)
{
    std::int64_t width = 0;
    for (char32_t c : text)
        width += Advance(c);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(width, 0, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t FontInstance::Advance(char32_t codePoint)
{
    if (codePoint < m_latinAdvances.size()) {
        if (m_latinAdvances[codePoint] >= 0)
            return m_latinAdvances[codePoint];
    } else if (auto it = m_otherAdvances.find(codePoint); it != m_otherAdvances.end()) {
        return it->second;
    }
    std::int32_t advance = 0;
    (void)Load(codePoint, false, advance);
    RecordAdvance(codePoint, advance);
    return advance;
}

void FontInstance::RecordAdvance(char32_t codePoint, std::int32_t advance)
{
    if (codePoint < m_latinAdvances.size()) {
        m_latinAdvances[codePoint] = advance;
        return;
    }
    if (m_otherAdvances.size() >= kMaxOtherAdvances)
        m_otherAdvances.clear();
    m_otherAdvances[codePoint] = advance;
}

std::unique_ptr<Glyph>* FontInstance::Slot(char32_t codePoint)
{
    if (codePoint < m_latin.size())
        return &m_latin[codePoint];
    auto it = m_others.find(codePoint);
    return it == m_others.end() ? nullptr : &it->second;
}

const Glyph& FontInstance::GlyphOf(char32_t codePoint)
{
    std::unique_ptr<Glyph>* slot = Slot(codePoint);
    if (slot && *slot) {
        // The clock moves only when a glyph is added: glyphs used since then
        // share a time, which is all the eviction order needs.
        (*slot)->lastUse = g_glyphClock;
        return **slot;
    }
    Glyph glyph = Render(codePoint);
    RecordAdvance(codePoint, glyph.advance);
    if (glyph.coverage.size() > kLargeGlyph) {
        m_large = std::move(glyph);
        return m_large;
    }
    if (!slot)
        slot = &m_others[codePoint];
    *slot = std::make_unique<Glyph>(std::move(glyph));
    Glyph& added = **slot;
    added.lastUse = ++g_glyphClock;
    const std::size_t bytes = GlyphBytes(added);
    m_cachedBytes += bytes;
    g_cachedBytes += bytes;
    if (g_cachedBytes > kGlyphBudget)
        Evict(kGlyphBudget / 4 * 3, &added);
    return added;
}

void FontInstance::Drop(char32_t codePoint) noexcept
{
    std::unique_ptr<Glyph>* slot = Slot(codePoint);
    if (!slot || !*slot)
        return;
    const std::size_t bytes = GlyphBytes(**slot);
    m_cachedBytes -= std::min(m_cachedBytes, bytes);
    g_cachedBytes -= std::min(g_cachedBytes, bytes);
    if (codePoint < m_latin.size())
        slot->reset();
    else
        m_others.erase(codePoint);
}

void FontInstance::Evict(std::size_t target, const Glyph* keep) noexcept
{
    struct Entry {
        std::uint64_t lastUse;
        FontInstance* font;
        char32_t codePoint;
    };
    std::vector<Entry> entries;
    for (FontInstance* font : LiveInstances()) {
        for (char32_t c = 0; c < font->m_latin.size(); ++c)
            if (const auto& g = font->m_latin[c]; g && g.get() != keep)
                entries.push_back({ g->lastUse, font, c });
        for (const auto& [c, g] : font->m_others)
            if (g.get() != keep)
                entries.push_back({ g->lastUse, font, c });
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
    for (const Entry& e : entries) {
        if (g_cachedBytes <= target)
            break;
        e.font->Drop(e.codePoint);
    }
}

std::size_t FontInstance::CachedGlyphBytes() noexcept
{
    return g_cachedBytes;
}

void FontInstance::DropGlyphs() noexcept
{
    for (auto& g : m_latin)
        g.reset();
    m_others.clear();
    m_large = Glyph {};
    g_cachedBytes -= std::min(g_cachedBytes, m_cachedBytes);
    m_cachedBytes = 0;
}

bool FontInstance::Load(char32_t codePoint, bool embolden, std::int32_t& advance)
{
    advance = 0;
    if (!m_ftFace)
        return false;
    FT_UInt index = FT_Get_Char_Index(m_ftFace, codePoint);
    // Control characters the face does not map draw nothing rather than a box.
    if (index == 0 && (codePoint < 0x20 || codePoint == 0x7F))
        return false;
    FT_Int32 flags = FT_LOAD_NO_BITMAP | (m_spec.antiAliased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(m_ftFace, index, flags) != 0)
        return false;
    FT_GlyphSlot slot = m_ftFace->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;
    advance = static_cast<std::int32_t>((slot->advance.x + 32) >> 6);
    if (m_strength > 0) {
        auto strength = static_cast<FT_Pos>(m_strength);
        if (embolden)
            FT_Outline_EmboldenXY(&slot->outline, strength, strength);
        advance += static_cast<std::int32_t>((strength + 32) >> 6);
    }
    return true;
}

Glyph FontInstance::Render(char32_t codePoint)
{
    Glyph glyph;
    if (!Load(codePoint, true, glyph.advance))
        return glyph;
    const bool smooth = m_spec.antiAliased;
    FT_GlyphSlot slot = m_ftFace->glyph;
    // Shear (synthetic italic), then rotate; FreeType's y axis points up, so a
    // counter-clockwise angle is the usual rotation matrix.
    double c = 1, s = 0;
    if (m_spec.escapement % 900 == 0) {
        static constexpr double kCos[] = { 1, 0, -1, 0 }, kSin[] = { 0, 1, 0, -1 };
        std::int32_t quadrant = ((m_spec.escapement / 900) % 4 + 4) % 4;
        c = kCos[quadrant];
        s = kSin[quadrant];
    } else {
        c = std::cos(m_angle);
        s = std::sin(m_angle);
    }
    const double shear = m_face.syntheticItalic ? kObliqueShear : 0;
    if (s != 0 || c != 1 || shear != 0) {
        auto fixed = [](double v) { return static_cast<FT_Fixed>(std::lround(v * 65536.0)); };
        FT_Matrix matrix { fixed(c), fixed(c * shear - s), fixed(s), fixed(s * shear + c) };
        FT_Outline_Transform(&slot->outline, &matrix);
    }
    if (FT_Render_Glyph(slot, smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<std::int32_t>(bitmap.width);
    glyph.height = static_cast<std::int32_t>(bitmap.rows);
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height), 0);
    if (glyph.coverage.empty())
        return glyph;
    const int pitch = bitmap.pitch;
    const unsigned char* top = pitch >= 0 ? bitmap.buffer : bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1) * -pitch;
    for (std::int32_t y = 0; y < glyph.height; ++y) {
        const unsigned char* row = top + static_cast<std::ptrdiff_t>(y) * pitch;
        std::uint8_t* out = glyph.coverage.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(glyph.width);
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (std::int32_t x = 0; x < glyph.width; ++x)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int levels = std::max<int>(bitmap.num_grays - 1, 1);
            for (std::int32_t x = 0; x < glyph.width; ++x)
                out[x] = static_cast<std::uint8_t>(row[x] * 255 / levels);
        }
    }
    return glyph;
}

// ---- FontEngine -------------------------------------------------------------

FontEngine& FontEngine::Instance()
{
    static FontEngine engine;
    return engine;
}

FontEngine::FontEngine()
{
    // The registry of instances outlives the engine, whose destructor frees them.
    (void)LiveInstances();
    FcInit();
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0)
        m_library = library;
}

FontEngine::~FontEngine()
{
    Flush();
    // An instance still held elsewhere at exit keeps its face; FreeType then stays too.
    if (m_library && LiveInstances().empty())
        FT_Done_FreeType(m_library);
    // The engine holds no fontconfig objects past a call, so its caches can go.
    FcFini();
}

void FontEngine::Flush()
{
    m_last.reset();
    m_instances.clear();
    m_faces.clear();
}

std::size_t FontEngine::SpecHash::operator()(const FontSpec& s) const noexcept
{
    std::size_t h = std::hash<std::string> {}(s.name);
    auto mix = [&h](std::uint64_t v) { h ^= std::hash<std::uint64_t> {}(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(static_cast<std::uint32_t>(s.height));
    mix(static_cast<std::uint32_t>(s.width));
    mix(static_cast<std::uint32_t>(s.escapement));
    mix(static_cast<std::uint32_t>(s.weight));
    mix((s.italic ? 1u : 0u) | (s.underline ? 2u : 0u) | (s.strikeOut ? 4u : 0u) | (s.antiAliased ? 8u : 0u));
    return h;
}

std::shared_ptr<FontInstance> FontEngine::Resolve(const FontSpec& spec)
{
    if (m_last && m_last->Spec() == spec)
        return m_last;
    ++m_clock;
    if (auto it = m_instances.find(spec); it != m_instances.end()) {
        it->second.lastUse = m_clock;
        m_last = it->second.instance;
        return m_last;
    }
    FaceChoice face = ResolveFace(spec.name, spec.weight, spec.italic);
    auto instance = std::make_shared<FontInstance>(m_library, spec, face);
    if (m_instances.size() >= kMaxInstances) {
        auto oldest = std::min_element(m_instances.begin(), m_instances.end(),
            [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
        m_instances.erase(oldest);
    }
    m_instances.emplace(spec, Cached { instance, m_clock });
    m_last = instance;
    return instance;
}

FaceChoice FontEngine::ResolveFace(const std::string& name, std::int32_t weight, bool italic)
{
    std::string key = Lower(name) + '|' + std::to_string(weight) + '|' + (italic ? '1' : '0');
    if (auto it = m_faces.find(key); it != m_faces.end())
        return it->second;
    FaceChoice choice = Match(name, weight, italic, IsGenericFamily(name));
    if (choice.file.empty()) {
        choice = Match("DejaVu Sans", weight, italic, false);
        if (choice.file.empty())
            choice = Match("sans-serif", weight, italic, true);
        choice.fallback = true;
    }
    if (m_faces.size() > 256)
        m_faces.clear();
    m_faces.emplace(std::move(key), choice);
    return choice;
}

FaceChoice FontEngine::Match(const std::string& name, std::int32_t weight, bool italic, bool acceptAny) const
{
    FaceChoice choice;
    if (name.empty())
        return choice;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return choice;
    const bool bold = weight >= 600;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight <= 0 ? 400 : weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    // The requested name and its metric-compatible aliases are strong; the
    // generic families appended after them are weak.
    std::vector<std::string> wanted = StringValues(pattern, FC_FAMILY, true);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return choice;
    bool accepted = acceptAny;
    for (const auto& family : StringValues(match, FC_FAMILY, false)) {
        for (const auto& w : wanted) {
            if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(family.c_str()),
                    reinterpret_cast<const FcChar8*>(w.c_str()))
                == 0) {
                accepted = true;
            }
        }
        if (choice.family.empty())
            choice.family = family;
    }
    FcChar8* file = nullptr;
    FcBool scalable = FcTrue;
    FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
    if (accepted && scalable && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        choice.file = reinterpret_cast<const char*>(file);
        int index = 0, matchedWeight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        choice.index = index;
        choice.syntheticBold = bold && matchedWeight < FC_WEIGHT_DEMIBOLD;
        choice.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    if (choice.file.empty())
        choice.family.clear();
    return choice;
}

} // namespace plx::detail
