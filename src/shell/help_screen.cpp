// The help viewer: chapter tabs down the left, the chapter's topics in the
// middle column (paged by eight), the topic's text on the right (paged by
// fourteen lines or its '@' lines).
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "board/toolbar.h"
#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"
#include "shell/help.h"
#include "shell/help_layout.h"
#include "shell/screen.h"

HelpViewer help_viewer;

namespace {

constexpr uint32_t INK = 0x101010;
constexpr const char* HELP_ARCHIVE = "help.mkf";
constexpr const char* WITHOUT_HELP = "the help window opens without its pictures or texts";
constexpr uint16_t CTRL_KEY = 0x11, CTRL_CHORD = 0x1100;
// The middle column, restored before the topic list is laid out again.
constexpr PlatRect LIST_COLUMN = {96, 44, 204, 380};

struct Viewer {
    int archive = -1;
    void* set = nullptr;
    ImageRecord* window = nullptr; // the window picture with the chapter titles
    ImageRecord* saved = nullptr;  // the screen under the window
    int shown_chapter = -1, shown_topic = -1;
    int pressed = -1; // the arrow held down
} v;

HelpViewer& hv = help_viewer;

int window_w() {
    return v.window ? v.window->width : HELP_W;
}
int window_h() {
    return v.window ? v.window->height : HELP_H;
}

PlatRect on_screen(const PlatRect& r) {
    return {hv.x + r.left, hv.y + r.top, hv.x + r.right, hv.y + r.bottom};
}

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void font() {
    text_set_font(12, INK, INK, 0, 1);
}

void play(UiEffect e) {
    snd_effect_play(&ui_effects[e], 0);
}

void compose_window() {
    v.window = image_new(HELP_W, HELP_H, 0, 0);
    const ImageRecord* f = spr_frame(v.set, HELP_FRAME_WINDOW);
    if (f) {
        std::free(v.window);
        v.window = image_new(f->width, f->height, 0, 0);
    }
    if (!v.window) return;
    blit_fill_rect(v.window, 0, 0, v.window->width, v.window->height, 0xC8C0A8);
    if (f)
        blit_to_image(v.window, f, f->hot_x, f->hot_y);
    else
        blit_frame_rect(v.window, 0, 0, HELP_W, HELP_H, INK);
    font();
    for (int i = 0; i < HELP_CHAPTER_COUNT; ++i)
        text_draw(v.window, help_chapters[i].title, HELP_TAB_TITLE_X,
                  HELP_TAB_TITLE_Y + HELP_TAB_STEP * i, ALIGN_CENTRE);
}

// Copies the window picture's rectangle r (window coordinates) to the back buffer.
void restore(ImageRecord* back, const PlatRect& r) {
    if (back && v.window)
        popup_blit_part(back, v.window, hv.x + r.left, hv.y + r.top, r.left, r.top,
                        r.right - r.left, r.bottom - r.top);
}

void update(const PlatRect& r) {
    const PlatRect s = on_screen(r);
    plat_invalidate_rect(&s);
}

int topic_count() {
    return hv.chapter >= 0 ? help_chapters[hv.chapter].topic_count : 0;
}

bool list_has_arrows() {
    return topic_count() > HELP_ROWS;
}

bool arrow_shown(int a) {
    return a <= HELP_LIST_DOWN ? list_has_arrows() : hv.more_pages;
}

// An arrow at the end of what it pages is dimmed and does nothing.
bool arrow_at_end(int a) {
    switch (a) {
    case HELP_LIST_UP:
        return hv.first_shown <= 0;
    case HELP_LIST_DOWN:
        return hv.first_shown >= topic_count() - HELP_ROWS;
    case HELP_PAGE_BACK:
        return hv.page_pos <= 0;
    default:
        return help_page_end(hv.text, hv.text_length, hv.page_pos, nullptr) >= hv.text_length;
    }
}

void draw_arrow(ImageRecord* back, int a) {
    const PlatRect& r = HELP_ARROW_RECTS[a];
    restore(back, r);
    if (!arrow_shown(a) || !back) return;
    const int look = v.pressed == a    ? HELP_LOOK_PRESSED
                     : arrow_at_end(a) ? HELP_LOOK_DIMMED
                                       : HELP_LOOK_PLAIN;
    if (const ImageRecord* f = spr_frame(v.set, HELP_FRAME_ARROW_FIRST + 3 * a + look))
        popup_blit(back, f, hv.x + r.left + f->hot_x, hv.y + r.top + f->hot_y, true);
}

void draw_list(ImageRecord* back) {
    restore(back, LIST_COLUMN);
    if (!back || hv.chapter < 0) return;
    const HelpChapter& c = help_chapters[hv.chapter];
    font();
    text_draw(back, c.title, hv.x + HELP_CHAPTER_TITLE_X, hv.y + HELP_CHAPTER_TITLE_Y,
              ALIGN_CENTRE);
    for (int i = 0; i < HELP_ROWS && hv.first_shown + i < c.topic_count; ++i) {
        const int mid = hv.y + HELP_ROW_TOP + HELP_ROW_STEP * i + HELP_ROW_H / 2;
        text_draw(back, c.topics[hv.first_shown + i], hv.x + (HELP_ROW_LEFT + HELP_ROW_RIGHT) / 2,
                  mid, ALIGN_CENTRE);
        if (hv.first_shown + i == hv.topic)
            if (const ImageRecord* m = spr_frame(v.set, HELP_FRAME_MARKER))
                popup_blit(back, m, hv.x + HELP_MARKER_X, mid, true);
    }
    draw_arrow(back, HELP_LIST_UP);
    draw_arrow(back, HELP_LIST_DOWN);
}

void draw_tab(ImageRecord* back) {
    if (!back || hv.chapter < 0) return;
    const int top = hv.y + HELP_TAB_TOP + HELP_TAB_STEP * hv.chapter;
    if (const ImageRecord* f = spr_frame(v.set, HELP_FRAME_TAB))
        popup_blit(back, f, hv.x + HELP_TAB_LEFT + f->hot_x, top + f->hot_y, true);
    font();
    text_draw(back, help_chapters[hv.chapter].title, hv.x + HELP_TAB_TITLE_X,
              hv.y + HELP_TAB_TITLE_Y + HELP_TAB_STEP * hv.chapter, ALIGN_CENTRE);
}

void draw_lines(ImageRecord* back) {
    if (!back || !hv.text) return;
    font();
    const int end = help_page_end(hv.text, hv.text_length, hv.page_pos, nullptr);
    int pos = hv.page_pos;
    for (int i = 0; pos < end && i < HELP_PAGE_LINES; ++i) {
        // The loaded text ends in a zero byte, so even a last line without
        // its own terminator stops at the entry's end.
        text_draw(back, hv.text + help_line_shown(hv.text, hv.text_length, pos), hv.x + HELP_LINE_X,
                  hv.y + HELP_LINE_Y + HELP_LINE_STEP * i, ALIGN_LEFT_TOP);
        const int line_end = help_line_end(hv.text, hv.text_length, pos);
        pos = line_end < hv.text_length ? line_end + 1 : hv.text_length;
    }
}

void draw_page_and_arrows() {
    ImageRecord* back = popup_lock_back();
    restore(back, HELP_PAGE_RECT);
    draw_lines(back);
    draw_arrow(back, HELP_PAGE_BACK);
    draw_arrow(back, HELP_PAGE_ON);
    popup_unlock_back();
    update(HELP_PAGE_RECT);
    update(HELP_ARROW_RECTS[HELP_PAGE_BACK]);
    update(HELP_ARROW_RECTS[HELP_PAGE_ON]);
}

void free_text() {
    std::free(hv.text);
    hv.text = nullptr;
    hv.text_length = 0;
}

void read_text(int entry) {
    free_text();
    uint32_t size = 0;
    void* data = mkf_read(v.archive, entry, nullptr, &size);
    if (!data) {
        if (v.archive >= 0)
            data_report_bad_entry(v.archive, HELP_ARCHIVE, entry, "a text", WITHOUT_HELP);
        return;
    }
    hv.text = static_cast<char*>(std::malloc(size + 1));
    if (hv.text) {
        std::memcpy(hv.text, data, size);
        hv.text[size] = 0;
        hv.text_length = static_cast<int>(size);
    }
    std::free(data);
}

void release_arrow(int a) {
    switch (a) {
    case HELP_LIST_UP:
        hv.first_shown = std::max(0, hv.first_shown - HELP_ROWS);
        break;
    case HELP_LIST_DOWN:
        hv.first_shown = std::min(topic_count() - HELP_ROWS, hv.first_shown + HELP_ROWS);
        break;
    case HELP_PAGE_BACK:
        help_draw_page(0);
        break;
    case HELP_PAGE_ON:
        help_draw_page(1);
        break;
    default:
        return;
    }
    if (a <= HELP_LIST_DOWN) {
        ImageRecord* back = popup_lock_back();
        draw_list(back);
        popup_unlock_back();
        update(LIST_COLUMN);
    }
}

void redraw_arrow(int a) {
    ImageRecord* back = popup_lock_back();
    draw_arrow(back, a);
    popup_unlock_back();
    update(HELP_ARROW_RECTS[a]);
}

void left_down(int x, int y) {
    x -= hv.x;
    y -= hv.y;
    for (int j = 0; j < HELP_CHAPTER_COUNT; ++j) {
        const int top = HELP_TAB_TOP + HELP_TAB_STEP * j;
        if (x >= HELP_TAB_LEFT && x <= HELP_TAB_RIGHT && y >= top && y <= top + HELP_TAB_H) {
            play(UI_PRESS);
            if (hv.chapter != j) hv.first_shown = 0;
            hv.chapter = j;
            hv.topic = 0;
            help_load_topic();
            return;
        }
    }
    for (int i = 0; i < HELP_ROWS && hv.first_shown + i < topic_count(); ++i) {
        const int top = HELP_ROW_TOP + HELP_ROW_STEP * i;
        if (x >= HELP_ROW_LEFT && x <= HELP_ROW_RIGHT && y >= top && y <= top + HELP_ROW_H) {
            play(UI_PRESS);
            hv.topic = hv.first_shown + i;
            help_load_topic();
            return;
        }
    }
    for (int a = 0; a < HELP_ARROW_COUNT; ++a)
        if (arrow_shown(a) && inside(HELP_ARROW_RECTS[a], x, y)) {
            play(UI_PRESS);
            if (arrow_at_end(a)) return;
            v.pressed = a;
            redraw_arrow(a);
            return;
        }
}

void left_up() {
    const int a = v.pressed;
    if (a < 0) return;
    v.pressed = -1;
    release_arrow(a);
    redraw_arrow(a);
}

// The page keys' chord, built as the board's hot keys build theirs: a held
// key's repeats break it, so holding a page key turns one page.
void key_down(uint32_t key, uint32_t flags) {
    if (flags & KEY_FLAG_REPEAT) {
        hv.page_chord = 0;
        return;
    }
    hv.page_chord =
        key == CTRL_KEY ? CTRL_CHORD : static_cast<uint16_t>(hv.page_chord | (key & 0xFFFF));
    if (hv.more_pages) {
        if (hv.page_chord == settings_hotkey(HK_PAGE_UP))
            help_draw_page(0);
        else if (hv.page_chord == settings_hotkey(HK_PAGE_DOWN))
            help_draw_page(1);
    }
    if (hv.page_chord != CTRL_CHORD) hv.page_chord = 0;
}

void start(int32_t arg) {
    const int x = arg & 0xFFFF;
    hv.x = x == 0xFFFF ? 320 - window_w() / 2 : x;
    hv.y = x == 0xFFFF ? 240 - window_h() / 2 : static_cast<int16_t>(arg >> 16);
    const PlatRect r = on_screen({0, 0, window_w(), window_h()});
    v.saved = popup_save_area(r);
    ImageRecord* back = popup_lock_back();
    if (back && v.window) popup_blit(back, v.window, hv.x, hv.y, false);
    popup_unlock_back();
    plat_invalidate_rect(&r);
    cursor_set_mode(1);
}

void close_viewer() {
    cursor_set_mode(0);
    play(UI_CANCEL);
    popup_restore_area(v.saved, hv.x, hv.y);
    v.saved = nullptr;
    screen_close(0);
}

} // namespace

