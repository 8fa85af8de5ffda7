// The package's dialogs, opened from the demo's buttons.
#include "Demo.h"

#include "paint/Gradient.h"

namespace demo {

// FIXME: the about box and the gradient editor are not in the tree yet. When
// they are, include "design/KnAboutEditor.h" and "design/GradEditor.h" and
// replace the two bodies below with the calls:
//     void Demo::ShowAbout() { plx::ShowCmpAbout(); }
//     bool Demo::EditGradient(plx::TGradient& gradient) { return plx::EditGradient(gradient); }
// (keep a status line after each, as below).

void Demo::ShowAbout()
{
    Status("About: the about box is not part of this build yet");
}

bool Demo::EditGradient(plx::TGradient&)
{
    Status("Gradient editor: the gradient editor is not part of this build yet");
    return false;
}

} // namespace demo
