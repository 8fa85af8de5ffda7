#include "design/GradEditor.h"

#include "color/host/Bitmap.h"
#include "design/detail/GradientGallery.h"
#include "framework/host/Buttons.h"
#include "framework/host/ComCtrls.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "rtl/IniFiles.h"
#include "rtl/SysUtils.h"
#include "DialogTests.h"
#include "TestForms.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace plx;
using test::Answer;
using test::ClickOn;
using test::Find;
using test::Headless;
using test::TempSettings;

namespace {

constexpr const char* kCaption = "Gradient Editor";

// Messages that reach the application's exception handler while it lives.
class ExceptionLog {
public:
    ExceptionLog()
    {
        Application().SetOnException([this](TObject*, const Exception& e) { messages.push_back(e.Message()); });
    }
    ~ExceptionLog() { Application().SetOnException(nullptr); }
    ExceptionLog(const ExceptionLog&) = delete;
    ExceptionLog& operator=(const ExceptionLog&) = delete;

    std::vector<std::string> messages;
};

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::filesystem::path GalleryFile(const TempSettings& settings)
{
    return settings.Folder() / "Gradient Fill Editor.ini";
}

// The gallery's keys and values as the file holds them now.
TIniDocument::TNameValues SavedGallery()
{
    TIniFile file("Gradient Fill Editor.ini");
    TStringList lines;
    file.ReadSectionValues("Gallary", lines);
    TIniDocument::TNameValues values;
    for (std::int32_t i = 0; i < lines.Count(); ++i)
        values.emplace_back(lines.Names(i), lines.ValueFromIndex(i));
    return values;
}

std::vector<std::string> ListNames(TCustomForm& form)
{
    auto& list = Find<TListBox>(form, "lstGallary");
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < list.Items().Count(); ++i)
        names.push_back(list.Items().Strings(i));
    return names;
}

TGradient& Entry(TCustomForm& form, std::int32_t index)
{
    return *dynamic_cast<TGradient*>(Find<TListBox>(form, "lstGallary").Items().Objects(index));
}

// Every data property of a gradient, LineSize included, as one text.
std::string Describe(const TGradient& g)
{
    return detail::GalleryValue(g) + " size " + std::to_string(g.LineSize());
}

void AnswerInput(const std::string& text)
{
    Answer("New Gradient Fill", [text](TCustomForm&) {
        test::Type(text);
        Headless().KeyDown(VK_RETURN);
    });
}

// The preview's pixels against PaintGradient of the same gradient on the button face.
std::string PreviewDifference(TCustomForm& form, const TGradient& gradient)
{
    auto& box = Find<TPaintBox>(form, "PaintBox1");
    TBitmap picture;
    form.RenderTo(picture);
    TBitmap expected(box.Width(), box.Height());
    expected.Canvas().Brush().SetColor(clBtnFace);
    expected.Canvas().FillRect(Rect(0, 0, box.Width(), box.Height()));
    PaintGradient(expected.Canvas(), Rect(0, 0, box.Width(), box.Height()), gradient);
    const TPoint at = form.ScreenToClient(box.ClientToScreen({ 0, 0 }));
    return test::FirstDifference(picture, at, expected, { 0, 0 }, box.Width(), box.Height());
}

