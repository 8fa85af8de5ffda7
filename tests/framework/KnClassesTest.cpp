#include "framework/KnClasses.h"

#include "framework/host/Control.h"
#include "framework/host/ExtCtrls.h"
#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/StringList.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"
#include "TestForms.h"
#include "TestStrings.h"
#include "host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;

namespace {

using test::Lines;

// ---- Helpers ------------------------------------------------------------------------

// An object that records its destruction in a shared log.
class Tracked : public TObject {
public:
    Tracked(std::vector<std::string>& log, std::string name)
        : m_log(log)
        , m_name(std::move(name))
    {
    }
    ~Tracked() override { m_log.push_back(m_name); }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

// A control that counts its repaints and can act inside one.
class Listener : public TGraphicControl {
public:
    explicit Listener(bool* destroyed = nullptr)
        : TGraphicControl(nullptr)
        , m_destroyed(destroyed)
    {
    }
    ~Listener() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }
    void Repaint() override
    {
        ++repaints;
        if (onRepaint)
            onRepaint();
        TGraphicControl::Repaint();
    }
    int repaints { 0 };
    std::function<void()> onRepaint;

private:
    bool* m_destroyed;
};

std::vector<std::uint8_t> BytesOf(TKnStream& s)
{
    return std::vector<std::uint8_t>(s.Memory(), s.Memory() + s.Size());
}

std::vector<std::uint8_t> FloatBytes(long double value)
{
    TKnStream s;
    s.WriteFloat(value);
    return BytesOf(s);
}

constexpr bool kLongDoubleIsX87 = std::numeric_limits<long double>::digits == 64;

} // namespace

// ---- TObjectsList -------------------------------------------------------------------

TEST(KnObjectsList, DestructorFreesEveryObjectOnce)
{
    std::vector<std::string> log;
    {
        TObjectsList list;
        auto* a = new Tracked(log, "a");
        list.Add(a);
        list.Add(nullptr);
        list.Add(new Tracked(log, "b"));
        list.Add(a);
        EXPECT_EQ(list.Count(), 4);
    }
    EXPECT_EQ(log, (std::vector<std::string> { "a", "b" })) << "in order, nil skipped, the repeated object once";
}

TEST(KnObjectsList, FreeItemFreesAndShiftsSetObjsDoesNotFree)
{
    std::vector<std::string> log;
    Tracked kept(log, "kept");
    {
        TObjectsList list;
        list.Add(new Tracked(log, "a"));
        list.Add(new Tracked(log, "b"));
        list.Add(new Tracked(log, "c"));
        list.FreeItem(1);
        EXPECT_EQ(log, (std::vector<std::string> { "b" }));
        ASSERT_EQ(list.Count(), 2);
        TObject* c = list.GetObjs(1);
        list.SetObjs(1, &kept);
        EXPECT_EQ(log.size(), 1u) << "replacing does not free";
        delete c;
        list.Add(nullptr);
        list.FreeItem(2);
        EXPECT_EQ(list.Count(), 2);
        EXPECT_THROW((void)list.GetObjs(2), EListError);
        EXPECT_THROW(list.FreeItem(-1), EListError);
        list.SetObjs(1, nullptr);
    }
    EXPECT_EQ(log, (std::vector<std::string> { "b", "c", "a" }));
}

// ---- TMatrix ---------------------------------------------------------------------------

TEST(KnMatrix, CellsLiveInOneFlatListWithASpareEntry)
{
    TMatrix m(3, 2);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 2);
    EXPECT_EQ(m.Count(), 7);
    m.SetCells(2, 1, 42);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(m.Get(5)), 42) << "cell (2, 1) is entry 2 + 1 × 3";
    EXPECT_EQ(m.GetCells(2, 1), 42);
    m.SetCells(1, 0, -7);
    EXPECT_EQ(m.GetCells(1, 0), -7);
    EXPECT_EQ(m.Get(6), nullptr) << "the spare entry";
    EXPECT_EQ(m.GetCells(6, 0), 0) << "only the flat index is checked";
    EXPECT_THROW((void)m.GetCells(0, 3), EListError);
    EXPECT_THROW(m.SetCells(-1, 0, 1), EListError);
    TMatrix empty(0, 5);
    EXPECT_EQ(empty.Count(), 1);
}

