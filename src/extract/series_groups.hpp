// The values of one series at a time. The data files hold each series' records together,
// so the values an extraction hands on in file order fall into runs, one per series; the
// derived series and the netCDF file's ragged array are built a run at a time, and memory
// holds one series, never the whole extraction.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "extract/series_sink.hpp"

namespace corvane::extract {

// The runs told apart as the values come, without holding them.
class SeriesRuns {
public:
    // Whether `row` starts a run: the first value, or one of another series than the last.
    // Asked of every value: the common answer, no, is given inline.
    bool starts_run(const ValueRow& row) { return !(any_ && current_ == row.series) && starts_new_run(row); }
    // The first series whose values came in two separate runs, empty when none did.
    const std::string& split_series() const { return split_series_; }

private:
    bool starts_new_run(const ValueRow& row);

    std::string current_;
    bool any_ = false;
    std::unordered_set<std::string> done_;
    std::string split_series_;
};

class SeriesGroups {
public:
    using Handler = std::function<void(const std::vector<ValueRow>&)>;
    explicit SeriesGroups(Handler handler) : handler_(std::move(handler)) {}

    // Adds a value; hands on the previous series when this one starts another.
    void add(const ValueRow& row);
    // Hands on the last series.
    void flush();
    // The first series whose values came in two separate runs, empty when none did.
    const std::string& split_series() const { return runs_.split_series(); }

private:
    Handler handler_;
    std::vector<ValueRow> current_;
    SeriesRuns runs_;
};

}  // namespace corvane::extract
