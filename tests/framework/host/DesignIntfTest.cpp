#include "color/host/Bitmap.h"
#include "color/host/GraphicsObject.h"
#include "framework/host/DesignEditors.h"
#include "framework/host/DesignIntf.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Published.h"
#include "framework/host/StdCtrls.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/TypInfo.h"
#include "TestDesigner.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace plx;
using plx::test::TRecordingDesigner;
using test::MessageOf;

namespace {

// A component with one property of each kind the host's editors handle.
class TSample : public TGraphicControl {
public:
    explicit TSample(TComponent* owner)
        : TGraphicControl(owner)
    {
    }
    [[nodiscard]] std::int32_t Count() const noexcept { return m_count; }
    void SetCount(std::int32_t value) { m_count = value; }
    [[nodiscard]] double Ratio() const noexcept { return m_ratio; }
    void SetRatio(double value) { m_ratio = value; }
    [[nodiscard]] TShiftState Keys() const noexcept { return m_keys; }
    void SetKeys(TShiftState value) { m_keys = value; }
    [[nodiscard]] TComponent* Buddy() const noexcept { return m_buddy; }
    void SetBuddy(TComponent* value) { m_buddy = value; }
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent e) { m_onChange = std::move(e); }

    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    static const TEnumInfo& ShiftInfo()
    {
        static const TEnumInfo info { "TShiftStateFlag", { "ssShift", "ssAlt", "ssCtrl" } };
        return info;
    }
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<TSample>("TSample", &TGraphicControl::StaticClassInfo())
            .Integer("Count", &TSample::Count, &TSample::SetCount, 0)
            .Float("Ratio", &TSample::Ratio, &TSample::SetRatio)
            .Set("Keys", ShiftInfo(), "TShiftState", &TSample::Keys, &TSample::SetKeys, 0)
            .Reference("Buddy", "TPanel", &TSample::Buddy, &TSample::SetBuddy)
            .Apply([](auto& b) { PublishInherited(b, { "Align", "Color", "Font", "ParentFont", "Visible", "OnClick" }); })
            .Event("OnChange", "TNotifyEvent", &TSample::OnChange, &TSample::SetOnChange)
            .Creator([](TComponent* owner) -> TComponent* { return new TSample(owner); })
            .Build();
        return info;
    }

private:
    std::int32_t m_count { 0 };
    double m_ratio { 0 };
    TShiftState m_keys;
    TComponent* m_buddy { nullptr };
    TNotifyEvent m_onChange;
};

// A descendant, for "nearest class" rules.
class TSampleChild : public TSample {
public:
    using TSample::TSample;
    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<TSampleChild>("TSampleChild", &TSample::StaticClassInfo())
            .Creator([](TComponent* owner) -> TComponent* { return new TSampleChild(owner); })
            .Build();
        return info;
    }
};

class TOneVerbEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    std::int32_t GetVerbCount() const override { return 1; }
    std::string GetVerb(std::int32_t index) const override { return index == 0 ? "&Run" : ""; }
    void ExecuteVerb(std::int32_t index) override { ran.push_back(index); }
    static inline std::vector<std::int32_t> ran;
};

class TOtherEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
};

class TLoudProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
};

class TQuietProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
};

// Each test registers as a module of its own and takes everything out after.
class DesignRegistries : public ::testing::Test {
protected:
    void TearDown() override
    {
        UnregisterModule(&m_module);
        UnregisterModule(nullptr);
        m_root.reset();
        TOneVerbEditor::ran.clear();
    }

    const void* Module() const { return &m_module; }
    TForm& Root()
    {
        if (!m_root) {
            m_root = std::make_unique<TForm>(nullptr);
            m_root->SetName("Form1");
        }
        return *m_root;
    }
    TSample& Add(const char* name)
    {
        auto* sample = new TSample(&Root());
        sample->SetName(name);
        sample->SetParent(&Root());
        return *sample;
    }
    static std::vector<std::string> Names(const std::vector<TPaletteEntry>& entries)
    {
        std::vector<std::string> names;
        for (const TPaletteEntry& e : entries)
            names.push_back(e.Class->Name());
        return names;
    }

private:
    int m_module { 0 };
    std::unique_ptr<TForm> m_root;
};

// ---- Palette -------------------------------------------------------------

