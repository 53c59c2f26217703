// The main board screen: toolbar and side panel.
#pragma once

void board_draw_side_panel(int refresh);
void board_draw_header_panel(int refresh);
void board_repaint_all();
