// Message texts of run-time conditions and of operating-system error codes.
#pragma once

#include <string_view>

#include "units/conditions.hpp"

namespace corvane::units {

// Text of a run-time condition 10000..10074 (conditions.hpp names them); empty for any
// other code.
std::string_view runtime_message(Condition code);

// Text of a system error code 0..2405 (the system's standard English text); empty for
// codes without a text and for codes outside the table.
std::string_view system_message(Condition code);

// The system error code that stands for a POSIX errno value (ENOENT -> 2, EACCES -> 5, ...).
// Every code this returns has a text in the system table.
Condition system_code_from_errno(int errno_value);

}  // namespace corvane::units
