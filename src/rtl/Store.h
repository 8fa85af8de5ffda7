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

} // namespace plx
