#include "engine/data_report.h"

#include <cctype>
#include <cstdio>
#include <set>

namespace {

std::set<std::string> g_told;
std::vector<std::string> g_reports;

// "A:\\midi01.mid" and "MIDI01.MID" are the same file.
std::string key_of(const char* name) {
    std::string key = name ? name : "";
    if (key.size() >= 3 && key[1] == ':' && (key[2] == '\\' || key[2] == '/')) key.erase(0, 3);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

void data_report(const char* file_name, const std::string& message) {
    if (!g_told.insert(key_of(file_name)).second) return;
    g_reports.push_back(message);
    std::fprintf(stderr, "karvo: %s\n", message.c_str());
}

const std::vector<std::string>& data_reports() {
    return g_reports;
}

void data_reports_reset() {
    g_told.clear();
    g_reports.clear();
}
