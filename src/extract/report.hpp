// corvane-extract's own lines on standard error, each beginning with the program's name,
// and its exit statuses.
#pragma once

#include <iostream>
#include <string>
#include <string_view>

namespace corvane::extract {

constexpr std::string_view program_name = "corvane-extract";
constexpr int status_failed = 1;        // a missing input, an existing output, a stopped run
constexpr int status_bad_argument = 2;

inline void complain(const std::string& text) { std::cerr << program_name << ": " << text << '\n' << std::flush; }

}  // namespace corvane::extract
