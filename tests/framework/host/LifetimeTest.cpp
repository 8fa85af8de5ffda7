// Event handlers free components, their own sender and form included; the
// framework never touches a freed component afterwards. Each program here once
// read freed memory (run them under the sanitizer build).
#include "FrameworkFixture.h"

#include "framework/host/ExtCtrls.h"
#include "framework/host/Timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

// A form that counts its frees.
class TrackedForm : public TForm {
public:
    TrackedForm(TComponent* owner, int& frees)
        : TForm(owner)
        , m_frees(frees)
    {
        SetBounds(400, 300, 200, 100);
    }
    ~TrackedForm() override { ++m_frees; }

private:
    int& m_frees;
};

// A panel that counts its frees.
class TrackedPanel : public TPanel {
public:
    TrackedPanel(TComponent* owner, TWinControl* parent, int& frees)
        : TPanel(owner)
        , m_frees(frees)
    {
        SetParent(parent);
        SetBounds(10, 10, 50, 30);
    }
    ~TrackedPanel() override { ++m_frees; }

private:
    int& m_frees;
};

class LifetimeTest : public FormTest {
protected:
    static void Press(TPoint screen)
    {
        Headless().MouseMove(screen);
        Headless().MouseDown(screen);
        Headless().MouseUp(screen);
        Application().ProcessMessages();
    }
};

} // namespace

TEST_F(LifetimeTest, ReleasedFormsAreFreedOnceAlsoWhenOneOwnsTheOther)
{
    for (bool ownerFirst : { true, false }) {
        int frees = 0;
        auto* owner = new TrackedForm(nullptr, frees);
        auto* owned = new TrackedForm(owner, frees);
        owner->Show();
        owned->Show();
        Application().ProcessMessages();
        const std::int32_t forms = plx::Screen().FormCount();
        if (ownerFirst) {
            owner->Release();
            owned->Release();
        } else {
            owned->Release();
            owner->Release();
        }
        EXPECT_EQ(frees, 0) << "released forms live until the message is handled";
        Application().ProcessMessages();
        EXPECT_EQ(frees, 2);
        EXPECT_EQ(plx::Screen().FormCount(), forms - 2);
    }
}

TEST_F(LifetimeTest, OnDestroyStillFindsTheFormsComponentsByName)
{
    int frees = 0;
    auto* form = new TrackedForm(nullptr, frees);
    auto* edit = new TPanel(form);
    edit->SetName("Edit1");
    edit->SetParent(form);
    TComponent* found = nullptr;
    // By OnDestroy the form is no more than a TCustomForm.
    form->SetOnDestroy([&](TObject* sender) { found = static_cast<TCustomForm*>(sender)->FindComponent("edit1"); });
    delete form;
    EXPECT_EQ(found, edit);
    EXPECT_EQ(frees, 1);
}

