// Drawing and screen update.
//
// Everything is drawn in software into 16-bit pixels of the display's
// format: into the 640 x 480 back buffer or into another image. Changed
// rectangles of the back buffer then go to the primary surface through
// gfx_screen_update, with the software cursor hidden around the copy.
//
// With no display open (no back surface: rule tests, the runner) every
// drawing service returns at once after recording what it was asked to show.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/image.h"
#include "engine/layout.h"
#include "platform/messages.h"
#include "platform/surface.h"

// The surfaces the start-up makes (engine/surfaces.h).
extern PlatSurface* back_surface;
extern PlatSurface* primary_surface;
// The back buffer's pixels while locked (rows of 640 pixels), else nullptr.
extern uint16_t* back_pixels;
// 640 x 480, hot spot (0, 0), describing the back buffer; its pixels are
// back_pixels while locked.
extern ImageRecord back_image;
// The display as an image: width the primary surface's pitch / 2, height 480;
// its pixels point at the display while it is locked.
extern ImageRecord primary_image;
// The board view's hit-test map: 440 x 440 object codes, one a pixel of the
// view, nullptr while not allocated. The storage is the engine's
// (engine/draw.cpp); the board builds the map into it, drawing marks and
// flashes it.
inline constexpr int VIEW_HITMAP_SIDE = 440;
extern uint16_t* view_hitmap;

// Left, top, right, bottom (right and bottom exclusive); the board view's
// area (LAYOUT_BOARD_AREA) at the start. Changed only through gfx_set_clip.
extern PlatRect gfx_clip_rect;
// Sets the clip rectangle, cut to 640 x 480 (a reversed one is empty).
void gfx_set_clip(int left, int top, int right, int bottom);
// Back to the start state: the clip rectangle, no lock, the press area empty.
void gfx_reset();

// A display is open: there is a back surface to draw into. Feedback services
// return at once without one.
bool gfx_display_open();
// Locks the back buffer: sets back_pixels and back_image.pixels and returns
// them (nullptr with no display). Nested locks are counted.
uint16_t* gfx_lock_back();
// Unlocks it; the last unlock clears back_pixels.
void gfx_unlock_back();

// The screen update every screen does after drawing: unlock the back buffer,
// hide the cursor over rect, copy rect of the back surface to the same place
// of the primary surface, show the cursor. The rectangle is cut to the screen.
void gfx_screen_update(const PlatRect& rect);
// The same copy without touching the cursor (the screen clear and the
// restore of a saved rectangle copy this way).
void gfx_copy_to_display(const PlatRect& rect);

// --- The blitter family -----------------------------------------------------
// Every member draws with the image's hot spot at (x, y): its top-left pixel
// goes to (x - hot_x, y - hot_y). Key members skip source pixels equal to 0;
// part members copy the rectangle (sx, sy, w, h) of the source so that its
// top-left lands there. An image wholly outside is skipped; one crossing any
// edge of the target (or of the clip rectangle, for the clip members) is cut
// there, the source start shifted by the amount cut. Each frame is drawn by
// its set's format: a frame of an "SPR" set (spr_frame) is read as 8-bit
// indices through the set's palette (key members skip index 0), so no draw
// reads past a frame's bytes.

// Flags of the cores.
inline constexpr int BLIT_CLIP = 1; // cut to gfx_clip_rect as well as to the target
inline constexpr int BLIT_KEY = 2;  // skip source pixels equal to 0

// Whole-image core: target width and height (the width is the pitch).
void blit_image_core(int target_w, int target_h, uint16_t* target, const ImageRecord* image, int x,
                     int y, int flags);
// Part core: target pitch in pixels and height.
void blit_part_core(int target_pitch, int target_h, uint16_t* target, const ImageRecord* image,
                    int x, int y, int sx, int sy, int w, int h, int flags);

// Into an image.
void blit_to_image(ImageRecord* target, const ImageRecord* image, int x, int y);
void blit_key_to_image(ImageRecord* target, const ImageRecord* image, int x, int y);
void blit_part_to_image(ImageRecord* target, const ImageRecord* image, int x, int y, int sx, int sy,
                        int w, int h);
void blit_part_to_image_clip(ImageRecord* target, const ImageRecord* image, int x, int y, int sx,
                             int sy, int w, int h);
void blit_part_key_to_image(ImageRecord* target, const ImageRecord* image, int x, int y, int sx,
                            int sy, int w, int h);
void blit_part_key_to_image_clip(ImageRecord* target, const ImageRecord* image, int x, int y,
                                 int sx, int sy, int w, int h);

// Into a 640 x 480 buffer (back_pixels).
void blit_opaque(uint16_t* back, const ImageRecord* image, int x, int y);
void blit_key(uint16_t* back, const ImageRecord* image, int x, int y);
void blit_part(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy, int w,
               int h);
void blit_part_clip(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy, int w,
                    int h);
void blit_part_key(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy, int w,
                   int h);
void blit_key_clip(uint16_t* back, const ImageRecord* image, int x, int y);
void blit_part_key_clip(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy,
                        int w, int h);