TEST(GradEditor, TheFormHasTheDialogsControlsWhereTheyBelong)
{
    TempSettings settings;
    TfrmGradEditor editor(nullptr);
    EXPECT_EQ(editor.Caption(), kCaption);
    EXPECT_EQ(editor.ClientWidth(), 468);
    EXPECT_EQ(editor.ClientHeight(), 309);
    EXPECT_EQ(editor.BorderStyle(), bsDialog);
    EXPECT_EQ(editor.Font().Height(), -11);
    const auto bounds = [&](const char* name) { return Find<TControl>(editor, name).BoundsRect(); };
    EXPECT_EQ(bounds("Panel1"), Bounds(2, 3, 302, 202));
    EXPECT_EQ(Find<TPaintBox>(editor, "PaintBox1").ClientRect(), Rect(0, 0, 286, 186));
    EXPECT_EQ(bounds("Color3"), Bounds(151, 211, 47, 21));
    EXPECT_EQ(bounds("lstGallary"), Bounds(310, 155, 150, 106));
    EXPECT_EQ(bounds("Button3"), Bounds(228, 237, 75, 25));
    EXPECT_EQ(Find<TLabel>(editor, "Label5").Caption(), "Gradient Fill Gallary : ");
    for (int i = 1; i <= 3; ++i) {
        auto& button = Find<TSpeedButton>(editor, "SpeedButton" + std::to_string(i));
        EXPECT_EQ(button.Tag(), i);
        EXPECT_EQ(button.GroupIndex(), 1);
        EXPECT_EQ(button.Down(), i == 1);
        EXPECT_EQ(button.Glyph().Width(), 25);
        EXPECT_EQ(button.Glyph().Height(), 25);
    }
    auto& list = Find<TListBox>(editor, "lstGallary");
    EXPECT_EQ(list.Style(), lbOwnerDrawFixed);
    EXPECT_EQ(list.ItemHeight(), 30);
    EXPECT_EQ(Find<TButton>(editor, "Button2").ModalResult(), mrYes);
    EXPECT_EQ(Find<TButton>(editor, "Button1").ModalResult(), mrNo);
    EXPECT_EQ(Find<TUpDown>(editor, "UpDown1").Max(), 255);
    EXPECT_EQ(Find<TUpDown>(editor, "UpDown2").Max(), 4);
    EXPECT_EQ(Find<TComboBox>(editor, "diCombo").Items().CommaText(), "diHorizonal,diVertical");
    EXPECT_TRUE(editor.GalleryLoaded());
}

TEST(GradEditor, CancellingLeavesTheGradientUnchangedAndStillSavesTheGallery)
{
    TempSettings settings;
    TGradient gradient;
    gradient.SetColor2(clRed);
    gradient.SetLineSize(5);
    int changes = 0;
    gradient.SetOnChange([&](TObject*) { ++changes; });
    const std::string before = Describe(gradient);
    Answer(kCaption, [](TCustomForm& form) {
        EXPECT_EQ(Find<TEdit>(form, "txtLinesize").Text(), "5");
        EXPECT_EQ(Find<TEdit>(form, "Color2").Color(), clRed);
        Find<TEdit>(form, "txtLinesize").SetText("9");
        ClickOn(Find<TSpeedButton>(form, "SpeedButton3"));
        AnswerInput("Kept");
        ClickOn(Find<TButton>(form, "btnAdd"));
        EXPECT_EQ(ListNames(form), std::vector<std::string> { "Kept" });
        ClickOn(Find<TButton>(form, "Button1"));
    });
    EXPECT_FALSE(EditGradient(gradient));
    EXPECT_EQ(Describe(gradient), before);
    EXPECT_EQ(changes, 0);
    const auto saved = SavedGallery();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].first, "Kept");
    EXPECT_EQ(saved[0].second, IntToStr(clGray) + ",255,12632256,16777215,0,3,2,0") << "Color2 red, gsRect";

    // Escape, and a dialog closed without a button, cancel too.
    Answer(kCaption, [](TCustomForm& form) {
        Find<TEdit>(form, "txtLinesize").SetText("7");
        Headless().KeyDown(VK_ESCAPE);
    });
    EXPECT_FALSE(EditGradient(gradient));
    EXPECT_EQ(Describe(gradient), before);
}

