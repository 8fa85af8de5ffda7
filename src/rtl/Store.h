// Store: the one set-if-changed pattern of property setters.
#pragma once

#include <utility>

namespace plx {

//! Stores value in field when it differs, then runs changed (a repaint, a
//! Changed() call, a realign); an equal value does nothing at all. Returns
//! whether the field changed. A setter reads:
//!     void TFoo::SetColor(TColor value) { Store(m_color, value, [this] { Invalidate(); }); }
template <class T, class U, class F>
bool Store(T& field, U&& value, F&& changed)
{
    if (field == value)
        return false;
    field = std::forward<U>(value);
    std::forward<F>(changed)();
    return true;
}

//! The same for a persistent part (a picture, a gradient, a bevel): copies
//! value into target with Assign, then runs changed; target's own object is
//! left alone. Returns whether it copied. A setter reads:
//!     void TFoo::SetPicture(const TBitmap& value) { StoreCopy(m_picture, value, [this] { Changed(); }); }
template <class T, class F>
bool StoreCopy(T& target, const T& value, F&& changed)
{
    if (&value == &target)
        return false;
    target.Assign(&value);
    std::forward<F>(changed)();
    return true;
}

} // namespace plx
