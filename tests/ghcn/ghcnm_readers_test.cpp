// The readers on the bundled sets: every station, record and flag as the files hold them,
// both missing-elevation markers, stations either side of 180 degrees, a year written
// twice, the `.gz` copy read like the plain file, and malformed files named by file, line
// and field.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ghcn/ghcnm_country_list.hpp"
#include "ghcn/ghcnm_data_file.hpp"
#include "ghcn/ghcnm_inventory.hpp"
#include "ghcn/ghcnm_qc_flags.hpp"
#include "ghcnm_test_files.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

using ghcn::GhcnmRecord;
using ghcn::Edition;
using ghcn::ReadProblem;
using ghcn::ReadStatus;

struct WholeFile {
    std::vector<GhcnmRecord> records;
    ReadStatus ended = ReadStatus::record;
    ReadProblem problem;
};

WholeFile read_all(const std::string& path) {
    WholeFile f;
    ghcn::DataFileReader reader;
    if (!reader.open(path, f.problem)) {
        f.ended = ReadStatus::problem;
        return f;
    }
    GhcnmRecord r;
    while ((f.ended = reader.next(r, f.problem)) == ReadStatus::record) f.records.push_back(r);
    return f;
}

std::map<std::string, ghcn::GhcnmStation> by_name(Edition e, const std::string& path) {
    std::vector<ghcn::GhcnmStation> stations;
    ReadProblem problem;
    EXPECT_TRUE(ghcn::read_inventory(e, path, stations, problem)) << ghcn::describe(problem);
    std::map<std::string, ghcn::GhcnmStation> named;
    for (const auto& s : stations) named[s.name] = s;
    return named;
}

std::size_t line_count(const std::string& path) {
    const std::string text = read_file(path);
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(GhcnmInventory, Version4HardCases) {
    const auto named = by_name(Edition::v4, v4_sample(v4_qcu_inv));
    EXPECT_EQ(named.size(), line_count(v4_sample(v4_qcu_inv)));
    for (const char* name : {"NOELEV MINUS", "NOELEV NINES"}) {
        ASSERT_TRUE(named.contains(name)) << name;
        EXPECT_FALSE(named.at(name).elevation) << name;
        EXPECT_EQ(named.at(name).elevation_text, "") << name;
    }
    const auto& east = named.at("KORONI EAST POINT");
    const auto& west = named.at("VALOFA WEST CAPE");
    EXPECT_DOUBLE_EQ(east.longitude, 179.85);
    EXPECT_EQ(east.longitude_text, "179.8500");
    EXPECT_DOUBLE_EQ(west.longitude, -179.9);
    EXPECT_EQ(west.latitude_text, "-16.7500");
    EXPECT_EQ(west.elevation_text, "25.0");
    EXPECT_EQ(*west.elevation, 25.0);
    EXPECT_EQ(west.country_code, west.id.substr(0, 2));
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(west.id[0])));
}

TEST(GhcnmInventory, Version3LinesWithMetadataColumns) {
    const std::string path = v3_sample(v3_stem + "qcu.inv");
    const auto named = by_name(Edition::v3, path);
    EXPECT_EQ(named.size(), line_count(path));
    EXPECT_FALSE(named.at("NOELEV MINUS").elevation);
    EXPECT_FALSE(named.at("NOELEV NINES").elevation);
    const auto& st = named.at("FLAGGED STATION");
    EXPECT_EQ(st.latitude_text, "35.70");
    EXPECT_EQ(st.country_code, st.id.substr(0, 3));
    EXPECT_EQ(st.name, "FLAGGED STATION");  // the metadata after column 68 is not part of it
}