TEST(GradEditor, ConfirmingStoresTheControlsAndTheGalleryKeepsTheStatedFormat)
{
    TempSettings settings;
    TGradient gradient;
    int changes = 0;
    gradient.SetOnChange([&](TObject*) { ++changes; });
    Answer(kCaption, [](TCustomForm& form) {
        auto& editor = dynamic_cast<TfrmGradEditor&>(form);
        const TColor colors[] = { clBlack, clWhite, clBlack, clWhite, clBlack };
        for (int i = 0; i < 5; ++i)
            Find<TEdit>(form, "Color" + std::to_string(i + 1)).SetColor(colors[i]);
        Find<TEdit>(form, "txtColors").SetText("4");
        Find<TEdit>(form, "txtLinesize").SetText("2");
        Find<TComboBox>(form, "diCombo").SetItemIndex(1);
        ClickOn(Find<TSpeedButton>(form, "SpeedButton2"));
        EXPECT_EQ(editor.GetGradient().GradientStyle(), gsEllipse);
        AnswerInput("Zebra");
        ClickOn(Find<TButton>(form, "btnAdd"));
        ClickOn(Find<TButton>(form, "Button2"));
    });
    ASSERT_TRUE(EditGradient(gradient));
    EXPECT_EQ(changes, 1) << "one Assign";
    EXPECT_EQ(Describe(gradient), "0,16777215,0,16777215,0,4,1,1 size 2");
    const auto saved = SavedGallery();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], (std::pair<std::string, std::string> { "Zebra", "0,16777215,0,16777215,0,4,1,1" }));
    EXPECT_NE(ReadText(GalleryFile(settings)).find("[Gallary]\nZebra=0,16777215,0,16777215,0,4,1,1\n"), std::string::npos);
}

TEST(GradEditor, TheGalleryIsReadInFileOrderAndSystemColoursStayNegative)
{
    TempSettings settings;
    WriteText(GalleryFile(settings), "[Other]\nKeep=1\n[Gallary]\nFirst=255,65280,16711680,0,0,2,0,1\n"
                                     "Face=-2147483633,0,0,0,0,1,2,0\n");
    {
        TfrmGradEditor editor(nullptr);
        EXPECT_EQ(ListNames(editor), (std::vector<std::string> { "First", "Face" }));
        EXPECT_EQ(Describe(Entry(editor, 0)), "255,65280,16711680,0,0,2,0,1 size 3");
        EXPECT_EQ(Entry(editor, 1).Color1(), clBtnFace);
    }
    const std::string text = ReadText(GalleryFile(settings));
    EXPECT_NE(text.find("[Other]\nKeep=1\n"), std::string::npos) << "other sections stay";
    EXPECT_NE(text.find("Face=-2147483633,0,0,0,0,1,2,0\n"), std::string::npos);
}

TEST(GradEditor, DrawingTheGallerySetsLineSizeToOneAndADoubleClickLoadsTheEntry)
{
    TempSettings settings;
    WriteText(GalleryFile(settings), "[Gallary]\nStripes=255,16777215,0,0,0,2,0,1\nRings=0,255,0,0,0,2,1,0\n");
    TGradient gradient;
    gradient.SetLineSize(6);
    Answer(kCaption, [](TCustomForm& form) {
        EXPECT_EQ(Entry(form, 0).LineSize(), 1) << "showing the dialog drew the list";
        EXPECT_EQ(Entry(form, 1).LineSize(), 1);
        // The first item: its 27 x 27 picture at (2, 2) of the row.
        TBitmap picture;
        form.RenderTo(picture);
        auto& list = Find<TListBox>(form, "lstGallary");
        const TRect item = list.ItemRect(0);
        const TPoint row = form.ScreenToClient(list.ClientToScreen(item.TopLeft()));
        TBitmap expected(27, 27);
        PaintGradient(expected.Canvas(), Rect(0, 0, 27, 27), Entry(form, 0));
        EXPECT_EQ(test::FirstDifference(picture, { row.X + 2, row.Y + 2 }, expected, { 0, 0 }, 27, 27), "");
        EXPECT_EQ(Find<TEdit>(form, "txtLinesize").Text(), "6");
        test::DoubleClickOn(list, { 60, 45 });
        EXPECT_EQ(list.ItemIndex(), 1);
        EXPECT_EQ(Find<TEdit>(form, "txtLinesize").Text(), "1");
        EXPECT_TRUE(Find<TSpeedButton>(form, "SpeedButton2").Down());
        EXPECT_EQ(Find<TEdit>(form, "Color2").Color(), 255);
        EXPECT_EQ(PreviewDifference(form, Entry(form, 1)), "");
        ClickOn(Find<TButton>(form, "Button2"));
    });
    ASSERT_TRUE(EditGradient(gradient));
    EXPECT_EQ(Describe(gradient), "0,255,0,0,0,2,1,0 size 1");
}

