// KnCtrlsUnit: start-up and shut-down of unit KnCtrls, whose controls are
// TKnScroll, TApples and TBCBitmap (the control base is framework/KnCtrls.h).
#pragma once

namespace plx {

//! Starts unit KnCtrls: creates the scroll bars' shared repeat timer (100 ms,
//! disabled, without a handler until a scroll bar is pressed) and the scratch
//! bitmap picture frames are cut into, and registers TKnScroll, TApples and
//! TBCBitmap for form files. Only the first of balanced calls does anything.
void InitializeKnCtrls();
//! Stops unit KnCtrls: takes the classes out of the registry and frees the
//! timer, then the bitmap. Only the call that balances the first start does anything.
void FinalizeKnCtrls();

} // namespace plx
