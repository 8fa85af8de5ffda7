#include "Gallery.h"

#include "EmbeddedForms.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <memory>
#include <sstream>

using namespace plx;

namespace gallery {

namespace {

// The form file as the page shows it: the hexadecimal .bmp data of pictures
// is left out.
std::string WithoutPictureData(const std::string& text)
{
    std::istringstream in(text);
    std::string out, line;
    bool inData = false;
    while (std::getline(in, line)) {
        if (inData) {
            inData = line.find('}') == std::string::npos;
            continue;
        }
        if (line.find(".Data = {") != std::string::npos || line.find("Data = {") != std::string::npos) {
            out += line.substr(0, line.find('{')) + "{ ... .bmp data ... }\n";
            inData = line.find('}') == std::string::npos;
            continue;
        }
        out += line + "\n";
    }
    return out;
}

} // namespace

void FormPage(Gallery& g, const std::string& slug, const std::string& title, const std::string& intro,
    const std::string& formFile, int zoom, const std::function<void(TCustomForm&)>& prepare)
{
    g.BeginPage(slug, title, intro);
    // formFile is NAME.form of apps/gallery/forms/, compiled into the program.
    const std::string text(apps::EmbeddedForm(formFile.substr(0, formFile.rfind('.'))));
    std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr));
    auto& form = dynamic_cast<TCustomForm&>(*root);
    if (prepare)
        prepare(form);
    TBitmap picture;
    form.RenderTo(picture);
    g.Figure(picture, "apps/gallery/forms/" + formFile + (zoom > 1 ? ", rendered at " + std::to_string(zoom) + "x" : ""), zoom);
    g.Code(WithoutPictureData(text));
}

void FormsPage(Gallery& g)
{
    FormPage(g, "forms", "Forms",
        "A form read from a form file and rendered without a window, as plumex-render does: panels, labels and bevels "
        "of the host layer. The file follows the picture.",
        "demo.form", 2);
}

} // namespace gallery
