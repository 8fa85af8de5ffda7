// plumex-designer driven as a user drives it: the pointer on the palette, the
// form and the inspector, the keyboard, the context menu; and by scripts.
#include "color/host/Bitmap.h"
#include "designer/DesignOverlay.h"
#include "designer/DesignerApp.h"
#include "designer/Inspector.h"
#include "designer/Palette.h"
#include "designer/PopupList.h"
#include "designer/Script.h"
#include "framework/host/DesignIntf.h"
#include "framework/host/HeadlessPlatform.h"
#include "framework/host/Packages.h"
#include "framework/host/StdCtrls.h"
#include "rtl/Exceptions.h"
#include "TestStrings.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace plx;
using namespace plx::designer;
using test::Headless;
using test::MessageOf;

namespace {

const std::string kPackage = PLUMEX_PACKAGE_FILE;

class Designer : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app = std::make_unique<TDesignerApp>();
        m_app->LoadPackage(kPackage);
        m_app->Designer().NewForm(400, 300);
        m_app->Show();
    }
    void TearDown() override
    {
        m_app.reset();
        test::ResetInput();
    }

    TDesignerApp& App() { return *m_app; }
    TFormDesigner& Model() { return m_app->Designer(); }
    TForm& Form() { return Model().Form(); }
    //! A point of the form's client area on the screen.
    TPoint OnForm(TPoint p) { return Form().ClientToScreen(p); }

    void Down(TPoint s, TPlatformButton b = TPlatformButton::Left)
    {
        Headless().MouseDown(s, b);
        m_app->ProcessMessages();
    }
    void Move(TPoint s)
    {
        Headless().MouseMove(s);
        m_app->ProcessMessages();
    }
    void Up(TPoint s, TPlatformButton b = TPlatformButton::Left)
    {
        Headless().MouseUp(s, b);
        m_app->ProcessMessages();
    }
    void Click(TPoint s, TPlatformButton b = TPlatformButton::Left)
    {
        Application().AdvanceTime(1000);
        Down(s, b);
        Up(s, b);
    }
    void DoubleClick(TPoint s)
    {
        Application().AdvanceTime(1000);
        Down(s);
        Up(s);
        Down(s);
        Up(s);
    }
    void Drag(TPoint from, TPoint to)
    {
        Application().AdvanceTime(1000);
        Down(from);
        Move({ (from.X + to.X) / 2, (from.Y + to.Y) / 2 });
        Move(to);
        Up(to);
    }
    void Type(TCustomForm& window, const std::string& text)
    {
        for (unsigned char c : text) {
            TPlatformEvent e;
            e.kind = TPlatformEventKind::Char;
            e.window = window.WindowId();
            e.key = c;
            window.HandleEvent(e);
        }
        m_app->ProcessMessages();
    }
    void Press(TCustomForm& window, std::uint32_t key)
    {
        TPlatformEvent e;
        e.kind = TPlatformEventKind::KeyDown;
        e.window = window.WindowId();
        e.key = key;
        window.HandleEvent(e);
        m_app->ProcessMessages();
    }
    //! The palette button of a class, on the screen.
    TPoint PaletteButton(const std::string& className)
    {
        const auto& entries = App().Palette().Entries();
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const TPaletteEntry& e) { return e.Class->Name() == className; });
        EXPECT_NE(it, entries.end()) << className;
        const TRect r = App().Palette().ButtonRect(static_cast<std::size_t>(it - entries.begin()) + 1);
        return App().Palette().ClientToScreen({ r.Left + r.Width() / 2, r.Top + r.Height() / 2 });
    }
    TPoint InInspector(const TRect& r) { return App().Inspector().ClientToScreen({ r.Left + r.Width() / 2, r.Top + r.Height() / 2 }); }
    TControl& Control(const char* name) { return dynamic_cast<TControl&>(*Model().FindComponent(name)); }
    std::string Run(const std::string& script)
    {
        std::ostringstream out;
        TDesignerScript(*m_app, out).Run(script, "test");
        return out.str();
    }

private:
    std::unique_ptr<TDesignerApp> m_app;
};

