// Invariant checks for the fuzz targets: a broken invariant aborts, so libFuzzer
// keeps the input that broke it.
#pragma once

#include <cstdlib>

namespace plx::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace plx::fuzz
