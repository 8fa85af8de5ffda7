// Standard controls: labels, edits, push buttons, check boxes, radio buttons,
// list boxes, combo boxes and group boxes.
#pragma once

#include "framework/host/Control.h"
#include "framework/host/Forms.h"
#include "framework/host/WinControl.h"
#include "rtl/StringList.h"

#include <memory>
#include <string>
#include <vector>

namespace plx {

class TTimer;
namespace detail {
class TComboPopup;
class TComboEdit;
}

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

//! A caption drawn with the platform's formatted-text rules: "&" marks the
//! accelerator (unless ShowAccelChar is off), tabs expand, long text wraps when
//! WordWrap is on. With AutoSize the label takes the size of its text.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);

    [[nodiscard]] TAlignment Alignment() const noexcept { return m_alignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    void SetAutoSize(bool value);
    [[nodiscard]] TWinControl* FocusControl() const noexcept { return m_focusControl; }
    void SetFocusControl(TComponent* control);
    [[nodiscard]] TComponent* FocusControlComponent() const noexcept;
    [[nodiscard]] TTextLayout Layout() const noexcept { return m_layout; }
    void SetLayout(TTextLayout value);
    [[nodiscard]] bool ShowAccelChar() const noexcept { return m_showAccelChar; }
    void SetShowAccelChar(bool value);
    [[nodiscard]] bool Transparent() const noexcept { return m_transparent; }
    void SetTransparent(bool value);
    [[nodiscard]] bool WordWrap() const noexcept { return m_wordWrap; }
    void SetWordWrap(bool value);

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMTextChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    //! Draws (or, with DT_CALCRECT in flags, measures) the caption in rect.
    void DoDrawText(TCanvas& canvas, TRect& rect, std::uint32_t flags);
    //! Sizes the label to its text when AutoSize is on.
    void AdjustBounds();

private:
    TAlignment m_alignment { taLeftJustify };
    bool m_autoSize { true };
    TWinControl* m_focusControl { nullptr };
    TTextLayout m_layout { tlTop };
    bool m_showAccelChar { true };
    bool m_transparent { false };
    bool m_wordWrap { false };
    TCanvas m_measure;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

// ---- Edits -----------------------------------------------------------------

enum TEditCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };

//! A single-line text field. Positions (SelStart, SelLength) count characters
//! of the UTF-8 text, not bytes. Typing replaces the selection; Backspace and
//! Delete remove it or one character; Home, End and the arrows move the caret
//! (with Shift they extend the selection, with Ctrl they go by words). A
//! read-only edit keeps its text but still moves the caret and selects.
//! OnChange fires on every change of Text, typed or set by code.
class TCustomEdit : public TCustomControl {
public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    //! \name Selection
    [[nodiscard]] std::int32_t SelStart() const noexcept { return std::min(m_anchor, m_caret); }
    //! Places the caret (clamped to the text) and removes the selection.
    void SetSelStart(std::int32_t value);
    [[nodiscard]] std::int32_t SelLength() const noexcept { return std::abs(m_caret - m_anchor); }
    //! Selects value characters from SelStart (clamped to the text).
    void SetSelLength(std::int32_t value);
    [[nodiscard]] std::string SelText() const;
    //! Replaces the selection (even in a read-only edit, as code may).
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection();
    void Clear();
    //! The caret's position (the moving end of the selection).
    [[nodiscard]] std::int32_t CaretPosition() const noexcept { return m_caret; }
    //! The number of characters of Text.
    [[nodiscard]] std::int32_t TextLength() const;
    [[nodiscard]] bool Modified() const noexcept { return m_modified; }
    void SetModified(bool value) noexcept { m_modified = value; }
    //! True while the blinking caret is in its visible phase.
    [[nodiscard]] bool CaretVisible() const noexcept { return m_caretOn && Focused(); }

