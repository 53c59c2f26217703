// Data the game cannot use, seen as a player starting the real program would:
// an archive the game needs stops it with a box naming the file, its
// directory and what is wrong; anything else is told once on standard error
// and the game goes on.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "board/board_screen.h"
#include "board/view.h"
#include "engine/data_report.h"
#include "engine/mkf.h"
#include "platform/files.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "shell/app.h"

namespace fs = std::filesystem;

namespace {

const fs::path GOOD = KARVO_TEST_DATA_DIR;

fs::path program() {
    return GOOD.parent_path() / "karvo";
}

struct ProgramRun {
    int status = -1;
    std::string out;
};

// A data directory of links to the stand-in data, `spoil` changing it.
class DataDir {
  public:
    explicit DataDir(const std::string& tag) {
        dir_ = fs::temp_directory_path() / ("karvo_data_" + std::to_string(getpid()) + "_" + tag);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const auto& e : fs::directory_iterator(GOOD))
            fs::create_symlink(e.path(), dir_ / e.path().filename());
    }
    ~DataDir() { fs::remove_all(dir_); }
    const fs::path& path() const { return dir_; }
    void remove(const char* name) { fs::remove(dir_ / name); }
    void cut(const char* name, uintmax_t size) {
        remove(name);
        fs::copy_file(GOOD / name, dir_ / name);
        fs::resize_file(dir_ / name, size);
    }
    void fifo(const char* name) {
        remove(name);
        ASSERT_EQ(mkfifo((dir_ / name).c_str(), 0600), 0);
    }

  private:
    fs::path dir_;
};

// The program, headless, from an empty working directory, closing at 3 s.
ProgramRun run_program(const fs::path& data) {
    const fs::path work = data.string() + "_work";
    fs::create_directories(work);
    std::ofstream(work / "session.txt") << "3000 close\n";
    const std::string cmd = "cd '" + work.string() +
                            "' && env KARVO_HEADLESS=1 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                            "KARVO_SCRIPT=session.txt KARVO_DATA='" +
                            data.string() + "' timeout 60 '" + program().string() + "' 2>&1";
    ProgramRun r;
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return r;
    char buf[1024];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        r.out.append(buf, n);
    const int status = pclose(f);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    fs::remove_all(work);
    return r;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(DataErrors, AnArchiveTheGameNeedsMissingOrDamagedStopsItWithABox) {
    const uintmax_t data_size = fs::file_size(GOOD / "data.mkf");
    const uintmax_t panel_size = fs::file_size(GOOD / "PANEL.MKF");
    const struct {
        const char* tag;
        std::function<void(DataDir&)> spoil;
        std::string says; // after the data directory's path
    } cases[] = {
        {"empty", [](DataDir& d) { fs::remove_all(d.path()), fs::create_directories(d.path()); },
         ") nor in the data directory (DIR)."},
        {"half", [&](DataDir& d) { d.cut("data.mkf", data_size / 2); },
         "data.mkf in DIR is damaged: its index offset"},
        {"panel", [&](DataDir& d) { d.cut("PANEL.MKF", panel_size - 2); },
         "PANEL.MKF in DIR is damaged: its index ends inside an entry offset (cut short?)"},
        {"map", [](DataDir& d) { d.fifo("MAP.MKF"); }, "MAP.MKF in DIR is not a regular file"},
        {"mapdat", [](DataDir& d) { d.cut("MAPDAT.MKF", 3); },
         "MAPDAT.MKF in DIR is damaged: its 3 bytes are too few for an archive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        DataDir d(c.tag);
        c.spoil(d);
        const ProgramRun r = run_program(d.path());
        std::string says = c.says;
        says.replace(says.find("DIR"), 3, d.path().string());
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_EQ(count(r.out, "ERROR: "), 1u) << r.out; // the box, shown once
        EXPECT_EQ(count(r.out, says), 1u) << r.out;
        EXPECT_NE(r.out.find("The game cannot run without it."), std::string::npos) << r.out;
    }
}

TEST(DataErrors, WithoutTheMapDataArchiveTheMapsComeFromTheMapArchive) {
    DataDir d("no_mapdat");
    d.remove("MAPDAT.MKF");
    const ProgramRun r = run_program(d.path());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
}

// A FIFO as the opening film would hold the program for ever.
TEST(DataErrors, AFilmOrEffectsThatCannotBeUsedAreToldOnceAndTheGameGoesOn) {
    DataDir d("media");
    d.fifo("START.AVI");
    d.cut("EFFECT.MKF", 1000);
    d.remove("speaking.mkf");
    const ProgramRun r = run_program(d.path());
    EXPECT_EQ(r.status, 0) << r.out;
    const std::string dir = d.path().string();
    for (const std::string& line :
         {"START.AVI in " + dir + " is not a regular file; the film is not shown",
          "EFFECT.MKF in " + dir + " is damaged: its index offset",
          std::string("cannot open speaking.mkf: not found in the working directory")}) {
        EXPECT_EQ(count(r.out, line), 1u) << line << "\n" << r.out;
    }
    EXPECT_EQ(count(r.out, "karvo: "), 3u) << r.out;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
}

// The board's pictures are read at each map load and its panels at each
// board: a missing archive is told the first time only.
TEST(DataErrors, TheBoardsArchivesAreToldOncePerRun) {
    setenv("KARVO_HEADLESS", "1", 1);
    ASSERT_TRUE(plat_init());
    DataDir d("board");
    d.remove("MAP.MKF");
    d.remove("PANEL.MKF");
    plat_set_data_dir(d.path().string());
    data_reports_reset();
    data_archive = mkf_open("data.mkf");
    back_surface = plat_surface_create(640, 480, false); // pictures are read for a display
    for (int round = 0; round < 2; ++round) {
        view_load_map_graphics(0);
        board_load_graphics();
        board_free_graphics();
        view_free_map_graphics();
    }
    plat_surface_release(back_surface);
    back_surface = nullptr;
    mkf_reset();
    const std::string in = d.path().string() + ")";
    ASSERT_EQ(data_reports().size(), 2u);
    EXPECT_EQ(data_reports()[0].rfind("cannot open MAP.MKF: not found in the working directory", 0),
              0u)
        << data_reports()[0];
    EXPECT_NE(data_reports()[0].find(in + "; the board is drawn without pictures"),
              std::string::npos)
        << data_reports()[0];
    EXPECT_NE(data_reports()[1].find("PANEL.MKF"), std::string::npos) << data_reports()[1];
    EXPECT_NE(data_reports()[1].find(in + "; the board screen is drawn without its panels"),
              std::string::npos)
        << data_reports()[1];
    plat_set_data_dir(GOOD.string());
    plat_shutdown();
}

} // namespace
