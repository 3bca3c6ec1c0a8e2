// corvane-extract against the dialogue: for every end-to-end scenario whose answers have an
// equivalent on the command line, the extraction writes the scenario's checked files byte
// for byte, nothing on standard output, and, with --csv, tables that hold exactly the
// series of the time-series file.
#include <algorithm>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "extract/csv_reading.hpp"
#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"
#include "text_difference.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

struct Equivalent {
    std::string_view scenario;  // a directory of tests/fixtures
    std::vector<std::string> args;
    bool sample_data = false;
    std::string_view overlay;
    int exit_status = 0;
};

const std::vector<Equivalent>& equivalents() {
    static const std::vector<Equivalent> table = {
        {"country_only", {"--variable", "mean", "--country", "507"}},
        {"area_only", {"--variable", "mean", "--box", "70,45,20,-30"}},
        {"elevation_only", {"--variable", "1", "--elevation", "63,986"}},
        {"combined_123", {"--variable", "mean", "--country", "700", "--box=-60,-80,-135,135", "--elevation", "0,100"}},
        {"digits_31", {"--variable", "mean", "--elevation", "0,100", "--country", "507"}},
        {"digits_21", {"--variable", "mean", "--box", "-10,-50,-170,170", "--country", "502"}},
        {"dateline_box", {"--variable", "mean", "--box", "75,-50,-135,135"}},
        {"longitude_transform", {"--variable", "mean", "--country", "222", "--lon360"}},
        {"missing_elevation_included",
         {"--variable", "mean", "--country", "507", "--elevation", "0,100", "--missing-elevation", "keep"}},
        {"missing_elevation_excluded",
         {"--variable", "mean", "--country", "507", "--elevation", "0,100", "--missing-elevation", "reject"}},
        {"duplicates", {"--variable", "mean", "--country", "700"}},
        {"failed_values", {"--variable", "mean", "--box", "-10,-45,180,170"}},
        {"even_variable", {"--variable", "mean-adj", "--box", "-10,-20,-170,-180"}},
        {"sea_level_pressure", {"--variable", "slp", "--country", "507"}},
        {"zero_selected", {"--variable", "mean", "--box", "-20,-40,-10,-40"}},
        {"start_over", {"--variable", "mean", "--country", "541"}},
        {"changed_mind", {"--variable", "mean", "--elevation", "0,10"}},
        {"null_answers", {"--variable", "mean", "--box", "70.00,45.00,20.00,-30.00"}},
        {"invalid_digit_start_over", {"--variable", "mean", "--country", "541"}},
        {"bad_data_record_while_copying", {"--variable", "mean", "--country", "620"}, false, "bad-data-record", 1},
        {"bad_data_record_while_scanning", {"--variable", "mean", "--country", "700"}, false, "bad-data-record", 1},
        {"bad_failed_qc_record", {"--variable", "mean", "--country", "502"}, false, "bad-failed-qc-record", 1},
        {"sample_samoa", {"--variable", "mean", "--country", "541"}, true},
    };
    return table;
}

// Scenarios without an equivalent, and why.
const std::map<std::string, std::string, std::less<>> without_equivalent = {
    {"quit_at_restart", "the dialogue stops before the extraction"},
    {"quit_at_menu", "the dialogue writes nothing"},
    {"invalid_digit_exit", "the dialogue writes nothing"},
    {"letters_at_numeric_prompt", "a bad answer: corvane-extract refuses the value before it starts"},
    {"missing_inventory", "corvane-extract checks its input files before it writes anything"},
    {"missing_data_file", "corvane-extract checks its input files before it writes anything"},
    {"missing_failed_qc_file", "corvane-extract checks its input files before it writes anything"},
};

void PrintTo(const Equivalent& e, std::ostream* os) { *os << e.scenario; }

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::vector<std::string>> csv_table(const fs::path& path, std::string_view header) {
    const std::vector<std::string> lines = lines_of(read_file(path.string()));
    EXPECT_FALSE(lines.empty()) << path;
    if (lines.empty()) return {};
    EXPECT_EQ(lines.front(), header) << path;
    const std::size_t width = extract::csv_fields(std::string(header)).size();
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        rows.push_back(extract::csv_fields(lines[i]));
        EXPECT_EQ(rows.back().size(), width) << path << " line " << i + 1;
    }
    return rows;
}

