// Drawing steps the pop-ups, panels, balloon and bubble share: the back
// buffer's lock, keyed and opaque copies of pictures into it, saving and
// restoring screen areas, and the screen update rule (the cursor hidden over
// the rectangle while it is copied to the display).
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "platform/messages.h"

// The back buffer as an image while locked; nullptr without a display.
ImageRecord* popup_lock_back();
void popup_unlock_back();
// Draws img with its hot spot at (x, y) into target, pixel 0 skipped (key)
// or not (opaque), cut at the target's edges.
void popup_blit(ImageRecord* target, const ImageRecord* img, int x, int y, bool key);
// The rectangle (sx, sy, w, h) of img, its top-left at (x, y) of target, opaque.
void popup_blit_part(ImageRecord* target, const ImageRecord* img, int x, int y, int sx, int sy,
                     int w, int h);
// A copy of the back buffer's rectangle (cut to the screen), or nullptr.
ImageRecord* popup_save_area(const PlatRect& r);
// Draws a saved area back opaque at (x, y) of the back buffer, copies it to
// the display and frees it.
void popup_restore_area(ImageRecord* saved, int x, int y);
// Copies the back buffer's rectangle to the display with the cursor hidden
// over it.
void popup_update(const PlatRect& r);
// What a window over the back buffer does with the messages it leaves: a
// paint copies the rectangle to be painted to the display, everything else
// goes to the default procedure.
int32_t popup_default_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// A frame of a linked frame set, nullptr when the set or the frame is missing.
const ImageRecord* popup_frame(const void* set, int n);

// The text engine's font and text, as the pop-ups use them.
void popup_font(int height, uint32_t rgb, uint32_t rgb2, int flags, int spacing);
void popup_text(ImageRecord* target, const char* text, int x, int y, int align);

// The board's panel pictures (data.mkf 476: 5 the message panel, 6 the
// speech bubble, 22-29 the minimap marks) and small pictures (data.mkf 478,
// shown in the bubble), read with the map and freed with it; nullptr while
// not loaded.
extern void* board_panel_set;
extern void* board_picture_set;
void board_panels_load();
void board_panels_free();