    //! \name Properties
    [[nodiscard]] bool AutoSelect() const noexcept { return m_autoSelect; }
    void SetAutoSelect(bool value) noexcept { m_autoSelect = value; }
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    void SetAutoSize(bool value);
    [[nodiscard]] TBorderStyle BorderStyle() const noexcept { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    [[nodiscard]] TEditCharCase CharCase() const noexcept { return m_charCase; }
    void SetCharCase(TEditCharCase value);
    [[nodiscard]] bool HideSelection() const noexcept { return m_hideSelection; }
    void SetHideSelection(bool value);
    //! The most characters typing may leave; 0 for no limit. Text set by code may be longer.
    [[nodiscard]] std::int32_t MaxLength() const noexcept { return m_maxLength; }
    void SetMaxLength(std::int32_t value);
    //! Shown instead of each character when not empty (one character).
    [[nodiscard]] const std::string& PasswordChar() const noexcept { return m_passwordChar; }
    void SetPasswordChar(const std::string& value);
    [[nodiscard]] bool ReadOnly() const noexcept { return m_readOnly; }
    void SetReadOnly(bool value);
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent e) { m_onChange = std::move(e); }

    //! Host-internal: where the Up, Down, PageUp and PageDown keys the edit does
    //! not use go (an up-down control that keeps the edit's number).
    void SetArrowKeyBuddy(TWinControl* buddy);
    [[nodiscard]] TWinControl* ArrowKeyBuddy() const noexcept { return m_buddy; }

protected:
    //! Fires OnChange (which may free the edit).
    virtual void Change();
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void WMChar(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void WMLButtonDblClk(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void CMEnter(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMWantSpecialKey(TMessage& message) override;
    //! The rectangle the text is drawn in (inside the border and margin).
    [[nodiscard]] TRect TextRect() const;

private:
    [[nodiscard]] std::vector<std::size_t> Boundaries() const;
    [[nodiscard]] std::string DisplayText() const;
    [[nodiscard]] std::int32_t TextX(std::int32_t position) const;
    [[nodiscard]] std::int32_t PositionAt(std::int32_t x) const;
    [[nodiscard]] std::int32_t WordStart(std::int32_t position) const;
    [[nodiscard]] std::int32_t WordEnd(std::int32_t position) const;
    void MoveCaret(std::int32_t position, bool extend);
    void ScrollToCaret();
    void RestartCaret();
    void AdjustHeight();
    //! Replaces the selection with text as typing does; false when the edit
    //! was freed by OnChange.
    bool ReplaceSelection(std::string text, bool typed);
    bool DeleteRange(std::int32_t from, std::int32_t to);
    void SetTextFromEdit(const std::string& text);

    std::int32_t m_anchor { 0 };
    std::int32_t m_caret { 0 };
    std::int32_t m_scroll { 0 }; //!< pixels of text scrolled out on the left
    bool m_editing { false }; //!< the edit itself is changing the text
    bool m_modified { false };
    bool m_selecting { false }; //!< the mouse is selecting
    bool m_caretOn { true };
    std::unique_ptr<TTimer> m_caretTimer;
    bool m_autoSelect { true };
    bool m_autoSize { true };
    TBorderStyle m_borderStyle { bsSingle };
    TEditCharCase m_charCase { ecNormal };
    bool m_hideSelection { true };
    std::int32_t m_maxLength { 0 };
    std::string m_passwordChar;
    bool m_readOnly { false };
    TWinControl* m_buddy { nullptr };
    TNotifyEvent m_onChange;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

// ---- Buttons -----------------------------------------------------------------

//! The base of push buttons, check boxes and radio buttons: pressed while the
//! left button is held on it (or Space on the focused control), it acts when
//! released inside (or when Space comes up); Enter and Escape reach push
//! buttons through CM_DIALOGKEY, accelerators through CM_DIALOGCHAR.
class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* owner);

protected:
    //! What the user's click does: a push button clicks, a check box toggles,
    //! a radio button becomes checked. May free the control.
    virtual void Activate() = 0;
    //! True while the control shows itself pressed.
    [[nodiscard]] bool Pressed() const noexcept { return m_pressed; }
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void WMLButtonUp(TMessage& message) override;
    void WMCancelMode(TMessage& message) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void WMKillFocus(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;
    //! An accelerator of the caption focuses the control and activates it.
    void CMDialogChar(TMessage& message) override;
    //! Focuses the control; false when that freed it.
    bool TakeFocus();

private:
    void SetPressed(bool value);

    bool m_pressed { false };
    bool m_mouseHeld { false };
    bool m_spaceHeld { false };
};

//! A push button. A click closes a modal form with ModalResult (a handler can
//! set the form's ModalResult back to mrNone to keep it open). Enter clicks the
//! focused button, or the Default one when the focus is elsewhere; Escape
//! clicks the Cancel button.
class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);

    [[nodiscard]] bool Default() const noexcept { return m_default; }
    void SetDefault(bool value);
    [[nodiscard]] bool Cancel() const noexcept { return m_cancel; }
    void SetCancel(bool value) noexcept { m_cancel = value; }
    [[nodiscard]] TModalResult ModalResult() const noexcept { return m_modalResult; }
    void SetModalResult(TModalResult value) noexcept { m_modalResult = value; }
    //! True when Enter would click this button now.
    [[nodiscard]] bool Active() const noexcept { return m_active; }

    void Click() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Activate() override;
    void Paint() override;
    //! Draws the caption (and, in descendants, a glyph) in the face's content rectangle.
    virtual void PaintContent(TCanvas& canvas, const TRect& content);
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;

private:
    bool m_default { false };
    bool m_cancel { false };
    bool m_active { false };
    TModalResult m_modalResult { mrNone };
};

enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

//! A check box: the box and the caption beside it (on the right with the
//! default Alignment taRightJustify). A click toggles it (through cbGrayed
//! when AllowGrayed); a change of State, by the user or by code, fires OnClick.
class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* owner);

