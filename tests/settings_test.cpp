#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/options.h"
#include "engine/record_io.h"
#include "shell/settings.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> image_of(const SettingsRecord& r) {
    std::vector<uint8_t> out(SETTINGS_FILE_SIZE);
    settings_fields(RecordPut{out.data()}, r);
    return out;
}

// A record whose every byte differs from the defaults, in range.
SettingsRecord sample_record() {
    SettingsRecord r{};
    r.game_speed = 2;
    r.animations = 0;
    r.music_level = 1;
    r.sound_level = 3;
    r.autosave = 0;
    r.side_panel_layout = 2;
    r.unused_6[0] = 0xA6;
    r.unused_6[1] = 0xA7;
    r.game_date = 0x07D00203;
    r.calendar_page = 1;
    r.unused_13[0] = 0xAD, r.unused_13[1] = 0xAE, r.unused_13[2] = 0xAF;
    for (int i = 0; i < HOTKEY_COUNT; ++i)
        r.hotkeys[i] = static_cast<HotKey>((i % 2 ? 0x1100 : 0) | (0x41 + i % 26));
    return r;
}

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() / ("karvo_settings_" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
        setenv("KARVO_HOME", home.c_str(), 1);
        setenv("KARVO_TODAY", "2005-03-15", 1);
        settings_reset_start_values();
    }
    void TearDown() override {
        fs::remove_all(home);
        settings_reset_start_values();
    }
    void put_file(const std::vector<uint8_t>& bytes) {
        std::ofstream out(home / "KARVO.CFG", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> file_bytes() {
        std::ifstream in(home / "KARVO.CFG", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    // The record cfg_read gives for a missing file on 15 March 2005.
    static SettingsRecord defaults() {
        SettingsRecord r{};
        r.game_speed = 1, r.animations = 1, r.music_level = 4, r.sound_level = 4;
        r.autosave = 1, r.side_panel_layout = 1;
        r.game_date = 0x07D5030F;
        std::memcpy(r.hotkeys, cfg_default_hotkeys, sizeof r.hotkeys);
        return r;
    }
    fs::path home;
};

} // namespace

TEST_F(SettingsFile, BeforeAnyReadTheRecordHoldsTheStartValues) {
    EXPECT_EQ(settings_game_speed(), 1);
    EXPECT_EQ(settings_music_level(), 4);
    EXPECT_EQ(settings_sound_level(), 4);
    EXPECT_EQ(settings_animations(), 0);
    EXPECT_EQ(settings_autosave(), 0);
    EXPECT_EQ(settings_side_panel_layout(), 0);
    EXPECT_EQ(settings_calendar_page(), 0);
    EXPECT_EQ(settings.game_date, SETTINGS_START_DATE);
    EXPECT_EQ(settings_hotkey(HK_QUIT), 0x1151);
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsAndWritesNothing) {
    cfg_read();
    EXPECT_EQ(image_of(settings), image_of(defaults()));
    EXPECT_FALSE(fs::exists(home / "KARVO.CFG"));
}

TEST_F(SettingsFile, SeventyTwoBytesComeBackAsWrittenExceptTheDate) {
    const SettingsRecord sample = sample_record();
    settings_replace(sample);
    ASSERT_TRUE(cfg_write());
    EXPECT_EQ(file_bytes(), image_of(sample)); // the game's date at offset 8 included
    settings_reset_start_values();
    cfg_read();
    SettingsRecord expected = sample;
    expected.game_date = 0x07D5030F; // today, not the file's date
    EXPECT_EQ(image_of(settings), image_of(expected));
}

TEST_F(SettingsFile, AFileOfAnyOtherSizeIsRefusedWholeWithAMessageNamingItAndItsSize) {
    for (size_t size : {size_t{0}, size_t{71}, size_t{73}}) {
        std::vector<uint8_t> bytes = image_of(sample_record());
        bytes.resize(size, 0x01);
        put_file(bytes);
        settings_reset_start_values();
        ::testing::internal::CaptureStderr();
        cfg_read();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(image_of(settings), image_of(defaults())) << size;
        EXPECT_NE(err.find((home / "KARVO.CFG").string()), std::string::npos) << err;
        EXPECT_NE(err.find(" " + std::to_string(size) + " bytes"), std::string::npos) << err;
    }
}

TEST_F(SettingsFile, BytesOutOfRangeAreClampedAndUnusedBytesKept) {
    struct Case {
        size_t offset;
        uint8_t stored;
        uint8_t read;
    } cases[] = {
        {0, 3, 2},       {0, 255, 2},      {1, 7, 1},        {2, 5, 4},  {3, 200, 4},
        {4, 2, 1},       {5, 3, 2},        {5, 9, 2},        {12, 2, 1}, {6, 0xEE, 0xEE},
        {7, 0x99, 0x99}, {13, 0x80, 0x80}, {15, 0xFF, 0xFF},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = image_of(defaults());
        bytes[c.offset] = c.stored;
        put_file(bytes);
        cfg_read();
        EXPECT_EQ(image_of(settings)[c.offset], c.read) << "byte " << c.offset;
    }
}

TEST_F(SettingsFile, AHotKeyWithAStrangeModifierOrANamelessKeyTakesItsSlotsDefault) {
    struct Case {
        HotKey stored;
        bool kept;
    } cases[] = {
        {0x0051, true},  {0x1151, true},  {0x11DE, true},  {0x1051, false},
        {0x1251, false}, {0xFF41, false}, {0x0000, true},  {0x00FF, false},
        {0x1111, true},  {0x0007, false}, {0x1100, false},
    };
    for (const Case& c : cases) {
        SettingsRecord r = defaults();
        r.hotkeys[HK_MAP] = c.stored;
        put_file(image_of(r));
        cfg_read();
        EXPECT_EQ(settings_hotkey(HK_MAP), c.kept ? c.stored : cfg_default_hotkeys[HK_MAP])
            << std::hex << c.stored;
        EXPECT_EQ(settings_hotkey(HK_GO), 0x20);
    }
}

TEST_F(SettingsFile, AKeyClearedInTheDialogStaysClearedButTheFirstEightNeverAreEmpty) {
    SettingsRecord r = defaults();
    for (HotKey& k : r.hotkeys)
        k = 0;
    put_file(image_of(r));
    cfg_read();
    for (int slot = 0; slot < HOTKEY_COUNT; ++slot)
        EXPECT_EQ(settings_hotkey(slot), slot < HK_YES ? cfg_default_hotkeys[slot] : 0)
            << "slot " << slot;
}

TEST_F(SettingsFile, TheGameStartsOnTodayKeptWithin1998To2010) {
    struct Case {
        const char* today;
        uint32_t date;
    } cases[] = {
        {"2011-12-31", 0x07DA0101},
        {"2005-03-15", 0x07D5030F},
        {"1997-06-01", 0x07CE0101},
        {"2010-12-31", 0x07DA0C1F},
    };
    for (const Case& c : cases) {
        setenv("KARVO_TODAY", c.today, 1);
        put_file(image_of(sample_record())); // the file's own date is never used
        cfg_read();
        EXPECT_EQ(settings.game_date, c.date) << c.today;
    }
}

TEST_F(SettingsFile, AFailedWriteKeepsTheOldFile) {
    settings_replace(defaults());
    ASSERT_TRUE(cfg_write());
    const std::vector<uint8_t> before = file_bytes();
    settings_replace(sample_record());
    // Files may hold no byte at all: every write into the temporary fails.
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    struct rlimit none = old_limit;
    none.rlim_cur = 0;
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &none);
    const bool ok = cfg_write();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(file_bytes(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
}

TEST(HotKeyNames, TheTableHas78DistinctRowsAndAnEndRow) {
    std::set<uint32_t> codes;
    for (int i = 0; i < KEY_NAME_ROWS; ++i) {
        EXPECT_NE(cfg_key_names[i].code, 0u) << i;
        ASSERT_NE(cfg_key_names[i].name, nullptr) << i;
        codes.insert(cfg_key_names[i].code);
    }
    EXPECT_EQ(codes.size(), 78u);
    EXPECT_EQ(cfg_key_names[KEY_NAME_ROWS].code, 0u);
}

TEST(HotKeyNames, AKeyIsNamedByItsModifierThenItsKey) {
    EXPECT_EQ(cfg_hotkey_name(cfg_default_hotkeys[HK_QUIT]), std::string("CTRL-") + "Q");
    EXPECT_EQ(cfg_hotkey_name(0x0020), "SPACE");
    EXPECT_EQ(cfg_hotkey_name(0x00BC), "<");
    EXPECT_EQ(cfg_hotkey_name(0x007B), "F12");
    EXPECT_EQ(cfg_hotkey_name(0x00DC), "\\");
    EXPECT_EQ(cfg_hotkey_name(0x0007), "");      // no row
    EXPECT_EQ(cfg_hotkey_name(0x1107), "CTRL-"); // the key part has no row
    EXPECT_EQ(std::string(cfg_hotkey_labels[HK_SAVE]), "SAVE GAME");
    EXPECT_EQ(cfg_default_hotkeys[HK_SWITCH_OPTION], cfg_default_hotkeys[HK_SWITCH_LAYOUT]);
}
