// Published-property declarations that many control classes share: each class
// lists, in its own order, which inherited properties it publishes.
#pragma once

#include "color/host/GraphicsObject.h"
#include "framework/host/Control.h"
#include "framework/host/WinControl.h"
#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace plx {

//! The inherited properties a class can publish by name, grouped by kind.
enum class TInherited {
    // Data properties of every control.
    Align, Caption, Color, Cursor, DragCursor, DragMode, Enabled, Font, Hint, ParentColor, ParentFont,
    ParentShowHint, PopupMenu, ShowHint, Visible,
    // Data properties of windowed controls.
    Ctl3D, ParentCtl3D, TabOrder, TabStop,
    // Events of every control.
    OnClick, OnDblClick, OnDragDrop, OnDragOver, OnEndDrag, OnMouseDown, OnMouseMove, OnMouseUp, OnResize,
    OnStartDrag,
    // Events of windowed controls.
    OnEnter, OnExit, OnKeyDown, OnKeyPress, OnKeyUp,
};

namespace detail {

inline constexpr std::array<std::string_view, 34> kInheritedNames { "Align", "Caption", "Color", "Cursor",
    "DragCursor", "DragMode", "Enabled", "Font", "Hint", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",
    "ShowHint", "Visible", "Ctl3D", "ParentCtl3D", "TabOrder", "TabStop", "OnClick", "OnDblClick", "OnDragDrop",
    "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDrag", "OnEnter",
    "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp" };
static_assert(kInheritedNames.size() == static_cast<std::size_t>(TInherited::OnKeyUp) + 1);

[[nodiscard]] constexpr bool IsWindowedOnly(TInherited p) noexcept
{
    return (p >= TInherited::Ctl3D && p <= TInherited::TabStop) || p >= TInherited::OnEnter;
}

[[nodiscard]] constexpr bool IsEvent(TInherited p) noexcept
{
    return p >= TInherited::OnClick;
}

} // namespace detail

//! The name of an inherited property, checked when the program is compiled: a
//! name the host does not publish does not compile.
class TInheritedName {
public:
    consteval TInheritedName(const char* name)
        : m_property(Find(name))
    {
    }
    [[nodiscard]] constexpr TInherited Property() const noexcept { return m_property; }

private:
    static consteval TInherited Find(std::string_view name)
    {
        for (std::size_t i = 0; i < detail::kInheritedNames.size(); ++i)
            if (detail::kInheritedNames[i] == name)
                return static_cast<TInherited>(i);
        throw "no shared declaration for this published property"; // a compile-time error
    }

    TInherited m_property;
};

namespace detail {

template <class T>
void DeclareControlProperty(TClassInfoBuilder<T>& b, TInherited p)
{
    switch (p) {
    case TInherited::Align: b.Enum("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign, alNone); break;
    case TInherited::Caption: b.String("Caption", &TControl::Caption, &TControl::SetCaption); break;
    case TInherited::Color:
        b.Integer("Color", &TControl::Color, &TControl::SetColor, clWindow, &ColorIdents(), "TColor")
            .StoredWhen([](const TControl& c) { return !c.ParentColor(); });
        break;
    case TInherited::Cursor:
        b.Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault, &CursorIdents(), "TCursor");
        break;
    case TInherited::DragCursor:
        b.Integer("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag, &CursorIdents(), "TCursor");
        break;
    case TInherited::DragMode: b.Enum("DragMode", DragModeInfo(), &TControl::DragMode, &TControl::SetDragMode, dmManual); break;
    case TInherited::Enabled: b.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true); break;
    case TInherited::Font:
        b.Object("Font", "TFont", [](TControl& c) -> TPersistent* { return &c.Font(); })
            .StoredWhen([](const TControl& c) { return !c.ParentFont(); });
        break;
    case TInherited::Hint: b.String("Hint", &TControl::Hint, &TControl::SetHint); break;
    case TInherited::ParentColor: b.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true); break;
    case TInherited::ParentFont: b.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true); break;
    case TInherited::ParentShowHint:
        b.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
        break;
    case TInherited::PopupMenu: b.Reference("PopupMenu", "TPopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu); break;
    case TInherited::ShowHint:
        b.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .StoredWhen([](const TControl& c) { return !c.ParentShowHint(); });
        break;
    case TInherited::Visible: b.Bool("Visible", &TControl::Visible, &TControl::SetVisible, true); break;
    default: break;
    }
}

