// READ and WRITE as the program writes them: a unit, optional catching specifiers, a
// format, and the items, e.g.
//     write(default_unit, fmt<"(1x,i4,1x,a)">, count, name);
//     read(unit(14), {on_end | on_err}, fmt<"15(I3,I8,i1,i4,12I5)">, country, id, dup, year, values);
// Each returns the statement's outcome: 0, 1 (ERR branch) or 2 (END branch).
#pragma once

#include <array>

#include "fmtio/constant_format.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/io_statement.hpp"

namespace corvane::fmtio {

using units::default_unit;
using units::on_end;
using units::on_err;
using units::unit;

template <class... Items>
int write(const UnitSpec& u, Control control, const FormatArg& format, const Items&... items) {
    const std::array<IoItem, sizeof...(Items)> list{make_item(items)...};
    return current_statement().run(StatementKind::write, u, control, format, list.data(), list.size());
}

template <class... Items>
int write(const UnitSpec& u, const FormatArg& format, const Items&... items) {
    return write(u, Control{}, format, items...);
}

template <class... Items>
int read(const UnitSpec& u, Control control, const FormatArg& format, Items&... items) {
    const std::array<IoItem, sizeof...(Items)> list{make_item(items)...};
    return current_statement().run(StatementKind::read, u, control, format, list.data(), list.size());
}

template <class... Items>
int read(const UnitSpec& u, const FormatArg& format, Items&... items) {
    return read(u, Control{}, format, items...);
}

}  // namespace corvane::fmtio
