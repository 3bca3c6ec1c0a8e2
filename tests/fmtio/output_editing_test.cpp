#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <string>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/runtime_options.hpp"

namespace corvane::fmtio {
namespace {

using testing::ScriptedConsole;

// What a WRITE to the console puts out, record ends included.
template <class... Items>
std::string written(const FormatArg& format, const Items&... items) {
    ScriptedConsole console;
    write(default_unit, format, items...);
    return console.output();
}

// One record without its CR LF.
template <class... Items>
std::string field(const FormatArg& format, const Items&... items) {
    std::string out = written(format, items...);
    if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0) out.resize(out.size() - 2);
    return out;
}

TEST(OutputEditing, FixedPointWorkedValues) {
    EXPECT_EQ(field(fmt<"(f6.2)">, 24.5f), " 24.50");
    EXPECT_EQ(field(fmt<"(f7.2)">, -116.5f), "-116.50");
    EXPECT_EQ(field(fmt<"(f6.2)">, 0.5f), "  0.50");
    EXPECT_EQ(field(fmt<"(f6.2)">, -0.004f), " -0.00");  // rounds to zero, keeps its sign
    EXPECT_EQ(field(fmt<"(f6.2)">, 12.345f), " 12.35");
    EXPECT_EQ(field(fmt<"(f6.2)">, 1234.5f), "******");
    EXPECT_EQ(field(fmt<"(f7.2)">, 10.125f), "  10.12");  // 10.125 / 10 is 1.01249999... in double
    EXPECT_EQ(field(fmt<"(f6.2)">, 9.995f), "  9.99");    // stored slightly below
    EXPECT_EQ(field(fmt<"(f6.2)">, 99.995f), "100.00");   // stored slightly above
    EXPECT_EQ(field(fmt<"(f6.2)">, 0.006f), "  0.01");
    EXPECT_EQ(field(fmt<"(f6.2)">, -0.0f), "  0.00");     // negative zero has no sign
    EXPECT_EQ(field(fmt<"(f6.2)">, -100.0f), "******");   // the header's longitude overflow
    EXPECT_EQ(field(fmt<"(f4.2)">, 0.5f), "0.50");
    EXPECT_EQ(field(fmt<"(f3.2)">, 0.5f), ".50");         // no room for the leading zero
    EXPECT_EQ(field(fmt<"(f4.2)">, -0.5f), "-.50");
    EXPECT_EQ(field(fmt<"(f5.0)">, 0.3f), "   0.");       // d = 0 below 0.5: no sign
    EXPECT_EQ(field(fmt<"(f5.0)">, -0.3f), "   0.");
    EXPECT_EQ(field(fmt<"(f5.0)">, 2.5f), "   3.");
    EXPECT_EQ(field(fmt<"(f0.2)">, -3.14159), "-3.14");   // minimal width
    EXPECT_EQ(field(fmt<"(sp,f6.2)">, 1.5f), " +1.50");
    EXPECT_EQ(field(fmt<"(sp,f6.2,s,f6.2)">, 1.5f, 1.5f), " +1.50  1.50");
    EXPECT_EQ(field(fmt<"(2p,f8.2)">, 1.2345), "  123.45");
    EXPECT_EQ(field(fmt<"(-1p,f6.3)">, 1.5), " 0.150");
    EXPECT_EQ(field(fmt<"(f30.20)">, 0.1), "        0.10000000000000000000");  // 16 digits, 17th 0
    EXPECT_EQ(field(fmt<"(f10.2)">, 1e30f), "**********");
    // A value that rounds to 0 has no integer digits, whatever the scale factor.
    EXPECT_EQ(field(fmt<"(2p,f6.2)">, 0.0f), "  0.00");
    EXPECT_EQ(field(fmt<"(3p,f6.2)">, 0.0), "  0.00");
    EXPECT_EQ(field(fmt<"(2p,f6.2)">, -0.00001), " -0.00");
    EXPECT_EQ(field(fmt<"(2p,f6.2)">, 0.001), "  0.10");
    // Scale factors as large as a width; a larger one is a bad format, not an overflow.
    EXPECT_EQ(field(runtime_format("(16777214p,f6.2)"), 1.5), "******");
    EXPECT_EQ(field(runtime_format("(-16777214p,e12.3)"), 1.5), "************");
    std::int32_t status = 0;
    ScriptedConsole console;
    write(default_unit, units::with_iostat(status), runtime_format("(2147483647p,f6.2)"), 1.5);
    EXPECT_EQ(status, 10006);
}

TEST(OutputEditing, SpecialValuesAndTheLeadingZeroOption) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(field(fmt<"(f6.2)">, inf), "   INF");
    EXPECT_EQ(field(fmt<"(f6.2)">, -inf), "  -INF");
    EXPECT_EQ(field(fmt<"(f6.2)">, std::numeric_limits<double>::quiet_NaN()), "   NaN");
    EXPECT_EQ(field(fmt<"(f3.1)">, -inf), "***");
    EXPECT_EQ(field(fmt<"(e10.3)">, inf), "       INF");

