#include "framework/host/X11Platform.h"

#include "framework/host/Control.h"
#include "framework/host/HeadlessPlatform.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <string_view>
#include <vector>

#if PLUMEX_HAVE_X11
namespace plx {
namespace {
// Names the X headers take for macros (Expose, None), spelled before they do.
constexpr TPlatformEventKind kExposeEvent = TPlatformEventKind::Expose;
constexpr TWindowBorder kNoBorder = TWindowBorder::None;
constexpr TPlatformButton kNoButton = TPlatformButton::None;
} // namespace
} // namespace plx

#include "framework/host/detail/XlibApi.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <atomic>
#include <bit>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#endif

namespace plx {

#if PLUMEX_HAVE_X11

namespace {

using detail::TXlib;

// Cursor shapes of the cursor font, by TCursor (crDefault at 0 down to crHandPoint at -21).
constexpr unsigned kCursorShapes[] = {
    XC_left_ptr, // crDefault
    0, // crNone: a blank cursor of our own
    XC_left_ptr, XC_crosshair, XC_xterm, XC_fleur, XC_bottom_left_corner, XC_sb_v_double_arrow,
    XC_bottom_right_corner, XC_sb_h_double_arrow, XC_sb_up_arrow, XC_watch, XC_dotbox, XC_X_cursor,
    XC_sb_h_double_arrow, XC_sb_v_double_arrow, XC_dotbox, XC_watch, XC_X_cursor, XC_watch, XC_question_arrow, XC_hand2,
};
constexpr TCursor kBlankCursor = -1;

// Xlib reports protocol errors through one process-wide handler; ours records
// the last one (where the default would end the process).
std::atomic<int> g_lastXError { 0 };

int RecordXError(Display*, XErrorEvent* e)
{
    g_lastXError = e->error_code ? e->error_code : -1;
    return 0;
}

std::int16_t ClampPosition(std::int32_t v) noexcept
{
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

unsigned ClampSide(std::int32_t v) noexcept
{
    return static_cast<unsigned>(std::clamp<std::int32_t>(v, 1, kMaxBitmapSide));
}

// Where a channel of the raster's 0x00BBGGRR words goes in the server's pixels.
struct TChannel {
    int shift { 0 };
    int bits { 8 };

    static TChannel FromMask(unsigned long mask) noexcept
    {
        if (!mask)
            return { 0, 0 };
        return { std::countr_zero(mask), std::popcount(mask) };
    }
    [[nodiscard]] unsigned long Encode(std::uint32_t c) const noexcept
    {
        if (bits == 0)
            return 0;
        const unsigned long v = bits >= 8 ? static_cast<unsigned long>(c) << (bits - 8) : c >> (8 - bits);
        return v << shift;
    }
    [[nodiscard]] std::uint32_t Decode(unsigned long pixel) const noexcept
    {
        if (bits == 0)
            return 0;
        const unsigned long v = (pixel >> shift) & ((1UL << bits) - 1);
        if (bits >= 8)
            return static_cast<std::uint32_t>(v >> (bits - 8));
        return static_cast<std::uint32_t>(v * 255 / ((1UL << bits) - 1));
    }
};

struct TPixelLayout {
    TChannel red, green, blue;
    //! Pixels are 32-bit words 0x00RRGGBB in the host's byte order: the common
    //! case, converted by swapping two bytes.
    bool swapWords { false };

    [[nodiscard]] unsigned long Encode(std::uint32_t w) const noexcept
    {
        return red.Encode(w & 0xFF) | green.Encode((w >> 8) & 0xFF) | blue.Encode((w >> 16) & 0xFF);
    }
    [[nodiscard]] std::uint32_t Decode(unsigned long p) const noexcept
    {
        return red.Decode(p) | (green.Decode(p) << 8) | (blue.Decode(p) << 16);
    }
};

constexpr std::uint32_t SwapRedBlue(std::uint32_t w) noexcept
{
    return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF);
}

// Copies area of the surface into the image, whose (0, 0) lies at origin of the surface.
void PutPixels(const Raster& surface, XImage& image, const TRect& area, TPoint origin, const TPixelLayout& layout)
{
    const std::int32_t width = area.Width();
    for (std::int32_t y = area.Top; y < area.Bottom; ++y) {
        const std::uint32_t* src = surface.Row(y) + area.Left;
        const std::int32_t iy = y - origin.Y;
        const std::int32_t ix = area.Left - origin.X;
        if (layout.swapWords) {
            auto* dst = reinterpret_cast<std::uint32_t*>(image.data + static_cast<std::ptrdiff_t>(iy) * image.bytes_per_line) + ix;
            for (std::int32_t i = 0; i < width; ++i)
                dst[i] = SwapRedBlue(src[i]);
        } else {
            for (std::int32_t i = 0; i < width; ++i)
                XPutPixel(&image, ix + i, iy, layout.Encode(src[i]));
        }
    }
}

// Code points of UTF-8 text; a malformed byte stands for itself.
std::vector<std::uint32_t> CodePoints(std::string_view text)
{
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        std::uint32_t c = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
        bool ok = b < 0x80 || extra > 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<std::size_t>(k) >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!ok) {
            out.push_back(b);
            ++i;
        } else {
            out.push_back(c);
            i += static_cast<std::size_t>(extra) + 1;
        }
    }
    return out;
}