void help_load_topic() {
    if (hv.chapter < 0 || hv.chapter >= HELP_CHAPTER_COUNT) return;
    if (hv.chapter == v.shown_chapter && hv.topic == v.shown_topic) return;
    v.shown_chapter = hv.chapter;
    v.shown_topic = hv.topic;
    v.pressed = -1;
    read_text(help_chapters[hv.chapter].first_entry + hv.topic);
    hv.page_pos = 0;
    help_page_end(hv.text, hv.text_length, 0, &hv.more_pages);
    ImageRecord* back = popup_lock_back();
    if (back && v.window) popup_blit(back, v.window, hv.x, hv.y, false);
    draw_tab(back);
    draw_list(back);
    popup_unlock_back();
    update({0, 0, window_w(), window_h()});
    draw_page_and_arrows();
}

void help_draw_page(int kind) {
    if (kind == 0) {
        if (hv.page_pos <= 0) return;
        hv.page_pos = help_page_before(hv.text, hv.text_length, hv.page_pos);
    } else if (kind == 1) {
        const int next = help_page_end(hv.text, hv.text_length, hv.page_pos, nullptr);
        if (next >= hv.text_length) return;
        hv.page_pos = next;
    }
    draw_page_and_arrows();
}

int32_t help_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        start(lparam);
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(w, message, wparam, lparam);
    case WM_LBUTTONDOWN:
        left_down(plat_point_x(lparam), plat_point_y(lparam));
        return 0;
    case WM_LBUTTONUP:
        left_up();
        return 0;
    case WM_KEYDOWN:
        key_down(wparam, static_cast<uint32_t>(lparam));
        return 0;
    case WM_KEYUP:
        hv.page_chord = 0;
        return 0;
    case WM_RBUTTONUP:
        close_viewer();
        return 0;
    default:
        return plat_def_window_proc(w, message, wparam, lparam);
    }
}

void help_show(int x, int y) {
    shown_record(Shown::Panel, HELP_SET_ENTRY, 0, "help");
    hv = HelpViewer{};
    v = Viewer{};
    v.archive = mkf_open(HELP_ARCHIVE);
    if (v.archive < 0) data_report_open_failure(HELP_ARCHIVE, WITHOUT_HELP);
    v.set = spr_read_set_from(v.archive, HELP_SET_ENTRY);
    if (!v.set && v.archive >= 0)
        data_report_bad_entry(v.archive, HELP_ARCHIVE, HELP_SET_ENTRY, "a picture set",
                              WITHOUT_HELP);
    compose_window();
    font();
    screen_run(help_wndproc, static_cast<int32_t>((static_cast<uint32_t>(y) << 16) |
                                                  (static_cast<uint32_t>(x) & 0xFFFF)));
    if (v.saved) std::free(v.saved); // closed without the right button
    spr_free_set(v.set);
    std::free(v.window);
    free_text();
    if (v.archive >= 0) mkf_close(v.archive);
    v = Viewer{};
}

TOOLBAR_COMMAND(
    TOOLBAR_HELP,
    [] {
        help_show(20, 60);
        return true;
    },
    HK_HELP)
