#include "finance_art.h"

#include <iconv.h>

#include <algorithm>
#include <stdexcept>

#include "data/characters.h"

void fin_panel(Canvas& cv, int x, int y, int w, int h, uint16_t face, uint16_t light) {
    cv.fill(x, y, w, h, face);
    cv.frame(x, y, w, h, FIN_INK);
    cv.frame(x + 2, y + 2, w - 4, h - 4, light);
}

FrameImage fin_balloon(int w, int h) {
    Canvas cv(w, h);
    const int body = h - 14;
    cv.ellipse(w / 2, body / 2, w / 2 - 1, body / 2 - 1, FIN_INK);
    cv.ellipse(w / 2, body / 2, w / 2 - 4, body / 2 - 4, FIN_WHITE);
    const int tail[] = {w / 5, body - 8, w / 5 + 30, body - 8, w / 10, h - 1};
    cv.polygon(tail, 3, FIN_INK);
    const int inner[] = {w / 5 + 3, body - 10, w / 5 + 24, body - 10, w / 10 + 4, h - 5};
    cv.polygon(inner, 3, FIN_WHITE);
    return cv.img;
}

std::string fin_character_name(int character) {
    const std::string gbk = character_name(character);
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GBK conversion");
    std::string in(gbk), out(in.size() * 3 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t src_left = in.size(), dst_left = out.size();
    const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) throw std::runtime_error("a name is not GBK");
    out.resize(out.size() - dst_left);
    return out;
}

uint16_t fin_character_colour(int character) {
    const uint32_t c = character_table[static_cast<size_t>(character % 12)].colour;
    return rgb555(std::max<int>(24, (c >> 16) & 0xFF), std::max<int>(24, (c >> 8) & 0xFF),
                  std::max<int>(24, c & 0xFF));
}

FrameImage fin_face(int character, int pose) {
    constexpr int S = 64;
    Canvas cv(S, S, S / 2, S / 2);
    const uint16_t skin = rgb555(250, 205, 165);
    cv.ellipse(32, 34, 27, 27, FIN_INK);
    cv.ellipse(32, 34, 25, 25, fin_character_colour(character));
    cv.ellipse(32, 38, 17, 17, skin);
    cv.fill(25, 32, 3, 4, FIN_INK);
    cv.fill(37, 32, 3, 4, FIN_INK);
    const std::string name = fin_character_name(character);
    const size_t first = name.size() >= 3 ? 3 : name.size(); // one UTF-8 CJK character
    cv.label(name.substr(0, first), 32, 7, 14, FIN_WHITE, true);
    if (pose == 0) {
        cv.fill(27, 44, 11, 2, FIN_INK); // a straight mouth
    } else if (pose == 1) {
        cv.ellipse(32, 45, 4, 3, FIN_INK); // a call, and the paddle raised
        cv.fill(52, 14, 3, 30, rgb555(120, 80, 40));
        cv.ellipse(53, 10, 9, 8, FIN_INK);
        cv.ellipse(53, 10, 7, 6, rgb555(250, 230, 90));
    } else {
        cv.ellipse(32, 44, 7, 5, FIN_INK); // a wide grin under a star
        cv.ellipse(32, 42, 7, 3, skin);
        const int star[] = {54, 2,  57, 10, 63, 10, 58, 15, 60, 23,
                            54, 18, 48, 23, 50, 15, 45, 10, 51, 10};
        cv.polygon(star, 10, rgb555(250, 220, 40));
    }
    return cv.img;
}
