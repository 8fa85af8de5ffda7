// Text output: TextOut against FreeType drawing the same glyphs from a plain
// cache, and the pixel-by-pixel text effects on a 300 x 40 caption.
#include "color/host/Bitmap.h"
#include "color/host/FontEngine.h"
#include "paint/DrawMan.h"

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

using namespace plx;

namespace {

const std::string kLine = "The quick brown fox jumps over the lazy dog";
constexpr int kPixels = 24;

// The baseline: one-bit glyphs rendered by FreeType once, kept in a hash map and
// set into a 32-bit pixel buffer, with no clipping, colour storing or decoding.
class PlainFreeType {
public:
    PlainFreeType()
    {
        auto face = detail::FontEngine::Instance().ResolveFace("DejaVu Sans", 400, false);
        FT_Init_FreeType(&m_library);
        if (FT_New_Face(m_library, face.file.c_str(), face.index, &m_face) == 0)
            FT_Set_Pixel_Sizes(m_face, 0, kPixels);
    }
    ~PlainFreeType()
    {
        if (m_face)
            FT_Done_Face(m_face);
        FT_Done_FreeType(m_library);
    }
    PlainFreeType(const PlainFreeType&) = delete;
    PlainFreeType& operator=(const PlainFreeType&) = delete;

    [[nodiscard]] bool Ready() const noexcept { return m_face != nullptr; }

    void Draw(std::vector<std::uint32_t>& pixels, int stride, int x, int baseline, const std::string& text, std::uint32_t color)
    {
        for (unsigned char ch : text) {
            const Cached& g = Get(ch);
            for (int row = 0; row < g.rows; ++row) {
                std::uint32_t* out = pixels.data() + static_cast<std::size_t>(baseline - g.top + row) * stride + x + g.left;
                const std::uint8_t* bits = g.bits.data() + static_cast<std::size_t>(row) * g.pitch;
                for (int col = 0; col < g.width; ++col)
                    if (bits[col >> 3] & (0x80 >> (col & 7)))
                        out[col] = color;
            }
            x += g.advance;
        }
    }

    // Rendering every glyph again, for comparison.
    void Render(const std::string& text)
    {
        for (unsigned char ch : text) {
            FT_Load_Char(m_face, ch, FT_LOAD_TARGET_MONO);
            FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_MONO);
            benchmark::DoNotOptimize(m_face->glyph->bitmap.buffer);
        }
    }

private:
    struct Cached {
        int left { 0 }, top { 0 }, width { 0 }, rows { 0 }, pitch { 0 }, advance { 0 };
        std::vector<std::uint8_t> bits;
    };

    const Cached& Get(char32_t ch)
    {
        auto [it, added] = m_cache.try_emplace(ch);
        if (added) {
            FT_Load_Char(m_face, ch, FT_LOAD_TARGET_MONO);
            FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_MONO);
            const FT_GlyphSlot slot = m_face->glyph;
            Cached& g = it->second;
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<int>(slot->bitmap.width);
            g.rows = static_cast<int>(slot->bitmap.rows);
            g.pitch = slot->bitmap.pitch;
            g.advance = static_cast<int>(slot->advance.x >> 6);
            g.bits.assign(slot->bitmap.buffer, slot->bitmap.buffer + static_cast<std::size_t>(g.rows) * g.pitch);
        }
        return it->second;
    }

    FT_Library m_library { nullptr };
    FT_Face m_face { nullptr };
    std::unordered_map<char32_t, Cached> m_cache;
};

void BM_FreeTypePlainCache(benchmark::State& state)
{
    PlainFreeType ft;
    if (!ft.Ready()) {
        state.SkipWithError("DejaVu Sans not found");
        return;
    }
    const int w = 700, h = 48;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h, 0xFFFFFF);
    for (auto _ : state) {
        ft.Draw(pixels, w, 4, 30, kLine, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
}
BENCHMARK(BM_FreeTypePlainCache);

void BM_FreeTypeRenderEveryGlyph(benchmark::State& state)
{
    PlainFreeType ft;
    if (!ft.Ready()) {
        state.SkipWithError("DejaVu Sans not found");
        return;
    }
    for (auto _ : state)
        ft.Render(kLine);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
}
BENCHMARK(BM_FreeTypeRenderEveryGlyph);

void TextOutLine(benchmark::State& state, TBrushStyle brush)
{
    TBitmap b(700, 48);
    TCanvas& c = b.Canvas();
    c.Font().SetName("DejaVu Sans");
    c.Font().SetHeight(-kPixels);
    c.Font().SetColor(clBlack);
    c.Brush().SetColor(clWhite);
    c.Brush().SetStyle(brush);
    for (auto _ : state) {
        c.TextOut(4, 4, kLine);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
}

void BM_TextOut(benchmark::State& state)
{
    TextOutLine(state, bsClear);
}
BENCHMARK(BM_TextOut);

void BM_TextOutSolidBrush(benchmark::State& state)
{
    TextOutLine(state, bsSolid);
}
BENCHMARK(BM_TextOutSolidBrush);

// A 300 x 40 caption: "Plumex Caption" in bold with a 40-pixel cell.
std::unique_ptr<TBitmap> CaptionCanvas()
{
    auto b = std::make_unique<TBitmap>(320, 60);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clSilver);
    c.FillRect(Rect(0, 0, 320, 60));
    c.Font().SetName("Arial");
    c.Font().SetHeight(40);
    c.Font().SetStyle({ fsBold });
    c.Font().SetColor(clNavy);
    return b;
}

const std::string kCaption = "Plumex Caption";

void BM_TextSmooth(benchmark::State& state)
{
    auto b = CaptionCanvas();
    const TSize e = b->Canvas().TextExtent(kCaption);
    for (auto _ : state)
        TextSmooth(b->Canvas(), 8, 8, kCaption);
    state.counters["width"] = e.cx;
    state.counters["height"] = e.cy;
}
BENCHMARK(BM_TextSmooth);

void BM_StretchPaintOnText(benchmark::State& state)
{
    auto b = CaptionCanvas();
    TBitmap picture(64, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            picture.Canvas().SetPixels(x, y, RGB(x * 4, y * 16, 128));
    for (auto _ : state)
        StretchPaintOnText(b->Canvas(), 8, 8, kCaption, picture);
}
BENCHMARK(BM_StretchPaintOnText);

} // namespace
