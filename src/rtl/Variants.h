// Variant values: what the host's untyped arrays and conversions carry.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace plx {

//! An integer, a float, a string or a Boolean (or nothing).
using Variant = std::variant<std::monostate, std::int64_t, double, std::string, bool>;

//! The variant as a 32-bit integer: integers as they are, floats rounded (ties to
//! even), Booleans as -1/0, numeric strings parsed. Raises EConvertError naming the
//! value for anything else (an empty variant, a non-numeric string, a float
//! that does not round into the integer range).
[[nodiscard]] std::int32_t VarToInt(const Variant& value);

} // namespace plx
