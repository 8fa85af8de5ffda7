// The package's dialogs, opened from the demo's buttons.
#include "Demo.h"

#include "design/GradEditor.h"
#include "design/KnAboutEditor.h"
#include "paint/Gradient.h"

namespace demo {

void Demo::ShowAbout()
{
    plx::ShowCmpAbout();
    Status("About: closed");
}

bool Demo::EditGradient(plx::TGradient& gradient)
{
    const bool changed = plx::EditGradient(gradient);
    Status(changed ? "Gradient editor: the panel takes the new fill" : "Gradient editor: cancelled, nothing changed");
    return changed;
}

} // namespace demo