TEST_F(Designer, PaletteButtonThenAPressOnTheFormDropsTheComponentThere)
{
    Click(PaletteButton("TArtLabel"));
    EXPECT_EQ(Model().PendingClass(), "TArtLabel");
    Click(OnForm({ 30, 40 }));
    TControl& label = Control("ArtLabel1");
    EXPECT_EQ(label.Left(), 30);
    EXPECT_EQ(label.Top(), 40);
    EXPECT_EQ(Model().Selected(), &label);
    EXPECT_TRUE(Model().PendingClass().empty()) << "back to selecting";
    EXPECT_TRUE(label.ComponentState().Contains(csDesigning));

    // Dragging out a rectangle gives the size too.
    Click(PaletteButton("TKnGradient"));
    Drag(OnForm({ 200, 150 }), OnForm({ 260, 190 }));
    EXPECT_EQ(Control("KnGradient1").BoundsRect(), Rect(200, 150, 260, 190));
    EXPECT_TRUE(Model().FormModified());
}

TEST_F(Designer, SelectionShowsHandlesAndTheFormViewOtherwiseEqualsTheForm)
{
    TControl& gradient = dynamic_cast<TControl&>(Model().Drop("TKnGradient", { 20, 30 }, TSize { 100, 80 }));
    Model().Select(nullptr);
    TBitmap plain;
    Form().RenderTo(plain);
    const std::string file = testing::TempDir() + "view.bmp";
    App().SaveFormView(file);
    TBitmap view;
    view.LoadFromFile(file);
    ASSERT_EQ(view.Width(), plain.Width());
    for (std::int32_t y = 0; y < view.Height(); y += 7)
        for (std::int32_t x = 0; x < view.Width(); x += 7)
            ASSERT_EQ(view.Image().GetColor(x, y), plain.Image().GetColor(x, y)) << x << ", " << y;

    Click(OnForm({ 60, 60 }));
    EXPECT_EQ(Model().Selected(), &gradient);
    App().SaveFormView(file);
    view.LoadFromFile(file);
    const auto handles = Model().Overlay()->HandleRects();
    ASSERT_TRUE(handles);
    EXPECT_EQ((*handles)[0], Rect(18, 28, 23, 33)) << "centred on the top-left corner";
    for (const TRect& h : *handles)
        EXPECT_EQ(view.Image().GetColor(h.Left + 2, h.Top + 2), clBlack);
    Click(OnForm({ 300, 250 }));
    EXPECT_EQ(Model().Selected(), &Form()) << "a press on the bare form selects the form";
    EXPECT_FALSE(Model().Overlay()->HandleRects());
    std::remove(file.c_str());
}

TEST_F(Designer, DraggingMovesAndHandlesResize)
{
    TControl& label = dynamic_cast<TControl&>(Model().Drop("TArtLabel", { 50, 50 }, TSize { 100, 40 }));
    Drag(OnForm({ 60, 60 }), OnForm({ 90, 100 }));
    EXPECT_EQ(label.BoundsRect(), Bounds(80, 90, 100, 40));
    const TRect bottomRight = (*Model().Overlay()->HandleRects())[static_cast<std::size_t>(THandle::BottomRight)];
    Drag(OnForm({ bottomRight.Left + 2, bottomRight.Top + 2 }), OnForm({ bottomRight.Left + 22, bottomRight.Top + 12 }));
    EXPECT_EQ(label.BoundsRect(), Bounds(80, 90, 120, 50));
    const TRect left = (*Model().Overlay()->HandleRects())[static_cast<std::size_t>(THandle::Left)];
    Drag(OnForm({ left.Left + 2, left.Top + 2 }), OnForm({ left.Left + 500, left.Top + 2 }));
    EXPECT_EQ(label.BoundsRect(), Rect(199, 90, 200, 140)) << "an edge dragged past the other stops a pixel before it";

    // A press that does not move does not move the control.
    const TRect before = label.BoundsRect();
    Click(OnForm({ 199, 100 }));
    EXPECT_EQ(label.BoundsRect(), before);
    // The keyboard moves and deletes the selection.
    Press(Form(), 39);
    EXPECT_EQ(label.Left(), 200);
    Press(Form(), 46);
    EXPECT_EQ(Model().FindComponent("ArtLabel1"), nullptr);
}

