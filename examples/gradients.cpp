// Draws a small gallery of gradients, one per style and direction, with a caption
// under each, and saves it as a PNG file:  example-gradients [OUTPUT.png]
#include <plumex/color/host/Bitmap.h>    // plx::TBitmap
#include <plumex/design/PlumexPackage.h> // plx::TPackageScope
#include <plumex/paint/Gradient.h>       // plx::TGradient, plx::PaintGradient

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string output = argc > 1 ? argv[1] : "gradients.png";
    try {
        plx::TPackageScope package;

        constexpr int kCell = 120, kGap = 10, kCaption = 20;
        plx::TBitmap sheet(4 * kCell + 5 * kGap, kCell + 2 * kGap + kCaption);
        plx::TCanvas& canvas = sheet.Canvas();
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetHeight(-12);

        // A gradient is a description (style, colours, band size) that
        // PaintGradient turns into bands of colour. Colours are 0x00BBGGRR.
        plx::TGradient gradient;
        gradient.SetColor1(0x602000); // dark blue
        gradient.SetColor2(0xFFC060); // sky blue
        gradient.SetColor3(0x0080FF); // orange
        gradient.SetColorCount(2);    // two transitions: Color1 -> Color2 -> Color3
        gradient.SetLineSize(2);      // bands 2 pixels thick

        struct Cell { plx::TGradientStyle style; plx::TDirection direction; const char* caption; };
        const Cell cells[] = { { plx::gsLine, plx::diHorizonal, "gsLine, horizontal" },
            { plx::gsLine, plx::diVertical, "gsLine, vertical" }, { plx::gsEllipse, plx::diHorizonal, "gsEllipse" },
            { plx::gsRect, plx::diHorizonal, "gsRect" } };
        int x = kGap;
        for (const Cell& cell : cells) {
            gradient.SetGradientStyle(cell.style);
            gradient.SetLineDir(cell.direction);
            // The painters count bands from (0, 0), as the components do: paint
            // into a bitmap of the cell's size, then draw that in place.
            // Rectangles are Left, Top, Right, Bottom, Right and Bottom exclusive.
            plx::TBitmap picture(kCell, kCell);
            plx::PaintGradient(picture.Canvas(), plx::Rect(0, 0, kCell, kCell), gradient);
            canvas.Draw(x, kGap, picture);
            canvas.TextOut(x, 2 * kGap + kCell, cell.caption);
            x += kCell + kGap;
        }
        sheet.SaveToPNG(output);
        std::cout << "Wrote " << output << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "example-gradients: " << e.what() << "\n";
        return 1;
    }
}