    units::RuntimeOptions& options = units::runtime_options_for_update();
    options.no_lead_zero = true;
    EXPECT_EQ(field(fmt<"(f6.2)">, 0.5f), "   .50");
    options.no_lead_zero = false;
}

TEST(OutputEditing, IntegersInEveryBase) {
    EXPECT_EQ(field(fmt<"(i1)">, 0), "0");
    EXPECT_EQ(field(fmt<"(i1)">, 10), "*");
    EXPECT_EQ(field(fmt<"(i5)">, -9999), "-9999");
    EXPECT_EQ(field(fmt<"(i5)">, -10000), "*****");
    EXPECT_EQ(field(fmt<"(i6.4)">, 42), "  0042");
    EXPECT_EQ(field(fmt<"(i6.4)">, -42), " -0042");
    // With m = 0 a zero has an empty text; only under SP does it take a blank.
    EXPECT_EQ(field(fmt<"(i3.0)">, 0), "   ");
    EXPECT_EQ(written(fmt<"(i0.0)">, 0), "\r\n");
    EXPECT_EQ(written(fmt<"(b0.0,o0.0,z0.0)">, 0, 0, 0), "\r\n");
    EXPECT_EQ(field(fmt<"(sp,i0.0)">, 0), " ");
    EXPECT_EQ(field(fmt<"('<',i0.0,'>')">, 7), "<7>");
    EXPECT_EQ(field(fmt<"(i0)">, -1234), "-1234");
    EXPECT_EQ(field(fmt<"(sp,i4)">, 7), "  +7");
    EXPECT_EQ(field(fmt<"(sp,i2)">, 17), "**");          // the plus sign counts
    EXPECT_EQ(field(fmt<"(i)">, 5), "           5");      // 12 wide for a 4-byte integer
    EXPECT_EQ(field(fmt<"(i)">, std::int16_t{5}), "      5");
    EXPECT_EQ(field(fmt<"(i12)">, std::numeric_limits<std::int32_t>::min()), " -2147483648");
    EXPECT_EQ(field(fmt<"(i20)">, std::numeric_limits<std::int64_t>::max()), " 9223372036854775807");
    EXPECT_EQ(field(fmt<"(b8)">, 5), "     101");
    EXPECT_EQ(field(fmt<"(b8.8)">, std::int8_t{-1}), "11111111");
    EXPECT_EQ(field(fmt<"(o4)">, 8), "  10");
    EXPECT_EQ(field(fmt<"(z8)">, -1), "ffffffff");
    EXPECT_EQ(field(fmt<"(z4.4)">, 255), "00ff");

    units::RuntimeOptions& options = units::runtime_options_for_update();
    options.hex_uppercase = true;
    EXPECT_EQ(field(fmt<"(z4)">, 0xabc), " ABC");
    options.hex_uppercase = false;
}

