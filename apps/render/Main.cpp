// plumex-render: loads a form file and renders the form headless into a PNG or
// .bmp file.
#include "color/host/Bitmap.h"
#include "design/PlumexPackage.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage = R"(usage: plumex-render FORM -o OUTPUT
Reads the form file FORM and renders the form, without showing a window, into
OUTPUT: a PNG file when its name ends in .png, a .bmp file when it ends in .bmp.

options:
  -o, --output OUTPUT  the picture to write (.png or .bmp)
      --designing      render the form as a form designer shows it (controls
                       draw their design-time outlines)
  -h, --help           show this text and exit
      --version        show the version and exit
)";

enum class Format { Png, Bmp };

// The format the output name asks for; none for any other extension.
std::optional<Format> FormatOf(const std::string& output)
{
    std::string extension = std::filesystem::path(output).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png")
        return Format::Png;
    if (extension == ".bmp")
        return Format::Bmp;
    return std::nullopt;
}

int UsageError(const std::string& message)
{
    std::cerr << "plumex-render: " << message << "\nTry 'plumex-render --help'.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string input, output;
    bool optionsEnded = false;
    bool designing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            std::cout << kUsage;
            return 0;
        }
        if (!optionsEnded && arg == "--version") {
            std::cout << "plumex-render " << plx::PackageVersion() << "\n";
            return 0;
        }
        if (!optionsEnded && (arg == "-o" || arg == "--output" || arg.starts_with("--output="))) {
            if (!output.empty())
                return UsageError("only one output file can be given");
            if (arg.starts_with("--output="))
                output = arg.substr(std::string_view("--output=").size());
            else if (i + 1 < argc)
                output = argv[++i];
            if (output.empty())
                return UsageError("option " + std::string(arg.substr(0, arg.find('='))) + " needs a file name");
        } else if (!optionsEnded && arg == "--designing") {
            designing = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + std::string(arg) + "'");
        } else if (input.empty()) {
            input = arg;
        } else {
            return UsageError("only one form file can be given");
        }
    }
    if (input.empty())
        return UsageError("no form file given");
    if (output.empty())
        return UsageError("no output file given (-o OUTPUT)");
    const auto format = FormatOf(output);
    if (!format)
        return UsageError("cannot write '" + output + "': the output name must end in .png or .bmp");

    try {
        plx::TPackageScope package;
        std::unique_ptr<plx::TComponent> root(plx::LoadFormFile(input, nullptr));
        auto* form = dynamic_cast<plx::TCustomForm*>(root.get());
        if (!form) {
            std::cerr << "plumex-render: " << input << " does not describe a form\n";
            return 1;
        }
        if (form->ClientWidth() <= 0 || form->ClientHeight() <= 0) {
            std::cerr << "plumex-render: the form in " << input << " is " << form->ClientWidth() << " x "
                      << form->ClientHeight() << " pixels; it needs a positive ClientWidth and ClientHeight to be rendered\n";
            return 1;
        }
        if (designing)
            form->SetDesigning(true);
        plx::TBitmap picture;
        form->RenderTo(picture);
        if (*format == Format::Png)
            picture.SaveToPNG(output);
        else
            picture.SaveToFile(output);
        std::cout << "Rendered " << input << " (" << picture.Width() << " x " << picture.Height() << ") to " << output << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "plumex-render: " << e.what() << "\n";
        return 1;
    }
}
