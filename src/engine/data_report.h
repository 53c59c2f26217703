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
// Every message printed since the start or the last reset (tests).
const std::vector<std::string>& data_reports();
void data_reports_reset();
