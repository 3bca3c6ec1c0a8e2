// getit against the designed extraction (reference_getit) on a generated medium-size data
// set with failed values, duplicate series, stations missing from the inventory and series
// that reach the end of the file: for every variable, for tables of other shapes, and with
// an unreadable record in the data file or the failed-QC file, both must write the same
// console lines, the same three files and end the same way. Each run happens in a child
// process, since an unreadable record ends the program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/getit.hpp"
#include "equivalence/reference_getit.hpp"
#include "app/run_data.hpp"
#include "app/search_report.hpp"
#include "data_set/ghcn_data_set.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"
#include "units/console_hooks.hpp"
#include "units/termination.hpp"
#include "units/unit_table.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using app::RunData;

constexpr std::uint64_t data_set_seed = 9;

// The generated data set, made once per build tree and shared by all tests (and by the
// test processes that CTest runs side by side: each generates aside and renames).
const fs::path& data_set() {
    static const fs::path dir = [] {
        const fs::path target = fs::path(CORVANE_TEST_DATA_DIR) / ("medium-seed-" + std::to_string(data_set_seed));
        if (fs::exists(target / "complete")) return target;
        fs::create_directories(target.parent_path());
        std::string aside = (target.parent_path() / "making-XXXXXX").string();
        if (!::mkdtemp(aside.data())) throw std::runtime_error("mkdtemp failed");
        data_set::DataSetOptions options{.directory = aside,
                                      .country_list = std::string(CORVANE_EXAMPLES_DIR) +
                                                      "/ghcn-v2-sample/v2.country.codes",
                                      .seed = data_set_seed,
                                      .scale = data_set::Scale::medium};
        data_set::DataSetSummary summary;
        std::string error;
        if (!data_set::generate_data_set(options, summary, error)) throw std::runtime_error(error);
        write_file((fs::path(aside) / "complete").string(), "");
        std::error_code taken;
        fs::rename(aside, target, taken);
        if (taken) fs::remove_all(aside);  // another process was first
        return target;
    }();
    return dir;
}

