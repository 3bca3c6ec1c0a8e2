// A run that fails leaves no output beyond the tables under its final name: the netCDF and
// GeoJSON files and the derived series appear only with a run that succeeded. An output that
// cannot be completed (a base period without data) fails the whole run with one line and
// leaves nothing at all; a record that cannot be read stops the run, which keeps its tables
// and logs as far as they go, as the dialogue keeps its files; a run that cannot move its
// files into the output directory takes the files it had placed beside it back. No
// temporary file is left anywhere.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path v4_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v4-sample";
const fs::path v2_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample";
const std::string v4_dat = "ghcnm.tavg.v4.0.1.20240105.qcu.dat";

enum class Setup {
    plain,
    damaged_v4_record,  // the sixth record of the version 4 data file cut short
    damaged_v2_record,  // a record of the version 2 series being copied cut short
    claimed_out_dir,    // another run holds out/ (its log locked); v.nc holds an earlier file
};

struct Case {
    std::string name;
    Setup setup;
    std::vector<std::string> args;  // --data-dir and --out-dir out follow
    std::string message;            // in the error output
    bool one_line;                  // the message is all the run says
    std::vector<std::string> here;  // what stands in the directory the run was started in
    std::optional<std::vector<std::string>> out;  // and in out/, where the case knows it
};

// Every output beyond the tables, placed where the command line names them.
const std::vector<std::string> beyond_tables = {"--netcdf", "v.nc", "--geojson", "v.geojson", "--annual"};

std::vector<std::string> with_outputs(std::vector<std::string> args) {
    args.insert(args.end(), beyond_tables.begin(), beyond_tables.end());
    return args;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"v4_base_period_without_data", Setup::plain,
         with_outputs({"--variable", "tavg", "--box", "90,-90,180,-180", "--anomalies", "1801:1802"}),
         "--anomalies 1801:1802: no selected series has a value in the base period", true, {}, {}},
        {"v2_base_period_without_data", Setup::plain,
         with_outputs({"--variable", "mean", "--country", "141", "--csv", "--anomalies", "1801:1802"}),
         "--anomalies 1801:1802: no selected series has a value in the base period", true, {}, {}},
        {"v4_damaged_record", Setup::damaged_v4_record,
         with_outputs({"--variable", "tavg", "--box", "90,-90,180,-180", "--anomalies", "1961:1990"}),
         v4_dat + ", line 6, field ", false, {"bad", "out"},
         std::vector<std::string>{"GHCNv4_Log_File", "failed_values.csv", "manifest.json", "stations.csv", "values.csv"}},
        {"v2_damaged_record", Setup::damaged_v2_record,
         with_outputs({"--variable", "mean", "--country", "507", "--csv", "--anomalies", "1961:1990"}),
         "From getit error on second read datafile", false, {"bad", "out"},
         std::vector<std::string>{"GHCNv2_Failed_Values_File", "GHCNv2_Log_File", "GHCNv2_tsf", "values.csv"}},
        {"output_directory_claimed", Setup::claimed_out_dir,
         with_outputs({"--variable", "mean", "--country", "141", "--csv", "--force"}),
         "another run is writing the output files there", false, {"out", "v.nc"}, std::nullopt},
    };
    return table;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// The data directory the case reads.
fs::path prepare(Setup setup) {
    if (setup == Setup::damaged_v4_record) {
        fs::create_directory("bad");
        fs::copy_file(v4_dir / "ghcnm.tavg.v4.0.1.20240105.qcu.inv", "bad/ghcnm.tavg.v4.0.1.20240105.qcu.inv");
        std::string dat = read_file((v4_dir / v4_dat).string());
        std::size_t sixth = 0;
        for (int i = 0; i < 5; ++i) sixth = dat.find('\n', sixth) + 1;
        dat.erase(sixth + 60, dat.find('\n', sixth) - (sixth + 60));
        write_file("bad/" + v4_dat, dat);
        return "bad";
    }
    if (setup == Setup::damaged_v2_record) {
        fs::create_directory("bad");
        copy_data_files(base_data_dir(), "bad");
        std::string dat = read_file("bad/v2.mean");
        const std::size_t at = dat.find("\n5079378000001938") + 1;
        dat.erase(at + 40, dat.find('\n', at) - (at + 40));
        write_file("bad/v2.mean", dat);
        return "bad";
    }
    if (setup == Setup::claimed_out_dir) {
        fs::create_directory("out");
        write_file("out/GHCNv2_Log_File", "the other run's log\n");
        write_file("v.nc", "an earlier file\n");
    }
    return v2_dir;
}

std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    if (!fs::is_directory(dir)) return names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FailedRun : public ::testing::TestWithParam<Case> {};

TEST_P(FailedRun, LeavesNoOutputBeyondTheTablesAndNoTemporaryFile) {
    const Case& c = GetParam();
    ScratchDirectory scratch;
    const bool v4 = std::find(c.args.begin(), c.args.end(), "tavg") != c.args.end();
    fs::path data = prepare(c.setup);
    if (data == v2_dir && v4) data = v4_dir;  // the bundled sample of the version asked for
    int other_run = -1;  // the claim of a run writing in out/: its log locked
    if (c.setup == Setup::claimed_out_dir) {
        other_run = ::open("out/GHCNv2_Log_File", O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(other_run, LOCK_EX | LOCK_NB), 0);
    }
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--data-dir", data.string(), "--out-dir", "out"});
    const RunResult r = run_program(CORVANE_EXTRACT_PROGRAM, args);
    if (other_run >= 0) ::close(other_run);
    ASSERT_TRUE(r.failure.empty()) << r.failure;

    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.one_line) {
        EXPECT_EQ(r.err, "corvane-extract: " + c.message + "\n");
    }
    if (c.setup == Setup::damaged_v2_record || c.setup == Setup::damaged_v4_record) {
        const std::string here = fs::current_path().string();
        EXPECT_NE(r.err.find(here + "/v.nc, " + here + "/v.geojson, " + here + "/out/annual.csv, " + here +
                             "/out/anomalies.csv: not written, since the run did not complete\n"),
                  std::string::npos)
            << r.err;
    }
    EXPECT_EQ(names_in("."), c.here) << "neither v.nc nor v.geojson, nor their temporary files";
    if (c.setup == Setup::claimed_out_dir) {
        EXPECT_EQ(read_file("v.nc"), "an earlier file\n") << "the file the run had replaced is back";
    }
    if (!c.out) return;  // the new tables stay where the message says
    EXPECT_EQ(names_in("out"), *c.out) << "neither annual.csv nor anomalies.csv, nor a working directory";
    if (fs::exists("out/manifest.json")) {
        const nlohmann::json manifest = nlohmann::json::parse(read_file("out/manifest.json"));
        EXPECT_EQ(manifest["exit_status"], 1);
        EXPECT_EQ(manifest["outputs"].size(), c.out->size() - 1) << "the files published, and only those";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedRun, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace corvane::testing
