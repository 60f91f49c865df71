#pragma once
// The window messages, virtual-key codes and system commands the engine's window procedures
// understand, with the platform's numbers. The Linux window layer translates its events into them.

#include <cstdint>

namespace sys {

class Window;
using WindowHandle = Window*;
using WParam = uint64_t;
using LParam = int64_t;
using LResult = int64_t;

struct Message {
    WindowHandle window = nullptr;
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Window procedure: receives every message dispatched to a window.
using WindowProc = LResult (*)(WindowHandle, uint32_t, WParam, LParam);

constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_POWERBROADCAST = 0x0218;
constexpr uint32_t WM_NCHITTEST = 0x0084;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_ENTERSIZEMOVE = 0x0231;
constexpr uint32_t WM_EXITSIZEMOVE = 0x0232;
constexpr uint32_t WM_USER = 0x0400;

// WM_SIZE kinds.
constexpr WParam SIZE_RESTORED = 0;
constexpr WParam SIZE_MINIMIZED = 1;
constexpr WParam SIZE_MAXIMIZED = 2;

// WM_ACTIVATE low words.
constexpr WParam WA_INACTIVE = 0;
constexpr WParam WA_ACTIVE = 1;

// WM_SYSCOMMAND commands.
constexpr WParam SC_SIZE = 0xF000;
constexpr WParam SC_MOVE = 0xF010;
constexpr WParam SC_MAXIMIZE = 0xF030;
constexpr WParam SC_NEXTWINDOW = 0xF040;
constexpr WParam SC_PREVWINDOW = 0xF050;
constexpr WParam SC_CLOSE = 0xF060;
constexpr WParam SC_KEYMENU = 0xF100;
constexpr WParam SC_SCREENSAVE = 0xF140;
constexpr WParam SC_MONITORPOWER = 0xF170;

// WM_POWERBROADCAST events.
constexpr WParam PBT_APMQUERYSUSPEND = 0;
constexpr WParam PBT_APMRESUMESUSPEND = 7;

// WM_NCHITTEST result for the client area.
constexpr LResult HTCLIENT = 1;

// Window styles.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;

// Class styles.
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;

// Virtual-key codes.
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12;
constexpr uint32_t VK_PAUSE = 0x13;
constexpr uint32_t VK_CAPITAL = 0x14;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_SNAPSHOT = 0x2C;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_LWIN = 0x5B;
constexpr uint32_t VK_RWIN = 0x5C;
constexpr uint32_t VK_APPS = 0x5D;
constexpr uint32_t VK_NUMPAD0 = 0x60;
constexpr uint32_t VK_MULTIPLY = 0x6A;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_DECIMAL = 0x6E;
constexpr uint32_t VK_DIVIDE = 0x6F;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F2 = 0x71;
constexpr uint32_t VK_F3 = 0x72;
constexpr uint32_t VK_F6 = 0x75;
constexpr uint32_t VK_NUMLOCK = 0x90;
constexpr uint32_t VK_SCROLL = 0x91;
constexpr uint32_t VK_OEM_1 = 0xBA;       // ;:
constexpr uint32_t VK_OEM_PLUS = 0xBB;
constexpr uint32_t VK_OEM_COMMA = 0xBC;
constexpr uint32_t VK_OEM_MINUS = 0xBD;
constexpr uint32_t VK_OEM_PERIOD = 0xBE;
constexpr uint32_t VK_OEM_2 = 0xBF;       // /?
constexpr uint32_t VK_OEM_3 = 0xC0;       // `~
constexpr uint32_t VK_OEM_4 = 0xDB;       // [{
constexpr uint32_t VK_OEM_5 = 0xDC;       // \|
constexpr uint32_t VK_OEM_6 = 0xDD;       // ]}
constexpr uint32_t VK_OEM_7 = 0xDE;       // '"
constexpr uint32_t VK_OEM_102 = 0xE2;

constexpr WParam MakeWParam(uint32_t low, uint32_t high) { return (WParam{high & 0xFFFF} << 16) | (low & 0xFFFF); }
constexpr LParam MakeLParam(int32_t low, int32_t high) {
    return static_cast<LParam>((static_cast<uint32_t>(high & 0xFFFF) << 16) | static_cast<uint32_t>(low & 0xFFFF));
}
constexpr uint32_t LowWord(uint64_t v) { return static_cast<uint32_t>(v & 0xFFFF); }
constexpr uint32_t HighWord(uint64_t v) { return static_cast<uint32_t>((v >> 16) & 0xFFFF); }

}  // namespace sys
