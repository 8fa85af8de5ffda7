// plumex-demo: the package's components live in a window.
#include "Demo.h"

#include "color/host/Bitmap.h"
#include "design/PlumexPackage.h"
#include "framework/host/Timer.h"
#include "framework/host/X11Platform.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage = R"(usage: plumex-demo [OPTIONS]
Opens a window with the package's components live beside the host's controls
and the free routines: click, drag, type and turn the wheel. Runs on the X
display named by DISPLAY; without one (or with --headless) it can only render
its window into a picture (--screenshot).

options:
      --headless         do not open a window, even with a display
      --screenshot FILE  write the window as shown into FILE (.png) and exit;
                         on X11 the pixels are read back from the server
      --quit-after MS    close the window after MS milliseconds
  -h, --help             show this text and exit
      --version          show the version and exit

environment: PLUMEX_PLATFORM=headless or x11 chooses the platform.
)";

int UsageError(const std::string& message)
{
    std::cerr << "plumex-demo: " << message << "\nTry 'plumex-demo --help'.\n";
    return 2;
}

// Runs the event loop until the window is painted and shown, then saves it.
bool Screenshot(demo::Demo& form, const std::string& file)
{
    plx::TBitmap picture;
    auto* x11 = dynamic_cast<plx::TX11Platform*>(&plx::CurrentPlatform());
    if (!x11) {
        form.RenderTo(picture);
        picture.SaveToPNG(file);
        return true;
    }
    form.Show();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        plx::Application().ProcessMessages();
        x11->Sync();
        if (!form.HasDamage() && x11->ReadWindow(form.WindowId(), picture.Image())) {
            picture.SaveToPNG(file);
            return true;
        }
        x11->WaitForEvent(20);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    bool headless = false;
    std::string screenshot;
    long long quitAfter = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "plumex-demo " << plx::PackageVersion() << "\n";
            return 0;
        }
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--screenshot") {
            if (i + 1 >= argc || std::string_view(argv[i + 1]).empty())
                return UsageError("option --screenshot needs a file name");
            screenshot = argv[++i];
        } else if (arg == "--quit-after") {
            if (i + 1 >= argc)
                return UsageError("option --quit-after needs a number of milliseconds");
            try {
                std::size_t used = 0;
                quitAfter = std::stoll(argv[++i], &used);
                if (used != std::string_view(argv[i]).size() || quitAfter < 0)
                    throw std::invalid_argument("");
            } catch (const std::exception&) {
                return UsageError(std::string("not a number of milliseconds: '") + argv[i] + "'");
            }
        } else {
            return UsageError("unknown option '" + std::string(arg) + "'");
        }
    }

    try {
        plx::TPackageScope package;
        const auto platform = plx::ChoosePlatform(headless ? plx::TPlatformChoice::Headless : plx::TPlatformChoice::Automatic);
        if (platform == plx::TPlatformChoice::Headless && screenshot.empty()) {
            std::cerr << "plumex-demo: no X display to open the window on; set DISPLAY, or render it with --screenshot FILE\n";
            return 1;
        }
        auto* form = plx::Application().CreateForm<demo::Demo>();
        if (!screenshot.empty()) {
            if (!Screenshot(*form, screenshot)) {
                std::cerr << "plumex-demo: the window was not shown within 10 seconds\n";
                return 1;
            }
            std::cout << "plumex-demo: wrote " << screenshot << "\n";
            return 0;
        }
        plx::TTimer* quit = nullptr;
        if (quitAfter >= 0) {
            quit = new plx::TTimer(form);
            quit->SetInterval(static_cast<std::uint32_t>(std::min<long long>(quitAfter, 0x7FFFFFFF)) + 1);
            quit->SetOnTimer([form](plx::TObject*) { form->Close(); });
            quit->SetEnabled(true);
        }
        plx::Application().Run();
    } catch (const std::exception& e) {
        std::cerr << "plumex-demo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
