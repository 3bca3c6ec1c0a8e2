// The criteria form's model: the command words its fields make, its refusals in
// corvane-extract's own words (checked against the program itself), the variables a data
// folder offers, and the run in a process of its own, cancelled while it cannot finish,
// leaving nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "extract/criteria_choices.hpp"
#include "extract/csv_reading.hpp"
#include "extract/extraction_process.hpp"
#include "extract/result_map.hpp"
#include "extract/table_series.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using extract::CriteriaChoices;

const fs::path examples = CORVANE_EXAMPLES_DIR;

CriteriaChoices v4_choices() {
    CriteriaChoices c;
    c.data_dir = (examples / "ghcn-v4-sample").string();
    c.dataset = "v4";
    c.variable = "tavg";
    return c;
}

TEST(CriteriaChoices, FieldsBecomeTheirOptionsAndOnlyTheGivenOnes) {
    CriteriaChoices c = v4_choices();
    c.out_dir = "out";
    c.ids = " NZC98001252, RSM07507542\tUS050686446 ";
    c.keep_missing_elevation = true;  // without an elevation range: no option
    c.csv = true;                     // version 2's tables: not for version 4
    c.qc_keep = true;
    EXPECT_EQ(extract::command_words(c),
              (std::vector<std::string>{"--dataset", "v4", "--variable", "tavg", "--id", "NZC98001252", "--id",
                                        "RSM07507542", "--id", "US050686446", "--qc", "keep", "--data-dir",
                                        c.data_dir, "--out-dir", "out"}));
    const CriteriaChoices absolute = extract::with_absolute_paths(c);
    EXPECT_EQ(absolute.out_dir, (fs::current_path() / "out").string());
    EXPECT_EQ(absolute.data_dir, c.data_dir);
    EXPECT_TRUE(absolute.netcdf.empty());
    c.elevation = "0,500";
    c.dataset = "v2";
    c.variable = "mean";
    const std::vector<std::string> words = extract::command_words(c);
    EXPECT_NE(std::find(words.begin(), words.end(), "--missing-elevation"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "--csv"), words.end());
}

// Each refusal is the one corvane-extract gives for the same words, and names its field.
TEST(CriteriaChoices, RefusalsAreTheCommandLinesOwn) {
    struct Case {
        std::string CriteriaChoices::*field;
        std::string value;
        std::string option;  // "" for the whole command line
    };
    const Case cases[] = {
        {&CriteriaChoices::near, "95,0", "--near"},
        {&CriteriaChoices::box, "10,20,30,40", "--box"},
        {&CriteriaChoices::years, "2001:1990", "--years"},
        {&CriteriaChoices::nearest, "0", "--nearest"},
        {&CriteriaChoices::elevation, "500,100", "--elevation"},
        {&CriteriaChoices::min_months, "13", "--min-months"},
        {&CriteriaChoices::anomalies, "1961", "--anomalies"},
        {&CriteriaChoices::radius, "5", "--radius"},  // without --near
        {&CriteriaChoices::name, "", ""},             // no criterion at all
    };
    for (const Case& k : cases) {
        CriteriaChoices c = v4_choices();
        c.*(k.field) = k.value;
        const std::vector<extract::ChoiceRefusal> refused = extract::refusals(c);
        ASSERT_EQ(refused.size(), 1u) << k.value;
        EXPECT_EQ(refused[0].option, k.option) << k.value;
        std::vector<std::string> words = extract::command_words(c);
        const RunResult run = run_program(CORVANE_EXTRACT_PROGRAM, words);
        EXPECT_EQ(run.status, 2) << k.value;
        EXPECT_NE(run.err.find("corvane-extract: " + refused[0].text), std::string::npos) << run.err;
    }
    CriteriaChoices fine = v4_choices();
    fine.near = "-41.29,174.78";
    fine.nearest = "3";
    EXPECT_TRUE(extract::refusals(fine).empty());
}

// What a run reads, for its progress: the data file twice when --min-years counts first.
TEST(CriteriaChoices, TheBytesARunReads) {
    CriteriaChoices c = v4_choices();
    const fs::path dir = examples / "ghcn-v4-sample";
    const std::uint64_t data = fs::file_size(dir / "ghcnm.tavg.v4.0.1.20240105.qcu.dat");
    const std::uint64_t rest =
        fs::file_size(dir / "ghcnm.tavg.v4.0.1.20240105.qcu.inv") + fs::file_size(dir / "ghcnm-countries.txt");
    EXPECT_EQ(extract::bytes_to_read(c), data + rest);
    c.min_years = "3";
    EXPECT_EQ(extract::bytes_to_read(c), 2 * data + rest);
    c.variable = "no-such-variable";
    EXPECT_EQ(extract::bytes_to_read(c), 0u);
}

TEST(CriteriaChoices, AFolderOffersTheVariablesWhoseFilesItHolds) {
    const auto v4 = extract::folder_variables((examples / "ghcn-v4-sample").string());
    ASSERT_EQ(v4.size(), 1u);
    EXPECT_EQ(v4[0].edition, 4);
    EXPECT_EQ(v4[0].variables, (std::vector<std::string>{"tavg", "tavg-adj", "tavg-adj-est"}));
    const auto v3 = extract::folder_variables((examples / "ghcn-v3-sample").string());
    ASSERT_EQ(v3.size(), 1u);
    EXPECT_EQ(v3[0].variables.size(), 6u);
    const auto v2 = extract::folder_variables((examples / "ghcn-v2-sample").string());
    ASSERT_EQ(v2.size(), 1u);
    EXPECT_EQ(v2[0].variables.size(), 9u);
    EXPECT_TRUE(extract::folder_variables((examples / "no-such-folder").string()).empty());
}