    [[nodiscard]] TAlignment Alignment() const noexcept { return m_alignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool AllowGrayed() const noexcept { return m_allowGrayed; }
    void SetAllowGrayed(bool value) noexcept { m_allowGrayed = value; }
    [[nodiscard]] TCheckBoxState State() const noexcept { return m_state; }
    void SetState(TCheckBoxState value);
    [[nodiscard]] bool Checked() const noexcept { return m_state == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    //! The next state a click gives.
    virtual void Toggle();

protected:
    void Activate() override;
    void Paint() override;

private:
    TAlignment m_alignment { taRightJustify };
    bool m_allowGrayed { false };
    TCheckBoxState m_state { cbUnchecked };
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! A radio button: checking one unchecks the radio buttons beside it (same
//! parent). Only a checked radio button is a tab stop; the arrow keys move
//! the focus, and the check, to the next radio button beside it. Becoming
//! checked, by the user or by code, fires OnClick.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);

    [[nodiscard]] TAlignment Alignment() const noexcept { return m_alignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool Checked() const noexcept { return m_checked; }
    void SetChecked(bool value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Activate() override;
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void CMWantSpecialKey(TMessage& message) override;

private:
    TAlignment m_alignment { taRightJustify };
    bool m_checked { false };
};

// ---- List boxes --------------------------------------------------------------

enum TListBoxStyle : std::uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateFlag : std::uint8_t { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;
using TDrawItemEvent = std::function<void(TWinControl* control, std::int32_t index, TRect rect, TOwnerDrawState state)>;

//! A list of items (lines with attached objects, not owned) in a sunken field,
//! with a vertical scroll bar when they do not all fit. ItemIndex is the
//! selected item (-1 for none); TopIndex the first one shown. The user selects
//! with the mouse or the keyboard (arrows, Home, End, PageUp, PageDown, the
//! first letter), which fires OnClick; setting ItemIndex by code does not.
//! Owner-drawn styles call OnDrawItem for each item with the canvas's brush and
//! font already set for the item's selection state.
class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    [[nodiscard]] TStrings& Items() noexcept { return m_items; }
    [[nodiscard]] const TStrings& Items() const noexcept { return m_items; }
    void SetItems(const TStrings& items) { m_items.Assign(&items); }
    [[nodiscard]] std::int32_t ItemIndex() const noexcept { return m_itemIndex; }
    //! Selects an item (scrolling it into view); -1 or an index out of range selects none.
    void SetItemIndex(std::int32_t value);
    [[nodiscard]] std::int32_t TopIndex() const noexcept { return m_topIndex; }
    void SetTopIndex(std::int32_t value);
    //! The height of a row: the font's for lbStandard, the property's for owner-drawn styles.
    [[nodiscard]] std::int32_t ItemHeight() const;
    void SetItemHeight(std::int32_t value);
    [[nodiscard]] TListBoxStyle Style() const noexcept { return m_style; }
    void SetStyle(TListBoxStyle value);
    [[nodiscard]] bool Sorted() const noexcept { return m_items.Sorted(); }
    void SetSorted(bool value);
    [[nodiscard]] TBorderStyle BorderStyle() const noexcept { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    [[nodiscard]] const TDrawItemEvent& OnDrawItem() const noexcept { return m_onDrawItem; }
    void SetOnDrawItem(TDrawItemEvent e) { m_onDrawItem = std::move(e); }

    //! \name Queries
    //! The item under a client point; with existing, -1 below the last item,
    //! otherwise the index the row there would have.
    [[nodiscard]] std::int32_t ItemAtPos(TPoint point, bool existing) const;
    //! The row of an item in client coordinates (it may lie outside the view).
    [[nodiscard]] TRect ItemRect(std::int32_t index) const;
    //! Rows that fit whole.
    [[nodiscard]] std::int32_t VisibleRows() const;
    [[nodiscard]] bool ScrollBarVisible() const;
    void Clear() { m_items.Clear(); }

protected:
    //! Draws one item; the default fills the row and writes the text, or calls
    //! OnDrawItem for owner-drawn styles.
    virtual void DrawItem(std::int32_t index, TRect rect, TOwnerDrawState state);
    //! The user changed the selection; fires OnClick.
    virtual void UserSelect(std::int32_t index);
    void Paint() override;
    void Loaded() override;
    void Resize() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void WMLButtonDblClk(TMessage& message) override;
    void WMCancelMode(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMWantSpecialKey(TMessage& message) override;
    //! The area inside the border.
    [[nodiscard]] TRect InnerRect() const;
    //! The area the rows fill (inside the border, left of the scroll bar).
    [[nodiscard]] TRect ListRect() const;
    [[nodiscard]] std::int32_t MaxTopIndex() const;
    //! Whether the pointer is scrolling (holding the scroll bar).
    [[nodiscard]] bool Scrolling() const noexcept { return m_scrollPart != 0; }
    void ScrollBy(std::int32_t rows);

private:
    void ItemsChanged();
    [[nodiscard]] std::int32_t FindByLetter(char letter) const;
    [[nodiscard]] TRect ScrollBarRect() const;
    void PressScrollBar(TPoint point);
    void ScrollStep();
    void ReleaseScrollBar();

    TStringList m_items;
    std::int32_t m_itemIndex { -1 };
    std::int32_t m_topIndex { 0 };
    std::int32_t m_itemHeight { 16 };
    TListBoxStyle m_style { lbStandard };
    TBorderStyle m_borderStyle { bsSingle };
    bool m_selecting { false };
    std::uint8_t m_scrollPart { 0 }; //!< the detail::TScrollPart held down
    bool m_scrollPartHot { false }; //!< the pointer is over the held part
    std::int32_t m_thumbGrab { 0 };
    TPoint m_scrollPoint;
    std::unique_ptr<TTimer> m_repeat;
    TDrawItemEvent m_onDrawItem;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

// ---- Combo boxes -------------------------------------------------------------

enum TComboBoxStyle : std::uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

//! A field showing the selected item with a button that drops down the list
//! of items in a pop-up window. A click on the field or the button opens the
//! list (or closes it); a click on an item (or Enter) picks it and closes the
//! list; Escape, or a click anywhere else, closes it without a change. While
//! the list is closed the arrows, Home, End and first letters pick items
//! directly. A pick by the user fires OnClick and OnChange; ItemIndex set by
//! code fires nothing. With csDropDownList (and the owner-drawn styles, which
//! draw their items as text) Text is the selected item's text, and setting it
//! selects the first item with that text (or none).
//! With csDropDown and csSimple the field is an edit (EditField) that takes
//! the focus and the typing: Text is whatever it holds, ItemIndex the item of
//! that text (or -1), and OnChange fires on every change typed; Up, Down,
//! PageUp and PageDown pick items, F4 and Alt+Down open the list. csSimple has
//! no button and no pop-up list. While its field has the focus the combo box
//! itself is not Focused(); ContainsControl(ActiveControl) tells.
class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    [[nodiscard]] TStrings& Items() noexcept { return m_items; }
    [[nodiscard]] const TStrings& Items() const noexcept { return m_items; }
    void SetItems(const TStrings& items) { m_items.Assign(&items); }
    [[nodiscard]] std::int32_t ItemIndex() const noexcept { return m_itemIndex; }
    void SetItemIndex(std::int32_t value);
    [[nodiscard]] TComboBoxStyle Style() const noexcept { return m_style; }
    void SetStyle(TComboBoxStyle value);
    [[nodiscard]] std::int32_t DropDownCount() const noexcept { return m_dropDownCount; }
    void SetDropDownCount(std::int32_t value) noexcept { m_dropDownCount = std::max(value, 1); }
    [[nodiscard]] bool Sorted() const noexcept { return m_items.Sorted(); }
    void SetSorted(bool value);
    [[nodiscard]] std::int32_t MaxLength() const noexcept { return m_maxLength; }
    void SetMaxLength(std::int32_t value);
    [[nodiscard]] bool DroppedDown() const noexcept;
    //! Opens or closes the list (closing this way keeps the selection).
    void SetDroppedDown(bool value);
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent e) { m_onChange = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnDropDown() const noexcept { return m_onDropDown; }
    void SetOnDropDown(TNotifyEvent e) { m_onDropDown = std::move(e); }

    //! The pop-up window while it exists (it is made on the first drop-down).
    [[nodiscard]] TCustomForm* DropDownWindow() const noexcept;
    //! The list inside the pop-up window (null before the first drop-down).
    [[nodiscard]] TCustomListBox* DropDownList() const noexcept;
    //! The field's edit with csDropDown and csSimple, else null. It belongs to
    //! the combo box (not written to form files, no tab stop of its own).
    [[nodiscard]] TCustomEdit* EditField() const noexcept;
    //! With an edit field, focuses the field.
    void SetFocus() override;

    //! Host-internal: the pop-up's list picked an item (or -1 to close without one).
    void CloseUp(std::int32_t pick);
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;

protected:
    virtual void Change();
    virtual void DropDown();
    void Paint() override;
    void Loaded() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void WMKillFocus(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMWantSpecialKey(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    [[nodiscard]] TRect ButtonRect() const;
    [[nodiscard]] std::int32_t FixedHeight() const;

private:
    friend class detail::TComboEdit;
    [[nodiscard]] bool Editable() const noexcept { return m_style == csDropDown || m_style == csSimple; }
    //! Makes or frees the edit field as the style asks, and places it.
    void UpdateEditField();
    //! Shows Text in the edit field, selected.
    void SyncEditField();
    //! The user typed into the edit field.
    void EditFieldChanged();
    //! The user picked an item: select it and fire OnClick and OnChange.
    void UserPick(std::int32_t index);
    void ItemsChanged();
    void Open();
    [[nodiscard]] std::int32_t FindByLetter(char letter) const;
    //! The pop-up list's item under a screen point, or -1.
    [[nodiscard]] std::int32_t ListItemAt(TPoint screen) const;

    TStringList m_items;
    std::int32_t m_itemIndex { -1 };
    TComboBoxStyle m_style { csDropDown };
    std::int32_t m_dropDownCount { 8 };
    std::int32_t m_maxLength { 0 };
    std::string m_loadedText;
    bool m_buttonDown { false }; //!< the mouse went down on the control and is held
    bool m_syncing { false };
    detail::TComboPopup* m_popup { nullptr }; //!< released when the combo box goes
    detail::TComboEdit* m_edit { nullptr }; //!< owned by the combo box
    TNotifyEvent m_onChange;
    TNotifyEvent m_onDropDown;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

// ---- Group boxes -------------------------------------------------------------

//! A frame with a caption that groups controls; its accelerator focuses the
//! first tab stop inside.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void Paint() override;
    void AlignControls(TControl* control, TRect& rect) override;
    void CMDialogChar(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    //! The height of the caption's line.
    [[nodiscard]] std::int32_t CaptionHeight() const;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! Enumeration names of the standard controls.
[[nodiscard]] const TEnumInfo& EditCharCaseInfo();
[[nodiscard]] const TEnumInfo& CheckBoxStateInfo();
[[nodiscard]] const TEnumInfo& ListBoxStyleInfo();
[[nodiscard]] const TEnumInfo& ComboBoxStyleInfo();
//! The two alignments of check boxes and radio buttons (taLeftJustify, taRightJustify).
[[nodiscard]] const TEnumInfo& LeftRightInfo();

} // namespace plx
