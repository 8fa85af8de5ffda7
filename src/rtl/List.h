// TList: the host's growable array of untyped pointer-sized entries.
#pragma once

#include "rtl/Persistent.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace plx {

//! The largest Count and Capacity a list accepts.
inline constexpr std::int32_t MaxListSize = 134217727;

//! A growable array of pointer-sized entries (pointers or integers cast to
//! pointers), indexed from 0. The list owns nothing: descendants that own their
//! entries free them in their own Delete, Clear and destructor.
//!
//! Errors (EListError): an index outside 0 .. Count - 1 raises
//! "List index out of bounds (n)"; a capacity below Count or above MaxListSize
//! raises "List capacity out of bounds (n)"; a count below 0 or above
//! MaxListSize raises "List count out of bounds (n)".
class TList : public TObject {
public:
    using TListSortCompare = std::function<int(void* item1, void* item2)>;

    TList() = default;
    ~TList() override = default;

    [[nodiscard]] std::int32_t Count() const noexcept { return static_cast<std::int32_t>(m_items.size()); }
    //! Grows with nil entries or drops entries from the end.
    void SetCount(std::int32_t count);
    [[nodiscard]] std::int32_t Capacity() const noexcept { return m_capacity; }
    void SetCapacity(std::int32_t capacity);

    //! The entry at index (the Items property).
    [[nodiscard]] virtual void* Get(std::int32_t index) const;
    virtual void Put(std::int32_t index, void* item);
    [[nodiscard]] void* First() const { return Get(0); }
    [[nodiscard]] void* Last() const { return Get(Count() - 1); }

    //! Appends the item and returns its index.
    std::int32_t Add(void* item);
    //! Inserts before index; index may equal Count.
    void Insert(std::int32_t index, void* item);
    //! Removes the entry at index; later entries move down by one.
    virtual void Delete(std::int32_t index);
    //! Deletes the first entry equal to item and returns its former index, or -1.
    std::int32_t Remove(void* item);
    [[nodiscard]] std::int32_t IndexOf(const void* item) const noexcept;
    //! Empties the list and drops its capacity to 0.
    virtual void Clear();
    //! Removes every nil entry, keeping the order of the others.
    void Pack();
    void Exchange(std::int32_t index1, std::int32_t index2);
    void Move(std::int32_t curIndex, std::int32_t newIndex);
    //! Sorts with compare (negative, 0 or positive), keeping equal entries in
    //! order, in O(n log n) calls. A comparator that contradicts itself gives
    //! some order of the same entries; one that throws leaves the list as it
    //! was; one that changes the list's count keeps its change and the sort is
    //! dropped.
    void Sort(const TListSortCompare& compare);

protected:
    //! Raises EListError with the message for index ("List index out of bounds (5)").
    [[noreturn]] static void IndexError(std::int32_t index);
    void CheckIndex(std::int32_t index) const;

private:
    //! Called before an Add or Insert into a full list: grows the capacity by
    //! 4, 16 or a quarter, as the host does.
    void Grow();

    std::vector<void*> m_items;
    std::int32_t m_capacity { 0 };
};

} // namespace plx