// Frames of "SPR" sets (8-bit indices through the set's palette) into a
// 640 x 480 buffer. A frame outside the set draws nothing.
void spr_draw(uint16_t* back, const void* set, int n, int x, int y);
void spr_draw_key(uint16_t* back, const void* set, int n, int x, int y);
void spr_draw_key_clip(uint16_t* back, const void* set, int n, int x, int y);
// Index 0 skipped, scaled by scale / 65536 in both directions (0x10000 is
// 1:1, 0 draws nothing); the hot spot is subtracted unscaled; each output
// pixel takes the source pixel at output offset x 65536 / scale, truncated.
void spr_draw_scaled(uint16_t* back, const void* set, int n, int x, int y, uint32_t scale);

// Every non-zero pixel of the image written as the one colour (0x00RRGGBB),
// cut at the target.
void blit_silhouette(ImageRecord* target, const ImageRecord* image, int x, int y, uint32_t rgb);
// Writes value into the 440 x 440 map wherever the "SPR" frame's index is
// non-zero, cut to 440 x 440.
void spr_mask_to_board(uint16_t* board_map, const ImageRecord* frame, int x, int y, uint16_t value);
// ORs a mark colour (0 red, 1 blue) into the 640 x 480 buffer's pixels under
// the "SPR" frame's non-zero indices, cut to the clip rectangle.
void spr_mask_tint(uint16_t* back, const ImageRecord* frame, int x, int y, int colour_index);

// --- Other operations ---------------------------------------------------------

// Fills the rectangle of an image with a colour (0x00RRGGBB); cut at the image.
void blit_fill_rect(ImageRecord* target, int x, int y, int w, int h, uint32_t rgb);
// Its one-pixel outline; cut at the image.
void blit_frame_rect(ImageRecord* target, int x, int y, int w, int h, uint32_t rgb);
// Copies a 640 x 480 buffer (rows of 640 pixels) into a surface of the given
// pitch in bytes.
void gfx_copy_screen(void* dst, const uint16_t* src, int pitch);

// The current map's 256 colours in the display's format; gfx_draw_quad looks
// the tile's indices up here (the map load fills it).
extern uint16_t gfx_map_palette[256];
// A convex quadrilateral into a 640-wide buffer, textured with a 32 x 32 tile
// of 8-bit indices. Corners: x in the upper and y in the lower 16 bits, in
// clockwise order on screen; corner 0 takes tile corner (0, 0), 1 (31, 0),
// 2 (31, 31), 3 (0, 31). Rows run from an edge's upper end inclusive to its
// lower end exclusive, spans from the truncated left to the truncated right
// x inclusive, so quadrilaterals sharing an edge leave no gap; cut to the
// clip rectangle.
void gfx_draw_quad(uint16_t* dst, const uint8_t* tile, const uint32_t corners[4]);

// Every pixel equal to from in a run of count becomes to.
void gfx_replace_pixel(uint16_t* pixels, size_t count, uint16_t from, uint16_t to);
// Clears the back buffer and copies the whole screen to the display.
void gfx_clear_screen();

// Copies the rectangle of the back buffer (cut to the screen) into a new
// image with hot spot (0, 0); nullptr with no display or an empty rectangle.
ImageRecord* image_save_screen_rect(const PlatRect& rect);
// Draws a saved image opaque into the back buffer at (x, y & 0x7FFF), copies
// that rectangle to the display and frees the image unless bit 15 of y is
// set (then the caller keeps it to restore again). Nothing for nullptr.
void image_restore_screen_rect(ImageRecord* image, int x, int y);

// The pressed look of a button: the content moved one pixel right and down,
// the top row and left column darkened; release puts it back pixel for
// pixel. The rectangle is cut to the screen; the save area holds a whole
// column and row of the screen. Any non-empty rectangle is pressed: one a
// single pixel wide or tall has nothing to move and is only darkened.
inline constexpr int PRESS_SAVE_PIXELS = SCREEN_W + SCREEN_H;
void gfx_press_rect(const PlatRect& rect);
void gfx_release_rect();

// The brightness pulse over the board cells marked 0xFFFF in the hit-test map.
void gfx_flash_board();

// --- Lines and sectors (engine/draw_shapes.cpp) -------------------------------
// Both cut every pixel to the rectangle clip and to the image.

// A one-pixel line from (x0, y0) to (x1, y1), both ends drawn: one pixel for
// each step along the longer axis, max(|dx|, |dy|) + 1 in all.
void draw_line_clip(ImageRecord* target, const PlatRect& clip, int x0, int y0, int x1, int y1,
                    uint32_t rgb);
// The part of the disc of radius r around (cx, cy) (the pixels whose offset
// (dx, dy) has dx^2 + dy^2 <= r^2) whose direction lies from `from` to `to`
// parts of a `whole` turn, clockwise from straight up, the end excluded:
// sectors that meet share no pixel, and sectors covering 0..whole fill the
// disc. The centre pixel belongs to the sector that starts at 0.
void draw_sector_clip(ImageRecord* target, const PlatRect& clip, int cx, int cy, int r,
                      int64_t from, int64_t to, int64_t whole, uint32_t rgb);