TEST(KnMatrix, OnCellChangeFiresOnEveryWrite)
{
    TMatrix m(3, 2);
    std::vector<std::pair<int, int>> calls;
    m.SetOnCellChange([&](TObject* sender, std::uint16_t r, std::uint16_t c) {
        EXPECT_EQ(sender, &m);
        calls.emplace_back(r, c);
    });
    m.SetCells(1, 1, 5);
    m.SetCells(1, 1, 5);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>> { { 1, 1 }, { 1, 1 } }));
    EXPECT_THROW(m.SetCells(9, 9, 1), EListError);
    EXPECT_EQ(calls.size(), 2u) << "no event for a write that failed";

    TMatrix tall(70000, 1);
    std::uint16_t seen = 0;
    tall.SetOnCellChange([&](TObject*, std::uint16_t r, std::uint16_t) { seen = r; });
    tall.SetCells(65537, 0, 1);
    EXPECT_EQ(seen, 1) << "indexes reach the handler cut to 16 bits";
}

TEST(KnMatrix, RecreateClearsWithoutFreeing)
{
    std::vector<std::string> log;
    Tracked object(log, "object");
    TObjMatrix m(2, 2);
    m.SetObjs(1, 1, &object);
    m.SetCells(0, 0, 9);
    m.Recreate(4, 3);
    EXPECT_EQ(m.Rows(), 4);
    EXPECT_EQ(m.Cols(), 3);
    EXPECT_EQ(m.Count(), 13);
    for (std::int32_t r = 0; r < 4; ++r)
        for (std::int32_t c = 0; c < 3; ++c)
            EXPECT_EQ(m.GetCells(r, c), 0);
    EXPECT_TRUE(log.empty());
}

TEST(KnMatrix, ExtentsAreCheckedIn64Bits)
{
    EXPECT_THROW(TMatrix(-2, 3), EListError);
    EXPECT_THROW(TMatrix(-1, 1), EListError);
    EXPECT_THROW(TMatrix(100000, 100000), EListError) << "far beyond the list's limit";
    EXPECT_THROW(TMatrix(65536, 65537), EListError) << "wraps to 65,536 in 32 bits";
    try {
        TMatrix m(-2, 3);
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List capacity out of bounds (-5)");
    }

    TMatrix m(3, 2);
    m.SetCells(2, 1, 8);
    EXPECT_THROW(m.Recreate(65536, 65537), EListError);
    EXPECT_EQ(m.Rows(), 3) << "a refused Recreate changes nothing";
    EXPECT_EQ(m.Count(), 7);
    EXPECT_EQ(m.GetCells(2, 1), 8);

    // 65,536 × 65,536 is 2^32, which wraps to entry 0 in 32 bits.
    TMatrix wide(65536, 2);
    wide.SetCells(0, 0, 1);
    EXPECT_THROW((void)wide.GetCells(0, 65536), EListError);
}

TEST(KnMatrix, ObjMatrixDoesNotOwnItsCells)
{
    std::vector<std::string> log;
    Tracked a(log, "a");
    int events = 0;
    {
        TObjMatrix m(2, 3);
        m.SetOnCellChange([&](TObject*, std::uint16_t, std::uint16_t) { ++events; });
        m.SetObjs(1, 2, &a);
        EXPECT_EQ(m.GetObjs(1, 2), &a);
        EXPECT_EQ(m.GetObjs(0, 0), nullptr);
    }
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(log.empty());
}

// ---- TTimeAlarmer -----------------------------------------------------------------------

class AlarmerTest : public ::testing::Test {
protected:
    void TearDown() override { Application().AdvanceTime(5000); }
};

