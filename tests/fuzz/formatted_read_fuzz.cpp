// Formatted READ of arbitrary records, with the program's own formats and items or with an
// arbitrary format and items of every type, from the console (through the record layer:
// line ends, tabs, buffer growth) or from an internal unit, advancing or not.
//
// Input: a mode byte; for an arbitrary format a line with the format and a line of item
// selectors; then the records.
#include <cstdint>
#include <string>
#include <string_view>

#include "fmtio/io_statement.hpp"
#include "fuzz_support.hpp"

using namespace corvane;
using namespace corvane::fmtio;

namespace {

struct ProgramRead {
    std::string_view format;
    std::string_view selectors;  // ItemSet kinds
};

// The READs of the extraction, the inventory search and the dialogue.
constexpr ProgramRead program_reads[] = {
    {"15(I3,I8,i1,i4,12I5)", "\x02\x02\x02\x02\x0e"},
    {"22(i3,i8,2x,i4,i3,i6)", "\x02\x02\x02\x02\x02"},
    {"20(I3,I8,A32,F6.2, 1X, F7.2, 1X, I4)", "\x02\x02\x0c\x04\x04\x02"},
    {"(a)", "\x0d"},
    {"(a1)", "\x0b"},
    {"(i1)", "\x02"},
    {"(i3)", "\x02"},
    {"(i4)", "\x02"},
    {"(f6.2)", "\x04"},
    {"(f7.2)", "\x04"},
    {"(i4,12i5)", "\x02\x0e"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor in(data, size);
    const std::uint8_t mode = in.byte();
    std::string_view format_text;
    std::string_view selectors;
    if (mode & 0x80) {
        format_text = in.line();
        selectors = in.line().substr(0, 16);
    } else {
        const ProgramRead& p = program_reads[mode % std::size(program_reads)];
        format_text = p.format;
        selectors = p.selectors;
    }
    fuzz::ItemSet items;
    for (char s : selectors) items.add(static_cast<std::uint8_t>(s));

    std::int32_t status = 0, transferred = 0;
    units::Control control = units::with_iostat(status);
    if (mode & 0x20) control = control | units::advancing("NO", &transferred);
    const FormatArg format = runtime_format(format_text);
    const std::string internal_record(in.rest().substr(0, in.rest().find('\n')));
    fuzz::install_fuzz_console(in.rest());
    try {
        // Up to three statements: later ones go on through the records (or the part of a
        // record a non-advancing READ left).
        for (int statement = 0; statement < 3; ++statement) {
            const UnitSpec unit = (mode & 0x40) ? internal_unit(const_cast<char*>(internal_record.data()),
                                                               internal_record.size())
                                                : units::default_unit;
            current_statement().run(StatementKind::read, unit, control, format, items.items().data(),
                                    items.items().size());
            if (status == -1) break;  // end of the input
        }
    } catch (const fuzz::ProgramEnded&) {
    }
    return 0;
}
