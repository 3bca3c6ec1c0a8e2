#include "fmtio/format_compiler.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fmtio/constant_format.hpp"
#include "fmtio/format_walker.hpp"

namespace corvane::fmtio {
namespace {

struct Compiled {
    std::vector<FormatEntry> entries;
    std::vector<char> pool;
    CompileOutcome outcome;
    FormatRef ref() const { return {entries.data(), pool.data(), static_cast<std::uint32_t>(entries.size())}; }
};

Compiled compile(std::string_view text) {
    Compiled c;
    c.outcome = compile_format_into(strip_statement_label(text), c.entries, c.pool);
    return c;
}

int error_of(std::string_view text) { return compile(text).outcome.error; }

TEST(FormatCompiler, EveryDescriptorOfTheTableCompiles) {
    const Compiled c = compile(
        "(a,a10,b8.4,d12.3e3,e10.3,en12.3,es11.2e4,f7.2,g10.3,i4.2,l3,o6,z8,/,3/,-2p,'it''s',3hab',"
        "bn,bz,:,s,sp,ss,tl3,tr4,5x,t20,$,\\,q,q9.2,2(i1))");
    ASSERT_EQ(c.outcome.error, 0);
    const std::vector<FormatKind> kinds = {
        FormatKind::header, FormatKind::A, FormatKind::A, FormatKind::B, FormatKind::D, FormatKind::E,
        FormatKind::EN, FormatKind::ES, FormatKind::F, FormatKind::G, FormatKind::I, FormatKind::L,
        FormatKind::O, FormatKind::Z, FormatKind::slash, FormatKind::slash, FormatKind::scale,
        FormatKind::literal, FormatKind::literal, FormatKind::blank_null, FormatKind::blank_zero,
        FormatKind::colon, FormatKind::sign_default, FormatKind::sign_plus, FormatKind::sign_suppress,
        FormatKind::tab_left, FormatKind::tab_right, FormatKind::tab_right, FormatKind::tab_to,
        FormatKind::dollar, FormatKind::dollar, FormatKind::Q, FormatKind::Qwd, FormatKind::group_open,
        FormatKind::I, FormatKind::group_close, FormatKind::end};
    ASSERT_EQ(c.entries.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(c.entries[i].kind, kinds[i]) << "entry " << i;

    const FormatRef f = c.ref();
    EXPECT_FALSE(c.entries[1].width_given);                       // a
    EXPECT_EQ(c.entries[2].w, 10);                                 // a10
    EXPECT_EQ(c.entries[3].w, 8);                                  // b8.4
    EXPECT_EQ(c.entries[3].d, 4);
    EXPECT_EQ(c.entries[4].exponent_digits, 3);                    // d12.3e3
    EXPECT_EQ(c.entries[5].exponent_digits, 0);                    // e10.3: not given
    EXPECT_EQ(c.entries[7].exponent_digits, 4);                    // es11.2e4
    EXPECT_EQ(c.entries[8].w, 7);                                  // f7.2
    EXPECT_EQ(c.entries[8].d, 2);
    EXPECT_EQ(c.entries[12].d, 1);                                 // o6: m defaults to 1
    EXPECT_EQ(c.entries[15].w, 3);                                 // 3/
    EXPECT_EQ(c.entries[16].repeat, -2);                           // -2p: k, no range check
    EXPECT_EQ(f.literal(c.entries[17]), "it's");                   // doubled quote
    EXPECT_EQ(f.literal(c.entries[18]), "ab'");                    // Hollerith takes any character
    EXPECT_EQ(c.entries[27].w, 5);                                 // 5x is TR5
    EXPECT_EQ(c.entries[28].w, 20);                                // t20
    EXPECT_EQ(c.entries[33].repeat, 2);                            // 2(
    EXPECT_EQ(c.entries[35].repeat, -2);                           // back to the group open
    EXPECT_EQ(c.entries[0].repeat, 2);                             // two parenthesis levels
    EXPECT_TRUE(c.entries.back().has_data);
    EXPECT_EQ(c.entries.back().repeat, 33 - 36);                   // reversion to the last top group
}

TEST(FormatCompiler, LabelsBlanksCommasAndCase) {
    // The leading 15 is a statement label, not a repeat count.
    const Compiled data = compile("15(I3,I8,i1,i4,12I5)");
    ASSERT_EQ(data.outcome.error, 0);
    ASSERT_EQ(data.entries.size(), 7u);
    EXPECT_EQ(data.entries[5].kind, FormatKind::I);
    EXPECT_EQ(data.entries[5].repeat, 12);
    EXPECT_EQ(data.entries[5].w, 5);
    EXPECT_EQ(data.entries.back().repeat, -5);  // no inner group: back to the first descriptor

    // Blanks inside numbers and between tokens do not count; commas are optional; an
    // empty element before ")" is accepted.
    const Compiled spaced = compile("  ( 1 2 x F 6 . 2 , 1X I4 'a')");
    ASSERT_EQ(spaced.outcome.error, 0);
    EXPECT_EQ(spaced.entries[1].w, 12);
    EXPECT_EQ(spaced.entries[2].w, 6);
    EXPECT_EQ(spaced.entries[2].d, 2);
    EXPECT_EQ(compile("(/4x,' Geographic Region: ',)").outcome.error, 0);
    // Text after the closing parenthesis is ignored.
    EXPECT_EQ(compile("(i4) trailing words").outcome.error, 0);
}

TEST(FormatCompiler, ErrorsCarryTheirConditionCodes) {
    EXPECT_EQ(error_of("i4)"), format_error::missing_open_paren);
    EXPECT_EQ(error_of(""), format_error::missing_open_paren);
    EXPECT_EQ(error_of("(i4"), format_error::unmatched_parens);
    EXPECT_EQ(error_of("(2(i4)"), format_error::unmatched_parens);
    EXPECT_EQ(error_of("(1x,'abc)"), format_error::unmatched_quotes);
    EXPECT_EQ(error_of("(3'ab')"), format_error::non_repeatable);
    EXPECT_EQ(error_of("(2:)"), format_error::non_repeatable);
    EXPECT_EQ(error_of("(2$)"), format_error::non_repeatable);
    EXPECT_EQ(error_of("(3t5)"), format_error::non_repeatable);
    EXPECT_EQ(error_of("(2sp)"), format_error::non_repeatable);
    EXPECT_EQ(error_of("(4q)"), format_error::non_repeatable);
    EXPECT_EQ(error_of("(0i4)"), format_error::bad_repeat);
    EXPECT_EQ(error_of("(32768i4)"), format_error::bad_repeat);
    EXPECT_EQ(error_of("(-1i4)"), format_error::bad_repeat);
    EXPECT_EQ(error_of("(i4,2)"), format_error::bad_repeat);
    EXPECT_EQ(error_of("(2bn)"), format_error::bad_repeat);
    EXPECT_EQ(error_of("(5HABC)"), format_error::hollerith_overrun);
    EXPECT_EQ(error_of("(k4)"), format_error::bad_format);
    EXPECT_EQ(error_of("(i4.)"), format_error::bad_format);
    EXPECT_EQ(error_of("(i4.-1)"), format_error::bad_format);
    EXPECT_EQ(error_of("(f6)"), format_error::bad_format);
    EXPECT_EQ(error_of("(d0.2)"), format_error::bad_format);
    EXPECT_EQ(error_of("(l0)"), format_error::bad_format);
    EXPECT_EQ(error_of("(a-1)"), format_error::bad_format);
    EXPECT_EQ(error_of("(t)"), format_error::bad_format);
    EXPECT_EQ(error_of("(sx)"), format_error::bad_format);
    EXPECT_EQ(error_of("(,i4)"), format_error::bad_format);
    // The column points at the descriptor at fault.
    EXPECT_EQ(compile("(i4,k4)").outcome.column, 5u);
}

TEST(FormatCompiler, WidthsLeftOpenAreMarked) {
    const Compiled c = compile("(i,f,e,a,l,i0,f0.3)");
    ASSERT_EQ(c.outcome.error, 0);
    for (int i = 1; i <= 5; ++i) EXPECT_FALSE(c.entries[i].width_given) << i;
    EXPECT_TRUE(c.entries[6].width_given);  // i0: minimal width
    EXPECT_EQ(c.entries[6].w, 0);
    EXPECT_TRUE(c.entries[7].width_given);
    EXPECT_EQ(c.entries[7].d, 3);
}

// A constant format is exactly what the run-time compiler makes of the same text.
template <FormatLiteral Text>
void expect_same_as_runtime() {
    const FormatRef constant = fmt<Text>;
    const Compiled runtime = compile(Text.view());
    ASSERT_EQ(runtime.outcome.error, 0);
    ASSERT_EQ(constant.count, runtime.entries.size());
    for (std::uint32_t i = 0; i < constant.count; ++i) {
        const FormatEntry& a = constant.entries[i];
        const FormatEntry& b = runtime.entries[i];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.w, b.w);
        EXPECT_EQ(a.d, b.d);
        EXPECT_EQ(a.repeat, b.repeat);
        EXPECT_EQ(a.width_given, b.width_given);
        if (a.kind == FormatKind::literal) {
            EXPECT_EQ(constant.literal(a), runtime.ref().literal(b));
        }
    }
}

TEST(FormatCompiler, ConstantFormatsMatchTheRuntimeCompiler) {
    expect_same_as_runtime<"20(I3,I8,A32,F6.2, 1X, F7.2, 1X, I4)">();
    expect_same_as_runtime<"(1x,i4,1x,i3,1x,i8,2(f7.2,1x),i5,1x,a33)">();
    expect_same_as_runtime<"(//4x,'Stations Found in ',a,' data file',/)">();
    expect_same_as_runtime<"(/4x,'Unknown Responce.',i1,/4x,' Please enter a number')">();
}

// The descriptors a walk returns, as their kinds.
std::vector<FormatKind> walk(FormatRef f, int steps) {
    FormatWalker w;
    w.start(f);
    std::vector<FormatKind> kinds;
    for (int i = 0; i < steps; ++i) {
        const FormatEntry* e = nullptr;
        int error = 0;
        const FormatWalker::Step step = w.next(e, error);
        if (step == FormatWalker::Step::format_end) {
            kinds.push_back(FormatKind::end);
            if (w.revert() != 0) break;
            continue;
        }
        if (step == FormatWalker::Step::error) break;
        kinds.push_back(e->kind);
    }
    return kinds;
}

TEST(FormatWalker, RepeatsGroupsAndReversion) {
    using K = FormatKind;
    // "2(f7.2,1x)" is applied twice; the walk never returns group or header entries.
    EXPECT_EQ(walk(fmt<"(i3,2(f7.2,1x),a)">, 7),
              (std::vector<K>{K::I, K::F, K::tab_right, K::F, K::tab_right, K::A, K::end}));
    // Reversion goes back to the last group at the outermost level, not to the "3x".
    EXPECT_EQ(walk(fmt<"(3x,4(f7.2,2x))">, 11),
              (std::vector<K>{K::tab_right, K::F, K::tab_right, K::F, K::tab_right, K::F, K::tab_right, K::F,
                              K::tab_right, K::end, K::F}));
    // Without an inner group the whole format starts again; a repeat returns its descriptor.
    EXPECT_EQ(walk(fmt<"(2i4)">, 4), (std::vector<K>{K::I, K::I, K::end, K::I}));
}

TEST(FormatWalker, NonDataAheadAndTheLimits) {
    FormatWalker w;
    w.start(fmt<"(i4,' tail',2(i2))">);
    const FormatEntry* e = nullptr;
    int error = 0;
    EXPECT_FALSE(w.more_non_data_ahead());  // the first descriptor is data
    w.next(e, error);
    EXPECT_TRUE(w.more_non_data_ahead());   // the literal after it
    w.next(e, error);
    EXPECT_FALSE(w.more_non_data_ahead());  // into the group: data again
    w.start(fmt<"(3i4)">);
    w.next(e, error);
    EXPECT_FALSE(w.more_non_data_ahead());  // repeats still pending

    // Twenty-one groups open at once overflow the group table.
    const Compiled deep = compile("(((((((((((((((((((((((i1)))))))))))))))))))))))");
    ASSERT_EQ(deep.outcome.error, 0);
    w.start(deep.ref());
    EXPECT_EQ(w.next(e, error), FormatWalker::Step::error);
    EXPECT_EQ(error, format_error::group_overflow);
    const Compiled twenty = compile("((((((((((((((((((((i1))))))))))))))))))))");
    w.start(twenty.ref());
    EXPECT_EQ(w.next(e, error), FormatWalker::Step::descriptor);

    // A format with no data descriptor cannot take items: reverting is refused.
    w.start(fmt<"(1x)">);
    w.next(e, error);
    EXPECT_EQ(w.next(e, error), FormatWalker::Step::format_end);
    EXPECT_EQ(w.revert(), format_error::bad_format);
}

}  // namespace
}  // namespace corvane::fmtio