TEST(GhcnmInventory, Version3MetadataIsPassedOverWhateverItHolds) {
    const std::string start = "50111955728    50.25     10.50 -999.0 NOELEV MINUS                  ";
    for (const std::string& metadata : {std::string(" 95U 6246HIxxCO-9x-9TROP. SAVANNA   C"), std::string(" ??X abcdefghij"),
                                        std::string(" 95U 6246HIxxCO-9x-9TROP. SAVANNA   C and more text than v3 has"),
                                        std::string()}) {
        std::string line = start + metadata;
        ghcn::GhcnmStation st;
        std::string field, what;
        EXPECT_TRUE(ghcn::parse_inventory_line(Edition::v3, line.data(), line.size(), st, field, what)) << metadata << what;
        EXPECT_EQ(st.name, "NOELEV MINUS");
        EXPECT_FALSE(st.elevation);
        EXPECT_EQ(st.country_code, "501");
    }
}

TEST(GhcnmInventory, MalformedLinesNameTheirField) {
    const std::string good = "FJW30109475 -16.7500 -179.9000   25.0 VALOFA WEST CAPE";
    struct Case {
        Edition edition;
        std::string line;
        const char* field;
    };
    const Case cases[] = {
        {Edition::v4, good.substr(0, 25), "LONGITUDE"},
        {Edition::v4, "FJW30109475 -16.7a00 -179.9000   25.0 X", "LATITUDE"},
        {Edition::v4, "FJW30109475          -179.9000   25.0 X", "LATITUDE"},
        {Edition::v4, "FJW30109475 -96.7500 -179.9000   25.0 X", "LATITUDE"},
        {Edition::v4, "FJW30109475 -16.7500 -189.9000   25.0 X", "LONGITUDE"},
        {Edition::v4, "FJW30109475 -16.7500 -179.9000   2 .0 X", "STNELEV"},
        {Edition::v4, "12W30109475 -16.7500 -179.9000   25.0 X", "ID"},
        {Edition::v3, "FJW30109475 -16.7500 -179.9000   25.0 X", "ID"},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        ghcn::GhcnmStation st;
        std::string field, what;
        EXPECT_FALSE(ghcn::parse_inventory_line(c.edition, line.data(), line.size(), st, field, what)) << c.line;
        EXPECT_EQ(field, c.field) << c.line << ": " << what;
    }
    std::string line = good;
    ghcn::GhcnmStation st;
    std::string field, what;
    EXPECT_TRUE(ghcn::parse_inventory_line(Edition::v4, line.data(), line.size(), st, field, what)) << what;
    EXPECT_EQ(st.name, "VALOFA WEST CAPE");  // a line ending after the name's last letter
}

TEST(GhcnmCountryList, BothEditions) {
    std::vector<ghcn::Country> v4, v3;
    ReadProblem problem;
    ASSERT_TRUE(ghcn::read_country_list(Edition::v4, v4_sample("ghcnm-countries.txt"), v4, problem));
    ASSERT_TRUE(ghcn::read_country_list(Edition::v3, v3_sample("country-codes"), v3, problem));
    EXPECT_EQ(v4.size(), line_count(v4_sample("ghcnm-countries.txt")));
    EXPECT_GT(v3.size(), 200u);
    std::map<std::string, std::string> names;
    for (const auto& c : v4) names[c.code] = c.name;
    EXPECT_EQ(names["FJ"], "Fiji");
    EXPECT_EQ(names["NZ"], "New Zealand");
    for (const auto& c : v3) EXPECT_EQ(c.code.size(), 3u) << c.name;

    ghcn::Country c;
    std::string what;
    EXPECT_FALSE(ghcn::parse_country_line(Edition::v3, "FJ Fiji", c, what));
    EXPECT_FALSE(ghcn::parse_country_line(Edition::v4, "101 ALGERIA", c, what));
    EXPECT_FALSE(ghcn::parse_country_line(Edition::v4, "FJFiji", c, what));
    ASSERT_TRUE(ghcn::parse_country_line(Edition::v3, "101 ALGERIA   ", c, what)) << what;
    EXPECT_EQ(c.code + "|" + c.name, "101|ALGERIA");
}

