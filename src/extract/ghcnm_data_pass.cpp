// Both passes read the file through the data set's reader, so that a malformed record or a
// damaged `.gz` stops them at the same place with the same description.
#include "extract/ghcnm_data_pass.hpp"

#include <array>

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

// A record's rows share its year: the years are taken once for them all.
void add_to_totals(const RecordRows& rows, StationTotals& t) {
    const std::int32_t year = rows[0].year;
    if (t.first_year == 0 || year < t.first_year) t.first_year = year;
    if (year > t.last_year) t.last_year = year;
    for (const ValueRow& row : rows) t.values += row.value ? 1 : 0;
}

}  // namespace

QcLetters::QcLetters(const QcPolicy& policy) : keep_(policy.keep) {
    for (int c = 0; c < 256; ++c) {
        const char letter = static_cast<char>(c);
        const auto i = static_cast<std::size_t>(c);
        known_[i] = letter == ' ' || ghcn::find_qc_flag(policy.edition, policy.kind, letter).has_value();
        fails_[i] = ghcn::drops_value(policy.edition, policy.kind, letter, 0);
    }
}

namespace {

void fill_value_row(const ghcn::MonthValue& v, const QcLetters& qc, std::set<char>& unknown, ValueRow& row) {
    row.dmflag = v.dmflag;
    row.qcflag = v.qcflag;
    row.dsflag = v.dsflag;
    row.trace = false;
    if (v.hundredths == ghcn::missing_value) {
        row.value = row.file_value = std::nullopt;
        row.failed_check = row.dropped = false;
        return;
    }
    row.file_value = v.hundredths;
    row.failed_check = qc.fails(v.qcflag);
    if (!qc.known(v.qcflag)) unknown.insert(v.qcflag);
    row.dropped = row.failed_check && !qc.keep();
    if (row.dropped) row.value = std::nullopt;
    else row.value = v.hundredths;
}

}  // namespace

void fill_record_rows(const ghcn::GhcnmRecord& record, const QcLetters& qc, std::set<char>& unknown,
                      RecordRows& rows) {
    const bool same_station = rows[0].series == record.id && rows[0].station == record.id;
    for (std::size_t m = 0; m < rows.size(); ++m) {
        ValueRow& row = rows[m];
        if (!same_station) row.series = row.station = record.id;
        row.year = record.year;
        row.month = static_cast<std::int32_t>(m) + 1;
        fill_value_row(record.months[m], qc, unknown, row);
    }
}

PassResult count_months(const std::string& path, const QcPolicy& policy,
                        const std::unordered_set<std::string>& candidates, const std::optional<YearWindow>& years,
                        YearMonths& months) {
    const QcLetters qc(policy);
    RecordRows rows;
    return each_record(path, [&](const ghcn::GhcnmRecord& record, PassResult& result) {
        if (!in_window(record.year, years) || !candidates.contains(record.id)) return;
        std::uint16_t& mask = months[record.id][record.year];
        fill_record_rows(record, qc, result.unknown_flags, rows);
        for (std::size_t m = 0; m < rows.size(); ++m) {
            if (rows[m].value) mask |= static_cast<std::uint16_t>(1u << m);
        }
    });
}

PassResult write_series(const std::string& path, const QcPolicy& policy,
                        std::unordered_map<std::string, StationTotals>& selected,
                        const std::optional<YearWindow>& years, const std::vector<SeriesSink*>& sinks) {
    const QcLetters qc(policy);
    RecordRows rows;  // kept from record to record: the same station's id stays
    std::string station_id;
    StationTotals* station = nullptr;
    return each_record(path, [&](const ghcn::GhcnmRecord& record, PassResult& result) {
        if (!in_window(record.year, years)) return;
        // A station's records stand together: its totals are looked up once for them all.
        if (station_id != record.id) {
            station_id = record.id;
            const auto found = selected.find(record.id);
            station = found == selected.end() ? nullptr : &found->second;
        }
        if (!station) return;
        fill_record_rows(record, qc, result.unknown_flags, rows);
        add_to_totals(rows, *station);
        for (SeriesSink* sink : sinks) sink->values(rows);
    });
}

}  // namespace corvane::extract
