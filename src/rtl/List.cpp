#include "rtl/List.h"

#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"
#include "rtl/detail/MergeSort.h"

#include <algorithm>

namespace plx {

void TList::IndexError(std::int32_t index)
{
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TList::CheckIndex(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

void TList::SetCapacity(std::int32_t capacity)
{
    if (capacity < Count() || capacity > MaxListSize)
        throw EListError("List capacity out of bounds (" + IntToStr(capacity) + ")");
    if (capacity > m_capacity) {
        m_items.reserve(static_cast<std::size_t>(capacity));
    } else if (capacity < m_capacity) {
        std::vector<void*> smaller;
        smaller.reserve(static_cast<std::size_t>(capacity));
        smaller.assign(m_items.begin(), m_items.end());
        m_items.swap(smaller);
    }
    m_capacity = capacity;
}

void TList::SetCount(std::int32_t count)
{
    if (count < 0 || count > MaxListSize)
        throw EListError("List count out of bounds (" + IntToStr(count) + ")");
    if (count > m_capacity)
        SetCapacity(count);
    m_items.resize(static_cast<std::size_t>(count), nullptr);
}

void TList::Grow()
{
    const std::int32_t delta = m_capacity > 64 ? m_capacity / 4 : m_capacity > 8 ? 16 : 4;
    // A full list at the limit asks for one more entry, which SetCapacity refuses.
    SetCapacity(m_capacity == MaxListSize ? MaxListSize + 1 : std::min(m_capacity + delta, MaxListSize));
}

void* TList::Get(std::int32_t index) const
{
    CheckIndex(index);
    return m_items[static_cast<std::size_t>(index)];
}

void TList::Put(std::int32_t index, void* item)
{
    CheckIndex(index);
    m_items[static_cast<std::size_t>(index)] = item;
}

std::int32_t TList::Add(void* item)
{
    const std::int32_t index = Count();
    if (index == m_capacity)
        Grow();
    m_items.push_back(item);
    return index;
}

void TList::Insert(std::int32_t index, void* item)
{
    if (index < 0 || index > Count())
        IndexError(index);
    if (Count() == m_capacity)
        Grow();
    m_items.insert(m_items.begin() + index, item);
}

void TList::Delete(std::int32_t index)
{
    CheckIndex(index);
    m_items.erase(m_items.begin() + index);
}

std::int32_t TList::Remove(void* item)
{
    const std::int32_t index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

std::int32_t TList::IndexOf(const void* item) const noexcept
{
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<std::int32_t>(it - m_items.begin());
}

void TList::Clear()
{
    m_items.clear();
    SetCapacity(0);
}

void TList::Pack()
{
    std::erase(m_items, nullptr);
}

void TList::Exchange(std::int32_t index1, std::int32_t index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(m_items[static_cast<std::size_t>(index1)], m_items[static_cast<std::size_t>(index2)]);
}

void TList::Move(std::int32_t curIndex, std::int32_t newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(newIndex);
    void* item = Get(curIndex);
    m_items.erase(m_items.begin() + curIndex);
    m_items.insert(m_items.begin() + newIndex, item);
}

void TList::Sort(const TListSortCompare& sortCompare)
{
    if (m_items.size() < 2 || !sortCompare)
        return;
    // The comparator's own copy: it may replace the function it was passed in.
    // The sort works on a copy of the entries, so the list stays whole when
    // the comparator throws, and a comparator that adds or deletes entries
    // keeps its change: the result is stored back only over as many entries.
    const TListSortCompare compare = sortCompare;
    std::vector<void*> sorted(m_items);
    detail::MergeSort(sorted, [&compare](void* a, void* b) { return compare(a, b) < 0; });
    if (m_items.size() == sorted.size())
        std::copy(sorted.begin(), sorted.end(), m_items.begin());
}

} // namespace plx
