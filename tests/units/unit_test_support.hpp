// Helpers of the unit-layer tests: OPEN with an IOSTAT variable, records straight from the
// record layer, and checks that a test leaves no unit connected.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "units/connection_statements.hpp"
#include "units/record_io.hpp"
#include "units/unit_table.hpp"

namespace corvane::testing {

// OPEN with an IOSTAT variable; returns the code stored there (0 on success).
inline std::int32_t open_code(units::OpenSpec request) {
    std::int32_t code = -99;
    request.control = units::with_iostat(code);
    units::open_unit(request);
    return code;
}

inline std::int32_t open_file(std::int32_t unit, std::string_view name, std::string_view status = "UNKNOWN",
                              std::string_view action = {}) {
    return open_code({.unit = unit, .file = name, .status = status, .action = action});
}

inline bool connected(std::int32_t unit) { return units::unit_table().find(unit) != nullptr; }

inline units::ConnectionRecord& record_of(std::int32_t unit) {
    if (units::ConnectionRecord* r = units::unit_table().find(unit)) return *r;
    throw std::logic_error("unit " + std::to_string(unit) + " is not connected");
}

// The next record as the record layer delivers it; nullopt at the end of the file.
inline std::optional<std::string> next_record(std::int32_t unit) {
    units::RecordView view;
    units::RecordScratch scratch;
    const int rc = units::read_record(record_of(unit), view, scratch);
    if (rc == units::record_end_of_file) return std::nullopt;
    EXPECT_EQ(rc, units::record_ok) << "unit " << unit;
    return std::string(view.data, view.length);
}

inline void put_record(std::int32_t unit, std::string_view text) {
    EXPECT_EQ(units::write_record(record_of(unit), text.data(), text.size(), true), 0) << "unit " << unit;
}

inline void expect_units_closed(std::int32_t first, std::int32_t last) {
    for (std::int32_t u = first; u <= last; ++u) EXPECT_FALSE(connected(u)) << "unit " << u << " left open";
}

}  // namespace corvane::testing
