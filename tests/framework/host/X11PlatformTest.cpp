#include "framework/host/ExtCtrls.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/Timer.h"
#include "utils/APIMan.h"

#include "XServer.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace plx::test {

namespace {

//! A panel that remembers every message it gets.
class TRecordingPanel : public TPanel {
public:
    using TPanel::TPanel;
    void WndProc(TMessage& message) override
    {
        messages.push_back(message);
        TPanel::WndProc(message);
    }
    [[nodiscard]] std::size_t Count(std::uint32_t msg) const
    {
        return static_cast<std::size_t>(std::count_if(messages.begin(), messages.end(), [msg](const TMessage& m) { return m.Msg == msg; }));
    }
    std::vector<TMessage> messages;
};

//! A form that remembers the keys and characters it is given.
class TRecordingForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_KEYDOWN)
            keys.push_back(static_cast<std::uint32_t>(message.WParam));
        if (message.Msg == WM_CHAR)
            chars.push_back(static_cast<std::uint32_t>(message.WParam));
        if (message.Msg == CM_DIALOGCHAR)
            accelerators.push_back(static_cast<std::uint32_t>(message.WParam));
        TForm::WndProc(message);
    }
    std::vector<std::uint32_t> keys;
    std::vector<std::uint32_t> chars;
    std::vector<std::uint32_t> accelerators; //!< characters offered to the form's accelerators
};

//! A window property of 32-bit items (atoms, windows), empty when absent.
std::vector<unsigned long> Property(const detail::TXlib& x, Display* d, Window w, const char* name, Atom type)
{
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (x.XGetWindowProperty(d, w, x.XInternAtom(d, name, False), 0, 64, False, type, &actual, &format, &count, &after, &data) == Success
        && data) {
        if (format == 32)
            items.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
        x.XFree(data);
    }
    return items;
}

std::string StringProperty(const detail::TXlib& x, Display* d, Window w, const char* name)
{
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (x.XGetWindowProperty(d, w, x.XInternAtom(d, name, False), 0, 1024, False, AnyPropertyType, &actual, &format, &count, &after, &data)
            == Success
        && data) {
        if (format == 8)
            text.assign(reinterpret_cast<char*>(data), count);
        x.XFree(data);
    }
    return text;
}

//! A form of host controls at (60, 40), 320 x 220, with a panel to click.
class X11FormTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        m_form = std::make_unique<TRecordingForm>(nullptr);
        m_form->SetBounds(60, 40, 320, 220);
        m_form->SetCaption("Plumex on X11");
        m_panel = new TRecordingPanel(m_form.get());
        m_panel->SetParent(m_form.get());
        m_panel->SetBounds(20, 20, 120, 60);
        m_panel->SetCaption("&Press me");
        auto* label = new TLabel(m_form.get());
        label->SetParent(m_form.get());
        label->SetBounds(160, 30, 100, 20);
        label->SetCaption("A label");
        auto* bevel = new TBevel(m_form.get());
        bevel->SetParent(m_form.get());
        bevel->SetBounds(20, 100, 280, 100);
        bevel->SetShape(bsFrame);
        ASSERT_TRUE(ShowAndWait(*m_form));
    }
    void TearDown() override
    {
        m_form.reset();
        X11Test::TearDown();
    }
    TRecordingForm& Form() { return *m_form; }
    TRecordingPanel& Panel() { return *m_panel; }
    //! A point of the form's client area on the screen.
    TPoint At(TPoint client) const { return { m_form->Left() + client.X, m_form->Top() + client.Y }; }
    Window Native() { return static_cast<Window>(X11().NativeWindow(m_form->WindowId())); }

private:
    std::unique_ptr<TRecordingForm> m_form;
    TRecordingPanel* m_panel { nullptr };
};

} // namespace

// ---- Windows and pixels ----------------------------------------------------------

TEST_F(X11FormTest, AShownFormIsPixelIdenticalToItsHeadlessRendering)
{
    EXPECT_EQ(ServerDifference(Form()), "");
    EXPECT_TRUE(X11().UsesSharedMemory()) << "Xvfb on this machine offers MIT-SHM";
}

