#include "FrameworkFixture.h"

#include "color/host/Bitmap.h"
#include "rtl/Exceptions.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Published.h"
#include "framework/host/Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

std::vector<std::string> g_log;

class LoggingComponent : public TComponent {
public:
    LoggingComponent(TComponent* owner, std::string tag)
        : TComponent(owner)
        , m_tag(std::move(tag))
    {
    }
    ~LoggingComponent() override { g_log.push_back("free " + m_tag); }
    TComponent* watched { nullptr };
    std::string watchedTag;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        // The going component is only a TComponent by now: compare, never downcast.
        if (op == opRemove && c == watched) {
            g_log.push_back(m_tag + " hears " + watchedTag + " go");
            watched = nullptr;
        }
    }

private:
    std::string m_tag;
};

// A windowless control that records what reaches it.
class Probe : public TGraphicControl {
public:
    explicit Probe(TComponent* owner)
        : TGraphicControl(owner)
    {
        SetBounds(10, 10, 50, 30);
    }
    std::vector<std::string> events;
    std::vector<TRect> clips;
    TColor fill { clRed };

protected:
    void Paint() override
    {
        clips.push_back(Canvas().ClipRect());
        Canvas().Brush().SetColor(fill);
        Canvas().FillRect(ClientRect());
    }
    void CMMouseEnter(TMessage& m) override
    {
        events.push_back("enter");
        TGraphicControl::CMMouseEnter(m);
    }
    void CMMouseLeave(TMessage& m) override
    {
        events.push_back("leave");
        TGraphicControl::CMMouseLeave(m);
    }
    void MouseDown(TMouseButton, TShiftState shift, std::int32_t x, std::int32_t y) override
    {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y) + (shift.Contains(ssDouble) ? " double" : ""));
    }
    void MouseUp(TMouseButton, TShiftState, std::int32_t x, std::int32_t y) override
    {
        events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMove(TShiftState, std::int32_t x, std::int32_t y) override { events.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
    void Click() override
    {
        events.push_back("click");
        TGraphicControl::Click();
    }
    void DblClick() override { events.push_back("dblclick"); }
    void CMDialogChar(TMessage& m) override
    {
        if (IsAccel(static_cast<std::uint32_t>(m.WParam), Caption())) {
            events.push_back("accel");
            m.Result = 1;
        }
    }
};

} // namespace

TEST(Ownership, OwnerFreesLastInFirstOutAndNotifies)
{
    g_log.clear();
    {
        auto* owner = new LoggingComponent(nullptr, "owner");
        auto* a = new LoggingComponent(owner, "a");
        auto* b = new LoggingComponent(owner, "b");
        (void)new LoggingComponent(owner, "c");
        a->watched = b;
        a->watchedTag = "b";
        delete b; // a hears it through the owner
        EXPECT_EQ(owner->ComponentCount(), 2);
        delete owner;
    }
    // The owner's own destructor body runs first; then what it owns goes, last in first out.
    EXPECT_EQ(g_log, (std::vector<std::string> { "free b", "a hears b go", "free owner", "free c", "free a" }));
}

TEST(Ownership, FreeNotificationAcrossOwnersAndNames)
{
    g_log.clear();
    auto* x = new LoggingComponent(nullptr, "x");
    auto* y = new LoggingComponent(nullptr, "y");
    x->watched = y;
    x->watchedTag = "y";
    y->FreeNotification(x);
    delete y;
    EXPECT_EQ(g_log.back(), "x hears y go");
    auto* child = new LoggingComponent(x, "child");
    child->SetName("Child1");
    EXPECT_EQ(x->FindComponent("child1"), child) << "names match without regard to case";
    auto* other = new LoggingComponent(x, "other");
    EXPECT_THROW(other->SetName("Child1"), EComponentError);
    EXPECT_THROW(other->SetName("1bad"), EComponentError);
    delete x;
}

