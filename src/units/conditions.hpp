// The conditions a statement can meet: the run-time's own, 10000 to 10074, and the system's
// error codes below 10000. The run-time's own that the program raises go by name here; the
// texts of all 75 are the message table beside this header (message_tables.cpp), which is
// indexed by code and needs no names.
#pragma once

namespace corvane::units {
namespace condition {

// A condition code. Inside the engine a step hands on "0 or a condition" as an int (the
// enumerators convert to it); where a condition is raised or reported it is a Condition, made
// from an int only on purpose (Condition{code}), and never mistaken for a statement's Outcome.
enum Condition : int {
    not_open_for_read = 10000,
    not_open_for_write = 10001,
    record_length_bad = 10003,        // RECL negative or 0, or missing for direct access
    buffer_allocation = 10004,
    bad_specifier = 10005,            // "Bad iolist specifier"
    bad_format = 10006,
    bad_repeat = 10007,
    hollerith_overrun = 10008,
    missing_open_paren = 10009,
    unmatched_parens = 10010,
    unmatched_quotes = 10011,
    non_repeatable = 10012,
    end_of_file = 10013,
    bad_file_specification = 10014,
    group_overflow = 10015,
    illegal_numeric_character = 10016,
    no_record_for_direct = 10017,
    type_mismatch = 10022,            // item type against its edit descriptor
    illegal_internal_use = 10024,
    recl_not_direct = 10025,
    illegal_unit = 10029,
    open_mismatch = 10030,
    new_file_exists = 10032,
    windows_required = 10034,         // a window unit without the window frame
    bad_window = 10035,
    bad_endian = 10036,
    read_past_end_of_record = 10038,
    end_of_record_nonadvancing = 10039,
    bad_advance = 10040,
    bad_delim = 10041,
    bad_pad = 10042,
    size_with_advancing = 10043,
    eor_with_advancing = 10044,
    record_too_long = 10060,
    advance_not_allowed = 10061,
    memory_allocation = 10070,
};

// The range of the run-time's own codes; below it lie the system's.
inline constexpr int first = 10000;
inline constexpr int last = 10074;

constexpr bool is_runtime_code(int code) { return code >= first && code <= last; }

}  // namespace condition

using condition::Condition;

}  // namespace corvane::units
