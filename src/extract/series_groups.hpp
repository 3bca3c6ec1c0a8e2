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

class SeriesGroups {
public:
    using Handler = std::function<void(const std::vector<ValueRow>&)>;
    explicit SeriesGroups(Handler handler) : handler_(std::move(handler)) {}

    // Adds a value; hands on the previous series when this one starts another.
    void add(const ValueRow& row);
    // Hands on the last series.
    void flush();
    // The first series whose values came in two separate runs, empty when none did.
    const std::string& split_series() const { return split_series_; }

private:
    Handler handler_;
    std::vector<ValueRow> current_;
    std::unordered_set<std::string> done_;
    std::string split_series_;
};

}  // namespace corvane::extract
