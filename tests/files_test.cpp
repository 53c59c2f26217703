#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/files.h"

namespace fs = std::filesystem;

class FileLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("karvo_files_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "data" / "Sub");
        std::ofstream(root / "data" / "MapDat.mkf") << "x";
        std::ofstream(root / "data" / "Sub" / "Song.mid") << "y";
        std::ofstream(root / "save0.dat") << "z";
        old_cwd = fs::current_path();
        fs::current_path(root);
        plat_set_data_dir((root / "data").string());
    }
    void TearDown() override {
        fs::current_path(old_cwd);
        fs::remove_all(root);
    }
    fs::path root, old_cwd;
};

TEST_F(FileLookup, IgnoresCaseAndMapsTheDrivePrefix) {
    EXPECT_EQ(plat_find_file("A:\\MAPDAT.MKF"), (root / "data" / "MapDat.mkf").string());
    EXPECT_EQ(plat_find_file("a:\\sub\\SONG.MID"), (root / "data" / "Sub" / "Song.mid").string());
    EXPECT_EQ(plat_find_file("SAVE0.DAT"), "save0.dat");
}

TEST_F(FileLookup, MissingFilesAreNotFound) {
    EXPECT_EQ(plat_find_file("MAPDAT.MKF"), ""); // not in the working directory
    EXPECT_EQ(plat_find_file("A:\\NONE.MKF"), "");
    EXPECT_EQ(plat_find_file(""), "");
    EXPECT_EQ(plat_fopen("NONE.DAT", "rb"), nullptr);
}

TEST_F(FileLookup, WritingCreatesUnderTheGivenName) {
    std::FILE* f = plat_fopen("SAVE1.DAT", "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(fs::exists(root / "SAVE1.DAT"));
    f = plat_fopen("save0.DAT", "wb"); // an existing file keeps its spelling
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_FALSE(fs::exists(root / "save0.DAT") && !fs::exists(root / "save0.dat"));
}

// Writing a save or the settings where a FIFO, a directory or a device
// stands must neither wait for a reader nor write anywhere but a file.
TEST_F(FileLookup, OnlyRegularFilesAreOpenedForWritingAndNothingWaits) {
    ASSERT_EQ(::mkfifo((root / "SAVE2.DAT").c_str(), 0600), 0);
    fs::create_directories(root / "SAVE3.DAT");
    for (const char* mode : {"wb", "r+b", "ab"}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(plat_fopen("SAVE2.DAT", mode), nullptr);
        EXPECT_EQ(plat_fopen("SAVE3.DAT", mode), nullptr);
        EXPECT_EQ(plat_fopen("/dev/null", mode), nullptr);
        std::FILE* f = plat_fopen("save0.dat", mode);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::fputc('w', f), 'w');
        std::fclose(f);
    }
    EXPECT_EQ(fs::file_size(root / "save0.dat"), 2u); // written, rewritten in place, then one added
    EXPECT_EQ(fs::status(root / "SAVE2.DAT").type(), fs::file_type::fifo);
}
