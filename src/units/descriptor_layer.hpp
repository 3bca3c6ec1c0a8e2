// Numbered descriptors over system files, with text-mode line-end translation. Descriptors
// 0, 1 and 2 stand for the standard input, output and error and reach the console hooks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::units {

// open() flags: the two low bits give the access (0 read, 1 write, 2 read and write).
constexpr int descriptor_write_only = 1;
constexpr int descriptor_read_write = 2;
constexpr int descriptor_append = 0x8;
constexpr int descriptor_create = 0x100;
constexpr int descriptor_truncate = 0x200;
constexpr int descriptor_exclusive = 0x400;
constexpr int descriptor_text = 0x4000;

// Flag bits kept per descriptor.
constexpr int descriptor_flag_append = 1;
constexpr int descriptor_flag_text = 2;
constexpr int descriptor_flag_other = 4;

// The process-wide error of the last failing call.
constexpr int descriptor_error_bad = 3;
constexpr int descriptor_error_io = 4;
constexpr int descriptor_error_origin = 5;
constexpr int descriptor_error_delete = 6;

void start_descriptor_layer();
void close_all_descriptors();

int descriptor_open(const char* name, int flags);
int descriptor_close(int d);
std::int64_t descriptor_read(int d, char* buffer, std::size_t count);
std::int64_t descriptor_write(int d, const char* buffer, std::size_t count);
std::int64_t descriptor_seek(int d, std::int64_t offset, int origin);
int descriptor_rename(const char* from, const char* to);
int descriptor_delete(const char* name);
bool descriptor_exists(const char* name);
void descriptor_set_flag(int d, int flag);
int descriptor_flags(int d);
int descriptor_error();

}  // namespace corvane::units
