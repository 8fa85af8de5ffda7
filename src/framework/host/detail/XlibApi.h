// The X11 client libraries, loaded at run time: programs that never open a
// window run where libX11 is not installed, and nothing links against it.
#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>

namespace plx::detail {

// The functions taken from each library; a table of entry points is the one
// place where a list macro beats writing every name three times.
#define PLX_XLIB_FUNCTIONS(F)                                                                                          \
    F(XOpenDisplay) F(XCloseDisplay) F(XSetErrorHandler) F(XSync) F(XFlush) F(XPending) F(XNextEvent) F(XPeekEvent)   \
    F(XCreateWindow) F(XDestroyWindow) F(XMapRaised) F(XUnmapWindow) F(XMoveResizeWindow) F(XMoveWindow)               \
    F(XStoreName) F(XChangeProperty) F(XDeleteProperty) F(XGetWindowProperty) F(XInternAtom) F(XSetWMProtocols)        \
    F(XSetTransientForHint) F(XSetWMNormalHints) F(XAllocSizeHints) F(XSetClassHint) F(XAllocClassHint) F(XFree)       \
    F(XSendEvent) F(XTranslateCoordinates) F(XQueryPointer) F(XGrabPointer) F(XUngrabPointer) F(XCreateGC)             \
    F(XFreeGC) F(XCreateImage) F(XPutImage) F(XGetImage) F(XListPixmapFormats) F(XCreateFontCursor) F(XDefineCursor)   \
    F(XFreeCursor) F(XCreateBitmapFromData) F(XCreatePixmapCursor) F(XFreePixmap) F(XLookupString) F(XLookupKeysym)    \
    F(XRefreshKeyboardMapping) F(XkbSetDetectableAutoRepeat) F(XSetLocaleModifiers) F(XOpenIM) F(XCloseIM)             \
    F(XCreateIC) F(XDestroyIC) F(XSetICFocus) F(XUnsetICFocus) F(XFilterEvent) F(Xutf8LookupString)                    \
    F(XGetWindowAttributes) F(XKeysymToKeycode) F(XWarpPointer) F(XSetInputFocus) F(XAllocWMHints) F(XSetWMHints)    \
    F(XChangeKeyboardMapping) F(XGetKeyboardMapping)

#define PLX_XEXT_FUNCTIONS(F) F(XShmQueryExtension) F(XShmCreateImage) F(XShmAttach) F(XShmDetach) F(XShmPutImage)

#define PLX_XTST_FUNCTIONS(F)                                                                                          \
    F(XTestQueryExtension) F(XTestFakeButtonEvent) F(XTestFakeMotionEvent) F(XTestFakeKeyEvent)

//! Entry points of libX11, and of libXext and libXtst where they are installed.
struct TXlib {
#define PLX_DECLARE_ENTRY(name) decltype(&::name) name = nullptr;
    PLX_XLIB_FUNCTIONS(PLX_DECLARE_ENTRY)
    PLX_XEXT_FUNCTIONS(PLX_DECLARE_ENTRY)
    PLX_XTST_FUNCTIONS(PLX_DECLARE_ENTRY)
#undef PLX_DECLARE_ENTRY
    bool hasXext { false }; //!< the shared-memory functions are there
    bool hasXtst { false }; //!< the input-faking functions are there
};

//! The libraries, loaded at the first call and kept for the life of the
//! process; null when libX11 (or one of its functions) cannot be loaded.
[[nodiscard]] const TXlib* Xlib() noexcept;

} // namespace plx::detail
