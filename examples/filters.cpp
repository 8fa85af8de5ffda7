// Loads a .bmp picture, applies two bitmap filters and a text effect, and saves
// the result as a PNG file:  example-filters INPUT.bmp [OUTPUT.png]
#include <plumex/design/PlumexPackage.h> // plx::TPackageScope
#include <plumex/paint/DrawMan.h>        // text effects
#include <plumex/paint/GrafMan.h>        // bitmap filters

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: example-filters INPUT.bmp [OUTPUT.png]\n";
        return 2;
    }
    const std::string output = argc == 3 ? argv[2] : "filters.png";
    try {
        // Starts the library (the filters' result bitmap, the application, ...)
        // and stops it when main returns. Nothing works before it.
        plx::TPackageScope package;

        plx::TBitmap picture;
        picture.LoadFromFile(argv[1]);

        // Every filter returns the same bitmap, owned by the library, which the
        // next filter call overwrites: copy a result you want to keep (Assign).
        plx::TBitmap softened;
        softened.Assign(&plx::SoftenBMP(picture, 1.5f));

        // Colours are 0x00BBGGRR: red in the low byte, blue in the high one, so
        // 0x0080FF is orange (red FF, green 80, blue 00).
        plx::TBitmap result;
        result.Assign(&plx::ColoriseImage(softened, 0x0080FF));

        // Text effects draw with the canvas's current font. A negative height is
        // the height of the letters in pixels.
        plx::TCanvas& canvas = result.Canvas();
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetHeight(-18);
        canvas.Font().SetStyle({ plx::fsBold });
        canvas.Font().SetColor(plx::clWhite);
        plx::DrawShadowTextExt(canvas, 8, result.Height() - 30, "Sunset", 0x402000, 2, 2);

        result.SaveToPNG(output);
        std::cout << "Wrote " << output << " (" << result.Width() << " x " << result.Height() << ")\n";
        return 0;
    } catch (const std::exception& e) {
        // Every error of the library is a plx::Exception, a std::exception.
        std::cerr << "example-filters: " << e.what() << "\n";
        return 1;
    }
}
