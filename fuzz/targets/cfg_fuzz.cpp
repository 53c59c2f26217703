// Any byte string as the settings file: read, written and read again gives
// the same record, every option in its range, and the file written is the
// record's 72 bytes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/options.h"
#include "engine/record_io.h"
#include "shell/settings.h"

namespace {

std::string home() {
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/karvo-cfg-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        dir = pattern;
        setenv("KARVO_HOME", dir.c_str(), 1);
        setenv("KARVO_TODAY", "2004-02-29", 1);
    }
    return dir;
}

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "cfg_fuzz: %s\n", what);
    std::abort();
}

bool in_range(const SettingsRecord& r) {
    if (r.game_speed > 2 || r.animations > 1 || r.music_level > 4 || r.sound_level > 4 ||
        r.autosave > 1 || r.side_panel_layout > 2 || r.calendar_page > 1)
        return false;
    for (int slot = 0; slot < HOTKEY_COUNT; ++slot) {
        const HotKey k = r.hotkeys[slot];
        // Slots 8 to 27 may hold no key: the hot-key dialog clears them.
        if (k == 0 && slot >= HK_YES) continue;
        const unsigned modifier = k >> 8;
        if ((modifier != 0 && modifier != HOTKEY_CTRL) || !cfg_key_name(k & 0xFF)) return false;
    }
    return r.game_date == 0x07D4021D;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const std::string path = home() + "/KARVO.CFG";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    cfg_read();
    if (!in_range(settings)) broken("an option out of range after reading");
    uint8_t first[SETTINGS_FILE_SIZE];
    settings_fields(RecordPut{first}, settings);
    if (!cfg_write()) broken("cannot write");
    cfg_read();
    uint8_t second[SETTINGS_FILE_SIZE];
    settings_fields(RecordPut{second}, settings);
    if (std::memcmp(first, second, sizeof first) != 0) broken("read again as another record");
    return 0;
}