// The virtual key of an unshifted key symbol (0 for keys without one).
std::uint32_t VirtualKey(KeySym sym) noexcept
{
    if (sym >= XK_a && sym <= XK_z)
        return static_cast<std::uint32_t>(sym - XK_a + 'A');
    if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9))
        return static_cast<std::uint32_t>(sym);
    if (sym >= XK_F1 && sym <= XK_F24)
        return static_cast<std::uint32_t>(0x70 + (sym - XK_F1));
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return static_cast<std::uint32_t>(0x60 + (sym - XK_KP_0));
    switch (sym) {
    case XK_BackSpace: return 0x08;
    case XK_Tab: case XK_ISO_Left_Tab: return 0x09;
    case XK_Clear: case XK_KP_Begin: return 0x0C;
    case XK_Return: case XK_KP_Enter: return 0x0D;
    case XK_Shift_L: case XK_Shift_R: return 0x10;
    case XK_Control_L: case XK_Control_R: return 0x11;
    case XK_Alt_L: case XK_Alt_R: case XK_Meta_L: case XK_Meta_R: case XK_ISO_Level3_Shift: return 0x12;
    case XK_Pause: return 0x13;
    case XK_Caps_Lock: return 0x14;
    case XK_Escape: return 0x1B;
    case XK_space: return 0x20;
    case XK_Prior: case XK_KP_Prior: return 0x21;
    case XK_Next: case XK_KP_Next: return 0x22;
    case XK_End: case XK_KP_End: return 0x23;
    case XK_Home: case XK_KP_Home: return 0x24;
    case XK_Left: case XK_KP_Left: return 0x25;
    case XK_Up: case XK_KP_Up: return 0x26;
    case XK_Right: case XK_KP_Right: return 0x27;
    case XK_Down: case XK_KP_Down: return 0x28;
    case XK_Print: return 0x2C;
    case XK_Insert: case XK_KP_Insert: return 0x2D;
    case XK_Delete: case XK_KP_Delete: return 0x2E;
    case XK_Help: return 0x2F;
    case XK_Super_L: return 0x5B;
    case XK_Super_R: return 0x5C;
    case XK_Menu: return 0x5D;
    case XK_KP_Multiply: return 0x6A;
    case XK_KP_Add: return 0x6B;
    case XK_KP_Separator: return 0x6C;
    case XK_KP_Subtract: return 0x6D;
    case XK_KP_Decimal: return 0x6E;
    case XK_KP_Divide: return 0x6F;
    case XK_Num_Lock: return 0x90;
    case XK_Scroll_Lock: return 0x91;
    case XK_semicolon: return 0xBA;
    case XK_equal: return 0xBB;
    case XK_comma: return 0xBC;
    case XK_minus: return 0xBD;
    case XK_period: return 0xBE;
    case XK_slash: return 0xBF;
    case XK_grave: return 0xC0;
    case XK_bracketleft: return 0xDB;
    case XK_backslash: return 0xDC;
    case XK_bracketright: return 0xDD;
    case XK_apostrophe: return 0xDE;
    default: return 0;
    }
}

} // namespace

struct TX11Platform::TImpl {
    struct TWindow {
        Window native { 0 };
        TRect bounds;
        std::string caption;
        TWindowStyle style;
        bool popup { false };
        bool visible { false };
        TCursor cursor { crDefault };
        std::unique_ptr<Raster> surface;
        GC gc { nullptr };
        XIC ic { nullptr };
        XImage* shmImage { nullptr };
        XShmSegmentInfo shmInfo {};
        bool shmBusy { false }; //!< a put from the segment may still be in flight
        unsigned long configureSerial { 0 }; //!< our last move or resize request
    };

    const TXlib& x;
    Display* display { nullptr };
    int screen { 0 };
    Window root { 0 };
    Visual* visual { nullptr };
    int depth { 0 };
    TPixelLayout layout;
    bool shm { false };
    XIM im { nullptr };
    Atom wmProtocols {}, wmDelete {}, netWmName {}, utf8String {}, netWmWindowType {}, typeNormal {}, typeDialog {},
        typeUtility {}, netWmState {}, stateModal {}, motifHints {}, netMoveResize {}, netSupported {};
    std::map<TWindowId, TWindow> windows;
    std::map<Window, TWindowId> byNative;
    std::deque<TPlatformEvent> events;
    TWindowId next { 1 };
    TWindowId capture { 0 };
    std::map<TCursor, Cursor> cursors;
    struct TMove {
        TWindowId window { 0 };
        TPoint pointer; //!< where the pointer was on the screen when the move began
        TPoint origin; //!< where the window was
    } move;
    std::vector<std::uint32_t> staging;

    explicit TImpl(const TXlib& xlib)
        : x(xlib)
    {
    }
    ~TImpl();

    TWindow* Find(TWindowId id) noexcept
    {
        auto it = windows.find(id);
        return it == windows.end() ? nullptr : &it->second;
    }
    const TWindow* Find(TWindowId id) const noexcept
    {
        auto it = windows.find(id);
        return it == windows.end() ? nullptr : &it->second;
    }
    TWindow& Get(TWindowId id)
    {
        if (TWindow* w = Find(id))
            return *w;
        throw EInvalidOperation("Unknown window " + std::to_string(id));
    }

