// A window's data file that cannot be used, met both ways it fails: not
// there, and there but damaged. The test gives the damaged copy and what
// opens the window; each way gets a folder of its own as the data directory
// while the window runs, and the program must tell of the file exactly once.
// Header only: the archive writer is linked by the tests that use it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine/data_report.h"
#include "mkf_writer.h"
#include "platform/files.h"

// For "not found" (a folder without the file) and then "is damaged" (one
// holding `damaged` saved as `file`): clears the reports, runs `open` with
// the data directory there, gives the directory back and expects one report
// naming the file, with that reason. `told_alone`: no other line was told.
inline void expect_told_once_when_missing_or_damaged(const std::string& file,
                                                     const ArchiveWriter& damaged,
                                                     const std::function<void()>& open,
                                                     bool told_alone = false) {
    namespace fs = std::filesystem;
    const std::string kept = plat_data_dir();
    const fs::path dir =
        fs::temp_directory_path() / ("karvo_missing_data_" + std::to_string(getpid()));
    const fs::path missing = dir / "missing", broken = dir / "damaged";
    fs::create_directories(missing);
    fs::create_directories(broken);
    ASSERT_TRUE(mkf_writer_save(damaged, (broken / file).string()));
    struct Way {
        fs::path where;
        const char* reason;
    };
    for (const Way& w : {Way{missing, "not found"}, Way{broken, "is damaged"}}) {
        SCOPED_TRACE(w.where.string());
        data_reports_reset();
        plat_set_data_dir(w.where.string());
        open();
        plat_set_data_dir(kept);
        std::vector<std::string> told;
        for (const std::string& line : data_reports())
            if (line.find(file) != std::string::npos) told.push_back(line);
        if (told_alone) {
            EXPECT_EQ(data_reports().size(), told.size()) << "only the file is told of";
        }
        ASSERT_EQ(told.size(), 1u) << "one line for every miss";
        EXPECT_NE(told[0].find(w.reason), std::string::npos) << told[0];
    }
    fs::remove_all(dir);
}