TEST_F(X11FormTest, AChangedControlReachesTheServerThroughThePaintPass)
{
    Panel().SetColor(clRed);
    Panel().SetCaption("Changed");
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(X11FormTest, PartsUncoveredByAnotherWindowArePaintedAgain)
{
    TForm cover(nullptr);
    cover.SetBounds(100, 80, 200, 150);
    cover.SetColor(clFuchsia);
    ASSERT_TRUE(ShowAndWait(cover));
    cover.Hide();
    // The server keeps nothing of what was under the cover: the form paints it from the Expose events.
    EXPECT_EQ(ServerDifference(Form()), "");
}

class X11PlainRequestsTest : public X11Test {
protected:
    void SetUp() override { Start(false); }
};

TEST_F(X11PlainRequestsTest, WithoutSharedMemoryPicturesGoThroughXPutImage)
{
    EXPECT_FALSE(X11().UsesSharedMemory());
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 120);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 100, 50);
    panel->SetColor(clYellow);
    ASSERT_TRUE(ShowAndWait(form));
    EXPECT_EQ(ServerDifference(form), "");
    panel->SetColor(clBlue);
    EXPECT_EQ(ServerDifference(form), "");
}

TEST_F(X11FormTest, CaptionPositionAndScreenComeFromTheServer)
{
    EXPECT_EQ(StringProperty(X(), Dpy(), Native(), "_NET_WM_NAME"), "Plumex on X11");
    Form().SetCaption("Grüße");
    X11().Sync();
    EXPECT_EQ(StringProperty(X(), Dpy(), Native(), "_NET_WM_NAME"), "Grüße");

    Window child = 0;
    int x = 0, y = 0;
    X().XTranslateCoordinates(Dpy(), Native(), DefaultRootWindow(Dpy()), 0, 0, &x, &y, &child);
    EXPECT_EQ(TPoint(x, y), TPoint(60, 40));
    EXPECT_EQ(Screen().Width(), 800);
    EXPECT_EQ(Screen().Height(), 600);
    MoveTo({ 123, 45 });
    X11().Sync();
    EXPECT_EQ(GetCursorPos(), TPoint(123, 45));
}

TEST_F(X11FormTest, AWindowMovedOrSizedByTheServerMovesAndSizesTheForm)
{
    // What a window manager or the user does to the window.
    X().XMoveResizeWindow(Dpy(), Native(), 90, 70, 300, 180);
    X().XFlush(Dpy());
    ASSERT_TRUE(PumpUntil([&] { return Form().Left() == 90 && Form().Top() == 70 && Form().Width() == 300 && Form().Height() == 180; }))
        << Form().Left() << ", " << Form().Top() << ", " << Form().Width() << " x " << Form().Height();
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(X11FormTest, ScreenCentredFormsAreCentredOnTheServersScreen)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(poScreenCenter);
    ASSERT_TRUE(ShowAndWait(form));
    Window child = 0;
    int x = 0, y = 0;
    X().XTranslateCoordinates(Dpy(), static_cast<Window>(X11().NativeWindow(form.WindowId())), DefaultRootWindow(Dpy()), 0, 0, &x, &y, &child);
    EXPECT_EQ(TPoint(x, y), TPoint(300, 250));
}

TEST_F(X11FormTest, BorderStylesReachTheWindowManagerHints)
{
    TForm dialog(nullptr);
    dialog.SetBounds(10, 10, 150, 90);
    dialog.SetBorderStyle(bsDialog);
    ASSERT_TRUE(ShowAndWait(dialog));
    const auto window = static_cast<Window>(X11().NativeWindow(dialog.WindowId()));
    const auto type = Property(X(), Dpy(), window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    ASSERT_EQ(type.size(), 1u);
    EXPECT_EQ(type[0], X().XInternAtom(Dpy(), "_NET_WM_WINDOW_TYPE_DIALOG", False));
    // A dialog keeps its size: the minimum and the maximum are the size.
    const auto hints = Property(X(), Dpy(), window, "WM_NORMAL_HINTS", XA_WM_SIZE_HINTS);
    ASSERT_GE(hints.size(), 9u);
    EXPECT_TRUE(hints[0] & PMinSize);
    EXPECT_TRUE(hints[0] & PMaxSize);
    EXPECT_EQ(hints[5], 150u); // min width
    EXPECT_EQ(hints[7], 150u); // max width

    TForm bare(nullptr);
    bare.SetBounds(10, 10, 50, 50);
    bare.SetBorderStyle(bsNone);
    ASSERT_TRUE(ShowAndWait(bare));
    const auto motif = Property(X(), Dpy(), static_cast<Window>(X11().NativeWindow(bare.WindowId())), "_MOTIF_WM_HINTS", AnyPropertyType);
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[2], 0u) << "no decorations";
}