// 4-byte integers under Iw take a direct path; 8-byte ones the general editing. Both must
// give the same columns for every width, sign and overflow.
TEST(OutputEditing, IntegerFieldsOfEveryWidthAgreeWithTheGeneralEditing) {
    const std::int32_t values[] = {0, 7, -7, 42, -42, 9999, -9999, 10000, -10000, 99999, -99999,
                                   std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};
    for (int w = 1; w <= 12; ++w) {
        const std::string format = "(i" + std::to_string(w) + ")";
        for (std::int32_t v : values) {
            EXPECT_EQ(field(runtime_format(format), v), field(runtime_format(format), std::int64_t{v})) << format << v;
        }
    }
}

// I0 of a 4-byte integer and A without a width of a character value take direct paths:
// their text must be the general editing's and the value's own, at every length.
TEST(OutputEditing, MinimalIntegersAndBareCharacterFieldsTakeTheirOwnLength) {
    const std::int32_t values[] = {0, 7, -7, 10, -10, 99, 100, -100, 123456789, -1000000000,
                                   std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};
    for (std::int32_t v : values) {
        EXPECT_EQ(field(fmt<"('<',i0,'>')">, v), field(fmt<"('<',i0,'>')">, std::int64_t{v})) << v;
        EXPECT_EQ(field(fmt<"(i0,',',i0)">, v, v), std::to_string(v) + "," + std::to_string(v));
    }
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (std::size_t n = 0; n <= 40; ++n) {
        const std::string_view text(letters.data(), n);
        EXPECT_EQ(field(fmt<"(a,',',a,'|')">, text, text), std::string(text) + "," + std::string(text) + "|") << n;
    }
}

TEST(OutputEditing, CharactersAndLogicals) {
    const Text<33> name("HOHENPEISSENBERG");
    EXPECT_EQ(field(fmt<"(a)">, name), "HOHENPEISSENBERG" + std::string(17, ' '));  // all 33
    EXPECT_EQ(field(fmt<"(a5)">, std::string_view("abc")), "  abc");
    EXPECT_EQ(field(fmt<"(a2)">, std::string_view("abc")), "ab");
    EXPECT_EQ(field(fmt<"(l3,l1)">, Logical(true), Logical(false)), "  TF");
    EXPECT_EQ(field(fmt<"(l)">, Logical(true)), " T");
    EXPECT_EQ(field(fmt<"(g5)">, Logical(false)), "    F");
    EXPECT_EQ(field(fmt<"(g0)">, Logical(true)), "T");  // minimal width: the letter alone
    EXPECT_EQ(field(fmt<"(g6)">, std::string_view("ab")), "    ab");
    EXPECT_EQ(field(fmt<"(g6)">, 42), "    42");
}

TEST(OutputEditing, ExponentForms) {
    EXPECT_EQ(field(fmt<"(e10.3)">, 1234.5), " 0.123E+04");
    EXPECT_EQ(field(fmt<"(e9.3)">, 1234.5), "0.123E+04");
    EXPECT_EQ(field(fmt<"(e8.3)">, 1234.5), ".123E+04");   // the 0 only where it fits
    EXPECT_EQ(field(fmt<"(e10.3)">, -0.000123), "-0.123E-03");
    EXPECT_EQ(field(fmt<"(e10.3e3)">, 1.0), "0.100E+001");
    EXPECT_EQ(field(fmt<"(e10.3)">, 1e100), " 0.100+101");  // three digits: no letter
    EXPECT_EQ(field(fmt<"(e10.3e1)">, 1e100), "**********");
    EXPECT_EQ(field(fmt<"(e10.3)">, 0.0), " 0.000E+00");
    EXPECT_EQ(field(fmt<"(1p,e10.3)">, 1234.5), " 1.234E+03");
    EXPECT_EQ(field(fmt<"(d10.3)">, 1234.5), " 0.123D+04");
    EXPECT_EQ(field(fmt<"(e10.3d2)">, 1234.5), " 0.123D+04");
    // 1234.5 / 10^3 is 1.23449999... in double: the digits of the scaled value decide.
    EXPECT_EQ(field(fmt<"(es10.3)">, 1234.5), " 1.234E+03");
    EXPECT_EQ(field(fmt<"(en10.3)">, 12345.0), "12.345E+03");
    EXPECT_EQ(field(fmt<"(en10.2)">, 0.5), "500.00E-03");
    EXPECT_EQ(field(fmt<"(q10.3)">, 1234.5), " 0.123Q+04");
    EXPECT_EQ(field(fmt<"(es9.2)">, -1.0f), "-1.00E+00");
    // Exponent fields of up to 255 digits, in fields too narrow and wide enough.
    EXPECT_EQ(field(fmt<"(e2.3e31)">, 1.0), "**");
    EXPECT_EQ(field(fmt<"(e60.3e200)">, 1.0), std::string(60, '*'));
    EXPECT_EQ(field(fmt<"(e40.3e30)">, 1234.5), "   0.123E+" + std::string(28, '0') + "04");
    EXPECT_EQ(field(runtime_format("(es300.2e255)"), -2.5), std::string(38, ' ') + "-2.50E+" + std::string(255, '0'));
}

