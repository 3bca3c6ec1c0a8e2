// Both passes read the file through the data set's reader, so that a malformed record or a
// damaged `.gz` stops them at the same place with the same description.
#include "extract/ghcnm_data_pass.hpp"

#include "ghcn/ghcnm_data_file.hpp"

namespace corvane::extract {

namespace {

bool in_window(std::int32_t year, const std::optional<YearWindow>& years) {
    return !years || (year >= years->first && year <= years->last);
}

// Reads every record of `path`, handing each to `take`.
template <class Take>
PassResult each_record(const std::string& path, Take take) {
    PassResult result;
    ghcn::DataFileReader reader;
    if (!reader.open(path, result.problem)) {
        result.complete = false;
        return result;
    }
    ghcn::GhcnmRecord record;
    ghcn::ReadStatus status;
    while ((status = reader.next(record, result.problem)) == ghcn::ReadStatus::record) take(record, result);
    result.complete = status == ghcn::ReadStatus::end_of_file;
    return result;
}

void add_to_totals(const ValueRow& row, StationTotals& t) {
    if (t.first_year == 0 || row.year < t.first_year) t.first_year = row.year;
    if (row.year > t.last_year) t.last_year = row.year;
    if (row.value) ++t.values;
}

}  // namespace

ValueRow value_row(const ghcn::GhcnmRecord& record, int m, const QcPolicy& policy, std::set<char>& unknown) {
    const ghcn::MonthValue& v = record.months[static_cast<std::size_t>(m)];
    ValueRow row{record.id, record.id, record.year, m + 1,    std::nullopt, false,
                 false,     v.dmflag,  v.qcflag,    v.dsflag, std::nullopt, false};
    if (v.hundredths == ghcn::missing_value) return row;
    row.file_value = v.hundredths;
    row.failed_check = ghcn::drops_value(policy.edition, policy.kind, v.qcflag, v.hundredths);
    if (v.qcflag != ' ' && !ghcn::find_qc_flag(policy.edition, policy.kind, v.qcflag)) unknown.insert(v.qcflag);
    row.dropped = row.failed_check && !policy.keep;
    if (!row.dropped) row.value = v.hundredths;
    return row;
}

PassResult count_months(const std::string& path, const QcPolicy& policy,
                        const std::unordered_set<std::string>& candidates, const std::optional<YearWindow>& years,
                        YearMonths& months) {
    return each_record(path, [&](const ghcn::GhcnmRecord& record, PassResult& result) {
        if (!in_window(record.year, years) || !candidates.contains(record.id)) return;
        std::uint16_t& mask = months[record.id][record.year];
        for (int m = 0; m < 12; ++m) {
            if (value_row(record, m, policy, result.unknown_flags).value) mask |= static_cast<std::uint16_t>(1u << m);
        }
    });
}

PassResult write_series(const std::string& path, const QcPolicy& policy,
                        std::unordered_map<std::string, StationTotals>& selected,
                        const std::optional<YearWindow>& years, const std::vector<SeriesSink*>& sinks) {
    return each_record(path, [&](const ghcn::GhcnmRecord& record, PassResult& result) {
        if (!in_window(record.year, years)) return;
        const auto station = selected.find(record.id);
        if (station == selected.end()) return;
        for (int m = 0; m < 12; ++m) {
            const ValueRow row = value_row(record, m, policy, result.unknown_flags);
            add_to_totals(row, station->second);
            for (SeriesSink* sink : sinks) sink->value(row);
        }
    });
}

}  // namespace corvane::extract
