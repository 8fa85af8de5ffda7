// plumex-gallery: renders what the library can draw into PNG files and HTML pages.
#include "Gallery.h"

#include "design/PlumexPackage.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    try {
        plx::TPackageScope package;
        gallery::Gallery g(argc > 1 ? argv[1] : "out/gallery");
        gallery::ColourPage(g);
        gallery::CanvasPage(g);
        gallery::TextPage(g);
        gallery::GradientPage(g);
        gallery::BlitsPage(g);
        gallery::FiltersPage(g);
        gallery::FormsPage(g);
        gallery::BevelsPage(g);
        gallery::BackgroundsPage(g);
        gallery::GradientPanelsPage(g);
        gallery::ArtLabelsPage(g);
        gallery::ColorButtonStylesPage(g);
        gallery::ColorButtonsDemoPage(g);
        gallery::UtilsPage(g);
        auto index = g.Finish();
        std::cout << "Gallery written to " << std::filesystem::absolute(index).string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "plumex-gallery: " << e.what() << "\n";
        return 1;
    }
}
