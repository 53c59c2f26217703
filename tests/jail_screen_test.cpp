// The jail's and the hospital's bail screens under scripted mouse input:
// which cell a point hits, the info box, a player and a wandering character
// freed, the short-of-points balloon, and the receptionist's course from
// her greeting to her goodbye.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/jail_screen.h"
#include "board/sprites.h"
#include "board/world_reset.h"
#include "engine/message.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/util.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/encounter_board.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;
constexpr int VISITOR = 0;
// The halves of the yes/no below the question's message panel.
constexpr int YES_X = 190, NO_X = 250, CONFIRM_Y = 320;
constexpr int AWAY_X = 634, AWAY_Y = 4; // a point in no cell, box or balloon

void hold(int hospital, int person) {
    if (person < PLAYER_COUNT) {
        (hospital ? hospital_flags : jail_flags)[person] = 1;
        (hospital ? player_table[person].hospital_days : player_table[person].jail_days) = 4;
    } else if (hospital) {
        jail_send_hospital(person, 0);
    } else {
        jail_send(person, 0);
    }
}

TEST(BailCells, APointHitsTheCellOfAHeldPersonOnly) {
    game_world_reset();
    for (int p = 0; p < JAIL_PERSONS; ++p)
        jail_flags[p] = hospital_flags[p] = 1;
    hospital_flags[6] = 0;
    struct Case {
        int hospital, x, y, person;
    };
    const Case cases[] = {
        {0, 33, 24, 0},
        {0, 33 + 121, 24 + 137, 0}, // the jail takes its far edges
        {0, 33 + 122, 24, -1},
        {0, 33, 24 + 138, -1},
        {0, 487 + 60, 183 + 60, 7},
        {0, 20, 100, -1},
        {1, 297, 1, 0},
        {1, 297 + 146, 1 + 101, 0},
        {1, 297 + 147, 1, -1},
        {1, 297, 103, -1},
        {1, 481 + 10, 361 + 10, 7},
        {1, 481 + 10, 241 + 10, -1}, // bed 6 is empty
        {1, 150, 200, -1},           // the receptionist
    };
    for (const Case& c : cases)
        EXPECT_EQ(jail_cell_at(c.hospital, c.x, c.y), c.person)
            << c.hospital << " " << c.x << "," << c.y;
}

// Copies of the display taken once a condition has held for a while, and
// shots of them when KARVO_SHOT_DIR is set.
struct Probe {
    std::function<bool()> when;
    uint32_t delay = 0;
    std::string shot;
    uint32_t seen_at = 0;
    std::vector<uint16_t> pixels;
};
std::vector<Probe> g_probes;

void look() {
    const uint32_t now = plat_tick_count();
    for (Probe& p : g_probes) {
        if (!p.pixels.empty()) continue;
        if (p.seen_at == 0) {
            if (!p.when()) continue;
            p.seen_at = now;
        }
        if (now < p.seen_at + p.delay) continue;
        p.pixels.resize(640 * 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                p.pixels[static_cast<size_t>(y) * 640 + x] = PopupTest::screen_at(x, y);
        if (const char* dir = std::getenv("KARVO_SHOT_DIR"); dir != nullptr && !p.shot.empty())
            PopupTest::save_screen_bmp(std::string(dir) + "/" + p.shot);
    }
}

bool balloon_said(const char* voice) {
    return shown_find_text(Shown::Balloon, voice) != nullptr;
}

// Pixels that differ between two copies over a rectangle, the second one
// shifted by (dx, dy).
int differing(const Probe& a, const Probe& b, const PlatRect& r, int dx = 0, int dy = 0) {
    if (a.pixels.empty() || b.pixels.empty()) return -1;
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.pixels[static_cast<size_t>(y) * 640 + x] !=
                b.pixels[static_cast<size_t>(y + dy) * 640 + x + dx])
                ++n;
    return n;
}

