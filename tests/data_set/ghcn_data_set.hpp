// A synthetic GHCN version 2 data set for the whole-run benchmark and the tests: the four
// inventories, the two country lists, the nine data files and the five failed-QC files,
// in the data set's record layouts. The files depend only on the seed, the scale and the
// line end, so a figure measured on one machine can be measured again on another.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::data_set {

// Full is about the size of the real data set (some 600,000 mean-temperature records);
// medium is a tenth of it and small a hundredth.
enum class Scale { small, medium, full };

struct DataSetOptions {
    std::string directory;     // created if needed; files in it are replaced
    std::string country_list;  // a country-code list ("NNN NAME" lines), copied into the set
    std::uint64_t seed = 1;
    Scale scale = Scale::full;
    bool crlf = false;         // end lines with CR LF instead of LF
};

// Records and failed values written per data file, for the summary.
struct DataFileSummary {
    std::string name;
    std::int64_t records = 0;
    std::int64_t series = 0;
    std::int64_t stations = 0;
    std::int64_t failed_values = -1;  // -1: the variable has no failed-QC file
};

struct DataSetSummary {
    int temperature_stations = 0;
    int precipitation_stations = 0;
    int pressure_stations = 0;
    DataFileSummary files[9];
};

// Writes the data set; false with `error` set when a file cannot be read or written.
bool generate_data_set(const DataSetOptions& options, DataSetSummary& summary, std::string& error);

bool parse_scale(const std::string& text, Scale& scale);

}  // namespace corvane::data_set