TEST_F(AlarmerTest, NoTimerUntilTheFirstStart)
{
    TTimeAlarmer alarmer;
    EXPECT_EQ(alarmer.Timer(), nullptr);
    alarmer.StopTimer();
    alarmer.SetInterval(500);
    EXPECT_EQ(alarmer.GetInterval(), 0u);
    EXPECT_EQ(alarmer.Timer(), nullptr);
    alarmer.StartTimer();
    ASSERT_NE(alarmer.Timer(), nullptr);
    EXPECT_EQ(alarmer.GetInterval(), 2000u);
    EXPECT_TRUE(alarmer.Timer()->Enabled());
    EXPECT_EQ(alarmer.Timer()->Owner(), nullptr);
}

TEST_F(AlarmerTest, StartTwiceMakesOneTimerAndDoesNotRestartIt)
{
    TTimeAlarmer alarmer;
    alarmer.StartTimer();
    TTimer* timer = alarmer.Timer();
    alarmer.StartTimer();
    EXPECT_EQ(alarmer.Timer(), timer);
    alarmer.StopTimer();
    EXPECT_FALSE(timer->Enabled());
    alarmer.StartTimer();
    EXPECT_FALSE(alarmer.Timer()->Enabled()) << "a stopped timer stays stopped";
    alarmer.SetInterval(750);
    EXPECT_EQ(alarmer.GetInterval(), 750u);
}

TEST_F(AlarmerTest, EveryTickRepaintsEveryEntry)
{
    TTimeAlarmer alarmer;
    Listener twice, once;
    EXPECT_EQ(alarmer.Add(&twice), 0);
    EXPECT_EQ(alarmer.Add(&once), 1);
    EXPECT_EQ(alarmer.Add(&twice), 2);
    alarmer.StartTimer();
    Application().AdvanceTime(1999);
    EXPECT_EQ(twice.repaints, 0);
    Application().AdvanceTime(1);
    EXPECT_EQ(twice.repaints, 2) << "a control added twice is repainted twice";
    EXPECT_EQ(once.repaints, 1);
    Application().AdvanceTime(2000);
    EXPECT_EQ(once.repaints, 2);

    EXPECT_EQ(alarmer.Remove(&twice), 0);
    EXPECT_EQ(alarmer.Remove(&once), 0);
    EXPECT_EQ(alarmer.Remove(&once), -1);
    EXPECT_EQ(alarmer.ListenerCount(), 1);
    alarmer.OnNotify(nullptr);
    EXPECT_EQ(twice.repaints, 5);
    EXPECT_EQ(once.repaints, 2);
    alarmer.StopTimer();
    Application().AdvanceTime(4000);
    EXPECT_EQ(twice.repaints, 5);
}

TEST_F(AlarmerTest, AControlThatGoesAwayLeavesTheList)
{
    TTimeAlarmer alarmer;
    Listener stays;
    auto* goes = new Listener;
    alarmer.Add(goes);
    alarmer.Add(&stays);
    alarmer.Add(goes);
    delete goes;
    EXPECT_EQ(alarmer.ListenerCount(), 1);
    EXPECT_EQ(alarmer.Listeners(0), &stays);
    alarmer.OnNotify(nullptr);
    EXPECT_EQ(stays.repaints, 1);
}

TEST_F(AlarmerTest, DestroyingTheAlarmerFreesNoControl)
{
    bool destroyed = false;
    auto* control = new Listener(&destroyed);
    {
        TTimeAlarmer alarmer;
        alarmer.Add(control);
        alarmer.StartTimer();
    }
    EXPECT_FALSE(destroyed);
    Application().AdvanceTime(4000);
    EXPECT_EQ(control->repaints, 0) << "the timer went with the alarmer";
    delete control; // must not reach the alarmer that is gone
    EXPECT_TRUE(destroyed);
}

