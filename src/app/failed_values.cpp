#include "app/failed_values.hpp"

#include <algorithm>

#include "fmtio/statement_api.hpp"

namespace corvane::app {

using namespace fmtio;

FailedValues::Load FailedValues::load(int unit_number, FailedRecord& last) {
    loaded_ = true;
    Load result = Load::whole_file;
    for (;;) {
        const auto outcome = read(unit(unit_number), on_end | on_err, fmt<"22(i3,i8,2x,i4,i3,i6)">,
                                 last.fail_country, last.fail_station_id, last.fail_year, last.fail_month,
                                 last.fail_value);
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