// ---- Input ----------------------------------------------------------------------

TEST_F(X11FormTest, ClicksSentThroughTheServerReachTheControl)
{
    int clicks = 0, doubles = 0;
    Panel().SetOnClick([&](TObject*) { ++clicks; });
    Panel().SetOnDblClick([&](TObject*) { ++doubles; });
    Click(At({ 50, 40 }));
    // A second press at once is a double click, by the control layer's rule.
    Click(At({ 51, 40 }));
    ASSERT_TRUE(PumpUntil([&] { return doubles == 1; }));
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(Panel().Count(WM_LBUTTONDBLCLK), 1u);
    // A right button and a middle one arrive as themselves.
    Click(At({ 60, 40 }), Button3);
    Click(At({ 60, 40 }), Button2);
    EXPECT_TRUE(PumpUntil([&] { return Panel().Count(WM_RBUTTONUP) == 1 && Panel().Count(WM_MBUTTONUP) == 1; }));
}

TEST_F(X11FormTest, ADragKeepsThePointerWithTheControlThatWasPressed)
{
    std::vector<TPoint> moves;
    Panel().SetOnMouseMove([&](TObject*, TShiftState, std::int32_t x, std::int32_t y) { moves.push_back({ x, y }); });
    bool released = false;
    TPoint releasedAt;
    Panel().SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
        released = true;
        releasedAt = { x, y };
    });
    MoveTo(At({ 30, 30 }));
    Button(Button1, true);
    ASSERT_TRUE(PumpUntil([&] { return Panel().MouseCapture(); }));
    // Far outside the panel, and outside the window: the panel still hears it.
    MoveTo(At({ 200, 150 }));
    MoveTo(At({ 400, 300 }));
    ASSERT_TRUE(PumpUntil([&] { return !moves.empty() && moves.back() == TPoint(400 - 20, 300 - 20); }))
        << (moves.empty() ? std::string("no move") : std::to_string(moves.back().X) + ", " + std::to_string(moves.back().Y));
    Button(Button1, false);
    ASSERT_TRUE(PumpUntil([&] { return released; }));
    EXPECT_EQ(releasedAt, TPoint(380, 280));
    EXPECT_FALSE(Panel().MouseCapture());
}

TEST_F(X11FormTest, KeysArriveWithTheirVirtualKeysAndText)
{
    Form().SetKeyPreview(true);
    MoveTo(At({ 250, 150 }));
    Pump(50);
    Key(XK_Shift_L, true);
    Tap(XK_a);
    Key(XK_Shift_L, false);
    Tap(XK_b);
    Tap(XK_Left);
    ASSERT_TRUE(PumpUntil([&] { return Form().keys.size() >= 4 && Form().chars.size() >= 2; }));
    EXPECT_EQ(Form().keys, (std::vector<std::uint32_t> { 0x10, 'A', 'B', 0x25 }));
    EXPECT_EQ(Form().chars, (std::vector<std::uint32_t> { 'A', 'b' }));
}

