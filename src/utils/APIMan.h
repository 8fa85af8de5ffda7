// APIMan: a form popped up next to a control, a window dragged by any point,
// and wave sounds played from a file or from the package's resources.
#pragma once

#include "framework/host/Platform.h"

#include <string_view>

namespace plx {

class TControl;
class TCustomForm;

//! Closes the form when its window is showing; otherwise places it just below
//! the control (above it when it would pass the screen's bottom), its right
//! edge on the control's (its left edge when it would pass the screen's
//! left), and shows it.
void PopupForm(TCustomForm& form, const TControl& control);
//! Releases the mouse capture and lets the platform move the window with the
//! pointer until the button is released; meant for a mouse-down handler.
void DragForm(TWindowId window);

//! Starts playing a sound and returns at once; the sound that was playing
//! stops. The name is a WAV file or, when no such file exists, a resource of
//! the type "RT_RCDATA" in the package. False, with nothing played, when
//! there is neither or the data is not a playable WAV (see ParseWave).
bool PlayWave(std::string_view name);
//! PlayWave, returning when the sound has finished.
bool PlayWaveWait(std::string_view name);

//! Start-up and shut-down of the unit: shut-down stops the sound.
void InitializeAPIMan();
//! Shut-down of the unit: stops the sound; the package calls it (see InitializeAPIMan).
void FinalizeAPIMan();

} // namespace plx