class BailWindow : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        reset();
    }
    // A fresh game for the next case: the board, the visitor, no script left.
    void reset() {
        release_sprites();
        plat_script_reset();
        plat_script_set_close_at_end(true);
        plat_script_set_time_limit(10 * 60 * 1000);
        ASSERT_TRUE(encounter_board_setup(4));
        // Nobody held but whom the case holds.
        jail_flags.fill(0);
        hospital_flags.fill(0);
        for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m)
            walker_of_mover(m).place = WALKER_FREE;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p * 3);
        }
        player_table[VISITOR].control = CTRL_HUMAN;
        player_table[VISITOR].points = 1000;
        game_active_mover = VISITOR;
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        shown_clear();
        g_probes.clear();
        plat_set_cursor_hook(look);
        at(t0 + 100, SCRIPT_MOUSE_MOVE, AWAY_X, AWAY_Y);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        g_probes.clear();
        release_sprites();
        PopupTest::TearDown();
    }
    // A freed character's sprites, read as he steps out.
    static void release_sprites() {
        for (int m = 0; m < MOVER_COUNT; ++m) {
            sprites_release(m, 0);
            sprites_release(m, 1);
        }
    }
    // The script lasts until then: a screen still open at that time would
    // be closed only when it runs out.
    void keep_script_until(uint32_t ms) { at(t0 + ms, SCRIPT_NOTHING); }
    // A probe taken `delay` ms after `when` first holds; its index.
    size_t probe(std::function<bool()> when, uint32_t delay, const std::string& shot = "") {
        Probe p;
        p.when = std::move(when);
        p.delay = delay;
        p.shot = shot;
        g_probes.push_back(std::move(p));
        return g_probes.size() - 1;
    }
    // A probe taken ms after t0.
    size_t probe_at(uint32_t ms, const std::string& shot = "") {
        const uint32_t when = t0 + ms;
        return probe([when] { return plat_tick_count() >= when; }, 0, shot);
    }
    // The visit as the landing rules start it: the place's screen for the
    // human, whose answers come by mouse.
    void visit(int hospital) {
        if (hospital)
            jail_hospital_bail_visit();
        else
            jail_bail_visit();
    }
};

PlatRect jail_cell(int person) {
    return {JAIL_CELL_X[person], JAIL_CELL_Y[person], JAIL_CELL_X[person] + JAIL_CELL_W,
            JAIL_CELL_Y[person] + JAIL_CELL_H};
}
PlatRect jail_box(int person) {
    const int x = JAIL_CELL_X[person] + JAIL_INFO_DX, y = JAIL_CELL_Y[person] + JAIL_INFO_DY;
    return {x, y, x + JAIL_INFO_W, y + JAIL_INFO_H};
}

