// A unit connected to a gzip file reads the inflated records through the same formatted
// READs as a plain file; REWIND starts over; members written one after another read as one
// file; a corrupt or cut-short file is an error of the READ, never an end of file; a file
// opened for writing is never inflated.
#include <gtest/gtest.h>

#include <string>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::testing {
namespace {

using namespace fmtio;

constexpr int gz_unit = 31;
const std::string sample_gz =
    std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v4-sample/ghcnm.tavg.v4.0.1.20240105.qcu.dat.gz";
const std::string sample_plain =
    std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v4-sample/ghcnm.tavg.v4.0.1.20240105.qcu.dat";

// The records of a file read with "(a)", and the outcome that ended the reading.
struct Lines {
    std::string text;
    units::Outcome last_outcome = units::outcome_ok;
    int count = 0;
};

Lines read_lines(const std::string& path) {
    Lines lines;
    units::open_unit({.unit = gz_unit, .file = path, .status = "OLD", .action = "READ"});
    Text<120> line;
    std::int32_t code = 0;
    while ((lines.last_outcome = read(unit(gz_unit), units::with_iostat(code) | on_end | on_err, fmt<"(a)">, line)) ==
           units::outcome_ok) {
        lines.text += std::string(line.trimmed()) + "\n";
        ++lines.count;
    }
    units::close_unit(gz_unit);
    return lines;
}

std::string trimmed_lines(const std::string& text) {
    std::string out, line;
    for (char c : text) {
        if (c != '\n') {
            line += c;
            continue;
        }
        out += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
        line.clear();
    }
    return out;
}

TEST(GzipStream, ReadsTheRecordsOfThePlainFile) {
    const Lines packed = read_lines(sample_gz);
    EXPECT_EQ(packed.last_outcome, units::outcome_end);
    EXPECT_EQ(packed.text, trimmed_lines(read_file(sample_plain)));
}

TEST(GzipStream, MembersOneAfterAnotherReadAsOneFile) {
    ScratchDirectory scratch;
    const std::string bytes = read_file(sample_gz);
    write_file("twice.gz", bytes + bytes);
    const Lines both = read_lines("twice.gz");
    EXPECT_EQ(both.last_outcome, units::outcome_end);
    const std::string once = trimmed_lines(read_file(sample_plain));
    EXPECT_EQ(both.text, once + once);
}

TEST(GzipStream, RewindStartsOver) {
    units::open_unit({.unit = gz_unit, .file = sample_gz, .status = "OLD", .action = "READ"});
    Text<11> first, again;
    for (int i = 0; i < 50; ++i) read(unit(gz_unit), fmt<"(a11)">, first);
    units::rewind_unit(gz_unit);
    read(unit(gz_unit), fmt<"(a11)">, again);
    units::close_unit(gz_unit);
    EXPECT_EQ(again.view(), read_file(sample_plain).substr(0, 11));
}

TEST(GzipStream, CorruptAndCutShortFilesAreReadErrors) {
    ScratchDirectory scratch;
    const std::string bytes = read_file(sample_gz);
    std::string corrupt = bytes;
    for (std::size_t i = 100; i < 140; ++i) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    const std::pair<const char*, std::string> cases[] = {
        {"corrupt.gz", corrupt},
        {"half.gz", bytes.substr(0, bytes.size() / 2)},
        {"header-only.gz", bytes.substr(0, 10)},
        {"no-trailer.gz", bytes.substr(0, bytes.size() - 8)},
    };
    for (const auto& [name, content] : cases) {
        write_file(name, content);
        EXPECT_EQ(read_lines(name).last_outcome, units::outcome_error) << name;
    }
}

TEST(GzipStream, AFileOpenedForWritingIsNotInflated) {
    ScratchDirectory scratch;
    write_file("packed.gz", read_file(sample_gz));
    units::open_unit({.unit = gz_unit, .file = "packed.gz", .status = "OLD"});
    Text<2> magic;
    read(unit(gz_unit), fmt<"(a2)">, magic);
    units::close_unit(gz_unit);
    EXPECT_EQ(magic.view(), "\x1f\x8b");
}

}  // namespace
}  // namespace corvane::testing
