// manifest.json and --replay: checksums that sha256sum agrees with, outputs relative to the
// manifest, the criteria of a command line, counts that the files bear out, and a replay
// that refuses changed inputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "extract/file_digest.hpp"
#include "extract/manifest.hpp"
#include "extract/replay.hpp"
#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;
using corvane::testing::read_file;
using corvane::testing::ScratchDirectory;

std::string sha256sum(const fs::path& path) {
    return corvane::testing::command_output("sha256sum '" + path.string() + "'").substr(0, 64);
}

TEST(FileDigest, ChecksumsAgreeWithSha256sum) {
    ScratchDirectory scratch;
    { std::ofstream("empty"); }
    { std::ofstream("abc") << "abc"; }
    {
        std::ofstream big("big");
        for (int i = 0; i < 300000; ++i) big << i << '\n';  // more than one read buffer
    }
    for (const char* name : {"empty", "abc", "big"}) EXPECT_EQ(sha256_of_file(name), sha256sum(name)) << name;
    EXPECT_EQ(sha256_of_file("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(sha256_of_file("absent"));
    EXPECT_EQ(iso8601_utc(std::chrono::system_clock::from_time_t(0)), "1970-01-01T00:00:00Z");
}

TEST(Manifest, RecordsInputsByAbsolutePathAndOutputsRelativeToItself) {
    ScratchDirectory scratch;
    fs::create_directories("data");
    fs::create_directories("out/sub");
    { std::ofstream("data/v2.mean") << "values\n"; }
    { std::ofstream("out/values.csv") << "a,b\n"; }
    { std::ofstream("out/sub/x.nc") << "netcdf"; }
    ManifestRun run{.program = "corvane-extract", .version = "0.1.0",
                    .command = {"corvane-extract", "--variable", "mean", "--country", "507", "--out-dir", "out"},
                    .working_directory = fs::current_path(), .criteria = {{"--country", "507"}},
                    .inputs = {"data/v2.mean"}, .outputs = {"out/values.csv", fs::absolute("out/sub/x.nc")}};
    run.counts = {.selected = 3, .found = 2, .values_written = 24, .values_dropped = 1};
    run.exit_status = 0;
    ASSERT_EQ(write_manifest(run, "out/manifest.json"), "");
    const nlohmann::json doc = nlohmann::json::parse(read_file("out/manifest.json"));
    EXPECT_EQ(doc["program"], "corvane-extract");
    EXPECT_EQ(doc["command"], nlohmann::json(run.command));
    EXPECT_EQ(doc["criteria"]["--country"], "507");
    EXPECT_EQ(doc["counts"]["values_dropped"], 1);
    EXPECT_EQ(doc["inputs"][0]["path"], fs::absolute("data/v2.mean").string());
    EXPECT_EQ(doc["outputs"][0]["path"], "values.csv");
    EXPECT_EQ(doc["outputs"][1]["path"], "sub/x.nc");
    for (const char* list : {"inputs", "outputs"}) {
        for (const nlohmann::json& file : doc[list]) {
            const fs::path path = fs::path(list) == "inputs" ? fs::path(file["path"]) : fs::path("out") / file["path"];
            EXPECT_EQ(file["sha256"], sha256sum(path)) << path;
            EXPECT_EQ(file["size"], fs::file_size(path));
            EXPECT_EQ(file["mtime"].get<std::string>().size(), 20u);
        }
    }
    // A file that vanished cannot be recorded: the manifest says nothing rather than something wrong.
    run.inputs.push_back("data/absent");
    EXPECT_NE(write_manifest(run, "out/manifest2.json").find("data/absent: cannot be read"), std::string::npos);
    EXPECT_FALSE(fs::exists("out/manifest2.json"));
}

TEST(Manifest, CriteriaAreTheOptionsExceptWhereFilesGo) {
    const std::vector<std::string> command = {"corvane-extract", "--variable", "mean", "--box=75,-50,-135,135",
                                              "--id", "A", "--id", "B", "--lon360", "--out-dir", "o",
                                              "--data-dir", "d", "--netcdf", "x.nc", "--annual"};
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"--variable", "mean"}, {"--box", "75,-50,-135,135"}, {"--id", "A,B"}, {"--lon360", "true"}, {"--annual", "true"}};
    EXPECT_EQ(manifest_criteria(command), expected);
}

