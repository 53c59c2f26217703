// Images in memory and their copies.
#include "engine/image.h"

#include <cstdlib>
#include <cstring>

ImageRecord* image_new(int width, int height, int hot_x, int hot_y) {
    if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF) return nullptr;
    size_t bytes =
        sizeof(ImageRecord) + static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
    ImageRecord* image = static_cast<ImageRecord*>(std::malloc(bytes));
    if (!image) return nullptr;
    image->width = static_cast<uint16_t>(width);
    image->height = static_cast<uint16_t>(height);
    image->hot_x = static_cast<int16_t>(hot_x);
    image->hot_y = static_cast<int16_t>(hot_y);
    image->pixels = reinterpret_cast<uint16_t*>(image + 1);
    return image;
}

ImageRecord* image_copy_rect(const ImageRecord* src, ImageRecord* dst, int x, int y, int w, int h) {
    if (!src || !src->pixels || x < 0 || y < 0 || w < 0 || h < 0 || x + w > src->width ||
        y + h > src->height)
        return nullptr;
    if (!dst) {
        dst = image_new(w, h, 0, 0);
        if (!dst) return nullptr;
    } else {
        dst->width = static_cast<uint16_t>(w);
        dst->height = static_cast<uint16_t>(h);
        dst->hot_x = 0;
        dst->hot_y = 0;
        if (!dst->pixels) dst->pixels = reinterpret_cast<uint16_t*>(dst + 1);
    }
    for (int row = 0; row < h; ++row)
        blit_copy_words(dst->pixels + static_cast<size_t>(row) * w,
                        src->pixels + static_cast<size_t>(y + row) * src->width + x, w);
    return dst;
}

// The library copy already picks its own alignment; both entry points keep
// overlapping runs correct.
void blit_copy_words(uint16_t* dst, const uint16_t* src, int n) {
    if (n > 0) std::memmove(dst, src, static_cast<size_t>(n) * 2);
}

void blit_copy_words_dst(uint16_t* dst, const uint16_t* src, int n) {
    if (n > 0) std::memmove(dst, src, static_cast<size_t>(n) * 2);
}