TEST_F(BailWindow, EachJailCellByMouseShowsItsBoxAndFreesItsPerson) {
    for (int person = 0; person < JAIL_PERSONS; ++person) {
        SCOPED_TRACE(person);
        reset();
        const int visitor = person == 0 ? 1 : 0;
        player_table[0].control = CTRL_COMPUTER;
        player_table[visitor].control = CTRL_HUMAN;
        player_table[visitor].points = 1000;
        game_active_mover = visitor;
        for (int p = 0; p < JAIL_PERSONS; ++p)
            if (p != visitor) hold(0, p);
        if (person < PLAYER_COUNT) player_table[person].grudge[visitor] = 1000;
        const int mx = JAIL_CELL_X[person] + 60, my = JAIL_CELL_Y[person] + 60;
        const size_t open = probe_at(300, person == 4 ? "jail_open" : "");
        at(t0 + 500, SCRIPT_MOUSE_MOVE, mx, my);
        const size_t boxed = probe_at(700, person == 6 ? "jail_box" : "");
        at(t0 + 800, SCRIPT_MOUSE_MOVE, AWAY_X, AWAY_Y);
        const size_t unboxed = probe_at(1000);
        point_and_click(1100, mx, my);
        const size_t asked = probe([] { return shown_count(Shown::Question) > 0; }, 200,
                                   person == 1 ? "jail_question" : "");
        point_and_click(1500, YES_X, CONFIRM_Y);
        at(t0 + 1600, SCRIPT_MOUSE_MOVE, AWAY_X, AWAY_Y);
        const size_t thanks = person >= MOVER_THIEF ? probe([] { return balloon_said("#01"); }, 300,
                                                            person == 5 ? "jail_thanks" : "")
                                                    : 0;
        keep_script_until(20000);
        visit(0);
        EXPECT_LT(plat_tick_count(), t0 + 20000) << "closed by itself after the bail";
        EXPECT_EQ(shown_count(Shown::Question), 1u) << "the confirmation";
        const std::string question = "保释" + util_without_spaces(jail_person_name(person));
        EXPECT_NE(shown_find_text(Shown::Question, question.c_str()), nullptr);
        EXPECT_GT(differing(g_probes[open], g_probes[asked], msg_panel_rect), 500)
            << "the question in the message panel";

        const Probe &a = g_probes[open], &b = g_probes[boxed], &c = g_probes[unboxed];
        EXPECT_GT(differing(a, b, jail_box(person)), 500) << "the info box";
        EXPECT_EQ(differing(a, c, jail_box(person)), 0) << "put back off the cell";
        // A held person's cell looks unlike the visitor's empty one.
        const PlatRect cell = jail_cell(person);
        EXPECT_GT(differing(a, a, cell, JAIL_CELL_X[visitor] - cell.left,
                            JAIL_CELL_Y[visitor] - cell.top),
                  500);
        EXPECT_EQ(jail_flags[person], 0);
        EXPECT_EQ(player_table[visitor].points, 1000 - jail_bail_cost[person]);
        if (person < PLAYER_COUNT) {
            EXPECT_EQ(player_table[person].jail_days, 0x80) << "leaves at his next count";
            EXPECT_EQ(player_table[person].grudge[visitor], 1000 - 400);
            EXPECT_FALSE(balloon_said("#01")) << "no thanks from a player";
            continue;
        }
        const WalkerRecord& w = walker_of_mover(person);
        EXPECT_EQ(w.place, WALKER_FREE);
        EXPECT_EQ(w.patron, visitor);
        EXPECT_EQ(w.square, EB_JAIL_SQUARE);
        EXPECT_TRUE(balloon_said(jail_thanks_lines[person - MOVER_THIEF]));
        const Probe& t = g_probes[thanks];
        // The freed character stands below the cells; his cell is empty now
        // (its lower part, which no balloon covers, as the visitor's).
        EXPECT_GT(differing(a, t, PlatRect{325, 340, 405, 450}), 1000);
        const PlatRect lower{cell.left, cell.top + 100, cell.right, cell.bottom};
        EXPECT_EQ(differing(t, t, lower, JAIL_CELL_X[visitor] - cell.left,
                            JAIL_CELL_Y[visitor] - cell.top),
                  0);
    }
}

