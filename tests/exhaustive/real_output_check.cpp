// Every finite 4-byte real under "(f6.2)", "(f7.2)" and "(e14.7)": the output editing of
// the engine against a second implementation of the conversion written here from the rules
// alone (widen to 8 bytes; estimate the decimal exponent from the binary one; scale by a
// power of ten formed by binary powering; generate 8 digits exactly; round half away from
// zero on the digit string) and of the F and E field layouts.
//
//   corvane_real_output_check                 all 2^32 bit patterns (minutes; see README)
//   corvane_real_output_check --every 4099    every 4099th pattern (what CTest runs)
//   corvane_real_output_check --threads 2
//
// Prints the counts and the first differences; exits with 1 when any value differs.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fmtio/constant_format.hpp"
#include "fmtio/output_editing.hpp"

namespace {

// ---- the second implementation ----

// Digits of the value 0.d1d2...d20 x 10^count, as the conversion rules give them.
struct Reference {
    char digit[20];
    int count = 0;
    bool negative = false;
};

double power_of_ten(int n) {  // binary powering, each product rounded to double
    double result = 1.0, square = 10.0;
    while (n > 0) {
        if (n & 1) result *= square;
        n >>= 1;
        if (n > 0) square *= square;
    }
    return result;
}

// The first 8 digits of the scaled value, exactly from its significand.
void generate_digits(double scaled, char* out) {
    std::uint64_t bits;
    std::memcpy(&bits, &scaled, 8);
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;  // 0..3 for [1, 10)
    const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int fraction_bits = 52 - exponent;
    const std::uint64_t mask = (std::uint64_t{1} << fraction_bits) - 1;
    std::uint64_t integer = significand >> fraction_bits;
    std::uint64_t fraction = significand & mask;
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<char>('0' + integer);
        fraction *= 10;
        integer = fraction >> fraction_bits;
        fraction &= mask;
    }
}

// Rounds to `keep` digits: the next digit decides, a carry runs through nines and out of
// the first digit as a 1 and one more integer digit. From 8 digits on the 8th decides.
void round_to(Reference& r, int keep) {
    constexpr int generated = 8;
    int decider_at = keep < generated ? keep : generated - 1;
    if (decider_at < 0) {  // nothing kept and nothing to decide: zero
        std::memset(r.digit, '0', sizeof r.digit);
        return;
    }
    const bool up = r.digit[decider_at] >= '5';
    for (int i = decider_at; i < 20; ++i) r.digit[i] = '0';
    if (!up) return;
    int i = decider_at - 1;
    while (i >= 0 && r.digit[i] == '9') r.digit[i--] = '0';
    if (i >= 0) {
        ++r.digit[i];
    } else {
        r.digit[0] = '1';
        ++r.count;
    }
}

// The digits of `value` rounded to `digits_asked`, counted from the point (fixed form) or
// from the first significant digit (floating form).
Reference convert(float value, int digits_asked, bool fixed) {
    Reference r;
    const double wide = value;
    r.negative = std::signbit(wide);
    std::memset(r.digit, '0', sizeof r.digit);
    if (wide == 0) return r;
    std::uint64_t bits;
    std::memcpy(&bits, &wide, 8);
    const auto biased = static_cast<std::int64_t>((bits >> 52) & 0x7ff);
    const std::int64_t estimate = biased * 19728 - 20181744;
    const int b = static_cast<int>(estimate >= 0 ? estimate / 65536 : -((-estimate + 65535) / 65536));
    double scaled = std::fabs(wide);
    if (b > 0) scaled /= power_of_ten(b);
    if (b < 0) scaled *= power_of_ten(-b);
    r.count = b + 1;
    if (scaled >= 10.0) {
        scaled /= 10.0;
        r.count = b + 2;
    }
    generate_digits(scaled, r.digit);
    round_to(r, fixed ? digits_asked + r.count : digits_asked);
    return r;
}

bool all_zero(const Reference& r) {
    for (char c : r.digit) {
        if (c != '0') return false;
    }
    return true;
}

// Fw.d with no sign mode or scale factor.
std::string fixed_field(float value, int w, int d) {
    Reference r = convert(value, d, true);
    const bool zero = all_zero(r);
    const bool negative = r.negative && value != 0.0f;  // -0.0 has no sign; a value rounding to 0 keeps it
    const int integer_digits = zero ? 0 : (r.count > 0 ? r.count : 0);
    const int body = integer_digits + 1 + d;
    const int avail = w - (negative ? 1 : 0);
    if (body > avail) return std::string(static_cast<std::size_t>(w), '*');
    const bool lead_zero = integer_digits == 0 && avail >= body + 1;
    std::string field(static_cast<std::size_t>(avail - body - (lead_zero ? 1 : 0)), ' ');
    if (negative) field += '-';
    if (lead_zero) field += '0';
    for (int i = 0; i < integer_digits; ++i) field += r.digit[i];
    field += '.';
    for (int i = 0; i < d; ++i) {
        const int at = zero ? -1 : i + r.count;  // value 0.d1d2... x 10^count
        field += (at >= 0 && at < 20) ? r.digit[at] : '0';
    }
    return field;
}

