// corvane-extract on the bundled version 3 and 4 sets: the version chosen by the directory
// or by --dataset, the newest release and the plain file before its `.gz` copy, each
// selection alone and combined, both QC policies, the tables' layouts, and every bad input:
// arguments refused with status 2 before anything is read, damaged files named by file,
// line and field with status 1 and the tables ending on whole rows.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path v4_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v4-sample";
const fs::path v3_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v3-sample";
const std::string v4_qcu = "ghcnm.tavg.v4.0.1.20240105.qcu.";

std::vector<std::string> lines_in(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(read_file(path.string()));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> column(const std::vector<std::string>& rows, std::size_t n) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::istringstream row(rows[i]);
        std::string field;
        for (std::size_t k = 0; k <= n; ++k) std::getline(row, field, ',');
        out.push_back(field);
    }
    return out;
}

class GhcnmExtract : public ::testing::Test {
protected:
    RunResult extract(const fs::path& data, std::vector<std::string> args) {
        args.insert(args.end(), {"--data-dir", data.string(), "--out-dir", "out"});
        return run_program(CORVANE_EXTRACT_PROGRAM, args);
    }
    std::vector<std::string> ids(const std::string& table = "stations.csv") {
        return column(lines_in("out/" + table), 0);
    }
    ScratchDirectory dir;
};

TEST_F(GhcnmExtract, TheDirectoryDecidesTheVersionAndTheTablesHaveTheirLayouts) {
    const RunResult r = extract(v4_dir, {"--variable", "tavg", "--id", "RSC26225645"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> values = lines_in("out/values.csv");
    EXPECT_EQ(values.front(), "station,year,month,value_degC,dmflag,qcflag,dsflag");
    EXPECT_EQ(lines_in("out/stations.csv").front(),
              "id,country_code,country_name,name,latitude,longitude,elevation,first_year,last_year,values");
    EXPECT_EQ(lines_in("out/failed_values.csv").front(), "station,year,month,value_degC,qcflag,meaning,policy");
    // Every month of every record, the year written twice as it stands, in file order.
    std::size_t records = 0;
    for (const std::string& line : lines_in(v4_dir / (v4_qcu + "dat"))) records += line.starts_with("RSC26225645");
    EXPECT_EQ(values.size(), 1 + 12 * records);
    const std::vector<std::string> years = column(values, 1);
    EXPECT_EQ(std::count(years.begin(), years.end(), "2001"), 24) << "2001 is written twice";
    const std::string log = read_file("out/GHCNv4_Log_File");
    EXPECT_NE(log.find(v4_qcu + "dat ("), std::string::npos) << log;
    EXPECT_NE(log.find("Passed over: " + v4_qcu + "dat.gz"), std::string::npos) << "the plain file is read";
    EXPECT_NE(log.find("Release: 0.1 of 20240105"), std::string::npos);
}

TEST_F(GhcnmExtract, ValuesAreTheFilesExactDecimalsAndMissingValuesAreEmpty) {
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--country", "fiji"}).status, 0);
    std::set<std::string> texts;
    for (const std::string& v : column(lines_in("out/values.csv"), 3)) {
        if (v.empty()) continue;
        const std::size_t point = v.find('.');
        ASSERT_NE(point, std::string::npos) << v;
        EXPECT_EQ(v.size() - point, 3u) << "two decimals: " << v;
    }
    const std::vector<std::string> stations = lines_in("out/stations.csv");
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_TRUE(stations[1].starts_with("FJW30109475,FJ,Fiji,VALOFA WEST CAPE,-16.7500,-179.9000,25.0,"))
        << stations[1];
}

TEST_F(GhcnmExtract, BothMissingElevationMarkersAreWrittenEmpty) {
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--name", "noelev"}).status, 0);
    const std::vector<std::string> rows = lines_in("out/stations.csv");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(column(rows, 6), (std::vector<std::string>{"", ""}));
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--name", "noelev", "--elevation", "0,9999", "--force"}).status,
              0);
    EXPECT_EQ(lines_in("out/stations.csv").size(), 1u) << "a missing elevation is rejected by default";
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--name", "noelev", "--elevation", "0,10", "--missing-elevation",
                               "keep", "--force"})
                  .status,
              0);
    EXPECT_EQ(lines_in("out/stations.csv").size(), 3u);
}

