// The help viewer: its pages cut at fourteen lines or an '@' line, the
// window where it is asked for (centred for -1) and the screen put back on
// closing, the chapter tabs and the topic list paged by eight, and the page
// keys and page arrows turning only a text of several pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/data_report.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "mkf_writer.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/queue.h"
#include "shell/help.h"
#include "shell/help_layout.h"
#include "support/missing_data.h"
#include "support/popup_fixture.h"

namespace {

// Lines joined as a topic text, each with its zero byte.
std::string text_of(const std::vector<std::string>& lines) {
    std::string t;
    for (const std::string& l : lines) {
        t += l;
        t.push_back('\0');
    }
    return t;
}

// The byte position of line n.
int line_pos(const std::string& t, int n) {
    int pos = 0;
    for (int i = 0; i < n; ++i)
        pos = static_cast<int>(t.find('\0', pos)) + 1;
    return pos;
}

std::vector<std::string> plain_lines(int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i)
        v.push_back("line" + std::to_string(i));
    return v;
}

TEST(HelpPages, APageEndsAtFourteenLinesOrAtAnAtLineAfterItsFirst) {
    struct Case {
        std::vector<std::string> lines;
        int from_line;
        int end_line; // -1: the text's end
        bool cut;
        const char* why;
    };
    std::vector<std::string> at_pages = {"@ one", "a", "@ two", "b", "c"};
    std::vector<std::string> long_page = plain_lines(20);
    const Case cases[] = {
        {plain_lines(3), 0, -1, false, "a short text is one page"},
        {plain_lines(14), 0, -1, false, "exactly fourteen lines: nothing after them"},
        {long_page, 0, 14, true, "twenty lines: cut by the limit"},
        {long_page, 14, -1, false, "the rest of them"},
        {at_pages, 0, 2, true, "the '@' of the page's own first line does not stop it"},
        {at_pages, 2, -1, false, "the last '@' page"},
    };
    for (const Case& c : cases) {
        const std::string t = text_of(c.lines);
        const int len = static_cast<int>(t.size());
        bool cut = !c.cut;
        const int end = help_page_end(t.data(), len, line_pos(t, c.from_line), &cut);
        EXPECT_EQ(end, c.end_line < 0 ? len : line_pos(t, c.end_line)) << c.why;
        EXPECT_EQ(cut, c.cut) << c.why;
    }
}

TEST(HelpPages, BackOnePageLandsWherePagingForwardShowedThatPage) {
    const std::string plain = text_of(plain_lines(30));
    const int plain_len = static_cast<int>(plain.size());
    EXPECT_EQ(help_page_before(plain.data(), plain_len, line_pos(plain, 28)), line_pos(plain, 14));
    EXPECT_EQ(help_page_before(plain.data(), plain_len, line_pos(plain, 5)), 0);
    EXPECT_EQ(help_page_before(plain.data(), plain_len, 0), 0) << "the first page stays";
    const std::string at = text_of({"a", "@ b", "c", "d", "@ e", "f"});
    const int at_len = static_cast<int>(at.size());
    EXPECT_EQ(help_page_before(at.data(), at_len, line_pos(at, 4)), line_pos(at, 1));
    EXPECT_EQ(help_page_before(at.data(), at_len, line_pos(at, 1)), 0);
    // A full page, a one-line page cut by the next '@' line, then that page:
    // back from it is the one-line page, not fourteen lines before it.
    std::vector<std::string> mixed = plain_lines(15);
    mixed.insert(mixed.end(), {"@ x", "y"});
    const std::string m = text_of(mixed);
    const int m_len = static_cast<int>(m.size());
    EXPECT_EQ(help_page_before(m.data(), m_len, line_pos(m, 15)), line_pos(m, 14));
    EXPECT_EQ(help_page_before(m.data(), m_len, line_pos(m, 14)), 0);
}