TEST_F(DesignRegistries, PaletteKeepsEachClassOnceAtItsFirstRegistration)
{
    TRegistrationScope scope(Module(), nullptr);
    RegisterComponents("Standard", { &TPanel::StaticClassInfo() });
    RegisterComponents("Samples", { &TSample::StaticClassInfo(), &TLabel::StaticClassInfo() });
    RegisterComponents("Standard", { &TBevel::StaticClassInfo(), &TPanel::StaticClassInfo() });
    RegisterComponents("Samples", { &TPanel::StaticClassInfo() });

    EXPECT_EQ(PalettePages(), (std::vector<std::string> { "Standard", "Samples" }));
    EXPECT_EQ(Names(PaletteEntries("Standard")), (std::vector<std::string> { "TPanel", "TBevel" }));
    EXPECT_EQ(Names(PaletteEntries("Samples")), (std::vector<std::string> { "TSample", "TLabel" }));
    ASSERT_NE(FindPaletteEntry("tpanel"), nullptr);
    EXPECT_EQ(FindPaletteEntry("tpanel")->Page, "Standard");
    EXPECT_EQ(FindPaletteEntry("TPanel")->Module, Module());
    EXPECT_TRUE(PaletteEntries("Nothing").empty());
}

TEST_F(DesignRegistries, PaletteRefusesClassesThatCannotBeCreated)
{
    TRegistrationScope scope(Module(), nullptr);
    EXPECT_EQ(MessageOf([] { RegisterComponents("Standard", { &TWinControl::StaticClassInfo() }); }),
        "Cannot put TWinControl on the palette: it is not a component class");
    EXPECT_TRUE(PalettePages().empty());
}

TEST_F(DesignRegistries, IconsComeFromTheRegisteringModulesBitmapNamedAfterTheClass)
{
    TBitmap picture(24, 24);
    picture.Canvas().Brush().SetColor(clRed);
    picture.Canvas().FillRect(Rect(0, 0, 24, 24));
    TMemoryStream stream;
    picture.SaveToStream(stream);
    const std::vector<unsigned char> bytes(stream.Bytes().begin(), stream.Bytes().end());
    const TResourceEntry entries[] = { { "TPANEL", "BITMAP", bytes.data(), bytes.size() }, { "TLABEL", "BITMAP", bytes.data(), 10 } };
    const TResourceModule resources { "Test", entries, 2 };

    TRegistrationScope scope(Module(), &resources);
    RegisterComponents("Standard", { &TPanel::StaticClassInfo(), &TBevel::StaticClassInfo(), &TLabel::StaticClassInfo() });
    const auto entriesShown = PaletteEntries("Standard");
    ASSERT_EQ(entriesShown.size(), 3u);
    ASSERT_TRUE(entriesShown[0].Icon);
    EXPECT_EQ(entriesShown[0].Icon->Width(), 24);
    EXPECT_EQ(entriesShown[0].Icon->Image().GetColor(5, 5), clRed);
    EXPECT_FALSE(entriesShown[1].Icon) << "no resource: no icon";
    EXPECT_FALSE(entriesShown[2].Icon) << "a broken picture: no icon, still on the palette";
}

TEST_F(DesignRegistries, UnregisteringAModuleTakesOutOnlyWhatItRegistered)
{
    int other = 0;
    {
        TRegistrationScope outer(&other, nullptr);
        RegisterComponents("Standard", { &TPanel::StaticClassInfo() });
        {
            TRegistrationScope inner(Module(), nullptr);
            RegisterComponents("Samples", { &TSample::StaticClassInfo() });
            RegisterComponents("Standard", { &TBevel::StaticClassInfo() });
            RegisterComponentEditor(TSample::StaticClassInfo(), TComponentEditorClass::Of<TOneVerbEditor>());
            RegisterPropertyEditor("Integer", nullptr, "", TPropertyEditorClass::Of<TLoudProperty>());
        }
        RegisterComponents("Standard", { &TLabel::StaticClassInfo() });
    }
    UnregisterModule(Module());
    EXPECT_EQ(PalettePages(), (std::vector<std::string> { "Standard" })) << "an emptied page goes";
    EXPECT_EQ(Names(PaletteEntries("Standard")), (std::vector<std::string> { "TPanel", "TLabel" }));
    EXPECT_EQ(FindComponentEditorClass(TSample::StaticClassInfo()), nullptr);
    TSample& sample = Add("Sample1");
    EXPECT_EQ(FindPropertyEditorClass({ nullptr, &sample, &sample, TSample::StaticClassInfo().FindProperty("Count"), "Count" }), nullptr);
    UnregisterModule(&other);
    EXPECT_TRUE(PalettePages().empty());
}