TEST_F(FormTest, ParentFreesChildrenAndChildrenLeaveTheirParent)
{
    auto* panel = new TPanel(&Form());
    panel->SetParent(&Form());
    auto* probe = new Probe(&Form());
    probe->SetParent(panel);
    EXPECT_EQ(panel->ControlCount(), 1);
    delete probe;
    EXPECT_EQ(panel->ControlCount(), 0);
    auto* probe2 = new Probe(&Form());
    probe2->SetParent(panel);
    std::int32_t before = Form().ComponentCount();
    delete panel; // takes its child with it, and both leave the owner's list
    EXPECT_EQ(Form().ComponentCount(), before - 2);
}

TEST_F(FormTest, ParentColorAndFontFollowTheParent)
{
    auto* panel = new TPanel(&Form());
    panel->SetParent(&Form());
    auto* probe = new Probe(&Form());
    probe->SetParent(panel);
    EXPECT_EQ(probe->Color(), clBtnFace) << "ParentColor takes the parent's colour";
    panel->SetColor(clTeal);
    EXPECT_EQ(probe->Color(), clTeal);
    probe->SetColor(clRed);
    EXPECT_FALSE(probe->ParentColor());
    panel->SetColor(clNavy);
    EXPECT_EQ(probe->Color(), clRed);
    Form().Font().SetName("Arial");
    EXPECT_EQ(panel->Font().Name(), "Arial");
    EXPECT_EQ(probe->Font().Name(), "Arial");
    EXPECT_TRUE(probe->ParentFont());
}

TEST_F(FormTest, ClickGoesToTheControlUnderThePointerInClientCoordinates)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    int clicks = 0;
    probe->SetOnClick([&](TObject* sender) {
        EXPECT_EQ(sender, probe);
        ++clicks;
    });
    Click({ 15, 12 });
    EXPECT_EQ(clicks, 1);
    ASSERT_GE(probe->events.size(), 3u);
    EXPECT_NE(std::find(probe->events.begin(), probe->events.end(), "down 5,2"), probe->events.end());
    EXPECT_NE(std::find(probe->events.begin(), probe->events.end(), "up 5,2"), probe->events.end());
    Click({ 5, 5 }); // outside the control
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, CaptureKeepsTheMouseUntilReleaseAndNoClickOutside)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    auto* other = new Probe(&Form());
    other->SetParent(&Form());
    other->SetBounds(100, 100, 20, 20);
    Headless().MouseDown(FormTest::Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_TRUE(probe->MouseCapture());
    probe->events.clear();
    Headless().MouseMove(FormTest::Screen({ 105, 105 }));
    Headless().MouseUp(FormTest::Screen({ 105, 105 }));
    Application().ProcessMessages();
    EXPECT_FALSE(probe->MouseCapture());
    EXPECT_NE(std::find(probe->events.begin(), probe->events.end(), "move 95,95"), probe->events.end());
    EXPECT_NE(std::find(probe->events.begin(), probe->events.end(), "up 95,95"), probe->events.end());
    EXPECT_EQ(std::find(probe->events.begin(), probe->events.end(), "click"), probe->events.end());
    for (const auto& e : other->events)
        EXPECT_TRUE(e == "enter" || e == "leave") << "the other control got " << e;
}

TEST_F(FormTest, EnterAndLeaveFollowThePointer)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    Headless().MouseMove(FormTest::Screen({ 1, 1 }));
    Headless().MouseMove(FormTest::Screen({ 20, 20 }));
    Headless().MouseMove(FormTest::Screen({ 25, 25 }));
    Headless().MouseMove(FormTest::Screen({ 200, 150 }));
    Application().ProcessMessages();
    std::vector<std::string> hover;
    for (const auto& e : probe->events)
        if (e == "enter" || e == "leave")
            hover.push_back(e);
    EXPECT_EQ(hover, (std::vector<std::string> { "enter", "leave" }));
    probe->SetEnabled(false);
    probe->events.clear();
    Headless().MouseMove(FormTest::Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(probe->events, (std::vector<std::string> { "enter" })) << "disabled controls still hear enter and leave";
}

