// Restores the host's locale settings after a test changes them.
#pragma once

#include "rtl/SysUtils.h"

namespace plx::test {

class LocaleGuard {
public:
    LocaleGuard()
        : m_saved(FormatSettings())
    {
    }
    ~LocaleGuard() { FormatSettings() = m_saved; }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

private:
    TFormatSettings m_saved;
};

} // namespace plx::test