TEST_F(BailWindow, ShortOfPointsTheBalloonSaysSoAndNothingChanges) {
    struct Case {
        int hospital, person, points;
    };
    const Case cases[] = {{0, 1, 29}, {0, MOVER_ROBBER, 299}, {1, 2, 29}, {1, MOVER_SPY, 299}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.person);
        reset();
        hold(c.hospital, c.person);
        player_table[VISITOR].points = static_cast<uint16_t>(c.points);
        const int x = (c.hospital ? HOSPITAL_CELL_X : JAIL_CELL_X)[c.person] + 30;
        const int y = (c.hospital ? HOSPITAL_CELL_Y : JAIL_CELL_Y)[c.person] + 30;
        const int music = music_stack_depth;
        if (c.hospital) point_and_click(300, AWAY_X, AWAY_Y); // her greeting hurried
        point_and_click(1000, x, y);
        probe([] { return balloon_said("#0002"); }, 300,
              c.person == 2 ? "hospital_short" : (c.person == 1 ? "jail_short" : ""));
        if (c.hospital) point_and_click(1800, AWAY_X, AWAY_Y); // the balloon hurried
        right_click(2400);
        if (c.hospital) point_and_click(2800, AWAY_X, AWAY_Y); // her goodbye hurried
        keep_script_until(8000);
        visit(c.hospital);
        EXPECT_LT(plat_tick_count(), t0 + 8000);
        EXPECT_TRUE(balloon_said("#0002"));
        EXPECT_EQ(shown_count(Shown::Question), 0u) << "nothing to confirm";
        EXPECT_EQ((c.hospital ? hospital_flags : jail_flags)[c.person], 1);
        EXPECT_EQ(player_table[VISITOR].points, c.points);
        EXPECT_EQ(shown_count(Shown::Music, c.hospital ? 16 : 15), 1u);
        EXPECT_EQ(music_stack_depth, music) << "the music before it resumed";
        EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
        EXPECT_EQ(balloon_said("#0130"), c.hospital == 1);
    }
}

TEST_F(BailWindow, TheHospitalAcceptsAPlayerAndClosesByItselfAfterHerOk) {
    hold(1, 2);
    player_table[2].grudge[VISITOR] = 1000;
    player_table[VISITOR].points = 100;
    const size_t greeting = probe([] { return balloon_said("#0127"); }, 200, "hospital_greeting");
    // Her greeting runs out by itself; then the bed, and yes.
    point_and_click(6000, HOSPITAL_CELL_X[2] + 70, HOSPITAL_CELL_Y[2] + 50);
    point_and_click(6400, YES_X, CONFIRM_Y);
    at(t0 + 6500, SCRIPT_MOUSE_MOVE, AWAY_X, AWAY_Y);
    keep_script_until(30000);
    visit(1);
    EXPECT_LT(plat_tick_count(), t0 + 30000);
    EXPECT_EQ(shown_count(Shown::Question), 1u) << "the confirmation asked";
    EXPECT_EQ(decision_last_kind(), DECIDE_BAIL);
    EXPECT_EQ(hospital_flags[2], 0);
    EXPECT_EQ(player_table[2].hospital_days, 0x80);
    EXPECT_EQ(player_table[2].grudge[VISITOR], 1000 - 400);
    EXPECT_EQ(player_table[VISITOR].points, 70);
    EXPECT_TRUE(balloon_said("#0129"));
    EXPECT_FALSE(balloon_said("#0130")) << "no goodbye after a bail";
    // Her greeting stood in its balloon above her, the patient in his bed.
    const Probe& g = g_probes[greeting];
    ASSERT_FALSE(g.pixels.empty());
    EXPECT_GT(differing(g, g,
                        PlatRect{HOSPITAL_CELL_X[2], HOSPITAL_CELL_Y[2],
                                 HOSPITAL_CELL_X[2] + HOSPITAL_CELL_W,
                                 HOSPITAL_CELL_Y[2] + HOSPITAL_CELL_H},
                        HOSPITAL_CELL_X[4] - HOSPITAL_CELL_X[2],
                        HOSPITAL_CELL_Y[4] - HOSPITAL_CELL_Y[2]),
              500)
        << "a bed with a patient against an empty bed";
}

