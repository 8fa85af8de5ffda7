#include "Gallery.h"

#include "EmbeddedForms.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <memory>

using namespace plx;

namespace gallery {

void FormsPage(Gallery& g)
{
    g.BeginPage("forms", "Forms",
        "A form read from a form file and rendered without a window, as plumex-render does: panels, labels and bevels "
        "of the host layer. The file follows the picture.");
    const std::string text(apps::EmbeddedForm("demo"));
    std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr));
    auto& form = dynamic_cast<TCustomForm&>(*root);
    TBitmap picture;
    form.RenderTo(picture);
    g.Figure(picture, "apps/gallery/forms/demo.form, rendered at 2x", 2);
    g.Code(text);
}

} // namespace gallery
