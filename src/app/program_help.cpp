#include "app/program_help.hpp"

#include <algorithm>
#include <vector>

#include "app/build_info.hpp"
#include "ghcn/variables.hpp"

namespace corvane::app {

namespace {

using ghcn::first_variable;
using ghcn::last_variable;
using ghcn::variable_files;
using ghcn::VariableFiles;

// The distinct names of one kind of file, in menu order, as one wrapped group.
std::string file_group(std::string_view heading, std::string_view VariableFiles::*file) {
    std::vector<std::string_view> names;
    for (std::int32_t v = first_variable; v <= last_variable; ++v) {
        const std::string_view name = variable_files(v).*file;
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    std::string text = "  " + std::string(heading) + ":";
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (text.size() - line_start + names[i].size() + 2 > 88) {
            text += "\n   ";
            line_start = text.size() - 3;
        }
        text += ' ';
        text += names[i];
        if (i + 1 < names.size()) text += ',';
    }
    return text + '\n';
}

}  // namespace

std::string version_text(std::string_view program) {
    return std::string(program) + " (Corvane) " + std::string(version) +
           "\nCopyright (c) the Corvane developers. MIT License: see the LICENSE file.\n";
}

std::string input_files_text() {
    return file_group("station inventories", &VariableFiles::inventory_file) +
           file_group("country-code lists", &VariableFiles::country_codes_file) +
           file_group("monthly data", &VariableFiles::data_file) +
           file_group("values that failed quality control", &VariableFiles::failed_qc_file);
}

std::string output_files_text() {
    return "  GHCNv2_Log_File            the criteria, the stations that met them, the stations found\n"
           "  GHCNv2_tsf                 a header line per series, then the year and twelve values a line\n"
           "  GHCNv2_Failed_Values_File  the failed values of the stations found (unadjusted variables)\n";
}

std::string environment_text() {
    return "  VORNEX_RT_FLAGS  run-time options, e.g. -unixeol (records end with LF alone),\n"
           "                   -printstop (STOP is shown at the end)\n"
           "  TABSIZE          tab width of input records (default 8; 0 keeps tabs)\n";
}

std::string data_source_text() {
    return "The GHCN version 2 monthly files were published by NOAA's National Climatic Data\n"
           "Center (now NCEI) in pub/data/ghcn/v2 on its data server. Uncompress the twenty\n"
           "files above into one directory, keeping these names. A small sample set is\n"
           "installed in " + std::string(installed_sample_dir) + ".\n";
}

}  // namespace corvane::app
