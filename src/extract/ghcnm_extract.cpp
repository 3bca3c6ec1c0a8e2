// Everything that can be refused is checked before the working directory is made: the
// inputs, the outputs in the way, the inventory, the country and the identifier list. From
// then on a file that cannot be read stops the run with its place named, and what was
// written of the tables (whole rows) is published with a log that says where the run
// stopped; an output that cannot be completed fails the run, and nothing is published.
#include "extract/ghcnm_extract.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unistd.h>
#include <unordered_set>

#include "app/build_info.hpp"
#include "app/program_help.hpp"
#include "extract/background_digests.hpp"
#include "extract/csv_sinks.hpp"
#include "extract/ghcnm_data_pass.hpp"
#include "extract/ghcnm_flag_meanings.hpp"
#include "extract/ghcnm_inputs.hpp"
#include "extract/ghcnm_station_choice.hpp"
#include "extract/manifest.hpp"
#include "extract/quiet_console.hpp"
#include "extract/report.hpp"
#include "extract/run_log.hpp"
#include "extract/run_plan.hpp"
#include "extract/run_publication.hpp"
#include "extract/staging.hpp"
#include "extract/table_names.hpp"
#include "ghcn/ghcnm_country_list.hpp"
#include "ghcn/ghcnm_selection.hpp"
#include "units/termination.hpp"

