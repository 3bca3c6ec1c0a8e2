// Runs of values, one series each.
#include "extract/series_groups.hpp"

namespace corvane::extract {

void SeriesGroups::add(const ValueRow& row) {
    if (!current_.empty() && current_.back().series != row.series) flush();
    if (current_.empty() && !done_.insert(row.series).second && split_series_.empty()) split_series_ = row.series;
    current_.push_back(row);
}

void SeriesGroups::flush() {
    if (current_.empty()) return;
    handler_(current_);
    current_.clear();
}

}  // namespace corvane::extract
