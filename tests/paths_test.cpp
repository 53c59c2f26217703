#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

// Sets or clears an environment variable for one test and puts it back.
class EnvGuard {
  public:
    EnvGuard(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvGuard() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class UserFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("karvo_paths_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "cwd");
        old_cwd = fs::current_path();
        fs::current_path(root / "cwd");
    }
    void TearDown() override {
        fs::current_path(old_cwd);
        fs::remove_all(root);
    }
    fs::path root, old_cwd;
};

} // namespace

TEST_F(UserFiles, DirectoriesFollowKarvoHomeThenXdgThenHomeThenTheWorkingDirectory) {
    struct Case {
        const char* karvo_home;
        const char* xdg_config;
        const char* xdg_data;
        const char* home;
        const char* config;
        const char* saves;
    } cases[] = {
        {"/k", "/xc", "/xd", "/h", "/k", "/k"},
        {nullptr, "/xc", "/xd", "/h", "/xc/karvo", "/xd/karvo"},
        {"", "/xc", nullptr, "/h", "/xc/karvo", "/h/.local/share/karvo"},
        {nullptr, nullptr, nullptr, "/h", "/h/.config/karvo", "/h/.local/share/karvo"},
        {nullptr, nullptr, nullptr, nullptr, ".", "."},
    };
    for (const Case& c : cases) {
        EnvGuard a("KARVO_HOME", c.karvo_home), b("XDG_CONFIG_HOME", c.xdg_config),
            d("XDG_DATA_HOME", c.xdg_data), e("HOME", c.home);
        EXPECT_EQ(plat_config_dir(), c.config) << c.config;
        EXPECT_EQ(plat_save_dir(), c.saves) << c.saves;
    }
}

