// NOAA's file names taken apart, the editions a directory holds, the choice of the newest
// release and of the plain file before its `.gz` copy, and the variable names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ghcn/ghcnm_file_names.hpp"
#include "ghcn/ghcnm_variables.hpp"
#include "ghcnm_test_files.hpp"

namespace corvane::testing {
namespace {

using ghcn::Edition;
using ghcn::FileKind;

TEST(GhcnmFileNames, NamesAsNoaaShipsThem) {
    struct Case {
        const char* name;
        bool parsed;
        Edition edition;
        const char* element;
        const char* release;
        FileKind kind;
        const char* extension;
        bool gzip;
    };
    const Case cases[] = {
        {"ghcnm.tavg.v4.0.1.20240105.qcu.dat", true, Edition::v4, "tavg", "0.1", FileKind::qcu, "dat", false},
        {"ghcnm.tavg.v4.0.1.20240105.qfe.inv", true, Edition::v4, "tavg", "0.1", FileKind::qfe, "inv", false},
        {"ghcnm.tavg.v4.0.1.20240105.qcf.dat.gz", true, Edition::v4, "tavg", "0.1", FileKind::qcf, "dat", true},
        {"ghcnm.tmin.v3.3.0.20190821.qca.dat", true, Edition::v3, "tmin", "3.0", FileKind::qca, "dat", false},
        {"ghcnm.tavg.v3.3.0.1.20190821.qcu.inv", true, Edition::v3, "tavg", "3.0.1", FileKind::qcu, "inv", false},
        {"ghcnm.tmax.v4.0.1.20240105.qcu.dat", false},   // version 4 has mean temperature only
        {"ghcnm.tavg.v3.3.0.20190821.qcf.dat", false},   // QCF is version 4's
        {"ghcnm.tavg.v4.0.1.2024015.qcu.dat", false},    // a date of 7 digits
        {"ghcnm.tavg.v4.0.1.20240105.qcu.txt", false},
        {"ghcnm.tavg.v5.0.1.20240105.qcu.dat", false},
        {"ghcnm.tavg.v4.20240105.qcu.dat", false},       // no release
        {"v2.mean", false},
    };
    for (const Case& c : cases) {
        const auto f = ghcn::parse_file_name(c.name);
        ASSERT_EQ(f.has_value(), c.parsed) << c.name;
        if (!f) continue;
        EXPECT_EQ(f->edition, c.edition) << c.name;
        EXPECT_EQ(f->element, c.element) << c.name;
        EXPECT_EQ(f->release, c.release) << c.name;
        EXPECT_EQ(f->kind, c.kind) << c.name;
        EXPECT_EQ(f->extension, c.extension) << c.name;
        EXPECT_EQ(f->gzip, c.gzip) << c.name;
    }
}

TEST(GhcnmFileNames, EditionsOfADirectory) {
    const std::vector<std::string> v4_only{"README", "ghcnm-countries.txt", "ghcnm.tavg.v4.0.1.20240105.qcu.dat",
                                           "ghcnm.tavg.v4.0.1.20240105.qcu.inv"};
    EXPECT_EQ(ghcn::find_editions(v4_only).editions, std::vector<int>{4});
    std::vector<std::string> mixed = v4_only;
    mixed.insert(mixed.end(), {"v2.mean", "ghcnm.tmax.v3.3.0.20190821.qcu.dat.gz", "notes.txt"});
    const auto found = ghcn::find_editions(mixed);
    EXPECT_EQ(found.editions, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(found.evidence, (std::vector<std::string>{"ghcnm.tavg.v4.0.1.20240105.qcu.dat",
                                                        "ghcnm.tavg.v4.0.1.20240105.qcu.inv",
                                                        "ghcnm.tmax.v3.3.0.20190821.qcu.dat.gz", "v2.mean"}));
    EXPECT_TRUE(ghcn::find_editions({"README", "data.csv"}).editions.empty());
}

TEST(GhcnmFileNames, SeveralEditionsAreRefusedWithTheNamesFoundUnlessOneIsAsked) {
    const std::vector<std::string> mixed{"v2.mean", "ghcnm.tavg.v4.0.1.20240105.qcu.dat", "README"};
    const auto refused = ghcn::decide_edition(mixed, 0);
    EXPECT_EQ(refused.edition, 0);
    EXPECT_EQ(refused.refusal, "files of more than one version: ghcnm.tavg.v4.0.1.20240105.qcu.dat v2.mean");
    EXPECT_EQ(ghcn::decide_edition(mixed, 4).edition, 4);
    EXPECT_EQ(ghcn::decide_edition({"v2.mean", "v2.temperature.inv"}, 0).edition, 2);
    const auto none = ghcn::decide_edition({"README"}, 0);
    EXPECT_EQ(none.edition, 0);
    EXPECT_FALSE(none.refusal.empty());
}

TEST(GhcnmFileNames, TheNewestReleaseWinsAndThePlainFileBeforeItsGzipCopy) {
    struct Case {
        std::vector<std::string> names;
        const char* chosen;  // empty: none
        std::size_t passed_over;
    };
    const Case cases[] = {
        {{"ghcnm.tavg.v4.0.1.20230101.qcu.dat", "ghcnm.tavg.v4.0.1.20240105.qcu.dat"},
         "ghcnm.tavg.v4.0.1.20240105.qcu.dat", 1},
        {{"ghcnm.tavg.v4.0.1.20240105.qcu.dat.gz", "ghcnm.tavg.v4.0.1.20240105.qcu.dat"},
         "ghcnm.tavg.v4.0.1.20240105.qcu.dat", 1},
        {{"ghcnm.tavg.v4.0.1.20240105.qcu.dat.gz", "ghcnm.tavg.v4.0.1.20230101.qcu.dat"},
         "ghcnm.tavg.v4.0.1.20240105.qcu.dat.gz", 1},  // newer compressed before older plain
        {{"ghcnm.tavg.v4.0.1.20240105.qcf.dat", "ghcnm.tavg.v4.0.1.20240105.qcu.inv"}, "", 0},
        {{}, "", 0},
    };
    for (const Case& c : cases) {
        const auto choice = ghcn::choose_file(c.names, Edition::v4, "tavg", FileKind::qcu, "dat");
        EXPECT_EQ(choice.chosen ? choice.chosen->file_name : "", c.chosen);
        EXPECT_EQ(choice.passed_over.size(), c.passed_over);
    }
}

TEST(GhcnmFileNames, TheBundledSetsHoldOneEditionEach) {
    const auto v4 = ghcn::list_directory(std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v4-sample");
    EXPECT_EQ(ghcn::find_editions(v4).editions, std::vector<int>{4});
    const auto choice = ghcn::choose_file(v4, Edition::v4, "tavg", FileKind::qcu, "dat");
    ASSERT_TRUE(choice.chosen);
    EXPECT_EQ(choice.chosen->file_name, v4_qcu_dat);
    EXPECT_EQ(choice.passed_over, std::vector<std::string>{v4_qcu_dat + ".gz"});
    const auto v3 = ghcn::list_directory(std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v3-sample");
    EXPECT_EQ(ghcn::find_editions(v3).editions, std::vector<int>{3});
}

TEST(GhcnmVariables, NamesOfEachEdition) {
    struct Case {
        Edition edition;
        const char* name;
        bool known;
        const char* element;
        FileKind kind;
    };
    const Case cases[] = {
        {Edition::v4, "tavg", true, "tavg", FileKind::qcu},     {Edition::v4, "tavg-adj", true, "tavg", FileKind::qcf},
        {Edition::v4, "tavg-adj-est", true, "tavg", FileKind::qfe}, {Edition::v4, "tmax", false},
        {Edition::v3, "tavg-adj", true, "tavg", FileKind::qca}, {Edition::v3, "tmax", true, "tmax", FileKind::qcu},
        {Edition::v3, "tmin-adj", true, "tmin", FileKind::qca}, {Edition::v3, "tavg-adj-est", false},
        {Edition::v3, "mean", false},
    };
    for (const Case& c : cases) {
        const auto v = ghcn::find_variable(c.edition, c.name);
        ASSERT_EQ(v.has_value(), c.known) << c.name;
        if (!v) continue;
        EXPECT_EQ(v->element, c.element) << c.name;
        EXPECT_EQ(v->kind, c.kind) << c.name;
    }
    EXPECT_EQ(ghcn::variables_of(Edition::v4).size(), 3u);
    EXPECT_EQ(ghcn::variables_of(Edition::v3).size(), 6u);
}

}  // namespace
}  // namespace corvane::testing
