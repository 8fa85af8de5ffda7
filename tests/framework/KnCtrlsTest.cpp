#include "framework/KnCtrls.h"

#include "color/ColorMan.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Published.h"
#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"
#include "TestBitmaps.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;

namespace {

std::unique_ptr<TKnBevel> MakeBevel(TBevelType type, TColor color)
{
    auto b = std::make_unique<TKnBevel>();
    b->SetBevelType(type);
    b->SetColor(color);
    return b;
}

TRect Shrunk(TBevelType type, bool focused, TRect r = Rect(0, 0, 10, 10))
{
    TBitmap b(20, 20);
    PaintBevel(b.Canvas(), r, *MakeBevel(type, clGray), focused);
    return r;
}

// A concrete TKnControl that counts its renders, as a descendant would be built.
class Panel : public TKnControl {
public:
    explicit Panel(TComponent* owner)
        : TKnControl(owner)
    {
        SetBounds(10, 10, 40, 20);
    }
    int renders { 0 };

    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<Panel>("TKnTestPanel", &TKnControl::StaticClassInfo())
            .Apply([](auto& b) { PublishKnControl(b); })
            .Apply([](auto& b) { PublishInherited(b, { "Align", "Visible", "OnClick" }); })
            .Creator([](TComponent* owner) -> TComponent* { return new Panel(owner); })
            .Build();
        return info;
    }

protected:
    void PaintBackup() override
    {
        TKnControl::PaintBackup();
        ++renders;
    }
};

} // namespace

// ---- TKnBevel and PaintBevel ---------------------------------------------------------

TEST(KnBevel, EachStyleTakesItsRoomWhetherDrawnOrNot)
{
    EXPECT_EQ(Shrunk(btNone, false), Rect(0, 0, 10, 10));
    EXPECT_EQ(Shrunk(btWindows95, false), Rect(2, 2, 8, 8));
    EXPECT_EQ(Shrunk(btFlat3D, false), Rect(1, 1, 9, 9));
    EXPECT_EQ(Shrunk(btIE4Interactive, false), Rect(1, 1, 9, 9));
    EXPECT_EQ(Shrunk(btIE4Interactive, true), Rect(1, 1, 9, 9));
    EXPECT_EQ(Shrunk(bt2DRect, false), Rect(1, 1, 9, 9));
    // Smaller than the bevel: empty, never turned inside out.
    EXPECT_EQ(Shrunk(btWindows95, false, Rect(0, 0, 3, 3)), Rect(2, 2, 2, 2));
    EXPECT_EQ(Shrunk(btFlat3D, false, Rect(5, 5, 5, 6)), Rect(6, 6, 6, 6));
    // At the ends of the coordinate range.
    EXPECT_EQ(Shrunk(btWindows95, false, Rect(2147483646, -2147483647 - 1, 2147483647, -2147483647)),
        Rect(2147483647, -2147483646, 2147483647, -2147483646));
}

TEST(KnBevel, Windows95DrawsTwoReliefsAndLeavesTheOuterEdgesOutside)
{
    const TColor c = 0x808080;
    const TColor d50 = DarkenColor(c, 50), d120 = DarkenColor(c, 120), l64 = BrightenColor(c, 64);
    // Inside a larger bitmap every edge shows.
    auto b = test::Filled(14, 14, clBlue);
    TRect r = Rect(2, 2, 12, 12);
    PaintBevel(b->Canvas(), r, *MakeBevel(btWindows95, c), false);
    auto at = [&](int x, int y) { return b->Image().GetColor(x, y); };
    EXPECT_EQ(at(2, 2), d50);
    EXPECT_EQ(at(12, 2), d50) << "the first polyline starts at (R, T)";
    EXPECT_EQ(at(2, 11), d50);
    EXPECT_EQ(at(2, 12), l64) << "the last one starts at (L, B)";
    EXPECT_EQ(at(3, 3), d120);
    EXPECT_EQ(at(11, 3), d120);
    EXPECT_EQ(at(3, 10), d120);
    EXPECT_EQ(at(3, 11), c);
    EXPECT_EQ(at(11, 11), c);
    EXPECT_EQ(at(11, 4), c);
    EXPECT_EQ(at(12, 12), l64);
    EXPECT_EQ(at(12, 3), l64);
    EXPECT_EQ(at(4, 4), clBlue) << "the inside is left alone";
    EXPECT_EQ(at(13, 13), clBlue);

    // On the bitmap's full bounds the parts at x = R and y = B leave nothing.
    auto full = test::Filled(10, 10, clBlue);
    TRect all = Rect(0, 0, 10, 10);
    PaintBevel(full->Canvas(), all, *MakeBevel(btWindows95, c), false);
    EXPECT_EQ(test::CountColor(*full, Rect(0, 0, 10, 10), l64), 0);
    EXPECT_EQ(full->Image().GetColor(9, 9), c);
}