TEST(GradEditor, AGsCustomRectEntryLeavesThePressedStyleButtonDown)
{
    TempSettings settings;
    WriteText(GalleryFile(settings), "[Gallary]\nCustom=0,255,0,0,0,2,3,0\n");
    TGradient gradient;
    Answer(kCaption, [](TCustomForm& form) {
        ClickOn(Find<TSpeedButton>(form, "SpeedButton3"));
        test::DoubleClickOn(Find<TListBox>(form, "lstGallary"), { 60, 15 });
        EXPECT_EQ(Find<TEdit>(form, "Color2").Color(), 255) << "the entry was loaded";
        EXPECT_TRUE(Find<TSpeedButton>(form, "SpeedButton3").Down());
        EXPECT_FALSE(Find<TSpeedButton>(form, "SpeedButton1").Down());
        ClickOn(Find<TButton>(form, "Button2"));
    });
    ASSERT_TRUE(EditGradient(gradient));
    EXPECT_EQ(gradient.GradientStyle(), gsRect);
    EXPECT_EQ(gradient.Color2(), 255);
}

TEST(GradEditor, ThePreviewIsPaintGradientOfTheControlsAndFollowsEveryChange)
{
    TempSettings settings;
    TGradient gradient;
    gradient.SetColor1(0x2050A0);
    gradient.SetColor2(0xF0E0D0);
    gradient.SetColor3(0x103010);
    gradient.SetColorCount(2);
    gradient.SetLineSize(4);
    Answer(kCaption, [&](TCustomForm& form) {
        auto& editor = dynamic_cast<TfrmGradEditor&>(form);
        EXPECT_EQ(PreviewDifference(form, gradient), "") << "as it opens";
        for (const char* button : { "SpeedButton2", "SpeedButton3", "SpeedButton1" }) {
            ClickOn(Find<TSpeedButton>(form, button));
            gradient.Assign(&editor.GetGradient());
            EXPECT_EQ(PreviewDifference(form, gradient), "") << button;
        }
        EXPECT_EQ(gradient.GradientStyle(), gsLine);
        // The up-down steps the line size; the preview follows without a paint request.
        auto& upDown = Find<TUpDown>(form, "UpDown1");
        upDown.Step(btNext);
        Application().ProcessMessages();
        EXPECT_EQ(Find<TEdit>(form, "txtLinesize").Text(), "5");
        gradient.SetLineSize(5);
        EXPECT_EQ(PreviewDifference(form, gradient), "");
        Find<TComboBox>(form, "diCombo").SetFocus();
        test::Press(VK_DOWN);
        EXPECT_EQ(Find<TComboBox>(form, "diCombo").ItemIndex(), 1);
        gradient.SetLineDir(diVertical);
        EXPECT_EQ(PreviewDifference(form, gradient), "");
        // A swatch through the colour dialog.
        Answer("Color", [](TCustomForm& dialog) {
            EXPECT_EQ(Find<TEdit>(dialog, "GreenEdit").Text(), "224") << "preset to the swatch's colour";
            Find<TEdit>(dialog, "RedEdit").SetText("10");
            Find<TEdit>(dialog, "GreenEdit").SetText("20");
            Find<TEdit>(dialog, "BlueEdit").SetText("30");
            ClickOn(Find<TButton>(dialog, "OK"));
        });
        auto& swatch = Find<TEdit>(form, "Color2");
        test::DoubleClickOn(swatch, { 10, 10 });
        EXPECT_EQ(swatch.Color(), RGB(10, 20, 30));
        gradient.SetColor2(RGB(10, 20, 30));
        EXPECT_EQ(PreviewDifference(form, gradient), "");
        Headless().KeyDown(VK_ESCAPE);
    });
    EXPECT_FALSE(EditGradient(gradient));
}

// ---- Mends ----------------------------------------------------------------------

