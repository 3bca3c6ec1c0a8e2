// The run-time format compiler and the walk of what it compiled, on arbitrary texts: a
// text compiles or fails with one of the compiler's conditions, and a compiled format is
// well formed (its entries, group links, reversion point and literals) and can be walked.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fmtio/format_compiler.hpp"
#include "fmtio/format_walker.hpp"
#include "fmtio/io_statement.hpp"

using namespace corvane::fmtio;

namespace {

bool is_compiler_condition(int code) {
    return code == format_error::buffer_allocation || (code >= format_error::bad_format && code <= format_error::non_repeatable);
}

void check_layout(const FormatRef& f) {
    if (f.count < 2 || f.entries[0].kind != FormatKind::header || f.entries[f.count - 1].kind != FormatKind::end)
        std::abort();
    unsigned touched = 0;
    for (std::size_t i = 1; i + 1 < f.count; ++i) {
        const FormatEntry& e = f.entries[i];
        if (e.kind == FormatKind::group_close) {
            const std::int64_t open = static_cast<std::int64_t>(i) + e.repeat;
            if (open < 1 || open >= static_cast<std::int64_t>(i) || f.entries[open].kind != FormatKind::group_open)
                std::abort();
        }
        if (e.kind == FormatKind::group_open && e.w > 0) {  // an empty group: its close
            const std::size_t close = i + static_cast<std::size_t>(e.w);
            if (close + 1 >= f.count || f.entries[close].kind != FormatKind::group_close ||
                static_cast<std::int64_t>(close) + f.entries[close].repeat != static_cast<std::int64_t>(i))
                std::abort();
        }
        if (e.kind == FormatKind::literal) {
            for (char c : f.literal(e)) touched += static_cast<unsigned char>(c);  // inside the pool
        }
    }
    const std::int64_t reversion = static_cast<std::int64_t>(f.count - 1) + f.entries[f.count - 1].repeat;
    if (reversion < 1 || reversion >= static_cast<std::int64_t>(f.count)) std::abort();
    if (reversion != 1 && f.entries[reversion].kind != FormatKind::group_open) std::abort();
    (void)touched;
}

// A bounded walk: descriptors, reversions, and the look-ahead at every step.
void walk(const FormatRef& f) {
    FormatWalker w;
    w.start(f);
    for (int step = 0; step < 4096; ++step) {
        (void)w.more_non_data_ahead();
        const FormatEntry* e = nullptr;
        int error = 0;
        switch (w.next(e, error)) {
            case FormatWalker::Step::descriptor:
                if (e < f.entries || e >= f.entries + f.count) std::abort();
                break;
            case FormatWalker::Step::format_end:
                if (w.revert() != 0) return;
                break;
            case FormatWalker::Step::error:
                if (error != format_error::group_overflow) std::abort();
                return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RuntimeFormat format;
    if (const int error = format.compile(strip_statement_label(text))) {
        if (!is_compiler_condition(error)) std::abort();
        return 0;
    }
    check_layout(format.ref());
    walk(format.ref());
    return 0;
}
