// plumex-designer: a form designer for the Plumex package. It loads the
// package at run time, puts its components on the palette, and designs forms
// that plumex-render draws, in windows on the X display. Scripts run headless.
#include "designer/DesignerApp.h"
#include "designer/Script.h"
#include "framework/host/Forms.h"
#include "framework/host/Packages.h"
#include "framework/host/Platform.h"
#include "framework/host/X11Platform.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#ifndef PLUMEX_VERSION
#define PLUMEX_VERSION "0.0.0"
#endif

namespace {

constexpr const char* kUsage = R"(usage: plumex-designer [options] [FORM]
Designs forms with the components of a package: a palette of the package's
components, the form, and an inspector of the selected component's properties.
FORM is a form file to open (and to save to).

options:
  -p, --package FILE  load this package instead of the one installed beside
                      the program (may be given more than once)
      --no-package    start without a package
  -s, --script FILE   run the commands of FILE ('-' for standard input) and exit
  -h, --help          show this text and the script commands, and exit
      --version       show the version and exit

Without --script it opens its windows on the X display named by DISPLAY.
Scripts run without a window (and are the only thing it runs where there is
no display), for example:
  plumex-designer --script build.txt

environment: PLUMEX_PLATFORM=headless or x11 chooses the platform.
)";

int UsageError(const std::string& message)
{
    std::cerr << "plumex-designer: " << message << "\nTry 'plumex-designer --help'.\n";
    return 2;
}

std::optional<std::string> ReadAll(const std::string& fileName)
{
    if (fileName == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> packages;
    bool noPackage = false;
    std::string script, form;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string& out) -> bool {
            if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos)
                out = arg.substr(eq + 1);
            else if (i + 1 < argc)
                out = argv[++i];
            return !out.empty();
        };
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            std::cout << kUsage << "\n" << plx::designer::kScriptHelp;
            return 0;
        }
        if (!optionsEnded && arg == "--version") {
            std::cout << "plumex-designer " << PLUMEX_VERSION << "\n";
            return 0;
        }
        if (!optionsEnded && (arg == "-p" || arg == "--package" || arg.starts_with("--package="))) {
            std::string file;
            if (!value(file))
                return UsageError("option --package needs a file name");
            packages.push_back(file);
        } else if (!optionsEnded && arg == "--no-package") {
            noPackage = true;
        } else if (!optionsEnded && (arg == "-s" || arg == "--script" || arg.starts_with("--script="))) {
            if (!script.empty())
                return UsageError("only one script can be given");
            if (!value(script))
                return UsageError("option --script needs a file name");
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + std::string(arg) + "'");
        } else if (form.empty()) {
            form = arg;
        } else {
            return UsageError("only one form file can be given");
        }
    }
    if (noPackage && !packages.empty())
        return UsageError("--no-package and --package exclude each other");

    std::optional<std::string> scriptText;
    if (!script.empty()) {
        scriptText = ReadAll(script);
        if (!scriptText) {
            std::cerr << "plumex-designer: cannot read script " << script << "\n";
            return 1;
        }
    }
    // A script runs headless wherever it runs, so its pictures are the same
    // everywhere; the designer itself opens its windows on the X display.
    if (!scriptText && plx::ChoosePlatform() == plx::TPlatformChoice::Headless)
        return UsageError("no window system is available here; run a script with --script FILE");

    int status = 0;
    plx::InitializeControls();
    try {
        plx::designer::TDesignerApp app;
        if (!noPackage) {
            if (packages.empty()) {
                const std::string file = plx::designer::TDesignerApp::DefaultPackageFile();
                if (file.empty())
                    throw plx::EPackageError("no package was found beside the program; give one with --package FILE");
                packages.push_back(file);
            }
            for (const std::string& file : packages)
                app.LoadPackage(file);
        }
        if (!form.empty()) {
            app.SetFormFile(form);
            std::ifstream exists(form);
            if (exists)
                app.Designer().Open(form);
        }
        app.Show();
        if (scriptText) {
            plx::designer::TDesignerScript runner(app, std::cout);
            runner.Run(*scriptText, script == "-" ? "<stdin>" : script);
        } else {
            plx::Application().Run();
        }
    } catch (const std::exception& e) {
        std::cerr << "plumex-designer: " << e.what() << "\n";
        status = 1;
    }
    plx::FinalizeControls();
    return status;
}