TEST_F(BailWindow, TheHospitalFreesACharacterWhoThanksThenWorksForTheVisitor) {
    hold(1, MOVER_SPY);
    hold(1, 3);
    player_table[VISITOR].points = 500;
    const int mx = HOSPITAL_CELL_X[MOVER_SPY] + 70, my = HOSPITAL_CELL_Y[MOVER_SPY] + 50;
    point_and_click(300, AWAY_X, AWAY_Y); // her greeting hurried
    const size_t open = probe_at(600);
    at(t0 + 700, SCRIPT_MOUSE_MOVE, mx, my);
    const size_t boxed = probe_at(900, "hospital_box");
    point_and_click(1000, mx, my);
    point_and_click(1400, YES_X, CONFIRM_Y);
    at(t0 + 1500, SCRIPT_MOUSE_MOVE, AWAY_X, AWAY_Y);
    const size_t thanks = probe([] { return balloon_said("#0126"); }, 300, "hospital_thanks");
    keep_script_until(30000);
    visit(1);
    EXPECT_LT(plat_tick_count(), t0 + 30000) << "closed by itself after the thanks";
    const WalkerRecord& w = walker_of_mover(MOVER_SPY);
    EXPECT_EQ(w.place, WALKER_FREE);
    EXPECT_EQ(w.patron, VISITOR);
    EXPECT_EQ(w.memory, 0x82) << "armed: put down on a hospital square";
    EXPECT_EQ(hospital_flags[MOVER_SPY], 0);
    EXPECT_EQ(hospital_flags[3], 1);
    EXPECT_EQ(player_table[VISITOR].points, 200);
    EXPECT_TRUE(balloon_said("#0129"));
    const Probe &a = g_probes[open], &b = g_probes[boxed], &t = g_probes[thanks];
    const int bx = HOSPITAL_CELL_X[MOVER_SPY] + HOSPITAL_INFO_DX, by = HOSPITAL_CELL_Y[MOVER_SPY];
    EXPECT_GT(differing(a, b, PlatRect{bx, by, bx + HOSPITAL_INFO_W, by + HOSPITAL_INFO_H}), 500)
        << "the info box left of the bed";
    // The freed spy's picture, its lower right corner at (420, 450), on the
    // bed he left, which is empty now as bed 6 is.
    EXPECT_GT(differing(a, t, PlatRect{356, 386, 420, 450}), 500);
    const PlatRect bed{HOSPITAL_CELL_X[MOVER_SPY], HOSPITAL_CELL_Y[MOVER_SPY],
                       HOSPITAL_CELL_X[MOVER_SPY] + HOSPITAL_CELL_W,
                       HOSPITAL_CELL_Y[MOVER_SPY] + HOSPITAL_CELL_H};
    EXPECT_GT(differing(a, a, bed, 0, -120), 500) << "the spy's bed against the empty bed 6";
    EXPECT_EQ(differing(t, t, bed, 0, -120), 0);
}

TEST_F(BailWindow, TheHospitalSaysGoodbyeInHerOwnPoseAndBlinksWhileWaiting) {
    hold(1, 1);
    // With the sound on, so that her voice plays.
    snd_disabled = 0;
    sound_level = 4;
    ASSERT_EQ(snd_init(0), 1);
    const int music = music_stack_depth;
    right_click(300); // during her greeting: nothing
    const size_t greeting = probe_at(500);
    point_and_click(700, AWAY_X, AWAY_Y); // the greeting hurried
    // She speaks her greeting moving her mouth, then waits a long while:
    // now and then she blinks.
    static bool blinked = false, spoke = false;
    blinked = spoke = false;
    static std::vector<uint16_t> eyes, mouth;
    eyes.clear();
    mouth.clear();
    const uint32_t start = t0, hurried = t0 + 700, until = t0 + 30000;
    probe(
        [start, hurried, until] {
            const auto part = [](const PlatRect& r) {
                std::vector<uint16_t> seen;
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        seen.push_back(
                            PopupTest::screen_at(HOSPITAL_CLERK_X + x, HOSPITAL_CLERK_Y + y));
                return seen;
            };
            const uint32_t now = plat_tick_count();
            if (screen_depth < 1 || now > until) return false;
            const std::vector<uint16_t> m = part(HOSPITAL_MOUTH);
            if (now > start + 200 && now < hurried) {
                if (mouth.empty()) mouth = m;
                if (m != mouth) spoke = true;
            }
            if (now > hurried + 300) {
                const std::vector<uint16_t> e = part(HOSPITAL_EYES);
                if (eyes.empty()) eyes = e;
                if (e != eyes) blinked = true;
            }
            return false;
        },
        0);
    right_click(30500);
    keep_script_until(40000);
    const size_t goodbye = probe([] { return balloon_said("#0130"); }, 200, "hospital_goodbye");
    visit(1);
    snd_shutdown();
    EXPECT_TRUE(spoke) << "her mouth moves while her voice plays";
    EXPECT_TRUE(blinked);
    EXPECT_TRUE(balloon_said("#0127"));
    EXPECT_TRUE(balloon_said("#0130"));
    EXPECT_GE(plat_tick_count(), t0 + 30500) << "the right button during the greeting did nothing";
    EXPECT_LT(plat_tick_count(), t0 + 40000) << "closed after her goodbye";
    EXPECT_EQ(hospital_flags[1], 1);
    EXPECT_EQ(player_table[VISITOR].points, 1000);
    EXPECT_EQ(shown_count(Shown::Music, 16), 1u);
    EXPECT_EQ(music_stack_depth, music);
    const PlatRect pose{HOSPITAL_GOODBYE_X, HOSPITAL_GOODBYE_Y,
                        HOSPITAL_GOODBYE_X + HOSPITAL_GOODBYE_W,
                        HOSPITAL_GOODBYE_Y + HOSPITAL_GOODBYE_H};
    EXPECT_GT(differing(g_probes[greeting], g_probes[goodbye], pose), 2000) << "her goodbye pose";
}