TEST_F(X11FormTest, KeyEventsComeAsDownCharacterUp)
{
    MoveTo(At({ 250, 150 }));
    Pump(50);
    X11().Sync();
    TPlatformEvent e;
    while (X11().PollEvent(e)) {
    }
    Key(XK_Control_L, true);
    Tap(XK_c);
    Key(XK_Control_L, false);
    Tap(XK_Delete);
    X11().Sync();
    std::vector<std::pair<TPlatformEventKind, std::uint32_t>> seen;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (seen.size() < 7 && std::chrono::steady_clock::now() < end) {
        X11().WaitForEvent(10);
        while (X11().PollEvent(e))
            if (e.kind == TPlatformEventKind::KeyDown || e.kind == TPlatformEventKind::KeyUp || e.kind == TPlatformEventKind::Char)
                seen.emplace_back(e.kind, e.key);
    }
    using K = TPlatformEventKind;
    // Ctrl+C types the control character 3, as the host's keyboard does; Delete types nothing.
    EXPECT_EQ(seen, (std::vector<std::pair<K, std::uint32_t>> {
                        { K::KeyDown, 0x11 }, { K::KeyDown, 'C' }, { K::Char, 3 }, { K::KeyUp, 'C' }, { K::KeyUp, 0x11 }, { K::KeyDown, 0x2E },
                        { K::KeyUp, 0x2E } }));
}

TEST_F(X11FormTest, KeysOutsideLatinOneArriveAsTheirCharacters)
{
    // The keyboard gets a key for the euro sign and one for e acute, in place of F11 and F12.
    const KeyCode euroKey = X().XKeysymToKeycode(Dpy(), XK_F11);
    const KeyCode acuteKey = X().XKeysymToKeycode(Dpy(), XK_F12);
    ASSERT_NE(euroKey, 0);
    ASSERT_NE(acuteKey, 0);
    int perKey = 0;
    KeySym* saved = X().XGetKeyboardMapping(Dpy(), euroKey, 1, &perKey);
    KeySym* savedAcute = X().XGetKeyboardMapping(Dpy(), acuteKey, 1, &perKey);
    ASSERT_TRUE(saved && savedAcute && perKey > 0);
    std::vector<KeySym> euro(static_cast<std::size_t>(perKey), 0x10020AC);
    std::vector<KeySym> acute(static_cast<std::size_t>(perKey), XK_eacute);
    X().XChangeKeyboardMapping(Dpy(), euroKey, perKey, euro.data(), 1);
    X().XChangeKeyboardMapping(Dpy(), acuteKey, perKey, acute.data(), 1);
    X().XSync(Dpy(), False);
    MoveTo(At({ 250, 150 }));
    Pump(100);
    Tap(0x10020AC);
    Tap(XK_eacute);
    const bool arrived = PumpUntil([&] { return Form().chars.size() >= 2; });
    X().XChangeKeyboardMapping(Dpy(), euroKey, perKey, saved, 1);
    X().XChangeKeyboardMapping(Dpy(), acuteKey, perKey, savedAcute, 1);
    X().XFree(saved);
    X().XFree(savedAcute);
    X().XSync(Dpy(), False);
    ASSERT_TRUE(arrived) << Form().chars.size();
    EXPECT_EQ(Form().chars, (std::vector<std::uint32_t> { 0x20AC, 0xE9 }));
}

TEST_F(X11FormTest, AltWithALetterIsAnAccelerator)
{
    MoveTo(At({ 250, 150 }));
    Pump(50);
    Key(XK_Alt_L, true);
    Tap(XK_p);
    Key(XK_Alt_L, false);
    ASSERT_TRUE(PumpUntil([&] { return !Form().accelerators.empty(); }));
    EXPECT_EQ(Form().accelerators.front(), static_cast<std::uint32_t>('p'));
    EXPECT_TRUE(Form().chars.empty()) << "a letter typed with Alt is not typed text";
}

TEST_F(X11FormTest, TheWheelGoesToTheControlUnderThePointer)
{
    MoveTo(At({ 50, 40 }));
    Click(At({ 50, 40 }), 4);
    Click(At({ 50, 40 }), 5);
    ASSERT_TRUE(PumpUntil([&] { return Panel().Count(WM_MOUSEWHEEL) == 2; }));
    std::vector<std::int16_t> deltas;
    for (const TMessage& m : Panel().messages)
        if (m.Msg == WM_MOUSEWHEEL)
            deltas.push_back(static_cast<std::int16_t>((m.WParam >> 16) & 0xFFFF));
    EXPECT_EQ(deltas, (std::vector<std::int16_t> { 120, -120 }));
    EXPECT_EQ(Panel().Count(WM_LBUTTONDOWN), 0u) << "wheel notches are not presses";
}

