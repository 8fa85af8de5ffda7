// The gallery: pages of pictures the library draws, written as PNG files and HTML.
#pragma once

#include "color/host/Bitmap.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace plx {
class TCustomForm;
}

namespace gallery {

class Gallery {
public:
    explicit Gallery(std::filesystem::path folder);

    //! Starts a page; figures and tables that follow belong to it.
    void BeginPage(const std::string& slug, const std::string& title, const std::string& intro);
    //! Saves the bitmap as a PNG and shows it with a caption, zoomed by an integer factor.
    void Figure(const plx::TBitmap& bitmap, const std::string& caption, int zoom = 1);
    //! A block of preformatted text (a form file, say).
    void Code(const std::string& text);
    //! A table of text; the first row is the header.
    void Table(const std::vector<std::vector<std::string>>& rows);
    //! Writes every page and index.html (each page's first picture as its
    //! thumbnail); returns the index's path.
    std::filesystem::path Finish();

private:
    struct Page {
        std::string slug, title, intro, body;
        int figures { 0 };
        std::string thumbnail; // the page's first picture, shown on the index
        std::vector<std::vector<std::string>> firstTable; // pictured on the index when there is no picture
    };
    //! Draws the top-left part of a table as the thumbnail of a page without pictures.
    void TableThumbnail(Page& page);
    std::filesystem::path m_folder;
    std::vector<Page> m_pages;
};

//! A bitmap of the given size filled with a colour.
plx::TBitmap& Blank(plx::TBitmap& bitmap, int width, int height, plx::TColor color);

//! A page made from apps/gallery/forms/formFile: the form rendered as plumex-render
//! renders it, then the file (without its picture data). prepare, when given,
//! acts on the form after reading and before rendering (pressing a button, say).
void FormPage(Gallery& gallery, const std::string& slug, const std::string& title, const std::string& intro,
    const std::string& formFile, int zoom = 1, const std::function<void(plx::TCustomForm&)>& prepare = {});

// Pages, in gallery order.
void ColourPage(Gallery& gallery);
void CanvasPage(Gallery& gallery);
void FormsPage(Gallery& gallery);
void TextPage(Gallery& gallery);
void GradientPage(Gallery& gallery);
void BlitsPage(Gallery& gallery);
void UtilsPage(Gallery& gallery);
void FiltersPage(Gallery& gallery);
void BevelsPage(Gallery& gallery);
void BackgroundsPage(Gallery& gallery);
void GradientPanelsPage(Gallery& gallery);
void ArtLabelsPage(Gallery& gallery);
void StdControlsPage(Gallery& gallery);
void ColorButtonStylesPage(Gallery& gallery);
void ColorButtonsDemoPage(Gallery& gallery);
void ScrollBarsPage(Gallery& gallery);
void ApplesPage(Gallery& gallery);
void PictureControlsPage(Gallery& gallery);
void ColourPanelsPage(Gallery& gallery);
void ImageButtonsPage(Gallery& gallery);
void ShadowButtonsPage(Gallery& gallery);
void DialogsPage(Gallery& gallery);

} // namespace gallery
