#include "FrameworkFixture.h"

#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/Timer.h"
#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace plx;

TEST(Application, ExistsOnceAndRepeatedStartsOnlyCount)
{
    // The test program runs inside the package, which started the control layer.
    ASSERT_TRUE(InitializedApplication());
    TApplication* first = &Application();
    InitializeControls();
    EXPECT_EQ(&Application(), first);
    FinalizeControls();
    EXPECT_TRUE(InitializedApplication()) << "the balancing finalisation is still to come";
    EXPECT_EQ(&Application(), first);
}

TEST(Application, ExeNameIsTheRunningProgram)
{
    const std::string exe = Application().ExeName();
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(std::filesystem::path(exe), std::filesystem::canonical("/proc/self/exe"));
    EXPECT_EQ(ExtractFileName(exe), "plumex_framework_tests");
    EXPECT_EQ(Application().Title(), "plumex_framework_tests");
    Application().SetTitle("Gallery");
    EXPECT_EQ(Application().Title(), "Gallery");
}

namespace {

// A control whose painting fails.
class BrokenPicture : public TGraphicControl {
public:
    explicit BrokenPicture(TComponent* owner)
        : TGraphicControl(owner)
    {
        SetBounds(10, 10, 40, 40);
    }
    std::function<void()> fail { [] { throw EInvalidGraphic("broken picture"); } };

protected:
    void Paint() override
    {
        Canvas().Brush().SetColor(clYellow);
        Canvas().FillRect(ClientRect());
        fail();
    }
};

// A windowed control whose painting fails before its children are painted.
class BrokenBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override { throw std::runtime_error("box failed"); }
};

class ApplicationErrors : public plx::test::FormTest {
protected:
    void TearDown() override
    {
        Application().SetOnException(nullptr);
        FormTest::TearDown();
    }
};

} // namespace

TEST_F(ApplicationErrors, APaintThatFailsIsShownAndTheRestIsStillPainted)
{
    auto* broken = new BrokenPicture(&Form());
    broken->SetParent(&Form());
    auto* after = new TPanel(&Form()); // above it in z-order
    after->SetParent(&Form());
    after->SetBounds(100, 10, 40, 40);
    after->SetBevelOuter(bvNone);
    after->SetColor(clRed);
    auto* box = new BrokenBox(&Form());
    box->SetParent(&Form());
    box->SetBounds(200, 10, 60, 60);
    auto* inBox = new TPanel(&Form());
    inBox->SetParent(box);
    inBox->SetBounds(5, 5, 20, 20);
    inBox->SetBevelOuter(bvNone);
    inBox->SetColor(clLime);

    const std::int64_t shown = Application().ExceptionsShown();
    EXPECT_NO_THROW(Application().ProcessMessages());
    Raster* s = Form().Surface();
    EXPECT_EQ(s->GetColor(20, 20), clYellow) << "what it drew before failing stays";
    EXPECT_EQ(s->GetColor(110, 20), clRed);
    EXPECT_EQ(s->GetColor(210, 20), clLime) << "the children of a failed control are painted";
    EXPECT_EQ(Application().ExceptionsShown(), shown + 2);
    EXPECT_FALSE(broken->ControlState().Contains(csPainting));
    EXPECT_FALSE(box->ControlState().Contains(csPainting));

    // With OnException the application's handler hears it instead, with the sender.
    std::vector<std::pair<TObject*, std::string>> heard;
    Application().SetOnException([&](TObject* sender, const Exception& e) { heard.emplace_back(sender, e.Message()); });
    box->Hide();
    broken->Invalidate();
    Application().ProcessMessages();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, broken);
    EXPECT_EQ(heard[0].second, "broken picture");
    box->Show();
    Application().ProcessMessages();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].second, "box failed") << "other exceptions arrive with their message";
    EXPECT_EQ(Application().ExceptionsShown(), shown + 2);

    // A handler that fails itself: its exception is shown, nothing escapes.
    Application().SetOnException([](TObject*, const Exception&) { throw EInvalidOperation("handler failed"); });
    broken->fail = [] { throw 42; };
    broken->Invalidate();
    EXPECT_NO_THROW(Application().ProcessMessages());
    EXPECT_EQ(Application().LastExceptionMessage(), "handler failed");
    EXPECT_EQ(Application().ExceptionsShown(), shown + 3);
}

TEST_F(ApplicationErrors, HandleExceptionOutsideACatchDoesNothing)
{
    const std::int64_t shown = Application().ExceptionsShown();
    Application().HandleException(nullptr);
    EXPECT_EQ(Application().ExceptionsShown(), shown);
    try {
        throw EConvertError("bad number");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    EXPECT_EQ(Application().LastExceptionMessage(), "bad number");
    EXPECT_EQ(Application().ExceptionsShown(), shown + 1);
}

TEST_F(ApplicationErrors, AFailingClickOrTimerIsShownAndTheLoopGoesOn)
{
    std::vector<std::pair<TObject*, std::string>> heard;
    Application().SetOnException([&](TObject* sender, const Exception& e) { heard.emplace_back(sender, e.Message()); });
    auto* failing = new TButton(&Form());
    failing->SetParent(&Form());
    failing->SetBounds(10, 10, 80, 25);
    failing->SetOnClick([](TObject*) { throw EConvertError("'x' is not a valid integer value"); });
    auto* working = new TButton(&Form());
    working->SetParent(&Form());
    working->SetBounds(10, 50, 80, 25);
    int clicks = 0;
    working->SetOnClick([&](TObject*) { ++clicks; });

    // Both presses are queued before the loop runs: the second is still handled.
    for (TPoint p : { TPoint { 20, 20 }, TPoint { 20, 60 } }) {
        test::Headless().MouseMove(Screen(p));
        test::Headless().MouseDown(Screen(p));
        test::Headless().MouseUp(Screen(p));
    }
    EXPECT_NO_THROW(Application().ProcessMessages());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, &Form()) << "the sender is the form the event went to";
    EXPECT_EQ(heard[0].second, "'x' is not a valid integer value");
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(failing->MouseCapture()) << "the failed click left no capture behind";

    // A failing timer keeps running and fails again at its next tick.
    auto* timer = new TTimer(&Form());
    timer->SetInterval(100);
    timer->SetOnTimer([](TObject*) { throw std::runtime_error("tick failed"); });
    EXPECT_NO_THROW(Application().AdvanceTime(250));
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[1].first, timer);
    EXPECT_EQ(heard[2].second, "tick failed");
    EXPECT_TRUE(timer->Enabled());
}
