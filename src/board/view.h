// The board view and its hit-test map.
//
// The view is the 440 x 440 picture of the map at screen (0, 40), seen from
// one of eight directions (view_rotation). Rendering always does the game-state
// half (camera, draw list) whether or not a display or the pictures are there,
// so every list query sees the same objects headless as on screen; only the
// pixels need the back surface and the pictures.
#pragma once

#include <cstdint>

#include "platform/messages.h"

inline constexpr int VIEW_TOP = 40;       // screen y of the view's first row
inline constexpr int VIEW_CENTRE_X = 220; // where the camera point is drawn
inline constexpr int VIEW_CENTRE_Y = 260; // (screen coordinates)
inline constexpr int VIEW_CELL = 32;      // world units to a terrain cell
inline constexpr int VIEW_REACH = 14;     // cells drawn around the camera cell
inline constexpr int VIEW_GRID = 2 * VIEW_REACH + 1;
inline constexpr int VIEW_ORDER_CAPACITY = 304; // draw-order pairs with the end mark
inline constexpr int8_t VIEW_ORDER_END = -128;

// The view position the hit-test map was last built for (-1: rebuild).
extern int32_t hitmap_view_pos[2];

// The camera (world units), game state like the rest of the view.
extern int32_t view_camera_x;
extern int32_t view_camera_y;

// What an entry of the draw list shows: which picture and its number.
enum ViewSpriteKind : uint8_t {
    VS_MOVER = 0,      // index = mover x 8 + slot
    VS_GOD = 1,        // index = god sprite 0..19
    VS_OWNER_MARK = 2, // MAP.MKF 13
    VS_MARK_SHAPE = 3, // MAP.MKF 14, tinted by the plot's mark
    VS_BUILDING = 4,   // index = building set 0..4
    VS_COMPANY = 5,    // index = company building
    VS_DECORATION = 6, // index = decoration
};

// Bits of ViewDrawEntry::flags.
inline constexpr uint8_t VDE_FLYING = 1;     // a flying god: no code, drawn over everything
inline constexpr uint8_t VDE_BOMB_COUNT = 2; // show the time bomb's step counter
inline constexpr uint8_t VDE_SEIZED = 4;     // mark shape: the seized colour (else toll doubled)

struct ViewDrawEntry {
    uint8_t kind; // ViewSpriteKind
    uint8_t flags;
    uint16_t index;
    uint16_t code; // ObjectCode, 0 none
    uint8_t owner; // recolouring: 255 none, 0 no colour, else player + 1
    uint8_t layer; // tie-break of equal screen y
    uint16_t frame;
    int16_t x; // screen position of the anchor
    int16_t y;
    int16_t counter; // the bomb's step counter
};

inline constexpr int VIEW_DRAW_LIST_SIZE = 128;
extern ViewDrawEntry view_draw_list[VIEW_DRAW_LIST_SIZE];
extern int32_t view_draw_count;
// (index << 16) | (screen y x 16 + layer), in drawing order after a render.
extern uint32_t view_sort_keys[VIEW_DRAW_LIST_SIZE];
// Sort order of two keys: by their signed low 16 bits.
int view_draw_list_compare(uint32_t a, uint32_t b);

// Screen offset of a point inside its cell under the current rotation.
void map_view_offset(int x, int y, int* ox, int* oy);
// The rotation's corner table: [dy + 14][dx + 14] = {screen y, screen x}.
const int16_t (*view_corner_table(int rotation))[VIEW_GRID][2];
// The rotation's draw order: (dy, dx) pairs back to front, ended by -128.
const int8_t* view_draw_order(int rotation);

// Renders the view around world point (x, y); x = -1 keeps the last camera.
// With a back surface the list is made and painted at once; without one it
// is made when first read (view_draw_list_ready, the hit map, an object's
// screen position).
void view_draw_board(int x, int y);
// Makes the draw list of the last render if it is not made yet; whoever reads
// view_draw_list, view_draw_count or view_sort_keys directly calls it first.
void view_draw_list_ready();
// True when the point's cell lies within 14 cells of the camera cell.
bool view_in_window(int x, int y);
// Screen position of a world point; (0, 0) and false outside the window.
bool view_point_to_screen(int x, int y, int* sx, int* sy);
// Screen position and frame of an object of the last draw list.
bool view_object_screen_pos(int code, int* x, int* y, int* frame);

void view_hitmap_build(int force);
// The code at view pixel (x, y) (screen y - 40); 0 outside the view.
int view_hitmap_at(int x, int y);
void view_hitmap_mark_list();

// Objects listed by the view: entries 0..7 hold a walk-path preview, the
// listing routines write from entry 8 on.
inline constexpr int VIEW_PICK_LIST_SIZE = 8 + 1024;
extern uint16_t view_pick_list[VIEW_PICK_LIST_SIZE];
int view_list_free_squares();
int view_list_owned_near(int x, int y, int radius);
// Lists the distinct objects of the last draw list within a radius of the
// view centre (-1 the whole view) into view_pick_list from entry 8; the count.
int view_hitmap_list_radius(int radius);

// The celebration film over the board.
void view_play_animation();

// The graphics half of loading a map: terrain, minimap, markers, sprite sets,
// view pictures, building and decoration sprites, portraits, movers' sprites,
// board marks, god sprites and the board's effect list.
void view_load_map_graphics(int map);
// Frees all of it, clears the movers' sprite sets, the view's scroll target
// and camera.
void view_free_map_graphics();
// 1 while the map's pictures are loaded.
int view_graphics_loaded();

// The loaded pictures the view, the sprites and the minimap share (nullptr
// when missing).
void* view_map_set(int map_entry);     // a frame set of MAP.MKF read with the map
void* view_god_sprite(int n);          // data.mkf 355 + n
void* view_board_marks();              // data.mkf 476
uint8_t* view_terrain(uint32_t* size); // the terrain entry
void* view_portrait_set(int p);        // MAP.MKF character + 15 of player p
void* view_minimap_clean();            // the minimap as read
void* view_minimap_work();             // the copy with the marks

// The minimap (board/minimap.cpp): copies the clean frame (0 small, 1 large)
// over the working copy and draws the ownership marks.
void view_draw_minimap_marks(int large);
// Where a mark of a world point lands on the small (0) or large (1) minimap.
void view_minimap_point(int large, int x, int y, int* mx, int* my);
// The full-screen minimap window; redraws the view when it closes.
void view_minimap_screen();
int32_t view_minimap_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