// ---- Component editors ---------------------------------------------------

TEST_F(DesignRegistries, ComponentEditorOfTheNearestClassTheLatestRegistrationWinning)
{
    TRegistrationScope scope(Module(), nullptr);
    RegisterComponentEditor(TSample::StaticClassInfo(), TComponentEditorClass::Of<TOtherEditor>());
    ASSERT_NE(FindComponentEditorClass(TSampleChild::StaticClassInfo()), nullptr);
    EXPECT_EQ(FindComponentEditorClass(TSampleChild::StaticClassInfo())->Name, "TOtherEditor") << "inherited";
    RegisterComponentEditor(TSample::StaticClassInfo(), TComponentEditorClass::Of<TOneVerbEditor>());
    EXPECT_EQ(FindComponentEditorClass(TSample::StaticClassInfo())->Name, "TOneVerbEditor") << "replaced";
    RegisterComponentEditor(TSampleChild::StaticClassInfo(), TComponentEditorClass::Of<TOtherEditor>());
    RegisterComponentEditor(TControl::StaticClassInfo(), TComponentEditorClass::Of<TOneVerbEditor>());
    EXPECT_EQ(FindComponentEditorClass(TSampleChild::StaticClassInfo())->Name, "TOtherEditor") << "nearest";
    EXPECT_EQ(FindComponentEditorClass(TComponent::StaticClassInfo()), nullptr);

    TSample& sample = Add("Sample1");
    auto editor = GetComponentEditor(sample, nullptr);
    EXPECT_EQ(editor->ClassName(), "TOneVerbEditor");
    EXPECT_EQ(editor->GetVerb(0), "&Run");
    editor->Edit();
    EXPECT_EQ(TOneVerbEditor::ran, (std::vector<std::int32_t> { 0 })) << "a double click runs the first verb";
    TComponent plain(nullptr);
    EXPECT_EQ(GetComponentEditor(plain, nullptr)->ClassName(), "TDefaultEditor") << "no editor registered";
}

TEST_F(DesignRegistries, DefaultEditorEditsTheMainEvent)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    TDefaultEditor editor(sample, &designer);
    EXPECT_EQ(editor.GetVerbCount(), 0);
    EXPECT_EQ(editor.GetVerb(0), "");
    editor.Edit();
    EXPECT_EQ(sample.EventBinding("OnChange"), "Sample1Change") << "OnChange is preferred to OnClick";
    EXPECT_EQ(sample.EventBinding("OnClick"), "");
    EXPECT_EQ(designer.shown, (std::vector<std::string> { "Sample1Change" }));
    EXPECT_EQ(designer.modified, 1);

    sample.SetEventBinding("OnChange", "Existing");
    editor.Edit();
    EXPECT_EQ(sample.EventBinding("OnChange"), "Existing") << "a bound event is shown, not renamed";
    EXPECT_EQ(designer.shown.back(), "Existing");

    TDefaultEditor formEditor(Root(), &designer);
    formEditor.Edit();
    EXPECT_EQ(Root().EventBinding("OnCreate"), "FormCreate");

    auto* label = new TLabel(&Root());
    label->SetName("Label1");
    TDefaultEditor(*label, &designer).Edit();
    EXPECT_EQ(label->EventBinding("OnClick"), "Label1Click");
}

// ---- Property editors ----------------------------------------------------

