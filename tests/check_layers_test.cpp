// The layer check run by CI: a small tree of sources built into objects laid
// out as the build lays them out, once clean and once with one climb planted
// of each kind the check knows, by include and by symbol.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Source {
    std::string path; // below src/
    std::string text;
};

// Every layer defines one function; the board's rule uses the engine, the
// window uses its rule and the shell uses everything: all downward.
const std::vector<Source> clean_tree = {
    {"platform/plat.cpp", "int plat_fn() { return 1; }\n"},
    {"data/table.cpp", "int data_fn() { return 2; }\n"},
    {"engine/eng.cpp", "int plat_fn(); int eng_fn() { return plat_fn() + 1; }\n"},
    {"board/rule.cpp", "int eng_fn(); int rule_fn() { return eng_fn(); }\n"},
    {"board/rule_screen.cpp", "int rule_fn(); int screen_fn() { return rule_fn(); }\n"},
    {"shell/top.cpp",
     "int screen_fn(); int data_fn(); int top_fn() { return screen_fn() + data_fn(); }\n"},
};

struct Climb {
    const char* name;
    Source planted;
    const char* reason; // what the check must say
};

const Climb climbs[] = {
    {"the engine uses the board",
     {"engine/up.cpp", "int rule_fn(); int up_fn() { return rule_fn(); }\n"},
     "a lower layer uses a symbol defined above it"},
    {"the platform uses the engine",
     {"platform/up.cpp", "int eng_fn(); int up_fn() { return eng_fn(); }\n"},
     "a lower layer uses a symbol defined above it"},
    {"a window uses the shell",
     {"finance/shop_screen.cpp", "int top_fn(); int up_fn() { return top_fn(); }\n"},
     "only the shell may use the shell"},
    {"a rule uses its window",
     {"cards/deal.cpp", "int screen_fn(); int up_fn() { return screen_fn(); }\n"},
     "a rule file uses its window"},
    {"the engine includes the board",
     {"engine/inc.cpp", "#include \"board/rule.h\"\nint inc_fn() { return 0; }\n"},
     "src/engine includes a layer above it"},
    {"a rule includes the platform",
     {"board/inc.cpp", "#include \"platform/window.h\"\nint inc_fn() { return 0; }\n"},
     "includes the screen, drawing or platform layer"},
};

class LayerCheck : public ::testing::Test {
  protected:
    fs::path root;

    void SetUp() override {
        // The process id keeps two builds' runs of one test apart.
        root = fs::temp_directory_path() /
               ("karvo_layers_" + std::to_string(getpid()) + "_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root);
        std::ofstream(root / "exceptions.txt") << "# none\n";
    }
    void TearDown() override { fs::remove_all(root); }

    // Writes the source and builds its object where the build puts it. A
    // source that includes a header of another layer is only written: the
    // include check reads sources, and the header is not there to build.
    void add(const Source& s) {
        fs::path source = root / "src" / s.path;
        fs::create_directories(source.parent_path());
        std::ofstream(source) << s.text;
        if (s.text.find("#include") != std::string::npos) return;
        fs::path object = root / "build/src/CMakeFiles/core.dir" / (s.path + ".o");
        fs::create_directories(object.parent_path());
        std::string cmd =
            std::string(KARVO_CXX) + " -c -o '" + object.string() + "' '" + source.string() + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }

    // Runs the check; returns its exit status and fills what it printed.
    int check(std::string& out) {
        std::string cmd = "KARVO_LAYERS_SRC='" + (root / "src").string() +
                          "' KARVO_LAYERS_EXCEPTIONS='" + (root / "exceptions.txt").string() +
                          "' bash '" KARVO_SOURCE_DIR "/scripts/check_layers.sh' '" +
                          (root / "build").string() + "' 2>&1";
        FILE* pipe = popen(cmd.c_str(), "r");
        if (!pipe) return -1;
        char buf[512];
        out.clear();
        while (fgets(buf, sizeof buf, pipe))
            out += buf;
        int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(LayerCheck, ATreeWhoseLayersOnlyReachDownwardPasses) {
    for (const Source& s : clean_tree)
        add(s);
    std::string out;
    EXPECT_EQ(check(out), 0) << out;
}

TEST_F(LayerCheck, EachKindOfPlantedClimbFailsAndIsNamed) {
    for (const Climb& c : climbs) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root / "src");
        fs::remove_all(root / "build");
        for (const Source& s : clean_tree)
            add(s);
        add(c.planted);
        std::string out;
        EXPECT_EQ(check(out), 1) << out;
        EXPECT_NE(out.find(c.reason), std::string::npos) << out;
        EXPECT_NE(out.find(c.planted.path), std::string::npos) << out;
    }
}

TEST_F(LayerCheck, AListedClimbPassesAndAListedPairThatNoLongerClimbsFails) {
    for (const Source& s : clean_tree)
        add(s);
    add({"engine/up.cpp", "int rule_fn(); int up_fn() { return rule_fn(); }\n"});
    std::ofstream(root / "exceptions.txt")
        << "# still to take apart\nengine/up.cpp board/rule.cpp\n";
    std::string out;
    EXPECT_EQ(check(out), 0) << out;

    std::ofstream(root / "exceptions.txt", std::ios::app) << "engine/eng.cpp shell/top.cpp\n";
    EXPECT_EQ(check(out), 1) << out;
    EXPECT_NE(out.find("no longer climb"), std::string::npos) << out;
    EXPECT_NE(out.find("engine/eng.cpp shell/top.cpp"), std::string::npos) << out;
}

TEST_F(LayerCheck, TheObjectOfASourceRemovedSinceTheBuildIsNotRead) {
    for (const Source& s : clean_tree)
        add(s);
    add({"board/moved.cpp", "int screen_fn(); int moved_fn() { return screen_fn(); }\n"});
    add({"board/moved_screen.cpp", "int screen_fn() { return 1; }\n"});
    std::string out;
    ASSERT_EQ(check(out), 1) << "the planted climb is seen while its source is there";
    fs::remove(root / "src/board/moved.cpp");
    EXPECT_EQ(check(out), 0) << out;
}

TEST_F(LayerCheck, ABuildWithNoObjectsIsRefusedWithTheReason) {
    fs::create_directories(root / "src/engine");
    std::string out;
    EXPECT_EQ(check(out), 1) << out;
    EXPECT_NE(out.find("no objects"), std::string::npos) << out;
}

} // namespace
