// The data record of version 3 and 4 (the `.dat` files): station, year, element, then
// twelve months of a value in hundredths of a degree Celsius and its three flags.
//     ID 1-11, YEAR 12-15, ELEMENT 16-19, month m at 20+8(m-1): VALUE (5 columns),
//     DMFLAG, QCFLAG, DSFLAG (one column each)
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::ghcn {

constexpr std::int32_t missing_value = -9999;
constexpr std::size_t data_record_length = 115;

struct MonthValue {
    std::int32_t hundredths = missing_value;
    char dmflag = ' ';
    char qcflag = ' ';
    char dsflag = ' ';
};

struct GhcnmRecord {
    std::string id;       // 11 characters; v4 identifiers begin with letters
    std::int32_t year = 0;
    std::string element;  // "TAVG", "TMAX" or "TMIN"
    std::array<MonthValue, 12> months;
};

// Reads one line of a `.dat` file into `record`. On a malformed line, false with `field`
// and `what` set (e.g. "VALUE3", "holds letters").
bool parse_data_record(char* line, std::size_t length, GhcnmRecord& record, std::string& field, std::string& what);

// A value in hundredths as the exact decimal it stands for: 1234 -> "12.34", -5 -> "-0.05";
// a missing value gives an empty text.
std::string degrees_text(std::int32_t hundredths);

}  // namespace corvane::ghcn
