#include "app/getit.hpp"

#include <algorithm>
#include <array>
#include <span>

#include "app/failed_values.hpp"
#include "app/station_lookup.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/selection_rules.hpp"
#include "ghcn/v2_output_files.hpp"
#include "ghcn/v2_records.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace corvane::app {

namespace {

using namespace fmtio;

constexpr int data_unit = 14;
constexpr int series_unit = 15;
constexpr int failed_values_unit = 16;
constexpr int failed_qc_unit = 17;
using ghcn::DataRecord;
using ghcn::series_format_note;
constexpr std::string_view duplicate_note = "*DUPLICATE RECORD*";

// The texts of each variable: its console line and the titles of the two output files.
struct VariableTexts {
    FormatRef console_line;
    FormatRef series_title;
    FormatRef failed_title;  // none for the even variables, which have no failed values
};

constexpr VariableTexts variable_texts[] = {
    {fmt<"(/4x,'Extracting Mean Temperature')">,
     fmt<"(1x,'GHCNv2 Mean Temperature: Units=tenths of degrees celsius')">,
     fmt<"(1x,'GHCNv2 Mean Temperature: Failed Values')">},
    {fmt<"(/4x,'Extracting Mean Adjusted Temperature')">,
     fmt<"(1x,'GHCNv2 Mean Adjusted Temperature: Units=tenths of degrees celsius')">, {}},
    {fmt<"(/4x,'Extracting Min. Temperature')">,
     fmt<"(1x,'GHCNv2 Min. Temperature: Units=tenths of degrees celsius')">,
     fmt<"(1x,'GHCNv2 Min. Temperature: Failed Values')">},
    {fmt<"(/4x,'Extracting Min. Adjusted Temperature')">,
     fmt<"(1x,'GHCNv2 Min. Adjusted Temperature: Units=tenths of degrees celsius')">, {}},
    {fmt<"(/4x,'Extracting Max. Temperature')">,
     fmt<"(1x,'GHCNv2 Max. Temperature: Units=tenths of degrees celsius')">,
     fmt<"(1x,'GHCNv2 Max. Temperature: Failed Values')">},
    {fmt<"(/4x,'Extracting Max. Adjusted Temperature')">,
     fmt<"(1x,'GHCNv2 Max. Adjusted Temperature: Units=tenths of degrees celsius')">, {}},
    {fmt<"(/4x,'Extracting Monthly Precipitation')">,
     fmt<"(1x,'GHCNv2 Monthly Precipitation: Units=total monthly 0.1 millimeter')">,
     fmt<"(1x,'GHCNv2 Monthly Precipitation: Failed Values')">},
    {fmt<"(/4x,'Extracting Monthly Adjusted Precipitation')">,
     fmt<"(1x,'GHCNv2 Monthly Adjusted Precipitation: Units=total monthly 0.1 millimeter')">, {}},
    {fmt<"(/4x,'Extracting Mean SLP')">, fmt<"(1x,'GHCNv2 Mean SLP: Units=tenths of millibar')">,
     fmt<"(1x,'GHCNv2 Mean SLP: Failed Values')">},
};

enum class ReadResult { record, end_of_file };

// The working state of one extraction.
class Extraction {
public:
    Extraction(RunData& run, DataRecordSink* sink)
        : run_(run), s_(run.stations), odd_(run.variable_choice % 2 == 1), lookup_(run.stations), sink_(sink) {}

    void run();

private:
    void open_files();
    void start_log_and_titles();
    ReadResult read_data(FormatRef error_message);
    ReadResult next_scanned_record();
    void write_data_line();
    void start_series(std::int32_t row);
    ReadResult copy_series();
    void copy_failed_values();
    void write_failed_values(std::span<const FailedRecord> records);
    void read_rest_for_sink();
    void finish();
    [[noreturn]] void error_exit(FormatRef message, std::int32_t station);