TEST_F(AlarmerTest, ChangesDuringATickAreSafe)
{
    TTimeAlarmer alarmer;
    Listener first, removed, added;
    auto* freed = new Listener;
    first.onRepaint = [&] {
        alarmer.Remove(&removed);
        alarmer.Add(&added);
        delete freed;
    };
    alarmer.Add(&first);
    alarmer.Add(freed);
    alarmer.Add(&removed);
    alarmer.OnNotify(nullptr);
    EXPECT_EQ(first.repaints, 1);
    EXPECT_EQ(removed.repaints, 0) << "removed before its turn";
    EXPECT_EQ(added.repaints, 0) << "not registered when the round began";
    EXPECT_EQ(alarmer.ListenerCount(), 2);
    first.onRepaint = nullptr;
    alarmer.OnNotify(nullptr);
    EXPECT_EQ(added.repaints, 1);
}

TEST_F(AlarmerTest, TheSharedAlarmerBelongsToTheUnit)
{
    TTimeAlarmer* shared = Alarmer();
    ASSERT_NE(shared, nullptr);
    InitializeKnClasses();
    EXPECT_EQ(Alarmer(), shared) << "a second start-up only counts";
    FinalizeKnClasses();
    EXPECT_EQ(Alarmer(), shared) << "the balancing shut-down is still to come";
    Listener control;
    shared->Add(&control);
    shared->Remove(&control);
    EXPECT_EQ(shared->ListenerCount(), 0);
}

// ---- TKnStream ---------------------------------------------------------------------------

TEST(KnStream, IntegersCharsAndBools)
{
    TKnStream s;
    s.WriteInteger(0x12345678);
    s.WriteInteger(-2);
    s.WriteChar('\xE9');
    s.WriteBool(true);
    s.WriteBool(false);
    EXPECT_EQ(BytesOf(s), (std::vector<std::uint8_t> { 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xE9, 0x01, 0x00 }));
    s.SetPosition(0);
    EXPECT_EQ(s.ReadInteger(), 0x12345678);
    EXPECT_EQ(s.ReadInteger(), -2);
    EXPECT_EQ(s.ReadChar(), '\xE9');
    EXPECT_TRUE(s.ReadBool());
    EXPECT_FALSE(s.ReadBool());
    EXPECT_EQ(s.Position(), 11);
    const std::uint8_t seven = 0x7F;
    s.Write(&seven, 1);
    s.SetPosition(11);
    EXPECT_TRUE(s.ReadBool()) << "any non-zero byte";
}

TEST(KnStream, StringsAndTheTwoLineExample)
{
    TKnStream s;
    TStringList list;
    list.Add("a");
    list.Add("bc");
    s.WriteStrings(list);
    EXPECT_EQ(BytesOf(s), (std::vector<std::uint8_t> { 0x02, 0, 0, 0, 0x01, 0, 0, 0, 0x61, 0x02, 0, 0, 0, 0x62, 0x63 }));

    TKnStream empty;
    empty.WriteString("");
    EXPECT_EQ(BytesOf(empty), (std::vector<std::uint8_t> { 0, 0, 0, 0 }));
    empty.SetPosition(0);
    std::string text = "stale";
    empty.ReadString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(empty.Position(), 4);

    s.SetPosition(0);
    TStringList back;
    back.Add("kept");
    s.ReadStrings(&back);
    EXPECT_EQ(Lines(back), (std::vector<std::string> { "kept", "a", "bc" })) << "appended after the lines there";
    s.SetPosition(0);
    s.ReadStrings(nullptr);
    EXPECT_EQ(s.Position(), 0) << "a null list reads nothing";
}

