// Helpers for tests that read string lists and exception messages.
#pragma once

#include "rtl/Exceptions.h"
#include "rtl/StringList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plx::test {

//! The lines of a string list, for comparing with a vector literal.
inline std::vector<std::string> Lines(const TStrings& list)
{
    std::vector<std::string> result;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        result.push_back(list.Strings(i));
    return result;
}

//! The message of the host exception an action raises, or "no exception".
inline std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no exception";
}

} // namespace plx::test