    bool Connect(const TX11Options& options);
    TWindowId Create(const TRect& bounds, const std::string& caption, bool popup);
    void Destroy(TWindowId id);
    void CreateShmImage(TWindow& w);
    void DropShmImage(TWindow& w);
    void SizeHints(const TWindow& w);
    void Configure(TWindow& w, const TRect& bounds);
    void Present(TWindow& w, const TRect& area);
    Cursor CursorFor(TCursor cursor);
    bool WindowManagerMoves() const;
    void Translate(XEvent& e);
    void TranslateButton(TWindowId id, const XButtonEvent& b, bool press);
    void TranslateMotion(TWindowId id, const XMotionEvent& m);
    void TranslateKey(TWindowId id, TWindow& w, XKeyEvent& e);
    void Configured(TWindowId id, TWindow& w, const XConfigureEvent& e);
    void Push(TPlatformEventKind kind, TWindowId id, TPoint point, unsigned state)
    {
        TPlatformEvent ev;
        ev.kind = kind;
        ev.window = id;
        ev.point = point;
        ev.shift = (state & ShiftMask) != 0;
        ev.ctrl = (state & ControlMask) != 0;
        ev.alt = (state & Mod1Mask) != 0;
        events.push_back(ev);
    }
    TPoint Pointer() const
    {
        Window rootReturn = 0, child = 0;
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        x.XQueryPointer(display, root, &rootReturn, &child, &rx, &ry, &wx, &wy, &mask);
        return { rx, ry };
    }
};

bool TX11Platform::TImpl::Connect(const TX11Options& options)
{
    display = x.XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (!display)
        return false;
    x.XSetErrorHandler(RecordXError);
    screen = DefaultScreen(display);
    root = RootWindow(display, screen);
    visual = DefaultVisual(display, screen);
    depth = DefaultDepth(display, screen);
    if (visual->c_class != TrueColor && visual->c_class != DirectColor)
        return false;
    layout.red = TChannel::FromMask(visual->red_mask);
    layout.green = TChannel::FromMask(visual->green_mask);
    layout.blue = TChannel::FromMask(visual->blue_mask);
    int bitsPerPixel = 0, count = 0;
    if (XPixmapFormatValues* formats = x.XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth)
                bitsPerPixel = formats[i].bits_per_pixel;
        x.XFree(formats);
    }
    const bool hostLittle = std::endian::native == std::endian::little;
    layout.swapWords = bitsPerPixel == 32 && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF
        && ImageByteOrder(display) == (hostLittle ? LSBFirst : MSBFirst);
    shm = options.sharedMemory && x.hasXext && x.XShmQueryExtension(display);

    auto atom = [this](const char* name) { return x.XInternAtom(display, name, False); };
    wmProtocols = atom("WM_PROTOCOLS");
    wmDelete = atom("WM_DELETE_WINDOW");
    netWmName = atom("_NET_WM_NAME");
    utf8String = atom("UTF8_STRING");
    netWmWindowType = atom("_NET_WM_WINDOW_TYPE");
    typeNormal = atom("_NET_WM_WINDOW_TYPE_NORMAL");
    typeDialog = atom("_NET_WM_WINDOW_TYPE_DIALOG");
    typeUtility = atom("_NET_WM_WINDOW_TYPE_UTILITY");
    netWmState = atom("_NET_WM_STATE");
    stateModal = atom("_NET_WM_STATE_MODAL");
    motifHints = atom("_MOTIF_WM_HINTS");
    netMoveResize = atom("_NET_WM_MOVERESIZE");
    netSupported = atom("_NET_SUPPORTED");

    // Key repeats arrive as presses alone, as the control layer expects.
    Bool supported = False;
    x.XkbSetDetectableAutoRepeat(display, True, &supported);
    // The input method turns key presses into text; without one, keys are
    // looked up by the server's keyboard map alone.
    if (x.XSetLocaleModifiers("") || x.XSetLocaleModifiers("@im=none"))
        im = x.XOpenIM(display, nullptr, nullptr, nullptr);
    return true;
}

TX11Platform::TImpl::~TImpl()
{
    if (!display)
        return;
    while (!windows.empty())
        Destroy(windows.begin()->first);
    for (auto& [shape, cursor] : cursors)
        x.XFreeCursor(display, cursor);
    if (im)
        x.XCloseIM(im);
    x.XCloseDisplay(display);
}

TWindowId TX11Platform::TImpl::Create(const TRect& bounds, const std::string& caption, bool popup)
{
    auto surface = std::make_unique<Raster>();
    surface->SetSize(bounds.Width(), bounds.Height()); // refuses sizes no bitmap can have, as headless
    XSetWindowAttributes a {};
    a.background_pixmap = None; // the server does not clear exposed parts: we paint them
    a.bit_gravity = NorthWestGravity;
    a.override_redirect = popup ? True : False;
    a.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask
        | PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask;
    const Window native = x.XCreateWindow(display, root, ClampPosition(bounds.Left), ClampPosition(bounds.Top), ClampSide(bounds.Width()),
        ClampSide(bounds.Height()), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixmap | CWBitGravity | CWOverrideRedirect | CWEventMask, &a);
    if (!native)
        throw EInvalidOperation("The X server did not create a window");
    const TWindowId id = next++;
    TWindow& w = windows[id];
    w.native = native;
    w.bounds = bounds;
    w.caption = caption;
    w.popup = popup;
    w.surface = std::move(surface);
    w.gc = x.XCreateGC(display, native, 0, nullptr);
    byNative[native] = id;
    x.XSetWMProtocols(display, native, &wmDelete, 1);
    if (XClassHint* hint = x.XAllocClassHint()) {
        char name[] = "plumex";
        char cls[] = "Plumex";
        hint->res_name = name;
        hint->res_class = cls;
        x.XSetClassHint(display, native, hint);
        x.XFree(hint);
    }
    if (!popup) {
        x.XStoreName(display, native, caption.c_str());
        x.XChangeProperty(display, native, netWmName, utf8String, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(caption.data()), static_cast<int>(caption.size()));
        if (im)
            w.ic = x.XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, native, XNFocusWindow, native, nullptr);
    }
    if (XWMHints* hints = x.XAllocWMHints()) {
        hints->flags = InputHint;
        hints->input = popup ? False : True;
        x.XSetWMHints(display, native, hints);
        x.XFree(hints);
    }
    SizeHints(w);
    if (shm)
        CreateShmImage(w);
    return id;
}