TEST(KnStream, FloatsAreTenBytesOfX87Extended)
{
    EXPECT_EQ(FloatBytes(1.0L), (std::vector<std::uint8_t> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F }));
    EXPECT_EQ(FloatBytes(-2.5L), (std::vector<std::uint8_t> { 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0 }));
    EXPECT_EQ(FloatBytes(0.0L), std::vector<std::uint8_t>(10, 0));
    EXPECT_EQ(FloatBytes(std::numeric_limits<long double>::infinity()),
        (std::vector<std::uint8_t> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F }));

    const long double values[] = { 1.0L, -2.5L, 0.1L, 3.141592653589793238L, 1e-300L, -1e300L,
        std::numeric_limits<long double>::max(), std::numeric_limits<long double>::min(),
        std::numeric_limits<long double>::denorm_min(), -0.0L, std::numeric_limits<long double>::infinity() };
    for (long double v : values) {
        TKnStream s;
        s.WriteFloat(v);
        EXPECT_EQ(s.Size(), 10);
        s.SetPosition(0);
        const long double back = s.ReadFloat();
        EXPECT_EQ(FloatBytes(back), FloatBytes(v)) << "bit-identical";
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
    TKnStream nan;
    nan.WriteFloat(std::numeric_limits<long double>::quiet_NaN());
    nan.SetPosition(0);
    EXPECT_TRUE(std::isnan(nan.ReadFloat()));
}

TEST(KnStream, TheHandCodecMatchesTheX87Layout)
{
    // The encoder used where long double is not the x87 type, checked here
    // against the x87 type itself.
    std::vector<long double> values = { 1.0L, -2.5L, 0.1L, 1e-4000L, -1e4000L, 6.0e-4946L, 3.3e-4940L,
        std::numeric_limits<long double>::max(), std::numeric_limits<long double>::min(),
        std::numeric_limits<long double>::denorm_min(), 0.0L, -0.0L, std::numeric_limits<long double>::infinity(),
        -std::numeric_limits<long double>::infinity(), 123456789.123456789L, static_cast<long double>(1.0 / 3) };
    for (int e = -16445; e <= 16383; e += 97)
        values.push_back(std::ldexp(1.2345678901234567890L, e));
    for (long double v : values) {
        std::uint8_t hand[10];
        detail::EncodeExtended(v, hand);
        const long double decoded = detail::DecodeExtended(hand);
        if (kLongDoubleIsX87) {
            EXPECT_EQ(std::vector<std::uint8_t>(hand, hand + 10), FloatBytes(v)) << static_cast<double>(v);
            EXPECT_EQ(FloatBytes(decoded), FloatBytes(v));
        } else {
            EXPECT_EQ(decoded, v);
        }
    }
    const std::uint8_t one[10] = { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F };
    EXPECT_EQ(detail::DecodeExtended(one), 1.0L);
    const std::uint8_t nan[10] = { 1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF };
    EXPECT_TRUE(std::isnan(detail::DecodeExtended(nan)));
    std::uint8_t encodedNan[10];
    detail::EncodeExtended(-std::numeric_limits<long double>::quiet_NaN(), encodedNan);
    EXPECT_EQ(encodedNan[9], 0xFF);
    EXPECT_EQ(encodedNan[7], 0xC0);
}

TEST(KnStream, BytesPastTheEndReadAsZero)
{
    TKnStream s;
    const std::uint8_t two[2] = { 0x01, 0x02 };
    s.Write(two, 2);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadInteger(), 0x0201);
    EXPECT_EQ(s.ReadInteger(), 0);
    EXPECT_EQ(s.ReadChar(), '\0');
    EXPECT_FALSE(s.ReadBool());
    EXPECT_EQ(s.ReadFloat(), 0.0L);
    s.SetPosition(100);
    std::string text = "stale";
    s.ReadString(text);
    EXPECT_EQ(text, "");
}

TEST(KnStream, LengthsAndCountsAreCutToTheData)
{
    TKnStream s;
    s.WriteInteger(2147483647);
    s.Write("abc", 3);
    s.SetPosition(0);
    std::string text;
    s.ReadString(text);
    EXPECT_EQ(text, "abc") << "a length beyond the data is cut to the bytes left";
    EXPECT_EQ(s.Position(), 7);

    TKnStream negative;
    negative.WriteInteger(-5);
    negative.Write("xyz", 3);
    negative.SetPosition(0);
    negative.ReadString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(negative.Position(), 4);

    TKnStream many;
    many.WriteInteger(2147483647);
    many.WriteString("one");
    many.WriteString("two");
    many.SetPosition(0);
    TStringList list;
    many.ReadStrings(&list);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "one", "two" })) << "stops at the end of the data";

    TKnStream none;
    none.WriteInteger(-3);
    none.SetPosition(0);
    none.ReadStrings(&list);
    EXPECT_EQ(list.Count(), 2);
}

