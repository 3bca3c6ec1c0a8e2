// The names of the three files a version 2 extraction writes into its working directory:
// the log of the search, the series in time-series format, and the failed values.
#pragma once

#include <string_view>

namespace corvane::ghcn {

inline constexpr std::string_view log_file_name = "GHCNv2_Log_File";
inline constexpr std::string_view series_file_name = "GHCNv2_tsf";
inline constexpr std::string_view failed_values_file_name = "GHCNv2_Failed_Values_File";

}  // namespace corvane::ghcn