TEST(HelpPages, ATextEndsAtItsEntryEndAndAnAtLineHidesTwoBytes) {
    const char cut_short[] = {'a', 'b', 0, 'c', 'd'}; // no terminator after the last line
    EXPECT_EQ(help_line_end(cut_short, 5, 3), 5);
    bool cut = true;
    EXPECT_EQ(help_page_end(cut_short, 5, 0, &cut), 5);
    EXPECT_FALSE(cut);
    const std::string t = text_of({"@ xy", "@", "plain"});
    const int len = static_cast<int>(t.size());
    EXPECT_EQ(help_line_shown(t.data(), len, 0), 2);
    EXPECT_EQ(help_line_shown(t.data(), len, line_pos(t, 1)), line_pos(t, 1) + 1)
        << "a lone '@' shows an empty line, not its terminator's neighbour";
    EXPECT_EQ(help_line_shown(t.data(), len, line_pos(t, 2)), line_pos(t, 2));
}

TEST(HelpChapters, TopicsFollowEachOtherFromEntryOneToNinetyNine) {
    int next = 1;
    for (const HelpChapter& c : help_chapters) {
        EXPECT_EQ(c.first_entry, next) << c.title;
        next += c.topic_count;
    }
    EXPECT_EQ(next, 100);
    EXPECT_EQ(help_chapters[6].topic_count, 30);
}

constexpr int PRESS_EFFECT = 1, CANCEL_EFFECT = 4; // EFFECT.MKF entries
constexpr uint16_t FILL = 0x1234;