TEST(KnStream, ARoundTripOfEveryKind)
{
    TKnStream s;
    TStringList lines;
    lines.SetText("first\n\nthird line\n");
    s.WriteInteger(-123456);
    s.WriteFloat(2.718281828459045235L);
    s.WriteString(std::string("with\0zero", 9));
    s.WriteStrings(lines);
    s.WriteChar('Z');
    s.WriteBool(true);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadInteger(), -123456);
    EXPECT_EQ(s.ReadFloat(), 2.718281828459045235L);
    std::string text;
    s.ReadString(text);
    EXPECT_EQ(text, std::string("with\0zero", 9));
    TStringList back;
    s.ReadStrings(&back);
    EXPECT_EQ(Lines(back), Lines(lines));
    EXPECT_EQ(s.ReadChar(), 'Z');
    EXPECT_TRUE(s.ReadBool());
    EXPECT_EQ(s.Position(), s.Size());
}

// ---- Back buffers ------------------------------------------------------------------------

namespace {

// Fills its buffer with one colour and counts its renders.
class Counted : public TKnGraphicControl {
public:
    explicit Counted(TComponent* owner)
        : TKnGraphicControl(owner)
    {
        SetBounds(10, 10, 40, 30);
    }
    int renders { 0 };
    TColor fill { clRed };

    [[nodiscard]] std::int32_t Level() const noexcept { return m_level; }
    void SetLevel(std::int32_t value)
    {
        m_level = value;
        RepaintAll();
    }
    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<Counted>("TCounted", &TKnGraphicControl::StaticClassInfo())
            .Integer("Level", &Counted::Level, &Counted::SetLevel, 0)
            .Creator([](TComponent* owner) -> TComponent* { return new Counted(owner); })
            .Build();
        return info;
    }

protected:
    void PaintBackup() override
    {
        TKnGraphicControl::PaintBackup();
        ++renders;
        Backup().Canvas().Brush().SetColor(fill);
        Backup().Canvas().FillRect(Rect(0, 0, Backup().Width(), Backup().Height()));
    }

private:
    std::int32_t m_level { 0 };
};

} // namespace

TEST(KnBackBuffer, SizeBufferKeepsAPictureOfTheSameSizeAndRefusesImpossibleOnes)
{
    TBitmap b;
    ASSERT_TRUE(SizeBuffer(b, 4, 3));
    EXPECT_EQ(b.Image().GetColor(3, 2), clWhite) << "a new picture is white";
    b.Canvas().SetPixels(1, 1, clRed);
    ASSERT_TRUE(SizeBuffer(b, 4, 3));
    EXPECT_EQ(b.Image().GetColor(1, 1), clRed) << "the same size keeps the pixels";
    ASSERT_TRUE(SizeBuffer(b, 5, 3));
    EXPECT_EQ(b.Image().GetColor(1, 1), clWhite) << "another size is a new picture";
    for (auto [w, h] : { std::pair { 0, 3 }, { 3, 0 }, { -1, 5 }, { 40000, 1 }, { 20000, 20000 } }) {
        EXPECT_FALSE(SizeBuffer(b, w, h)) << w << " x " << h;
        EXPECT_TRUE(b.Empty());
    }
}

