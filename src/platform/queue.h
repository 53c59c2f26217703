// The message queue of the main window, its timers, the keyboard hook and the
// mouse position.
//
// Messages are taken in the Windows order: posted messages first, then input
// (keys and mouse), then the quit message, then paint (while part of the window
// is invalid), then timers (at most one pending per timer). Posting works from
// any thread; everything else belongs to the main thread.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Resets the queue module: no messages, timers, hook, window procedure, close
// request; the mouse at (0, 0) with no button down; the program not active.
void plat_queue_reset();

// ---- Posting and taking

// Appends a posted message (any thread).
void plat_post_message(uint32_t message, uint32_t wparam, int32_t lparam);
// Asks for a quit message with the exit code; it is taken after posted
// messages and input. While one is pending, its code is kept.
void plat_post_quit_message(int32_t exit_code);
// Takes (remove) or looks at the next message without waiting; false when
// none is waiting. Taking a key message runs the keyboard hook first; a key
// the hook swallows is dropped and the next message taken instead.
bool plat_peek_message(PlatMessage* out, bool remove);
// Kept for the shape of the message loop; key messages need no translation.
void plat_translate_message(const PlatMessage* msg);
// Calls the main window's procedure with the message.
int32_t plat_dispatch_message(const PlatMessage* msg);
// Calls the main window's procedure at once, as Windows does for sent
// messages (activation, destruction). Main thread only.
int32_t plat_send_message(uint32_t message, uint32_t wparam, int32_t lparam);
// The default window procedure: validates the window on paint, else nothing.
int32_t plat_def_window_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);

// The procedure messages are dispatched to, and the window they name.
void plat_set_window_proc(PlatWindow window, PlatWndProc proc);

// Takes the next input message (key or mouse) only, leaving posted messages,
// quit, paint and timers where they are. Key messages pass the keyboard hook
// as when taken normally. For waits that throw input away but must not lose
// anything else.
bool plat_take_input(PlatMessage* out);
// Takes and drops every waiting input message; returns how many.
int plat_drain_input();
// True when any message (of any kind) could be taken now.
bool plat_message_waiting();

// ---- Paint

// Marks a rectangle of the window invalid (nullptr = all of it).
void plat_invalidate_rect(const PlatRect* rect);
// The rectangle given with the last paint message taken.
PlatRect plat_paint_rect();
// Sends a paint message at once when part of the window is invalid.
void plat_update_window();

// ---- Timers (ids chosen by the caller, as with window timers)

// Starts or restarts timer id: a timer message every ms milliseconds.
void plat_set_timer(uint32_t id, uint32_t ms);
// Stops timer id and drops its pending message; false when there was none.
bool plat_kill_timer(uint32_t id);
// The earliest deadline of any timer; false when there is none.
bool plat_next_timer_deadline(uint32_t* when);

// ---- Keyboard hook: called with (code 0, virtual-key, lParam flags) for
// every key message as it is taken; a non-zero result swallows the key.
using PlatKeyboardHook = int32_t (*)(int32_t code, uint32_t key, uint32_t flags);
void plat_set_keyboard_hook(PlatKeyboardHook hook);
PlatKeyboardHook plat_keyboard_hook();

// ---- Mouse, in 640 x 480 screen pixels

void plat_get_cursor_pos(int* x, int* y);
// Moves the mouse (the scripted one too, and the system pointer in a window)
// and queues a mouse move, as the system does.
void plat_set_cursor_pos(int x, int y);

// ---- Input arriving (from the window system or a script)

void plat_input_key(uint32_t vk, bool down);
void plat_input_mouse_move(int x, int y);
// Button messages at the current mouse position (WM_LBUTTONDOWN .. WM_RBUTTONUP).
void plat_input_button(uint32_t message);
// Activation or deactivation of the program; sent to the window procedure
// straight away, and only when it changes.
void plat_input_activate(bool active);

// ---- Closing the window: a request every open modal loop unwinds from.

void plat_request_close();
bool plat_close_requested();

// ---- Waiting

inline constexpr uint32_t PLAT_WAIT_FOREVER = 0xFFFFFFFFu;
// Nothing to do for up to max_ms. With the virtual clock the time jumps to
// the next timer deadline, tick or scripted input (or by max_ms, whichever
// comes first) unless a message is already waiting; with the real clock the
// processor is yielded for a moment.
void plat_idle(uint32_t max_ms);

// ---- Waits that take input only

// Takes the first posted message with that number, leaving the others.
bool plat_take_posted(uint32_t message, PlatMessage* out);
// As plat_idle, but only input ends it early: posted messages, paint and
// timers wait for the message loop after the wait.
void plat_idle_for_input(uint32_t max_ms);

// ---- The software cursor's drawing, on the main thread: the layer calls
// the hook whenever it takes messages, drains input, idles or presents.
using PlatCursorHook = void (*)();
void plat_set_cursor_hook(PlatCursorHook hook);
void plat_run_cursor_hook();