    RunData& run_;
    SelectedStations& s_;
    const bool odd_;
    const StationLookup lookup_;
    DataRecordSink* const sink_;
    bool at_end_ = false;  // the data file's end was read
    FailedValues failed_values_;
    DataRecord rec_;
    bool record_held_ = false;  // the main scan takes `rec_` again instead of reading
    FailedRecord fail_;
    std::int32_t duplicate_pending_ = 0;
    std::int32_t current_station_id_ = 0;
    StationName current_station_name_;
    std::int32_t current_duplicate_ = 0;
};

// An output file that cannot be opened is reported and ends the run: its writes must not
// go to a default file while the run reports success.
void Extraction::open_files() {
    ghcn::open_records_file(data_unit, run_.data_file_name.view());
    units::open_unit({.unit = series_unit, .file = ghcn::series_file_name, .status = "UNKNOWN"});
    if (odd_) {
        ghcn::open_records_file(failed_qc_unit, run_.failed_qc_file_name.view());
        units::open_unit({.unit = failed_values_unit, .file = ghcn::failed_values_file_name, .status = "UNKNOWN"});
    }
}

void Extraction::start_log_and_titles() {
    const VariableTexts& texts = variable_texts[run_.variable_choice - 1];
    write(default_unit, texts.console_line);
    write(unit(series_unit), texts.series_title);
    if (odd_) write(unit(failed_values_unit), texts.failed_title);
    run_.found_count = 0;
    run_.values_written = 0;
    run_.failed_values_written = 0;
    write(unit(log_unit), fmt<"(//4x,'Stations Found in ',a,' data file',/)">, run_.variable_label);
    duplicate_pending_ = 0;
}

ReadResult Extraction::read_data(FormatRef error_message) {
    const auto outcome = ghcn::read_data_record(data_unit, rec_);
    if (outcome == units::outcome_error) error_exit(error_message, rec_.rec_station_id);
    if (outcome == units::outcome_end) {
        at_end_ = true;
        return ReadResult::end_of_file;
    }
    if (sink_) sink_->record(rec_);
    return ReadResult::record;
}

// The records after the extraction's last station, for the sink alone: one that cannot be
// read ends them without ending the run, whose own files are complete.
void Extraction::read_rest_for_sink() {
    if (!sink_ || at_end_) return;
    for (;;) {
        const auto outcome = ghcn::read_data_record(data_unit, rec_);
        if (outcome == units::outcome_end) return;
        if (outcome == units::outcome_error) return sink_->unreadable(rec_.rec_station_id);
        sink_->record(rec_);
    }
}

// The main scan's next record: the one that ended the last series, or a new one. Reading
// that record again would store the same fields, so it is kept instead.
ReadResult Extraction::next_scanned_record() {
    if (record_held_) {
        record_held_ = false;
        return ReadResult::record;
    }
    return read_data(fmt<"(1x,'From getit error on first read datafile')">);
}

void Extraction::write_data_line() {
    write(unit(series_unit), fmt<"(i4,12i5)">, rec_.rec_year, rec_.rec_values);
    run_.values_written += std::count_if(rec_.rec_values.begin(), rec_.rec_values.end(),
                                         [](std::int32_t v) { return v != ghcn::missing_value; });
}

// The header lines of a series found in `row`, and its first data line.
void Extraction::start_series(std::int32_t row) {
    const std::size_t i = static_cast<std::size_t>(row);
    if (run_.criteria.transform_longitude) s_.station_lon[i] = ghcn::longitude_360(s_.station_lon[i]);
    if (duplicate_pending_ == 1) {
        write(unit(series_unit), fmt<"(f6.2,f7.2,i5,1x,a,1x,i3,i8,2x,a,1x,a)">, s_.station_lon[i], s_.station_lat[i],
              s_.station_elevation[i], series_format_note, rec_.rec_country, rec_.rec_station_id,
              s_.station_name[i], duplicate_note);
        write(unit(log_unit), fmt<"(4x,f6.2,f7.2,i5,1x,a,1x,i3,i8,2x,a,1x,a)">, s_.station_lon[i],
              s_.station_lat[i], s_.station_elevation[i], series_format_note, rec_.rec_country,
              rec_.rec_station_id, s_.station_name[i], duplicate_note);
        duplicate_pending_ = 0;
    } else {
        ++run_.found_count;
        write(unit(series_unit), fmt<"(f6.2,f7.2,i5,1x,a,1x,i3,i8,1x,2x,a)">, s_.station_lon[i], s_.station_lat[i],
              s_.station_elevation[i], series_format_note, rec_.rec_country, rec_.rec_station_id,
              s_.station_name[i]);
        write(unit(log_unit), fmt<"(i4,f6.2,f7.2,i5,1x,a,1x,i3,i8,2x,a)">, run_.found_count, s_.station_lon[i],
              s_.station_lat[i], s_.station_elevation[i], series_format_note, rec_.rec_country,
              rec_.rec_station_id, s_.station_name[i]);
    }
    current_duplicate_ = rec_.rec_duplicate;
    write_data_line();
    current_station_id_ = s_.station_id[i];
    current_station_name_ = s_.station_name[i];
}

// Copies the series' further records until a record of another series comes up.
ReadResult Extraction::copy_series() {
    for (;;) {
        if (read_data(fmt<"(1x,'From getit error on second read datafile')">) == ReadResult::end_of_file)
            return ReadResult::end_of_file;
        if (rec_.rec_station_id != current_station_id_ || rec_.rec_duplicate != current_duplicate_)
            return ReadResult::record;
        write_data_line();
    }
}

// The failed values of the current station, in failed-QC file order. The first station
// that needs them reads the whole file; an unreadable record ends the program there, after
// the values of the station that came before it.
void Extraction::copy_failed_values() {
    const bool first_time = !failed_values_.loaded();
    const FailedValues::Load load =
        first_time ? failed_values_.load(failed_qc_unit, fail_) : FailedValues::Load::whole_file;
    write_failed_values(failed_values_.of_station(current_station_id_));
    if (load == FailedValues::Load::unreadable_record)
        error_exit(fmt<"(1x,'From getit error on first read flagfile')">, fail_.fail_station_id);
}

void Extraction::write_failed_values(std::span<const FailedRecord> records) {
    if (records.empty()) return;
    write(unit(failed_values_unit), fmt<"(1x,i3,i8,2x,a)">, records.front().fail_country,
          records.front().fail_station_id, current_station_name_);
    for (const FailedRecord& f : records) {
        write(unit(failed_values_unit), fmt<"(1x,i4,2x,i2,i6)">, f.fail_year, f.fail_month, f.fail_value);
    }
    run_.failed_values_written += static_cast<std::int64_t>(records.size());
}

void Extraction::finish() {
    units::close_unit(series_unit);
    units::close_unit(data_unit);
    if (odd_) {
        units::close_unit(failed_qc_unit);
        units::close_unit(failed_values_unit);
    }
    write(unit(log_unit), fmt<"(/,1x,i4,' STATIONS RECORDS FOUND ')">, run_.found_count);
    write(default_unit, fmt<"(/,1x,i4,' STATIONS RECORDS FOUND ')">, run_.found_count);
}

// The run stops without its last lines: a script must not take it for a complete one.
void Extraction::error_exit(FormatRef message, std::int32_t station) {
    write(default_unit, message);
    write(default_unit, fmt<"(1x,'Last record read station ',i8)">, station);
    units::stop_program(" ", exit_stopped);
}

void Extraction::run() {
    open_files();
    start_log_and_titles();
    for (;;) {
        // The main scan: look for the next record of a selected station.
        if (next_scanned_record() == ReadResult::end_of_file) break;
        // Every station found: stop early, but never before the further series of the
        // station just copied.
        if (run_.found_count == s_.selected_count && duplicate_pending_ == 0) break;
        const std::int32_t row = lookup_.first_row(rec_.rec_station_id);
        if (row == StationLookup::no_row) continue;
        start_series(row);
        write(default_unit, fmt<"(1x,'Found Station:> ',i8,1x,a)">, current_station_id_, current_station_name_);

        if (copy_series() == ReadResult::end_of_file) {
            if (odd_) copy_failed_values();  // the last station's failed values are not lost
            break;
        }
        record_held_ = true;  // the main scan starts again at this record
        if (rec_.rec_station_id == current_station_id_) {
            duplicate_pending_ = 1;
        } else if (odd_) {
            copy_failed_values();
        }
    }
    read_rest_for_sink();
    finish();
}

}  // namespace

void getit(RunData& run) { Extraction(run, nullptr).run(); }

void getit(RunData& run, DataRecordSink& sink) { Extraction(run, &sink).run(); }

}  // namespace corvane::app