TEST_F(LifetimeTest, ReleasingAModalFormEndsItsLoopAndFreesItAfterShowModal)
{
    int frees = 0;
    auto* dialog = new TrackedForm(nullptr, frees);
    auto* timer = new TTimer(dialog);
    timer->SetInterval(100);
    timer->SetOnTimer([dialog](TObject*) { dialog->Release(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(frees, 0) << "freed only after ShowModal has returned";
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Application().ModalForm(), nullptr);
    Application().ProcessMessages();
    EXPECT_EQ(frees, 1);

    // A result set before Release is the one ShowModal returns.
    dialog = new TrackedForm(nullptr, frees);
    timer = new TTimer(dialog);
    timer->SetInterval(100);
    timer->SetOnTimer([dialog](TObject*) {
        dialog->SetModalResult(mrOk);
        dialog->Release();
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    Application().ProcessMessages();
    EXPECT_EQ(frees, 2);
}

TEST_F(LifetimeTest, AModalFormFreedInsideItsLoopEndsShowModalWithCancel)
{
    int frees = 0;
    auto* dialog = new TrackedForm(nullptr, frees);
    TTimer timer(nullptr);
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        delete dialog;
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(frees, 1);
    EXPECT_EQ(Application().ModalForm(), nullptr);

    // Freed by its own OnShow, before the loop starts.
    dialog = new TrackedForm(nullptr, frees);
    dialog->SetOnShow([&](TObject*) { delete dialog; });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(frees, 2);
}

TEST_F(LifetimeTest, FocusLeavesAControlTakenOffTheFormWithItsContainer)
{
    int frees = 0;
    auto* panel = new TrackedPanel(&Form(), &Form(), frees);
    auto* inner = new TrackedPanel(&Form(), panel, frees);
    Form().SetActiveControl(inner);
    std::vector<std::string> log;
    inner->SetOnExit([&](TObject*) { log.push_back("exit inner"); });
    panel->SetParent(nullptr);
    EXPECT_EQ(Form().ActiveControl(), nullptr);
    EXPECT_EQ(log, std::vector<std::string> { "exit inner" });
    delete panel;
    EXPECT_EQ(frees, 2);

    auto* other = new TPanel(&Form());
    other->SetParent(&Form());
    int keys = 0;
    other->SetOnKeyPress([&](TObject*, char&) { ++keys; });
    Form().SetActiveControl(other); // no OnExit may reach the freed inner panel
    Headless().Char('a');
    Application().ProcessMessages();
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(log.size(), 1u);

    // Freeing the container itself: the focus goes with it, silently.
    auto* box = new TrackedPanel(&Form(), &Form(), frees);
    auto* focused = new TrackedPanel(&Form(), box, frees);
    Form().SetActiveControl(focused);
    focused->SetOnExit([&](TObject*) { log.push_back("exit focused"); });
    delete box;
    EXPECT_EQ(frees, 4);
    EXPECT_EQ(Form().ActiveControl(), nullptr);
    Headless().Char('b');
    Headless().KeyDown('B');
    Application().ProcessMessages();
    EXPECT_EQ(log.size(), 1u) << "a control being freed hears no OnExit";
}

TEST_F(LifetimeTest, AlignmentSurvivesOnResizeAddingAndFreeingSiblings)
{
    auto* top = new TPanel(&Form());
    top->SetParent(&Form());
    top->SetHeight(20);
    top->SetAlign(alTop);
    auto* fill = new TPanel(&Form());
    fill->SetParent(&Form());
    fill->SetAlign(alClient);
    std::vector<TPanel*> added;
    top->SetOnResize([&](TObject*) {
        // Enough new siblings that the parent's list is reallocated.
        while (added.size() < 40) {
            auto* p = new TPanel(&Form());
            p->SetHeight(4);
            p->SetAlign(alTop);
            p->SetParent(&Form());
            added.push_back(p);
        }
    });
    Form().SetBounds(100, 50, 250, 200); // top is resized by the layout
    ASSERT_EQ(added.size(), 40u);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 250, 20));
    for (std::size_t i = 0; i < added.size(); ++i)
        EXPECT_EQ(added[i]->BoundsRect(), Rect(0, 20 + 4 * static_cast<int>(i), 250, 24 + 4 * static_cast<int>(i))) << i;
    EXPECT_EQ(fill->BoundsRect(), Rect(0, 180, 250, 200));

    // Shrinking: the first aligned panel frees the others while it is placed.
    top->SetOnResize([&](TObject*) {
        for (TPanel* p : added)
            delete p;
        added.clear();
    });
    Form().SetBounds(100, 50, 220, 200);
    EXPECT_EQ(Form().ControlCount(), 2);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 220, 20));
    EXPECT_EQ(fill->BoundsRect(), Rect(0, 20, 220, 200));

    // A handler that frees the parent being laid out.
    auto* outer = new TPanel(&Form());
    outer->SetParent(&Form());
    auto* child = new TPanel(&Form());
    child->SetParent(outer);
    child->SetAlign(alClient);
    child->SetOnResize([&](TObject*) { delete outer; });
    outer->SetBounds(0, 50, 100, 100);
    EXPECT_EQ(Form().ControlCount(), 2);
}

TEST_F(LifetimeTest, AShowHookMayFreeOtherJustShownForms)
{
    int frees = 0;
    auto* first = new TrackedForm(nullptr, frees);
    auto* second = new TrackedForm(nullptr, frees);
    auto* third = new TrackedForm(nullptr, frees);
    std::vector<TCustomForm*> hooked;
    Application().AddShowHook([&](TCustomForm& f) {
        hooked.push_back(&f);
        if (&f != first)
            return false;
        delete second;
        return true;
    });
    // The hook that frees the form it is given: later hooks do not see it.
    Application().AddShowHook([&](TCustomForm& f) {
        if (&f != third)
            return false;
        delete third;
        return true;
    });
    first->Show();
    second->Show();
    third->Show();
    Application().ProcessMessages();
    EXPECT_EQ(frees, 2);
    EXPECT_EQ(hooked, std::vector<TCustomForm*> { first });
    delete first;
}

TEST_F(LifetimeTest, AControlFreedByItsOwnMouseEventIsNotTouchedAgain)
{
    using Arm = std::function<void(TPanel*, std::function<void()>)>;
    const std::vector<std::pair<std::string, Arm>> events {
        { "OnClick", [](TPanel* p, std::function<void()> f) { p->SetOnClick([f](TObject*) { f(); }); } },
        { "OnDblClick", [](TPanel* p, std::function<void()> f) { p->SetOnDblClick([f](TObject*) { f(); }); } },
        { "OnMouseDown", [](TPanel* p, std::function<void()> f) { p->SetOnMouseDown([f](TObject*, TMouseButton, TShiftState, int, int) { f(); }); } },
        { "OnMouseUp", [](TPanel* p, std::function<void()> f) { p->SetOnMouseUp([f](TObject*, TMouseButton, TShiftState, int, int) { f(); }); } },
        { "OnMouseMove", [](TPanel* p, std::function<void()> f) { p->SetOnMouseMove([f](TObject*, TShiftState, int, int) { f(); }); } },
    };
    for (const auto& [name, arm] : events) {
        int frees = 0;
        auto* panel = new TrackedPanel(&Form(), &Form(), frees);
        arm(panel, [panel] { delete panel; });
        Press(FormTest::Screen({ 20, 20 }));
        Press(FormTest::Screen({ 20, 20 })); // a double click
        Application().AdvanceTime(1000);
        EXPECT_EQ(frees, 1) << name;
        EXPECT_EQ(Application().CaptureControl(), nullptr) << name;
        EXPECT_EQ(Application().HoverControl(), &Form()) << name;
    }

    // A button that frees its whole form.
    int frees = 0;
    auto* form = new TrackedForm(nullptr, frees);
    form->Show();
    auto* button = new TPanel(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 50, 30);
    button->SetOnClick([form](TObject*) { delete form; });
    Application().ProcessMessages();
    Press({ 420, 320 });
    EXPECT_EQ(frees, 1);
}