TEST_F(DesignRegistries, PropertyEditorRanksNameThenComponentClassThenTypeThenLateness)
{
    TRegistrationScope scope(Module(), nullptr);
    TSample& sample = Add("Sample1");
    auto* child = new TSampleChild(&Root());
    child->SetName("Child1");
    auto editorOf = [&](TComponent& c, const char* path) { return FindPropertyEditor(nullptr, c, path)->ClassName(); };

    EXPECT_EQ(editorOf(sample, "Count"), "TIntegerProperty");
    RegisterPropertyEditor("integer", nullptr, "", TPropertyEditorClass::Of<TLoudProperty>());
    EXPECT_EQ(editorOf(sample, "Count"), "TLoudProperty") << "type names compare without regard to case";
    EXPECT_EQ(editorOf(sample, "Left"), "TLoudProperty");
    RegisterPropertyEditor("Integer", &TSample::StaticClassInfo(), "", TPropertyEditorClass::Of<TQuietProperty>());
    EXPECT_EQ(editorOf(*child, "Count"), "TQuietProperty") << "a component class beats none";
    RegisterPropertyEditor("Integer", nullptr, "count", TPropertyEditorClass::Of<TLoudProperty>());
    EXPECT_EQ(editorOf(*child, "Count"), "TLoudProperty") << "a property name beats a component class";
    EXPECT_EQ(editorOf(*child, "Left"), "TQuietProperty");
    RegisterPropertyEditor("Integer", &TSampleChild::StaticClassInfo(), "", TPropertyEditorClass::Of<TLoudProperty>());
    EXPECT_EQ(editorOf(*child, "Left"), "TLoudProperty") << "the nearer component class";
    EXPECT_EQ(editorOf(sample, "Left"), "TQuietProperty");

    EXPECT_EQ(editorOf(sample, "Font"), "TClassProperty");
    RegisterPropertyEditor(TPersistent::StaticClassInfo(), nullptr, "", TPropertyEditorClass::Of<TQuietProperty>());
    EXPECT_EQ(editorOf(sample, "Font"), "TQuietProperty") << "a class type matches its descendants";
    RegisterPropertyEditor(TFont::StaticClassInfo(), nullptr, "", TPropertyEditorClass::Of<TLoudProperty>());
    EXPECT_EQ(editorOf(sample, "Font"), "TLoudProperty") << "the nearer property class";
    RegisterPropertyEditor(TPersistent::StaticClassInfo(), nullptr, "", TPropertyEditorClass::Of<TQuietProperty>());
    EXPECT_EQ(editorOf(sample, "Font"), "TLoudProperty") << "still the nearer class, though registered earlier";
    RegisterPropertyEditor(TFont::StaticClassInfo(), nullptr, "", TPropertyEditorClass::Of<TQuietProperty>());
    EXPECT_EQ(editorOf(sample, "Font"), "TQuietProperty") << "of equals, the later";
}

TEST_F(DesignRegistries, IntegersAndColoursAcceptNamesNumbersAndHexadecimal)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    auto count = FindPropertyEditor(&designer, sample, "Count");
    count->SetValue(" -42 ");
    EXPECT_EQ(sample.Count(), -42);
    EXPECT_EQ(count->GetValue(), "-42");
    count->SetValue("$10");
    EXPECT_EQ(sample.Count(), 16);
    EXPECT_FALSE(count->GetAttributes().Contains(paValueList));
    for (const char* bad : { "", "12a", "2147483648", "clRed", "1.5" })
        EXPECT_NE(MessageOf([&] { count->SetValue(bad); }).find("is not"), std::string::npos) << bad;
    EXPECT_EQ(sample.Count(), 16) << "a refused value changes nothing";
    EXPECT_EQ(designer.modified, 2);

    sample.SetParentColor(false);
    auto color = FindPropertyEditor(&designer, sample, "Color");
    EXPECT_TRUE(color->GetAttributes().Contains(paValueList));
    color->SetValue("clred");
    EXPECT_EQ(sample.Color(), clRed);
    EXPECT_EQ(color->GetValue(), "clRed");
    color->SetValue("$00804020");
    EXPECT_EQ(color->GetValue(), "$00804020");
    color->SetValue("$8000000F");
    EXPECT_EQ(sample.Color(), clBtnFace);
    const auto values = color->GetValues();
    EXPECT_NE(std::find(values.begin(), values.end(), "clBtnFace"), values.end());
    color->Edit();
    EXPECT_NE(sample.Color(), clBtnFace) << "a double click on a value list moves to the next value";
}

