// The package, started once for every benchmark that needs it.
#pragma once

#include "design/PlumexPackage.h"

namespace plx::bench {

//! Calls InitializePackage on the first call only; the package stays started
//! until the program ends.
inline void StartPackage()
{
    static const bool started = [] {
        InitializePackage();
        return true;
    }();
    (void)started;
}

} // namespace plx::bench
