#include "FrameworkFixture.h"

#include "rtl/Exceptions.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Published.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace plx;

namespace {

std::vector<std::string> g_order;
std::function<void(TComponent&)> g_onLoaded; // what a recorder does when loaded

// Records the order of construction, property reads and Loaded.
class TRecorder : public TGraphicControl {
public:
    explicit TRecorder(TComponent* owner)
        : TGraphicControl(owner)
    {
        g_order.push_back("create");
    }
    [[nodiscard]] std::int32_t Level() const noexcept { return m_level; }
    void SetLevel(std::int32_t v)
    {
        g_order.push_back(std::string("level") + (ComponentState().Contains(csLoading) ? " while loading" : ""));
        m_level = v;
    }
    [[nodiscard]] double Ratio() const noexcept { return m_ratio; }
    void SetRatio(double v) { m_ratio = v; }
    void Loaded() override
    {
        TGraphicControl::Loaded();
        g_order.push_back("loaded");
        if (g_onLoaded)
            g_onLoaded(*this);
    }
    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<TRecorder>("TRecorder", &TGraphicControl::StaticClassInfo())
            .Integer("Level", &TRecorder::Level, &TRecorder::SetLevel)
            .Float("Ratio", &TRecorder::Ratio, &TRecorder::SetRatio)
            .Apply([](auto& b) { PublishInherited(b, { "Align", "Color", "Font", "ParentFont", "PopupMenu", "Visible", "OnClick", "OnMouseDown" }); })
            .Creator([](TComponent* owner) -> TComponent* { return new TRecorder(owner); })
            .Build();
        return info;
    }

private:
    std::int32_t m_level { 0 };
    double m_ratio { 0 };
};

class FormFiles : public ::testing::Test {
protected:
    void SetUp() override { RegisterClass(TRecorder::StaticClassInfo()); }
    void TearDown() override { UnregisterClass(TRecorder::StaticClassInfo()); }
};

const char* kDemo = R"(object Demo: TForm
  Left = 10
  Top = 20
  Caption = 'It''s a demo'#13#10'two lines'
  ClientHeight = 120
  ClientWidth = 200
  Color = clTeal
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 100
    Height = 50
    BevelInner = bvLowered
    Caption = 'Panel1'
    object Rec1: TRecorder
      Left = 2
      Top = 3
      Width = 10
      Height = 10
      Level = 7
      Ratio = 2.5
      Font.Height = -13
      Font.Name = 'Arial'
      Font.Style = [fsBold, fsItalic]
      ParentFont = False
      PopupMenu = Ticker
      OnClick = RecClick
    end
  end
  object Ticker: TTimer
    Interval = 250
  end
end
)";

} // namespace

TEST_F(FormFiles, ALoadedThatFreesAnotherReadComponentIsSafe)
{
    // Rec1's Loaded frees Panel2, read after it: the reader neither calls
    // Panel2's Loaded nor settles its tab order.
    TForm form(nullptr);
    g_onLoaded = [&form](TComponent&) { delete form.FindComponent("Panel2"); };
    ReadComponentText(R"(object Demo: TForm
  object Rec1: TRecorder
    Width = 10
  end
  object Panel2: TPanel
    TabOrder = 0
    object Inner: TPanel
      TabOrder = 0
    end
  end
  object Panel3: TPanel
    TabOrder = 0
  end
end
)", form);
    g_onLoaded = nullptr;
    EXPECT_EQ(form.FindComponent("Panel2"), nullptr);
    EXPECT_EQ(form.FindComponent("Inner"), nullptr);
    ASSERT_NE(form.FindComponent("Panel3"), nullptr);
    EXPECT_EQ(dynamic_cast<TWinControl*>(form.FindComponent("Panel3"))->TabOrder(), 0);
}

TEST_F(FormFiles, ReadBuildsTheTreeInOrderAndCallsLoadedLast)
{
    g_order.clear();
    TForm form(nullptr);
    int clicks = 0;
    form.RegisterHandler("RecClick", TNotifyEvent([&](TObject*) { ++clicks; }));
    ReadComponentText(kDemo, form);
    EXPECT_EQ(form.Name(), "Demo");
    EXPECT_EQ(form.Caption(), "It's a demo\r\ntwo lines");
    EXPECT_EQ(form.ClientWidth(), 200);
    EXPECT_EQ(form.Color(), clTeal);
    auto* panel = dynamic_cast<TPanel*>(form.FindComponent("Panel1"));
    auto* rec = dynamic_cast<TRecorder*>(form.FindComponent("Rec1"));
    auto* timer = dynamic_cast<TTimer*>(form.FindComponent("Ticker"));
    ASSERT_TRUE(panel && rec && timer);
    EXPECT_EQ(rec->Parent(), panel);
    EXPECT_EQ(rec->Owner(), &form);
    EXPECT_EQ(rec->Level(), 7);
    EXPECT_EQ(rec->Ratio(), 2.5);
    EXPECT_EQ(rec->Font().Name(), "Arial");
    EXPECT_TRUE(rec->Font().Style().Contains(fsItalic));
    EXPECT_EQ(rec->PopupMenu(), timer) << "references resolve after everything is read";
    EXPECT_EQ(timer->Interval(), 250u);
    EXPECT_EQ(g_order, (std::vector<std::string> { "create", "level while loading", "loaded" }));
    EXPECT_FALSE(rec->ComponentState().Contains(csLoading));
    rec->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(rec->EventBinding("OnClick"), "RecClick");
}