TEST(GradEditor, ADamagedGalleryValueIsSkippedKeptAndWrittenBackUnchanged)
{
    TempSettings settings;
    WriteText(GalleryFile(settings), "[Gallary]\n"
                                     "Short=1,2,3\n"
                                     "Good=1,2,3,4,5,2,1,0\n"
                                     "Word=1,2,3,4,5,two,1,0\n"
                                     "Empty=\n"
                                     "Hex=$FF,2,3,4,5,2,1,0\n"
                                     "Long=1,2,3,4,5,2,1,0,9\n"
                                     "Huge=1,2,3,4,99999999999,2,1,0\n"
                                     "Spaced= 1, 2, 3, 4, 5, 2, 1, 0\n"
                                     "Quoted=\"x,y\"\n");
    {
        TfrmGradEditor editor(nullptr);
        EXPECT_TRUE(editor.GalleryLoaded());
        EXPECT_EQ(ListNames(editor), (std::vector<std::string> { "Good", "Spaced" }));
        AnswerInput("New");
        editor.btnAddClick(nullptr);
    }
    const auto saved = SavedGallery();
    const TIniDocument::TNameValues expected { { "Short", "1,2,3" }, { "Good", "1,2,3,4,5,2,1,0" },
        { "Word", "1,2,3,4,5,two,1,0" }, { "Empty", "" }, { "Hex", "$FF,2,3,4,5,2,1,0" }, { "Long", "1,2,3,4,5,2,1,0,9" },
        { "Huge", "1,2,3,4,99999999999,2,1,0" }, { "Spaced", "1,2,3,4,5,2,1,0" }, { "Quoted", "x,y" },
        { "New", "8421504,16777215,12632256,16777215,0,4,0,0" } };
    EXPECT_EQ(saved, expected);
}

TEST(GradEditor, CountAndOrdinalsFromTheFileAreClampedIntoRange)
{
    TempSettings settings;
    WriteText(GalleryFile(settings), "[Gallary]\nBig=1,2,3,4,5,9,7,5\nSmall=1,2,3,4,5,0,-3,-1\n");
    {
        TfrmGradEditor editor(nullptr);
        EXPECT_EQ(Describe(Entry(editor, 0)), "1,2,3,4,5,4,3,1 size 3");
        EXPECT_EQ(Describe(Entry(editor, 1)), "1,2,3,4,5,1,0,0 size 3");
        TBitmap picture;
        editor.RenderTo(picture);
    }
    EXPECT_EQ(SavedGallery(), (TIniDocument::TNameValues { { "Big", "1,2,3,4,5,4,3,1" }, { "Small", "1,2,3,4,5,1,0,0" } }));
}

TEST(GradEditor, AFailedSaveIsReportedAndLeavesTheFileAsItWas)
{
    TempSettings settings;
    const std::string original = "[Gallary]\nOld=1,2,3,4,5,2,1,0\n";
    WriteText(GalleryFile(settings), original);
    ExceptionLog log;
    detail::SetIniBeforeReplaceHook([](const std::string&) { throw EInOutError("the disk is full"); });
    {
        TfrmGradEditor editor(nullptr);
        AnswerInput("Lost");
        editor.btnAddClick(nullptr);
        Answer("Confirm", [](TCustomForm&) { Headless().KeyDown(VK_RETURN); });
        Find<TListBox>(editor, "lstGallary").SetItemIndex(0);
        editor.Button3Click(nullptr);
        EXPECT_EQ(ListNames(editor), std::vector<std::string> { "Lost" });
    }
    detail::SetIniBeforeReplaceHook(nullptr);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_NE(log.messages[0].find("The gradient fill gallery could not be saved"), std::string::npos) << log.messages[0];
    EXPECT_NE(log.messages[0].find("the disk is full"), std::string::npos) << log.messages[0];
    EXPECT_EQ(ReadText(GalleryFile(settings)), original);
}