TEST_F(X11FormTest, EnteringAndLeavingTheWindowEntersAndLeavesTheControl)
{
    MoveTo(At({ 50, 40 }));
    ASSERT_TRUE(PumpUntil([&] { return Panel().Count(CM_MOUSEENTER) == 1; }));
    MoveTo({ 700, 500 }); // off the window
    ASSERT_TRUE(PumpUntil([&] { return Panel().Count(CM_MOUSELEAVE) == 1; }));
    EXPECT_EQ(Application().HoverControl(), nullptr);
}

TEST_F(X11FormTest, ThePointerTakesTheShapeOfTheControlUnderIt)
{
    Panel().SetCursor(crHandPoint);
    MoveTo(At({ 50, 40 }));
    ASSERT_TRUE(PumpUntil([&] { return X11().WindowCursor(Form().WindowId()) == crHandPoint; }));
    MoveTo(At({ 250, 150 }));
    ASSERT_TRUE(PumpUntil([&] { return X11().WindowCursor(Form().WindowId()) == crDefault; }));
    Screen().SetCursor(crHourGlass);
    MoveTo(At({ 50, 40 }));
    EXPECT_TRUE(PumpUntil([&] { return X11().WindowCursor(Form().WindowId()) == crHourGlass; }));
    Screen().SetCursor(crDefault);
}

// ---- Time -----------------------------------------------------------------------

TEST_F(X11FormTest, ATimerFiresInRealTime)
{
    TTimer timer(nullptr);
    std::int64_t firedAfter = -1;
    const auto start = std::chrono::steady_clock::now();
    timer.SetInterval(150);
    timer.SetOnTimer([&](TObject*) {
        if (firedAfter < 0)
            firedAfter = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    });
    timer.SetEnabled(true);
    const auto end = start + std::chrono::seconds(5);
    while (firedAfter < 0 && std::chrono::steady_clock::now() < end)
        Application().HandleMessage(); // sleeps on the connection until the timer is due
    EXPECT_GE(firedAfter, 140);
    EXPECT_LE(firedAfter, 1500);
}

// ---- Modal dialogs, pop-ups and moving windows -----------------------------------

