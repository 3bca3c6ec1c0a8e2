// The netCDF file, written from tables of rows as an extraction hands them on and read back
// by real clients: xarray and netCDF4 check every value against the rows, ncdump the
// attributes. Also: the file appears under its name only when complete.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "extract/exact_decimal.hpp"
#include "extract/netcdf_sink.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;
using corvane::testing::command_output;
using corvane::testing::ScratchDirectory;

const std::string check_script = std::string(CORVANE_FIXTURES_DIR) + "/../extract/netcdf_check.py";

struct Table {
    VariableInfo variable;
    std::vector<ValueRow> rows;
    std::vector<StationRow> stations;
    std::optional<BasePeriod> base;
};

// The rows as the check script reads them, anomalies computed as the sink must.
void write_expectations(const Table& t) {
    std::ofstream values("expected_values.csv");
    values << "series,year,month,value,dmflag,qcflag,dsflag,trace,anomaly\n";
    std::string current;
    SeriesNormals normals;
    for (const ValueRow& r : t.rows) {
        if (t.base && r.series != current) {
            std::vector<ValueRow> series;
            for (const ValueRow& s : t.rows) if (s.series == r.series) series.push_back(s);
            normals = monthly_normals(series, *t.base);
            current = r.series;
        }
        const std::optional<std::int64_t> v = counted_value(r);
        const std::optional<std::int64_t> a = t.base ? anomaly(r, normals) : std::nullopt;
        values << r.series << ',' << r.year << ',' << r.month << ',' << (v ? decimal_text(*v, t.variable.decimals) : "")
               << ',' << r.dmflag << ',' << r.qcflag << ',' << r.dsflag << ',' << (r.trace ? 1 : 0) << ','
               << (a ? decimal_text(*a, t.variable.decimals + 1) : "") << '\n';
    }
    std::ofstream stations("expected_stations.csv");
    stations << "id,name,country,lat,lon,elevation,distance_km\n";
    for (const StationRow& s : t.stations) {
        stations << s.id << ',' << s.name << ',' << s.country_name << ',' << s.latitude << ',' << s.longitude << ','
                 << (s.elevation ? std::to_string(*s.elevation) : "") << ','
                 << (s.distance_km ? std::to_string(*s.distance_km) : "") << '\n';
    }
}

std::string write(const Table& t, const fs::path& path, bool replace = false) {
    NetcdfSink sink({.path = path, .replace = replace, .title = "test", .history = "now: corvane-extract --netcdf x.nc",
                     .anomalies = t.base});
    sink.begin(t.variable);
    for (const ValueRow& r : t.rows) sink.value(r);
    for (const StationRow& s : t.stations) sink.station(s);
    std::string error;
    // As a run does once all its outputs are complete: the file takes its final name.
    if (sink.finish(error)) error = sink.file().commit();
    return error;
}

ValueRow v4_row(const char* id, int year, int month, std::optional<std::int64_t> value, const char flags[4]) {
    return {.series = id, .station = id, .year = year, .month = month, .value = value,
            .dropped = !value && flags[1] != ' ', .dmflag = flags[0], .qcflag = flags[1], .dsflag = flags[2]};
}

Table v4_table() {
    Table t;
    t.variable = {.version = 4, .name = "tavg", .label = "TAVG unadjusted (QCU)", .unit = "degC", .decimals = 2,
                  .has_flags = true, .source = "ghcnm.tavg.v4.0.1.20261207.qcu.dat"};
    t.variable.qcflag_meanings = {{'D', "Monthly value is a duplicate of the previous month"}, {'O', "Outlier (5 sigma)"}};
    t.variable.dsflag_meanings = {{'W', "WMO CLIMAT message"}, {'E', "Sourced from ERA-Interim"}};
    t.variable.dmflag_meanings = {{'a', "Number of days missing: 1"}};
    // Two stations across 180 degrees, 25 years each: enough for normals over 1961-1980.
    for (const char* id : {"NZ000093994", "USW00014771"}) {
        for (int year = 1960; year <= 1984; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const std::int64_t value = (year * 37 + month * 101) % 3000 - 1000 + (id[0] == 'U' ? 3 : 0);
                t.rows.push_back(v4_row(id, year, month, value, " EW"));
            }
        }
    }
    t.rows[5].value.reset();                          // missing
    t.rows[6] = v4_row("NZ000093994", 1960, 7, std::nullopt, " O ");  // dropped by QC
    t.rows[7].dmflag = 'a';
    t.rows[300] = v4_row("USW00014771", 1960, 1, 1402, "  E");
    t.rows.push_back(v4_row("USW00014771", 1984, 12, 1403, "   "));  // a duplicated station-year
    t.stations = {
        {.id = "USW00014771", .country_code = "US", .country_name = "United States", .name = "SYRACUSE HANCOCK INTL AP",
         .latitude = 43.1111, .longitude = -76.1039, .elevation = 124.0, .distance_km = 12.5, .first_year = 1960,
         .last_year = 1984, .values = 299},
        {.id = "NZ000093994", .country_code = "NZ", .country_name = "New Zealand", .name = "RAOUL ISL/KERMADEC IS",
         .latitude = -29.25, .longitude = -177.917, .elevation = std::nullopt, .distance_km = 0.25,
         .first_year = 1960, .last_year = 1984, .values = 298},
    };
    t.base = BasePeriod{.first = 1961, .last = 1980, .min_years = 20};
    return t;
}

