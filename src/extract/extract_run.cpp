#include "extract/extract_run.hpp"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/country_list.hpp"
#include "app/getit.hpp"
#include "app/run_data.hpp"
#include "app/search_report.hpp"
#include "app/variable_table.hpp"
#include "extract/csv_tables.hpp"
#include "extract/progress.hpp"
#include "extract/quiet_console.hpp"
#include "extract/staging.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace corvane::extract {

namespace {

namespace fs = std::filesystem;
using namespace fmtio;

constexpr std::string_view program = "corvane-extract";
constexpr int status_failed = 1;
constexpr int status_bad_argument = 2;

// What one run reads and writes.
struct Plan {
    fs::path data_dir;
    fs::path out_dir;
    std::vector<std::string_view> inputs;   // names in data_dir
    std::vector<std::string_view> outputs;  // names in out_dir
};

// The state that the end of the program needs when the run-time ends it early.
struct RunState {
    Plan plan;
    bool force = false;
    Staging staging;
    Progress* progress = nullptr;
    bool started = false;   // files are being written in the working directory
    bool finished = false;  // the outputs are complete
};

RunState& run_state() {
    static RunState s;
    return s;
}

app::RunData& run_data() {
    static app::RunData run;  // the table of stations is large: not on the stack
    return run;
}

void complain(const std::string& text) { std::cerr << program << ": " << text << '\n' << std::flush; }

Plan make_plan(const ExtractOptions& o) {
    const app::VariableFiles& v = app::variable_files(o.variable_choice);
    Plan p;
    p.data_dir = fs::absolute(o.data_dir).lexically_normal();
    p.out_dir = fs::absolute(o.out_dir).lexically_normal();
    if (o.country) p.inputs.push_back(v.country_codes_file);
    p.inputs.push_back(v.inventory_file);
    p.inputs.push_back(v.data_file);
    if (!v.failed_qc_file.empty()) p.inputs.push_back(v.failed_qc_file);
    p.outputs = {"GHCNv2_Log_File", "GHCNv2_tsf"};
    if (!v.failed_qc_file.empty()) p.outputs.push_back("GHCNv2_Failed_Values_File");
    if (o.csv) {
        p.outputs.push_back(stations_csv);
        p.outputs.push_back(values_csv);
    }
    return p;
}

// Every input must be a readable file; each one that is not is named.
int check_inputs(const Plan& p) {
    int status = 0;
    for (std::string_view name : p.inputs) {
        const fs::path path = p.data_dir / name;
        std::error_code error;
        const fs::file_status st = fs::status(path, error);
        if (!fs::exists(st)) complain(path.string() + ": no such file");
        else if (!fs::is_regular_file(st)) complain(path.string() + ": not a regular file");
        else if (::access(path.c_str(), R_OK) != 0) complain(path.string() + ": " + std::strerror(errno));
        else continue;
        status = status_failed;
    }
    return status;
}

// The output directory must be a directory if it exists, and without --force no output
// file may exist in it.
int check_outputs(const Plan& p, bool force) {
    std::error_code error;
    const fs::file_status dir = fs::status(p.out_dir, error);
    if (fs::exists(dir) && !fs::is_directory(dir)) {
        complain(p.out_dir.string() + ": not a directory");
        return status_failed;
    }
    if (force || !fs::exists(dir)) return 0;
    int status = 0;
    for (std::string_view name : p.outputs) {
        const fs::path path = p.out_dir / name;
        if (!fs::exists(fs::symlink_status(path, error))) continue;
        complain(path.string() + ": exists; give --force to replace it");
        status = status_failed;
    }
    return status;
}

// The name that the dialogue's country step takes for `code`: that of the last entry with
// the code (the country-code file is read from the working directory).
std::optional<std::string> country_name(std::int32_t variable_choice, std::int32_t code) {
    static app::CountryList list;
    app::read_country_list(list, variable_choice);
    std::optional<std::string> name;
    for (int i = 0; i < list.count; ++i) {
        if (app::country_code_of(list.entries[i]) == code) name = std::string(app::country_name_of(list.entries[i]));
    }
    return name;
}

// A bound as the dialogue reads the answer typed to the nearest hundredth.
float latitude(std::int32_t hundredths) {
    const Text<6> answer(hundredths_text(hundredths, 6));
    float value = 0;
    read(internal_unit(answer), fmt<"(f6.2)">, value);
    return value;
}

float longitude(std::int32_t hundredths) {
    const Text<7> answer(hundredths_text(hundredths, 7));
    float value = 0;
    read(internal_unit(answer), fmt<"(f7.2)">, value);
    return value;
}

// The criteria that the dialogue would hold after the equivalent answers; criteria are
// numbered in the order country, area, elevation.
app::SelectionCriteria criteria_from(const ExtractOptions& o, std::string_view name) {
    app::SelectionCriteria c;
    std::string digits;
    if (o.country) {
        c.use_country = 1;
        c.country_code = *o.country;
        c.country_name = name;
        digits += '1';
    }
    if (o.box) {
        c.use_area = 1;
        c.max_lat = latitude(o.box->north);
        c.min_lat = latitude(o.box->south);
        c.max_lon = longitude(o.box->east);
        c.min_lon = longitude(o.box->west);
        if (c.max_lon < c.min_lon) c.crosses_dateline = 1;
        digits += '2';
    }
    if (o.elevation) {
        c.use_elevation = 1;
        c.min_elevation = o.elevation->min;
        c.max_elevation = o.elevation->max;
        digits += '3';
    }
    c.criteria_digits = digits;
    c.selection_score = static_cast<std::int32_t>(digits.size());
    c.reject_missing_elevation = o.reject_missing_elevation;
    c.transform_longitude = o.lon360;
    return c;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

// The run-time ends the program while the files are being written: a record that cannot
// be read, a run-time error, an interruption. What was written is moved into place, as
// the dialogue leaves it, and the run never ends as a success.
void at_program_end(int exit_code) {
    RunState& s = run_state();
    if (!s.started || s.finished) return;
    if (s.progress) s.progress->clear();
    if (exit_code == app::exit_stopped) {
        // The extraction's own report of the record it could not read.
        for (const std::string& line : held_console_lines()) complain(trimmed(line));
    }
    for (const std::string& failure : s.staging.publish(s.plan.outputs, s.force)) complain(failure);
    complain("the extraction stopped; what was written so far is in " + s.plan.out_dir.string());
    if (exit_code == 0) units::exit_program(app::exit_stopped);
}

std::string stations(int count) { return std::to_string(count) + (count == 1 ? " station" : " stations"); }

std::string summary(const app::RunData& run, const ExtractOptions& o, const Plan& p) {
    const app::SelectedStations& st = run.stations;
    std::string line = std::string(run.variable_label.trimmed()) + ": " + stations(st.selected_count) + " selected, " +
                       std::to_string(run.found_count) + " found";
    if (const int kept = missing_elevation_answers(); kept > 0) {
        line += ", " + stations(kept) + " kept without an elevation";
    }
    if (st.left_out_count > 0) {
        line += ", " + stations(st.left_out_count) + " more left out (the list holds " +
                std::to_string(app::max_stations) + ")";
    }
    return line + "; " + std::to_string(p.outputs.size()) + " files written in " + o.out_dir.string();
}

int enter(const fs::path& dir) {
    if (::chdir(dir.c_str()) == 0) return 0;
    complain(dir.string() + ": " + std::strerror(errno));
    return status_failed;
}

// Reads the country-code list and fills the run data; 0, or the status to end with.
int prepare_run(const ExtractOptions& o, app::RunData& run) {
    const Plan& p = run_state().plan;
    if (int status = enter(p.data_dir)) return status;
    std::string name;
    if (o.country) {
        const std::optional<std::string> found = country_name(o.variable_choice, *o.country);
        if (!found) {
            const fs::path list = p.data_dir / app::variable_files(o.variable_choice).country_codes_file;
            complain("--country: " + std::to_string(*o.country) + ": expected a code listed in " + list.string());
            return status_bad_argument;
        }
        name = *found;
    }
    run.variable_choice = o.variable_choice;
    app::assign_variable_names(run);
    run.criteria = criteria_from(o, name);
    return 0;
}

// Makes the output directory and the working directory, and enters the latter.
int prepare_files() {
    RunState& s = run_state();
    std::error_code error;
    fs::create_directories(s.plan.out_dir, error);
    if (error) {
        complain(s.plan.out_dir.string() + ": " + error.message());
        return status_failed;
    }
    if (const std::string failure = s.staging.create(s.plan.out_dir, s.plan.data_dir, s.plan.inputs); !failure.empty()) {
        complain(failure);
        s.staging.publish({}, false);
        return status_failed;
    }
    return enter(s.staging.dir());
}

// The search, the extraction and the tables; then the files are moved into place.
int extract(const ExtractOptions& o, app::RunData& run, Progress& progress) {
    RunState& s = run_state();
    s.started = true;
    progress.set_phase(Progress::Phase::searching);
    app::search_report(run);
    progress.set_phase(Progress::Phase::extracting);
    app::getit(run);
    units::close_unit(app::log_unit);

    int status = 0;
    if (o.csv) {
        const CsvResult csv = write_csv_tables(run, s.staging.dir());
        if (csv.unreadable_after) {
            complain((s.plan.data_dir / run.data_file_name.trimmed()).string() +
                     ": a record cannot be read (the last station number read is " +
                     std::to_string(*csv.unreadable_after) + "); values.csv ends before it");
            status = status_failed;
        } else if (!csv.error.empty()) {
            complain(csv.error);
            status = status_failed;
        }
    }
    s.finished = true;
    progress.clear();
    if (int error = enter(s.plan.out_dir)) status = error;  // leave the working directory before it goes
    for (const std::string& failure : s.staging.publish(s.plan.outputs, o.force)) {
        complain(failure);
        status = status_failed;
    }
    complain(summary(run, o, s.plan));
    return status;
}

}  // namespace

int run_extraction(const ExtractOptions& options, char* program_path) {
    RunState& s = run_state();
    s.plan = make_plan(options);
    s.force = options.force;
    const int inputs = check_inputs(s.plan);
    const int outputs = check_outputs(s.plan, options.force);
    if (inputs != 0 || outputs != 0) return status_failed;

    app::RunData& run = run_data();
    static Progress progress(run, ::isatty(STDERR_FILENO) == 1);
    s.progress = &progress;
    char* words[] = {program_path, nullptr};
    units::start_runtime(1, words);
    install_quiet_console({&progress, !options.reject_missing_elevation, at_program_end});

    int status = prepare_run(options, run);
    if (status == 0) status = prepare_files();
    if (status == 0) status = extract(options, run, progress);
    units::terminate_program(status);
}

}  // namespace corvane::extract
