// Window messages and virtual-key codes, as the window handler and the game read them.
#pragma once

#include <cstdint>

namespace platform {

constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;

// Gamepads, in the range the window system leaves to programs. The word argument is the pad's
// id, which stays the same from WM_PADADDED until its WM_PADREMOVED; a button message's long
// argument is the PAD_BUTTON_ code, an axis message's is MakeLParam (PAD_AXIS_ code, value).
constexpr uint32_t WM_PADADDED = 0x8001;
constexpr uint32_t WM_PADREMOVED = 0x8002;
constexpr uint32_t WM_PADBUTTONDOWN = 0x8003;
constexpr uint32_t WM_PADBUTTONUP = 0x8004;
constexpr uint32_t WM_PADAXIS = 0x8005;

// Packs two 16-bit coordinates into a long argument, as move and pointer messages carry them.
constexpr intptr_t MakeLParam(int low, int high) {
  return static_cast<intptr_t>((static_cast<uint32_t>(low) & 0xFFFFu) |
                               ((static_cast<uint32_t>(high) & 0xFFFFu) << 16));
}

// A pad's buttons and axes, named by the usual layout of a console pad (A at the bottom of the
// four face buttons, Back on the left of the centre, Start on the right).
constexpr int PAD_BUTTON_A = 0;
constexpr int PAD_BUTTON_B = 1;
constexpr int PAD_BUTTON_X = 2;
constexpr int PAD_BUTTON_Y = 3;
constexpr int PAD_BUTTON_BACK = 4;
constexpr int PAD_BUTTON_GUIDE = 5;
constexpr int PAD_BUTTON_START = 6;
constexpr int PAD_BUTTON_LEFTSTICK = 7;
constexpr int PAD_BUTTON_RIGHTSTICK = 8;
constexpr int PAD_BUTTON_LEFTSHOULDER = 9;
constexpr int PAD_BUTTON_RIGHTSHOULDER = 10;
constexpr int PAD_BUTTON_DPAD_UP = 11;
constexpr int PAD_BUTTON_DPAD_DOWN = 12;
constexpr int PAD_BUTTON_DPAD_LEFT = 13;
constexpr int PAD_BUTTON_DPAD_RIGHT = 14;
constexpr int PAD_BUTTONS = 15;

// Sticks run from -32768 (left, up) to 32767 (right, down); triggers from 0 to 32767.
constexpr int PAD_AXIS_LEFTX = 0;
constexpr int PAD_AXIS_LEFTY = 1;
constexpr int PAD_AXIS_RIGHTX = 2;
constexpr int PAD_AXIS_RIGHTY = 3;
constexpr int PAD_AXIS_TRIGGERLEFT = 4;
constexpr int PAD_AXIS_TRIGGERRIGHT = 5;
constexpr int PAD_AXES = 6;

// Virtual-key codes. Letters and digits are their upper-case character codes ('A' = 0x41).
constexpr uint8_t VK_BACK = 0x08;
constexpr uint8_t VK_TAB = 0x09;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_CONTROL = 0x11;
constexpr uint8_t VK_MENU = 0x12;  // alt
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_F1 = 0x70;          // F1 to F12 are 0x70 to 0x7B
constexpr uint8_t VK_OEM_1 = 0xBA;       // ;:
constexpr uint8_t VK_OEM_PLUS = 0xBB;    // =+
constexpr uint8_t VK_OEM_COMMA = 0xBC;   // ,<
constexpr uint8_t VK_OEM_MINUS = 0xBD;   // -_
constexpr uint8_t VK_OEM_PERIOD = 0xBE;  // .>
constexpr uint8_t VK_OEM_2 = 0xBF;       // /?
constexpr uint8_t VK_OEM_3 = 0xC0;       // `~
constexpr uint8_t VK_OEM_4 = 0xDB;       // [{
constexpr uint8_t VK_OEM_5 = 0xDC;       // \|
constexpr uint8_t VK_OEM_6 = 0xDD;       // ]}
constexpr uint8_t VK_OEM_7 = 0xDE;       // '"

}  // namespace platform