TEST(Replay, TheRecordedCommandGetsTheNewOutputDirectory) {
    using Words = std::vector<std::string>;
    const std::pair<Words, Words> cases[] = {
        {{"p", "--variable", "mean", "--out-dir", "old"}, {"p", "--variable", "mean", "--out-dir", "new"}},
        {{"p", "--out-dir=old", "--csv"}, {"p", "--out-dir=new", "--csv"}},
        {{"p", "--csv"}, {"p", "--csv", "--out-dir", "new"}},
        {{"p", "--netcdf", "/a/x.nc", "--geojson=../s.geojson", "--out-dir", "o"},
         {"p", "--netcdf", "new/x.nc", "--geojson=new/s.geojson", "--out-dir", "new"}},
    };
    for (const auto& [recorded, replayed] : cases) EXPECT_EQ(replayed_command(recorded, "new"), replayed);
}

// An extraction into out/, then replays of its manifest.
class ReplayRun : public ScratchDirectory {
public:
    ReplayRun() {
        fs::create_directory("data");
        corvane::testing::copy_data_files(corvane::testing::base_data_dir(), "data");
        first = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, {"--variable", "mean", "--country", "507",
                                                                        "--data-dir", "data", "--out-dir", "out", "--csv"});
    }
    corvane::testing::RunResult first;
};

TEST(Replay, AnUnchangedRunIsRepeatedIntoTheNewDirectory) {
    ReplayRun r;
    ASSERT_EQ(r.first.status, 0) << r.first.err;
    const nlohmann::json doc = nlohmann::json::parse(read_file("out/manifest.json"));
    EXPECT_EQ(doc["outputs"].size(), 5u);
    for (const nlohmann::json& file : doc["outputs"]) EXPECT_EQ(file["sha256"], sha256sum(fs::path("out") / file["path"]));
    EXPECT_EQ(doc["exit_status"], 0);
    const std::string found = std::to_string(doc["counts"]["found"].get<int>()) + " found";
    EXPECT_NE(r.first.err.find(", " + found), std::string::npos) << r.first.err;

    const auto again = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, {"--replay", "out/manifest.json", "--out-dir", "again"});
    EXPECT_EQ(again.status, 0) << again.err;
    for (const char* name : {"GHCNv2_tsf", "values.csv", "stations.csv"}) {
        EXPECT_EQ(read_file(std::string("again/") + name), read_file(std::string("out/") + name)) << name;
    }
    // The existing files stay unless --force: the replay exits as that run would.
    const auto twice = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, {"--replay", "out/manifest.json", "--out-dir", "again"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("exists; give --force"), std::string::npos) << twice.err;
}

struct ValueCounts {
    std::int64_t written = 0, dropped = 0;
    bool operator==(const ValueCounts&) const = default;
};

void PrintTo(const ValueCounts& c, std::ostream* os) { *os << c.written << " written, " << c.dropped << " dropped"; }