class Help : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        open_window();
        shown_clear();
        paint_screen(FILL);
        settings.hotkeys[HK_PAGE_UP] = 0x21;
        settings.hotkeys[HK_PAGE_DOWN] = 0x22;
        t0 = plat_tick_count();
    }
    // A click on the window's point (x, y) for a viewer at (left, top).
    void hit(uint32_t ms, int x, int y) { point_and_click(ms, left + x, top + y); }
    void tab(uint32_t ms, int j) {
        hit(ms, (HELP_TAB_LEFT + HELP_TAB_RIGHT) / 2, HELP_TAB_TOP + HELP_TAB_STEP * j + 10);
    }
    void row(uint32_t ms, int i) {
        hit(ms, (HELP_ROW_LEFT + HELP_ROW_RIGHT) / 2, HELP_ROW_TOP + HELP_ROW_STEP * i + 10);
    }
    void arrow(uint32_t ms, int a) {
        const PlatRect& r = HELP_ARROW_RECTS[a];
        hit(ms, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void key(uint32_t ms, uint32_t vk) {
        key_down(t0 + ms, vk);
        key_up(t0 + ms + 5, vk);
    }
    void run(uint32_t close_ms) {
        right_click(close_ms);
        help_show(20, 60);
    }
    int left = 20, top = 60;
};

// The window's picture pixel at (x, y) of the window.
uint16_t window_pixel(int x, int y) {
    void* set = spr_read_set("help.mkf", HELP_SET_ENTRY);
    const ImageRecord* f = spr_frame(set, HELP_FRAME_WINDOW);
    const uint16_t p = f ? f->pixels[y * f->width + x] : 0;
    spr_free_set(set);
    return p;
}

struct Sample {
    bool taken = false;
    uint16_t inside[2] = {};
    uint16_t outside = 0;
};
Sample sample;
int sample_left, sample_top;
uint32_t sample_at;

TEST_F(Help, TheWindowOpensWhereAskedOrCentredAndPutsTheScreenBack) {
    struct Case {
        int x, y, left, top;
    };
    const Case cases[] = {{20, 60, 20, 60}, {-1, -1, 320 - HELP_W / 2, 240 - HELP_H / 2}};
    for (const Case& c : cases) {
        sample = Sample{};
        sample_left = c.left, sample_top = c.top;
        paint_screen(FILL);
        t0 = plat_tick_count();
        sample_at = t0 + 100;
        move(t0 + 100, 0, 0);
        right_click(300);
        plat_set_cursor_hook([] {
            if (sample.taken || plat_tick_count() < sample_at) return;
            sample.taken = true;
            sample.inside[0] = screen_at(sample_left + 5, sample_top + 5);
            sample.inside[1] = screen_at(sample_left + HELP_W - 6, sample_top + HELP_H - 6);
            sample.outside = screen_at(sample_left - 1, sample_top + HELP_H);
        });
        help_show(c.x, c.y);
        plat_set_cursor_hook(nullptr);
        ASSERT_TRUE(sample.taken);
        EXPECT_EQ(sample.inside[0], window_pixel(5, 5)) << c.x;
        EXPECT_EQ(sample.inside[1], window_pixel(HELP_W - 6, HELP_H - 6)) << c.x;
        EXPECT_EQ(sample.outside, FILL) << c.x;
        EXPECT_EQ(screen_differs(c.left, c.top, c.left + HELP_W, c.top + HELP_H, FILL), 0)
            << "the screen under the window put back";
        EXPECT_EQ(help_viewer.x, c.left);
        EXPECT_EQ(help_viewer.y, c.top);
    }
    EXPECT_EQ(shown_count(Shown::Effect, CANCEL_EFFECT), 2u);
    save_screen_bmp("help_closed");
}

TEST_F(Help, AMissingOrDamagedHelpArchiveIsToldOnceAndTheWindowStillOpens) {
    // The window's picture entry holds no frame set; the texts are missing.
    ArchiveWriter help;
    mkf_writer_add_raw(help, HELP_SET_ENTRY, Bytes(64, 0x5A));
    expect_told_once_when_missing_or_damaged(
        "help.mkf", help,
        [&] {
            for (int opened = 0; opened < 2; ++opened) {
                t0 = plat_tick_count();
                run(200);
            }
        },
        true);
}

TEST_F(Help, TheCardChapterPagesItsListByEightAndStopsAtItsEnds) {
    tab(100, 6);
    for (int i = 0; i < 4; ++i) // 8, 16, 22, and a fourth press at the end
        arrow(200 + 100 * i, HELP_LIST_DOWN);
    row(700, 7);
    arrow(800, HELP_LIST_UP);
    run(900);
    EXPECT_EQ(help_viewer.chapter, 6);
    EXPECT_EQ(help_viewer.topic, 29) << "row 7 of the last eight";
    EXPECT_EQ(help_viewer.first_shown, 14) << "one step back from 22";
    EXPECT_EQ(shown_count(Shown::Effect, PRESS_EFFECT), 7u)
        << "the tab, four downs (the last one dimmed), the row, the up";
}

TEST_F(Help, AShortChapterHasNoListArrowsAndRowsBelowItsLastTopicDoNothing) {
    tab(100, 1); // six topics
    row(200, 3);
    row(300, 6);
    row(400, 7);
    arrow(500, HELP_LIST_DOWN);
    run(600);
    EXPECT_EQ(help_viewer.topic, 3);
    EXPECT_EQ(help_viewer.first_shown, 0);
    EXPECT_EQ(shown_count(Shown::Effect, PRESS_EFFECT), 2u) << "the tab and row 3 only";
}

// The byte positions of the pages of a help entry, as the viewer turns them.
std::vector<int> pages_of(int entry) {
    const int slot = mkf_open("help.mkf");
    uint32_t size = 0;
    char* t = static_cast<char*>(mkf_read(slot, entry, nullptr, &size));
    mkf_close(slot);
    std::vector<int> pages{0};
    while (t) {
        const int end = help_page_end(t, static_cast<int>(size), pages.back(), nullptr);
        if (end >= static_cast<int>(size)) break;
        pages.push_back(end);
    }
    std::free(t);
    return pages;
}

TEST_F(Help, PageKeysTurnAManyPagedTopicAsAChordOfTheirOwn) {
    const std::vector<int> pages = pages_of(1);
    ASSERT_GE(pages.size(), 3u) << "the first topic has several pages";
    tab(100, 0);
    key(200, 0x22);
    key(300, 0x22);
    key(400, 0x22); // past the last page: nothing
    key_down(t0 + 500, 0x11);
    key_down(t0 + 510, 0x21); // Ctrl + page up is not the page-up key
    key_up(t0 + 520, 0x21);
    key_up(t0 + 530, 0x11);
    key(600, 0x21);
    run(700);
    EXPECT_EQ(help_viewer.page_pos, pages[pages.size() - 2]);
    EXPECT_TRUE(help_viewer.more_pages);
}

TEST_F(Help, AHeldPageKeyTurnsOnePage) {
    const std::vector<int> pages = pages_of(1);
    ASSERT_GE(pages.size(), 3u);
    tab(100, 0);
    key_down(t0 + 200, 0x22);
    key_down(t0 + 250, 0x22); // the key's repeats
    key_down(t0 + 300, 0x22);
    key_up(t0 + 350, 0x22);
    run(500);
    EXPECT_EQ(help_viewer.page_pos, pages[1]);
}

TEST_F(Help, PageArrowsTurnPagesAndAOnePageTopicIgnoresPageKeys) {
    const std::vector<int> pages = pages_of(1);
    tab(100, 0);
    arrow(200, HELP_PAGE_ON);
    arrow(300, HELP_PAGE_ON);
    arrow(400, HELP_PAGE_BACK);
    run(500);
    EXPECT_EQ(help_viewer.page_pos, pages[1]);

    t0 = plat_tick_count();
    tab(100, 2); // LOAD: two lines
    key(200, 0x22);
    arrow(300, HELP_PAGE_ON);
    run(400);
    EXPECT_FALSE(help_viewer.more_pages);
    EXPECT_EQ(help_viewer.page_pos, 0);
}

TEST_F(Help, EveryTopicTextIsThereAndItsLinesFitThePage) {
    const int slot = mkf_open("help.mkf");
    ASSERT_GE(slot, 0);
    int long_texts = 0, at_texts = 0;
    for (int e = 1; e <= 99; ++e) {
        uint32_t size = 0;
        char* t = static_cast<char*>(mkf_read(slot, e, nullptr, &size));
        ASSERT_NE(t, nullptr) << e;
        int lines = 0;
        bool at = false;
        for (int pos = 0; pos < static_cast<int>(size); ++lines) {
            const int end = help_line_end(t, static_cast<int>(size), pos);
            EXPECT_LE(end - help_line_shown(t, static_cast<int>(size), pos), 22)
                << "entry " << e << " line " << lines << " wider than the page";
            at = at || (lines > 0 && t[pos] == '@');
            pos = end + 1;
        }
        long_texts += lines > HELP_PAGE_LINES;
        at_texts += at;
        std::free(t);
    }
    mkf_close(slot);
    EXPECT_GE(long_texts, 1);
    EXPECT_GE(at_texts, 2);
}

// The texts that count the save slots give the five the save list has (GBK
// bytes: "五个位置" and "八个位置").
TEST_F(Help, TheSaveTopicsCountTheFiveSaveSlots) {
    const std::string five = "\xCE\xE5\xB8\xF6\xCE\xBB\xD6\xC3";
    const std::string eight = "\xB0\xCB\xB8\xF6\xCE\xBB\xD6\xC3";
    const int slot = mkf_open("help.mkf");
    ASSERT_GE(slot, 0);
    int counting_five = 0;
    for (int e = 1; e <= 99; ++e) {
        uint32_t size = 0;
        char* t = static_cast<char*>(mkf_read(slot, e, nullptr, &size));
        ASSERT_NE(t, nullptr) << e;
        const std::string text(t, size);
        std::free(t);
        EXPECT_EQ(text.find(eight), std::string::npos) << "entry " << e;
        if (e == 1 || e == 9) {
            EXPECT_NE(text.find(five), std::string::npos) << "entry " << e;
        }
        counting_five += text.find(five) != std::string::npos;
    }
    mkf_close(slot);
    EXPECT_EQ(counting_five, 2);
}

} // namespace