void TX11Platform::TImpl::Destroy(TWindowId id)
{
    TWindow* w = Find(id);
    if (!w)
        return;
    if (capture == id) {
        x.XUngrabPointer(display, CurrentTime);
        capture = 0;
    }
    if (move.window == id) {
        x.XUngrabPointer(display, CurrentTime);
        move = {};
    }
    DropShmImage(*w);
    if (w->ic)
        x.XDestroyIC(w->ic);
    if (w->gc)
        x.XFreeGC(display, w->gc);
    x.XDestroyWindow(display, w->native);
    x.XFlush(display);
    byNative.erase(w->native);
    windows.erase(id);
    std::erase_if(events, [id](const TPlatformEvent& e) { return e.window == id; });
}

void TX11Platform::TImpl::CreateShmImage(TWindow& w)
{
    DropShmImage(w);
    const Raster& s = *w.surface;
    if (s.Empty())
        return;
    XImage* image = x.XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &w.shmInfo,
        static_cast<unsigned>(s.Width()), static_cast<unsigned>(s.Height()));
    if (!image)
        return;
    const std::size_t size = static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(image->height);
    w.shmInfo.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    void* address = w.shmInfo.shmid >= 0 ? shmat(w.shmInfo.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
    if (address == reinterpret_cast<void*>(-1)) {
        if (w.shmInfo.shmid >= 0)
            shmctl(w.shmInfo.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        shm = false;
        return;
    }
    w.shmInfo.shmaddr = image->data = static_cast<char*>(address);
    w.shmInfo.readOnly = False;
    g_lastXError = 0;
    x.XShmAttach(display, &w.shmInfo);
    x.XSync(display, False);
    // The segment goes when both sides have let go of it.
    shmctl(w.shmInfo.shmid, IPC_RMID, nullptr);
    if (g_lastXError != 0) {
        // A server on another machine cannot see our memory: plain requests from now on.
        shmdt(w.shmInfo.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        w.shmInfo = {};
        shm = false;
        return;
    }
    w.shmImage = image;
}

void TX11Platform::TImpl::DropShmImage(TWindow& w)
{
    if (!w.shmImage)
        return;
    x.XShmDetach(display, &w.shmInfo);
    x.XSync(display, False);
    shmdt(w.shmInfo.shmaddr);
    w.shmImage->data = nullptr;
    XDestroyImage(w.shmImage);
    w.shmImage = nullptr;
    w.shmInfo = {};
    w.shmBusy = false;
}

void TX11Platform::TImpl::SizeHints(const TWindow& w)
{
    XSizeHints* hints = x.XAllocSizeHints();
    if (!hints)
        return;
    hints->flags = USPosition | PPosition | USSize | PSize | PWinGravity;
    hints->x = ClampPosition(w.bounds.Left);
    hints->y = ClampPosition(w.bounds.Top);
    hints->width = static_cast<int>(ClampSide(w.bounds.Width()));
    hints->height = static_cast<int>(ClampSide(w.bounds.Height()));
    hints->win_gravity = StaticGravity; // the position is the client area's, not the frame's
    const TWindowBorder b = w.style.border;
    if (b != TWindowBorder::Sizeable && b != TWindowBorder::SizeToolWin) {
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = hints->width;
        hints->min_height = hints->max_height = hints->height;
    }
    x.XSetWMNormalHints(display, w.native, hints);
    x.XFree(hints);
}

void TX11Platform::TImpl::Configure(TWindow& w, const TRect& bounds)
{
    const bool resized = bounds.Width() != w.bounds.Width() || bounds.Height() != w.bounds.Height();
    if (resized)
        w.surface->SetSize(bounds.Width(), bounds.Height());
    w.bounds = bounds;
    if (resized && shm)
        CreateShmImage(w);
    w.configureSerial = NextRequest(display);
    x.XMoveResizeWindow(display, w.native, ClampPosition(bounds.Left), ClampPosition(bounds.Top), ClampSide(bounds.Width()), ClampSide(bounds.Height()));
    SizeHints(w);
    x.XFlush(display);
}

void TX11Platform::TImpl::Present(TWindow& w, const TRect& area)
{
    const Raster& s = *w.surface;
    const TRect r = Intersect(area, s.Bounds());
    if (r.IsEmpty())
        return;
    if (w.shmImage) {
        if (w.shmBusy)
            x.XSync(display, False); // the server may still read the segment
        PutPixels(s, *w.shmImage, r, { 0, 0 }, layout);
        x.XShmPutImage(display, w.native, w.gc, w.shmImage, r.Left, r.Top, r.Left, r.Top, static_cast<unsigned>(r.Width()),
            static_cast<unsigned>(r.Height()), False);
        w.shmBusy = true;
    } else {
        const auto count = static_cast<std::size_t>(r.Width()) * static_cast<std::size_t>(r.Height());
        staging.resize(count);
        XImage* image = x.XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, reinterpret_cast<char*>(staging.data()),
            static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()), 32, 0);
        if (!image)
            return;
        PutPixels(s, *image, r, { r.Left, r.Top }, layout);
        x.XPutImage(display, w.native, w.gc, image, 0, 0, r.Left, r.Top, static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()));
        image->data = nullptr; // the staging buffer is ours
        XDestroyImage(image);
        // A large picture need not stay in memory until the next one.
        if (count > (std::size_t { 1 } << 20))
            std::vector<std::uint32_t>().swap(staging);
    }
    x.XFlush(display);
}