TEST_F(Designer, ComponentsDroppedOnAPanelGoInsideIt)
{
    TControl& panel = dynamic_cast<TControl&>(Model().Drop("TPanel", { 100, 100 }, TSize { 200, 150 }));
    TControl& label = dynamic_cast<TControl&>(Model().Drop("TArtLabel", { 120, 130 }));
    EXPECT_EQ(label.Parent(), &panel);
    EXPECT_EQ(label.Left(), 20);
    EXPECT_EQ(Model().ControlAt({ 125, 135 }), &label);
    EXPECT_EQ(Model().ControlAt({ 101, 101 }), &panel);
}

TEST_F(Designer, DoubleClickRunsTheComponentEditorsDefaultAction)
{
    Model().Drop("TArtLabel", { 10, 10 }, TSize { 100, 40 });
    DoubleClick(OnForm({ 20, 20 }));
    EXPECT_EQ(Model().FindComponent("ArtLabel1")->EventBinding("OnClick"), "ArtLabel1Click");
    EXPECT_EQ(App().Status(), "Event handler ArtLabel1Click");
    EXPECT_NE(Model().FormText().find("OnClick = ArtLabel1Click"), std::string::npos);
}

TEST_F(Designer, ContextMenuListsTheVerbsThenTheDesignersCommands)
{
    Model().Drop("TKnGradient", { 10, 10 }, TSize { 50, 50 });
    Model().Drop("TBackground", { 100, 10 }, TSize { 50, 50 });
    Click(OnForm({ 20, 20 }), TPlatformButton::Right);
    ASSERT_NE(App().ContextMenu(), nullptr);
    EXPECT_EQ(App().ContextMenu()->Items(), (std::vector<std::string> { "&About The Author", "&Edit Gradient Fill", "-",
                                                "Bring to &Front", "Send to &Back", "&Delete" }));
    EXPECT_EQ(Model().Selected(), Model().FindComponent("KnGradient1"));
    Click(OnForm({ 350, 280 }));
    EXPECT_EQ(App().ContextMenu(), nullptr) << "a press elsewhere closes the menu";

    Click(OnForm({ 110, 20 }), TPlatformButton::Right);
    TPopupList* menu = App().ContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Items().front(), "&About The Author");
    EXPECT_EQ(menu->Items().size(), 5u);
    const TRect deleteItem = menu->ItemRect(4);
    Click(menu->ClientToScreen({ deleteItem.Left + 5, deleteItem.Top + 5 }));
    EXPECT_EQ(Model().FindComponent("Background1"), nullptr);
    EXPECT_EQ(App().ContextMenu(), nullptr) << "a choice closes the menu";
}

TEST_F(Designer, InspectorListsThePublishedPropertiesInOrder)
{
    Model().Drop("TKnGradient", { 10, 10 });
    App().Inspector().Refresh();
    std::vector<std::string> names;
    for (const TInspectorRow& row : App().Inspector().Rows())
        names.push_back(row.Name);
    EXPECT_EQ(names, (std::vector<std::string> { "Name", "Tag", "Left", "Top", "Width", "Height", "Cursor", "Hint", "Gradient",
                         "Color", "Align", "Visible" }));
    const TInspectorRow gradient = App().Inspector().Rows()[8];
    EXPECT_EQ(gradient.Value, "(TGradient)");
    EXPECT_TRUE(gradient.Expandable);
    EXPECT_TRUE(gradient.HasDialog) << "TGradient's own editor";

    Click(InInspector(App().Inspector().TabRect(TInspectorTab::Events)));
    names.clear();
    for (const TInspectorRow& row : App().Inspector().Rows())
        names.push_back(row.Name);
    EXPECT_EQ(names, (std::vector<std::string> { "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp" }));
}

