// Formatted and list-directed WRITE of arbitrary values (any bit pattern, NaNs and
// subnormals included) under arbitrary formats, to the console (records checked against
// the bound by the console hook) or to an internal unit.
//
// Input: a mode byte, a line with the format, a line of item selectors, then the values'
// bytes, 16 (48 for arrays) per item.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fmtio/io_statement.hpp"
#include "fmtio/text_ops.hpp"
#include "fuzz_support.hpp"

using namespace corvane;
using namespace corvane::fmtio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor in(data, size);
    const std::uint8_t mode = in.byte();
    const std::string_view format_text = in.line();
    const std::string_view selectors = in.line().substr(0, 16);
    std::string_view values = in.rest();
    fuzz::ItemSet items;
    for (char s : selectors) {
        const std::size_t n = std::min<std::size_t>(values.size(), 48);
        items.add(static_cast<std::uint8_t>(s), values.substr(0, n));
        values.remove_prefix(n);
    }
    std::int32_t status = 0;
    const FormatArg format = (mode & 0x80) ? list_directed : runtime_format(format_text);
    Text<200> record;
    const UnitSpec unit = (mode & 0x40) ? internal_unit(record) : units::default_unit;
    units::Control control = units::with_iostat(status);
    if (mode & 0x20) control = control | units::advancing("NO");
    fuzz::install_fuzz_console({});
    try {
        current_statement().run(StatementKind::write, unit, control, format, items.items().data(),
                                items.items().size());
    } catch (const fuzz::ProgramEnded&) {
    }
    return 0;
}