Cursor TX11Platform::TImpl::CursorFor(TCursor cursor)
{
    const int index = -cursor;
    if (index < 0 || index >= static_cast<int>(std::size(kCursorShapes)))
        cursor = crDefault; // the application's own cursors: not kept here
    if (auto it = cursors.find(cursor); it != cursors.end())
        return it->second;
    Cursor c = 0;
    if (cursor == kBlankCursor) {
        static const char blank[1] = { 0 };
        Pixmap pixmap = x.XCreateBitmapFromData(display, root, blank, 1, 1);
        XColor black {};
        c = x.XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
        x.XFreePixmap(display, pixmap);
    } else {
        c = x.XCreateFontCursor(display, kCursorShapes[-cursor]);
    }
    cursors[cursor] = c;
    return c;
}

bool TX11Platform::TImpl::WindowManagerMoves() const
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (x.XGetWindowProperty(display, root, netSupported, 0, 4096, False, XA_ATOM, &type, &format, &count, &after, &data) == Success && data) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        found = format == 32 && std::find(atoms, atoms + count, netMoveResize) != atoms + count;
        x.XFree(data);
    }
    return found;
}

void TX11Platform::TImpl::Configured(TWindowId id, TWindow& w, const XConfigureEvent& e)
{
    // Events about our older requests tell a state that our last one replaced.
    if (static_cast<long>(e.serial - w.configureSerial) < 0)
        return;
    TPoint at { e.x, e.y };
    if (!e.send_event) {
        // Relative to the parent, which may be a window manager's frame.
        Window child = 0;
        int rx = 0, ry = 0;
        x.XTranslateCoordinates(display, w.native, root, 0, 0, &rx, &ry, &child);
        at = { rx, ry };
    }
    const TRect bounds { at.X, at.Y, at.X + e.width, at.Y + e.height };
    const bool sameSize = static_cast<unsigned>(bounds.Width()) == ClampSide(w.bounds.Width()) && static_cast<unsigned>(bounds.Height()) == ClampSide(w.bounds.Height());
    const bool samePlace = at.X == ClampPosition(w.bounds.Left) && at.Y == ClampPosition(w.bounds.Top);
    if (sameSize && samePlace)
        return;
    bool resized = !sameSize;
    if (resized) {
        try {
            w.surface->SetSize(bounds.Width(), bounds.Height());
        } catch (const Exception&) {
            resized = false; // larger than any surface can be: the form keeps its size
        }
        if (resized && shm)
            CreateShmImage(w);
    }
    w.bounds = resized ? bounds : Bounds(at.X, at.Y, SaturateInt32(w.bounds.Width()), SaturateInt32(w.bounds.Height()));
    TPlatformEvent ev;
    ev.kind = TPlatformEventKind::Resize;
    ev.window = id;
    ev.area = w.bounds;
    events.push_back(ev);
}

void TX11Platform::TImpl::TranslateKey(TWindowId id, TWindow& w, XKeyEvent& e)
{
    const std::uint32_t vk = VirtualKey(x.XLookupKeysym(&e, 0));
    if (e.type == KeyRelease) {
        if (vk) {
            Push(TPlatformEventKind::KeyUp, id, { e.x, e.y }, e.state);
            events.back().key = vk;
        }
        return;
    }
    char buffer[64];
    KeySym sym = 0;
    std::vector<std::uint32_t> text;
    if (w.ic) {
        Status status = 0;
        const int n = x.Xutf8LookupString(w.ic, &e, buffer, sizeof buffer, &sym, &status);
        if ((status == XLookupChars || status == XLookupBoth) && n > 0)
            text = CodePoints(std::string_view(buffer, static_cast<std::size_t>(n)));
    } else {
        // Latin-1 text, or the character a Unicode key symbol names.
        const int n = x.XLookupString(&e, buffer, sizeof buffer, &sym, nullptr);
        for (int i = 0; i < n; ++i)
            text.push_back(static_cast<unsigned char>(buffer[i]));
        if (n == 0 && (sym & 0xFF000000) == 0x01000000)
            text.push_back(static_cast<std::uint32_t>(sym & 0x00FFFFFF));
    }
    if (vk) {
        Push(TPlatformEventKind::KeyDown, id, { e.x, e.y }, e.state);
        events.back().key = vk;
    }
    for (std::uint32_t c : text) {
        if (c == 0x7F)
            continue; // Delete is a key, not a character
        Push(TPlatformEventKind::Char, id, { e.x, e.y }, e.state);
        events.back().key = c;
    }
}

void TX11Platform::TImpl::Translate(XEvent& e)
{
    if (x.XFilterEvent(&e, None))
        return; // taken by the input method
    if (e.type == MappingNotify) {
        x.XRefreshKeyboardMapping(&e.xmapping);
        return;
    }
    auto found = byNative.find(e.xany.window);
    if (found == byNative.end())
        return;
    const TWindowId id = found->second;
    TWindow& w = windows.at(id);
    switch (e.type) {
    case Expose: {
        TPlatformEvent ev;
        ev.kind = kExposeEvent;
        ev.window = id;
        ev.area = { e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height };
        events.push_back(ev);
        break;
    }
    case ConfigureNotify:
        Configured(id, w, e.xconfigure);
        break;
    case MapNotify:
        if (!w.popup && w.visible) {
            g_lastXError = 0;
            x.XSetInputFocus(display, w.native, RevertToParent, CurrentTime);
        }
        break;
    case ClientMessage:
        if (e.xclient.message_type == wmProtocols && static_cast<Atom>(e.xclient.data.l[0]) == wmDelete) {
            TPlatformEvent ev;
            ev.kind = TPlatformEventKind::Close;
            ev.window = id;
            events.push_back(ev);
        }
        break;
    case ButtonPress:
    case ButtonRelease:
        TranslateButton(id, e.xbutton, e.type == ButtonPress);
        break;
    case MotionNotify:
        TranslateMotion(id, e.xmotion);
        break;
    case EnterNotify:
        Push(TPlatformEventKind::MouseMove, id, { e.xcrossing.x, e.xcrossing.y }, e.xcrossing.state);
        break;
    case LeaveNotify:
        if (e.xcrossing.mode != NotifyGrab && e.xcrossing.detail != NotifyInferior)
            Push(TPlatformEventKind::MouseLeave, id, { e.xcrossing.x, e.xcrossing.y }, e.xcrossing.state);
        break;
    case KeyPress:
    case KeyRelease:
        TranslateKey(id, w, e.xkey);
        break;
    case FocusIn:
        if (w.ic)
            x.XSetICFocus(w.ic);
        break;
    case FocusOut:
        if (w.ic)
            x.XUnsetICFocus(w.ic);
        break;
    default:
        break;
    }
}

