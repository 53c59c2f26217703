// Window messages in the numbering the game's code is written against.
//
// The layer keeps the Windows message model: one main window, a procedure
// that receives (window, message, wParam, lParam), posted messages, input,
// quit, paint and timer messages taken in the Windows order.
#pragma once

#include <cstdint>

struct PlatWindowRec;
using PlatWindow = PlatWindowRec*;

// A window procedure: returns a 32-bit result.
using PlatWndProc = int32_t (*)(PlatWindow window, uint32_t message, uint32_t wparam,
                                int32_t lparam);

struct PlatMessage {
    PlatWindow window = nullptr;
    uint32_t message = 0;
    uint32_t wparam = 0;
    int32_t lparam = 0;
    uint32_t time = 0; // tick count when the message was queued or made
};

inline constexpr uint32_t WM_DESTROY = 2;
inline constexpr uint32_t WM_PAINT = 15;
inline constexpr uint32_t WM_QUIT = 18;
inline constexpr uint32_t WM_ACTIVATEAPP = 28;
inline constexpr uint32_t WM_KEYDOWN = 256;
inline constexpr uint32_t WM_KEYUP = 257;
inline constexpr uint32_t WM_TIMER = 275;
inline constexpr uint32_t WM_MOUSEMOVE = 512;
inline constexpr uint32_t WM_LBUTTONDOWN = 513;
inline constexpr uint32_t WM_LBUTTONUP = 514;
inline constexpr uint32_t WM_RBUTTONDOWN = 516;
inline constexpr uint32_t WM_RBUTTONUP = 517;
inline constexpr uint32_t MM_MCINOTIFY = 953;
inline constexpr uint32_t WM_USER = 1024;

// wParam of MM_MCINOTIFY when the command completed.
inline constexpr uint32_t MCI_NOTIFY_SUCCESSFUL = 1;

// Button and modifier bits in the wParam of mouse messages.
inline constexpr uint32_t MK_LBUTTON = 0x0001;
inline constexpr uint32_t MK_RBUTTON = 0x0002;
inline constexpr uint32_t MK_SHIFT = 0x0004;
inline constexpr uint32_t MK_CONTROL = 0x0008;

// Bits of a key message's lParam (and of the keyboard hook's flags).
inline constexpr uint32_t KEY_FLAG_REPEAT = 1u << 30;  // the key was already down
inline constexpr uint32_t KEY_FLAG_RELEASE = 1u << 31; // the key is being released

// Mouse position packed the Windows way: y in the high, x in the low 16 bits.
inline constexpr int32_t plat_pack_point(int x, int y) {
    return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) |
                                (static_cast<uint32_t>(x) & 0xFFFF));
}
inline constexpr int plat_point_x(int32_t lparam) {
    return static_cast<int16_t>(lparam & 0xFFFF);
}
inline constexpr int plat_point_y(int32_t lparam) {
    return static_cast<int16_t>((static_cast<uint32_t>(lparam) >> 16) & 0xFFFF);
}

// A rectangle the Windows way: right and bottom exclusive.
struct PlatRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