Table v2_precipitation_table() {
    Table t;
    t.variable = {.version = 2, .name = "prcp-adj", .label = "PRCP adjusted", .quantity = Quantity::precipitation,
                  .unit = "mm", .decimals = 1, .source = "v2.prcp_adj"};
    for (const char* series : {"425000000001", "425000000002", "507934360000"}) {
        for (int month = 1; month <= 12; ++month) {
            ValueRow r{.series = series, .station = std::string(series, 11), .year = 1890, .month = month,
                       .value = month * 11};
            if (month == 3) r = {.series = series, .station = r.station, .year = 1890, .month = 3, .trace = true};
            t.rows.push_back(r);
        }
    }
    t.stations = {{.id = "42500000000", .country_name = "UNITED STATES", .name = "A, B \"C\"", .latitude = 40,
                   .longitude = -100, .elevation = -2.0},
                  {.id = "50793436000", .country_name = "NEW ZEALAND", .name = "WELLINGTON", .latitude = -41.28,
                   .longitude = 174.77, .elevation = 7.0}};
    return t;
}

TEST(NetcdfSink, XarrayAndNetcdf4ReadEveryValueFlagAndAnomalyBack) {
    ScratchDirectory scratch;
    const Table t = v4_table();
    ASSERT_EQ(write(t, "out.nc"), "");
    write_expectations(t);
    const std::string out = command_output("/usr/bin/python3 " + check_script +
                                           " out.nc expected_values.csv expected_stations.csv 2>&1; echo status=$?");
    EXPECT_EQ(out, "status=0\n");
}

TEST(NetcdfSink, PrecipitationTracesAreZeroWithAFlagAndVersion2SeriesAreTheirOwnTimeSeries) {
    ScratchDirectory scratch;
    Table t = v2_precipitation_table();
    t.stations[0].name = "TWO SERIES";  // names with commas would need quoting in the expectations
    ASSERT_EQ(write(t, "prcp.nc"), "");
    write_expectations(t);
    const std::string out = command_output("/usr/bin/python3 " + check_script +
                                           " prcp.nc expected_values.csv expected_stations.csv 2>&1; echo status=$?");
    EXPECT_EQ(out, "status=0\n");
}

TEST(NetcdfSink, NcdumpShowsTheCfAttributes) {
    ScratchDirectory scratch;
    ASSERT_EQ(write(v4_table(), "out.nc"), "");
    const std::string header = command_output("ncdump -h out.nc");
    const char* expected[] = {
        "obs = UNLIMITED",
        "timeseries = 2 ;",
        ":Conventions = \"CF-1.11\" ;",
        ":featureType = \"timeSeries\" ;",
        ":source = \"ghcnm.tavg.v4.0.1.20261207.qcu.dat\" ;",
        ":history = \"now: corvane-extract --netcdf x.nc\" ;",
        "station_id:cf_role = \"timeseries_id\" ;",
        "alt:standard_name = \"surface_altitude\" ;",
        "alt:_FillValue = -9999.f ;",
        "row_size:sample_dimension = \"obs\" ;",
        "time:units = \"days since 1700-01-01 00:00:00\" ;",
        "time:calendar = \"standard\" ;",
        "time:bounds = \"time_bnds\" ;",
        "tavg:standard_name = \"air_temperature\" ;",
        "tavg:cell_methods = \"time: mean\" ;",
        "tavg:units = \"degC\" ;",
        "tavg:_FillValue = -9999.f ;",
        "tavg:ancillary_variables = \"tavg_dmflag tavg_qcflag tavg_dsflag\" ;",
        "byte tavg_qcflag(obs) ;",
        "tavg_qcflag:flag_values = 0b, 68b, 79b ;",
        "tavg_qcflag:flag_meanings = \"blank monthly_value_is_a_duplicate_of_the_previous_month outlier_5_sigma\" ;",
        "float tavg_anomaly(obs) ;",
        "tavg_anomaly:standard_name = \"air_temperature_anomaly\" ;",
        "float distance_km(timeseries) ;",
    };
    for (const char* line : expected) EXPECT_NE(header.find(line), std::string::npos) << line << "\n" << header;
}

