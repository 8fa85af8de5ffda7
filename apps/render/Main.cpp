// plumex-render: loads a form file and renders it headless into a PNG file.
#include "color/host/Bitmap.h"
#include "design/PlumexPackage.h"
#include "rtl/Exceptions.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <cstring>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    std::string input, output;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
            output = argv[++i];
        else if (input.empty())
            input = argv[i];
        else {
            std::cerr << "usage: plumex-render FORM -o PNG\n";
            return 2;
        }
    }
    if (input.empty() || output.empty()) {
        std::cerr << "usage: plumex-render FORM -o PNG\n";
        return 2;
    }
    try {
        plx::TPackageScope package;
        std::unique_ptr<plx::TComponent> root(plx::LoadFormFile(input, nullptr));
        auto* form = dynamic_cast<plx::TCustomForm*>(root.get());
        if (!form) {
            std::cerr << "plumex-render: " << input << " does not describe a form\n";
            return 1;
        }
        plx::TBitmap picture;
        form->RenderTo(picture);
        picture.SaveToPNG(output);
        std::cout << "Rendered " << input << " (" << picture.Width() << " x " << picture.Height() << ") to " << output << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "plumex-render: " << e.what() << "\n";
        return 1;
    }
}
