// The check a constant format makes while the program is built must refuse exactly what the
// run time refuses with 10022: every pairing of descriptor and item, and the pairings that
// repeat counts, groups and the reversion bring about, are run both ways here.
#include "fmtio/item_check.hpp"

#include <gtest/gtest.h>

#include <array>
#include <complex>
#include <cstdint>
#include <string>

#include "fmtio/io_statement.hpp"
#include "fmtio/statement_api.hpp"
#include "test_support.hpp"

namespace corvane::fmtio {
namespace {

using detail::first_misfit;
using detail::ItemShape;
using detail::ItemShapeOf;

// The check's answer is constant-evaluated where statements use it.
static_assert(first_misfit<float>(fmt<"(i4)">.ref, false) == Misfit::integer_given_other);
static_assert(first_misfit<std::int16_t>(fmt<"(f6.1)">.ref, false) == Misfit::real_given_short_integer);
static_assert(first_misfit<std::int32_t>(fmt<"(f6.1)">.ref, false) == Misfit::none);
static_assert(first_misfit<std::int32_t>(fmt<"(f6.1)">.ref, true) == Misfit::real_given_integer);
static_assert(first_misfit<Text<4>>(fmt<"(g10.3)">.ref, true) == Misfit::none);
static_assert(first_misfit<std::int32_t, Text<4>>(fmt<"(i3,(f6.1))">.ref, false) == Misfit::real_given_character);
static_assert(first_misfit<>(fmt<"(f6.1)">.ref, false) == Misfit::none);

constexpr int check_unit = 47;

class ItemCheck : public ::testing::Test {
protected:
    void SetUp() override {
        // Blank records: every numeric field reads as zero, so only 10022 can stop a READ.
        testing::write_file("blank.txt", std::string(400, '\n'));
    }

    // Runs the statement with the format compiled at run time and expects 10022 exactly
    // when the check refuses the same format and items.
    template <class... Items>
    void expect_agreement(const char* text, bool reading, Items&... items) {
        RuntimeFormat compiled;
        ASSERT_EQ(compiled.compile(text), 0) << text;
        const ItemShape shapes[] = {ItemShapeOf<std::remove_cvref_t<Items>>::shape()...};
        const Misfit misfit = first_misfit(compiled.ref(), shapes, sizeof...(Items), reading);
        const char* file = reading ? "blank.txt" : "out.txt";
        ASSERT_EQ(units::open_unit({.unit = check_unit, .file = file, .status = reading ? "OLD" : "REPLACE"}),
                  units::outcome_ok);
        std::int32_t status = 0;
        const auto control = units::with_iostat(status);
        if (reading) read(unit(check_unit), control, runtime_format(text), items...);
        else write(unit(check_unit), control, runtime_format(text), items...);
        units::close_unit(check_unit);
        EXPECT_EQ(status == 10022, misfit != Misfit::none)
            << text << (reading ? " READ" : " WRITE") << ": status " << status << ", misfit "
            << static_cast<int>(misfit);
    }

    template <class... Items>
    void expect_agreement_both_ways(const char* text, Items&... items) {
        expect_agreement(text, false, items...);
        expect_agreement(text, true, items...);
    }

    testing::ScratchDirectory dir_;
};

TEST_F(ItemCheck, EveryDescriptorAgainstEveryItemType) {
    std::int8_t i1 = 0;
    std::int16_t i2 = 0;
    std::int32_t i4 = 0;
    std::int64_t i8 = 0;
    float r4 = 0;
    double r8 = 0;
    std::complex<float> c8;
    Logical l4;
    Logical1 l1;
    Text<4> text;
    for (const char* format : {"(i6)", "(b6)", "(o6)", "(z6)", "(f6.1)", "(e10.3)", "(d10.3)", "(en10.3)",
                               "(es10.3)", "(q10.3)", "(g10.3)", "(l2)", "(a4)", "(q)", "(q,i6)", "(i6,f6.1)"}) {
        SCOPED_TRACE(format);
        expect_agreement_both_ways(format, i1);
        expect_agreement_both_ways(format, i2);
        expect_agreement_both_ways(format, i4);
        expect_agreement_both_ways(format, i8);
        expect_agreement_both_ways(format, r4);
        expect_agreement_both_ways(format, r8);
        expect_agreement_both_ways(format, c8);
        expect_agreement_both_ways(format, l4);
        expect_agreement_both_ways(format, l1);
        expect_agreement_both_ways(format, text);
    }
}

TEST_F(ItemCheck, RepeatsGroupsAndReversionPairElementsAsTheRunTimeDoes) {
    std::array<std::int32_t, 3> three{};
    std::array<std::int32_t, 6> six{};
    std::array<float, 6> reals{};
    std::int32_t n = 0;
    std::int16_t short_n = 0;
    float x = 0;
    Text<4> name;
    std::complex<float> c;
    expect_agreement_both_ways("(2i3,f5.1)", three, x);  // the third element meets F
    expect_agreement_both_ways("(3i3,f5.1)", three, x);
    expect_agreement_both_ways("(1x,a4/(i3,2f6.1))", name, n, x, x, n, x, name);  // after the reversion
    expect_agreement_both_ways("(1x,a4/(i3,2f6.1))", name, n, x, x, n, x, x);
    expect_agreement_both_ways("(i3,(f6.1))", n, x, x, x, short_n);
    expect_agreement_both_ways("(i3,(f6.1))", n, x, x, x, x);
    expect_agreement_both_ways("(3(i2,l2))", six);
    expect_agreement_both_ways("(3(i2,l2))", reals);
    expect_agreement_both_ways("(2(i2,2(f4.1)))", n, x, x, n, x, x);
    expect_agreement_both_ways("(2(i2,2(f4.1)))", n, x, n, x, x, x);
    expect_agreement_both_ways("(f6.1,i3)", c);  // a complex element is two reals
    expect_agreement_both_ways("(2f6.1)", c, c);
    expect_agreement_both_ways("(f6.1,2(i3))", c, n, n, c);
    expect_agreement_both_ways("(1x)", name);         // no data descriptor: 10006 at run time
    expect_agreement_both_ways("(i2,:,1x)", n, name);  // the colon changes nothing here
}

TEST(ItemShapes, CountsAndTypesOfTheItemForms) {
    using Shape = ItemShape;
    const auto same = [](Shape a, Shape b) {
        return a.known == b.known && a.type == b.type && a.size == b.size && a.count == b.count;
    };
    EXPECT_TRUE(same(ItemShapeOf<std::int16_t>::shape(), {true, TypeClass::integer, 2, 1}));
    EXPECT_TRUE(same(ItemShapeOf<std::array<double, 12>>::shape(), {true, TypeClass::real, 8, 12}));
    EXPECT_TRUE(same(ItemShapeOf<float[3]>::shape(), {true, TypeClass::real, 4, 3}));
    EXPECT_TRUE(same(ItemShapeOf<std::array<Text<8>, 5>>::shape(), {true, TypeClass::character, 1, 5}));
    EXPECT_TRUE(same(ItemShapeOf<std::string_view>::shape(), {true, TypeClass::character, 1, 1}));
    EXPECT_TRUE(same(ItemShapeOf<char[6]>::shape(), {true, TypeClass::character, 1, 1}));
    EXPECT_TRUE(same(ItemShapeOf<std::span<std::int32_t, 4>>::shape(), {true, TypeClass::integer, 4, 4}));
    EXPECT_FALSE(ItemShapeOf<std::span<std::int32_t>>::shape().known);  // its length is a run-time value
}

}  // namespace
}  // namespace corvane::fmtio
