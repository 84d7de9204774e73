#pragma once
// Small shared types of the window system: keys, shift states, mouse
// buttons, cursors, alignment, modal results, window messages and the
// event signatures of the controls.
#include <cstdint>
#include <functional>

#include "platform/core/component.h"
#include "platform/gfx/types.h"

// Shift state: a set of these bits.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual key codes (the desktop's numbering; letters and digits are their
// upper-case ASCII codes).
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_PAUSE = 0x13;
constexpr uint16_t VK_CAPITAL = 0x14;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint16_t VK_NEXT = 0x22;
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_F1 = 0x70;
constexpr uint16_t VK_F4 = 0x73;
constexpr uint16_t VK_F10 = 0x79;
constexpr uint16_t VK_F12 = 0x7B;

// Cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crHandPoint = -21;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// Form border styles; controls use the first two values.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TScrollBarKind { sbHorizontal, sbVertical };

// Modal results.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

// Control style bits.
using TControlStyle = unsigned;
constexpr TControlStyle csAcceptsControls = 1;
constexpr TControlStyle csCaptureMouse = 2;
constexpr TControlStyle csClickEvents = 4;
constexpr TControlStyle csDoubleClicks = 8;  // without it a double click is a second click
constexpr TControlStyle csOpaque = 16;       // Paint covers every pixel
constexpr TControlStyle csSetCaption = 32;

// What a focused control wants of the dialog keys (answers of WantedKeys).
constexpr unsigned dlgcWantArrows = 1;
constexpr unsigned dlgcWantTab = 2;
constexpr unsigned dlgcWantAllKeys = 4;  // Enter and Escape
constexpr unsigned dlgcWantChars = 8;    // plain letters are text, not accelerators

// Window messages that the message hook and Perform see.
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCHAR = 0x0106;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_USER = 0x0400;
// The skinned frame's border-width question, answered by the form's frame hook.
constexpr unsigned WM_SKIN_GETBORDERWIDTH = 9923;

class TControl;

// One input message as the application-level hook sees it. Mouse
// positions are in the target form's window pixels.
struct TMsg {
    unsigned message = 0;
    TControl* target = nullptr;  // the form, or the control under the mouse / with the focus
    uint16_t key = 0;            // WM_KEY*: virtual key; WM_CHAR/WM_SYSCHAR: 0
    char32_t ch = 0;             // WM_CHAR, WM_SYSCHAR: the character
    TShiftState shift = 0;
    TPoint pos{};
    int wheel_delta = 0;  // WM_MOUSEWHEEL: 120 a notch, positive away from the user
};

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;

// Scroll messages (WParam: low word the code, high word the position).
constexpr unsigned WM_HSCROLL = 0x0114;
constexpr unsigned WM_VSCROLL = 0x0115;
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr intptr_t MakeScrollWParam(int code, int pos)
{
    return (code & 0xFFFF) | (static_cast<intptr_t>(pos & 0xFFFF) << 16);
}

// What a scrolling control reports of one of its scroll bars. A bar is
// usable when Max - Min + 1 > Page.
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    bool Visible = false;  // the control shows the bar now
    bool Usable() const { return Visible && Max - Min + 1 > Page; }
};