std::string station_text(std::string_view country, std::string_view number) {
    char text[24];
    std::snprintf(text, sizeof text, "%03d%08d", std::stoi(std::string(country)), std::stoi(std::string(number)));
    return text;
}

struct SeriesYear {
    std::string station;
    std::string year;
    std::vector<std::string> values;  // twelve, as integers; a missing value as -9999
    auto operator<=>(const SeriesYear&) const = default;
};

// The data lines of the time-series file, each with the station of its header, and the
// number of series (headers) of each station.
void read_series_file(const fs::path& path, std::vector<SeriesYear>& years, std::map<std::string, int>& series) {
    const std::vector<std::string> lines = lines_of(read_file(path.string()));
    std::string station;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() > 30 && line.substr(19, 11) == "(i4,12f5.1)") {
            station = station_text(line.substr(31, 3), line.substr(34, 8));
            ++series[station];
            continue;
        }
        SeriesYear y{station, std::to_string(std::stoi(line.substr(0, 4))), {}};
        for (int m = 0; m < 12; ++m) y.values.push_back(std::to_string(std::stoi(line.substr(4 + 5 * m, 5))));
        years.push_back(y);
    }
}

// The unit a version 2 variable's values.csv names in its header.
std::string unit_of(const std::vector<std::string>& args) {
    const auto at = std::find(args.begin(), args.end(), "--variable");
    const std::string v = at == args.end() || at + 1 == args.end() ? "" : *(at + 1);
    if (v == "prcp" || v == "prcp-adj" || v == "7" || v == "8") return "mm";
    if (v == "slp" || v == "9") return "hPa";
    return "degC";
}

// A value of values.csv back in the file's tenths: one decimal exactly, or the trace marker.
std::string tenths_of(const std::string& text) {
    if (text == "trace") return "-8888";
    const std::size_t point = text.find('.');
    EXPECT_TRUE(point != std::string::npos && point + 2 == text.size() && point > 0) << "'" << text << "'";
    if (point == std::string::npos) return text;
    return std::to_string(std::stoi(text.substr(0, point) + text.substr(point + 1)));
}

// values.csv and stations.csv against the time-series file and the log.
void expect_tables_match_series(const fs::path& out, const std::string& unit) {
    std::vector<SeriesYear> expected;
    std::map<std::string, int> series;
    read_series_file(out / "GHCNv2_tsf", expected, series);

    std::vector<SeriesYear> actual;
    for (const std::vector<std::string>& row :
         csv_table(out / "values.csv", "station,duplicate,year,month,value_" + unit)) {
        ASSERT_EQ(row.size(), 5u);
        const std::string value = row[4].empty() ? "-9999" : tenths_of(row[4]);
        EXPECT_NE(row[4], "-9999") << "a missing value is written empty";
        if (row[3] == "1") actual.push_back({row[0], row[2], {}});
        ASSERT_FALSE(actual.empty());
        EXPECT_EQ(row[3], std::to_string(actual.back().values.size() + 1)) << "months 1 to 12 in order";
        actual.back().values.push_back(value);
    }
    EXPECT_EQ(actual, expected) << "values.csv holds other records than GHCNv2_tsf";

    // One row per station of the log's listing, with its number of series.
    std::size_t listed = 0;
    for (const std::string& line : lines_of(read_file((out / "GHCNv2_Log_File").string()))) {
        if (line.find(" Stations listed in inventory file:") != std::string::npos) listed = std::stoul(line);
    }
    const auto stations = csv_table(out / "stations.csv", "id,country,name,latitude,longitude,elevation,series");
    EXPECT_EQ(stations.size(), listed);
    for (const std::vector<std::string>& row : stations) {
        ASSERT_EQ(row.size(), 7u);
        const auto found = series.find(row[0]);
        EXPECT_EQ(row[6], std::to_string(found == series.end() ? 0 : found->second)) << row[0];
        EXPECT_EQ(row[0].substr(0, 3), station_text(row[1], "0").substr(0, 3)) << "the id begins with the country";
        EXPECT_NE(row[5], "-999") << "a missing elevation is written empty";
        EXPECT_FALSE(row[2].empty() || row[2].front() == ' ' || row[2].back() == ' ') << "name '" << row[2] << "'";
    }
}