TEST_F(LifetimeTest, FormsFreedByTheirOwnShowResizeCloseAndKeyEvents)
{
    int frees = 0;
    auto* form = new TrackedForm(nullptr, frees);
    form->SetOnShow([&](TObject*) { delete form; });
    form->Show();
    Application().ProcessMessages();
    EXPECT_EQ(frees, 1);

    form = new TrackedForm(nullptr, frees);
    form->SetOnResize([&](TObject*) { delete form; });
    form->Show();
    form->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(frees, 2);

    form = new TrackedForm(nullptr, frees);
    form->Show();
    Application().ProcessMessages();
    form->SetOnClose([&](TObject*, TCloseAction&) { delete form; });
    Headless().Close(form->WindowId());
    Application().ProcessMessages();
    EXPECT_EQ(frees, 3);

    // Keys: the focused control's handler, then the form's preview.
    for (bool preview : { false, true }) {
        form = new TrackedForm(nullptr, frees);
        auto* focused = new TPanel(form);
        focused->SetParent(form);
        form->SetActiveControl(focused);
        form->Show();
        Application().ProcessMessages();
        if (preview) {
            form->SetKeyPreview(true);
            form->SetOnKeyDown([&](TObject*, std::uint16_t&, TShiftState) { delete form; });
            Headless().KeyDown('X');
        } else {
            focused->SetOnKeyPress([&](TObject*, char&) { delete form; });
            Headless().Char('x');
        }
        Application().ProcessMessages();
    }
    EXPECT_EQ(frees, 5);
}

TEST_F(LifetimeTest, DragHandlersMayFreeTheSourceOrTheTarget)
{
    for (bool freeSource : { true, false }) {
        int frees = 0;
        auto* source = new TrackedPanel(&Form(), &Form(), frees);
        source->SetDragMode(dmAutomatic);
        auto* target = new TrackedPanel(&Form(), &Form(), frees);
        target->SetBounds(100, 100, 50, 30);
        target->SetOnDragOver([](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; });
        target->SetOnDragDrop([&](TObject*, TObject*, int, int) {
            if (freeSource)
                delete source;
            else
                delete target;
        });
        int ends = 0;
        source->SetOnEndDrag([&](TObject*, TObject*, int, int) { ++ends; });
        Headless().MouseDown(FormTest::Screen({ 20, 20 }));
        Headless().MouseMove(FormTest::Screen({ 110, 110 }));
        Headless().MouseUp(FormTest::Screen({ 110, 110 }));
        Application().ProcessMessages();
        EXPECT_EQ(frees, 1);
        EXPECT_EQ(ends, freeSource ? 0 : 1);
        EXPECT_EQ(Application().DragSource(), nullptr);
        delete (freeSource ? static_cast<TControl*>(target) : source);
    }
}

TEST_F(LifetimeTest, TimersAndFreeNotificationsMayFreeEachOther)
{
    // Two timers due together: whichever ticks first frees the other.
    auto* a = new TTimer(nullptr);
    auto* b = new TTimer(nullptr);
    int ticks = 0;
    for (TTimer* t : { a, b }) {
        t->SetInterval(100);
        t->SetOnTimer([&, t](TObject*) {
            ++ticks;
            delete (t == a ? b : a);
            (t == a ? b : a) = nullptr;
        });
    }
    Application().AdvanceTime(100);
    EXPECT_EQ(ticks, 1);
    delete (a ? a : b);

    // Two components told about a third: whichever hears first frees the other.
    struct Watcher : TComponent {
        Watcher(std::vector<Watcher*>& alive)
            : TComponent(nullptr)
            , m_alive(alive)
        {
            alive.push_back(this);
        }
        ~Watcher() override { std::erase(m_alive, this); }
        Watcher* partner { nullptr };
        void Notification(TComponent*, TOperation op) override
        {
            if (op != opRemove)
                return;
            if (Watcher* p = std::exchange(partner, nullptr)) {
                p->partner = nullptr;
                delete p;
            }
        }
        std::vector<Watcher*>& m_alive;
    };
    std::vector<Watcher*> alive;
    auto* watched = new TComponent(nullptr);
    auto* x = new Watcher(alive);
    auto* y = new Watcher(alive);
    x->partner = y;
    y->partner = x;
    watched->FreeNotification(x);
    watched->FreeNotification(y);
    delete watched;
    ASSERT_EQ(alive.size(), 1u);
    delete alive.front();
}
