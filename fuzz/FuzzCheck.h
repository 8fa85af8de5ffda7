// Invariant checks for the fuzz targets: a broken invariant aborts, so libFuzzer
// keeps the input that broke it. Also the package's start-up, once per process,
// and the input size the text readers take.
#pragma once

#include "design/PlumexPackage.h"

#include <cstddef>
#include <cstdlib>

namespace plx::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

//! Starts the package on the first call; it stays up for the process.
inline void StartPackageOnce()
{
    static const bool started = [] {
        plx::InitializePackage();
        return true;
    }();
    (void)started;
}

//! Text inputs beyond this are skipped: larger ones find nothing new, only slower.
inline constexpr std::size_t kMaxTextInput = 64 * 1024;

} // namespace plx::fuzz