void TX11Platform::TImpl::TranslateButton(TWindowId id, const XButtonEvent& b, bool press)
{
    if (move.window) {
        if (!press) {
            // The move ends; the control that began it hears the release.
            x.XUngrabPointer(display, CurrentTime);
            const TWindowId moved = move.window;
            move = {};
            if (TWindow* m = Find(moved)) {
                Push(TPlatformEventKind::MouseUp, moved, { b.x_root - m->bounds.Left, b.y_root - m->bounds.Top }, b.state);
                events.back().button = TPlatformButton::Left;
            }
        }
        return;
    }
    if (b.button >= 4 && b.button <= 5) {
        if (press) {
            Push(TPlatformEventKind::MouseWheel, id, { b.x, b.y }, b.state);
            events.back().wheelDelta = b.button == 4 ? 120 : -120;
        }
        return;
    }
    const TPlatformButton button = b.button == Button1 ? TPlatformButton::Left
        : b.button == Button2                          ? TPlatformButton::Middle
        : b.button == Button3                          ? TPlatformButton::Right
                                                       : kNoButton;
    if (button == kNoButton)
        return;
    Push(press ? TPlatformEventKind::MouseDown : TPlatformEventKind::MouseUp, id, { b.x, b.y }, b.state);
    events.back().button = button;
}

void TX11Platform::TImpl::TranslateMotion(TWindowId id, const XMotionEvent& m)
{
    if (move.window) {
        if (TWindow* moving = Find(move.window)) {
            const TPoint to { move.origin.X + m.x_root - move.pointer.X, move.origin.Y + m.y_root - move.pointer.Y };
            moving->bounds = Bounds(to.X, to.Y, SaturateInt32(moving->bounds.Width()), SaturateInt32(moving->bounds.Height()));
            moving->configureSerial = NextRequest(display);
            x.XMoveWindow(display, moving->native, ClampPosition(to.X), ClampPosition(to.Y));
            TPlatformEvent ev;
            ev.kind = TPlatformEventKind::Resize;
            ev.window = move.window;
            ev.area = moving->bounds;
            events.push_back(ev);
        }
        return;
    }
    // Only the latest of a run of moves matters.
    if (x.XPending(display) > 0) {
        XEvent peek;
        x.XPeekEvent(display, &peek);
        if (peek.type == MotionNotify && peek.xmotion.window == m.window)
            return;
    }
    Push(TPlatformEventKind::MouseMove, id, { m.x, m.y }, m.state);
}

// ---- TX11Platform ------------------------------------------------------------

std::unique_ptr<TX11Platform> TX11Platform::Open(const TX11Options& options)
{
    const TXlib* x = detail::Xlib();
    if (!x)
        return nullptr;
    auto impl = std::make_unique<TImpl>(*x);
    if (!impl->Connect(options))
        return nullptr;
    return std::unique_ptr<TX11Platform>(new TX11Platform(std::move(impl)));
}

TX11Platform::TX11Platform(std::unique_ptr<TImpl> impl)
    : m_impl(std::move(impl))
{
}

TX11Platform::~TX11Platform() = default;

TWindowId TX11Platform::CreateWindow(const TRect& bounds, const std::string& caption)
{
    return m_impl->Create(bounds, caption, false);
}

TWindowId TX11Platform::CreatePopupWindow(const TRect& bounds)
{
    return m_impl->Create(bounds, {}, true);
}

void TX11Platform::DestroyWindow(TWindowId window)
{
    m_impl->Destroy(window);
}

void TX11Platform::ShowWindow(TWindowId window, bool visible)
{
    TImpl::TWindow* w = m_impl->Find(window);
    if (!w || w->visible == visible)
        return;
    w->visible = visible;
    if (visible)
        m_impl->x.XMapRaised(m_impl->display, w->native);
    else
        m_impl->x.XUnmapWindow(m_impl->display, w->native);
    m_impl->x.XFlush(m_impl->display);
}

bool TX11Platform::IsWindowVisible(TWindowId window) const
{
    const TImpl::TWindow* w = m_impl->Find(window);
    return w && w->visible;
}

void TX11Platform::SetWindowBounds(TWindowId window, const TRect& bounds)
{
    TImpl::TWindow* w = m_impl->Find(window);
    if (!w || w->bounds == bounds)
        return;
    m_impl->Configure(*w, bounds);
}

void TX11Platform::SetWindowCaption(TWindowId window, const std::string& caption)
{
    TImpl::TWindow* w = m_impl->Find(window);
    if (!w)
        return;
    w->caption = caption;
    const TXlib& x = m_impl->x;
    x.XStoreName(m_impl->display, w->native, caption.c_str());
    x.XChangeProperty(m_impl->display, w->native, m_impl->netWmName, m_impl->utf8String, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(caption.data()), static_cast<int>(caption.size()));
    x.XFlush(m_impl->display);
}

