// plumex-gallery: renders what the library can draw into PNG files and HTML pages.
#include "Gallery.h"

#include "design/PlumexPackage.h"

#include <exception>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage = R"(usage: plumex-gallery [FOLDER]
Renders every page of the gallery (colours, canvas, text, gradients, blits,
filters, forms, utilities) into FOLDER as PNG pictures and HTML pages, and
prints where index.html is. FOLDER defaults to out/gallery.

options:
  -h, --help     show this text and exit
      --version  show the version and exit
)";

int UsageError(const std::string& message)
{
    std::cerr << "plumex-gallery: " << message << "\nTry 'plumex-gallery --help'.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            std::cout << kUsage;
            return 0;
        }
        if (!optionsEnded && arg == "--version") {
            std::cout << "plumex-gallery " << plx::PackageVersion() << "\n";
            return 0;
        }
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (!optionsEnded && arg.size() > 1 && arg[0] == '-')
            return UsageError("unknown option '" + std::string(arg) + "'");
        else if (folder.empty() && !arg.empty())
            folder = arg;
        else
            return UsageError(arg.empty() ? "the folder name is empty" : "only one folder can be given");
    }
    if (folder.empty())
        folder = "out/gallery";

    try {
        plx::TPackageScope package;
        gallery::Gallery g(folder);
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
        gallery::StdControlsPage(g);
        gallery::ColorButtonStylesPage(g);
        gallery::ColorButtonsDemoPage(g);
        gallery::ScrollBarsPage(g);
        gallery::ApplesPage(g);
        gallery::PictureControlsPage(g);
        gallery::ColourPanelsPage(g);
        gallery::ImageButtonsPage(g);
        gallery::ShadowButtonsPage(g);
        gallery::DialogsPage(g);
        gallery::UtilsPage(g);
        auto index = g.Finish();
        std::cout << "Gallery written to " << std::filesystem::absolute(index).string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "plumex-gallery: " << e.what() << "\n";
        return 1;
    }
}
