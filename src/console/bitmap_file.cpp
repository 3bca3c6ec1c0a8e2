#include "console/bitmap_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace corvane::console {

namespace {

constexpr std::size_t write_piece = 65535;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

int bitmap_depth(int planes, int bits_per_pixel) {
    const int product = planes * bits_per_pixel;
    for (int depth : {1, 4, 8, 16, 24}) {
        if (product <= depth) return depth;
    }
    return 32;
}

std::uint32_t bitmap_colour_count(int depth) { return depth < 24 ? std::uint32_t{1} << depth : 0; }

std::uint32_t bitmap_image_size(const BitmapCapture& capture) {
    const int depth = bitmap_depth(capture.planes, capture.bits_per_pixel);
    const std::uint64_t formula = std::uint64_t(capture.height) * ((std::uint64_t(capture.width) + 7) / 8) * depth;
    return static_cast<std::uint32_t>(std::max<std::uint64_t>(formula, capture.rows.size()));
}

std::vector<std::uint8_t> bitmap_file_bytes(const BitmapCapture& capture) {
    const int depth = bitmap_depth(capture.planes, capture.bits_per_pixel);
    const std::uint32_t colours = bitmap_colour_count(depth);
    const std::uint32_t image_size = bitmap_image_size(capture);
    const std::uint32_t offset = bitmap_file_header_size + bitmap_info_header_size + 4 * colours;

    std::vector<std::uint8_t> out;
    out.reserve(offset + image_size);
    put16(out, 0x4D42);  // "BM"
    put32(out, offset + image_size);
    put16(out, 0);
    put16(out, 0);
    put32(out, offset);

    put32(out, bitmap_info_header_size);
    put32(out, static_cast<std::uint32_t>(capture.width));
    put32(out, static_cast<std::uint32_t>(capture.height));  // positive: rows bottom-up
    put16(out, static_cast<std::uint32_t>(capture.planes));
    put16(out, static_cast<std::uint32_t>(capture.bits_per_pixel));
    put32(out, 0);  // uncompressed
    put32(out, image_size);
    put32(out, 0);
    put32(out, 0);
    put32(out, colours);
    put32(out, 0);

    for (std::uint32_t i = 0; i < colours; ++i) put32(out, i < capture.colour_table.size() ? capture.colour_table[i] : 0);
    out.insert(out.end(), capture.rows.begin(), capture.rows.begin() + std::min<std::size_t>(capture.rows.size(), image_size));
    out.resize(offset + image_size, 0);
    return out;
}

std::optional<BitmapFailure> write_bitmap_file(const std::string& path, const BitmapCapture& capture) {
    const std::vector<std::uint8_t> bytes = bitmap_file_bytes(capture);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return BitmapFailure{"CreateFile", errno};
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t piece = std::min(write_piece, bytes.size() - at);
        if (std::fwrite(bytes.data() + at, 1, piece, file) != piece) {
            const int code = errno;
            std::fclose(file);
            return BitmapFailure{"WriteFile", code};
        }
        at += piece;
    }
    if (std::fclose(file) != 0) return BitmapFailure{"CloseHandle", errno};
    return std::nullopt;
}

}  // namespace corvane::console