Raster& TX11Platform::Surface(TWindowId window)
{
    return *m_impl->Get(window).surface;
}

void TX11Platform::Present(TWindowId window, const TRect& area)
{
    if (TImpl::TWindow* w = m_impl->Find(window))
        m_impl->Present(*w, area);
}

void TX11Platform::BeginMoveWindow(TWindowId window)
{
    TImpl& p = *m_impl;
    TImpl::TWindow* w = p.Find(window);
    if (!w)
        return;
    const TXlib& x = p.x;
    const TPoint pointer = p.Pointer();
    x.XUngrabPointer(p.display, CurrentTime);
    p.capture = 0;
    if (p.WindowManagerMoves()) {
        // The window manager moves the window and takes the release; the
        // control layer hears it at once, so no button stays down for it.
        XEvent e {};
        e.xclient.type = ClientMessage;
        e.xclient.window = w->native;
        e.xclient.message_type = p.netMoveResize;
        e.xclient.format = 32;
        e.xclient.data.l[0] = pointer.X;
        e.xclient.data.l[1] = pointer.Y;
        e.xclient.data.l[2] = 8; // _NET_WM_MOVERESIZE_MOVE
        e.xclient.data.l[3] = Button1;
        e.xclient.data.l[4] = 1; // a normal application
        x.XSendEvent(p.display, p.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        p.Push(TPlatformEventKind::MouseUp, window, { pointer.X - w->bounds.Left, pointer.Y - w->bounds.Top }, 0);
        p.events.back().button = TPlatformButton::Left;
    } else {
        // No window manager to ask: the window follows the pointer until the release.
        p.move = { window, pointer, { w->bounds.Left, w->bounds.Top } };
        x.XGrabPointer(p.display, w->native, False, ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
            p.CursorFor(crSize), CurrentTime);
    }
    x.XFlush(p.display);
}

void TX11Platform::SetWindowStyle(TWindowId window, const TWindowStyle& style)
{
    TImpl& p = *m_impl;
    TImpl::TWindow* w = p.Find(window);
    if (!w || w->popup)
        return;
    w->style = style;
    const TXlib& x = p.x;
    // Decorations through the Motif hints most window managers read: flags, functions, decorations, input mode, status.
    long motif[5] = { 2, 0, style.border == kNoBorder ? 0 : 1, 0, 0 };
    x.XChangeProperty(p.display, w->native, p.motifHints, p.motifHints, 32, PropModeReplace, reinterpret_cast<unsigned char*>(motif), 5);
    Atom type = p.typeNormal;
    if (style.border == TWindowBorder::Dialog || style.modal)
        type = p.typeDialog;
    else if (style.border == TWindowBorder::ToolWindow || style.border == TWindowBorder::SizeToolWin)
        type = p.typeUtility;
    x.XChangeProperty(p.display, w->native, p.netWmWindowType, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&type), 1);
    const TImpl::TWindow* owner = p.Find(style.owner);
    if (owner)
        x.XSetTransientForHint(p.display, w->native, owner->native);
    else
        x.XDeleteProperty(p.display, w->native, XA_WM_TRANSIENT_FOR);
    if (style.modal)
        x.XChangeProperty(p.display, w->native, p.netWmState, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&p.stateModal), 1);
    else
        x.XDeleteProperty(p.display, w->native, p.netWmState);
    p.SizeHints(*w);
    x.XFlush(p.display);
}

void TX11Platform::SetWindowCursor(TWindowId window, TCursor cursor)
{
    TImpl::TWindow* w = m_impl->Find(window);
    if (!w || w->cursor == cursor)
        return;
    w->cursor = cursor;
    m_impl->x.XDefineCursor(m_impl->display, w->native, m_impl->CursorFor(cursor));
    m_impl->x.XFlush(m_impl->display);
}

bool TX11Platform::PollEvent(TPlatformEvent& event)
{
    TImpl& p = *m_impl;
    while (p.events.empty() && p.x.XPending(p.display) > 0) {
        XEvent e;
        p.x.XNextEvent(p.display, &e);
        p.Translate(e);
    }
    if (p.events.empty())
        return false;
    event = p.events.front();
    p.events.pop_front();
    return true;
}

void TX11Platform::WaitForEvent(std::int64_t timeoutMs)
{
    TImpl& p = *m_impl;
    if (!p.events.empty() || p.x.XPending(p.display) > 0) // XPending sends what is buffered
        return;
    pollfd fd { ConnectionNumber(p.display), POLLIN, 0 };
    poll(&fd, 1, static_cast<int>(std::clamp<std::int64_t>(timeoutMs, 0, std::numeric_limits<int>::max())));
}

std::int64_t TX11Platform::Now() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

TPoint TX11Platform::CursorPos() const
{
    return m_impl->Pointer();
}

TSize TX11Platform::ScreenSize() const
{
    return { DisplayWidth(m_impl->display, m_impl->screen), DisplayHeight(m_impl->display, m_impl->screen) };
}

