// Published-property declarations that many control classes share: each class
// lists, in its own order, which inherited properties it publishes.
#pragma once

#include "color/host/GraphicsObject.h"
#include "framework/host/Control.h"
#include "rtl/TypInfo.h"
#include "framework/host/WinControl.h"

#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <type_traits>

namespace plx {

//! Declares the named inherited properties of TControl and TWinControl, in the
//! order given, with the host's defaults ("Color" with clWindow; use
//! PublishColor for another default).
template <class T>
void PublishInherited(TClassInfoBuilder<T>& b, std::initializer_list<std::string_view> names)
{
    for (std::string_view n : names) {
        if (n == "Align")
            b.Enum("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign, alNone);
        else if (n == "Caption")
            b.String("Caption", &TControl::Caption, &TControl::SetCaption);
        else if (n == "Color")
            b.Integer("Color", &TControl::Color, &TControl::SetColor, clWindow, &ColorIdents(), "TColor")
                .StoredWhen([](const TControl& c) { return !c.ParentColor(); });
        else if (n == "Ctl3D") {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                b.Bool("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).StoredWhen([](const TWinControl& c) { return !c.ParentCtl3D(); });
            else
                throw std::logic_error("Ctl3D is published by windowed controls only");
        }
        else if (n == "Cursor")
            b.Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault, &CursorIdents(), "TCursor");
        else if (n == "DragCursor")
            b.Integer("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag, &CursorIdents(), "TCursor");
        else if (n == "DragMode")
            b.Enum("DragMode", DragModeInfo(), &TControl::DragMode, &TControl::SetDragMode, dmManual);
        else if (n == "Enabled")
            b.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
        else if (n == "Font")
            b.Object("Font", "TFont", [](TControl& c) -> TPersistent* { return &c.Font(); })
                .StoredWhen([](const TControl& c) { return !c.ParentFont(); });
        else if (n == "Hint")
            b.String("Hint", &TControl::Hint, &TControl::SetHint);
        else if (n == "ParentColor")
            b.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
        else if (n == "ParentCtl3D") {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                b.Bool("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D, true);
            else
                throw std::logic_error("ParentCtl3D is published by windowed controls only");
        }
        else if (n == "ParentFont")
            b.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
        else if (n == "ParentShowHint")
            b.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
        else if (n == "PopupMenu")
            b.Reference("PopupMenu", "TPopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
        else if (n == "ShowHint")
            b.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
                .StoredWhen([](const TControl& c) { return !c.ParentShowHint(); });
        else if (n == "TabOrder") {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                b.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1, nullptr, "TTabOrder");
            else
                throw std::logic_error("TabOrder is published by windowed controls only");
        }
        else if (n == "TabStop") {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                b.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
            else
                throw std::logic_error("TabStop is published by windowed controls only");
        }
        else if (n == "Visible")
            b.Bool("Visible", &TControl::Visible, &TControl::SetVisible, true);
        else if (n == "OnClick")
            b.Event("OnClick", "TNotifyEvent", &TControl::OnClick, &TControl::SetOnClick);
        else if (n == "OnDblClick")
            b.Event("OnDblClick", "TNotifyEvent", &TControl::OnDblClick, &TControl::SetOnDblClick);
        else if (n == "OnDragDrop")
            b.Event("OnDragDrop", "TDragDropEvent", &TControl::OnDragDrop, &TControl::SetOnDragDrop);
        else if (n == "OnDragOver")
            b.Event("OnDragOver", "TDragOverEvent", &TControl::OnDragOver, &TControl::SetOnDragOver);
        else if (n == "OnEndDrag")
            b.Event("OnEndDrag", "TEndDragEvent", &TControl::OnEndDrag, &TControl::SetOnEndDrag);
        else if (n == "OnEnter") {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                b.Event("OnEnter", "TNotifyEvent", &TWinControl::OnEnter, &TWinControl::SetOnEnter);
            else
                throw std::logic_error("OnEnter is published by windowed controls only");
        }
        else if (n == "OnExit") {
            if constexpr (std::is_base_of_v<TWinControl, T>)
                b.Event("OnExit", "TNotifyEvent", &TWinControl::OnExit, &TWinControl::SetOnExit);
            else
                throw std::logic_error("OnExit is published by windowed controls only");
        }
        else if (n == "OnMouseDown")
            b.Event("OnMouseDown", "TMouseEvent", &TControl::OnMouseDown, &TControl::SetOnMouseDown);
        else if (n == "OnMouseMove")
            b.Event("OnMouseMove", "TMouseMoveEvent", &TControl::OnMouseMove, &TControl::SetOnMouseMove);
        else if (n == "OnMouseUp")
            b.Event("OnMouseUp", "TMouseEvent", &TControl::OnMouseUp, &TControl::SetOnMouseUp);
        else if (n == "OnResize")
            b.Event("OnResize", "TNotifyEvent", &TControl::OnResize, &TControl::SetOnResize);
        else if (n == "OnStartDrag")
            b.Event("OnStartDrag", "TStartDragEvent", &TControl::OnStartDrag, &TControl::SetOnStartDrag);
        else
            throw std::logic_error("no shared declaration for published property " + std::string(n));
    }
}

//! "Color" with a default of the class's own.
template <class T>
void PublishColor(TClassInfoBuilder<T>& b, TColor defaultColor)
{
    b.Integer("Color", &TControl::Color, &TControl::SetColor, defaultColor, &ColorIdents(), "TColor")
        .StoredWhen([](const TControl& c) { return !c.ParentColor(); });
}

} // namespace plx
