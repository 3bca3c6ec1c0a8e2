// The passes over a version 3 or 4 data file: one that counts, per candidate station and
// year, the months whose value survives the QC policy (for --min-years), and the one that
// hands every month of every record of a selected station to the sinks, in file order,
// keeping each value's flags and applying the QC policy.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "extract/ghcnm_station_choice.hpp"
#include "extract/selection_arguments.hpp"
#include "extract/series_sink.hpp"
#include "ghcn/ghcnm_data_record.hpp"
#include "ghcn/ghcnm_qc_flags.hpp"
#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::extract {

struct QcPolicy {
    ghcn::Edition edition = ghcn::Edition::v4;
    ghcn::FileKind kind = ghcn::FileKind::qcu;
    bool keep = false;  // --qc keep
};

// What the policy makes of each QC letter, looked up once rather than for every value.
class QcLetters {
public:
    explicit QcLetters(const QcPolicy& policy);
    // A blank or a letter the readme lists.
    bool known(char letter) const { return known_[static_cast<unsigned char>(letter)]; }
    // The letter marks a failed check.
    bool fails(char letter) const { return fails_[static_cast<unsigned char>(letter)]; }
    bool keep() const { return keep_; }

private:
    std::array<bool, 256> known_{}, fails_{};
    bool keep_ = false;
};

using RecordRows = std::array<ValueRow, 12>;

// The rows of a record's twelve months under the policy, made in `rows` (whose identifiers
// stay when they hold the station already). `unknown` gathers QC letters the readme does
// not list (their values are kept).
void fill_record_rows(const ghcn::GhcnmRecord& record, const QcLetters& qc, std::set<char>& unknown,
                      RecordRows& rows);

// What was written of a station.
struct StationTotals {
    std::int32_t first_year = 0, last_year = 0;
    std::int64_t values = 0;
};

struct PassResult {
    bool complete = true;       // false: the file could not be read to its end
    ghcn::ReadProblem problem;  // where it stopped
    std::set<char> unknown_flags;
};

// Counts the surviving months of the `candidates`' years (within `years` when given).
PassResult count_months(const std::string& path, const QcPolicy& policy,
                        const std::unordered_set<std::string>& candidates, const std::optional<YearWindow>& years,
                        YearMonths& months);

// Hands the records of the `selected` stations (within `years`) to every sink and keeps
// each station's totals.
PassResult write_series(const std::string& path, const QcPolicy& policy,
                        std::unordered_map<std::string, StationTotals>& selected,
                        const std::optional<YearWindow>& years, const std::vector<SeriesSink*>& sinks);

}  // namespace corvane::extract