TEST(NetcdfSink, TheTimeIsTheMiddleOfTheMonth) {
    struct Case { int year, month; double days; };
    const Case cases[] = {{1700, 1, 0}, {1700, 2, 31}, {1700, 3, 59}, {2000, 3, 109632}, {1900, 1, 73048}};
    for (const Case& c : cases) EXPECT_EQ(days_since_1700(c.year, c.month), c.days) << c.year << '-' << c.month;
    // The file keeps times and bounds as 32-bit floats: exact for every month of four-digit years.
    for (const int year : {1, 1699, 2024, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            const double end = month == 12 ? days_since_1700(year + 1, 1) : days_since_1700(year, month + 1);
            const double middle = (days_since_1700(year, month) + end) / 2;
            EXPECT_EQ(static_cast<double>(static_cast<float>(middle)), middle) << year << '-' << month;
        }
    }
}

TEST(NetcdfSink, AFileIsOnlyEverWholeUnderItsName) {
    ScratchDirectory scratch;
    {
        std::ofstream("kept.nc") << "an earlier file";
    }
    const std::string error = write(v4_table(), "kept.nc");
    EXPECT_NE(error.find("kept.nc: File exists; not written"), std::string::npos) << error;
    EXPECT_EQ(corvane::testing::read_file("kept.nc"), "an earlier file");
    ASSERT_EQ(write(v4_table(), "kept.nc", true), "");
    EXPECT_EQ(command_output("ncdump -h kept.nc | head -1"), "netcdf kept {\n");
    // A series split in the data file cannot be a contiguous ragged array: no file at all.
    Table split = v4_table();
    split.rows.push_back(v4_row("NZ000093994", 1999, 1, 5, "   "));
    EXPECT_NE(write(split, "split.nc").find("not together"), std::string::npos);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(".")) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"kept.nc"});
}

TEST(NetcdfSink, AnUnwritablePlaceIsKnownBeforeTheRun) {
    ScratchDirectory scratch;
    NetcdfSink missing_dir({.path = "no/such/dir/x.nc"});
    EXPECT_NE(missing_dir.check().find("x.nc: cannot be written: No such file or directory"), std::string::npos);
    { std::ofstream("taken.nc") << "x"; }
    EXPECT_NE(NetcdfSink({.path = "taken.nc"}).check().find("taken.nc: the file exists"), std::string::npos);
    EXPECT_EQ(NetcdfSink({.path = "taken.nc", .replace = true}).check(), "");
}

TEST(NetcdfSink, TheHistoryIsTheCommandLineAsAShellTakesIt) {
    const auto epoch = std::chrono::system_clock::from_time_t(0);
    EXPECT_EQ(netcdf_history({"corvane-extract", "--name", "ST. PAUL", "--netcdf", "x.nc"}, epoch),
              "1970-01-01T00:00:00Z: corvane-extract --name 'ST. PAUL' --netcdf x.nc");
    EXPECT_EQ(netcdf_history({"p", "it's", ""}, epoch), "1970-01-01T00:00:00Z: p 'it'\\''s' ''");
}

TEST(NetcdfSink, FlagMeaningsAreSingleWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"Outlier (5 sigma)", "outlier_5_sigma"}, {"  Failed  duplicate check ", "failed_duplicate_check"},
        {"", "unnamed"}, {"WMO CLIMAT", "wmo_climat"}};
    for (const auto& [meaning, word] : cases) EXPECT_EQ(flag_meaning_word(meaning), word);
    EXPECT_EQ(netcdf_name("tavg-adj-est"), "tavg_adj_est");
}

}  // namespace
}  // namespace corvane::extract
