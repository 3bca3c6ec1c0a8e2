// The run-time's own conditions, 10000 to 10074, by name. Their texts are the message table
// beside this header (message_tables.cpp); codes below 10000 are the system's error codes.
#pragma once

namespace corvane::units::condition {

inline constexpr int first = 10000;
inline constexpr int not_open_for_read = 10000;
inline constexpr int not_open_for_write = 10001;
inline constexpr int file_not_found = 10002;
inline constexpr int record_length_bad = 10003;        // RECL negative or 0, or missing for direct access
inline constexpr int buffer_allocation = 10004;
inline constexpr int bad_specifier = 10005;            // "Bad iolist specifier"
inline constexpr int bad_format = 10006;
inline constexpr int bad_repeat = 10007;
inline constexpr int hollerith_overrun = 10008;
inline constexpr int missing_open_paren = 10009;
inline constexpr int unmatched_parens = 10010;
inline constexpr int unmatched_quotes = 10011;
inline constexpr int non_repeatable = 10012;
inline constexpr int end_of_file = 10013;
inline constexpr int bad_file_specification = 10014;
inline constexpr int group_overflow = 10015;
inline constexpr int illegal_numeric_character = 10016;
inline constexpr int no_record_for_direct = 10017;
inline constexpr int maximum_record_exceeded = 10018;
inline constexpr int namelist_file_type = 10019;
inline constexpr int namelist_input = 10020;
inline constexpr int namelist_variable_missing = 10021;
inline constexpr int type_mismatch = 10022;            // item type against its edit descriptor
inline constexpr int illegal_record_number = 10023;
inline constexpr int illegal_internal_use = 10024;
inline constexpr int recl_not_direct = 10025;
inline constexpr int block_not_unformatted = 10026;
inline constexpr int truncation_failed = 10027;
inline constexpr int structure_not_unformatted = 10028;
inline constexpr int illegal_unit = 10029;
inline constexpr int open_mismatch = 10030;
inline constexpr int direct_length_unknown = 10031;
inline constexpr int new_file_exists = 10032;
inline constexpr int command_not_for_unit = 10033;
inline constexpr int windows_required = 10034;         // a window unit without the window frame
inline constexpr int bad_window = 10035;
inline constexpr int bad_endian = 10036;
inline constexpr int endian_structure = 10037;
inline constexpr int read_past_end_of_record = 10038;
inline constexpr int end_of_record_nonadvancing = 10039;
inline constexpr int bad_advance = 10040;
inline constexpr int bad_delim = 10041;
inline constexpr int bad_pad = 10042;
inline constexpr int size_with_advancing = 10043;
inline constexpr int eor_with_advancing = 10044;
inline constexpr int deallocate_unallocated = 10045;
inline constexpr int deallocate_portion = 10046;
inline constexpr int already_allocated = 10047;
inline constexpr int internal_error = 10048;
inline constexpr int unknown_data_type = 10049;
inline constexpr int bad_dim_argument = 10050;
inline constexpr int reshape_source_short = 10051;
inline constexpr int reshape_negative_shape = 10052;
inline constexpr int unallocated_inquiry = 10053;
inline constexpr int repeat_negative = 10054;
inline constexpr int nearest_negative = 10055;
inline constexpr int reshape_bad_order = 10056;
inline constexpr int transfer_too_small = 10057;
inline constexpr int reshape_zero_shape = 10058;
inline constexpr int unpack_vector_short = 10059;
inline constexpr int record_too_long = 10060;
inline constexpr int advance_not_allowed = 10061;
inline constexpr int namelist_name_too_long = 10062;
inline constexpr int namelist_variable_too_long = 10063;
inline constexpr int pad_unformatted = 10064;
inline constexpr int namelist_strided = 10065;
inline constexpr int namelist_first_character = 10066;
inline constexpr int namelist_group_mismatch = 10067;
inline constexpr int not_associated = 10068;
inline constexpr int namelist_negative_stride = 10069;
inline constexpr int memory_allocation = 10070;
inline constexpr int matmul_rank = 10071;
inline constexpr int matmul_not_conformable = 10072;
inline constexpr int flag_values = 10073;
inline constexpr int underflow_control = 10074;
inline constexpr int last = 10074;

constexpr bool is_runtime_code(int code) { return code >= first && code <= last; }

}  // namespace corvane::units::condition