class ExtractEquivalence : public ::testing::TestWithParam<Equivalent> {};

TEST_P(ExtractEquivalence, WritesTheDialoguesFiles) {
    const Equivalent& e = GetParam();
    const fs::path expected_dir = fixtures_dir() / e.scenario;
    ScratchDirectory scratch;
    const fs::path data = fs::path(scratch.path()) / "data";
    fs::create_directory(data);
    ASSERT_NO_FATAL_FAILURE(copy_data_files(e.sample_data ? sample_data_dir() : base_data_dir(), data));
    if (!e.overlay.empty()) {
        ASSERT_NO_FATAL_FAILURE(copy_data_files(fixtures_dir() / "data" / e.overlay, data));
    }

    std::vector<std::string> args = e.args;
    args.insert(args.end(), {"--data-dir", "data", "--out-dir", "out", "--csv"});
    const RunResult run = run_program(CORVANE_EXTRACT_PROGRAM, args);
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, e.exit_status) << run.err;
    EXPECT_EQ(run.out, "") << "nothing of the dialogue on standard output";

    const fs::path out = fs::path(scratch.path()) / "out";
    for (std::string_view name : {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File"}) {
        SCOPED_TRACE(std::string(name));
        const std::optional<std::string> expected = file_text(expected_dir / name);
        const std::optional<std::string> actual = file_text(out / name);
        ASSERT_EQ(actual.has_value(), expected.has_value());
        if (expected) {
            EXPECT_TRUE(*expected == *actual) << difference(*expected, *actual);
        }
    }
    std::set<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(out)) left.insert(entry.path().filename());
    EXPECT_EQ(left.count("stations.csv"), e.exit_status == 0 ? 1u : 0u);
    for (const std::string& name : left) EXPECT_FALSE(name.starts_with(".")) << "a working file was left: " << name;

    if (e.exit_status == 0) {
        ASSERT_NO_FATAL_FAILURE(expect_tables_match_series(out, unit_of(e.args)));
        const std::string files = e.scenario == "even_variable" ? "4" : "5";
        EXPECT_NE(run.err.find("; " + files + " files written in out\n"), std::string::npos) << run.err;
    } else {
        // The extraction's own report of the record it could not read reaches the user.
        const std::vector<std::string> dialogue = lines_of(read_file((expected_dir / "stdout").string()));
        ASSERT_GE(dialogue.size(), 2u);
        for (std::size_t i = dialogue.size() - 2; i < dialogue.size(); ++i) {
            EXPECT_NE(run.err.find("corvane-extract: " + dialogue[i].substr(1)), std::string::npos)
                << dialogue[i] << "\n" << run.err;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ExtractEquivalence, ::testing::ValuesIn(equivalents()),
                         [](const ::testing::TestParamInfo<Equivalent>& info) {
                             return std::string(info.param.scenario);
                         });

// A new scenario must be given an equivalent, or a reason why it has none.
TEST(ExtractEquivalenceFixtures, EveryScenarioIsConsidered) {
    std::set<std::string> considered;
    for (const Equivalent& e : equivalents()) considered.insert(std::string(e.scenario));
    for (const auto& [name, reason] : without_equivalent) EXPECT_TRUE(considered.insert(name).second) << name;
    std::set<std::string> found;
    for (const fs::directory_entry& e : fs::directory_iterator(fixtures_dir())) {
        if (e.is_directory() && fs::exists(e.path() / "input")) found.insert(e.path().filename().string());
    }
    EXPECT_EQ(found, considered);
}

}  // namespace
}  // namespace corvane::testing