template <class T>
void DeclareWindowedProperty(TClassInfoBuilder<T>& b, TInherited p)
{
    switch (p) {
    case TInherited::Ctl3D:
        b.Bool("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).StoredWhen([](const TWinControl& c) {
            return !c.ParentCtl3D();
        });
        break;
    case TInherited::ParentCtl3D: b.Bool("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D, true); break;
    case TInherited::TabOrder:
        b.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1, nullptr, "TTabOrder");
        break;
    case TInherited::TabStop: b.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false); break;
    case TInherited::OnEnter: b.Event("OnEnter", "TNotifyEvent", &TWinControl::OnEnter, &TWinControl::SetOnEnter); break;
    case TInherited::OnExit: b.Event("OnExit", "TNotifyEvent", &TWinControl::OnExit, &TWinControl::SetOnExit); break;
    case TInherited::OnKeyDown: b.Event("OnKeyDown", "TKeyEvent", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown); break;
    case TInherited::OnKeyPress:
        b.Event("OnKeyPress", "TKeyPressEvent", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
        break;
    case TInherited::OnKeyUp: b.Event("OnKeyUp", "TKeyEvent", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp); break;
    default: break;
    }
}

template <class T>
void DeclareControlEvent(TClassInfoBuilder<T>& b, TInherited p)
{
    switch (p) {
    case TInherited::OnClick: b.Event("OnClick", "TNotifyEvent", &TControl::OnClick, &TControl::SetOnClick); break;
    case TInherited::OnDblClick: b.Event("OnDblClick", "TNotifyEvent", &TControl::OnDblClick, &TControl::SetOnDblClick); break;
    case TInherited::OnDragDrop:
        b.Event("OnDragDrop", "TDragDropEvent", &TControl::OnDragDrop, &TControl::SetOnDragDrop);
        break;
    case TInherited::OnDragOver:
        b.Event("OnDragOver", "TDragOverEvent", &TControl::OnDragOver, &TControl::SetOnDragOver);
        break;
    case TInherited::OnEndDrag: b.Event("OnEndDrag", "TEndDragEvent", &TControl::OnEndDrag, &TControl::SetOnEndDrag); break;
    case TInherited::OnMouseDown:
        b.Event("OnMouseDown", "TMouseEvent", &TControl::OnMouseDown, &TControl::SetOnMouseDown);
        break;
    case TInherited::OnMouseMove:
        b.Event("OnMouseMove", "TMouseMoveEvent", &TControl::OnMouseMove, &TControl::SetOnMouseMove);
        break;
    case TInherited::OnMouseUp: b.Event("OnMouseUp", "TMouseEvent", &TControl::OnMouseUp, &TControl::SetOnMouseUp); break;
    case TInherited::OnResize: b.Event("OnResize", "TNotifyEvent", &TControl::OnResize, &TControl::SetOnResize); break;
    case TInherited::OnStartDrag:
        b.Event("OnStartDrag", "TStartDragEvent", &TControl::OnStartDrag, &TControl::SetOnStartDrag);
        break;
    default: break;
    }
}

} // namespace detail

//! Declares the named inherited properties of TControl and TWinControl, in the
//! order given, with the host's defaults ("Color" with clWindow; use
//! PublishColor for another default). A windowed control's property named for a
//! windowless class raises EPropertyError when the class's table is built.
template <class T>
void PublishInherited(TClassInfoBuilder<T>& b, std::initializer_list<TInheritedName> names)
{
    for (TInheritedName n : names) {
        const TInherited p = n.Property();
        if (detail::IsWindowedOnly(p)) {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                detail::DeclareWindowedProperty(b, p);
            else
                throw EPropertyError(std::string(detail::kInheritedNames[static_cast<std::size_t>(p)])
                    + " is published by windowed controls only");
        } else if (detail::IsEvent(p)) {
            detail::DeclareControlEvent(b, p);
        } else {
            detail::DeclareControlProperty(b, p);
        }
    }
}

//! "TabStop" with a default of the class's own (controls that take the
//! keyboard, such as edits and buttons, are tab stops from the start).
template <class T>
void PublishTabStop(TClassInfoBuilder<T>& b, bool defaultValue)
{
    static_assert(std::is_base_of_v<TWinControl, T>, "only windowed controls have a tab stop");
    b.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, defaultValue);
}

//! "ParentColor" with a default of the class's own (fields have their own colour).
template <class T>
void PublishParentColor(TClassInfoBuilder<T>& b, bool defaultValue)
{
    b.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, defaultValue);
}

//! "Color" with a default of the class's own.
template <class T>
void PublishColor(TClassInfoBuilder<T>& b, TColor defaultColor)
{
    b.Integer("Color", &TControl::Color, &TControl::SetColor, defaultColor, &ColorIdents(), "TColor")
        .StoredWhen([](const TControl& c) { return !c.ParentColor(); });
}

} // namespace plx
