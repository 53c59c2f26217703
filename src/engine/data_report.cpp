#include "engine/data_report.h"

#include <cctype>
#include <cstdio>
#include <set>

#include "engine/mkf.h"

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

void data_report_open_failure(const char* file_name, const char* without) {
    data_report(file_name, std::string(mkf_last_open_error()) + "; " + without);
}

void data_report_bad_entry(int slot, const char* file_name, int entry, const char* expected,
                           const char* without) {
    const std::string why = *mkf_last_read_error()
                                ? std::string(mkf_last_read_error())
                                : "entry " + std::to_string(entry) + " is not " + expected;
    data_report(file_name,
                std::string(mkf_slot_name(slot)) + " is damaged: " + why + "; " + without);
}

const std::vector<std::string>& data_reports() {
    return g_reports;
}

void data_reports_reset() {
    g_told.clear();
    g_reports.clear();
}