TEST(KnBevel, FlatInteractiveAndRectangleStyles)
{
    const TColor c = 0x4080C0;
    auto paint = [&](TBevelType type, bool focused) {
        auto b = test::Filled(12, 12, clBlue);
        b->Canvas().Brush().SetColor(clYellow);
        TRect r = Rect(1, 1, 11, 11);
        PaintBevel(b->Canvas(), r, *MakeBevel(type, c), focused);
        return b;
    };
    auto flat = paint(btFlat3D, false);
    EXPECT_EQ(flat->Image().GetColor(1, 1), DarkenColor(c, 50));
    EXPECT_EQ(flat->Image().GetColor(11, 11), BrightenColor(c, 64));
    EXPECT_EQ(flat->Image().GetColor(2, 2), clBlue);

    auto unfocused = paint(btIE4Interactive, false);
    EXPECT_EQ(test::CountColor(*unfocused, Rect(0, 0, 12, 12), clBlue), 144) << "no edge without focus";
    auto focused = paint(btIE4Interactive, true);
    EXPECT_EQ(test::FirstDifference(*focused, {}, *flat, {}, 12, 12), "");

    auto frame = paint(bt2DRect, false);
    EXPECT_EQ(frame->Image().GetColor(1, 1), c);
    EXPECT_EQ(frame->Image().GetColor(10, 10), c);
    EXPECT_EQ(frame->Image().GetColor(5, 5), clYellow) << "the inside takes the canvas's brush";
    EXPECT_EQ(frame->Image().GetColor(11, 11), clBlue);
}

TEST(KnBevel, SettersFireOnChangeOnlyForNewValues)
{
    TKnBevel b;
    EXPECT_EQ(b.BevelType(), btNone);
    EXPECT_EQ(b.Size(), 0);
    EXPECT_EQ(b.Color(), clBlack);
    int fired = 0;
    b.SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, &b);
        ++fired;
    });
    b.SetBevelType(btNone);
    b.SetSize(0);
    b.SetColor(clBlack);
    EXPECT_EQ(fired, 0);
    b.SetSize(3);
    b.SetColor(clRed);
    b.SetBevelType(bt2DRect);
    EXPECT_EQ(fired, 3);

    TKnBevel other;
    other.SetColor(clRed);
    other.SetSize(3);
    other.SetBevelType(bt2DRect);
    other.SetOnChange([](TObject*) { FAIL() << "the handler is not copied"; });
    fired = 0;
    b.Assign(&other);
    EXPECT_EQ(fired, 0) << "nothing differs";
    TKnBevel third;
    b.Assign(&third);
    EXPECT_EQ(fired, 3) << "once for each value that differs";
    EXPECT_EQ(b.BevelType(), btNone);

    TGradient notABevel;
    EXPECT_EQ(test::MessageOf([&] { b.Assign(&notABevel); }), "Cannot assign a TGradient to a TKnBevel");
    EXPECT_EQ(fired, 3);
}

// ---- TKnControl ----------------------------------------------------------------------

TEST(KnControl, DefaultsAndAQuietConstruction)
{
    Panel p(nullptr);
    EXPECT_EQ(p.renders, 0) << "construction renders nothing";
    EXPECT_EQ(p.Bevel().BevelType(), btWindows95);
    EXPECT_EQ(p.Bevel().Size(), 2);
    EXPECT_EQ(p.Bevel().Color(), clBtnFace);
    EXPECT_EQ(p.Background().BackStyle(), bgSingleColor);
    EXPECT_EQ(p.Background().Color(), clBlack);
    EXPECT_FALSE(p.Focused());
    EXPECT_FALSE(p.MouseInControl());
    p.RepaintAll();
    EXPECT_EQ(p.WorkRect(), Rect(2, 2, 38, 18));
    EXPECT_EQ(p.Backup().Image().GetColor(0, 0), DarkenColor(clBtnFace, 50));
    EXPECT_EQ(p.Backup().Image().GetColor(2, 2), clBlack);
    p.SetBounds(0, 0, 3, 3);
    p.RepaintAll();
    EXPECT_EQ(p.WorkRect(), Rect(2, 2, 2, 2)) << "smaller than its bevel: nothing left";
}

