#include "Gallery.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace gallery {

namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

const char* kStyle = "<style>body{font-family:sans-serif;background:#f4f4f4;margin:2em}"
                     "figure{display:inline-block;margin:0.6em;vertical-align:top;background:#fff;padding:0.5em;border:1px solid #ccc}"
                     "figcaption{font-size:0.85em;max-width:32em}img{image-rendering:pixelated}"
                     "table{border-collapse:collapse;background:#fff}td,th{border:1px solid #ccc;padding:0.2em 0.6em;font-family:monospace}"
                     ".card{display:inline-block;vertical-align:top;width:300px;margin:0.6em;padding:0.6em;background:#fff;"
                     "border:1px solid #ccc;color:inherit;text-decoration:none}.card:hover{border-color:#888}"
                     ".card h2{font-size:1.1em;margin:0.4em 0}.card p{font-size:0.85em;margin:0}"
                     ".thumb{height:180px;display:flex;align-items:center;justify-content:center;background:#f8f8f8}"
                     ".thumb img{max-width:100%;max-height:180px;image-rendering:auto}"
                     "</style>";

} // namespace

Gallery::Gallery(std::filesystem::path folder)
    : m_folder(std::move(folder))
{
    std::filesystem::create_directories(m_folder);
}

void Gallery::BeginPage(const std::string& slug, const std::string& title, const std::string& intro)
{
    m_pages.push_back({ slug, title, intro, {}, 0, {}, {} });
}

void Gallery::Figure(const plx::TBitmap& bitmap, const std::string& caption, int zoom)
{
    if (m_pages.empty())
        throw std::logic_error("Figure before BeginPage");
    Page& page = m_pages.back();
    std::string file = page.slug + "-" + std::to_string(++page.figures) + ".png";
    bitmap.SaveToPNG((m_folder / file).string());
    if (page.thumbnail.empty())
        page.thumbnail = file;
    page.body += "<figure><img src=\"" + file + "\" width=\"" + std::to_string(bitmap.Width() * zoom) + "\" height=\""
        + std::to_string(bitmap.Height() * zoom) + "\" alt=\"" + Escape(caption) + "\"><figcaption>" + Escape(caption)
        + "</figcaption></figure>\n";
}

void Gallery::Code(const std::string& text)
{
    if (m_pages.empty())
        throw std::logic_error("Code before BeginPage");
    m_pages.back().body += "<pre>" + Escape(text) + "</pre>\n";
}

void Gallery::Table(const std::vector<std::vector<std::string>>& rows)
{
    if (m_pages.empty())
        throw std::logic_error("Table before BeginPage");
    if (m_pages.back().firstTable.empty())
        m_pages.back().firstTable = rows;
    std::string html = "<table>\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        html += "<tr>";
        for (const auto& cell : rows[i])
            html += (i == 0 ? "<th>" : "<td>") + Escape(cell) + (i == 0 ? "</th>" : "</td>");
        html += "</tr>\n";
    }
    m_pages.back().body += html + "</table>\n";
}

std::filesystem::path Gallery::Finish()
{
    std::string index = std::string("<!doctype html><html><head><meta charset=\"utf-8\"><title>Plumex gallery</title>") + kStyle
        + "</head><body><h1>Plumex gallery</h1><p>Pictures drawn by the library, page by page.</p>\n";
    for (auto& page : m_pages) {
        std::ofstream out(m_folder / (page.slug + ".html"));
        out << "<!doctype html><html><head><meta charset=\"utf-8\"><title>" << Escape(page.title) << "</title>" << kStyle
            << "</head><body><p><a href=\"index.html\">Plumex gallery</a></p><h1>" << Escape(page.title) << "</h1><p>"
            << Escape(page.intro) << "</p>\n"
            << page.body << "</body></html>\n";
        if (page.thumbnail.empty() && !page.firstTable.empty())
            TableThumbnail(page);
        index += "<a class=\"card\" href=\"" + page.slug + ".html\"><div class=\"thumb\">";
        if (!page.thumbnail.empty())
            index += "<img src=\"" + page.thumbnail + "\" alt=\"" + Escape(page.title) + "\">";
        index += "</div><h2>" + Escape(page.title) + "</h2><p>" + Escape(page.intro) + "</p></a>\n";
    }
    index += "</body></html>\n";
    std::ofstream(m_folder / "index.html") << index;
    return m_folder / "index.html";
}

void Gallery::TableThumbnail(Page& page)
{
    constexpr int kWidth = 280, kHeight = 180, kPad = 4;
    plx::TBitmap picture;
    Blank(picture, kWidth, kHeight, plx::clWhite);
    plx::TCanvas& c = picture.Canvas();
    c.Font().SetName("DejaVu Sans Mono");
    c.Font().SetHeight(-11);
    c.Brush().SetStyle(plx::bsClear);
    c.Pen().SetColor(0xCCCCCC);
    const int rowHeight = c.TextHeight("Xg") + 2 * kPad;
    std::vector<int> widths;
    for (const auto& row : page.firstTable)
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths.resize(std::max(widths.size(), i + 1));
            widths[i] = std::max(widths[i], c.TextWidth(row[i]) + 2 * kPad);
        }
    int y = 0;
    for (std::size_t r = 0; r < page.firstTable.size() && y < kHeight; ++r, y += rowHeight) {
        c.Font().SetStyle(r == 0 ? plx::TFontStyles { plx::fsBold } : plx::TFontStyles {});
        int x = 0;
        for (std::size_t i = 0; i < page.firstTable[r].size() && x < kWidth; x += widths[i++]) {
            c.Rectangle(x, y, x + widths[i] + 1, y + rowHeight + 1);
            c.TextOut(x + kPad, y + kPad, page.firstTable[r][i]);
        }
    }
    page.thumbnail = page.slug + "-table.png";
    picture.SaveToPNG((m_folder / page.thumbnail).string());
}

plx::TBitmap& Blank(plx::TBitmap& bitmap, int width, int height, plx::TColor color)
{
    bitmap.SetSize(width, height);
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect(plx::Rect(0, 0, width, height));
    return bitmap;
}

} // namespace gallery