TEST_F(FormTest, DoubleClickWithinTheIntervalAndOnlyWithDoubleClicksStyle)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    TPoint s = FormTest::Screen({ 20, 20 });
    Headless().MouseDown(s);
    Headless().MouseUp(s);
    Headless().MouseDown(s);
    Headless().MouseUp(s);
    Application().ProcessMessages();
    EXPECT_NE(std::find(probe->events.begin(), probe->events.end(), "dblclick"), probe->events.end());
    EXPECT_NE(std::find(probe->events.begin(), probe->events.end(), "down 10,10 double"), probe->events.end());
    probe->events.clear();
    Application().AdvanceTime(600);
    Headless().MouseDown(s);
    Headless().MouseUp(s);
    Application().ProcessMessages();
    Application().AdvanceTime(600);
    Headless().MouseDown(s);
    Headless().MouseUp(s);
    Application().ProcessMessages();
    EXPECT_EQ(std::count(probe->events.begin(), probe->events.end(), "click"), 2) << "slow clicks are two clicks";
}

TEST_F(FormTest, AcceleratorsReachDialogChar)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    probe->SetCaption("&Save");
    Headless().Char('x', true);
    Headless().Char('s', true);
    Application().ProcessMessages();
    EXPECT_EQ(std::count(probe->events.begin(), probe->events.end(), "accel"), 1);
    EXPECT_TRUE(IsAccel('S', "&Save"));
    EXPECT_FALSE(IsAccel('S', "&&Save"));
    EXPECT_TRUE(IsAccel('a', "Save &as"));
    EXPECT_FALSE(IsAccel('s', "Save"));
}

TEST_F(FormTest, BroadcastStopsAtTheFirstResult)
{
    auto* a = new Probe(&Form());
    a->SetParent(&Form());
    a->SetCaption("&Go");
    auto* b = new Probe(&Form());
    b->SetParent(&Form());
    b->SetCaption("&Go");
    TMessage m { CM_DIALOGCHAR, 'G', 0, 0 };
    Form().Broadcast(m);
    EXPECT_EQ(m.Result, 1);
    EXPECT_EQ(std::count(a->events.begin(), a->events.end(), "accel") + std::count(b->events.begin(), b->events.end(), "accel"), 1);
}

TEST_F(FormTest, PaintPassPaintsOnlyTheDamagedPart)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    auto* far = new Probe(&Form());
    far->SetParent(&Form());
    far->SetBounds(200, 100, 40, 40);
    Application().ProcessMessages();
    Raster* surface = Form().Surface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->GetColor(10, 10), clRed);
    EXPECT_EQ(surface->GetColor(5, 5), 0xC0C0C0) << "the form's background in button face";
    probe->clips.clear();
    far->clips.clear();
    probe->fill = clBlue;
    probe->Invalidate();
    EXPECT_TRUE(probe->clips.empty()) << "Invalidate only records damage";
    Application().ProcessMessages();
    ASSERT_EQ(probe->clips.size(), 1u);
    EXPECT_EQ(probe->clips[0], Rect(0, 0, 50, 30));
    EXPECT_TRUE(far->clips.empty()) << "a control outside the damage is not painted";
    EXPECT_EQ(surface->GetColor(10, 10), clBlue);
    // A part of the control: the clip is that part only.
    probe->clips.clear();
    Form().InvalidateFormRect(Rect(30, 20, 35, 25));
    Application().ProcessMessages();
    ASSERT_EQ(probe->clips.size(), 1u);
    EXPECT_EQ(probe->clips[0], Rect(20, 10, 25, 15));
}

TEST_F(FormTest, ChildrenAreClippedToTheirParent)
{
    auto* panel = new TPanel(&Form());
    panel->SetParent(&Form());
    panel->SetBounds(0, 0, 40, 40);
    auto* probe = new Probe(&Form());
    probe->SetParent(panel);
    probe->SetBounds(30, 30, 50, 50);
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    EXPECT_EQ(s->GetColor(35, 35), clRed);
    EXPECT_NE(s->GetColor(45, 45), clRed) << "outside the panel";
    EXPECT_EQ(probe->VisibleRectInForm(), Rect(30, 30, 40, 40));
}

TEST_F(FormTest, DrawingOutsideAPaintReachesTheSurface)
{
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    Application().ProcessMessages();
    probe->Canvas().SetPixels(0, 0, clLime);
    EXPECT_EQ(Form().Surface()->GetColor(10, 10), clLime);
    Probe loose(nullptr);
    loose.Canvas().SetPixels(0, 0, clLime); // no parent window: skipped
    EXPECT_FALSE(loose.Canvas().HasSurface());
}

