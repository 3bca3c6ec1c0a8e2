// The extraction as it was first designed, kept as the reference of the fast one: every
// data record is compared with every row of the table, and the failed-QC file is read from
// its beginning for each station found. The fast extraction must write the same bytes.
// It is a frozen copy on purpose: it keeps its own record layouts, formats, file names and
// rules rather than calling src/ghcn, so that a change made there cannot change the
// reference along with what it checks. (The data set's own reading has since become
// stricter: a record cut short is unreadable there; the reference's cases hold none.)
#include "equivalence/reference_getit.hpp"

#include <array>

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace corvane::testing {

namespace {

using namespace fmtio;
using namespace app;

constexpr int data_unit = 14;
constexpr int series_unit = 15;
constexpr int failed_values_unit = 16;
constexpr int failed_qc_unit = 17;
constexpr std::string_view series_format_note = "(i4,12f5.1)";
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

struct DataRecord {
    std::int32_t rec_country = 0;
    std::int32_t rec_station_id = 0;
    std::int32_t rec_duplicate = 0;
    std::int32_t rec_year = 0;
    std::array<std::int32_t, 12> rec_values{};
};

struct FailedRecord {
    std::int32_t fail_country = 0;
    std::int32_t fail_station_id = 0;
    std::int32_t fail_year = 0;
    std::int32_t fail_month = 0;
    std::int32_t fail_value = 0;
};

enum class ReadResult { record, end_of_file };

// The working state of one extraction.
class Extraction {
public:
    explicit Extraction(RunData& run) : run_(run), s_(run.stations), odd_(run.variable_choice % 2 == 1) {}

    void run();

private:
    void open_files();
    void start_log_and_titles();
    ReadResult read_data(FormatRef error_message);
    void write_data_line();
    bool match_record();
    void copy_failed_values();
    void finish();
    [[noreturn]] void error_exit(FormatRef message, std::int32_t station);

    RunData& run_;
    SelectedStations& s_;
    const bool odd_;
    DataRecord rec_;
    FailedRecord fail_;
    std::int32_t found_flag_ = 0;
    std::int32_t duplicate_pending_ = 0;
    std::int32_t current_station_id_ = 0;
    StationName current_station_name_;
    std::int32_t current_duplicate_ = 0;
    std::int32_t failed_index_ = 1;
};

// An output file that cannot be opened is reported and ends the run: its writes must not
// go to a default file while the run reports success.
void Extraction::open_files() {
    units::open_unit({.unit = data_unit, .file = run_.data_file_name.view(), .status = "OLD", .action = "READ"});
    units::open_unit({.unit = series_unit, .file = "GHCNv2_tsf", .status = "UNKNOWN"});
    if (odd_) {
        units::open_unit(
            {.unit = failed_qc_unit, .file = run_.failed_qc_file_name.view(), .status = "OLD", .action = "READ"});
        units::open_unit({.unit = failed_values_unit, .file = "GHCNv2_Failed_Values_File", .status = "UNKNOWN"});
    }
}

void Extraction::start_log_and_titles() {
    const VariableTexts& texts = variable_texts[run_.variable_choice - 1];
    write(default_unit, texts.console_line);
    write(unit(series_unit), texts.series_title);
    if (odd_) write(unit(failed_values_unit), texts.failed_title);
    run_.found_count = 0;
    write(unit(log_unit), fmt<"(//4x,'Stations Found in ',a,' data file',/)">, run_.variable_label);
    duplicate_pending_ = 0;
}

ReadResult Extraction::read_data(FormatRef error_message) {
    const auto outcome = read(unit(data_unit), on_end | on_err, fmt<"15(I3,I8,i1,i4,12I5)">, rec_.rec_country,
                             rec_.rec_station_id, rec_.rec_duplicate, rec_.rec_year, rec_.rec_values);
    if (outcome == units::outcome_error) error_exit(error_message, rec_.rec_station_id);
    return outcome == units::outcome_end ? ReadResult::end_of_file : ReadResult::record;
}

void Extraction::write_data_line() {
    write(unit(series_unit), fmt<"(i4,12i5)">, rec_.rec_year, rec_.rec_values);
}

// Compares the record with every row; the first matching row starts a series.
bool Extraction::match_record() {
    found_flag_ = 0;
    for (std::int32_t i = 0; i < s_.selected_count; ++i) {
        if (s_.station_id[i] != rec_.rec_station_id || found_flag_ == 1) continue;
        found_flag_ = 1;
        if (run_.criteria.transform_longitude && s_.station_lon[i] < 0.0f) s_.station_lon[i] += 360.0f;
        if (duplicate_pending_ == 1) {
            write(unit(series_unit), fmt<"(f6.2,f7.2,i5,1x,a,1x,i3,i8,2x,a,1x,a)">, s_.station_lon[i],
                  s_.station_lat[i], s_.station_elevation[i], series_format_note, rec_.rec_country,
                  rec_.rec_station_id, s_.station_name[i], duplicate_note);
            write(unit(log_unit), fmt<"(4x,f6.2,f7.2,i5,1x,a,1x,i3,i8,2x,a,1x,a)">, s_.station_lon[i],
                  s_.station_lat[i], s_.station_elevation[i], series_format_note, rec_.rec_country,
                  rec_.rec_station_id, s_.station_name[i], duplicate_note);
            duplicate_pending_ = 0;
        } else {
            ++run_.found_count;
            write(unit(series_unit), fmt<"(f6.2,f7.2,i5,1x,a,1x,i3,i8,1x,2x,a)">, s_.station_lon[i],
                  s_.station_lat[i], s_.station_elevation[i], series_format_note, rec_.rec_country,
                  rec_.rec_station_id, s_.station_name[i]);
            write(unit(log_unit), fmt<"(i4,f6.2,f7.2,i5,1x,a,1x,i3,i8,2x,a)">, run_.found_count,
                  s_.station_lon[i], s_.station_lat[i], s_.station_elevation[i], series_format_note,
                  rec_.rec_country, rec_.rec_station_id, s_.station_name[i]);
        }
        current_duplicate_ = rec_.rec_duplicate;
        write_data_line();
        current_station_id_ = s_.station_id[i];
        current_station_name_ = s_.station_name[i];
    }
    return found_flag_ == 1;
}

// One full scan of the failed-QC file for the current station, then a rewind.
void Extraction::copy_failed_values() {
    failed_index_ = 1;
    for (;;) {
        const auto outcome = read(unit(failed_qc_unit), on_end | on_err, fmt<"22(i3,i8,2x,i4,i3,i6)">,
                                 fail_.fail_country, fail_.fail_station_id, fail_.fail_year, fail_.fail_month,
                                 fail_.fail_value);
        if (outcome == units::outcome_error)
            error_exit(fmt<"(1x,'From getit error on first read flagfile')">, fail_.fail_station_id);
        if (outcome == units::outcome_end) {
            units::rewind_unit(failed_qc_unit);
            return;
        }
        if (fail_.fail_station_id != current_station_id_) continue;
        if (failed_index_ == 1) {
            write(unit(failed_values_unit), fmt<"(1x,i3,i8,2x,a)">, fail_.fail_country, fail_.fail_station_id,
                  current_station_name_);
        }
        write(unit(failed_values_unit), fmt<"(1x,i4,2x,i2,i6)">, fail_.fail_year, fail_.fail_month,
              fail_.fail_value);
        ++failed_index_;
    }
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
        if (read_data(fmt<"(1x,'From getit error on first read datafile')">) == ReadResult::end_of_file) break;
        // Every station found: stop early, but never before the further series of the
        // station just copied.
        if (run_.found_count == s_.selected_count && duplicate_pending_ == 0) break;
        if (!match_record()) continue;
        write(default_unit, fmt<"(1x,'Found Station:> ',i8,1x,a)">, current_station_id_, current_station_name_);

        // Copy the series until a record of another series comes up.
        bool end_of_data = false;
        for (;;) {
            if (read_data(fmt<"(1x,'From getit error on second read datafile')">) == ReadResult::end_of_file) {
                end_of_data = true;
                break;
            }
            if (rec_.rec_station_id != current_station_id_ || rec_.rec_duplicate != current_duplicate_) break;
            write_data_line();
        }
        if (end_of_data) {
            if (odd_) copy_failed_values();  // the last station's failed values are not lost
            break;
        }
        units::backspace_unit(data_unit);  // the main scan reads this record again
        if (rec_.rec_station_id == current_station_id_) {
            duplicate_pending_ = 1;
        } else if (odd_) {
            copy_failed_values();
        }
    }
    finish();
}

}  // namespace

void reference_getit(app::RunData& run) { Extraction(run).run(); }

}  // namespace corvane::testing
