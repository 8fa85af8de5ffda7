// TStrings (the abstract list of lines with attached objects) and TStringList.
#pragma once

#include "rtl/Persistent.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plx {

class TStream;

//! A list of lines, each with an attached object pointer (not owned), indexed
//! from 0. Lines are compared without regard to ASCII case. An index outside
//! 0 .. Count - 1 raises EStringListError("List index out of bounds (n)").
class TStrings : public TPersistent {
public:
    //! \name Storage, provided by descendants
    //! @{
    [[nodiscard]] virtual std::int32_t Count() const = 0;
    [[nodiscard]] virtual std::string Strings(std::int32_t index) const = 0;
    //! Replaces a line and keeps its object.
    virtual void SetStrings(std::int32_t index, const std::string& text);
    //! The attached object; the default storage has none and answers nullptr.
    [[nodiscard]] virtual TObject* Objects(std::int32_t index) const;
    virtual void SetObjects(std::int32_t index, TObject* object);
    virtual void Insert(std::int32_t index, const std::string& text) = 0;
    virtual void Delete(std::int32_t index) = 0;
    virtual void Clear() = 0;
    //! @}

    //! Appends a line and returns its index.
    virtual std::int32_t Add(const std::string& text);
    std::int32_t AddObject(const std::string& text, TObject* object);
    void InsertObject(std::int32_t index, const std::string& text, TObject* object);
    //! Appends every line (and object) of strings.
    void AddStrings(const TStrings& strings);
    virtual void Exchange(std::int32_t index1, std::int32_t index2);
    virtual void Move(std::int32_t curIndex, std::int32_t newIndex);

    //! The index of the first line equal to text (ASCII case ignored); -1 if none.
    [[nodiscard]] virtual std::int32_t IndexOf(std::string_view text) const;
    [[nodiscard]] std::int32_t IndexOfObject(const TObject* object) const;
    [[nodiscard]] bool Equals(const TStrings& other) const;

    //! \name name=value lines
    //! @{
    //! The text before the first "=" of the line; empty without "=".
    [[nodiscard]] std::string Names(std::int32_t index) const;
    //! The index of the first line whose name is name (ASCII case ignored); -1 if none.
    [[nodiscard]] std::int32_t IndexOfName(std::string_view name) const;
    //! The text after the "=" of the line named name; empty if there is none.
    [[nodiscard]] std::string Values(std::string_view name) const;
    //! Replaces or appends the line name=value; an empty value deletes the line.
    void SetValues(std::string_view name, std::string_view value);
    [[nodiscard]] std::string ValueFromIndex(std::int32_t index) const;
    //! @}

    //! \name Whole-list text
    //! @{
    //! Every line followed by sLineBreak.
    [[nodiscard]] std::string Text() const;
    //! Replaces the lines: CR LF, LF and CR all end a line; a last line
    //! without a break still counts.
    void SetText(std::string_view text);
    //! The lines separated by commas; a line that is empty or holds a blank, a
    //! control character, a comma or a double quote is written in double quotes
    //! with inner quotes doubled.
    [[nodiscard]] std::string CommaText() const;
    //! Replaces the lines with the items of text: items are separated by commas
    //! or blanks, and a quoted item may hold anything ("" is one quote).
    void SetCommaText(std::string_view text);
    //! @}

    //! \name Loading and saving the Text
    //! @{
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    //! @}

    //! Brackets a batch of changes: change notifications are held back until
    //! the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    //! Copies the lines and objects of another TStrings.
    void Assign(const TPersistent* source) override;
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Called when the first BeginUpdate starts a batch (true) and the last
    //! EndUpdate ends it (false).
    virtual void SetUpdateState(bool updating);
    [[nodiscard]] std::int32_t UpdateCount() const noexcept { return m_updateCount; }
    [[noreturn]] static void IndexError(std::int32_t index);

private:
    std::int32_t m_updateCount { 0 };
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

//! The stored list of lines. A sorted list keeps its lines in CompareText
//! order; Insert, SetStrings, Exchange and Move on it raise EStringListError
//! ("Operation not allowed on sorted string list"), and adding a duplicate
//! follows Duplicates (dupError raises "String list does not allow duplicates").
//! The list does not own the attached objects.
class TStringList : public TStrings {
public:
    [[nodiscard]] std::int32_t Count() const override { return static_cast<std::int32_t>(m_items.size()); }
    [[nodiscard]] std::string Strings(std::int32_t index) const override;
    void SetStrings(std::int32_t index, const std::string& text) override;
    [[nodiscard]] TObject* Objects(std::int32_t index) const override;
    void SetObjects(std::int32_t index, TObject* object) override;
    void Insert(std::int32_t index, const std::string& text) override;
    void Delete(std::int32_t index) override;
    void Clear() override;
    std::int32_t Add(const std::string& text) override;
    void Exchange(std::int32_t index1, std::int32_t index2) override;
    void Move(std::int32_t curIndex, std::int32_t newIndex) override;
    [[nodiscard]] std::int32_t IndexOf(std::string_view text) const override;

    //! In a sorted list: whether text is present, and in index the position it
    //! has or would have (the first of equal lines).
    bool Find(std::string_view text, std::int32_t& index) const;
    //! Sorts the lines (with their objects) by CompareText, equal lines kept in order.
    void Sort();
    void CustomSort(const std::function<int(const TStringList& list, std::int32_t index1, std::int32_t index2)>& compare);

    [[nodiscard]] bool Sorted() const noexcept { return m_sorted; }
    void SetSorted(bool sorted);
    [[nodiscard]] TDuplicates Duplicates() const noexcept { return m_duplicates; }
    void SetDuplicates(TDuplicates duplicates) noexcept { m_duplicates = duplicates; }
    //! Raised after every change (outside BeginUpdate/EndUpdate).
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }
    //! Raised before every change (outside BeginUpdate/EndUpdate).
    [[nodiscard]] const TNotifyEvent& OnChanging() const noexcept { return m_onChanging; }
    void SetOnChanging(TNotifyEvent handler) { m_onChanging = std::move(handler); }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void SetUpdateState(bool updating) override;
    void Changing();
    void Changed();

private:
    struct TStringItem {
        std::string String;
        TObject* Object { nullptr };
    };

    void CheckIndex(std::int32_t index) const;
    void CheckUnsorted() const;
    void InsertItem(std::int32_t index, const std::string& text, TObject* object);

    std::vector<TStringItem> m_items;
    bool m_sorted { false };
    TDuplicates m_duplicates { dupIgnore };
    TNotifyEvent m_onChange;
    TNotifyEvent m_onChanging;
};

//! Holds a list in its updating state for a scope: BeginUpdate now, EndUpdate
//! when the scope ends, whether normally or by an exception. An exception from
//! the closing EndUpdate (an OnChange handler's) reaches the caller when the
//! scope ends normally; while another exception is already on its way it is
//! dropped, so the first one arrives.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings& strings)
        : m_strings(strings)
        , m_exceptions(std::uncaught_exceptions())
    {
        m_strings.BeginUpdate();
    }
    ~TStringsUpdate() noexcept(false)
    {
        if (std::uncaught_exceptions() == m_exceptions) {
            m_strings.EndUpdate();
            return;
        }
        try {
            m_strings.EndUpdate();
        } catch (...) {
        }
    }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings& m_strings;
    int m_exceptions;
};

} // namespace plx
