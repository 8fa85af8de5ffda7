// The package's design-time dialogs as they open: the gradient editor with a
// gallery of a few entries, the colour button editor and the about box.
#include "Gallery.h"

#include "components/ColorBtns.h"
#include "design/ColorBtnEdit.h"
#include "design/GradEditor.h"
#include "design/KnAboutEditor.h"
#include "framework/host/Forms.h"
#include "rtl/IniFiles.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

using namespace plx;

namespace gallery {

namespace {

// A settings folder of the page's own for as long as it lives: the gradient
// editor reads and writes its gallery file there, never in the user's.
class PageSettings {
public:
    PageSettings()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "plumex-gallery-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary settings folder");
        m_root = pattern;
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            m_old = old;
        setenv("XDG_CONFIG_HOME", m_root.c_str(), 1);
    }
    ~PageSettings()
    {
        if (m_old)
            setenv("XDG_CONFIG_HOME", m_old->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    PageSettings(const PageSettings&) = delete;
    PageSettings& operator=(const PageSettings&) = delete;

private:
    std::filesystem::path m_root;
    std::optional<std::string> m_old;
};

// Runs a dialog, renders it as it opens and closes it without a result.
void DialogFigure(Gallery& g, const std::string& caption, const std::function<void()>& run)
{
    TBitmap picture;
    Application().AddShowHook([&picture](TCustomForm& shown) {
        shown.RenderTo(picture);
        shown.SetModalResult(mrCancel);
        return true;
    });
    run();
    g.Figure(picture, caption, 2);
}

} // namespace

void DialogsPage(Gallery& g)
{
    g.BeginPage("dialogs", "Design-time dialogs",
        "The package's dialogs as they open, each read from its form resource with its handlers bound by name. The "
        "gradient editor shows a gallery of four entries from \"Gradient Fill Editor.ini\" (section \"Gallary\"), each "
        "drawn with one-pixel bands in a 27 x 27 picture; the style buttons carry our own 25 x 25 glyphs. Shown at 2x.");
    PageSettings settings;
    TIniFile("Gradient Fill Editor.ini").Update([](TIniDocument& file) {
        file.Write("Gallary", "Sunset", "3381759,8388863,6684774,0,0,2,0,0");
        file.Write("Gallary", "Ocean", "16744448,8404992,4194304,16777215,0,2,1,0");
        file.Write("Gallary", "Steel", "8421504,16777215,12632256,16777215,0,3,2,0");
        file.Write("Gallary", "Meadow", "3066993,13434828,32768,0,0,2,0,1");
    });

    TGradient gradient;
    gradient.SetColor1(0x800000);
    gradient.SetColor2(0xFFC080);
    gradient.SetColor3(0x400080);
    gradient.SetColorCount(2);
    gradient.SetLineSize(2);
    DialogFigure(g, "EditGradient: the gradient editor on a navy, light blue and purple line gradient, with its gallery",
        [&gradient] { (void)EditGradient(gradient); });

    TForm owner(nullptr);
    auto* button = new TColor95Button(&owner);
    button->SetParent(&owner);
    button->SetColor(0x5CC646);
    button->SetCaption("&Start");
    button->SetStyle(bsGlass);
    DialogFigure(g, "EditColorButton: the colour button editor on a green bsGlass button",
        [button] { (void)EditColorButton(*button); });

    DialogFigure(g, "ShowCmpAbout: the about box with the package's picture MYFACE and its two links", [] { ShowCmpAbout(); });
}

} // namespace gallery
