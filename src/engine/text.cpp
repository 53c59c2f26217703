#include "engine/text.h"

// Stub bodies while the text engine is written: nothing is drawn yet.
TextStyle text_style{nullptr, 0, 0, 0, 0xFFFFFF, 0x101010};
void text_init() {}
void text_shutdown() {}
void text_set_font(int, uint32_t, uint32_t, uint32_t, int) {}
void text_draw(ImageRecord*, const char*, int, int, int) {}
void text_blit_box(const uint16_t*, const PlatRect&, PlatRect* box) {
    if (box) *box = PlatRect{};
}
void text_draw_vertical(ImageRecord*, int, int, const char*, uint32_t) {}
const ImageRecord* text_surface() {
    return nullptr;
}