TEST_F(FormFiles, WriteReadWriteGivesTheSameText)
{
    TForm form(nullptr);
    ReadComponentText(kDemo, form);
    auto* rec = dynamic_cast<TRecorder*>(form.FindComponent("Rec1"));
    TBitmap glyph(3, 2);
    glyph.Canvas().SetPixels(1, 1, clRed);
    auto* image = new TImage(&form);
    image->SetName("Image1");
    image->SetParent(&form);
    image->Picture().Assign(&glyph);
    (void)rec;
    std::string first = WriteComponentText(form);
    EXPECT_NE(first.find("  object Panel1: TPanel\n"), std::string::npos);
    EXPECT_NE(first.find("    object Rec1: TRecorder\n"), std::string::npos);
    EXPECT_NE(first.find("Caption = 'It''s a demo'#13#10'two lines'"), std::string::npos);
    EXPECT_NE(first.find("Font.Style = [fsBold, fsItalic]"), std::string::npos);
    EXPECT_NE(first.find("Picture.Data = {"), std::string::npos);
    EXPECT_EQ(first.find("Visible"), std::string::npos) << "values equal to their default are not written";
    TForm again(nullptr);
    ReadComponentText(first, again);
    EXPECT_EQ(WriteComponentText(again), first);
    auto* copy = dynamic_cast<TImage*>(again.FindComponent("Image1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Picture().Canvas().Pixels(1, 1), clRed);
}

TEST_F(FormFiles, MalformedFilesNameTheLineAndFreeWhatWasBuilt)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { "object F: TForm\n  Caption = 'open\nend\n", "Line 2: Unterminated string" },
        { "object F: TForm\n  object X: TNoSuchClass\n  end\nend\n", "Line 2: Class TNoSuchClass not found" },
        { "object F: TForm\n  Colour = clRed\nend\n", "Line 2: Property Colour does not exist" },
        { "object F: TForm\n  Color = clPurplish\nend\n", "Line 2: 'clPurplish' is not a valid value for Color" },
        { "object F: TForm\n  BorderStyle = bsRound\nend\n", "Line 2: 'bsRound' is not a value of TFormBorderStyle" },
        { "object F: TForm\n  Caption = 12\nend\n", "Line 2: Invalid property value for Caption" },
        { "object F: TForm\n  Caption 'x'\nend\n", "Line 2: '=' expected after Caption" },
        { "object F: TForm\n  object P: TPanel\n", "Line 3: 'end' expected" },
        { "object F: TForm\n  object T: TTimer\n    object R: TRecorder\n    end\n  end\nend\n", "Line 3: Control R cannot be placed on T" },
        { "object F: TForm\n  object R: TRecorder\n    PopupMenu = Nobody\n  end\nend\n", "Line 3: Component Nobody not found" },
        { "object F: TForm\n  object P: TPanel\n  end\n  object P: TPanel\n  end\nend\n", "Line 4: A component named P already exists" },
        { "object F: TForm\n  Font.Style = [fsBold, fsWide]\nend\n", "Line 2: 'fsWide' is not a value of TFontStyle" },
        { "object F: TForm\nend\nobject G: TForm\nend\n", "Line 3: Text after the end of the root object" },
    };
    for (const Case& c : cases) {
        TForm form(nullptr);
        std::int32_t before = form.ComponentCount();
        try {
            ReadComponentText(c.text, form);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EReadError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(form.ComponentCount(), before) << c.text;
        EXPECT_FALSE(form.ComponentState().Contains(csLoading));
    }
}

TEST_F(FormFiles, HandlersBindByNameAndType)
{
    const char* text = "object F: TForm\n  object R: TRecorder\n    OnClick = Clicked\n  end\nend\n";
    TForm wrongType(nullptr);
    wrongType.RegisterHandler("Clicked", TMouseEvent([](TObject*, TMouseButton, TShiftState, int, int) { }));
    try {
        ReadComponentText(text, wrongType);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(std::string(e.what()), "Line 3: Handler Clicked does not fit OnClick (TNotifyEvent)");
    }
    TForm missing(nullptr);
    TFormReadOptions strict;
    strict.strictHandlers = true;
    EXPECT_THROW(ReadComponentText(text, missing, strict), EReadError);
    TForm lenient(nullptr);
    ReadComponentText(text, lenient);
    auto* rec = dynamic_cast<TRecorder*>(lenient.FindComponent("R"));
    ASSERT_NE(rec, nullptr);
    EXPECT_FALSE(rec->OnClick());
    EXPECT_NE(WriteComponentText(lenient).find("OnClick = Clicked"), std::string::npos) << "the name survives a round trip";
}

TEST_F(FormFiles, RootCreatedFromTheRegistryAndFreedOnError)
{
    std::unique_ptr<TComponent> form(ReadComponentFromText("object Main: TMainForm\n  Caption = 'x'\nend\n", nullptr));
    ASSERT_NE(dynamic_cast<TForm*>(form.get()), nullptr) << "an application's own form class reads as a TForm";
    EXPECT_EQ(static_cast<TForm*>(form.get())->Caption(), "x");
    EXPECT_THROW((void)ReadComponentFromText("object Main: TForm\n  Bogus = 1\nend\n", nullptr), EReadError);
}