TEST(KnControl, EachRenderStartsFromANewBuffersFace)
{
    // The bevel leaves a stripe inside its right and bottom edges (column 38 and
    // row 18 here) that a descendant may draw over; the next render clears it.
    class Spotted : public Panel {
    public:
        using Panel::Panel;
        bool spot { true };

    protected:
        void PaintBackup() override
        {
            Panel::PaintBackup();
            if (spot)
                Backup().Canvas().SetPixels(38, 18, clRed);
        }
    };
    Spotted p(nullptr);
    p.RepaintAll();
    EXPECT_EQ(p.Backup().Image().GetColor(38, 18), clRed);
    EXPECT_EQ(p.Backup().Image().GetColor(38, 5), clWhite);
    p.spot = false;
    p.RepaintAll();
    EXPECT_EQ(p.Backup().Image().GetColor(38, 18), clWhite);
}

TEST(KnControl, ChangesRenderOnceEachAndEqualValuesNothing)
{
    Panel p(nullptr);
    p.Bevel().SetBevelType(btWindows95);
    p.Background().SetColor(clBlack);
    p.SetFocused(false);
    p.SetBevel(p.Bevel());
    p.SetBackground(p.Background());
    EXPECT_EQ(p.renders, 0);

    p.SetFocused(true);
    EXPECT_EQ(p.renders, 1);
    p.Bevel().SetColor(clRed);
    EXPECT_EQ(p.renders, 2);
    p.Background().SetStyle(bgGradient);
    EXPECT_EQ(p.renders, 3);

    // A bevel differing in three values: three changes, and the setter's own render.
    TKnBevel other;
    other.SetBevelType(btFlat3D);
    other.SetSize(4);
    other.SetColor(clLime);
    p.renders = 0;
    p.SetBevel(other);
    EXPECT_EQ(p.renders, 4);
    EXPECT_EQ(p.Bevel().Size(), 4);
    EXPECT_EQ(p.WorkRect(), Rect(1, 1, 39, 19));
}

TEST_F(FormTest, KnControlMouseEnterAndLeaveFireWithoutRendering)
{
    auto* p = new Panel(&Form());
    p->SetParent(&Form());
    Application().ProcessMessages();
    std::vector<std::string> events;
    p->SetOnMouseEnter([&](TObject* s) { events.push_back(s == p ? "enter" : "?"); });
    p->SetOnMouseLeave([&](TObject* s) { events.push_back(s == p ? "leave" : "?"); });
    const int renders = p->renders;
    Headless().MouseMove(Screen({ 20, 15 }));
    Application().ProcessMessages();
    EXPECT_TRUE(p->MouseInControl());
    Headless().MouseMove(Screen({ 200, 150 }));
    Application().ProcessMessages();
    EXPECT_FALSE(p->MouseInControl());
    EXPECT_EQ(events, (std::vector<std::string> { "enter", "leave" }));
    EXPECT_EQ(p->renders, renders);
}

TEST(KnControl, PublishedPropertiesRoundTrip)
{
    RegisterClass(Panel::StaticClassInfo());
    TForm form(nullptr);
    form.SetName("F");
    auto* p = new Panel(&form);
    p->SetName("P");
    p->SetParent(&form);
    p->Bevel().SetBevelType(btIE4Interactive);
    p->Bevel().SetSize(5);
    p->Background().SetStyle(bgGradient);
    p->Background().Gradient().SetColor1(clNavy);
    const std::string text = test::ExpectRoundTrip(form);
    EXPECT_NE(text.find("    Bevel.BevelType = btIE4Interactive\n    Bevel.Size = 5\n    Bevel.Color = clBtnFace\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("Background.BackStyle = bgGradient"), std::string::npos);
    EXPECT_NE(text.find("Background.Color = clBlack"), std::string::npos) << "no default: always written";

    // Hostile values get the reader's error.
    auto read = [&](const std::string& line) {
        return test::MessageOf([&] {
            std::unique_ptr<TComponent> r(ReadComponentFromText(
                "object F: TForm\n  object P: TKnTestPanel\n    " + line + "\n  end\nend\n", nullptr));
        });
    };
    EXPECT_NE(read("Bevel.Size = 6").find("Line 3"), std::string::npos);
    EXPECT_NE(read("Bevel.Size = -1").find("out of range"), std::string::npos);
    EXPECT_NE(read("Bevel.Size = 4294967295").find("out of range"), std::string::npos);
    EXPECT_NE(read("Bevel.BevelType = btRound").find("is not a value of TBevelType"), std::string::npos);
    EXPECT_NE(read("Background.BackStyle = 7").find("Line 3"), std::string::npos);
    UnregisterClass(Panel::StaticClassInfo());
}
