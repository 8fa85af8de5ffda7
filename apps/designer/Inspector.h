// The object inspector: the selected component's published properties (or its
// events) in their declared order, one row each, with the value as its
// property editor shows it. Values are typed in place (in the host's edit laid
// over the row's value), chosen from a list
// (enumerations, Booleans, colours, set elements) or edited in the property's
// dialog ("..."); sub-objects and sets expand into sub-properties.
#pragma once

#include "framework/host/DesignEditors.h"
#include "framework/host/WinControl.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace plx {
class TEdit;
} // namespace plx

namespace plx::designer {

class TFormDesigner;
class TPopupList;

//! Heights of the inspector's parts.
inline constexpr std::int32_t kInspectorTabHeight = 20;
inline constexpr std::int32_t kInspectorHeaderHeight = 20;
inline constexpr std::int32_t kInspectorRowHeight = 18;
inline constexpr std::int32_t kInspectorScrollWidth = 12;

//! Which of the component's properties the inspector lists.
enum class TInspectorTab : std::uint8_t { Properties, Events };

//! One row as the inspector shows it.
struct TInspectorRow {
    std::string Path; //!< "Gradient.Color1"; "Name" for the component's name
    std::string Name; //!< "Color1"
    std::string Value; //!< the editor's GetValue
    std::int32_t Level { 0 }; //!< 0 for the component's own properties
    bool Expandable { false }; //!< paSubProperties
    bool Expanded { false };
    bool HasDialog { false }; //!< paDialog: a "..." button
    bool HasValues { false }; //!< paValueList: a list to choose from
    bool ReadOnly { false }; //!< paReadOnly: nothing to type
};

class TInspector : public TCustomControl {
public:
    TInspector(TComponent* owner, TFormDesigner& designer);
    ~TInspector() override;

    //! Lists the selection's properties again (expanded rows stay expanded).
    void Refresh();
    [[nodiscard]] TInspectorTab Tab() const noexcept { return m_tab; }
    void SetTab(TInspectorTab tab);

    //! \name Rows
    [[nodiscard]] std::vector<TInspectorRow> Rows() const;
    //! The row of a path (without regard to case); -1 when none is shown.
    [[nodiscard]] std::int32_t RowIndex(const std::string& path) const;
    //! Expands or collapses a row with sub-properties.
    void Expand(const std::string& path, bool expanded);
    //! The row that is selected; -1 when none.
    [[nodiscard]] std::int32_t SelectedRow() const noexcept { return m_selectedRow; }

    //! \name Where things are (client coordinates)
    [[nodiscard]] TRect TabRect(TInspectorTab tab) const;
    //! The row's whole line; empty when it is scrolled out of view.
    [[nodiscard]] TRect RowRect(std::int32_t row) const;
    [[nodiscard]] TRect NameRect(std::int32_t row) const;
    [[nodiscard]] TRect ValueRect(std::int32_t row) const;
    [[nodiscard]] TRect ExpandRect(std::int32_t row) const;
    [[nodiscard]] TRect DialogButtonRect(std::int32_t row) const;

    //! \name Typing a value
    //! Starts typing into a row's value: the edit over the value, focused, with
    //! the current value as its text and the caret at its end.
    void BeginEdit(std::int32_t row);
    [[nodiscard]] bool Editing() const noexcept { return m_editRow >= 0; }
    [[nodiscard]] const std::string& EditText() const noexcept;
    //! The edit that takes the typed value (hidden while nothing is typed).
    [[nodiscard]] TEdit& Editor() const noexcept { return *m_edit; }
    //! Sets the typed value; on an error the text stays for another try.
    void CommitEdit();
    void CancelEdit();

    //! The list of values shown for a row, while it is open.
    [[nodiscard]] TPopupList* ValueList() const noexcept;
    //! Closes the list of values when one is open.
    void CloseValueList();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void DblClick() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Resize() override;

private:
    struct Row {
        std::unique_ptr<TPropertyEditor> editor; //!< null for the Name row
        std::string path;
        std::int32_t level { 0 };
    };
    void AddRows(std::vector<std::unique_ptr<TPropertyEditor>> editors, std::int32_t level);
    [[nodiscard]] TInspectorRow Describe(const Row& row) const;
    [[nodiscard]] std::int32_t NameWidth() const;
    [[nodiscard]] std::int32_t VisibleRows() const;
    [[nodiscard]] std::int32_t RowAt(TPoint p) const;
    //! Sets a row's value through the designer; false (and a message) when it was refused.
    bool SetValue(std::int32_t row, const std::string& value);
    void OpenValueList(std::int32_t row);
    void RunDialog(std::int32_t row);
    void SelectRow(std::int32_t row);
    void Scroll(std::int32_t rows);
    void PaintRow(TCanvas& canvas, std::int32_t row);
    void TakeFocus();
    //! Lays the edit over the value of the row being typed into, or hides it.
    void PlaceEditor();

    TFormDesigner& m_designer;
    TWeakRef<TComponent> m_component;
    std::vector<Row> m_rows;
    std::set<std::string> m_expanded; //!< lower-cased paths
    TInspectorTab m_tab { TInspectorTab::Properties };
    std::int32_t m_top { 0 }; //!< first row shown
    std::int32_t m_selectedRow { -1 };
    std::int32_t m_editRow { -1 };
    TEdit* m_edit { nullptr }; //!< owned by the inspector
    TWeakRef<TPopupList> m_valueList;
};

} // namespace plx::designer
