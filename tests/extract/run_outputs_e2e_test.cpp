// corvane-extract's outputs beside the tables, through the program on the bundled sets and
// opened as users open them: the netCDF file with xarray and netCDF4 against values.csv,
// anomalies.csv and annual.csv, the GeoJSON file against stations.csv, the manifest against
// every file written; and the outputs' bad arguments refused before anything is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path v4_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v4-sample";
const fs::path v2_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample";
const std::string check_script = std::string(CORVANE_FIXTURES_DIR) + "/../extract/run_outputs_check.py";

RunResult extract(const fs::path& data, std::vector<std::string> args) {
    args.insert(args.end(), {"--data-dir", data.string(), "--out-dir", "out"});
    return run_program(CORVANE_EXTRACT_PROGRAM, args);
}

std::string first_line(const std::string& path) {
    const std::string text = read_file(path);
    return text.substr(0, text.find_first_of("\r\n"));  // the tables' records end in CR LF
}

TEST(RunOutputs, AVersion4RunWritesEveryOutputAndEachMatchesTheTables) {
    ScratchDirectory scratch;
    const RunResult r = extract(v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--netcdf", "v4.nc",
                                         "--geojson", "v4.geojson", "--annual", "--min-months", "6", "--anomalies",
                                         "1961:1990", "--base-min-years", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(first_line("out/annual.csv"), "series,year,value,months");
    EXPECT_NE(read_file("out/GHCNv4_Log_File").find("anomalies against 1961-1990: "), std::string::npos);
    EXPECT_EQ(command_output("/usr/bin/python3 " + check_script + " out v4.nc v4.geojson 2>&1; echo status=$?"),
              "status=0\n");
}

TEST(RunOutputs, AVersion2RunWritesTheNetcdfGeojsonAndAnnualFilesAndListsThemInItsManifest) {
    ScratchDirectory scratch;
    const RunResult r = extract(v2_dir, {"--variable", "mean", "--country", "141", "--csv", "--netcdf", "v2.nc",
                                         "--geojson", "v2.geojson", "--annual", "--anomalies", "1961:1990"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(first_line("out/annual.csv"), "series,year,value,months");
    EXPECT_EQ(first_line("out/anomalies.csv"), "series,year,month,anomaly");
    EXPECT_NE(read_file("out/GHCNv2_Log_File").find("anomalies against 1961-1990: "), std::string::npos);
    // Every values.csv row is an observation of its series (station and duplicate); every
    // stations.csv row a feature; every file written is in the manifest.
    const std::string check =
        "import csv, json, os, xarray\n"
        "v = list(csv.DictReader(open('out/values.csv')))\n"
        "ds = xarray.open_dataset('v2.nc')\n"
        "series = list(dict.fromkeys(r['station'] + r['duplicate'] for r in v))\n"
        "assert list(ds['station_id'].values) == series, 'series'\n"
        "assert int(ds['row_size'].sum()) == len(v) == ds.sizes['obs'], 'observations'\n"
        "s = list(csv.DictReader(open('out/stations.csv')))\n"
        "g = json.load(open('v2.geojson'))['features']\n"
        "assert [f['properties']['id'] for f in g] == [r['id'] for r in s], 'features'\n"
        "assert [f['geometry']['coordinates'] for f in g] == [[float(r['longitude']), float(r['latitude'])] for r in s]\n"
        "m = json.load(open('out/manifest.json'))\n"
        "listed = sorted(os.path.normpath(os.path.join('out', o['path'])) for o in m['outputs'])\n"
        "written = sorted([os.path.join('out', n) for n in os.listdir('out') if n != 'manifest.json'] + "
        "['v2.nc', 'v2.geojson'])\n"
        "assert listed == written, (listed, written)\n";
    write_file("check.py", check);
    EXPECT_EQ(command_output("/usr/bin/python3 check.py 2>&1; echo status=$?"), "status=0\n");
}

TEST(RunOutputs, TheNetcdfFileHoldsAnnualCsvOverAYearCoordinate) {
    struct Case {
        fs::path data;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {v2_dir, {"--variable", "mean", "--country", "141"}},
        {v2_dir, {"--variable", "prcp", "--country", "502", "--min-months", "10"}},  // sums, with traces
        {v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--min-months", "9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        ScratchDirectory scratch;
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--netcdf", "a.nc", "--annual"});
        const RunResult r = extract(c.data, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(command_output("/usr/bin/python3 " + check_script + " --annual out a.nc 2>&1; echo status=$?"),
                  "status=0\n");
    }
}

TEST(RunOutputs, AReplayWritesEveryOutputAgainIntoItsOwnDirectory) {
    ScratchDirectory scratch;
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--netcdf", "v4.nc", "--annual"}).status, 0);
    const RunResult r = run_program(CORVANE_EXTRACT_PROGRAM, {"--replay", "out/manifest.json", "--out-dir", "again"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* name : {"values.csv", "stations.csv", "annual.csv"})
        EXPECT_EQ(read_file(std::string("again/") + name), read_file(std::string("out/") + name)) << name;
    const std::string values = read_file("again/values.csv");
    const auto rows = std::count(values.begin(), values.end(), '\n') - 1;
    EXPECT_EQ(command_output("/usr/bin/python3 -c \"import xarray; print(xarray.open_dataset('again/v4.nc').sizes['obs'])\""),
              std::to_string(rows) + "\n");
}

TEST(RunOutputs, TheOutputsBadArgumentsAreRefusedBeforeAnythingIsRead) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--anomalies", "1961:1990", "--years", "1970:2000"}, 2, "outside --years 1970:2000"},
        {{"--anomalies", "1990:1961"}, 2, "--anomalies: 1990:1961"},
        {{"--annual", "--min-months", "0"}, 2, "--min-months: 0: expected a number of months from 1 to 12"},
        {{"--netcdf", "no-such-dir/v.nc"}, 1, "no-such-dir/v.nc"},
        {{"--geojson", "no-such-dir/v.geojson"}, 1, "no-such-dir/v.geojson"},
        // One would take the other's place, and the run report success.
        {{"--netcdf", "v.nc", "--geojson", "./v.nc", "--force"}, 1, "/./v.nc: the file --netcdf names too"},
        {{"--annual", "--geojson", "out/../out/annual.csv", "--force"}, 1,
         "/out/../out/annual.csv: a file the run writes in out"},
        {{"--netcdf", "out/manifest.json"}, 1, "/out/manifest.json: a file the run writes in out"},
    };
    for (const fs::path& data : {v4_dir, v2_dir}) {
        for (const Case& c : cases) {
            ScratchDirectory scratch;
            std::vector<std::string> args = {"--variable", data == v4_dir ? "tavg" : "mean", "--box",
                                             "90,-90,180,-180"};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const RunResult r = extract(data, args);
            EXPECT_EQ(r.status, c.status) << c.args.front() << ' ' << r.err;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists("out")) << c.args.front();
        }
    }
}

}  // namespace
}  // namespace corvane::testing