namespace corvane::extract {

namespace {

namespace fs = std::filesystem;

struct Run {
    const ExtractOptions* options = nullptr;
    const MoreOutputs* more = nullptr;
    GhcnmInputs in;
    Plan plan;
    std::vector<ghcn::GhcnmStation> stations;
    std::map<std::string, std::string> country_names;
    InventoryCriteria criteria;
    std::string country_line;  // for the log
    Staging staging;
    bool started = false, finished = false;
    std::chrono::system_clock::time_point started_at = std::chrono::system_clock::now();
    fs::path started_in = fs::current_path();
    RunCounts counts;  // for the manifest
};

Run& run() {
    static Run r;
    return r;
}

[[noreturn]] void end(int status) { units::terminate_program(status); }

// The run-time ends the program while the files are being written (an interruption, a
// run-time error): what was written of the tables is published, and the run never ends
// as a success.
void at_program_end(int exit_code) {
    Run& r = run();
    if (!r.started || r.finished) return;
    r.finished = true;
    const Publication published = publish_run(r.staging, r.plan.outputs, *r.more, RunEnd::stopped, r.options->force);
    for (const std::string& failure : published.failures) complain(failure);
    if (const std::string line = withheld_line(published); !line.empty()) complain(line);
    complain("the extraction stopped; what was written so far is in " + r.plan.out_dir.string());
    if (exit_code == 0) units::exit_program(status_failed);
}

int read_countries(Run& r) {
    const ExtractOptions& o = *r.options;
    if (!r.in.country_list_path) {
        if (o.country_text.empty()) return 0;
        complain((r.plan.data_dir / country_list_name(r.in.edition)).string() + ": no such file");
        return status_failed;
    }
    std::vector<ghcn::Country> list;
    ghcn::ReadProblem problem;
    if (!ghcn::read_country_list(r.in.edition, r.in.country_list_path->string(), list, problem)) {
        complain(ghcn::describe(problem));
        return status_failed;
    }
    std::vector<CountryEntry> entries;
    for (const ghcn::Country& c : list) {
        r.country_names.emplace(c.code, c.name);
        entries.push_back({c.code, c.name});
    }
    if (o.country_text.empty()) return 0;
    const std::optional<CountryEntry> found = find_country(entries, o.country_text);
    if (!found) {
        complain("--country: " + o.country_text + ": expected a code or a name listed in " +
                 r.in.country_list_path->string());
        return status_bad_argument;
    }
    r.criteria.country_code = found->code;
    r.country_line = found->code + " " + found->name;
    return 0;
}

int read_ids(Run& r) {
    const ExtractOptions& o = *r.options;
    if (o.ids.empty() && !o.ids_from) return 0;
    std::vector<std::string> ids = o.ids;
    if (o.ids_from) {
        ghcn::ReadProblem problem;
        std::vector<std::string> listed;
        if (!ghcn::read_id_list(fs::absolute(*o.ids_from).string(), listed, problem)) {
            complain("--ids-from: " + ghcn::describe(problem));
            return status_failed;
        }
        ids.insert(ids.end(), listed.begin(), listed.end());
    }
    for (const std::string& id : ghcn::ids_not_in(ids, r.stations))
        complain(id + ": no station of the inventory has this id; the run goes on without it");
    r.criteria.ids.emplace(ids.begin(), ids.end());
    return 0;
}

// Reads what the selection needs; 0, or the status to end with.
int read_station_lists(Run& r) {
    ghcn::ReadProblem problem;
    if (!ghcn::read_inventory(r.in.edition, r.in.inventory_path.string(), r.stations, problem)) {
        complain(ghcn::describe(problem));
        return status_failed;
    }
    if (int status = read_countries(r)) return status;
    const ExtractOptions& o = *r.options;
    r.criteria.box = o.box;
    r.criteria.elevation = o.elevation;
    r.criteria.reject_missing_elevation = o.reject_missing_elevation;
    r.criteria.name = o.name;
    return read_ids(r);
}

std::string file_line(const fs::path& path) {
    return "  " + path.string() + " (" + std::to_string(extract::file_size(path)) + " bytes)";
}

// A number as short as it can be written without losing what was given.
std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::string criteria_text(const ExtractOptions& o) {
    std::string text;
    const auto add = [&](const std::string& s) { text += "  " + s + "\n"; };
    if (o.box)
        add("box (N,S,E,W): " + hundredths_text(o.box->north, 0) + "," + hundredths_text(o.box->south, 0) + "," +
            hundredths_text(o.box->east, 0) + "," + hundredths_text(o.box->west, 0));
    if (o.elevation)
        add("elevation: " + std::to_string(o.elevation->min) + " to " + std::to_string(o.elevation->max) + " m" +
            (o.reject_missing_elevation ? "" : ", missing elevations kept"));
    if (o.near)
        add("near: " + number_text(o.near->latitude) + "," + number_text(o.near->longitude) +
            (o.radius_km ? ", within " + number_text(*o.radius_km) + " km" : "") +
            (o.nearest ? ", the " + std::to_string(*o.nearest) + " nearest" : ""));
    if (o.years) add("years: " + std::to_string(o.years->first) + " to " + std::to_string(o.years->last));
    if (o.min_years)
        add("at least " + std::to_string(*o.min_years) + " years of " + std::to_string(o.min_months) + " values");
    if (o.name) add("name holds: " + *o.name);
    if (!o.ids.empty() || o.ids_from) add("identifiers: " + std::to_string(run().criteria.ids->size()));
    return text;
}

void write_log_head(Run& r, RunLog& log) {
    const ExtractOptions& o = *r.options;
    log.line(std::string(app::version_text(program_name)).substr(0, app::version_text(program_name).find('\n')));
    log.line("GHCN-M version " + std::to_string(static_cast<int>(r.in.edition)) + ": " +
             std::string(r.in.variable.label) + " (--variable " + std::string(r.in.variable.name) + ")");
    log.line("Release: " + r.in.data.release + " of " + r.in.data.date);
    log.line("Files read:");
    log.line(file_line(r.in.inventory_path));
    log.line(file_line(r.in.data_path));
    if (r.in.country_list_path) log.line(file_line(*r.in.country_list_path));
    for (const std::string& name : r.in.passed_over) log.line("Passed over: " + name);
    log.line("Criteria:");
    if (!r.country_line.empty()) log.line("  country: " + r.country_line);
    std::string text = criteria_text(o);
    while (!text.empty()) {
        log.line(text.substr(0, text.find('\n')));
        text.erase(0, text.find('\n') + 1);
    }
    log.line(std::string("QC policy: ") + (o.qc_keep ? "keep" : "drop") + " values that failed a check");
}

// The stations that meet every criterion; `stopped` set when the counting pass could not
// read the data file to its end.
std::vector<ChosenStation> select_stations(Run& r, const QcPolicy& policy, PassResult& pass) {
    const ExtractOptions& o = *r.options;
    std::vector<std::size_t> candidates = inventory_matches(r.stations, r.criteria);
    if (o.min_years) {
        std::unordered_set<std::string> ids;
        for (std::size_t i : candidates) ids.insert(r.stations[i].id);
        YearMonths months;
        pass = count_months(r.in.data_path.string(), policy, ids, o.years, months);
        std::erase_if(candidates, [&](std::size_t i) {
            return !enough_years(months, r.stations[i].id, *o.min_years, o.min_months);
        });
    }
    std::optional<PlaceCriteria> place;
    if (o.near) place = PlaceCriteria{*o.near, o.radius_km, o.nearest};
    return choose_by_place(r.stations, candidates, place);
}

StationRow station_row(const Run& r, const ChosenStation& c, const StationTotals& t) {
    const ghcn::GhcnmStation& s = r.stations[c.index];
    const auto country = r.country_names.find(s.country_code);
    StationRow row{s.id,
                   s.country_code,
                   country == r.country_names.end() ? "" : country->second,
                   s.name,
                   s.latitude,
                   s.longitude,
                   s.elevation,
                   c.distance_km,
                   t.first_year,
                   t.last_year,
                   t.values,
                   s.latitude_text,
                   s.longitude_text,
                   s.elevation_text};
    return row;
}

VariableInfo variable_info(const Run& r) {
    VariableInfo info{static_cast<int>(r.in.edition),
            std::string(r.in.variable.name),
            std::string(r.in.variable.label),
            r.in.variable.element == "tmax"   ? Quantity::maximum_temperature
            : r.in.variable.element == "tmin" ? Quantity::minimum_temperature
                                              : Quantity::mean_temperature,
            "degC",
            2,
            true,
            r.in.data_path.filename().string() + " (release " + r.in.data.release + ", " + r.in.data.date + ")"};
    info.dmflag_meanings = dmflag_meanings();
    info.qcflag_meanings = qcflag_meanings(r.in.edition, r.in.variable.kind);
    info.dsflag_meanings = dsflag_meanings();
    return info;
}

void report_stop(RunLog& log, const PassResult& pass) {
    if (pass.complete) return;
    complain(ghcn::describe(pass.problem));
    log.stopped(ghcn::describe(pass.problem));
}

void report_unknown_flags(const Run& r, const PassResult& pass) {
    for (char letter : pass.unknown_flags)
        complain(r.in.data_path.string() + ": QC flag '" + std::string(1, letter) +
                 "' is not one the data set's readme lists; its values are kept");
}

// Completes every output, those beyond the tables first so that the log then says what they
// found; false, after naming each reason, when one could not be completed.
bool finish_outputs(std::vector<SeriesSink*> sinks, const MoreOutputs& more, RunLog& log) {
    bool complete = true;
    std::rotate(sinks.begin(), sinks.end() - static_cast<std::ptrdiff_t>(more.sinks.size()), sinks.end());
    for (SeriesSink* sink : sinks) {
        if (sink == &log)
            for (const std::string& line : more_outputs_log_lines(more)) log.line(line);
        std::string error;
        if (!sink->finish(error)) {
            complain(error);
            complete = false;
        }
    }
    return complete;
}

std::string totals_line(const Run& r) {
    const RunCounts& c = r.counts;
    return std::string(r.in.variable.name) + ": " + std::to_string(c.selected) +
           (c.selected == 1 ? " station" : " stations") + " selected, " + std::to_string(c.found) + " found, " +
           std::to_string(*c.values_written) + " values written, " + std::to_string(*c.values_dropped) +
           " dropped by the QC policy";
}

// Writes every output in the working directory or under its temporary name; how the run ended.
RunEnd write_outputs(Run& r, const MoreOutputs& more) {
    const ExtractOptions& o = *r.options;
    RunLog log;
    log.open(std::string(ghcnm_log_name(static_cast<int>(r.in.edition))));
    write_log_head(r, log);
    const QcPolicy policy{r.in.edition, r.in.variable.kind, o.qc_keep};
    const ghcn::Edition edition = r.in.edition;
    const ghcn::FileKind kind = r.in.variable.kind;
    ValuesCsvSink values{std::string(values_csv)};
    FailedValuesCsvSink failed{std::string(failed_values_csv), [edition, kind](char letter) {
                                   const auto flag = ghcn::find_qc_flag(edition, kind, letter);
                                   return flag ? std::string(flag->meaning) : std::string("not listed in the readme");
                               }};
    StationsCsvSink stations{std::string(stations_csv), o.near.has_value()};
    std::vector<SeriesSink*> sinks = {&values, &failed, &stations, &log};
    sinks.insert(sinks.end(), more.sinks.begin(), more.sinks.end());
    PassResult pass;
    const std::vector<ChosenStation> chosen = select_stations(r, policy, pass);
    std::unordered_map<std::string, StationTotals> totals;
    totals.reserve(chosen.size());
    for (const ChosenStation& c : chosen) totals.emplace(r.stations[c.index].id, StationTotals{});
    for (SeriesSink* sink : sinks) sink->begin(variable_info(r));
    if (pass.complete) pass = write_series(r.in.data_path.string(), policy, totals, o.years, sinks);
    report_stop(log, pass);
    report_unknown_flags(r, pass);
    for (const ChosenStation& c : chosen) {
        const StationRow row = station_row(r, c, totals[r.stations[c.index].id]);
        for (SeriesSink* sink : sinks) sink->station(row);
    }
    const bool outputs_complete = finish_outputs(sinks, more, log);
    r.counts = {.selected = log.stations_selected(), .found = log.stations_found(),
                .values_written = log.values_written(), .values_dropped = log.values_dropped()};
    const RunEnd end = run_end(pass.complete, outputs_complete);
    if (end != RunEnd::failed) complain(totals_line(r));  // a failed run's reasons say it all
    return end;
}

int enter(const fs::path& dir) {
    if (::chdir(dir.c_str()) == 0) return 0;
    complain(dir.string() + ": " + std::strerror(errno));
    return status_failed;
}

std::vector<fs::path> input_files(const Run& r) {
    std::vector<fs::path> files = {r.in.inventory_path, r.in.data_path};
    if (r.in.country_list_path) files.push_back(*r.in.country_list_path);
    return files;
}

// manifest.json beside the published files; 0, or the status to end with.
int write_ghcnm_manifest(const Run& r, const Publication& published, int status) {
    const ExtractOptions& o = *r.options;
    ManifestRun m{.program = std::string(program_name), .version = std::string(corvane::version),
                  .command = o.command, .working_directory = r.started_in};
    m.criteria = manifest_criteria(o.command);
    m.inputs = input_files(r);
    for (std::string_view name : published.names) m.outputs.push_back(r.plan.out_dir / name);
    m.outputs.insert(m.outputs.end(), published.placed.begin(), published.placed.end());
    m.counts = r.counts;
    m.started = r.started_at;
    m.ended = std::chrono::system_clock::now();
    m.exit_status = status;
    const std::string failure = write_manifest(m, r.plan.out_dir / manifest_json);
    if (failure.empty()) return 0;
    complain(failure);
    return status_failed;
}

int extract_into_working_dir(Run& r, const MoreOutputs& more) {
    if (const std::string failure = r.staging.make_output_dir(r.plan.out_dir); !failure.empty()) {
        complain(failure);
        return status_failed;
    }
    if (const std::string failure = r.staging.create(r.plan.out_dir, r.plan.data_dir, {}); !failure.empty()) {
        complain(failure);
        r.staging.abandon();
        return status_failed;
    }
    BackgroundDigests input_sums;  // summed while the outputs are written
    input_sums.start(input_files(r));
    if (int status = enter(r.staging.dir())) return status;
    r.started = true;
    const RunEnd end = write_outputs(r, more);
    r.finished = true;
    int status = end == RunEnd::complete ? 0 : status_failed;
    if (int left = enter(r.plan.out_dir)) status = left;
    const Publication published = publish_run(r.staging, r.plan.outputs, more, end, r.options->force);
    for (const std::string& failure : published.failures) complain(failure);
    if (end == RunEnd::failed) return status_failed;
    if (const std::string line = withheld_line(published); !line.empty()) complain(line);
    if (!published.failures.empty()) status = status_failed;
    else if (const int manifest = write_ghcnm_manifest(r, published, status)) status = manifest;
    return status;
}

Plan ghcnm_plan(const ExtractOptions& o, int edition) {
    Plan p;
    p.data_dir = fs::absolute(o.data_dir);
    p.out_dir = fs::absolute(o.out_dir);
    p.outputs = {ghcnm_log_name(edition), stations_csv, values_csv, failed_values_csv};
    return p;
}

}  // namespace

std::string_view ghcnm_log_name(int edition) { return edition == 3 ? "GHCNv3_Log_File" : "GHCNv4_Log_File"; }

void run_ghcnm_extraction(const ExtractOptions& options, int edition, const MoreOutputs& more, char* program_path) {
    Run& r = run();
    r = Run{};
    r.options = &options;
    r.more = &more;
    r.plan = ghcnm_plan(options, edition);
    r.plan.outputs.insert(r.plan.outputs.end(), more.files.begin(), more.files.end());
    const ghcn::Edition e = edition == 3 ? ghcn::Edition::v3 : ghcn::Edition::v4;
    const InputsFound found = find_inputs(r.plan.data_dir, e, *ghcn::find_variable(e, options.variable_name));
    if (!found.inputs) complain(found.error);
    const int outputs = check_outputs(r.plan, options.force) | check_more_outputs(options, r.plan.outputs);
    if (!found.inputs || outputs != 0) std::exit(status_failed);
    r.in = *found.inputs;
    char* words[] = {program_path, nullptr};
    units::start_runtime(1, words);
    install_quiet_console({nullptr, !options.reject_missing_elevation, at_program_end});
    int status = read_station_lists(r);
    if (status == 0) status = extract_into_working_dir(r, more);
    end(status);
}

}  // namespace corvane::extract
