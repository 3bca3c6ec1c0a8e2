// The criteria of one extraction as a form holds them, one text per field as typed: the
// command words they make for corvane-extract, and every refusal the command line would
// give, field by field and for the whole, in its own words. The variables a data folder
// offers are found from its file names. Plain C++: the desktop's form shows the result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::extract {

struct CriteriaChoices {
    std::string data_dir, out_dir;
    std::string dataset;   // "v2", "v3", "v4", or empty: the folder decides
    std::string variable;
    std::string country, box, elevation;
    bool keep_missing_elevation = false;  // with an elevation range only
    std::string near, radius, nearest;
    std::string years, min_years, min_months;
    std::string name;
    std::string ids;  // identifiers separated by blanks or commas
    std::string ids_from;
    bool qc_keep = false;
    bool csv = false;  // version 2's tables (versions 3 and 4 always write theirs)
    std::string netcdf, geojson;
    bool annual = false;
    std::string anomalies, base_min_years;
    bool force = false;
};

// The words after the program's name: each field given becomes its option.
std::vector<std::string> command_words(const CriteriaChoices& choices);

// The choices with every path made absolute against the working directory now (an empty
// folder is the working directory), so that a run and what reads its files later agree
// wherever the program has moved meanwhile.
CriteriaChoices with_absolute_paths(CriteriaChoices choices);

// A refusal and the option it names ("" when it names none, e.g. no criterion at all).
struct ChoiceRefusal {
    std::string option;
    std::string text;  // as corvane-extract says it, without its name in front
};

// Every field's own refusal; when there is none, the refusal of the whole command line
// (options that need each other, a base period outside the years), if any.
std::vector<ChoiceRefusal> refusals(const CriteriaChoices& choices);

// The bytes a run of these choices reads from the data folder (the data file twice when a
// first pass counts the years), for its progress; 0 when its files are not found.
std::uint64_t bytes_to_read(const CriteriaChoices& choices);

// The variables whose data file and inventory a folder holds, for each version it holds.
struct FolderVariables {
    int edition = 0;  // 2, 3 or 4
    std::vector<std::string> variables;
};
std::vector<FolderVariables> folder_variables(const std::string& data_dir);

}  // namespace corvane::extract