TEST(GradEditor, AGalleryFileThatCannotBeReadIsReportedAndNeverOverwritten)
{
    TempSettings settings;
    std::filesystem::create_directories(GalleryFile(settings));
    ExceptionLog log;
    {
        TfrmGradEditor editor(nullptr);
        EXPECT_FALSE(editor.GalleryLoaded());
        EXPECT_TRUE(ListNames(editor).empty());
        AnswerInput("Unsaved");
        editor.btnAddClick(nullptr);
        EXPECT_EQ(ListNames(editor), std::vector<std::string> { "Unsaved" }) << "the dialog still works";
    }
    ASSERT_EQ(log.messages.size(), 1u) << "reported once, when read";
    EXPECT_NE(log.messages[0].find("could not be read"), std::string::npos) << log.messages[0];
    EXPECT_TRUE(std::filesystem::is_directory(GalleryFile(settings)));
}

TEST(GradEditor, AddRefusesNamesTheFileCannotHoldAndAsksBeforeReplacing)
{
    TempSettings settings;
    WriteText(GalleryFile(settings), "[Gallary]\nSunset=1,2,3,4,5,2,1,0\nBroken=1\n");
    TfrmGradEditor editor(nullptr);
    std::vector<std::string> warnings;
    for (const char* name : { "a=b", "[x", ";x", "#x", " x", "x " }) {
        AnswerInput(name);
        Answer("Warning", [&](TCustomForm& box) {
            warnings.push_back(Find<TLabel>(box, "Message").Caption());
            Headless().KeyDown(VK_RETURN);
        });
        editor.btnAddClick(nullptr);
    }
    EXPECT_EQ(warnings.size(), 6u);
    EXPECT_EQ(ListNames(editor), std::vector<std::string> { "Sunset" });
    // An empty answer adds nothing and says nothing.
    Answer("New Gradient Fill", [](TCustomForm&) { Headless().KeyDown(VK_RETURN); });
    editor.btnAddClick(nullptr);
    EXPECT_EQ(ListNames(editor), std::vector<std::string> { "Sunset" });

    Find<TEdit>(editor, "Color1").SetColor(clLime);
    std::string question;
    AnswerInput("sunset");
    Answer("Confirm", [&](TCustomForm& box) {
        question = Find<TLabel>(box, "Message").Caption();
        ClickOn(Find<TButton>(box, "No"));
    });
    editor.btnAddClick(nullptr);
    EXPECT_NE(question.find("\"Sunset\""), std::string::npos) << question;
    EXPECT_EQ(Entry(editor, 0).Color1(), 1) << "No keeps the entry";
    AnswerInput("sunset");
    Answer("Confirm", [](TCustomForm& box) { ClickOn(Find<TButton>(box, "Yes")); });
    editor.btnAddClick(nullptr);
    EXPECT_EQ(ListNames(editor), std::vector<std::string> { "sunset" });
    EXPECT_EQ(Entry(editor, 0).Color1(), clLime);
    // A name taken by an unreadable entry is replaced in that entry's place.
    AnswerInput("BROKEN");
    Answer("Confirm", [](TCustomForm& box) { ClickOn(Find<TButton>(box, "Yes")); });
    editor.btnAddClick(nullptr);
    EXPECT_EQ(ListNames(editor), (std::vector<std::string> { "sunset", "BROKEN" }));
    EXPECT_EQ(Find<TListBox>(editor, "lstGallary").ItemIndex(), 1);
}

TEST(GradEditor, DeleteAndDoubleClickWithoutASelectionDoNothing)
{
    TempSettings settings;
    TfrmGradEditor editor(nullptr);
    bool asked = false;
    Application().AddShowHook([&](TCustomForm&) {
        asked = true;
        return true;
    });
    editor.Button3Click(nullptr);
    editor.lstGallaryDblClick(nullptr);
    EXPECT_FALSE(asked) << "no confirmation without a selection";
    EXPECT_EQ(Find<TEdit>(editor, "txtLinesize").Text(), "1");

    AnswerInput("One");
    editor.btnAddClick(nullptr);
    AnswerInput("Two");
    editor.btnAddClick(nullptr);
    auto& list = Find<TListBox>(editor, "lstGallary");
    list.SetItemIndex(-1);
    editor.Button3Click(nullptr);
    EXPECT_EQ(ListNames(editor).size(), 2u);
    // With a selection, No keeps it and Yes deletes it.
    list.SetItemIndex(0);
    Answer("Confirm", [](TCustomForm& box) {
        EXPECT_EQ(Find<TLabel>(box, "Message").Caption(), "Do you really want to delete this object?");
        ClickOn(Find<TButton>(box, "No"));
    });
    editor.Button3Click(nullptr);
    EXPECT_EQ(ListNames(editor).size(), 2u);
    list.SetItemIndex(0);
    Answer("Confirm", [](TCustomForm& box) { ClickOn(Find<TButton>(box, "Yes")); });
    editor.Button3Click(nullptr);
    EXPECT_EQ(ListNames(editor), std::vector<std::string> { "Two" });
    Application().ProcessMessages(); // the hook that saw nothing goes
}

