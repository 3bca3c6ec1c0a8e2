#include "units/message_tables.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "units/conditions.hpp"

namespace corvane::units {

TEST(MessageTablesTest, RuntimeTableCoversExactlyItsRange) {
    for (int code = condition::first; code <= condition::last; ++code) {
        EXPECT_FALSE(runtime_message(Condition{code}).empty()) << code;
        EXPECT_TRUE(condition::is_runtime_code(code));
    }
    EXPECT_EQ(condition::last - condition::first + 1, 75);
    EXPECT_FALSE(condition::is_runtime_code(9999));
    EXPECT_FALSE(condition::is_runtime_code(10075));
    EXPECT_TRUE(runtime_message(Condition{9999}).empty());
    EXPECT_TRUE(runtime_message(Condition{10075}).empty());
    EXPECT_TRUE(runtime_message(Condition{0}).empty());
    EXPECT_TRUE(runtime_message(Condition{-1}).empty());
}

// The names the code raises conditions by must stand for the texts they mean.
TEST(MessageTablesTest, NamedConditionsHaveTheirTexts) {
    struct Named {
        Condition code;
        std::string_view text;
    };
    const Named named[] = {
        {condition::not_open_for_read, "File not open for read"},
        {condition::buffer_allocation, "Buffer allocation failed"},
        {condition::bad_specifier, "Bad iolist specifier"},
        {condition::bad_format, "Error in format string"},
        {condition::non_repeatable, "Non-repeatable format descriptor"},
        {condition::end_of_file, "Attempt to read past end of file"},
        {condition::bad_file_specification, "Bad file specification"},
        {condition::group_overflow, "Format group table overflow"},
        {condition::illegal_numeric_character, "Illegal character in numeric input"},
        {condition::type_mismatch, "Variable type or size does not match edit descriptor"},
        {condition::illegal_internal_use, "Illegal use of internal file"},
        {condition::illegal_unit, "Unconnected or illegal unit specified"},
        {condition::new_file_exists, "Status 'NEW' specified for an existing file"},
        {condition::windows_required, "Tessel is required for that feature"},
        {condition::bad_window, "Bad specification for window"},
        {condition::read_past_end_of_record, "Attempt to read past end of record"},
        {condition::end_of_record_nonadvancing, "Attempt to read past end of record in non-advancing I/O"},
        {condition::eor_with_advancing, "EOR= specified with ADVANCE=YES"},
        {condition::record_too_long, "Attempt to write a record longer than specified record length"},
        {condition::advance_not_allowed, "ADVANCE= specified for direct access or unformatted file"},
        {condition::memory_allocation, "Runtime memory allocation fails"},
    };
    for (const Named& n : named) EXPECT_EQ(runtime_message(n.code), n.text) << n.code;
}

TEST(MessageTablesTest, RuntimeTextsAreVerbatimIncludingMisspellings) {
    EXPECT_EQ(runtime_message(Condition{10000}), "File not open for read");
    EXPECT_EQ(runtime_message(Condition{10009}), "Format string missing opening (");
    EXPECT_EQ(runtime_message(Condition{10013}), "Attempt to read past end of file");
    EXPECT_EQ(runtime_message(Condition{10016}), "Illegal character in numeric input");
    EXPECT_EQ(runtime_message(Condition{10032}), "Status 'NEW' specified for an existing file");
    EXPECT_EQ(runtime_message(Condition{10034}), "Tessel is required for that feature");
    EXPECT_EQ(runtime_message(Condition{10039}), "Attempt to read past end of record in non-advancing I/O");
    EXPECT_EQ(runtime_message(Condition{10056}), "The ORDER argument to RESHARE is contains an illegal value");
    EXPECT_EQ(runtime_message(Condition{10066}), "Expected & or $ as first character for NAMELIST input");
    EXPECT_EQ(runtime_message(Condition{10071}), "Illegal rank for matrix argument to MATMUL array instrinsic");
    EXPECT_EQ(runtime_message(Condition{10074}),
              "Control of gradual/abrupt underflow is not supported in this environment");
}

TEST(MessageTablesTest, SystemRowsReadAsGiven) {
    EXPECT_EQ(system_message(Condition{0}), "NO_ERROR");
    EXPECT_EQ(system_message(Condition{2}), "The system cannot find the file specified.");
    EXPECT_EQ(system_message(Condition{3}), "The system cannot find the path specified.");
    EXPECT_EQ(system_message(Condition{4}), "The system cannot open the file.");
    EXPECT_EQ(system_message(Condition{5}), "Access Denied.");
    EXPECT_EQ(system_message(Condition{32}),
              "The process cannot access the file because it is being used by another process.");
    EXPECT_EQ(system_message(Condition{39}), "The disk is full.");
    EXPECT_EQ(system_message(Condition{80}), "The file exists.");
    EXPECT_EQ(system_message(Condition{112}), "There is not enough space on the disk.");
    EXPECT_EQ(system_message(Condition{123}),
              "The file name, directory name, or volume label is not syntactically correct.");
    EXPECT_EQ(system_message(Condition{206}), "The file name or extension is too long.");
    // A text split over several source lines must come out whole.
    EXPECT_EQ(system_message(Condition{1005}).substr(0, 54),
              "The volume does not contain a recognized file system. ");
    EXPECT_TRUE(system_message(Condition{1005}).ends_with("the volume is not corrupted."));
}

TEST(MessageTablesTest, SystemTableGapsAndOutOfRangeAreEmpty) {
    EXPECT_TRUE(system_message(Condition{34}).empty());  // a code inside the table without a text
    EXPECT_TRUE(system_message(Condition{2405}).empty());
    EXPECT_TRUE(system_message(Condition{2406}).empty());
    EXPECT_TRUE(system_message(Condition{-1}).empty());
    EXPECT_TRUE(system_message(Condition{10002}).empty());
    EXPECT_FALSE(system_message(Condition{2404}).empty());  // the last row is still found
}

// The system table row by row: the codes that have a text, as runs of consecutive codes. A
// row lost or added, or a code mistyped, shows here.
TEST(MessageTablesTest, SystemTableHasExactlyItsRows) {
    struct Run {
        int first;
        int last;
    };
    const Run runs[] = {
        {0, 33}, {36, 36}, {38, 39}, {50, 50}, {53, 72}, {80, 80}, {82, 89}, {100, 105}, {107, 114},
        {117, 128}, {130, 149}, {151, 162}, {164, 164}, {167, 167}, {170, 170}, {173, 174}, {180, 180},
        {183, 183}, {186, 187}, {196, 197}, {199, 200}, {203, 203}, {205, 210}, {212, 212}, {214, 215},
        {222, 223}, {229, 234}, {240, 240}, {254, 255}, {258, 259}, {266, 267}, {275, 278}, {282, 282},
        {288, 288}, {298, 303}, {487, 487}, {534, 536}, {994, 999}, {1001, 1014}, {1016, 1022}, {1051, 1079},
        {1100, 1118}, {1122, 1132}, {1142, 1142}, {1155, 1155}, {1167, 1170}, {1200, 1201}, {1203, 1203},
        {1222, 1230}, {1234, 1238}, {1300, 1303}, {1305, 1310}, {1312, 1321}, {1323, 1324}, {1326, 1326},
        {1332, 1332}, {1336, 1338}, {1400, 1456}, {1460, 1460}, {1500, 1503}, {1700, 1728}, {1730, 1730},
        {1732, 1737}, {1739, 1775}, {1777, 1822}, {1824, 1832}, {1898, 1906}, {1908, 1921}, {2000, 2005},
        {2010, 2022}, {2108, 2108}, {2202, 2202}, {2250, 2250}, {2401, 2402}, {2404, 2404}
    };
    std::vector<bool> listed(2406, false);
    int rows = 0;
    for (const Run& run : runs) {
        for (int code = run.first; code <= run.last; ++code, ++rows) listed[static_cast<std::size_t>(code)] = true;
    }
    EXPECT_EQ(rows, 553);
    for (int code = 0; code <= 2405; ++code) {
        EXPECT_EQ(system_message(Condition{code}).empty(), !listed[static_cast<std::size_t>(code)]) << code;
    }
}

TEST(MessageTablesTest, ErrnoMapsToCodesWithText) {
    EXPECT_EQ(system_code_from_errno(ENOENT), 2);
    EXPECT_EQ(system_code_from_errno(ENOTDIR), 3);
    EXPECT_EQ(system_code_from_errno(EMFILE), 4);
    EXPECT_EQ(system_code_from_errno(ENFILE), 4);
    EXPECT_EQ(system_code_from_errno(EACCES), 5);
    EXPECT_EQ(system_code_from_errno(EPERM), 5);
    EXPECT_EQ(system_code_from_errno(EISDIR), 5);
    EXPECT_EQ(system_code_from_errno(EBADF), 6);
    EXPECT_EQ(system_code_from_errno(ENOMEM), 8);
    EXPECT_EQ(system_code_from_errno(EROFS), 19);
    EXPECT_EQ(system_code_from_errno(EBUSY), 32);
    EXPECT_EQ(system_code_from_errno(ETXTBSY), 32);
    EXPECT_EQ(system_code_from_errno(EEXIST), 80);
    EXPECT_EQ(system_code_from_errno(EINVAL), 87);
    EXPECT_EQ(system_code_from_errno(EPIPE), 109);
    EXPECT_EQ(system_code_from_errno(ENOSPC), 112);
    EXPECT_EQ(system_code_from_errno(EDQUOT), 112);
    EXPECT_EQ(system_code_from_errno(ENAMETOOLONG), 206);
    EXPECT_EQ(system_code_from_errno(EIO), 1117);
    EXPECT_EQ(system_code_from_errno(0x7fff), 31);  // unknown errno: general device failure

    for (int e = 0; e <= 133; ++e) {
        const Condition code = system_code_from_errno(e);
        EXPECT_NE(code, 0) << "errno " << e;
        EXPECT_FALSE(system_message(code).empty()) << "errno " << e << " -> " << code;
    }
}

}  // namespace corvane::units
