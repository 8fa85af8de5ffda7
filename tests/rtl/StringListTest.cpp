#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/StringList.h"
#include "rtl/TypInfo.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <vector>

using namespace plx;

namespace {

using test::Lines;

using V = std::vector<std::string>;

class TTag : public TObject {};

} // namespace

TEST(TStringList, LinesCarryTheirObjects)
{
    TTag a, b;
    TStringList list;
    EXPECT_EQ(list.AddObject("one", &a), 0);
    EXPECT_EQ(list.Add("three"), 1);
    list.InsertObject(1, "two", &b);
    EXPECT_EQ(Lines(list), (V { "one", "two", "three" }));
    EXPECT_EQ(list.Objects(0), &a);
    EXPECT_EQ(list.Objects(1), &b);
    EXPECT_EQ(list.Objects(2), nullptr);
    list.SetStrings(1, "2");
    EXPECT_EQ(list.Objects(1), &b);
    EXPECT_EQ(list.IndexOfObject(&b), 1);
    list.Delete(0);
    EXPECT_EQ(Lines(list), (V { "2", "three" }));
    EXPECT_EQ(list.IndexOfObject(&a), -1);
}

TEST(TStringList, IndexErrorsAreStringListErrors)
{
    TStringList list;
    list.Add("a");
    try {
        (void)list.Strings(3);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(2, "x"), EStringListError);
    EXPECT_THROW((void)list.Objects(1), EStringListError);
}

TEST(TStringList, IndexOfIgnoresAsciiCase)
{
    TStringList list;
    list.SetText("Alpha\nBETA\n");
    EXPECT_EQ(list.IndexOf("beta"), 1);
    EXPECT_EQ(list.IndexOf("gamma"), -1);
}

TEST(TStringList, NamesAndValues)
{
    TStringList list;
    list.Add("Key=Value");
    list.Add("novalue");
    list.Add("Empty=");
    list.Add("a=b=c");
    EXPECT_EQ(list.Names(0), "Key");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.Values("KEY"), "Value");
    EXPECT_EQ(list.Values("a"), "b=c");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("empty"), 2);
    EXPECT_EQ(list.ValueFromIndex(3), "b=c");
    list.SetValues("key", "new");
    EXPECT_EQ(list.Strings(0), "key=new");
    list.SetValues("added", "1");
    EXPECT_EQ(list.Strings(4), "added=1");
    // An empty value deletes the line.
    list.SetValues("a", "");
    EXPECT_EQ(list.IndexOfName("a"), -1);
    EXPECT_EQ(list.Count(), 4);
}

TEST(TStringList, TextEndsEveryLineAndReadsAllBreaks)
{
    TStringList list;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(Lines(list), (V { "a", "b", "c", "d" }));
    EXPECT_EQ(list.Text(), "a\nb\nc\nd\n");
    list.SetText("x\n\ny\n");
    EXPECT_EQ(Lines(list), (V { "x", "", "y" }));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(TStringList, CommaTextQuotesWhatNeedsIt)
{
    TStringList list;
    list.SetText("plain\nwith space\ncomma,inside\nsay \"hi\"\n\n");
    EXPECT_EQ(list.CommaText(), "plain,\"with space\",\"comma,inside\",\"say \"\"hi\"\"\",\"\"");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_TRUE(back.Equals(list));
}

TEST(TStringList, SetCommaTextSplitsAtCommasAndBlanks)
{
    TStringList list;
    list.SetCommaText("a,b c,,\"d e\" , f,");
    EXPECT_EQ(Lines(list), (V { "a", "b", "c", "", "d e", "f" }));
    list.SetCommaText("  ");
    EXPECT_EQ(list.Count(), 0);
    list.SetCommaText("\"unterminated");
    EXPECT_EQ(Lines(list), (V { "unterminated" }));
    list.SetCommaText("0,16777215,0,16777215,0,4,1,1");
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(list.Strings(1), "16777215");
}

TEST(TStringList, SortIsCaseInsensitiveAndKeepsObjects)
{
    TTag tag;
    TStringList list;
    list.Add("pear");
    list.AddObject("Apple", &tag);
    list.Add("banana");
    list.Sort();
    EXPECT_EQ(Lines(list), (V { "Apple", "banana", "pear" }));
    EXPECT_EQ(list.Objects(0), &tag);
}

TEST(TStringList, CustomSortWithAComparatorThatContradictsItselfKeepsEveryString)
{
    TStringList list;
    std::multiset<std::string> strings;
    for (int i = 0; i < 500; ++i) {
        list.Add(std::to_string(i % 37));
        strings.insert(std::to_string(i % 37));
    }
    std::mt19937 random(11);
    list.CustomSort([&random](const TStringList&, std::int32_t, std::int32_t) { return static_cast<int>(random() % 3) - 1; });
    const V after = Lines(list);
    EXPECT_EQ(std::multiset<std::string>(after.begin(), after.end()), strings);
    list.CustomSort([](const TStringList& l, std::int32_t a, std::int32_t b) { return CompareStr(l.Strings(a), l.Strings(b)); });
    EXPECT_EQ(list.Strings(0), "0");
    EXPECT_EQ(list.Strings(499), "9");
}

TEST(TStringList, SortedListsInsertInOrderAndHandleDuplicates)
{
    TStringList list;
    list.Add("c");
    list.Add("a");
    list.SetSorted(true);
    EXPECT_EQ(list.Add("b"), 1);
    EXPECT_EQ(Lines(list), (V { "a", "b", "c" }));
    EXPECT_EQ(list.Add("B"), 1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf("C"), 2);
    std::int32_t index = -1;
    EXPECT_FALSE(list.Find("bb", index));
    EXPECT_EQ(index, 2);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("a"), EStringListError);
    list.SetDuplicates(dupAccept);
    list.Add("A");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_THROW(list.Insert(0, "z"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "z"), EStringListError);
}

