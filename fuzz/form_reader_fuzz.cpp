// Form-file reader: malformed text must end in EReadError (or another host
// error), never a crash, a hang or a leak. A form that reads is written and read
// back, and, when it and its controls are small, painted: the components' paint
// paths take whatever values a form file can hold.
#include "FuzzCheck.h"

#include "color/host/Bitmap.h"
#include "rtl/Exceptions.h"
#include "framework/host/Control.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr std::int32_t kMaxPaintedSide = 512;

bool Small(const plx::TControl& control)
{
    return control.Width() <= kMaxPaintedSide && control.Height() <= kMaxPaintedSide;
}

// Painting allocates pictures of the controls' sizes; big ones only slow the search.
bool SmallEnoughToPaint(const plx::TCustomForm& form)
{
    if (!Small(form))
        return false;
    for (std::int32_t i = 0; i < form.ComponentCount(); ++i)
        if (auto* control = dynamic_cast<const plx::TControl*>(form.Components(i)); control && !Small(*control))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    plx::fuzz::StartPackageOnce();
    if (size > plx::fuzz::kMaxTextInput)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<plx::TComponent> root(plx::ReadComponentFromText(text, nullptr));
        // A form that reads must also write and read back.
        std::string again = plx::WriteComponentText(*root);
        std::unique_ptr<plx::TComponent> copy(plx::ReadComponentFromText(again, nullptr));
        if (auto* form = dynamic_cast<plx::TCustomForm*>(root.get()); form && SmallEnoughToPaint(*form)) {
            // Paint paths do not throw.
            bool painted = false;
            try {
                plx::TBitmap picture;
                form->RenderTo(picture);
                painted = true;
            } catch (...) {
            }
            plx::fuzz::Check(painted);
        }
    } catch (const plx::Exception&) {
    }
    return 0;
}
