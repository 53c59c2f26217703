// The help screens.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The help viewer with its top-left corner at (x, y), centred when x is -1;
// returns when it is closed.
void help_show(int x, int y);

// ---- The help texts

// A chapter of the help: topic k is help.mkf entry first_entry + k.
struct HelpChapter {
    const char* title;
    const char* const* topics;
    int first_entry;
    int topic_count;
    int reserved; // always 0
};
inline constexpr int HELP_CHAPTER_COUNT = 8;
extern const HelpChapter help_chapters[HELP_CHAPTER_COUNT];

// A page holds at most this many lines; a line beginning with '@' (after
// the page's first) starts the next page.
inline constexpr int HELP_PAGE_LINES = 14;

// A topic text is a run of zero-terminated lines; the text ends at `length`
// even when its last line has no terminator. Positions are byte offsets.
// Where the page beginning at pos ends (the next page's position, or
// length); `cut` says whether it stopped at an '@' line or the line limit
// with text still after it.
int help_page_end(const char* text, int length, int pos, bool* cut);
// Where the page before the one at pos begins (0 for the first page).
int help_page_before(const char* text, int length, int pos);
// The end of the line beginning at pos (its terminator, or length).
int help_line_end(const char* text, int length, int pos);
// The first shown byte of that line: an '@' and the byte after it are not shown.
int help_line_shown(const char* text, int length, int pos);

// ---- The viewer

struct HelpViewer {
    int x = 0, y = 0;        // the window's top-left corner
    int chapter = -1;        // -1 none
    int topic = -1;          // -1 none
    int first_shown = 0;     // the first topic in the list of the chapter
    char* text = nullptr;    // the loaded topic text, a zero byte after it
    int text_length = 0;     // its length without that zero byte
    int page_pos = 0;        // the byte position of the current page
    bool more_pages = false; // the text has more than one page
    uint16_t page_chord = 0; // the keys held for the page keys
};
extern HelpViewer help_viewer;

// Shows topic help_viewer.topic of help_viewer.chapter unless already shown.
void help_load_topic();
// kind 0 the previous page, 1 the next, 2 the current one again.
void help_draw_page(int kind);
int32_t help_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