TEST(TStringList, ChangeEventsFireOncePerBatch)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.SetOnChanging([&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changing;
    });
    list.SetOnChange([&](TObject*) { ++changed; });
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    list.SetText("x\ny\nz");
    EXPECT_EQ(changed, 2);
    list.BeginUpdate();
    list.Add("1");
    list.Add("2");
    EXPECT_EQ(changed, 2);
    list.EndUpdate();
    EXPECT_EQ(changed, 3);
}

TEST(TStringList, AFailedBatchStillEndsItsUpdate)
{
    // A batch that raises part-way (a duplicate in a sorted list) ends its
    // update all the same: the next change is reported again.
    TStringList source;
    source.Add("a");
    source.Add("a");
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    int changed = 0;
    list.SetOnChange([&](TObject*) { ++changed; });
    EXPECT_THROW(list.AddStrings(source), EStringListError);
    EXPECT_EQ(changed, 1) << "the batch's one change event";
    list.Add("b");
    EXPECT_EQ(changed, 2);

    // A handler that raises at the end of a batch reaches the caller.
    list.SetOnChange([](TObject*) { throw EConvertError("from the handler"); });
    EXPECT_THROW(list.SetText("x\ny"), EConvertError);
    list.SetOnChange({});
    list.Add("c");
    EXPECT_EQ(list.Count(), 3);
}

TEST(TStringList, AssignCopiesLinesAndRejectsOtherClasses)
{
    TTag tag;
    TStringList source, dest;
    source.AddObject("a", &tag);
    source.Add("b");
    dest.Add("old");
    dest.Assign(&source);
    EXPECT_TRUE(dest.Equals(source));
    EXPECT_EQ(dest.Objects(0), &tag);
    dest.Assign(&dest);
    EXPECT_EQ(dest.Count(), 2);
    dest.AddStrings(dest);
    EXPECT_EQ(dest.Count(), 4);
    TPersistent other;
    try {
        dest.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TStringList");
    }
    EXPECT_EQ(dest.ClassType().Name(), "TStringList");
}

TEST(TStringList, FilesRoundTripTheText)
{
    const auto path = (std::filesystem::temp_directory_path() / "plx_stringlist_test.txt").string();
    TStringList list;
    list.SetText("first\nsecond\n");
    list.SaveToFile(path);
    TStringList back;
    back.LoadFromFile(path);
    EXPECT_TRUE(back.Equals(list));
    std::filesystem::remove(path);
    EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
    TMemoryStream stream;
    list.SaveToStream(stream);
    stream.SetPosition(0);
    back.Clear();
    back.LoadFromStream(stream);
    EXPECT_TRUE(back.Equals(list));
}
