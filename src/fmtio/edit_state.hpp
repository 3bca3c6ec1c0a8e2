// The editing modes of a running statement, set at its start and changed by the format.
#pragma once

namespace corvane::fmtio {

struct EditState {
    int scale = 0;                   // k of the last kP
    bool sign_plus = false;          // SP
    bool blank_zero = false;         // BZ (input)
    bool pad = true;                 // short input records read as if blank-padded
    bool suppress_line_end = false;  // "$"
    bool hex_uppercase = false;      // run-time option: Z output with A to F
    bool no_lead_zero = false;       // run-time option: no 0 before the point below 1
};

}  // namespace corvane::fmtio
