// What the news and fate events show: the rules draw an event onto the event
// panel through these rows, and the panel's window (news_screen.cpp) fills
// them. A program without the window shows nothing.
#pragma once

#include "engine/presenter.h"

// The panel's two frames and where the rules draw on it.
inline constexpr int EVENT_PANEL_NEWS = 0;
inline constexpr int EVENT_PANEL_FATE = 1;
inline constexpr int EVENT_FACE_X = 390;
inline constexpr int EVENT_TEXT_X = 24;
inline constexpr int EVENT_FONT = 28;      // heading and event text
inline constexpr int EVENT_LINE_FONT = 24; // per-player lines

struct NewsPresenter {
    // Takes frame EVENT_PANEL_NEWS or EVENT_PANEL_FATE to draw on.
    void (*open)(int frame);
    // Draws data.mkf entry `entry`, the event's picture.
    void (*picture)(int entry);
    // The font of the texts that follow.
    void (*font)(int height);
    // A text top-left at (x, y), its "#dddd" voice playing.
    void (*text)(const char* text, int x, int y);
    // Frame `frame` of player p's portrait at (x, y).
    void (*face)(int player, int frame, int x, int y);
    // Shows the panel over the board.
    void (*show)();
    // A line on the top strip, shown at once, and the strip put back.
    void (*strip_text)(const char* text);
    void (*restore_strip)();
    // Ends the panel; a panel that was shown gives the board back.
    void (*close)();
};
extern PresenterSlot<NewsPresenter> news_presenter;
