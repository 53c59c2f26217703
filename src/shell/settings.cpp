#include "shell/settings.h"

// The settings are not built yet: the default layout is given.
void cfg_read() {}
namespace {
uint8_t side_panel_layout = 0;
} // namespace
uint8_t settings_side_panel_layout() {
    return side_panel_layout;
}
void settings_set_side_panel_layout(uint8_t layout) {
    side_panel_layout = static_cast<uint8_t>(layout % 3);
}
namespace {
uint8_t animations_option = 0;
uint8_t autosave_option = 0;
} // namespace
uint8_t settings_animations() {
    return animations_option;
}
void settings_set_animations(uint8_t on) {
    animations_option = on ? 1 : 0;
}
uint8_t settings_autosave() {
    return autosave_option;
}
void settings_set_autosave(uint8_t on) {
    autosave_option = on ? 1 : 0;
}