std::vector<std::string> lines_of(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int columns(const std::string& line, std::size_t first, std::size_t count) {
    return std::stoi(line.substr(first - 1, count));
}

// ---- the run data of a case ----

struct Variable {
    std::string_view data_file, failed_qc_file, label, inventory;
};
constexpr Variable variables[] = {
    {"v2.mean", "v2.mean.failed.qc", "MEAN.TEMP", "v2.temperature.inv"},
    {"v2.mean_adj", "", "MEAN.ADJ.TEMP", "v2.temperature.inv"},
    {"v2.min", "v2.min.failed.qc", "MIN.TEMP", "v2.temperature.inv"},
    {"v2.min_adj", "", "MIN.ADJ.TMP", "v2.temperature.inv"},
    {"v2.max", "v2.max.failed.qc", "MAX.TEMP", "v2.temperature.inv"},
    {"v2.max_adj", "", "MAX.ADJ.TMP", "v2.temperature.inv"},
    {"v2.prcp", "v2.prcp.failed.qc", "MEANPRCP", "v2.prcp.inv"},
    {"v2.prcp_adj", "", "M.ADJ.PRCP", "v2.prcp.adj.inv"},
    {"v2.slp", "v2.slp.failed.qc", "MEAN.SLP", "v2.slp.inv"},
};

// How the table of selected stations is made.
enum class Table {
    whole_globe,         // the inventory search with a box over the whole globe
    thirds_reversed,     // every third inventory station, last first, some numbers twice
                         // (the first row must win), some numbers without data
    first_five,          // ends early: every station found long before the end of the file
    last_and_first,      // the last station of the data file, whose series reach its end
    none,                // an empty table
};

// A character of one line of an input file replaced by 'x'.
enum class Damage { none, data_while_scanning, data_while_copying, failed_first, failed_middle, failed_last };

struct Case {
    std::string_view name;
    int variable = 1;
    Table table = Table::whole_globe;
    bool transform_longitude = false;
    Damage damage = Damage::none;
    std::size_t damaged_column = 0;         // 1-based; 0: the default for the damage
    std::string_view expected_message = {};  // the error line the reference must write
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

void put_row(app::SelectedStations& s, int id, const std::string& name, float lat, float lon, int elevation) {
    const int r = s.selected_count++;
    s.station_id[r] = id;
    s.station_country[r] = 0;
    s.station_name[r] = name;
    s.station_lat[r] = lat;
    s.station_lon[r] = lon;
    s.station_elevation[r] = elevation;
}

// An inventory line's station as a table row (both inventory layouts share these columns).
void put_inventory_row(app::SelectedStations& s, const std::string& line) {
    put_row(s, columns(line, 4, 8), line.substr(12, 30), std::stof(line.substr(43, 6)), std::stof(line.substr(50, 7)),
            columns(line, 59, 4));
}

void build_table(const Case& c, const Variable& v, app::SelectedStations& s) {
    const std::vector<std::string> inventory = lines_of(data_set() / v.inventory);
    const std::vector<std::string> data = lines_of(data_set() / v.data_file);
    switch (c.table) {
        case Table::whole_globe:
        case Table::none:
            return;
        case Table::thirds_reversed:
            for (std::size_t i = inventory.size(); i-- > 0;) {
                if (i % 3 != 0) continue;
                put_inventory_row(s, inventory[i]);
                if (i % 30 == 0) put_row(s, 99000000 + static_cast<int>(i), "NO SUCH STATION", 1.5f, -2.5f, 7);
            }
            for (std::size_t i = 0; i < inventory.size(); i += 27) {  // found again: the first row wins
                put_row(s, columns(inventory[i], 4, 8), "SECOND ROW " + std::to_string(i), -10.0f, -120.0f, -5);
            }
            return;
        case Table::first_five:
            for (std::size_t i = 0; i < 5; ++i) put_inventory_row(s, inventory[i]);
            return;
        case Table::last_and_first:
            put_row(s, columns(data.back(), 4, 8), "LAST IN THE FILE", -33.25f, -150.75f, 12);
            put_row(s, columns(data.front(), 4, 8), "FIRST IN THE FILE", 45.5f, 8.25f, 300);
            return;
    }
}

void fill_run(const Case& c, RunData& run) {
    const Variable& v = variables[c.variable - 1];
    run.variable_choice = c.variable;
    run.data_file_name = v.data_file;
    run.failed_qc_file_name = v.failed_qc_file;
    run.variable_label = v.label;
    run.criteria.transform_longitude = c.transform_longitude;
    if (c.table == Table::whole_globe) {
        app::SelectionCriteria& k = run.criteria;
        k.use_area = 1;
        k.selection_score = 1;
        k.max_lat = 90.0f;
        k.min_lat = -90.0f;
        k.max_lon = 180.0f;
        k.min_lon = -180.0f;
        app::search_report(run);  // opens the log, searches and lists
        return;
    }
    build_table(c, v, run.stations);
    units::open_unit({.unit = app::log_unit, .file = "GHCNv2_Log_File", .status = "UNKNOWN"});
}

// ---- damaged inputs ----

// The line to damage: for the data file, a record that only the main scan reads (a station
// not in the table after another such record) or one that the copying reads (a later year
// of a series of a station in the table); for the failed-QC file, its first, middle or last
// line.
std::size_t damaged_line(const Case& c, const std::vector<std::string>& lines, const app::SelectedStations& s) {
    auto in_table = [&](const std::string& line) {
        const int id = columns(line, 4, 8);
        for (int r = 0; r < s.selected_count; ++r) {
            if (s.station_id[r] == id) return true;
        }
        return false;
    };
    switch (c.damage) {
        case Damage::data_while_scanning:
            for (std::size_t i = lines.size() / 2; i < lines.size(); ++i) {
                if (!in_table(lines[i]) && !in_table(lines[i - 1])) return i;
            }
            break;
        case Damage::data_while_copying:
            for (std::size_t i = lines.size() / 2; i < lines.size(); ++i) {
                if (in_table(lines[i]) && lines[i].substr(0, 12) == lines[i - 1].substr(0, 12)) return i;
            }
            break;
        case Damage::failed_first: return 0;
        case Damage::failed_middle: return lines.size() / 2;
        case Damage::failed_last: return lines.size() - 1;
        case Damage::none: break;
    }
    throw std::runtime_error("no line to damage");
}

// Replaces the link to the damaged file in the working directory by a damaged copy.
void damage_input(const Case& c, const RunData& run, const fs::path& work) {
    if (c.damage == Damage::none) return;
    const bool data = c.damage == Damage::data_while_scanning || c.damage == Damage::data_while_copying;
    const Variable& v = variables[c.variable - 1];
    const std::string_view name = data ? v.data_file : v.failed_qc_file;
    std::vector<std::string> lines = lines_of(data_set() / name);
    const std::size_t column = c.damaged_column ? c.damaged_column : (data ? 20 : 15);
    lines[damaged_line(c, lines, run.stations)][column - 1] = 'x';
    fs::remove(work / name);
    std::ofstream out(work / name, std::ios::binary);
    for (const std::string& line : lines) out << line << '\n';
}

// ---- running an extraction in a child process ----

struct Outcome {
    int status = -1;  // exit status, or -1 when the child did not exit
    std::string console, errors, log, series, failed_values;
};

[[noreturn]] void leave_at_once(int exit_code) {
    ::_exit(exit_code & 0xff);  // units are closed already; skip the test process's exit
}

[[noreturn]] void run_child(const Case& c, void (*extract)(RunData&), const fs::path& work) {
    if (::chdir(work.c_str()) != 0) ::_exit(120);
    const int out = ::open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open("errors.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) ::_exit(121);
    units::close_all_units(false);  // nothing of the test process's own units
    units::ConsoleHooks hooks = units::default_console_hooks();
    hooks.program_end = leave_at_once;
    units::install_console_hooks(hooks);

    static RunData run;  // as the program holds it: static, for the whole run
    run = RunData{};
    try {
        fill_run(c, run);
        damage_input(c, run, work);
    } catch (const std::exception&) {
        ::_exit(122);
    }
    extract(run);
    units::stop_program();
}

Outcome run_extraction(const Case& c, void (*extract)(RunData&), const fs::path& work) {
    fs::create_directories(work);
    for (const fs::directory_entry& e : fs::directory_iterator(data_set())) {
        if (e.path().filename().string().starts_with("v2.")) fs::create_symlink(e.path(), work / e.path().filename());
    }
    std::fflush(nullptr);  // nothing buffered may be written twice by the child
    const pid_t pid = ::fork();
    if (pid == 0) run_child(c, extract, work);
    Outcome o;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return o;
    if (WIFEXITED(status)) o.status = WEXITSTATUS(status);
    auto text = [&](std::string_view name) {
        return fs::exists(work / name) ? read_file((work / name).string()) : std::string("<absent>");
    };
    o.console = text("console.txt");
    o.errors = text("errors.txt");
    o.log = text("GHCNv2_Log_File");
    o.series = text("GHCNv2_tsf");
    o.failed_values = text("GHCNv2_Failed_Values_File");
    return o;
}

std::size_t line_count(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

constexpr std::string_view scanning_error = " From getit error on first read datafile";
constexpr std::string_view copying_error = " From getit error on second read datafile";
constexpr std::string_view failed_qc_error = " From getit error on first read flagfile";

constexpr Case cases[] = {
    // Every variable, nearly every station.
    {.name = "mean", .variable = 1},
    {.name = "mean_adjusted", .variable = 2},
    {.name = "minimum", .variable = 3},
    {.name = "minimum_adjusted", .variable = 4},
    {.name = "maximum", .variable = 5},
    {.name = "maximum_adjusted", .variable = 6},
    {.name = "precipitation", .variable = 7},
    {.name = "precipitation_adjusted", .variable = 8},
    {.name = "pressure", .variable = 9},
    // Other tables.
    {.name = "thirds_reversed_with_repeats", .table = Table::thirds_reversed, .transform_longitude = true},
    {.name = "precipitation_thirds_reversed", .variable = 7, .table = Table::thirds_reversed},
    {.name = "early_end", .table = Table::first_five},
    {.name = "series_to_the_end_of_the_file", .table = Table::last_and_first, .transform_longitude = true},
    {.name = "pressure_series_to_the_end", .variable = 9, .table = Table::last_and_first},
    {.name = "empty_table", .table = Table::none},
    // Unreadable records.
    {.name = "bad_data_record_while_scanning", .table = Table::thirds_reversed,
     .damage = Damage::data_while_scanning, .expected_message = scanning_error},
    {.name = "bad_station_number_while_scanning", .table = Table::thirds_reversed,
     .damage = Damage::data_while_scanning, .damaged_column = 6, .expected_message = scanning_error},
    {.name = "bad_data_record_while_copying", .table = Table::thirds_reversed,
     .damage = Damage::data_while_copying, .expected_message = copying_error},
    {.name = "bad_failed_qc_first_line", .damage = Damage::failed_first, .expected_message = failed_qc_error},
    {.name = "bad_failed_qc_middle_line", .damage = Damage::failed_middle, .expected_message = failed_qc_error},
    {.name = "bad_failed_qc_last_line", .damage = Damage::failed_last, .expected_message = failed_qc_error},
    {.name = "bad_failed_qc_station_number", .damage = Damage::failed_middle, .damaged_column = 6,
     .expected_message = failed_qc_error},
    {.name = "bad_failed_qc_with_few_stations", .variable = 3, .table = Table::first_five,
     .damage = Damage::failed_last, .expected_message = failed_qc_error},
};

class GetitEquivalence : public ::testing::TestWithParam<Case> {};

TEST_P(GetitEquivalence, WritesWhatTheDesignedExtractionWrites) {
    const Case& c = GetParam();
    ScratchDirectory scratch;
    const fs::path root = scratch.path();
    const Outcome expected = run_extraction(c, testing::reference_getit, root / "reference");
    const Outcome actual = run_extraction(c, app::getit, root / "getit");

    // The reference itself must have done what the case is about.
    ASSERT_EQ(expected.status, c.expected_message.empty() ? 0 : app::exit_stopped) << expected.errors;
    if (!c.expected_message.empty()) {
        EXPECT_NE(expected.console.find(c.expected_message), std::string::npos) << "the damage was not met";
    } else {
        EXPECT_NE(expected.console.find("STATIONS RECORDS FOUND"), std::string::npos);
        if (c.table == Table::whole_globe) {
            EXPECT_GT(line_count(expected.series), 1000u);
        }
    }

    EXPECT_EQ(actual.status, expected.status);
    EXPECT_TRUE(actual.console == expected.console) << "console lines differ";
    EXPECT_TRUE(actual.errors == expected.errors) << "error output differs";
    EXPECT_TRUE(actual.log == expected.log) << "log differs";
    EXPECT_TRUE(actual.series == expected.series) << "time-series file differs";
    EXPECT_TRUE(actual.failed_values == expected.failed_values) << "failed-values file differs";
}

INSTANTIATE_TEST_SUITE_P(Cases, GetitEquivalence, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::testing