TEST_F(X11FormTest, ClosingAModalDialogsWindowEndsItsLoopWithCancel)
{
    TForm dialog(nullptr);
    dialog.SetBounds(100, 100, 200, 120);
    dialog.SetBorderStyle(bsDialog);
    std::vector<unsigned long> transientFor, state;
    Application().AddShowHook([&](TCustomForm& shown) {
        if (&shown != &dialog)
            return false;
        const auto window = static_cast<Window>(X11().NativeWindow(dialog.WindowId()));
        transientFor = Property(X(), Dpy(), window, "WM_TRANSIENT_FOR", XA_WINDOW);
        state = Property(X(), Dpy(), window, "_NET_WM_STATE", XA_ATOM);
        // What a window manager sends when the user closes the window.
        XEvent e {};
        e.xclient.type = ClientMessage;
        e.xclient.window = window;
        e.xclient.message_type = X().XInternAtom(Dpy(), "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(X().XInternAtom(Dpy(), "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        X().XSendEvent(Dpy(), window, False, NoEventMask, &e);
        X().XFlush(Dpy());
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    ASSERT_EQ(transientFor.size(), 1u);
    EXPECT_EQ(transientFor[0], Native()) << "the dialog belongs to the form shown before it";
    ASSERT_EQ(state.size(), 1u);
    EXPECT_EQ(state[0], X().XInternAtom(Dpy(), "_NET_WM_STATE_MODAL", False));
    EXPECT_FALSE(X11().IsWindowVisible(dialog.WindowId()));
}

TEST_F(X11FormTest, PopupFormTogglesARealWindowBelowTheControl)
{
    TForm popup(nullptr);
    popup.SetBounds(0, 0, 100, 80);
    PopupForm(popup, Panel());
    ASSERT_TRUE(PumpUntil([&] { return !popup.HasDamage(); }));
    Window child = 0;
    int x = 0, y = 0;
    const auto window = static_cast<Window>(X11().NativeWindow(popup.WindowId()));
    ASSERT_TRUE(PumpUntil([&] {
        X().XTranslateCoordinates(Dpy(), window, DefaultRootWindow(Dpy()), 0, 0, &x, &y, &child);
        return TPoint(x, y) == TPoint(60 + 20 + 120 - 100, 40 + 20 + 60);
    })) << x << ", " << y;
    PopupForm(popup, Panel());
    XWindowAttributes a {};
    EXPECT_TRUE(PumpUntil([&] { return X().XGetWindowAttributes(Dpy(), window, &a) && a.map_state == IsUnmapped; }));
}

TEST_F(X11FormTest, DragFormMovesTheWindowWithThePointer)
{
    Panel().SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { DragForm(Form().WindowId()); });
    bool released = false;
    Panel().SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { released = true; });
    MoveTo(At({ 30, 30 }));
    Button(Button1, true);
    Pump(100);
    MoveTo({ 60 + 30 + 40, 40 + 30 + 25 });
    ASSERT_TRUE(PumpUntil([&] { return Form().Left() == 100 && Form().Top() == 65; })) << Form().Left() << ", " << Form().Top();
    Button(Button1, false);
    ASSERT_TRUE(PumpUntil([&] { return released; }));
    EXPECT_EQ(Application().ButtonsDown(), 0);
    Window child = 0;
    int x = 0, y = 0;
    X().XTranslateCoordinates(Dpy(), Native(), DefaultRootWindow(Dpy()), 0, 0, &x, &y, &child);
    EXPECT_EQ(TPoint(x, y), TPoint(100, 65));
}

TEST_F(X11FormTest, AFormFreedFromItsOwnEventLeavesNoWindow)
{
    const std::int32_t forms = Screen().FormCount();
    auto* other = new TForm(nullptr);
    other->SetBounds(300, 300, 120, 80);
    ASSERT_TRUE(ShowAndWait(*other));
    const auto window = static_cast<Window>(X11().NativeWindow(other->WindowId()));
    auto* button = new TPanel(other);
    button->SetParent(other);
    button->SetBounds(0, 0, 120, 80);
    button->SetOnClick([other](TObject*) { delete other; });
    Click({ 330, 330 });
    ASSERT_TRUE(PumpUntil([&] { return Screen().FormCount() == forms; }));
    XWindowAttributes a {};
    EXPECT_EQ(X().XGetWindowAttributes(Dpy(), window, &a), 0) << "the server has no such window any more";
}

// ---- Choosing the platform ---------------------------------------------------------

TEST(PlatformChoice, HeadlessWhenAskedOrWithoutADisplay)
{
    auto previous = SetPlatform(nullptr);
    EXPECT_EQ(ChoosePlatform(TPlatformChoice::Headless), TPlatformChoice::Headless);
    EXPECT_NE(dynamic_cast<THeadlessPlatform*>(&CurrentPlatform()), nullptr);
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    unsetenv("PLUMEX_PLATFORM");
    EXPECT_EQ(ChoosePlatform(), TPlatformChoice::Headless);
    setenv("DISPLAY", ":32767", 1); // nobody answers there
    EXPECT_EQ(ChoosePlatform(), TPlatformChoice::Headless);
    if (TXServer::Instance().Running()) {
        setenv("DISPLAY", TXServer::Instance().Display().c_str(), 1);
        EXPECT_EQ(ChoosePlatform(), TPlatformChoice::X11);
        setenv("PLUMEX_PLATFORM", "headless", 1);
        EXPECT_EQ(ChoosePlatform(), TPlatformChoice::Headless);
        unsetenv("PLUMEX_PLATFORM");
    }
    if (saved.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", saved.c_str(), 1);
    SetPlatform(std::move(previous));
}

} // namespace plx::test
