// The panel of the news and fate events: PANEL.MKF 66 (frame EVENT_PANEL_NEWS
// the news panel, EVENT_PANEL_FATE the fate panel), read when an event is shown and freed after
// it. Everything of an event is drawn onto the panel before it is shown over
// the board area. With no display open only the texts' voices play and each
// text is recorded as a panel event.
#pragma once

#include "cards/news_presenter.h"
#include "engine/image.h"
#include "platform/messages.h"

// The panels' PANEL.MKF entry. A panel covers the board area and the
// toolbar strip: its corner on the screen, its size, its rectangle there.
inline constexpr int EVENT_PANEL_ENTRY = 66;
inline constexpr int EVENT_PANEL_X = 0, EVENT_PANEL_Y = 0;
inline constexpr int EVENT_PANEL_W = 440;
inline constexpr int EVENT_PANEL_H = 480;
inline constexpr PlatRect EVENT_PANEL_RECT{
    EVENT_PANEL_X, EVENT_PANEL_Y, EVENT_PANEL_X + EVENT_PANEL_W, EVENT_PANEL_Y + EVENT_PANEL_H};
// The event's picture on the panel.
inline constexpr int EVENT_PICTURE_W = 388;
inline constexpr int EVENT_PICTURE_H = 251;
inline constexpr int EVENT_PICTURE_X = 25;
inline constexpr int EVENT_PICTURE_Y = 44;
// The strip over the toolbar, the panel's top rows, and its line's top
// (the line starts at EVENT_TEXT_X).
inline constexpr int EVENT_STRIP_H = 40;
inline constexpr PlatRect EVENT_STRIP_RECT{
    EVENT_PANEL_X, EVENT_PANEL_Y, EVENT_PANEL_X + EVENT_PANEL_W, EVENT_PANEL_Y + EVENT_STRIP_H};
inline constexpr int EVENT_STRIP_TEXT_Y = 10;
inline constexpr int EVENT_STRIP_FONT = 20;

// Reads the panel (EVENT_PANEL_NEWS or EVENT_PANEL_FATE) to draw on; a
// missing panel gives a plain one.
void event_panel_open(int frame);
// Draws data.mkf entry `entry`, EVENT_PICTURE_W x EVENT_PICTURE_H bare pixels,
// at (EVENT_PICTURE_X, EVENT_PICTURE_Y); a missing or short entry is not drawn.
void event_panel_picture(int entry);
// Sets the font: height, 0xF0F0F0 on 0x101010, shadow and bold, spacing 0.
void event_panel_font(int height);
// Draws a text top-left at (x, y); its "#dddd" voice plays.
void event_panel_text(const char* text, int x, int y);
// Draws frame `frame` of player p's portrait set with transparency at (x, y).
void event_panel_face(int player, int frame, int x, int y);
// Draws the panel into the back buffer and shows EVENT_PANEL_RECT.
void event_panel_show();
// A line on the strip (EVENT_STRIP_FONT at (EVENT_TEXT_X, EVENT_STRIP_TEXT_Y)),
// shown at once.
void event_panel_strip_text(const char* text);
// Puts the strip back as the panel shows it.
void event_panel_restore_strip();
// Frees the panel; a panel that was shown gives the board area and the
// toolbar back to the board.
void event_panel_close();
// The panel being drawn on (nullptr with no display or when none is open).
const ImageRecord* event_panel_image();
