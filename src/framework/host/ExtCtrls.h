// The first concrete controls: panels, bevels, images and paint boxes.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Forms.h"
#include "framework/host/Published.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/WinControl.h"
#include "rtl/StringList.h"

#include <vector>

namespace plx {

enum TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised };
enum TBevelShape : std::uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum TBevelStyle : std::uint8_t { bsLowered, bsRaised };

//! A panel: a frame of outer bevel, border and inner bevel in the system's
//! highlight and shadow colours, filled with Color, with its caption centred.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    [[nodiscard]] TAlignment Alignment() const noexcept { return m_alignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] TPanelBevel BevelInner() const noexcept { return m_bevelInner; }
    void SetBevelInner(TPanelBevel value);
    [[nodiscard]] TPanelBevel BevelOuter() const noexcept { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    [[nodiscard]] std::int32_t BevelWidth() const noexcept { return m_bevelWidth; }
    void SetBevelWidth(std::int32_t value);
    [[nodiscard]] std::int32_t BorderWidth() const noexcept { return m_borderWidth; }
    void SetBorderWidth(std::int32_t value);
    [[nodiscard]] TBorderStyle BorderStyle() const noexcept { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    [[nodiscard]] bool Locked() const noexcept { return m_locked; }
    void SetLocked(bool value) noexcept { m_locked = value; }

protected:
    void Paint() override;
    //! Aligned children stay inside the frames.
    void AlignControls(TControl* control, TRect& rect) override;
    //! Draws the caption in the rectangle left inside the frames.
    virtual void PaintCaption(TRect rect);

private:
    TAlignment m_alignment { taCenter };
    TPanelBevel m_bevelInner { bvNone };
    TPanelBevel m_bevelOuter { bvRaised };
    std::int32_t m_bevelWidth { 1 };
    std::int32_t m_borderWidth { 0 };
    TBorderStyle m_borderStyle { bsNone };
    bool m_locked { false };
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! A bevelled line or box drawn in the system's highlight and shadow colours;
//! it fills nothing.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);

    [[nodiscard]] TBevelShape Shape() const noexcept { return m_shape; }
    void SetShape(TBevelShape value);
    [[nodiscard]] TBevelStyle Style() const noexcept { return m_style; }
    void SetStyle(TBevelStyle value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Paint() override;
    //! Draws the shape with c1 for the top-left edges and c2 for the bottom-right.
    void PaintShape(TColor c1, TColor c2);

private:
    TBevelShape m_shape { bsBox };
    TBevelStyle m_style { bsLowered };
};

//! Shows a bitmap, at its size, centred or stretched.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    [[nodiscard]] TBitmap& Picture() noexcept { return m_picture; }
    void SetPicture(const TBitmap& bitmap) { m_picture.Assign(&bitmap); }
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    void SetAutoSize(bool value);
    [[nodiscard]] bool Center() const noexcept { return m_center; }
    void SetCenter(bool value);
    [[nodiscard]] bool Stretch() const noexcept { return m_stretch; }
    void SetStretch(bool value);
    [[nodiscard]] bool Transparent() const noexcept { return m_transparent; }
    void SetTransparent(bool value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Paint() override;

private:
    void PictureChanged();

    TBitmap m_picture;
    bool m_autoSize { false };
    bool m_center { false };
    bool m_stretch { false };
    bool m_transparent { false };
};

//! A place to draw: its OnPaint handler paints on its canvas.
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner);

    [[nodiscard]] const TNotifyEvent& OnPaint() const noexcept { return m_onPaint; }
    void SetOnPaint(TNotifyEvent e) { m_onPaint = std::move(e); }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Paint() override;

private:
    TNotifyEvent m_onPaint;
};

//! A group box of radio buttons, one per line of Items, laid out in Columns.
//! ItemIndex is the checked item (-1 for none); OnClick fires when the user
//! checks an item, not when ItemIndex is set by code.
class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;

    [[nodiscard]] TStrings& Items() noexcept { return m_items; }
    [[nodiscard]] const TStrings& Items() const noexcept { return m_items; }
    void SetItems(const TStrings& items) { m_items.Assign(&items); }
    [[nodiscard]] std::int32_t ItemIndex() const noexcept { return m_itemIndex; }
    //! Checks an item; -1 (or an index out of range) checks none.
    void SetItemIndex(std::int32_t value);
    [[nodiscard]] std::int32_t Columns() const noexcept { return m_columns; }
    //! 1 to 16.
    void SetColumns(std::int32_t value);
    //! The radio button of an item (raises EListError for an index out of range).
    [[nodiscard]] TRadioButton* Buttons(std::int32_t index) const;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Loaded() override;
    void Resize() override;
    void CMEnabledChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;

private:
    friend class TGroupButton;
    void ItemsChanged();
    void UpdateButtons();
    void ArrangeButtons();
    //! A button was checked by the user.
    void ButtonClicked(TRadioButton* button);

    TStringList m_items;
    std::vector<TRadioButton*> m_buttons;
    std::int32_t m_itemIndex { -1 };
    std::int32_t m_columns { 1 };
    bool m_updating { false };
};

class TRadioGroup : public TCustomRadioGroup {
public:
    explicit TRadioGroup(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! Enumeration names shared by the panels and bevels of the package.
[[nodiscard]] const TEnumInfo& PanelBevelInfo();
[[nodiscard]] const TEnumInfo& BevelShapeInfo();
[[nodiscard]] const TEnumInfo& BevelStyleInfo();
[[nodiscard]] const TEnumInfo& BorderStyleInfo();

//! Declares the properties TPanel publishes, in their order; a panel of the
//! package that publishes the same puts it in its own list.
template <class T>
void PublishPanel(TClassInfoBuilder<T>& b)
{
    PublishInherited(b, { "Align" });
    b.Enum("Alignment", AlignmentInfo(), &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter)
        .Enum("BevelInner", PanelBevelInfo(), &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone)
        .Enum("BevelOuter", PanelBevelInfo(), &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
        .Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1, nullptr, "TBevelWidth")
        .Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0, nullptr, "TBorderWidth")
        .Enum("BorderStyle", BorderStyleInfo(), &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle, bsNone);
    PublishInherited(b, { "DragCursor", "DragMode", "Enabled", "Caption" });
    PublishColor(b, clBtnFace);
    PublishInherited(b, { "Ctl3D", "Font" });
    b.Bool("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked, false);
    PublishParentColor(b, false);
    PublishInherited(b, { "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible",
                            "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown",
                            "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDrag" });
}

} // namespace plx
