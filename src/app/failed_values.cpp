#include "app/failed_values.hpp"

#include <algorithm>

#include "units/statement_context.hpp"

namespace corvane::app {

FailedValues::Load FailedValues::load(int unit_number, FailedRecord& last) {
    loaded_ = true;
    Load result = Load::whole_file;
    for (;;) {
        const auto outcome = ghcn::read_failed_record(unit_number, last);
        if (outcome == units::outcome_end) break;
        if (outcome == units::outcome_error) {
            result = Load::unreadable_record;
            break;
        }
        records_.push_back(last);
    }
    std::stable_sort(records_.begin(), records_.end(), [](const FailedRecord& a, const FailedRecord& b) {
        return a.fail_station_id < b.fail_station_id;
    });
    return result;
}

std::span<const FailedRecord> FailedValues::of_station(std::int32_t station_id) const {
    const auto by_station = [](const FailedRecord& r, std::int32_t id) { return r.fail_station_id < id; };
    const auto first = std::lower_bound(records_.begin(), records_.end(), station_id, by_station);
    auto end = first;
    while (end != records_.end() && end->fail_station_id == station_id) ++end;
    return {first, end};
}

}  // namespace corvane::app