TEST(GhcnmDataFile, Version4UnadjustedHoldsEveryLetterAndTheYearWrittenTwice) {
    const WholeFile f = read_all(v4_sample(v4_qcu_dat));
    ASSERT_EQ(f.ended, ReadStatus::end_of_file) << ghcn::describe(f.problem);
    EXPECT_EQ(f.records.size(), line_count(v4_sample(v4_qcu_dat)));
    std::set<char> letters;
    std::map<std::pair<std::string, int>, int> years;
    for (const GhcnmRecord& r : f.records) {
        ++years[{r.id, r.year}];
        for (const auto& m : r.months) {
            letters.insert(m.qcflag);
            if (m.hundredths == ghcn::missing_value) {
                EXPECT_EQ(std::string({m.dmflag, m.qcflag, m.dsflag}), "   ");
            }
        }
    }
    for (const ghcn::QcFlag& flag : ghcn::qc_flags(Edition::v4, ghcn::FileKind::qcu))
        EXPECT_TRUE(letters.contains(flag.letter)) << flag.letter;
    EXPECT_TRUE(letters.contains(' '));
    int twice = 0;
    for (const auto& [key, n] : years) twice += n == 2;
    EXPECT_EQ(twice, 1);
}

TEST(GhcnmDataFile, EveryAdjustedLetterOccursInItsFile) {
    const std::pair<std::string, std::string> files[] = {{v4_sample(v4_qcf_dat), "AMX"},
                                                         {v3_sample(v3_stem + "qca.dat"), "AMQX"}};
    for (const auto& [path, expected] : files) {
        const WholeFile f = read_all(path);
        ASSERT_EQ(f.ended, ReadStatus::end_of_file) << ghcn::describe(f.problem);
        std::set<char> letters;
        for (const GhcnmRecord& r : f.records)
            for (const auto& m : r.months) {
                letters.insert(m.qcflag);
                if (m.qcflag == 'M' || m.qcflag == 'X') {
                    EXPECT_EQ(m.hundredths, ghcn::missing_value);
                }
            }
        for (char c : expected) EXPECT_TRUE(letters.contains(c)) << path << " " << c;
    }
}

TEST(GhcnmDataFile, TheGzipCopyReadsAsThePlainFile) {
    const WholeFile plain = read_all(v4_sample(v4_qcu_dat));
    const WholeFile packed = read_all(v4_sample(v4_qcu_dat + ".gz"));
    ASSERT_EQ(packed.ended, ReadStatus::end_of_file) << ghcn::describe(packed.problem);
    ASSERT_EQ(packed.records.size(), plain.records.size());
    for (std::size_t i = 0; i < plain.records.size(); ++i) {
        EXPECT_EQ(packed.records[i].id, plain.records[i].id);
        EXPECT_EQ(packed.records[i].year, plain.records[i].year);
        for (int m = 0; m < 12; ++m) EXPECT_EQ(packed.records[i].months[m].hundredths, plain.records[i].months[m].hundredths);
    }
}

TEST(GhcnmDataFile, ACorruptOrCutShortGzipFileIsAReadErrorNamingIt) {
    ScratchDirectory scratch;
    const std::string bytes = read_file(v4_sample(v4_qcu_dat + ".gz"));
    std::string corrupt = bytes;
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 16; ++i) corrupt[i] = static_cast<char>(~corrupt[i]);
    struct Case {
        const char* name;
        std::string content;
        bool all_records;  // every record inflates before the damage shows
    };
    const Case cases[] = {
        {"corrupt.dat.gz", corrupt, false},
        {"cut.dat.gz", bytes.substr(0, bytes.size() / 2), false},
        {"no-trailer.dat.gz", bytes.substr(0, bytes.size() - 4), true},  // the check sum is gone
    };
    for (const Case& c : cases) {
        write_file(c.name, c.content);
        const WholeFile f = read_all(c.name);
        EXPECT_EQ(f.ended, ReadStatus::problem) << c.name;
        EXPECT_EQ(f.problem.file, c.name);
        EXPECT_EQ(ghcn::describe(f.problem).find(c.name), 0u) << ghcn::describe(f.problem);
        EXPECT_NE(f.problem.what.find("cannot be read (condition "), std::string::npos) << f.problem.what;
        EXPECT_EQ(f.records.size() == line_count(v4_sample(v4_qcu_dat)), c.all_records) << c.name;
    }
}