TEST_F(GhcnmExtract, TheQcPoliciesDropOrKeepEveryFailedLetterAndListIt) {
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--id", "GME71968102", "--years", "1998:1998"}).status, 0);
    const std::vector<std::string> failed = lines_in("out/failed_values.csv");
    EXPECT_EQ(column(failed, 4), (std::vector<std::string>{"E", "D", "R", "K", "W", "I", "L", "O", "S", "T", "M"}));
    for (const std::string& row : failed) EXPECT_FALSE(row.ends_with(",,dropped")) << "each with its meaning";
    const std::vector<std::string> dropped = lines_in("out/values.csv");
    for (std::size_t m = 1; m <= 11; ++m) EXPECT_EQ(column(dropped, 3)[m - 1], "") << "month " << m << " dropped";

    ASSERT_EQ(extract(v4_dir,
                      {"--variable", "tavg", "--id", "GME71968102", "--years", "1998:1998", "--qc", "keep", "--force"})
                  .status,
              0);
    const std::vector<std::string> kept = lines_in("out/values.csv");
    for (std::size_t m = 1; m <= 11; ++m) EXPECT_NE(column(kept, 3)[m - 1], "") << "month " << m << " kept";
    EXPECT_EQ(column(kept, 5)[0], "E") << "the flag beside the kept value";
    EXPECT_EQ(column(lines_in("out/failed_values.csv"), 6)[0], "kept");
}

TEST_F(GhcnmExtract, AnAdjustmentNoteNeverDropsAValue) {
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg-adj", "--box", "90,-90,180,-180"}).status, 0);
    const std::vector<std::string> rows = lines_in("out/values.csv");
    const std::vector<std::string> flags = column(rows, 5), values = column(rows, 3);
    std::size_t notes = 0;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] == "A") {
            ++notes;
            EXPECT_NE(values[i], "");
        }
    }
    EXPECT_GT(notes, 0u);
    EXPECT_EQ(lines_in("out/failed_values.csv").size(), 1u);
}

TEST_F(GhcnmExtract, NearestAndRadiusAcross180Degrees) {
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--near", "-16.6,180", "--radius", "100"}).status, 0);
    EXPECT_EQ(ids(), (std::vector<std::string>{"RSM07507542", "FJW30109475"}));
    EXPECT_TRUE(lines_in("out/stations.csv").front().ends_with(",values,distance_km"));
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--near", "-16.6,180", "--nearest", "1000", "--force"}).status, 0);
    EXPECT_EQ(ids().size(), 23u) << "every station, when more are asked than there are";
    ASSERT_EQ(
        extract(v4_dir, {"--variable", "tavg", "--near", "-16.6,180", "--nearest", "1", "--country", "FJ", "--force"})
            .status,
        0);
    EXPECT_EQ(ids(), (std::vector<std::string>{"FJW30109475"})) << "the nearest among the country's stations";
}

