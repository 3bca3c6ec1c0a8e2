#include "extract/extract_run.hpp"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/build_info.hpp"
#include "app/getit.hpp"
#include "app/run_data.hpp"
#include "app/search_report.hpp"
#include "app/variable_names.hpp"
#include "extract/criteria_from_options.hpp"
#include "extract/ghcnm_extract.hpp"
#include "extract/more_outputs.hpp"
#include "extract/selection_arguments.hpp"
#include "extract/csv_tables.hpp"
#include "extract/manifest.hpp"
#include "extract/progress.hpp"
#include "extract/quiet_console.hpp"
#include "extract/report.hpp"
#include "extract/run_plan.hpp"
#include "extract/run_publication.hpp"
#include "extract/staging.hpp"
#include "extract/version2_criteria.hpp"
#include "extract/version2_prepass.hpp"
#include "extract/version2_series_feed.hpp"
#include "fmtio/statement_api.hpp"
#include "extract/dataset_choice.hpp"
#include "ghcn/variables.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace corvane::extract {

namespace {

namespace fs = std::filesystem;

// The state that the end of the program needs when the run-time ends it early.
struct RunState {
    Plan plan;
    bool force = false;
    Staging staging;
    Progress* progress = nullptr;
    const MoreOutputs* more = nullptr;
    bool started = false;   // files are being written in the working directory
    bool finished = false;  // the outputs are complete
    std::optional<std::set<std::string>> ids;  // --id and --ids-from
    std::chrono::system_clock::time_point started_at = std::chrono::system_clock::now();
    fs::path started_in = fs::current_path();
};

RunState& run_state() {
    static RunState s;
    return s;
}

app::RunData& run_data() {
    static app::RunData run;  // the table of stations is large: not on the stack
    return run;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

// The run-time ends the program while the files are being written: a record that cannot
// be read, a run-time error, an interruption. What was written of the tables and logs is
// moved into place, as the dialogue leaves it, and the run never ends as a success.
void at_program_end(int exit_code) {
    RunState& s = run_state();
    if (!s.started || s.finished) return;
    if (s.progress) s.progress->clear();
    if (exit_code == app::exit_stopped) {
        // The extraction's own report of the record it could not read.
        for (const std::string& line : held_console_lines()) complain(trimmed(line));
    }
    const Publication published = publish_run(s.staging, s.plan.outputs, *s.more, RunEnd::stopped, s.force);
    for (const std::string& failure : published.failures) complain(failure);
    if (const std::string line = withheld_line(published); !line.empty()) complain(line);
    complain("the extraction stopped; what was written so far is in " + s.plan.out_dir.string());
    if (exit_code == 0) units::exit_program(app::exit_stopped);
}

std::string stations(int count) { return std::to_string(count) + (count == 1 ? " station" : " stations"); }

// The files of the whole set (every variable's outputs, the tables) that this run did not
// write but that stand in the output directory: an earlier run's, not this one's.
std::string left_from_earlier_run(const Plan& p) {
    std::vector<std::string_view> all = {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File", stations_csv,
                                         values_csv};
    std::string names;
    for (std::string_view name : all) {
        std::error_code ignored;
        if (std::find(p.outputs.begin(), p.outputs.end(), name) != p.outputs.end()) continue;
        if (!fs::exists(fs::symlink_status(p.out_dir / name, ignored))) continue;
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return names.empty() ? names : "; " + names + " left from an earlier run";
}

// `published`: the outputs meant for the output directory; `in_place`: those moved there;
// `incomplete`: those of them that miss what lay beyond a record the run could not read.
std::string summary(const app::RunData& run, const ExtractOptions& o, const Plan& p, const Publication& published,
                    int in_place, int incomplete) {
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
    line += "; " + std::to_string(std::max(in_place - incomplete, 0)) + " files written in " + o.out_dir.string();
    const auto not_moved = static_cast<int>(published.names.size()) - in_place;
    if (not_moved > 0) line += ", " + std::to_string(not_moved) + " not moved there";
    return line + left_from_earlier_run(p);
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
            const fs::path list = p.data_dir / ghcn::variable_files(o.variable_choice).country_codes_file;
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
    if (const std::string failure = s.staging.make_output_dir(s.plan.out_dir); !failure.empty()) {
        complain(failure);
        return status_failed;
    }
    if (const std::string failure = s.staging.create(s.plan.out_dir, s.plan.data_dir, s.plan.inputs); !failure.empty()) {
        complain(failure);
        s.staging.abandon();
        return status_failed;
    }
    return enter(s.staging.dir());
}


// The extraction's one pass over the data file, which feeds the tables and every other
// output; the reasons why an output could not be completed.
std::vector<std::string> extraction_pass(const ExtractOptions& o, app::RunData& run, std::optional<CsvTables>& tables) {
    std::vector<std::string> errors;
    const std::vector<SeriesSink*>& sinks = more_outputs(o).sinks;
    if (sinks.empty()) {
        if (tables) app::getit(run, *tables);
        else app::getit(run);
        return errors;
    }
    Version2SeriesFeed feed(run, sinks, tables ? &*tables : nullptr);
    if (o.years) feed.limit_years(o.years->first, o.years->last);
    feed.begin(o.variable_name.empty() ? std::to_string(o.variable_choice) : o.variable_name);
    app::getit(run, feed);
    std::optional<std::pair<double, double>> place;
    if (o.near) place = std::pair{o.near->latitude, o.near->longitude};
    feed.finish(place, errors);
    return errors;
}

// manifest.json beside the outputs once they are in place; 0, or the status to end with.
int write_run_manifest(const ExtractOptions& o, const app::RunData& run, const Publication& published, int status) {
    const RunState& s = run_state();
    ManifestRun m{.program = std::string(program_name), .version = std::string(corvane::version),
                  .command = o.command, .working_directory = s.started_in};
    m.criteria = manifest_criteria(o.command);
    for (std::string_view name : s.plan.inputs) m.inputs.push_back(fs::absolute(s.plan.data_dir / name));
    for (std::string_view name : published.names) m.outputs.push_back(s.plan.out_dir / name);
    m.outputs.insert(m.outputs.end(), published.placed.begin(), published.placed.end());
    m.counts = {.selected = run.stations.selected_count, .found = run.found_count,
                .values_written = run.values_written, .values_dropped = run.failed_values_written};
    m.started = s.started_at;
    m.ended = std::chrono::system_clock::now();
    m.exit_status = status;
    const std::string failure = write_manifest(m, s.plan.out_dir / manifest_json);
    if (failure.empty()) return 0;
    complain(failure);
    return status_failed;
}

// The files moved into place as the run's end allows, the manifest beside them and the
// summary line; the status to end with.
int publish_and_report(const ExtractOptions& o, const app::RunData& run, RunEnd end, int status, int incomplete) {
    RunState& s = run_state();
    const Publication published = publish_run(s.staging, s.plan.outputs, *s.more, end, o.force);
    for (const std::string& failure : published.failures) complain(failure);
    if (end == RunEnd::failed) return status_failed;  // its reasons said it all: nothing was written
    if (const std::string line = withheld_line(published); !line.empty()) complain(line);
    if (!published.failures.empty()) status = status_failed;
    else if (const int manifest = write_run_manifest(o, run, published, status)) status = manifest;
    complain(summary(run, o, s.plan, published, s.staging.in_place(), incomplete));
    return status;
}

// The search, the extraction and the tables; then the files are moved into place.
// --nearest and --min-years: the stations that meet every criterion, found before the search.
int restrict_to_prepass(const ExtractOptions& o, app::RunData& run) {
    if (run_state().ids) name_ids_not_in_inventory(*run_state().ids, run.variable_choice);
    int status = 0;
    const std::optional<std::set<std::int64_t>> allowed = version2_prepass(o, run, run.also_selects, status);
    if (status != 0) {
        RunState& s = run_state();
        enter(s.plan.out_dir);
        s.staging.abandon();
        return status;
    }
    if (allowed) {
        run.also_selects = [allowed = *allowed](const ghcn::InventoryStation& st) {
            return allowed.contains(version2_station_key(st.country, st.id));
        };
    }
    return 0;
}

int extract(const ExtractOptions& o, app::RunData& run, Progress& progress) {
    RunState& s = run_state();
    if (const int status = restrict_to_prepass(o, run)) return status;
    s.started = true;
    progress.set_phase(Progress::Phase::searching);
    app::search_report(run);
    progress.set_phase(Progress::Phase::extracting);
    // The tables take their rows from the extraction's pass over the data file.
    std::optional<CsvTables> tables;
    if (o.csv) tables.emplace(run.stations, run.variable_choice);
    if (tables && o.near) tables->list_nearest_first(o.near->latitude, o.near->longitude);
    if (tables && o.years) tables->limit_years(o.years->first, o.years->last);
    const std::vector<std::string> sink_errors = extraction_pass(o, run, tables);
    for (const std::string& line : more_outputs_log_lines(more_outputs(o))) {
        fmtio::write(fmtio::unit(app::log_unit), fmtio::fmt<"(a)">, line);
    }
    units::close_unit(app::log_unit);

    int status = sink_errors.empty() ? 0 : status_failed;
    for (const std::string& error : sink_errors) complain(error);
    int incomplete = 0;
    bool data_complete = true;
    if (tables) {
        const CsvResult csv = tables->finish(run);
        if (csv.unreadable_after) {
            complain((s.plan.data_dir / run.data_file_name.trimmed()).string() +
                     ": a record cannot be read (the last station number read is " +
                     std::to_string(*csv.unreadable_after) + "); values.csv ends before it");
            status = status_failed;
            data_complete = false;
        }
        if (!csv.complete) incomplete = 2;  // both tables miss what lay beyond that record
    }
    s.finished = true;
    progress.clear();
    if (int error = enter(s.plan.out_dir)) status = error;  // leave the working directory before it goes
    return publish_and_report(o, run, run_end(data_complete, sink_errors.empty()), status, incomplete);
}

// The version 2 options read as the dialogue's answers: a country is a number there.
int check_version2_options(const ExtractOptions& o) {
    if (!o.country_text.empty() && !o.country) {
        complain("--country: " + o.country_text + ": " + std::get<std::string>(parse_country(o.country_text)));
        return status_bad_argument;
    }
    return 0;
}

}  // namespace

int run_extraction(const ExtractOptions& options, char* program_path) {
    const int edition = edition_to_read(options);
    if (edition == 0) return status_bad_argument;
    if (edition != 2) run_ghcnm_extraction(options, edition, more_outputs(options), program_path);
    if (const int status = check_version2_options(options)) return status;
    RunState& s = run_state();
    s = RunState{};  // a harness may run the extraction again in one process
    s.plan = make_plan(options);
    const std::vector<std::string_view>& more_files = more_outputs(options).files;
    s.plan.outputs.insert(s.plan.outputs.end(), more_files.begin(), more_files.end());
    s.force = options.force;
    s.more = &more_outputs(options);
    const int inputs = check_inputs(s.plan);
    const int outputs = check_outputs(s.plan, options.force) | check_more_outputs(options, s.plan.outputs);
    if (inputs != 0 || outputs != 0) return status_failed;

    app::RunData& run = run_data();
    run = app::RunData{};
    static Progress progress(run, ::isatty(STDERR_FILENO) == 1);
    s.progress = &progress;
    char* words[] = {program_path, nullptr};
    units::start_runtime(1, words);
    install_quiet_console({&progress, !options.reject_missing_elevation, at_program_end});

    if (!version2_ids(options, s.ids)) units::terminate_program(status_failed);
    run.also_selects = version2_filter(options, s.ids);
    int status = prepare_run(options, run);
    if (status == 0) status = prepare_files();
    if (status == 0) status = extract(options, run, progress);
    units::terminate_program(status);
}

}  // namespace corvane::extract