TEST(GhcnmDataFile, AMalformedRecordIsNamedByFileLineAndField) {
    ScratchDirectory scratch;
    const std::string text = read_file(v4_sample(v4_qcu_dat));
    std::string bad = text;
    const std::size_t third = bad.find('\n', bad.find('\n') + 1) + 1;
    bad.replace(third + 27, 5, " 1x3 ");  // VALUE2 of line 3
    write_file("bad.dat", bad);
    const WholeFile f = read_all("bad.dat");
    ASSERT_EQ(f.ended, ReadStatus::problem);
    EXPECT_EQ(f.records.size(), 2u);
    EXPECT_EQ(ghcn::describe(f.problem), "bad.dat, line 3, field VALUE2: is not a whole number: \" 1x3 \"");

    write_file("cut.dat", text.substr(0, text.find('\n') + 1) + text.substr(0, 70) + "\n");
    const WholeFile cut = read_all("cut.dat");
    ASSERT_EQ(cut.ended, ReadStatus::problem);
    EXPECT_EQ(cut.problem.line, 2);
    EXPECT_EQ(cut.problem.field, "VALUE7");

    write_file("long.dat", text.substr(0, 115) + std::string(300, ' ') + "\n" + text);
    const WholeFile long_line = read_all("long.dat");
    ASSERT_EQ(long_line.ended, ReadStatus::problem);
    EXPECT_EQ(ghcn::describe(long_line.problem), "long.dat, line 1: is longer than 256 columns");
}

TEST(GhcnmDataFile, CrLfLineEndsAndAMissingLastLineEnd) {
    ScratchDirectory scratch;
    const std::string text = read_file(v4_sample(v4_qcu_dat));
    const std::string first = text.substr(0, 115), second = text.substr(116, 115);
    const std::pair<const char*, std::string> cases[] = {
        {"crlf.dat", first + "\r\n" + second + "\r\n"},
        {"unended.dat", first + "\n" + second},
        {"crlf-unended.dat", first + "\r\n" + second},
    };
    for (const auto& [name, content] : cases) {
        write_file(name, content);
        const WholeFile f = read_all(name);
        EXPECT_EQ(f.ended, ReadStatus::end_of_file) << name << ": " << ghcn::describe(f.problem);
        ASSERT_EQ(f.records.size(), 2u) << name;
        EXPECT_EQ(f.records[1].months[11].dsflag, second[114]) << name;
    }
}

TEST(GhcnmDataFile, AFileThatIsNotThereIsNamed) {
    ScratchDirectory scratch;
    const WholeFile f = read_all("absent.dat");
    EXPECT_EQ(f.ended, ReadStatus::problem);
    EXPECT_EQ(f.problem.file, "absent.dat");
    EXPECT_EQ(f.problem.line, 0);
}

TEST(GhcnmDataFile, EveryVersion3FileReadsToTheEnd) {
    for (const char* element : {"tavg", "tmax", "tmin"})
        for (const char* kind : {"qcu", "qca"}) {
            const std::string path = v3_sample(std::string("ghcnm.") + element + ".v3.3.0.20190821." + kind + ".dat");
            const WholeFile f = read_all(path);
            EXPECT_EQ(f.ended, ReadStatus::end_of_file) << ghcn::describe(f.problem);
            EXPECT_EQ(f.records.size(), line_count(path));
            for (const GhcnmRecord& r : f.records) EXPECT_EQ(r.element, std::string(element) == "tavg" ? "TAVG" : element == std::string("tmax") ? "TMAX" : "TMIN");
        }
}

}  // namespace
}  // namespace corvane::testing