TEST_F(FormTest, KnGraphicControlRendersOnceAndExposesByCopying)
{
    auto* c = new Counted(&Form());
    c->SetParent(&Form());
    EXPECT_EQ(c->renders, 0) << "construction renders nothing";
    Application().ProcessMessages();
    EXPECT_EQ(c->renders, 1) << "the first paint renders";
    EXPECT_EQ(Form().Surface()->GetColor(10, 10), clRed);
    EXPECT_EQ(Form().Surface()->GetColor(49, 39), clRed);

    c->fill = clBlue;
    c->Invalidate();
    Form().InvalidateFormRect(Rect(0, 0, 300, 200));
    Application().ProcessMessages();
    EXPECT_EQ(c->renders, 1) << "an expose copies the buffer";
    EXPECT_EQ(Form().Surface()->GetColor(30, 20), clRed);

    c->SetBounds(10, 10, 50, 30);
    EXPECT_EQ(c->renders, 1) << "a resize renders at the next paint, not before";
    Application().ProcessMessages();
    EXPECT_EQ(c->renders, 2);
    EXPECT_EQ(Form().Surface()->GetColor(59, 39), clBlue);
    EXPECT_EQ(c->Backup().Width(), 50);

    c->SetBounds(20, 10, 50, 30);
    Application().ProcessMessages();
    EXPECT_EQ(c->renders, 2) << "a move is no resize";

    c->fill = clLime;
    c->RepaintAll();
    EXPECT_EQ(c->renders, 3);
    EXPECT_EQ(Form().Surface()->GetColor(20, 10), clLime) << "RepaintAll shows at once";
    Application().ProcessMessages();
    EXPECT_EQ(c->renders, 3);
}

TEST_F(FormTest, KnGraphicControlRepaintAllKeepsControlsAboveOnTop)
{
    auto* c = new Counted(&Form());
    c->SetParent(&Form());
    auto* above = new TPanel(&Form());
    above->SetParent(&Form());
    above->SetBounds(30, 20, 40, 40);
    above->SetColor(clYellow);
    Application().ProcessMessages();
    c->fill = clBlue;
    c->RepaintAll();
    EXPECT_EQ(Form().Surface()->GetColor(15, 15), clBlue);
    EXPECT_EQ(Form().Surface()->GetColor(40, 30), clYellow) << "the panel above stays above";
}

TEST(KnBackBuffer, RepaintAllWithoutAWindowRendersOnlyTheBuffer)
{
    Counted loose(nullptr);
    loose.RepaintAll();
    EXPECT_EQ(loose.renders, 1);
    EXPECT_EQ(loose.Backup().Width(), 40);
    EXPECT_EQ(loose.Backup().Image().GetColor(39, 29), clRed);
    EXPECT_FALSE(loose.Canvas().HasSurface()) << "nothing to draw on";

    Counted empty(nullptr);
    empty.SetBounds(0, 0, 0, 30);
    empty.RepaintAll();
    EXPECT_EQ(empty.renders, 0) << "a control of no size renders nothing";

    // Beyond what a bitmap can hold: nothing is rendered and nothing throws.
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    auto* huge = new Counted(&form);
    huge->SetParent(&form);
    huge->SetBounds(0, 0, 40000, 50);
    huge->RepaintAll();
    TBitmap picture;
    EXPECT_NO_THROW(form.RenderTo(picture));
    EXPECT_EQ(huge->renders, 0);
    EXPECT_TRUE(huge->Backup().Empty());
}

TEST(KnBackBuffer, ReadingAFormRendersOnceAtTheFirstPaint)
{
    RegisterClass(Counted::StaticClassInfo());
    const std::string text = "object F: TForm\n  ClientWidth = 100\n  ClientHeight = 60\n"
                             "  object C: TCounted\n    Left = 5\n    Top = 5\n    Width = 20\n    Height = 20\n"
                             "    Level = 3\n  end\nend\n";
    std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr));
    auto* c = dynamic_cast<Counted*>(root->FindComponent("C"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->renders, 0) << "a setter's RepaintAll waits while loading";
    auto picture = test::Picture(dynamic_cast<TForm&>(*root));
    EXPECT_EQ(c->renders, 1);
    EXPECT_EQ(picture->Image().GetColor(24, 24), clRed);
    test::ExpectRoundTrip(*root);
    UnregisterClass(Counted::StaticClassInfo());
}
