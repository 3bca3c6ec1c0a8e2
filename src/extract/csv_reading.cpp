#include "extract/csv_reading.hpp"

#include <algorithm>
#include <fstream>

namespace corvane::extract {

int CsvTable::column(const std::string& name) const {
    const auto found = std::find(header.begin(), header.end(), name);
    return found == header.end() ? -1 : static_cast<int>(found - header.begin());
}

std::vector<std::string> csv_fields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r' || quoted) {
            fields.back() += c;
        }
    }
    return fields;
}

std::optional<CsvTable> read_csv_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    CsvTable table;
    std::string line;
    if (std::getline(in, line)) table.header = csv_fields(line);
    while (std::getline(in, line)) {
        if (!line.empty() && line != "\r") table.rows.push_back(csv_fields(line));
    }
    return table;
}

}  // namespace corvane::extract