std::vector<std::string> lines_of(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(read_file(path.string()));
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Version 2: the values of GHCNv2_tsf's data lines (a year and twelve values of five
// columns) but the missing ones, and the value lines of the failed-values file (a year, a
// month and the value: fifteen columns, where a station's line is longer).
ValueCounts version2_files(const fs::path& out) {
    ValueCounts c;
    for (const std::string& line : lines_of(out / "GHCNv2_tsf")) {
        if (line.size() != 64 || line.find_first_not_of(" 0123456789-") != std::string::npos) continue;
        for (std::size_t m = 0; m < 12; ++m) c.written += std::stoi(line.substr(4 + 5 * m, 5)) != -9999 ? 1 : 0;
    }
    for (const std::string& line : lines_of(out / "GHCNv2_Failed_Values_File")) c.dropped += line.size() == 15 ? 1 : 0;
    return c;
}

// Versions 3 and 4: the values.csv rows with a value, and the failed_values.csv rows whose
// policy is "dropped".
ValueCounts version4_files(const fs::path& out) {
    ValueCounts c;
    const std::vector<std::string> values = lines_of(out / "values.csv");
    for (std::size_t i = 1; i < values.size(); ++i) {
        const std::size_t third = values[i].find(',', values[i].find(',', values[i].find(',') + 1) + 1);
        c.written += values[i][third + 1] != ',' ? 1 : 0;
    }
    for (const std::string& line : lines_of(out / "failed_values.csv")) c.dropped += line.ends_with(",dropped") ? 1 : 0;
    return c;
}

TEST(ManifestCounts, TheValuesWrittenAndDroppedAreThoseOfTheFiles) {
    struct Case {
        std::string name;
        fs::path data;
        std::vector<std::string> args;
        ValueCounts (*from_files)(const fs::path&);
        bool some_dropped;
    };
    const fs::path v4 = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v4-sample";
    const std::vector<std::string> everywhere = {"--variable", "tavg", "--box", "90,-90,180,-180"};
    std::vector<std::string> kept = everywhere;
    kept.insert(kept.end(), {"--qc", "keep"});
    const std::vector<Case> cases = {
        {"version 2 with failed values", corvane::testing::base_data_dir(), {"--variable", "mean", "--country", "502"},
         version2_files, true},
        {"version 2 with the tables", corvane::testing::base_data_dir(),
         {"--variable", "mean", "--country", "507", "--csv"}, version2_files, false},
        {"version 4, failed values dropped", v4, everywhere, version4_files, true},
        {"version 4, failed values kept", v4, kept, version4_files, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory scratch;
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--data-dir", c.data.string(), "--out-dir", "out"});
        const auto run = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, args);
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json counts = nlohmann::json::parse(read_file("out/manifest.json"))["counts"];
        const ValueCounts files = c.from_files("out");
        EXPECT_GT(files.written, 0);
        EXPECT_EQ(files.dropped > 0, c.some_dropped);
        ASSERT_TRUE(counts["values_written"].is_number() && counts["values_dropped"].is_number()) << counts;
        EXPECT_EQ((ValueCounts{counts["values_written"], counts["values_dropped"]}), files);
    }
}

TEST(Replay, AChangedOrVanishedInputIsRefusedAndNothingWritten) {
    ReplayRun r;
    ASSERT_EQ(r.first.status, 0) << r.first.err;
    const nlohmann::json doc = nlohmann::json::parse(read_file("out/manifest.json"));
    std::vector<std::string> inputs;
    for (const nlohmann::json& file : doc["inputs"]) inputs.push_back(file["path"]);
    ASSERT_GE(inputs.size(), 3u);
    // The same size, one byte changed; and a file gone.
    std::string data = read_file(inputs[2]);
    data[10] = data[10] == '1' ? '2' : '1';
    corvane::testing::write_file(inputs[2], data);
    fs::remove(inputs[0]);
    EXPECT_EQ(changed_inputs("out/manifest.json").size(), 2u);
    const auto replay = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, {"--replay", "out/manifest.json", "--out-dir", "again"});
    EXPECT_EQ(replay.status, 1);
    EXPECT_EQ(replay.err, "corvane-extract: " + inputs[0] + ": missing (No such file or directory)\n" +
                              "corvane-extract: " + inputs[2] + ": its SHA-256 differs from the recorded one\n");
    EXPECT_FALSE(fs::exists("again"));
    EXPECT_EQ(changed_inputs("nothing.json"), std::vector<std::string>{"nothing.json: No such file or directory"});
}

}  // namespace
}  // namespace corvane::extract
