#include "platform/media.h"

namespace {

// Without the media layer: silent pieces, no films.
const PlatMediaLayer ABSENT = {
    [](const MidiSong*, uint32_t) {},
    [] {},
    [](uint16_t, uint16_t) {},
    [](int16_t*, size_t) { return false; },
    [] { return false; },
    [](size_t) {},
    [](const std::string&, std::string* problem) -> PlatVideo* {
        if (problem) *problem = "this program plays no films (built without the media layer)";
        return nullptr;
    },
    [](PlatVideo*) {},
    [](const PlatVideo*) { return uint32_t{0}; },
    [](const PlatVideo*) { return false; },
    [](PlatVideo*, const PlatRect&) {},
    [](PlatVideo*, uint32_t) { return false; },
    [](PlatVideo*) {},
    [](const PlatVideo*) { return uint32_t{0}; },
    [](const PlatVideo*) { return uint32_t{0}; },
    [](int16_t*, size_t) { return size_t{0}; },
    [](size_t) {},
    [] {},
};

const PlatMediaLayer* g_layer = nullptr;

} // namespace

void plat_media_install(const PlatMediaLayer* layer) {
    g_layer = layer;
}

const PlatMediaLayer& plat_media() {
    return g_layer ? *g_layer : ABSENT;
}

bool plat_media_present() {
    return g_layer != nullptr;
}
