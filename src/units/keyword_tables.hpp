// Keyword values of the connection statements, compared after trailing blanks are removed
// and letters are upper-cased, so "read " and "READ" are the same.
#pragma once

#include <optional>
#include <string_view>

#include "units/connection_record.hpp"

namespace corvane::units {

// A file name or text specifier without its leading and trailing blanks.
std::string_view trim_blanks(std::string_view s);

// True when `given` (any case, trailing blanks ignored) is the upper-case `keyword`.
bool keyword_is(std::string_view given, std::string_view keyword);

struct ActionMeaning {
    bool can_read = true;
    bool can_write = true;
    bool carriage_control = false;
    bool delete_on_close = false;
};

std::optional<OpenStatus> status_keyword(std::string_view given);
std::optional<ActionMeaning> action_keyword(std::string_view given);
// ACCESS: sequential, direct, transparent or window; "APPEND" sets `append`.
std::optional<Access> access_keyword(std::string_view given, bool& append);
std::optional<Form> form_keyword(std::string_view given);
std::optional<PositionMode> position_keyword(std::string_view given);
std::optional<bool> blank_zero_keyword(std::string_view given);
std::optional<Delimiter> delim_keyword(std::string_view given);
std::optional<bool> pad_keyword(std::string_view given);
std::optional<ByteOrder> byte_order_keyword(std::string_view given);
std::optional<bool> carriage_control_keyword(std::string_view given);  // true: "FORTRAN"
std::optional<ActionMeaning> dispose_keyword(std::string_view given);   // delete_on_close only

}  // namespace corvane::units