// A station-year written twice is a second series; quoted names keep their commas.
TEST(CriteriaChoices, TheTablesGiveBackAStationsSeries) {
    extract::CsvTable stations{{"id", "name", "latitude", "longitude", "elevation"},
                               {{"X1", "A, \"B\"", "-41.50", "174.25", ""}}};
    EXPECT_EQ(extract::csv_fields("X1,\"A, \"\"B\"\"\",-41.50\r"), (std::vector<std::string>{"X1", "A, \"B\"", "-41.50"}));
    extract::CsvTable values{{"station", "year", "month", "value_degC"}, {}};
    for (int pass = 0; pass < 2; ++pass)
        for (int m = 1; m <= 12; ++m) values.rows.push_back({"X1", "2001", std::to_string(m), m == 3 ? "" : "12.34"});
    values.rows.push_back({"X2", "2001", "1", "1.00"});
    const extract::CsvTable failed{{"station", "year", "month", "value_degC"}, {{"X1", "2001", "3", "-0.07"}}};
    const app::StationSeries s = extract::table_series(stations, 0, values, failed);
    EXPECT_EQ(s.identifier, "X1");
    EXPECT_EQ(s.name, "A, \"B\"");
    EXPECT_EQ(s.elevation, -999);
    ASSERT_EQ(s.parts.size(), 2u);
    EXPECT_TRUE(s.parts[1].duplicate);
    EXPECT_EQ(s.parts[0].years.at(0).values[0], 1234);
    EXPECT_EQ(s.parts[0].years[0].values[2], -9999);  // missing
    EXPECT_EQ(s.per_unit, 100);
    ASSERT_EQ(s.failed.size(), 1u);
    EXPECT_EQ(s.failed[0].value, -7);
}

TEST(CriteriaChoices, TheResultMapHoldsTheTablesStationsTheBoxAndTheNearPoint) {
    CriteriaChoices c = v4_choices();
    c.box = "80,-80,-120,120";  // across 180°
    c.near = "-41.3,174.8";
    const extract::CsvTable stations{{"id", "name", "latitude", "longitude", "elevation", "values"},
                                     {{"X1", "A", "-41.50", "174.25", "12.0", "10"}, {"X2", "B", "10", "-170", "", "0"}}};
    const app::StationMapData map = extract::result_map_data(c, stations);
    EXPECT_FALSE(map.inventory.empty());
    ASSERT_EQ(map.stations.size(), 2u);
    EXPECT_EQ(map.stations[0].state, app::StationState::found);
    EXPECT_EQ(map.stations[1].state, app::StationState::no_data);
    EXPECT_TRUE(map.has_box && map.box.crosses_dateline);
    EXPECT_EQ(map.centre_lon, 180);
    ASSERT_TRUE(map.near);
    EXPECT_EQ(map.near->lat, -41.3);
    EXPECT_EQ(map.near->lon, 174.8);
    c.box.clear();
    EXPECT_EQ(extract::result_map_data(c, stations).centre_lon, 174.8);  // on the point without a box
    for (const char* refused : {"", "-91,0", "x"}) {
        c.near = refused;
        EXPECT_FALSE(extract::result_map_data(c, stations).near) << refused;
    }
}

std::set<std::string> names_in(const fs::path& dir) {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
    return names;
}

// A stopped reader: the run names each of many unknown identifiers on its standard error
// once its working directory is made, and nobody reads that pipe until the run is
// cancelled, so it cannot get further.
TEST(ExtractionProcess, ACancelledRunLeavesNothingBehind) {
    ScratchDirectory dir;
    const fs::path out = fs::path(dir.path()) / "out";
    fs::create_directories(out);
    std::string ids;
    for (int i = 0; i < 20000; ++i) ids += std::to_string(90000000 + i) + "\n";
    write_file("ids.txt", ids);
    write_file((out / "kept.txt").string(), "an earlier file\n");
    extract::ExtractionProcess process;
    ASSERT_TRUE(process.start({CORVANE_EXTRACT_PROGRAM, "--variable", "mean", "--ids-from", "ids.txt", "--data-dir",
                               (examples / "ghcn-v2-sample").string(), "--out-dir", out.string(), "--csv"},
                              out));
    const auto begun = [&out] {
        for (const fs::directory_entry& e : fs::directory_iterator(out))
            if (e.path().filename().string().starts_with(".corvane-extract-")) return true;
        return false;
    };
    while (!begun()) std::this_thread::yield();
    process.cancel();
    const extract::ExtractionOutcome outcome = process.wait();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.status, -1);
    EXPECT_LT(outcome.messages.size(), 20000u) << "the run got through its identifiers";
    EXPECT_EQ(names_in(out), std::set<std::string>{"kept.txt"});
}

TEST(ExtractionProcess, ARunSaysWhatTheCommandSaysAndARunCancelledBeforeItStartsNeverRuns) {
    ScratchDirectory dir;
    extract::ExtractionProcess refused;
    ASSERT_TRUE(refused.start({CORVANE_EXTRACT_PROGRAM, "--variable", "tavg", "--near", "95,0", "--radius", "5"}, "."));
    const extract::ExtractionOutcome bad = refused.wait();
    EXPECT_EQ(bad.status, 2);
    ASSERT_EQ(bad.messages.size(), 1u);
    EXPECT_EQ(bad.messages[0].rfind("corvane-extract: --near: 95,0:", 0), 0u) << bad.messages[0];

    extract::ExtractionProcess never;
    never.cancel();
    EXPECT_FALSE(never.start({CORVANE_EXTRACT_PROGRAM, "--variable", "tavg", "--country", "NZ"}, "."));
    const extract::ExtractionOutcome outcome = never.wait();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(names_in(dir.path()).empty());
}

}  // namespace
}  // namespace corvane::testing
