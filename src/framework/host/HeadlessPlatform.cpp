#include "framework/host/HeadlessPlatform.h"

#include "rtl/Exceptions.h"

namespace plx {

namespace {

std::unique_ptr<TPlatform>& Installed()
{
    static std::unique_ptr<TPlatform> platform;
    return platform;
}

} // namespace

TPlatform& CurrentPlatform()
{
    auto& p = Installed();
    if (!p)
        p = std::make_unique<THeadlessPlatform>();
    return *p;
}

std::unique_ptr<TPlatform> SetPlatform(std::unique_ptr<TPlatform> platform)
{
    auto previous = std::move(Installed());
    Installed() = std::move(platform);
    return previous;
}

void TPlatform::SetWindowStyle(TWindowId, const TWindowStyle&) { }

void TPlatform::SetWindowCursor(TWindowId, TCursor) { }

THeadlessPlatform::THeadlessPlatform() = default;

TWindowId THeadlessPlatform::CreateWindow(const TRect& bounds, const std::string& caption)
{
    TWindowId id = m_next++;
    Window w;
    w.bounds = bounds;
    w.caption = caption;
    w.surface = std::make_unique<Raster>();
    w.surface->SetSize(bounds.Width(), bounds.Height());
    m_windows.emplace(id, std::move(w));
    return id;
}

TWindowId THeadlessPlatform::CreatePopupWindow(const TRect& bounds)
{
    TWindowId id = CreateWindow(bounds, {});
    m_windows[id].popup = true;
    return id;
}

void THeadlessPlatform::DestroyWindow(TWindowId window)
{
    m_windows.erase(window);
    if (m_capture == window)
        m_capture = 0;
    std::erase_if(m_events, [window](const TPlatformEvent& e) { return e.window == window; });
}

void THeadlessPlatform::ShowWindow(TWindowId window, bool visible)
{
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    if (visible && !it->second.visible)
        it->second.order = ++m_order;
    it->second.visible = visible;
}

bool THeadlessPlatform::IsWindowVisible(TWindowId window) const
{
    auto it = m_windows.find(window);
    return it != m_windows.end() && it->second.visible;
}

void THeadlessPlatform::SetWindowBounds(TWindowId window, const TRect& bounds)
{
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    it->second.bounds = bounds;
    it->second.surface->SetSize(bounds.Width(), bounds.Height());
}

void THeadlessPlatform::SetWindowCaption(TWindowId window, const std::string& caption)
{
    if (auto it = m_windows.find(window); it != m_windows.end())
        it->second.caption = caption;
}

Raster& THeadlessPlatform::Surface(TWindowId window)
{
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        throw EInvalidOperation("Unknown window " + std::to_string(window));
    return *it->second.surface;
}

TRect THeadlessPlatform::WindowBounds(TWindowId window) const
{
    auto it = m_windows.find(window);
    return it == m_windows.end() ? TRect {} : it->second.bounds;
}

std::string THeadlessPlatform::WindowCaption(TWindowId window) const
{
    auto it = m_windows.find(window);
    return it == m_windows.end() ? std::string() : it->second.caption;
}

TWindowId THeadlessPlatform::WindowAt(TPoint screen) const
{
    TWindowId best = 0;
    std::uint64_t bestOrder = 0;
    for (const auto& [id, w] : m_windows)
        if (w.visible && w.bounds.Contains(screen) && w.order >= bestOrder) {
            best = id;
            bestOrder = w.order;
        }
    return best;
}

TWindowId THeadlessPlatform::ActiveWindow() const
{
    TWindowId best = 0;
    std::uint64_t bestOrder = 0;
    for (const auto& [id, w] : m_windows)
        if (w.visible && !w.popup && w.order >= bestOrder) {
            best = id;
            bestOrder = w.order;
        }
    return best;
}

void THeadlessPlatform::QueuePointer(TPlatformEventKind kind, TPoint screen, TPlatformButton button, bool shift, bool ctrl)
{
    m_cursor = screen;
    TWindowId target = m_capture ? m_capture : WindowAt(screen);
    if (!target)
        return;
    TRect b = WindowBounds(target);
    TPlatformEvent e;
    e.kind = kind;
    e.window = target;
    e.point = { screen.X - b.Left, screen.Y - b.Top };
    e.button = button;
    e.shift = shift;
    e.ctrl = ctrl;
    m_events.push_back(e);
}

void THeadlessPlatform::MouseMove(TPoint screen)
{
    QueuePointer(TPlatformEventKind::MouseMove, screen, TPlatformButton::None, false, false);
}

void THeadlessPlatform::MouseDown(TPoint screen, TPlatformButton button, bool shift, bool ctrl)
{
    QueuePointer(TPlatformEventKind::MouseDown, screen, button, shift, ctrl);
}

void THeadlessPlatform::MouseUp(TPoint screen, TPlatformButton button)
{
    QueuePointer(TPlatformEventKind::MouseUp, screen, button, false, false);
}

void THeadlessPlatform::Char(std::uint32_t code, bool alt)
{
    TPlatformEvent e;
    e.kind = TPlatformEventKind::Char;
    e.window = ActiveWindow();
    e.key = code;
    e.alt = alt;
    if (e.window)
        m_events.push_back(e);
}

void THeadlessPlatform::QueueKey(TPlatformEventKind kind, std::uint32_t key, bool shift, bool ctrl, bool alt)
{
    TPlatformEvent e;
    e.kind = kind;
    e.window = ActiveWindow();
    e.key = key;
    e.shift = shift;
    e.ctrl = ctrl;
    e.alt = alt;
    if (e.window)
        m_events.push_back(e);
}

void THeadlessPlatform::KeyDown(std::uint32_t key, bool shift, bool ctrl, bool alt)
{
    QueueKey(TPlatformEventKind::KeyDown, key, shift, ctrl, alt);
}

void THeadlessPlatform::KeyUp(std::uint32_t key, bool shift, bool ctrl, bool alt)
{
    QueueKey(TPlatformEventKind::KeyUp, key, shift, ctrl, alt);
}

void THeadlessPlatform::Close(TWindowId window)
{
    TPlatformEvent e;
    e.kind = TPlatformEventKind::Close;
    e.window = window;
    m_events.push_back(e);
}

bool THeadlessPlatform::PollEvent(TPlatformEvent& event)
{
    if (m_events.empty())
        return false;
    event = m_events.front();
    m_events.pop_front();
    return true;
}

} // namespace plx
