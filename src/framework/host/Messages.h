// Messages: the numbers and the record that the control layer routes to its handlers.
#pragma once

#include "color/host/Types.h"

#include <cstdint>

namespace plx {

using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

//! A message sent to a control: its number, two parameters and the result the
//! handler leaves (0 unless a handler says otherwise).
struct TMessage {
    std::uint32_t Msg { 0 };
    WPARAM WParam { 0 };
    LPARAM LParam { 0 };
    LRESULT Result { 0 };
};

// Window messages.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_CANCELMODE = 0x001F;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
//! WParam: the wheel's turn in its high 16 bits (120 a notch, positive away
//! from the user) and the MK_ flags in the low; LParam: the screen point. Sent
//! to the control under the pointer, then to its parents until one answers
//! with a non-zero Result.
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;

// Control notifications (the host's own messages, from 0xB000).
inline constexpr std::uint32_t CM_BASE = 0xB000;
inline constexpr std::uint32_t CM_ACTIVATE = CM_BASE + 0;
inline constexpr std::uint32_t CM_DEACTIVATE = CM_BASE + 1;
inline constexpr std::uint32_t CM_GOTFOCUS = CM_BASE + 2;
inline constexpr std::uint32_t CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr std::uint32_t CM_CANCELMODE = CM_BASE + 4;
inline constexpr std::uint32_t CM_DIALOGKEY = CM_BASE + 5;
inline constexpr std::uint32_t CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr std::uint32_t CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr std::uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr std::uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr std::uint32_t CM_HITTEST = CM_BASE + 10;
inline constexpr std::uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr std::uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr std::uint32_t CM_COLORCHANGED = CM_BASE + 13;
inline constexpr std::uint32_t CM_FONTCHANGED = CM_BASE + 14;
inline constexpr std::uint32_t CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr std::uint32_t CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr std::uint32_t CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr std::uint32_t CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr std::uint32_t CM_MOUSEENTER = CM_BASE + 19;
inline constexpr std::uint32_t CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr std::uint32_t CM_MENUCHANGED = CM_BASE + 21;
inline constexpr std::uint32_t CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr std::uint32_t CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr std::uint32_t CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr std::uint32_t CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr std::uint32_t CM_ENTER = CM_BASE + 26;
inline constexpr std::uint32_t CM_EXIT = CM_BASE + 27;
inline constexpr std::uint32_t CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr std::uint32_t CM_ICONCHANGED = CM_BASE + 29;
inline constexpr std::uint32_t CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr std::uint32_t CM_INVOKEHELP = CM_BASE + 31;
inline constexpr std::uint32_t CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr std::uint32_t CM_RELEASE = CM_BASE + 33;
inline constexpr std::uint32_t CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr std::uint32_t CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr std::uint32_t CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr std::uint32_t CM_WININICHANGE = CM_BASE + 37;
inline constexpr std::uint32_t CM_FONTCHANGE = CM_BASE + 38;
inline constexpr std::uint32_t CM_TIMECHANGE = CM_BASE + 39;
inline constexpr std::uint32_t CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr std::uint32_t CM_UIACTIVATE = CM_BASE + 41;
inline constexpr std::uint32_t CM_UIDEACTIVATE = CM_BASE + 42;
inline constexpr std::uint32_t CM_DOCWINDOWACTIVATE = CM_BASE + 43;
inline constexpr std::uint32_t CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr std::uint32_t CM_GETDATALINK = CM_BASE + 45;
inline constexpr std::uint32_t CM_CHILDKEY = CM_BASE + 46;
inline constexpr std::uint32_t CM_DRAG = CM_BASE + 47;
inline constexpr std::uint32_t CM_HINTSHOW = CM_BASE + 48;
inline constexpr std::uint32_t CM_DIALOGHANDLE = CM_BASE + 49;
inline constexpr std::uint32_t CM_ISTOOLCONTROL = CM_BASE + 50;
inline constexpr std::uint32_t CM_RECREATEWND = CM_BASE + 51;
inline constexpr std::uint32_t CM_INVALIDATE = CM_BASE + 52;
inline constexpr std::uint32_t CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr std::uint32_t CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr std::uint32_t CM_CHANGED = CM_BASE + 55;
static_assert(CM_BUTTONPRESSED == 0xB018);

// Mouse-key flags of mouse messages' WParam.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual keys: the key codes of WM_KEYDOWN and WM_KEYUP (letters and digits are
// their upper-case ASCII codes).
inline constexpr std::uint16_t VK_BACK = 0x08;
inline constexpr std::uint16_t VK_TAB = 0x09;
inline constexpr std::uint16_t VK_RETURN = 0x0D;
inline constexpr std::uint16_t VK_SHIFT = 0x10;
inline constexpr std::uint16_t VK_CONTROL = 0x11;
inline constexpr std::uint16_t VK_MENU = 0x12;
inline constexpr std::uint16_t VK_ESCAPE = 0x1B;
inline constexpr std::uint16_t VK_SPACE = 0x20;
inline constexpr std::uint16_t VK_PRIOR = 0x21;
inline constexpr std::uint16_t VK_NEXT = 0x22;
inline constexpr std::uint16_t VK_END = 0x23;
inline constexpr std::uint16_t VK_HOME = 0x24;
inline constexpr std::uint16_t VK_LEFT = 0x25;
inline constexpr std::uint16_t VK_UP = 0x26;
inline constexpr std::uint16_t VK_RIGHT = 0x27;
inline constexpr std::uint16_t VK_DOWN = 0x28;
inline constexpr std::uint16_t VK_INSERT = 0x2D;
inline constexpr std::uint16_t VK_DELETE = 0x2E;
inline constexpr std::uint16_t VK_F1 = 0x70;
inline constexpr std::uint16_t VK_F4 = 0x73;

// Modifier flags of key messages' LParam (WM_KEYDOWN, WM_KEYUP, CM_DIALOGKEY,
// CM_WANTSPECIALKEY) and of CM_DIALOGCHAR (KD_ALT when typed with Alt).
inline constexpr LPARAM KD_SHIFT = 0x0001;
inline constexpr LPARAM KD_CTRL = 0x0002;
inline constexpr LPARAM KD_ALT = 0x0004;

// Hit-test codes (WM_NCLBUTTONDOWN).
inline constexpr WPARAM HTCAPTION = 2;

//! Packs a client point into a mouse message's LParam (16 bits each, signed).
[[nodiscard]] constexpr LPARAM PointToLParam(TPoint p) noexcept
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(p.X) & 0xFFFF) | ((static_cast<std::uint32_t>(p.Y) & 0xFFFF) << 16));
}
[[nodiscard]] constexpr TPoint LParamToPoint(LPARAM l) noexcept
{
    return { static_cast<std::int16_t>(l & 0xFFFF), static_cast<std::int16_t>((l >> 16) & 0xFFFF) };
}

} // namespace plx