// Ew.d with two exponent digits and no scale factor: 0.d1...dd E+xx.
std::string exponent_field(float value, int w, int d) {
    Reference r = convert(value, d, false);
    const bool zero = value == 0.0f;
    const bool negative = r.negative && !zero;
    const int exponent = zero ? 0 : r.count;
    const int magnitude = exponent < 0 ? -exponent : exponent;
    std::string exp_text;
    if (magnitude < 100) {
        exp_text = std::string("E") + (exponent < 0 ? '-' : '+') + static_cast<char>('0' + magnitude / 10) +
                   static_cast<char>('0' + magnitude % 10);
    } else if (magnitude < 1000) {
        exp_text = std::string(1, exponent < 0 ? '-' : '+') + std::to_string(magnitude);
    } else {
        return std::string(static_cast<std::size_t>(w), '*');
    }
    const int body = 1 + d + static_cast<int>(exp_text.size());
    const int avail = w - (negative ? 1 : 0);
    if (body > avail) return std::string(static_cast<std::size_t>(w), '*');
    const bool lead_zero = avail >= body + 1;
    std::string field(static_cast<std::size_t>(avail - body - (lead_zero ? 1 : 0)), ' ');
    if (negative) field += '-';
    if (lead_zero) field += '0';
    field += '.';
    for (int i = 0; i < d; ++i) field += r.digit[i];
    return field + exp_text;
}

// ---- the check ----

struct Layout {
    const char* name;
    corvane::fmtio::FormatRef format;
    bool fixed;
    int w, d;
};

const Layout layouts[] = {
    {"(f6.2)", corvane::fmtio::fmt<"(f6.2)">, true, 6, 2},
    {"(f7.2)", corvane::fmtio::fmt<"(f7.2)">, true, 7, 2},
    {"(e14.7)", corvane::fmtio::fmt<"(e14.7)">, false, 14, 7},
};

struct Totals {
    std::atomic<std::uint64_t> checked{0};
    std::atomic<std::uint64_t> differing[3] = {0, 0, 0};
    std::mutex print;
    int printed = 0;
};

std::string engine_field(const Layout& layout, float value, corvane::fmtio::RecordWriter& out) {
    using namespace corvane::fmtio;
    static const IoItem item{TypeClass::real, 4, nullptr, 0, 1};
    out.start_record();
    edit_output(out, EditState{}, layout.format.entries[1], item, &value);
    return {out.data(), out.high_water};
}

void check_range(std::uint64_t first, std::uint64_t end, std::uint64_t step, Totals& totals) {
    corvane::fmtio::RecordWriter out;
    std::uint64_t checked = 0;
    for (std::uint64_t bits = first; bits < end; bits += step) {
        const auto pattern = static_cast<std::uint32_t>(bits);
        float value;
        std::memcpy(&value, &pattern, 4);
        if (!std::isfinite(value)) continue;
        ++checked;
        for (int i = 0; i < 3; ++i) {
            const Layout& l = layouts[i];
            const std::string expected = l.fixed ? fixed_field(value, l.w, l.d) : exponent_field(value, l.w, l.d);
            const std::string actual = engine_field(l, value, out);
            if (actual == expected) continue;
            ++totals.differing[i];
            std::lock_guard lock(totals.print);
            if (totals.printed++ < 20) {
                std::printf("%s 0x%08x (%.9g): engine \"%s\", expected \"%s\"\n", l.name, pattern,
                            static_cast<double>(value), actual.c_str(), expected.c_str());
            }
        }
    }
    totals.checked += checked;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t every = 1;
    unsigned threads = std::thread::hardware_concurrency() > 0 ? std::thread::hardware_concurrency() : 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string_view(argv[i]) == "--every") every = std::stoull(argv[i + 1]);
        else if (std::string_view(argv[i]) == "--threads") threads = static_cast<unsigned>(std::stoul(argv[i + 1]));
    }
    if (every == 0 || threads == 0) return 2;
    const auto start = std::chrono::steady_clock::now();
    Totals totals;
    // Thread t takes every threads-th slice of 2^24 patterns, so that all finish together.
    constexpr std::uint64_t slice = std::uint64_t{1} << 24;
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (std::uint64_t s = t; s * slice < (std::uint64_t{1} << 32); s += threads) {
                const std::uint64_t first = s * slice + (every - (s * slice) % every) % every;
                check_range(first, (s + 1) * slice, every, totals);
            }
        });
    }
    for (std::thread& w : workers) w.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("checked %llu finite values (every %llu) in %.1f s with %u threads\n",
                static_cast<unsigned long long>(totals.checked.load()), static_cast<unsigned long long>(every), seconds,
                threads);
    bool same = true;
    for (int i = 0; i < 3; ++i) {
        std::printf("%-8s %llu differing\n", layouts[i].name, static_cast<unsigned long long>(totals.differing[i].load()));
        same = same && totals.differing[i] == 0;
    }
    return same ? 0 : 1;
}
