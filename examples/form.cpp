// Builds a form in code (a gradient, a panel and a label) and renders it into a
// PNG file without showing a window:  example-form [OUTPUT.png]
#include <plumex/color/host/Bitmap.h>       // plx::TBitmap
#include <plumex/design/PlumexPackage.h>   // plx::TPackageScope
#include <plumex/framework/host/ExtCtrls.h> // plx::TPanel, plx::TPaintBox
#include <plumex/framework/host/Forms.h>    // plx::TForm
#include <plumex/framework/host/StdCtrls.h> // plx::TLabel
#include <plumex/paint/Gradient.h>          // plx::TGradient, plx::PaintGradient

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string output = argc > 1 ? argv[1] : "form.png";
    try {
        plx::TPackageScope package; // starts the library; see filters.cpp
        plx::TGradient gradient;      // colours are 0x00BBGGRR:
        gradient.SetColor1(0x804000); // dark blue,
        gradient.SetColor2(0xF0D0A0); // pale blue
        gradient.SetColor3(0xFFFFFF); // and white,
        gradient.SetColorCount(2);    // in two transitions

        plx::TForm form(nullptr);
        form.SetClientWidth(320);
        form.SetClientHeight(180);
        // Controls are created with an owner, which frees them (here the form),
        // and put on a parent, where they paint. A paint box paints with OnPaint.
        auto* background = new plx::TPaintBox(&form);
        background->SetParent(&form);
        background->SetAlign(plx::alClient);
        background->SetOnPaint([background, &gradient](plx::TObject*) {
            plx::PaintGradient(background->Canvas(), background->ClientRect(), gradient);
        });

        auto* panel = new plx::TPanel(&form);
        panel->SetParent(&form);
        panel->SetBounds(40, 70, 240, 60);
        panel->SetBevelInner(plx::bvLowered);
        panel->SetCaption("A panel on a gradient");

        auto* title = new plx::TLabel(&form); // sized to its text (AutoSize)
        title->SetParent(&form);
        title->SetBounds(40, 20, 0, 0);
        title->SetTransparent(true); // the gradient shows around the letters
        title->Font().SetColor(plx::clWhite);
        title->Font().SetHeight(-20);
        title->SetCaption("Hello, Plumex");
        plx::TBitmap picture;
        form.RenderTo(picture); // the whole form, as its window would show it
        picture.SaveToPNG(output);
        std::cout << "Wrote " << output << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "example-form: " << e.what() << "\n";
        return 1;
    }
}
