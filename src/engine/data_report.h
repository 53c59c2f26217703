// Data files the game cannot use, told once each on standard error.
//
// A film, a tune or an archive that is missing or damaged is asked for again
// and again (each background piece, each screen); the player needs to read
// about it once, with where it was looked for and what is wrong.
#pragma once

#include <string>
#include <vector>

// Prints "karvo: MESSAGE" unless something was already told about this file
// (names compared ignoring case and a drive prefix) during the run.
void data_report(const char* file_name, const std::string& message);
// For an archive a screen can do without, `without` saying what the screen
// then lacks: mkf_open failed (the open's reason), or entry `entry` of the
// open archive `slot` is unusable (the read's reason, or that it is not
// `expected`, as "a picture set"). Each told once, as data_report.
void data_report_open_failure(const char* file_name, const char* without);
void data_report_bad_entry(int slot, const char* file_name, int entry, const char* expected,
                           const char* without);
// Every message printed since the start or the last reset (tests).
const std::vector<std::string>& data_reports();
void data_reports_reset();
