// Runs of values, one series each.
#include "extract/series_groups.hpp"

namespace corvane::extract {

bool SeriesRuns::starts_new_run(const ValueRow& row) {
    any_ = true;
    current_ = row.series;
    if (!done_.insert(row.series).second && split_series_.empty()) split_series_ = row.series;
    return true;
}

void SeriesGroups::add(const ValueRow& row) {
    if (runs_.starts_run(row)) flush();
    current_.push_back(row);
}

void SeriesGroups::flush() {
    if (current_.empty()) return;
    handler_(current_);
    current_.clear();
}

}  // namespace corvane::extract