TEST_F(Designer, InspectorExpandsTheGradientAndSetsItsColoursFromAList)
{
    TComponent& gradient = Model().Drop("TKnGradient", { 10, 10 });
    TInspector& inspector = App().Inspector();
    inspector.Refresh();
    const std::int32_t row = inspector.RowIndex("Gradient");
    Click(InInspector(inspector.ExpandRect(row)));
    const std::int32_t color1 = inspector.RowIndex("Gradient.Color1");
    ASSERT_GT(color1, row);
    EXPECT_EQ(inspector.Rows()[static_cast<std::size_t>(color1)].Level, 1);
    EXPECT_TRUE(inspector.Rows()[static_cast<std::size_t>(color1)].HasValues);

    Click(InInspector(inspector.ValueRect(color1)));
    TPopupList* list = inspector.ValueList();
    ASSERT_NE(list, nullptr);
    const auto& items = list->Items();
    const auto red = std::find(items.begin(), items.end(), "clRed");
    ASSERT_NE(red, items.end());
    const TRect item = list->ItemRect(static_cast<std::int32_t>(red - items.begin()));
    Click(list->ClientToScreen({ item.Left + 4, item.Top + 4 }));
    EXPECT_EQ(Model().PropertyValue(gradient, "Gradient.Color1"), "clRed");
    EXPECT_EQ(inspector.Rows()[static_cast<std::size_t>(inspector.RowIndex("Gradient.Color1"))].Value, "clRed");

    Click(InInspector(inspector.ExpandRect(inspector.RowIndex("Gradient"))));
    EXPECT_EQ(inspector.RowIndex("Gradient.Color1"), -1) << "collapsed";
}

TEST_F(Designer, InspectorTakesTypedValuesAndKeepsARefusedOne)
{
    TControl& label = dynamic_cast<TControl&>(Model().Drop("TArtLabel", { 10, 10 }));
    TInspector& inspector = App().Inspector();
    inspector.Refresh();
    Click(InInspector(inspector.ValueRect(inspector.RowIndex("Left"))));
    ASSERT_TRUE(inspector.Editing());
    EXPECT_EQ(inspector.EditText(), "10");
    Press(App().InspectorWindow(), 8);
    Press(App().InspectorWindow(), 8);
    Type(App().InspectorWindow(), "33");
    Press(App().InspectorWindow(), 13);
    EXPECT_EQ(label.Left(), 33);
    EXPECT_FALSE(inspector.Editing());

    Click(InInspector(inspector.ValueRect(inspector.RowIndex("Top"))));
    Press(App().InspectorWindow(), 8);
    Press(App().InspectorWindow(), 8);
    Type(App().InspectorWindow(), "x1");
    Press(App().InspectorWindow(), 13);
    EXPECT_EQ(label.Top(), 10);
    EXPECT_TRUE(inspector.Editing()) << "the refused text stays to be corrected";
    EXPECT_EQ(inspector.EditText(), "x1");
    EXPECT_NE(App().Status().find("'x1' is not"), std::string::npos) << App().Status();
    Press(App().InspectorWindow(), 27);
    EXPECT_FALSE(inspector.Editing());

    Click(InInspector(inspector.ValueRect(inspector.RowIndex("Name"))));
    Press(App().InspectorWindow(), 8);
    Type(App().InspectorWindow(), "X");
    Press(App().InspectorWindow(), 13);
    EXPECT_EQ(label.Name(), "ArtLabelX");
}

TEST_F(Designer, InspectorTypesIntoTheHostsEditOverTheValue)
{
    TControl& label = dynamic_cast<TControl&>(Model().Drop("TArtLabel", { 10, 10 }));
    TInspector& inspector = App().Inspector();
    inspector.Refresh();
    const std::int32_t row = inspector.RowIndex("Name");
    Click(InInspector(inspector.ValueRect(row)));
    ASSERT_TRUE(inspector.Editing());
    const TEdit& edit = inspector.Editor();
    EXPECT_TRUE(edit.Visible());
    EXPECT_TRUE(edit.Focused());
    EXPECT_TRUE(inspector.ValueRect(row).Contains(edit.BoundsRect().TopLeft()));
    EXPECT_EQ(edit.CaretPosition(), edit.TextLength()) << "typing goes on from the end";
    Press(App().InspectorWindow(), 36); // Home: the caret moves, as in any edit
    Type(App().InspectorWindow(), "My");
    Press(App().InspectorWindow(), 13);
    EXPECT_EQ(label.Name(), "MyArtLabel1");
    EXPECT_FALSE(inspector.Editing());
    EXPECT_FALSE(edit.Visible());
    EXPECT_TRUE(inspector.Focused()) << "the rows take the keys again";
}