TEST_F(UserFiles, TheFirstWriteMakesThePrivateDirectoryAndNamesAreFoundInAnyCase) {
    const fs::path dir = root / "home" / "karvo";
    std::string error;
    ASSERT_TRUE(plat_write_file_atomic(dir.string(), "KARVO.CFG", "abc", 3, &error)) << error;
    EXPECT_EQ(fs::status(dir).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(slurp(dir / "KARVO.CFG"), "abc");
    fs::rename(dir / "KARVO.CFG", dir / "karvo.cfg");
    EXPECT_EQ(plat_find_user_file(dir.string(), "KARVO.CFG"), (dir / "karvo.cfg").string());
    // Writing again replaces the file in its own spelling: one file stays.
    ASSERT_TRUE(plat_write_file_atomic(dir.string(), "KARVO.CFG", "de", 2, &error)) << error;
    EXPECT_EQ(slurp(dir / "karvo.cfg"), "de");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_EQ(plat_find_user_file(dir.string(), "SAVE1.DAT"), "");
}

TEST_F(UserFiles, ADirectoryThatCannotBeMadeSendsTheFileToTheWorkingDirectory) {
    std::ofstream(root / "plain") << "x"; // a file where a directory would go
    const std::string dir = (root / "plain" / "karvo").string();
    std::string error;
    ASSERT_TRUE(plat_write_file_atomic(dir, "SAVE2.DAT", "xyz", 3, &error)) << error;
    EXPECT_EQ(slurp(root / "cwd" / "SAVE2.DAT"), "xyz");
    EXPECT_EQ(plat_find_user_file(dir, "save2.dat"), "./SAVE2.DAT");
}

TEST_F(UserFiles, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const fs::path dir = root / "saves";
    std::string error;
    ASSERT_TRUE(plat_write_file_atomic(dir.string(), "SAVE1.DAT", "old", 3, &error));
    // A file size limit makes the writes fail part way, as a full disk would.
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    struct rlimit small = old_limit;
    small.rlim_cur = 100;
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string big(5000, 'n');
    const bool ok =
        plat_write_file_atomic(dir.string(), "SAVE1.DAT", big.data(), big.size(), &error);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(slurp(dir / "SAVE1.DAT"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// The player is told which file could not be written, and where; the
// temporary's name means nothing to him.
TEST_F(UserFiles, AWriteThatCannotStartNamesTheFileAndItsDirectory) {
    const fs::path dir = root / "saves";
    fs::create_directories(dir);
    // No descriptor left: the new file cannot be made, whoever runs the test.
    struct rlimit old_limit;
    getrlimit(RLIMIT_NOFILE, &old_limit);
    struct rlimit none = old_limit;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_NOFILE, &none);
    std::string error;
    const bool ok = plat_write_file_atomic(dir.string(), "SAVE0.DAT", "x", 1, &error);
    setrlimit(RLIMIT_NOFILE, &old_limit);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error.rfind((dir / "SAVE0.DAT").string() + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(" in " + dir.string() + ": "), std::string::npos) << error;
    EXPECT_EQ(error.find(".SAVE0.DAT."), std::string::npos) << error;
}

// A writer killed mid-write leaves its temporary; the next write into the
// directory removes it, and no file but such a one, nor one a running write
// still holds.
TEST_F(UserFiles, TemporariesLeftByAKilledWriterGoAtTheNextWrite) {
    const fs::path dir = root / "saves";
    std::string error;
    ASSERT_TRUE(plat_write_file_atomic(dir.string(), "SAVE1.DAT", "a", 1, &error)) << error;
    const char* stale[] = {".SAVE1.DAT.karvo-a1B2c3", ".KARVO.CFG.karvo-zzzzzz"};
    const char* kept[] = {".SAVE1.DAT.karvo-held01", ".bashrc.abcdef", "SAVE2.DAT.karvo-abc123",
                          ".SAVE1.DAT.karvo-abc12", ".SAVE1.DAT.karvo-ab.c12"};
    for (const char* name : stale)
        std::ofstream(dir / name) << "half";
    for (const char* name : kept)
        std::ofstream(dir / name) << "keep";
    // A write still running holds its temporary locked.
    const int held = ::open((dir / kept[0]).c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_TRUE(plat_write_file_atomic(dir.string(), "SAVE0.DAT", "b", 1, &error)) << error;
    ::close(held);
    for (const char* name : stale)
        EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const char* name : kept)
        EXPECT_EQ(slurp(dir / name), "keep") << name;
    EXPECT_EQ(slurp(dir / "SAVE0.DAT"), "b");
    EXPECT_EQ(slurp(dir / "SAVE1.DAT"), "a");
}

TEST_F(UserFiles, ReadingRefusesNonRegularAndOversizedFiles) {
    std::vector<uint8_t> data;
    std::string error;
    fs::create_directories(root / "d");
    EXPECT_FALSE(plat_read_user_file((root / "d").string(), 100, &data, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    ASSERT_EQ(::mkfifo((root / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(plat_read_user_file((root / "fifo").string(), 100, &data, &error));
    std::ofstream(root / "f") << "12345";
    EXPECT_FALSE(plat_read_user_file((root / "f").string(), 4, &data, &error));
    EXPECT_NE(error.find((root / "f").string()), std::string::npos) << error;
    ASSERT_TRUE(plat_read_user_file((root / "f").string(), 5, &data, &error));
    EXPECT_EQ(std::string(data.begin(), data.end()), "12345");
}

TEST(LocalDate, KarvoTodayOverridesTheClockWhenItIsARealDate) {
    {
        EnvGuard t("KARVO_TODAY", "2005-03-15");
        const PlatDate d = plat_local_date();
        EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, 20050315);
    }
    {
        EnvGuard t("KARVO_TODAY", "2000-02-29");
        EXPECT_EQ(plat_local_date().day, 29);
    }
    for (const char* bad : {"2001-02-29", "1998-13-01", "1998-1-1x", "yesterday"}) {
        EnvGuard t("KARVO_TODAY", bad);
        const PlatDate d = plat_local_date();
        EXPECT_GE(d.year, 2020) << bad; // the clock's date
    }
}
