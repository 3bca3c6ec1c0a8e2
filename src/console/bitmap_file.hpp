// The bitmap file of a graphics window: a 14-byte file header, a 40-byte information
// header, the colour table and the pixel rows bottom-up, all little-endian. The sizes follow
// from the captured bitmap's planes and bits per pixel (see `bitmap_image_size`), not from
// the rows themselves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::console {

// The pixels of a window as captured: rows bottom-up, each padded to a multiple of 4 bytes.
struct BitmapCapture {
    int width = 0;
    int height = 0;
    int planes = 1;
    int bits_per_pixel = 32;
    std::vector<std::uint32_t> colour_table;  // 0x00RRGGBB, for depths below 24
    std::vector<std::uint8_t> rows;
};

constexpr int bitmap_file_header_size = 14;
constexpr int bitmap_info_header_size = 40;

// planes x bits per pixel, rounded up to 1, 4, 8, 16, 24 or 32.
int bitmap_depth(int planes, int bits_per_pixel);
// 2 to the power depth below 24 bits, else 0.
std::uint32_t bitmap_colour_count(int depth);
// The pixel bytes the file holds: height x ((width + 7) / 8) x depth. Where that is less
// than the captured rows (one bit per pixel), the rows' size, so that no row is cut off.
std::uint32_t bitmap_image_size(const BitmapCapture& capture);

// The whole file; pixel bytes beyond the captured rows are zero.
std::vector<std::uint8_t> bitmap_file_bytes(const BitmapCapture& capture);

// A step of writing the file failed: its name and the system's error code.
struct BitmapFailure {
    std::string step;  // "CreateFile", "WriteFile" or "CloseHandle"
    int code = 0;
};

// Creates or replaces `path` with the bitmap file.
std::optional<BitmapFailure> write_bitmap_file(const std::string& path, const BitmapCapture& capture);

}  // namespace corvane::console