TEST_F(DesignRegistries, EnumerationsSetsAndTheirElements)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    auto align = FindPropertyEditor(&designer, sample, "Align");
    EXPECT_EQ(align->GetValues().front(), "alNone");
    align->SetValue("alclient");
    EXPECT_EQ(sample.Align(), alClient);
    EXPECT_EQ(MessageOf([&] { align->SetValue("alMiddle"); }), "'alMiddle' is not a value of TAlign");

    auto keys = FindPropertyEditor(&designer, sample, "Keys");
    EXPECT_TRUE(keys->GetAttributes().Contains(paSubProperties));
    keys->SetValue("[ ssCtrl , ssShift ]");
    EXPECT_EQ(keys->GetValue(), "[ssShift,ssCtrl]");
    auto elements = keys->GetProperties();
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[1]->GetName(), "ssAlt");
    EXPECT_EQ(elements[1]->Path(), "Keys.ssAlt");
    EXPECT_EQ(elements[1]->GetValue(), "False");
    elements[1]->SetValue("True");
    EXPECT_EQ(keys->GetValue(), "[ssShift,ssAlt,ssCtrl]");
    FindPropertyEditor(&designer, sample, "keys.ssshift")->SetValue("False");
    EXPECT_EQ(sample.Keys(), (TShiftState { ssAlt, ssCtrl }));
    keys->SetValue("[]");
    EXPECT_TRUE(sample.Keys().Empty());
    for (const char* bad : { "ssShift", "[ssShift", "[ssMeta]" })
        EXPECT_NE(MessageOf([&] { keys->SetValue(bad); }).find("is not"), std::string::npos) << bad;
}

TEST_F(DesignRegistries, ClassPropertiesListTheirObjectsPropertiesByPath)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    auto font = FindPropertyEditor(&designer, sample, "Font");
    EXPECT_EQ(font->GetValue(), "(TFont)");
    EXPECT_TRUE(font->GetAttributes().Contains(paReadOnly));
    EXPECT_TRUE(font->GetAttributes().Contains(paSubProperties));
    bool hasColor = false;
    for (const auto& sub : font->GetProperties())
        hasColor = hasColor || sub->Path() == "Font.Color";
    EXPECT_TRUE(hasColor);
    FindPropertyEditor(&designer, sample, "Font.Color")->SetValue("clNavy");
    EXPECT_EQ(sample.Font().Color(), clNavy);
    EXPECT_EQ(FindPropertyEditor(&designer, sample, "Font.Nothing"), nullptr);
    EXPECT_EQ(FindPropertyEditor(&designer, sample, "Count.Deeper"), nullptr);
}

TEST_F(DesignRegistries, ReferencesNameComponentsOfTheRootOfTheRightClass)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    auto* panel = new TPanel(&Root());
    panel->SetName("Panel1");
    auto buddy = FindPropertyEditor(&designer, sample, "Buddy");
    EXPECT_EQ(buddy->GetValues(), (std::vector<std::string> { "Panel1" }));
    buddy->SetValue("panel1");
    EXPECT_EQ(sample.Buddy(), panel);
    EXPECT_EQ(buddy->GetValue(), "Panel1");
    EXPECT_EQ(MessageOf([&] { buddy->SetValue("Sample1"); }), "'Sample1' is not a TPanel");
    EXPECT_EQ(MessageOf([&] { buddy->SetValue("Missing"); }), "'Missing' is not the name of a component of Form1");
    buddy->SetValue("");
    EXPECT_EQ(sample.Buddy(), nullptr);
}

TEST_F(DesignRegistries, EventsHoldHandlerNames)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    auto onClick = FindPropertyEditor(&designer, sample, "OnClick");
    EXPECT_EQ(onClick->GetValue(), "");
    onClick->SetValue("Clicked");
    EXPECT_EQ(sample.EventBinding("OnClick"), "Clicked");
    EXPECT_EQ(MessageOf([&] { onClick->SetValue("not a name"); }), "'not a name' is not a valid method name");
    onClick->SetValue("");
    EXPECT_EQ(sample.EventBinding("OnClick"), "");
    EXPECT_EQ(dynamic_cast<TMethodProperty&>(*onClick).DefaultHandlerName(), "Sample1Click");
    onClick->Edit();
    EXPECT_EQ(sample.EventBinding("OnClick"), "Sample1Click");
}

TEST_F(DesignRegistries, FloatsAndStrings)
{
    TRecordingDesigner designer(&Root());
    TSample& sample = Add("Sample1");
    auto ratio = FindPropertyEditor(&designer, sample, "Ratio");
    ratio->SetValue("0.25");
    EXPECT_EQ(sample.Ratio(), 0.25);
    EXPECT_EQ(ratio->GetValue(), "0.25");
    for (const char* bad : { "", "0,25", "nan", "1e999" })
        EXPECT_NE(MessageOf([&] { ratio->SetValue(bad); }).find("is not"), std::string::npos) << bad;
    auto hint = FindPropertyEditor(&designer, sample, "Hint");
    hint->SetValue(" spaced text ");
    EXPECT_EQ(sample.Hint(), " spaced text ") << "strings are taken as typed";
}

} // namespace