TEST_F(FormTest, TimersTickOnTheVirtualClock)
{
    TTimer timer(nullptr);
    std::vector<std::int64_t> ticks;
    timer.SetInterval(500);
    timer.SetOnTimer([&](TObject*) {
        ticks.push_back(Application().Now());
        timer.SetInterval(100);
    });
    std::int64_t start = Application().Now();
    Application().AdvanceTime(800);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks[0] - start, 500);
    EXPECT_EQ(ticks[1] - start, 600);
    EXPECT_EQ(ticks[3] - start, 800);
    timer.SetEnabled(false);
    Application().AdvanceTime(1000);
    EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(FormTest, ModalDialogDrivenByAShowHook)
{
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 200, 100);
    auto* ok = new Probe(&dialog);
    ok->SetParent(&dialog);
    ok->SetOnClick([&](TObject*) { dialog.SetModalResult(mrOk); });
    bool hookRan = false;
    Application().AddShowHook([&](TCustomForm& shown) {
        if (&shown != &dialog)
            return false;
        hookRan = true;
        EXPECT_TRUE(dialog.Modal());
        TPoint p = ok->ClientToScreen({ 5, 5 });
        Headless().MouseDown(p);
        Headless().MouseUp(p);
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(hookRan);
    EXPECT_FALSE(dialog.Visible());
    // Nothing can close it: a headless modal loop gives up instead of hanging.
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST_F(FormTest, RenderToPaintsAHiddenForm)
{
    TForm hidden(nullptr);
    hidden.SetBounds(0, 0, 60, 40);
    hidden.SetColor(clYellow);
    auto* probe = new Probe(&hidden);
    probe->SetParent(&hidden);
    TBitmap picture;
    hidden.RenderTo(picture);
    EXPECT_EQ(picture.Width(), 60);
    EXPECT_EQ(picture.Canvas().Pixels(0, 0), clYellow);
    EXPECT_EQ(picture.Canvas().Pixels(10, 10), clRed);
}

TEST_F(FormTest, AlignmentLaysOutChildren)
{
    auto* top = new TPanel(&Form());
    top->SetParent(&Form());
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* client = new TPanel(&Form());
    client->SetParent(&Form());
    client->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 300, 200));
    Form().SetBounds(100, 50, 200, 100);
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 200, 100));
}

TEST_F(FormTest, ScreenAndCursor)
{
    Headless().SetScreenSize({ 800, 600 });
    EXPECT_EQ(plx::Screen().Width(), 800);
    EXPECT_EQ(plx::Screen().PixelsPerInch(), 96);
    Headless().MouseMove({ 123, 77 });
    EXPECT_EQ(GetCursorPos(), Point(123, 77));
    auto* probe = new Probe(&Form());
    probe->SetParent(&Form());
    EXPECT_EQ(probe->ClientToScreen({ 0, 0 }), Point(110, 60));
    EXPECT_EQ(probe->ScreenToClient({ 110, 60 }), Point(0, 0));
    EXPECT_EQ(FindDragTarget({ 115, 65 }, false), probe);
    Headless().SetScreenSize({ 1024, 768 });
}

TEST(PublishedTables, WindowedPropertiesOnAWindowlessClassAreRefused)
{
    // Unknown names do not compile; a windowed control's property on a
    // windowless class is refused when the table is built.
    TClassInfoBuilder<TGraphicControl> b("TProbe", &TGraphicControl::StaticClassInfo());
    EXPECT_THROW(PublishInherited(b, { "Align", "TabStop" }), EPropertyError);
    TClassInfoBuilder<TCustomControl> w("TProbe", &TCustomControl::StaticClassInfo());
    PublishInherited(w, { "Align", "TabStop", "OnEnter", "OnClick" });
    const TClassInfo info = w.Build();
    ASSERT_NE(info.FindProperty("TabStop"), nullptr);
    EXPECT_EQ(info.FindProperty("OnEnter")->Kind, TTypeKind::tkMethod);
}