void TX11Platform::SetCapture(TWindowId window)
{
    TImpl& p = *m_impl;
    TImpl::TWindow* w = p.Find(window);
    if (!w || p.move.window)
        return;
    p.capture = window;
    p.x.XGrabPointer(p.display, w->native, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
        GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    p.x.XFlush(p.display);
}

void TX11Platform::ReleaseCapture()
{
    TImpl& p = *m_impl;
    if (!p.capture || p.move.window)
        return;
    p.capture = 0;
    p.x.XUngrabPointer(p.display, CurrentTime);
    p.x.XFlush(p.display);
}

bool TX11Platform::UsesSharedMemory() const noexcept
{
    return m_impl->shm;
}

void* TX11Platform::NativeDisplay() const noexcept
{
    return m_impl->display;
}

std::uint64_t TX11Platform::NativeWindow(TWindowId window) const noexcept
{
    const TImpl::TWindow* w = m_impl->Find(window);
    return w ? w->native : 0;
}

void TX11Platform::Sync()
{
    m_impl->x.XSync(m_impl->display, False);
    for (auto& [id, w] : m_impl->windows)
        w.shmBusy = false;
}

bool TX11Platform::ReadWindow(TWindowId window, Raster& pixels)
{
    TImpl& p = *m_impl;
    TImpl::TWindow* w = p.Find(window);
    if (!w)
        return false;
    const unsigned width = ClampSide(w->surface->Width());
    const unsigned height = ClampSide(w->surface->Height());
    g_lastXError = 0;
    XImage* image = p.x.XGetImage(p.display, w->native, 0, 0, width, height, AllPlanes, ZPixmap);
    p.x.XSync(p.display, False);
    if (!image || g_lastXError != 0) {
        if (image)
            XDestroyImage(image);
        return false;
    }
    pixels.Reset(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), pfDevice, {});
    for (std::int32_t y = 0; y < pixels.Height(); ++y) {
        std::uint32_t* row = pixels.Row(y);
        for (std::int32_t i = 0; i < pixels.Width(); ++i)
            row[i] = p.layout.Decode(XGetPixel(image, i, y));
    }
    XDestroyImage(image);
    return true;
}

std::string TX11Platform::WindowCaption(TWindowId window) const
{
    const TImpl::TWindow* w = m_impl->Find(window);
    return w ? w->caption : std::string();
}

TWindowStyle TX11Platform::WindowStyleOf(TWindowId window) const
{
    const TImpl::TWindow* w = m_impl->Find(window);
    return w ? w->style : TWindowStyle {};
}

TCursor TX11Platform::WindowCursor(TWindowId window) const
{
    const TImpl::TWindow* w = m_impl->Find(window);
    return w ? w->cursor : crDefault;
}

TRect TX11Platform::WindowBounds(TWindowId window) const
{
    const TImpl::TWindow* w = m_impl->Find(window);
    return w ? w->bounds : TRect {};
}

#else // built without the X11 headers: there is never a server to talk to

struct TX11Platform::TImpl { };

std::unique_ptr<TX11Platform> TX11Platform::Open(const TX11Options&) { return nullptr; }
TX11Platform::TX11Platform(std::unique_ptr<TImpl> impl) : m_impl(std::move(impl)) { }
TX11Platform::~TX11Platform() = default;
TWindowId TX11Platform::CreateWindow(const TRect&, const std::string&) { return 0; }
TWindowId TX11Platform::CreatePopupWindow(const TRect&) { return 0; }
void TX11Platform::DestroyWindow(TWindowId) { }
void TX11Platform::ShowWindow(TWindowId, bool) { }
bool TX11Platform::IsWindowVisible(TWindowId) const { return false; }
void TX11Platform::SetWindowBounds(TWindowId, const TRect&) { }
void TX11Platform::SetWindowCaption(TWindowId, const std::string&) { }
Raster& TX11Platform::Surface(TWindowId window) { throw EInvalidOperation("Unknown window " + std::to_string(window)); }
void TX11Platform::Present(TWindowId, const TRect&) { }
void TX11Platform::BeginMoveWindow(TWindowId) { }
void TX11Platform::SetWindowStyle(TWindowId, const TWindowStyle&) { }
void TX11Platform::SetWindowCursor(TWindowId, TCursor) { }
bool TX11Platform::PollEvent(TPlatformEvent&) { return false; }
void TX11Platform::WaitForEvent(std::int64_t) { }
std::int64_t TX11Platform::Now() const { return 0; }
TPoint TX11Platform::CursorPos() const { return {}; }
TSize TX11Platform::ScreenSize() const { return {}; }
void TX11Platform::SetCapture(TWindowId) { }
void TX11Platform::ReleaseCapture() { }
bool TX11Platform::UsesSharedMemory() const noexcept { return false; }
void* TX11Platform::NativeDisplay() const noexcept { return nullptr; }
std::uint64_t TX11Platform::NativeWindow(TWindowId) const noexcept { return 0; }
void TX11Platform::Sync() { }
bool TX11Platform::ReadWindow(TWindowId, Raster&) { return false; }
std::string TX11Platform::WindowCaption(TWindowId) const { return {}; }
TWindowStyle TX11Platform::WindowStyleOf(TWindowId) const { return {}; }
TCursor TX11Platform::WindowCursor(TWindowId) const { return crDefault; }
TRect TX11Platform::WindowBounds(TWindowId) const { return {}; }

#endif

TPlatformChoice ChoosePlatform(TPlatformChoice choice)
{
    if (choice == TPlatformChoice::Automatic) {
        const char* asked = std::getenv("PLUMEX_PLATFORM");
        const std::string_view name = asked ? asked : "";
        const char* display = std::getenv("DISPLAY");
        if (name == "headless")
            choice = TPlatformChoice::Headless;
        else if (name == "x11" || (display && *display))
            choice = TPlatformChoice::X11;
        else
            choice = TPlatformChoice::Headless;
    }
    if (choice == TPlatformChoice::X11) {
        if (auto x11 = TX11Platform::Open()) {
            SetPlatform(std::move(x11));
            return TPlatformChoice::X11;
        }
    }
    SetPlatform(std::make_unique<THeadlessPlatform>());
    return TPlatformChoice::Headless;
}

} // namespace plx
