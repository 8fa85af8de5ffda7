#include "rtl/StringList.h"

#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"
#include "rtl/detail/MergeSort.h"

#include <algorithm>
#include <numeric>

namespace plx {

namespace {

constexpr bool IsBlankOrControl(char c) noexcept { return static_cast<unsigned char>(c) <= ' '; }

bool NeedsQuotes(std::string_view text) noexcept
{
    return text.empty() || std::any_of(text.begin(), text.end(), [](char c) {
        return IsBlankOrControl(c) || c == ',' || c == '"';
    });
}

std::string Quoted(std::string_view text)
{
    std::string result = "\"";
    for (char c : text) {
        if (c == '"')
            result.push_back('"');
        result.push_back(c);
    }
    result.push_back('"');
    return result;
}

// Reads a quoted item starting at text[i] == '"'; a doubled quote stands for
// one, and a missing closing quote ends the item at the end of the text.
std::string ExtractQuoted(std::string_view text, std::size_t& i)
{
    std::string result;
    ++i;
    while (i < text.size()) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                result.push_back('"');
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        result.push_back(text[i++]);
    }
    return result;
}

} // namespace

// ---------------------------------------------------------------------------
// TStrings

void TStrings::IndexError(std::int32_t index)
{
    throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TStrings::SetStrings(std::int32_t index, const std::string& text)
{
    TObject* object = Objects(index);
    Delete(index);
    InsertObject(index, text, object);
}

TObject* TStrings::Objects(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return nullptr;
}

void TStrings::SetObjects(std::int32_t index, TObject*)
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

std::int32_t TStrings::Add(const std::string& text)
{
    const std::int32_t index = Count();
    Insert(index, text);
    return index;
}

std::int32_t TStrings::AddObject(const std::string& text, TObject* object)
{
    const std::int32_t index = Add(text);
    SetObjects(index, object);
    return index;
}

void TStrings::InsertObject(std::int32_t index, const std::string& text, TObject* object)
{
    Insert(index, text);
    SetObjects(index, object);
}

void TStrings::AddStrings(const TStrings& strings)
{
    TStringsUpdate update(*this);
    // The count is taken once, so adding a list to itself doubles it.
    const std::int32_t count = strings.Count();
    for (std::int32_t i = 0; i < count; ++i)
        AddObject(strings.Strings(i), strings.Objects(i));
}

void TStrings::Exchange(std::int32_t index1, std::int32_t index2)
{
    TStringsUpdate update(*this);
    std::string text = Strings(index1);
    TObject* object = Objects(index1);
    SetStrings(index1, Strings(index2));
    SetObjects(index1, Objects(index2));
    SetStrings(index2, text);
    SetObjects(index2, object);
}

void TStrings::Move(std::int32_t curIndex, std::int32_t newIndex)
{
    if (curIndex == newIndex)
        return;
    TStringsUpdate update(*this);
    std::string text = Strings(curIndex);
    TObject* object = Objects(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, text, object);
}

std::int32_t TStrings::IndexOf(std::string_view text) const
{
    for (std::int32_t i = 0; i < Count(); ++i)
        if (SameText(Strings(i), text))
            return i;
    return -1;
}

std::int32_t TStrings::IndexOfObject(const TObject* object) const
{
    for (std::int32_t i = 0; i < Count(); ++i)
        if (Objects(i) == object)
            return i;
    return -1;
}

bool TStrings::Equals(const TStrings& other) const
{
    if (Count() != other.Count())
        return false;
    for (std::int32_t i = 0; i < Count(); ++i)
        if (Strings(i) != other.Strings(i))
            return false;
    return true;
}

std::string TStrings::Names(std::int32_t index) const
{
    std::string line = Strings(index);
    const std::size_t p = line.find('=');
    return p == std::string::npos ? std::string() : line.substr(0, p);
}

std::int32_t TStrings::IndexOfName(std::string_view name) const
{
    for (std::int32_t i = 0; i < Count(); ++i) {
        std::string line = Strings(i);
        const std::size_t p = line.find('=');
        if (p != std::string::npos && SameText(std::string_view(line).substr(0, p), name))
            return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const
{
    const std::int32_t index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

std::string TStrings::ValueFromIndex(std::int32_t index) const
{
    std::string line = Strings(index);
    const std::size_t p = line.find('=');
    return p == std::string::npos ? std::string() : line.substr(p + 1);
}

void TStrings::SetValues(std::string_view name, std::string_view value)
{
    const std::int32_t index = IndexOfName(name);
    if (!value.empty()) {
        std::string line = std::string(name) + "=" + std::string(value);
        if (index < 0)
            Add(line);
        else
            SetStrings(index, line);
    } else if (index >= 0) {
        Delete(index);
    }
}

std::string TStrings::Text() const
{
    std::string result;
    for (std::int32_t i = 0; i < Count(); ++i) {
        result += Strings(i);
        result += sLineBreak;
    }
    return result;
}

void TStrings::SetText(std::string_view text)
{
    TStringsUpdate update(*this);
    Clear();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        while (i < text.size() && text[i] != '\r' && text[i] != '\n')
            ++i;
        Add(std::string(text.substr(start, i - start)));
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
    }
}

std::string TStrings::CommaText() const
{
    std::string result;
    for (std::int32_t i = 0; i < Count(); ++i) {
        if (i > 0)
            result.push_back(',');
        std::string line = Strings(i);
        result += NeedsQuotes(line) ? Quoted(line) : line;
    }
    return result;
}

void TStrings::SetCommaText(std::string_view text)
{
    TStringsUpdate update(*this);
    Clear();
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && IsBlankOrControl(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        if (text[i] == '"') {
            Add(ExtractQuoted(text, i));
        } else {
            const std::size_t start = i;
            while (i < text.size() && !IsBlankOrControl(text[i]) && text[i] != ',')
                ++i;
            Add(std::string(text.substr(start, i - start)));
        }
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
}

void TStrings::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        text.resize(static_cast<std::size_t>(std::max<std::int64_t>(stream.Read(text.data(), size), 0)));
    }
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const
{
    const std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::BeginUpdate()
{
    if (m_updateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool)
{
}

void TStrings::Assign(const TPersistent* source)
{
    if (auto strings = dynamic_cast<const TStrings*>(source)) {
        if (strings == this)
            return;
        TStringsUpdate update(*this);
        Clear();
        AddStrings(*strings);
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo& TStrings::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TStrings>("TStrings", &TPersistent::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TStrings::ClassType() const
{
    return StaticClassInfo();
}

// ---------------------------------------------------------------------------
// TStringList

void TStringList::CheckIndex(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

void TStringList::CheckUnsorted() const
{
    if (m_sorted)
        throw EStringListError("Operation not allowed on sorted string list");
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && m_onChanging)
        m_onChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && m_onChange)
        m_onChange(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

std::string TStringList::Strings(std::int32_t index) const
{
    CheckIndex(index);
    return m_items[static_cast<std::size_t>(index)].String;
}

void TStringList::SetStrings(std::int32_t index, const std::string& text)
{
    CheckUnsorted();
    CheckIndex(index);
    Changing();
    m_items[static_cast<std::size_t>(index)].String = text;
    Changed();
}

TObject* TStringList::Objects(std::int32_t index) const
{
    CheckIndex(index);
    return m_items[static_cast<std::size_t>(index)].Object;
}

void TStringList::SetObjects(std::int32_t index, TObject* object)
{
    CheckIndex(index);
    Changing();
    m_items[static_cast<std::size_t>(index)].Object = object;
    Changed();
}

void TStringList::InsertItem(std::int32_t index, const std::string& text, TObject* object)
{
    Changing();
    m_items.insert(m_items.begin() + index, TStringItem { text, object });
    Changed();
}

void TStringList::Insert(std::int32_t index, const std::string& text)
{
    CheckUnsorted();
    if (index < 0 || index > Count())
        IndexError(index);
    InsertItem(index, text, nullptr);
}

std::int32_t TStringList::Add(const std::string& text)
{
    std::int32_t index = Count();
    if (m_sorted && Find(text, index)) {
        if (m_duplicates == dupIgnore)
            return index;
        if (m_duplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, text, nullptr);
    return index;
}

void TStringList::Delete(std::int32_t index)
{
    CheckIndex(index);
    Changing();
    m_items.erase(m_items.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (m_items.empty())
        return;
    Changing();
    m_items.clear();
    m_items.shrink_to_fit();
    Changed();
}

void TStringList::Exchange(std::int32_t index1, std::int32_t index2)
{
    CheckUnsorted();
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(m_items[static_cast<std::size_t>(index1)], m_items[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Move(std::int32_t curIndex, std::int32_t newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckUnsorted();
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    Changing();
    TStringItem item = std::move(m_items[static_cast<std::size_t>(curIndex)]);
    m_items.erase(m_items.begin() + curIndex);
    m_items.insert(m_items.begin() + newIndex, std::move(item));
    Changed();
}

std::int32_t TStringList::IndexOf(std::string_view text) const
{
    if (!m_sorted)
        return TStrings::IndexOf(text);
    std::int32_t index = 0;
    return Find(text, index) ? index : -1;
}

bool TStringList::Find(std::string_view text, std::int32_t& index) const
{
    auto it = std::lower_bound(m_items.begin(), m_items.end(), text,
        [](const TStringItem& item, std::string_view value) { return CompareText(item.String, value) < 0; });
    index = static_cast<std::int32_t>(it - m_items.begin());
    return it != m_items.end() && CompareText(it->String, text) == 0;
}

void TStringList::Sort()
{
    CustomSort([](const TStringList& list, std::int32_t a, std::int32_t b) {
        return CompareText(list.m_items[static_cast<std::size_t>(a)].String, list.m_items[static_cast<std::size_t>(b)].String);
    });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, std::int32_t, std::int32_t)>& compare)
{
    if (m_items.size() < 2)
        return;
    // Sort an index permutation, so compare always sees the list as it was. A
    // comparator that contradicts itself gives some order; one that changes
    // the number of strings keeps its change and the sort is dropped.
    const auto sortCompare = compare;
    std::vector<std::int32_t> order(m_items.size());
    std::iota(order.begin(), order.end(), 0);
    detail::MergeSort(order, [&](std::int32_t a, std::int32_t b) { return sortCompare(*this, a, b) < 0; });
    if (order.size() != m_items.size())
        return;
    std::vector<TStringItem> sorted;
    sorted.reserve(m_items.size());
    for (std::int32_t i : order)
        sorted.push_back(m_items[static_cast<std::size_t>(i)]);
    Changing();
    m_items.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    if (sorted)
        Sort();
    m_sorted = sorted;
}

const TClassInfo& TStringList::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TStringList>("TStringList", &TStrings::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TStringList::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