TEST_F(GhcnmExtract, TheWindowLimitsValuesAndMinYearsCountsSurvivingMonths) {
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--id", "RSC26225645", "--years", "2001:2002"}).status, 0);
    for (const std::string& year : column(lines_in("out/values.csv"), 1)) EXPECT_TRUE(year == "2001" || year == "2002");
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--min-years", "1", "--min-months",
                               "12", "--years", "1998:1998", "--force"})
                  .status,
              0);
    const std::vector<std::string> dropped = ids();
    EXPECT_EQ(std::count(dropped.begin(), dropped.end(), "GME71968102"), 0) << "its failed values are dropped";
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--min-years", "1", "--years",
                               "1998:1998", "--qc", "keep", "--force"})
                  .status,
              0);
    const std::vector<std::string> kept = ids();
    EXPECT_EQ(std::count(kept.begin(), kept.end(), "GME71968102"), 1) << "kept, the year is whole";
    ASSERT_EQ(
        extract(v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--min-years", "500", "--force"}).status, 0);
    EXPECT_TRUE(ids().empty());
}

TEST_F(GhcnmExtract, IdentifiersFromAFileWithCommentsAndAnUnknownOneNamed) {
    std::ofstream("ids.txt") << "# the stations either side of 180\nRSM07507542  # Koroni\n\nFJW30109475\n";
    const RunResult r = extract(v4_dir, {"--variable", "tavg", "--ids-from", "ids.txt", "--id", "XXX00000000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("XXX00000000: no station of the inventory has this id"), std::string::npos) << r.err;
    EXPECT_EQ(ids(), (std::vector<std::string>{"FJW30109475", "RSM07507542"}));
}

TEST_F(GhcnmExtract, Version3WithItsVariablesAndTheGzipCopyAlone) {
    ASSERT_EQ(extract(v3_dir, {"--variable", "tmin-adj", "--box", "90,-90,180,-180"}).status, 0);
    EXPECT_NE(read_file("out/GHCNv3_Log_File").find("ghcnm.tmin.v3.3.0.20190821.qca.dat"), std::string::npos);
    fs::create_directory("gz");
    for (const std::string& name : {v4_qcu + "inv", v4_qcu + "dat.gz", std::string("ghcnm-countries.txt")})
        fs::copy_file(v4_dir / name, fs::path("gz") / name);
    ASSERT_EQ(extract("gz", {"--variable", "tavg", "--box", "90,-90,180,-180", "--force"}).status, 0);
    const std::string from_gz = read_file("out/values.csv");
    ASSERT_EQ(extract(v4_dir, {"--variable", "tavg", "--box", "90,-90,180,-180", "--force"}).status, 0);
    EXPECT_EQ(from_gz, read_file("out/values.csv"));
}

TEST_F(GhcnmExtract, TheNewestReleaseIsRead) {
    fs::create_directory("two");
    for (const std::string ext : {"inv", "dat"}) {
        fs::copy_file(v4_dir / (v4_qcu + ext), fs::path("two") / ("ghcnm.tavg.v4.0.1.20240105.qcu." + ext));
        fs::copy_file(v4_dir / (v4_qcu + ext), fs::path("two") / ("ghcnm.tavg.v4.0.1.20240301.qcu." + ext));
    }
    ASSERT_EQ(extract("two", {"--variable", "tavg", "--name", "a"}).status, 0);
    const std::string log = read_file("out/GHCNv4_Log_File");
    EXPECT_NE(log.find("Release: 0.1 of 20240301"), std::string::npos) << log;
    EXPECT_NE(log.find("Passed over: ghcnm.tavg.v4.0.1.20240105.qcu.dat"), std::string::npos) << log;
}

struct BadArgument {
    std::vector<std::string> args;
    std::string message;
};

TEST_F(GhcnmExtract, BadArgumentsAreOneLineAndStatus2BeforeAnythingIsRead) {
    fs::create_directory("mixed");
    fs::copy_file(v4_dir / (v4_qcu + "inv"), "mixed/" + v4_qcu + "inv");
    std::ofstream("mixed/v2.mean") << "";
    const std::vector<BadArgument> cases = {
        {{"--variable", "tavg", "--years", "2010:2000", "--name", "a"}, "--years: 2010:2000: expected FIRST:LAST"},
        {{"--variable", "tavg", "--near", "0,0", "--radius", "0"},
         "--radius: 0: expected a distance in kilometres above 0"},
        {{"--variable", "tavg", "--near", "0,0", "--radius", "-3"}, "--radius: -3: expected"},
        {{"--variable", "tavg", "--near", "0,0", "--nearest", "0"}, "--nearest: 0: expected a whole number from 1"},
        {{"--variable", "tavg", "--near", "90.5,0", "--nearest", "1"},
         "--near: 90.5,0: expected a latitude from -90 to 90"},
        {{"--variable", "tavg", "--near", "0,-181", "--nearest", "1"}, "--near: 0,-181: expected a longitude"},
        {{"--variable", "tavg", "--near", "0,0"}, "--near: 0,0: expected --radius KM or --nearest N with it"},
        {{"--variable", "tavg", "--radius", "5", "--name", "a"}, "--radius requires --near"},
        {{"--variable", "tmax", "--name", "a"},
         "--variable: tmax: expected one of tavg, tavg-adj, tavg-adj-est (version 4)"},
        {{"--variable", "mean", "--name", "a"}, "--variable: mean: expected one of tavg"},
        {{"--variable", "tavg", "--country", "Atlantis"}, "--country: Atlantis: expected a code or a name listed in"},
        {{"--variable", "tavg", "--min-years", "2", "--min-months", "13"},
         "--min-months: 13: expected a number of months from 1 to 12"},
        {{"--variable", "tavg", "--qc", "maybe", "--name", "a"}, "--qc: maybe: expected drop or keep"},
        {{"--variable", "tavg", "--dataset", "v5", "--name", "a"}, "--dataset: v5: expected v2, v3 or v4"},
    };
    for (const BadArgument& c : cases) {
        const RunResult r = extract(v4_dir, c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists("out")) << c.message;
    }
    const RunResult mixed = extract("mixed", {"--variable", "tavg", "--name", "a"});
    EXPECT_EQ(mixed.status, 2);
    EXPECT_NE(mixed.err.find("files of more than one version: " + v4_qcu + "inv v2.mean"), std::string::npos)
        << mixed.err;
}

// A copy of the v4 set whose data file is `dat` (plain, or gzip-compressed when `gzip`).
void damaged_set(const std::string& dat, bool gzip = false) {
    fs::create_directory("bad");
    fs::copy_file(v4_dir / (v4_qcu + "inv"), "bad/" + v4_qcu + "inv");
    if (!gzip) {
        std::ofstream("bad/" + v4_qcu + "dat", std::ios::binary) << dat;
        return;
    }
    gzFile f = gzopen(("bad/" + v4_qcu + "dat.gz").c_str(), "wb");
    gzwrite(f, dat.data(), static_cast<unsigned>(dat.size()));
    gzclose(f);
}

std::string first_lines(std::size_t n) {
    const std::vector<std::string> lines = lines_in(v4_dir / (v4_qcu + "dat"));
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += lines[i] + "\n";
    return text;
}

struct Damage {
    std::string name, bad_line, message;
};

TEST_F(GhcnmExtract, ADamagedRecordIsNamedAndTheTablesStayWhole) {
    std::string letters = lines_in(v4_dir / (v4_qcu + "dat"))[5];
    letters.replace(19, 5, "12a45");
    const std::vector<Damage> cases = {
        {"cut short", lines_in(v4_dir / (v4_qcu + "dat"))[5].substr(0, 60), ", line 6, field "},
        {"letters in a value", letters, ", line 6, field VALUE1: "},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all("bad");
        fs::remove_all("out");
        damaged_set(first_lines(5) + c.bad_line + "\n" + first_lines(8));
        const RunResult r = extract("bad", {"--variable", "tavg", "--box", "90,-90,180,-180"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("bad/" + v4_qcu + "dat" + c.message), std::string::npos) << r.err;
        const std::string values = read_file("out/values.csv");
        EXPECT_TRUE(values.ends_with("\n"));
        EXPECT_EQ(lines_in("out/values.csv").size(), 1 + 5 * 12u) << "the records before the damaged one";
        EXPECT_NE(read_file("out/GHCNv4_Log_File").find("The run stopped at "), std::string::npos);
        EXPECT_TRUE(fs::exists("out/stations.csv"));
    }
}

TEST_F(GhcnmExtract, ACorruptOrCutGzipFileIsNamedWithStatus1) {
    damaged_set(first_lines(8), true);
    const std::string whole = read_file("bad/" + v4_qcu + "dat.gz");
    std::ofstream("bad/" + v4_qcu + "dat.gz", std::ios::binary) << whole.substr(0, whole.size() / 2);
    RunResult r = extract("bad", {"--variable", "tavg", "--box", "90,-90,180,-180"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("bad/" + v4_qcu + "dat.gz"), std::string::npos) << r.err;
    std::string corrupt = whole;
    for (std::size_t i = 20; i < corrupt.size() - 10; ++i) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    std::ofstream("bad/" + v4_qcu + "dat.gz", std::ios::binary) << corrupt;
    r = extract("bad", {"--variable", "tavg", "--box", "90,-90,180,-180", "--force"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("bad/" + v4_qcu + "dat.gz, line "), std::string::npos) << r.err;
}

TEST_F(GhcnmExtract, AnUnknownQcLetterIsKeptAndNamedOnce) {
    const std::vector<std::string> lines = lines_in(v4_dir / (v4_qcu + "dat"));
    std::string dat;
    for (std::size_t i = 0; i < 3; ++i) {
        std::string line = lines[i];
        line.replace(19, 7, "  123 Z");  // January: 1.23 with the QC letter Z
        dat += line + "\n";
    }
    damaged_set(dat);
    const RunResult r = extract("bad", {"--variable", "tavg", "--box", "90,-90,180,-180"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string named = "QC flag 'Z' is not one the data set's readme lists; its values are kept";
    ASSERT_NE(r.err.find(named), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(named), r.err.rfind(named)) << "named once";
    const std::vector<std::string> values = column(lines_in("out/values.csv"), 3);
    EXPECT_EQ(values[0], "1.23");
    EXPECT_EQ(lines_in("out/failed_values.csv").size(), 1u);
}

TEST(Version2Csv, TheUnitIsNamedAndATraceIsItsOwnMarker) {
    ScratchDirectory dir;
    const RunResult r =
        run_program(CORVANE_EXTRACT_PROGRAM, {"--variable", "prcp", "--box", "90,-90,180,-180", "--csv", "--data-dir",
                                              sample_data_dir().string(), "--out-dir", "out"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = lines_in("out/values.csv");
    EXPECT_EQ(rows.front(), "station,duplicate,year,month,value_mm");
    const std::vector<std::string> values = column(rows, 4);
    EXPECT_GT(std::count(values.begin(), values.end(), "trace"), 0);
    for (const std::string& v : values) {
        if (v.empty() || v == "trace") continue;
        EXPECT_EQ(v.size() - v.find('.'), 2u) << "tenths: " << v;
    }
}

}  // namespace
}  // namespace corvane::testing

namespace corvane::testing {
namespace {

struct Version2Case {
    std::vector<std::string> args;
    std::vector<std::string> ids;  // stations.csv, in order
};

TEST(Version2Selection, TheNewCriteriaFilterTheDialoguesSearch) {
    const std::vector<Version2Case> cases = {
        {{"--country", "507", "--name", "auck"}, {"50793116001", "50793119000"}},
        {{"--near", "-41.3,174.8", "--radius", "300"}, {"50793436001", "50793373000"}},
        {{"--country", "507", "--id", "50793436001", "--id", "99999999999"}, {"50793436001"}},
        {{"--box", "-30,-50,180,160", "--ids-from", "v2ids.txt"}, {"50793116001", "50793436001"}},
    };
    for (const Version2Case& c : cases) {
        ScratchDirectory dir;
        std::ofstream("v2ids.txt") << "50793116001 # Auckland\n50793436001\n";
        std::vector<std::string> args = {"--variable", "mean", "--csv", "--data-dir", sample_data_dir().string(),
                                         "--out-dir",  "out"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = run_program(CORVANE_EXTRACT_PROGRAM, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(column(lines_in("out/stations.csv"), 0), c.ids) << c.args[1];
        const bool unknown_asked = std::find(c.args.begin(), c.args.end(), "99999999999") != c.args.end();
        EXPECT_EQ(r.err.find("99999999999: no station of the inventory has this id") != std::string::npos,
                  unknown_asked)
            << r.err;
        const std::string log = read_file("out/GHCNv2_Log_File");
        EXPECT_NE(log.find(std::to_string(c.ids.size()) + " Stations listed in inventory file:"), std::string::npos)
            << log;
    }
}

// Per station, the years of values.csv (within the window) whose twelve months all hold a
// value in one series or another.
std::map<std::string, int> whole_years(const std::vector<std::string>& rows) {
    std::map<std::string, std::map<std::string, std::set<std::string>>> months;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::vector<std::string> f;
        std::istringstream row(rows[i]);
        for (std::string field; std::getline(row, field, ',');) f.push_back(field);
        if (f.size() == 5 && !f[4].empty()) months[f[0]][f[2]].insert(f[3]);
    }
    std::map<std::string, int> years;
    for (const auto& [station, by_year] : months) {
        for (const auto& [year, m] : by_year) years[station] += m.size() == 12 ? 1 : 0;
    }
    return years;
}

TEST(Version2Selection, NearestFirstWithDistancesAndEnoughYearsInTheWindow) {
    ScratchDirectory dir;
    const std::vector<std::string> base = {"--variable", "mean",      "--csv", "--data-dir", sample_data_dir().string(),
                                           "--force",    "--out-dir", "out"};
    std::vector<std::string> args = base;
    args.insert(args.end(), {"--near", "-41.3,174.8", "--radius", "300"});
    ASSERT_EQ(run_program(CORVANE_EXTRACT_PROGRAM, args).status, 0);
    const std::vector<std::string> rows = lines_in("out/stations.csv");
    EXPECT_TRUE(rows.front().ends_with(",series,distance_km"));
    EXPECT_EQ(column(rows, 7), (std::vector<std::string>{"0.000", "269.259"}));

    args = base;
    args.insert(args.end(), {"--near", "-41.3,174.8", "--nearest", "3"});
    ASSERT_EQ(run_program(CORVANE_EXTRACT_PROGRAM, args).status, 0);
    EXPECT_EQ(column(lines_in("out/stations.csv"), 0),
              (std::vector<std::string>{"50793436001", "50793373000", "50793780000"}));

    args = base;
    args.insert(args.end(), {"--country", "507", "--years", "1960:1990", "--min-years", "1"});
    ASSERT_EQ(run_program(CORVANE_EXTRACT_PROGRAM, args).status, 0);
    const std::map<std::string, int> years = whole_years(lines_in("out/values.csv"));
    for (const std::string& y : column(lines_in("out/values.csv"), 2)) EXPECT_TRUE(y >= "1960" && y <= "1990") << y;
    args.back() = "20";
    ASSERT_EQ(run_program(CORVANE_EXTRACT_PROGRAM, args).status, 0);
    std::vector<std::string> expected;
    for (const auto& [station, n] : years) {
        if (n >= 20) expected.push_back(station);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_LT(expected.size(), years.size());
    EXPECT_EQ(column(lines_in("out/stations.csv"), 0), expected);
}

}  // namespace
}  // namespace corvane::testing