// The screen answers the cell clicked with its person and leaves the bail
// to the rules: nothing is asked, paid or freed until they carry it out.
TEST_F(BailWindow, EachScreenAnswersTheClickedCellWithItsPersonAndBailsNobody) {
    for (int hospital = 0; hospital < 2; ++hospital) {
        SCOPED_TRACE(hospital);
        reset();
        hold(hospital, 2);
        hold(hospital, MOVER_ROBBER);
        const int person = hospital ? MOVER_ROBBER : 2;
        const int x = (hospital ? HOSPITAL_CELL_X : JAIL_CELL_X)[person] + 30;
        const int y = (hospital ? HOSPITAL_CELL_Y : JAIL_CELL_Y)[person] + 30;
        if (hospital) point_and_click(300, AWAY_X, AWAY_Y); // her greeting hurried
        point_and_click(1000, x, y);
        keep_script_until(8000);
        jail_presenter().open(hospital, VISITOR);
        DecisionRequest r{DECIDE_BAIL_CELL, VISITOR, nullptr, 0, 0};
        r.param = hospital;
        const int held[] = {2, MOVER_ROBBER};
        r.list = held;
        r.list_count = 2;
        EXPECT_EQ(decide(r), person + 1);
        EXPECT_EQ(shown_count(Shown::Question), 0u);
        EXPECT_EQ((hospital ? hospital_flags : jail_flags)[person], 1);
        EXPECT_EQ(player_table[VISITOR].points, 1000);
        jail_presenter().close();
        EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
    }
}

// The screen trace names each bail screen by its procedure.
TEST_F(BailWindow, TheScreenTraceNamesEachBailScreensProcedure) {
    const struct {
        int hospital;
        const char* line;
    } cases[] = {{0, "karvo: screen jail_bail_wndproc at depth 1\n"},
                 {1, "karvo: screen jail_hospital_bail_wndproc at depth 1\n"}};
    setenv("KARVO_TRACE_SCREENS", "1", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hospital);
        reset();
        hold(c.hospital, 1);
        if (c.hospital) point_and_click(300, AWAY_X, AWAY_Y); // her greeting hurried
        right_click(1000);
        if (c.hospital) point_and_click(1400, AWAY_X, AWAY_Y); // her goodbye hurried
        keep_script_until(8000);
        testing::internal::CaptureStderr();
        visit(c.hospital);
        const std::string trace = testing::internal::GetCapturedStderr();
        EXPECT_NE(trace.find(c.line), std::string::npos) << trace;
    }
    unsetenv("KARVO_TRACE_SCREENS");
}

} // namespace