TEST(OutputEditing, GeneralEditingOfReals) {
    // Moderate values take the fixed form with four blanks after it.
    EXPECT_EQ(field(fmt<"(g12.4)">, 24.5), "   24.50    ");
    EXPECT_EQ(field(fmt<"(g12.4)">, 0.5), "  0.5000    ");
    EXPECT_EQ(field(fmt<"(g12.4)">, 123456.0), "  0.1235E+06");
    EXPECT_EQ(field(fmt<"(g12.4)">, 0.01), "  0.1000E-01");
}

TEST(OutputEditing, PositioningAndGaps) {
    EXPECT_EQ(field(fmt<"(1x,'a',3x,'b')">), " a   b");
    EXPECT_EQ(field(fmt<"('abcdef',t3,'X')">), "abXdef");
    EXPECT_EQ(field(fmt<"('abc',tl2,'X')">), "aXc");
    EXPECT_EQ(field(fmt<"('abc',tl9,'X')">), "Xbc");       // not before the record's start
    EXPECT_EQ(field(fmt<"(t5,'X')">), "    X");           // the gap is blank-filled
    EXPECT_EQ(field(fmt<"('a',tr2,'b')">), "a  b");
    EXPECT_EQ(field(fmt<"('a',5x)">), "a");               // a move alone writes nothing
    EXPECT_EQ(field(fmt<"('abcdefghij',t1,i3)">, 5), "  5defghij");  // a field over text keeps what follows
    EXPECT_EQ(field(fmt<"('abcdefghij',t2,i3)">, -12345), "a***efghij");
    EXPECT_EQ(field(fmt<"('abcdefghijklmn',t3,i10)">, -5), "ab        -5mn");
    EXPECT_EQ(written(fmt<"(3x,4(f7.2,2x))">, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f),
              "      1.00     2.00     3.00     4.00\r\n   5.00     6.00     7.00     8.00\r\n");
}