TEST_F(Designer, InspectorOffersTheValuesOfEnumerationsAndSetElements)
{
    TControl& label = dynamic_cast<TControl&>(Model().Drop("TArtLabel", { 10, 10 }));
    TInspector& inspector = App().Inspector();
    inspector.Refresh();
    Click(InInspector(inspector.ValueRect(inspector.RowIndex("Align"))));
    ASSERT_NE(inspector.ValueList(), nullptr);
    EXPECT_EQ(inspector.ValueList()->Items(),
        (std::vector<std::string> { "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient" }));
    inspector.ValueList()->Choose(2);
    App().ProcessMessages();
    EXPECT_EQ(label.Align(), alBottom);

    inspector.Expand("ArtStyle", true);
    const std::int32_t shadow = inspector.RowIndex("ArtStyle.asShadow");
    ASSERT_GE(shadow, 0);
    EXPECT_EQ(inspector.Rows()[static_cast<std::size_t>(shadow)].Value, "True");
    Click(InInspector(inspector.ValueRect(shadow)));
    ASSERT_NE(inspector.ValueList(), nullptr);
    EXPECT_EQ(inspector.ValueList()->Items(), (std::vector<std::string> { "False", "True" }));
    inspector.ValueList()->Choose(0);
    App().ProcessMessages();
    EXPECT_EQ(Model().PropertyValue(label, "ArtStyle"), "[as3DRaise]");
}

TEST_F(Designer, ScriptsDriveTheDesignerAndStopAtTheFirstBadLine)
{
    const std::string out = Run("palette\n"
                                "drop TKnGradient 10 10 60 60\n"
                                "# a comment\n"
                                "set KnGradient1.Gradient.Color1 clRed\n"
                                "set KnGradient1.Hint '  two words  '\n"
                                "get KnGradient1.Gradient.Color1\n"
                                "get KnGradient1.Hint\n"
                                "verbs KnGradient1\n"
                                "verb KnGradient1 About The Author\n");
    EXPECT_NE(out.find("Plumex: "), std::string::npos);
    EXPECT_NE(out.find("dropped KnGradient1\n"), std::string::npos);
    EXPECT_NE(out.find("KnGradient1.Gradient.Color1 = clRed\n"), std::string::npos);
    EXPECT_NE(out.find("KnGradient1.Hint =   two words  \n"), std::string::npos);
    EXPECT_NE(out.find("&About The Author\n&Edit Gradient Fill\n"), std::string::npos);

    EXPECT_EQ(MessageOf([&] { Run("drop TArtLabel 1 1\nfly away\ndrop TArtLabel 2 2\n"); }),
        "test:2: unknown command 'fly' (see plumex-designer --help)");
    EXPECT_NE(Model().FindComponent("ArtLabel1"), nullptr) << "what the lines before did stays";
    EXPECT_EQ(Model().FindComponent("ArtLabel2"), nullptr);
    for (const char* bad : { "set KnGradient1.Nothing 1", "set Nobody.Left 1", "drop TNothing 1 1", "drop TKnGradient x 1",
             "verb KnGradient1 7", "set KnGradient1.Left", "type 'open", "select Nobody", "set KnGradient1.Gradient 1" })
        EXPECT_NE(MessageOf([&] { Run(bad); }).rfind("test:1: ", 0), std::string::npos) << bad;
    EXPECT_NE(MessageOf([&] { Run("package unload Plumex"); }).find("KnGradient1"), std::string::npos)
        << "the form still uses the package";
}

TEST_F(Designer, SavedFormsOpenAgainAsTheyWere)
{
    Run("drop TKnGradient 10 10 60 60\n"
        "drop TArtLabel 80 10 150 40\n"
        "set ArtLabel1.Caption Saved\n"
        "set KnGradient1.Gradient.GradientStyle gsEllipse\n");
    const std::string text = Model().FormText();
    const std::string file = testing::TempDir() + "saved.form";
    Model().Save(file);
    EXPECT_FALSE(Model().FormModified());
    Run("new 100 100");
    EXPECT_EQ(Model().FindComponent("ArtLabel1"), nullptr);
    Model().Open(file);
    EXPECT_EQ(Model().FormText(), text);
    EXPECT_TRUE(Model().FindComponent("ArtLabel1")->ComponentState().Contains(csDesigning));
    EXPECT_EQ(Model().Selected(), &Form());
    std::remove(file.c_str());

    EXPECT_NE(MessageOf([&] { Model().Open(testing::TempDir() + "no-such.form"); }).find("Cannot open file"), std::string::npos);
    EXPECT_EQ(Model().FormText(), text) << "a failed open keeps the form";
}

} // namespace
