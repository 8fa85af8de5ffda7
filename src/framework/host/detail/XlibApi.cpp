#include "framework/host/detail/XlibApi.h"

#include <dlfcn.h>

namespace plx::detail {

namespace {

void* Open(const char* name, const char* fallback) noexcept
{
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    return handle ? handle : dlopen(fallback, RTLD_NOW | RTLD_LOCAL);
}

template <class F>
bool Take(void* library, const char* name, F& entry) noexcept
{
    entry = reinterpret_cast<F>(dlsym(library, name));
    return entry != nullptr;
}

TXlib Load() noexcept
{
    TXlib x;
    void* x11 = Open("libX11.so.6", "libX11.so");
    if (!x11)
        return x;
    bool complete = true;
    void* library = x11;
#define PLX_TAKE_ENTRY(name) complete = Take(library, #name, x.name) && complete;
    PLX_XLIB_FUNCTIONS(PLX_TAKE_ENTRY)
    if (!complete) {
        x.XOpenDisplay = nullptr;
        return x;
    }
    if ((library = Open("libXext.so.6", "libXext.so"))) {
        complete = true;
        PLX_XEXT_FUNCTIONS(PLX_TAKE_ENTRY)
        x.hasXext = complete;
    }
    if ((library = Open("libXtst.so.6", "libXtst.so"))) {
        complete = true;
        PLX_XTST_FUNCTIONS(PLX_TAKE_ENTRY)
        x.hasXtst = complete;
    }
#undef PLX_TAKE_ENTRY
    return x;
}

} // namespace

const TXlib* Xlib() noexcept
{
    // The libraries and the table stay until the process ends: Xlib keeps
    // callbacks (error handlers, image functions) that must not disappear under
    // it, and a platform freed at exit still calls through the table.
    static const TXlib* const loaded = new TXlib(Load());
    return loaded->XOpenDisplay ? loaded : nullptr;
}

} // namespace plx::detail