TEST(OutputEditing, RecordLayoutsOfTheProgram) {
    const std::array<std::int32_t, 12> missing{-9999, -9999, -9999, -9999, -9999, -9999,
                                               -9999, -9999, -9999, -9999, -9999, -9999};
    const std::string line = field(fmt<"(i4,12i5)">, 1961, missing);
    ASSERT_EQ(line.size(), 64u);
    EXPECT_EQ(line.substr(0, 9), "1961-9999");

    const Text<33> name("TARAWA");
    const std::string listing = field(fmt<"(1x,i4,1x,i3,1x,i8,2(f7.2,1x),i5,1x,a33)">, 7, 527, 91610000, 1.35f,
                                      172.92f, 4, name);
    EXPECT_EQ(listing.size(), 73u);
    EXPECT_EQ(listing, "    7 527 91610000   1.35  172.92     4 TARAWA" + std::string(27, ' '));

    EXPECT_EQ(written(fmt<"(/,1x,i4,' STATIONS RECORDS FOUND ')">, 0), "\r\n    0 STATIONS RECORDS FOUND \r\n");
    EXPECT_EQ(written(fmt<"(/1x,'Select variable to extract')">), "\r\n Select variable to extract\r\n");
    // A prompt keeps the cursor on its line.
    EXPECT_EQ(written(fmt<"(/1x,'Enter data type desired [0-9] :> ',$)">), "\r\n Enter data type desired [0-9] :> ");
    // Trailing literals after the last item, and the final empty record.
    EXPECT_EQ(written(fmt<"(//4x,'Stations Found in ',a,' data file',/)">, Text<15>("MEAN.TEMP")),
              "\r\n\r\n    Stations Found in MEAN.TEMP       data file\r\n\r\n");
    // More items than descriptors: a record each.
    EXPECT_EQ(written(fmt<"(i4)">, 1, 22, 333), "   1\r\n  22\r\n 333\r\n");
    // Reversion goes to the last group at the outermost level, not to a group inside it.
    EXPECT_EQ(written(fmt<"(i1,2(i2,(i3)),'|')">, 1, 2, 3, 4, 5, 6, 7), "1 2  3 4  5|\r\n 6  7\r\n");
    // A colon stops the trailing text when the items have run out.
    EXPECT_EQ(written(fmt<"(i2,:,' more')">, 5), " 5\r\n");
    EXPECT_EQ(written(fmt<"(i2,' more')">, 5), " 5 more\r\n");
}

TEST(OutputEditing, ListDirected) {
    // The record starts with a blank; a first character item follows it directly.
    EXPECT_EQ(written(list_directed, std::string_view(" ")), "  \r\n");
    EXPECT_EQ(written(list_directed, std::string_view("error code = "), 5), " error code =   5\r\n");
    EXPECT_EQ(written(list_directed, -5, Logical(true)), "  -5 T\r\n");
    EXPECT_EQ(written(list_directed, std::string_view("a"), std::string_view("b"), 1, std::string_view("c")),
              " ab  1 c\r\n");
    // A real goes under G15.6: F11.4 and four blanks for a value of moderate size.
    EXPECT_EQ(written(list_directed, 24.5f), "     24.5000    \r\n");
}

TEST(OutputEditing, ItemsThatDoNotSuitTheirDescriptor) {
    ScriptedConsole console;
    std::int32_t status = 0;
    // Pairings a constant format refuses while the program is built meet 10022 when the
    // format is only known at run time.
    EXPECT_EQ(write(default_unit, units::with_iostat(status), runtime_format("(i4)"), 1.5f), units::outcome_error);
    EXPECT_EQ(status, 10022);
    EXPECT_EQ(write(default_unit, units::with_iostat(status), runtime_format("(es10.3)"), 5), units::outcome_error);
    EXPECT_EQ(status, 10022);
    EXPECT_EQ(write(default_unit, units::with_iostat(status), fmt<"(f6.1)">, 5), units::outcome_ok);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(console.output(), "   5.0\r\n");  // an integer under F is edited as its value
    // ... when it has 4 or 8 bytes: a real descriptor fits no item of 1 or 2 bytes.
    for (const FormatArg& real : {FormatArg(fmt<"(f6.1)">), FormatArg(fmt<"(e10.3)">), FormatArg(fmt<"(d10.3)">)}) {
        EXPECT_EQ(write(default_unit, units::with_iostat(status), real, std::int8_t{5}), units::outcome_error);
        EXPECT_EQ(status, 10022);
        EXPECT_EQ(write(default_unit, units::with_iostat(status), real, std::int16_t{5}), units::outcome_error);
        EXPECT_EQ(status, 10022);
        EXPECT_EQ(write(default_unit, units::with_iostat(status), real, std::int64_t{5}), units::outcome_ok);
    }
    // A complex value takes two fields.
    console.clear();
    write(default_unit, fmt<"(2f5.1)">, std::complex<float>(1.5f, -2.0f));
    EXPECT_EQ(console.output(), "  1.5 -2.0\r\n");
}

}  // namespace
}  // namespace corvane::fmtio
