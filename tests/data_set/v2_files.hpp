// The files of a generated version 2 data set, in its record layouts: the data files with
// their failed-QC companions, the two kinds of inventory line, and the country lists.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ghcn_data_set.hpp"
#include "random.hpp"
#include "series.hpp"
#include "stations.hpp"
#include "text_lines.hpp"

namespace corvane::data_set {

// The 11-digit identifier: country code, WMO number and modifier.
void put_station_id(std::string& s, const Station& st);

bool write_temperature_inventory(const std::filesystem::path& path, bool crlf, const std::vector<Station>& stations);
// The 62-column lines of the precipitation and pressure inventories.
bool write_short_inventory(const std::filesystem::path& path, bool crlf, const std::vector<Station>& stations,
                           const std::vector<Country>& countries);
// The "NNN NAME" entries of a country list, and its whole text for copying.
bool read_countries(const std::string& path, std::vector<Country>& countries, std::string& text);
bool copy_country_list(const std::filesystem::path& path, const std::string& text, bool crlf);

// A data file, with its failed-QC companion when the variable has one.
class DataFile {
public:
    DataFile(const std::filesystem::path& dir, const std::string& name, bool with_failed, double fail_p, bool crlf)
        : name_(name), data_(dir / name, crlf), fail_p_(fail_p) {
        if (with_failed) failed_ = std::make_unique<LineFile>(dir / (name + ".failed.qc"), crlf);
        summary_.name = name;
        summary_.failed_values = with_failed ? 0 : -1;
    }

    using FailedValue = std::function<int(Random&, int)>;

    // Writes one record unless all its values are missing; a value may fail quality control
    // instead, leaving a missing value behind. Returns whether the record was written.
    bool emit(Random& r, const Station& st, int digit, int year, const Year& values, const MissingMonths& miss,
              const FailedValue& fail, Year* written = nullptr) {
        Year out{};
        std::vector<std::pair<int, int>> failed;  // month, value
        for (int m = 0; m < 12; ++m) {
            out[m] = miss[m] ? missing : values[m];
            if (!miss[m] && failed_ && values[m] != trace && r.chance(fail_p_)) {
                failed.emplace_back(m + 1, std::clamp(fail(r, values[m]), -99999, 999999));
                out[m] = missing;
            }
        }
        if (std::all_of(out.begin(), out.end(), [](int v) { return v == missing; })) {
            if (failed.empty()) return false;
            for (auto [month, value] : failed) out[month - 1] = values[month - 1];  // they pass after all
            failed.clear();
        }
        write_record(st, digit, year, out);
        for (auto [month, value] : failed) write_failed(st, digit, year, month, value);
        if (written) *written = out;
        return true;
    }

    // Writes the record as it is (adjusted copies), unless all its values are missing.
    bool copy(const Station& st, int digit, int year, const Year& values) {
        if (std::all_of(values.begin(), values.end(), [](int v) { return v == missing; })) return false;
        write_record(st, digit, year, values);
        return true;
    }

    bool close() {
        bool ok = data_.close();
        if (failed_) ok = failed_->close() && ok;
        return ok;
    }
    const DataFileSummary& summary() const { return summary_; }

private:
    void write_record(const Station& st, int digit, int year, const Year& values) {
        std::string& s = data_.line();
        put_station_id(s, st);
        put_int(s, digit, 1);
        put_int(s, year, 4);
        for (int v : values) put_int(s, v, 5);
        data_.end_line();
        ++summary_.records;
        if (st.id() != last_station_) ++summary_.stations;
        if (st.id() != last_station_ || digit != last_digit_) ++summary_.series;
        last_station_ = st.id();
        last_digit_ = digit;
    }
    // (i3,i8,2x,i4,i3,i6); the skipped columns hold the duplicate digit and a blank.
    void write_failed(const Station& st, int digit, int year, int month, int value) {
        std::string& s = failed_->line();
        put_station_id(s, st);
        put_int(s, digit, 1);
        s += ' ';
        put_int(s, year, 4);
        put_int(s, month, 3);
        put_int(s, value, 6);
        failed_->end_line();
        ++summary_.failed_values;
    }

    std::string name_;
    LineFile data_;
    std::unique_ptr<LineFile> failed_;
    double fail_p_;
    DataFileSummary summary_;
    std::int64_t last_station_ = -1;
    int last_digit_ = -1;
};

}  // namespace corvane::data_set
