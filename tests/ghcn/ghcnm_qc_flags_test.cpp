// The QC letters of each edition and file kind as the readmes list them, and the drop
// policy: failed checks drop a value, an adjustment note never does, a missing value stays
// missing, an unknown letter is not taken for a failed check.
#include <gtest/gtest.h>

#include <string>

#include "ghcn/ghcnm_data_record.hpp"
#include "ghcn/ghcnm_qc_flags.hpp"

namespace corvane::testing {
namespace {

using ghcn::Edition;
using ghcn::FileKind;
using ghcn::QcRole;

std::string letters_of(Edition e, FileKind k) {
    std::string s;
    for (const ghcn::QcFlag& f : ghcn::qc_flags(e, k)) s += f.letter;
    return s;
}

TEST(GhcnmQcFlags, EachFileKindHasTheLettersOfItsReadme) {
    EXPECT_EQ(letters_of(Edition::v4, FileKind::qcu), "EDRKWILOSTM");
    EXPECT_EQ(letters_of(Edition::v4, FileKind::qcf), "AMX");
    EXPECT_EQ(letters_of(Edition::v4, FileKind::qfe), "AMX");
    EXPECT_EQ(letters_of(Edition::v3, FileKind::qcu), "DILMOSW");
    EXPECT_EQ(letters_of(Edition::v3, FileKind::qca), "AQMX");
    EXPECT_EQ(letters_of(Edition::v3, FileKind::qcf), "");
    EXPECT_EQ(letters_of(Edition::v4, FileKind::qca), "");
    for (Edition e : {Edition::v3, Edition::v4})
        for (FileKind k : {FileKind::qcu, FileKind::qcf, FileKind::qfe, FileKind::qca})
            for (const ghcn::QcFlag& f : ghcn::qc_flags(e, k)) EXPECT_FALSE(f.meaning.empty()) << f.letter;
}

TEST(GhcnmQcFlags, UnadjustedLettersAllMarkAFailedCheck) {
    for (Edition e : {Edition::v3, Edition::v4})
        for (const ghcn::QcFlag& f : ghcn::qc_flags(e, FileKind::qcu)) EXPECT_EQ(f.role, QcRole::failed_check) << f.letter;
}

TEST(GhcnmQcFlags, TheDropPolicy) {
    struct Case {
        Edition edition;
        FileKind kind;
        char letter;
        int value;
        bool dropped;
    };
    const Case cases[] = {
        {Edition::v4, FileKind::qcu, 'E', 1234, true},   {Edition::v4, FileKind::qcu, 'T', -40, true},
        {Edition::v4, FileKind::qcu, ' ', 1234, false},  {Edition::v4, FileKind::qcu, 'E', ghcn::missing_value, false},
        {Edition::v4, FileKind::qcf, 'A', 1234, false},  {Edition::v4, FileKind::qcf, 'M', ghcn::missing_value, false},
        {Edition::v4, FileKind::qcf, 'X', ghcn::missing_value, false}, {Edition::v4, FileKind::qfe, 'A', 12, false},
        {Edition::v3, FileKind::qcu, 'W', 250, true},    {Edition::v3, FileKind::qcu, 'E', 250, false},  // not a v3 letter
        {Edition::v3, FileKind::qca, 'A', 250, false},   {Edition::v3, FileKind::qca, 'Q', 250, true},
        {Edition::v4, FileKind::qcu, 'Z', 250, false},   // unknown: kept, named by the caller
    };
    for (const Case& c : cases)
        EXPECT_EQ(ghcn::drops_value(c.edition, c.kind, c.letter, c.value), c.dropped)
            << "v" << static_cast<int>(c.edition) << " " << c.letter << " " << c.value;
}

TEST(GhcnmQcFlags, ABlankOrUnknownLetterHasNoEntry) {
    EXPECT_FALSE(ghcn::find_qc_flag(Edition::v4, FileKind::qcu, ' '));
    EXPECT_FALSE(ghcn::find_qc_flag(Edition::v4, FileKind::qcu, 'Z'));
    EXPECT_FALSE(ghcn::find_qc_flag(Edition::v3, FileKind::qcu, 'K'));
    ASSERT_TRUE(ghcn::find_qc_flag(Edition::v4, FileKind::qcu, 'K'));
    EXPECT_EQ(ghcn::find_qc_flag(Edition::v4, FileKind::qcf, 'A')->role, QcRole::adjustment_note);
}

}  // namespace
}  // namespace corvane::testing