TEST(GradEditor, TheNumberEditsTakeOnlyWhatTheirUpDownsAllow)
{
    TempSettings settings;
    TGradient gradient;
    gradient.SetLineSize(7);
    gradient.SetColorCount(2);
    Answer(kCaption, [](TCustomForm& form) {
        auto& editor = dynamic_cast<TfrmGradEditor&>(form);
        auto& lineSize = Find<TEdit>(form, "txtLinesize");
        lineSize.SetFocus();
        lineSize.SelectAll();
        test::Type("1x-2 3");
        EXPECT_EQ(lineSize.Text(), "123") << "only digits are typed";
        EXPECT_EQ(editor.GetGradient().LineSize(), 123);
        lineSize.SelectAll();
        test::Type("999");
        EXPECT_EQ(editor.GetGradient().LineSize(), 255);
        // Text that is not a number, set by code, keeps the value in use and paints.
        lineSize.SetText("abc");
        TBitmap picture;
        form.RenderTo(picture);
        EXPECT_EQ(editor.GetGradient().LineSize(), 255);
        lineSize.SetText("0");
        EXPECT_EQ(editor.GetGradient().LineSize(), 1);
        lineSize.SetText("");
        Find<TEdit>(form, "txtColors").SetFocus(); // leaving shows the value in use
        EXPECT_EQ(lineSize.Text(), "1");
        auto& count = Find<TEdit>(form, "txtColors");
        count.SelectAll();
        test::Type("9");
        EXPECT_EQ(editor.GetGradient().ColorCount(), 4);
        count.SetText("-1");
        EXPECT_EQ(editor.GetGradient().ColorCount(), 4);
        Find<TEdit>(form, "txtLinesize").SetFocus();
        EXPECT_EQ(count.Text(), "4");
        ClickOn(Find<TButton>(form, "Button2"));
    });
    ASSERT_TRUE(EditGradient(gradient));
    EXPECT_EQ(gradient.LineSize(), 1);
    EXPECT_EQ(gradient.ColorCount(), 4);
}

TEST(GradEditor, AGalleryValueHasExactlyEightDecimalIntegers)
{
    TGradient g;
    EXPECT_TRUE(detail::ReadGalleryValue("-1,2147483647,-2147483648,0,+5,3,2,1,", g)) << "a trailing comma adds no field";
    EXPECT_EQ(detail::GalleryValue(g), "-1,2147483647,-2147483648,0,5,3,2,1");
    const std::string before = detail::GalleryValue(g);
    for (const char* bad : { "", "1,2,3,4,5,6,7", "1,2,3,4,5,6,7,8,9", "1,,3,4,5,6,7,8", "1,2,3,4,5,6,7,0x1", "1,2,3,4,5,6,7,1.5",
             "2147483648,2,3,4,5,6,7,8", "-2147483649,2,3,4,5,6,7,8", "1,2,3,4,5,6,7,-", "1,2,3,4,5,6,7,8 9" }) {
        EXPECT_FALSE(detail::ReadGalleryValue(bad, g)) << bad;
        EXPECT_EQ(detail::GalleryValue(g), before) << bad;
    }
    EXPECT_EQ(detail::GalleryNameProblem("Sunset over the sea"), "");
    EXPECT_EQ(detail::GalleryNameProblem("a[b];c#"), "");
    EXPECT_NE(detail::GalleryNameProblem("two\nlines"), "");
    EXPECT_NE(detail::GalleryNameProblem("tab\t"), "");
}

} // namespace
