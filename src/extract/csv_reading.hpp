// The tables the extraction writes, read back: a header and rows of fields, quoted fields
// as the tables quote them (a doubled quote inside), lines ending in CR LF or LF. The
// desktop shows stations.csv and plots a station's rows of values.csv.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane::extract {

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    // The column of a header name, or -1.
    int column(const std::string& name) const;
};

// The fields of one line.
std::vector<std::string> csv_fields(const std::string& line);

// Nothing when the file cannot be read.
std::optional<CsvTable> read_csv_file(const std::string& path);

}  // namespace corvane::extract
