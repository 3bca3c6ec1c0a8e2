// The bitmap file: both headers field by field, the depth rounding, the colour table, the
// image size formula and the pixel rows, and the failures of writing it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "console/bitmap_file.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) { return std::uint16_t(b[at] | b[at + 1] << 8); }

console::BitmapCapture capture(int width, int height, int bits) {
    console::BitmapCapture c{width, height, 1, bits, {}, {}};
    const int row_bytes = ((width * bits + 31) / 32) * 4;
    for (int i = 0; i < row_bytes * height; ++i) c.rows.push_back(static_cast<std::uint8_t>(i * 7 + 1));
    return c;
}

TEST(BitmapFile, HeadersFollowTheFormulas) {
    struct Row {
        int width, height, bits;
        std::uint32_t image_size, colours, offset;
    };
    for (const Row& r : {Row{100, 50, 32, 20800, 0, 54}, Row{10, 10, 8, 160, 256, 1078}, Row{33, 7, 24, 7 * 5 * 24, 0, 54},
                         Row{16, 4, 4, 4 * 2 * 4, 16, 118}, Row{600, 300, 32, 300 * 75 * 32, 0, 54}}) {
        SCOPED_TRACE(std::to_string(r.width) + "x" + std::to_string(r.height) + "@" + std::to_string(r.bits));
        const console::BitmapCapture c = capture(r.width, r.height, r.bits);
        const std::vector<std::uint8_t> b = console::bitmap_file_bytes(c);
        ASSERT_EQ(b.size(), r.offset + r.image_size);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(u32(b, 2), r.offset + r.image_size);
        EXPECT_EQ(u16(b, 6), 0);
        EXPECT_EQ(u16(b, 8), 0);
        EXPECT_EQ(u32(b, 10), r.offset);
        EXPECT_EQ(u32(b, 14), 40u);
        EXPECT_EQ(u32(b, 18), std::uint32_t(r.width));
        EXPECT_EQ(u32(b, 22), std::uint32_t(r.height));
        EXPECT_EQ(u16(b, 26), 1);
        EXPECT_EQ(u16(b, 28), r.bits);
        EXPECT_EQ(u32(b, 30), 0u);
        EXPECT_EQ(u32(b, 34), r.image_size);
        EXPECT_EQ(u32(b, 38), 0u);
        EXPECT_EQ(u32(b, 42), 0u);
        EXPECT_EQ(u32(b, 46), r.colours);
        EXPECT_EQ(u32(b, 50), 0u);
        // The rows follow the colour table unchanged; what the formula adds beyond them is zero.
        ASSERT_LE(c.rows.size(), r.image_size);
        EXPECT_TRUE(std::equal(c.rows.begin(), c.rows.end(), b.begin() + r.offset));
        EXPECT_TRUE(std::all_of(b.begin() + r.offset + c.rows.size(), b.end(), [](std::uint8_t x) { return x == 0; }));
    }
}

TEST(BitmapFile, DepthRoundingColourTableAndOneBitRows) {
    for (auto [product, depth] : {std::pair{1, 1}, {2, 4}, {4, 4}, {5, 8}, {8, 8}, {15, 16}, {16, 16}, {24, 24}, {25, 32}, {32, 32}})
        EXPECT_EQ(console::bitmap_depth(1, product), depth) << product;
    EXPECT_EQ(console::bitmap_depth(3, 8), 24);

    console::BitmapCapture c = capture(4, 2, 8);
    c.colour_table = {0x00FF0000, 0x0000FF00};
    const std::vector<std::uint8_t> b = console::bitmap_file_bytes(c);
    EXPECT_EQ(u32(b, 54), 0x00FF0000u);
    EXPECT_EQ(u32(b, 58), 0x0000FF00u);
    EXPECT_EQ(u32(b, 62), 0u);  // entries the capture did not fill

    // One bit per pixel: rows padded to 4 bytes need more than the formula gives; no row is cut.
    const console::BitmapCapture mono = capture(10, 3, 1);
    EXPECT_EQ(mono.rows.size(), 12u);
    EXPECT_EQ(console::bitmap_image_size(mono), 12u);
    const std::vector<std::uint8_t> m = console::bitmap_file_bytes(mono);
    EXPECT_TRUE(std::equal(mono.rows.begin(), mono.rows.end(), m.begin() + 14 + 40 + 8));
}

TEST(BitmapFile, WrittenFileAndItsFailures) {
    ScratchDirectory dir;
    const console::BitmapCapture c = capture(100, 50, 32);
    EXPECT_FALSE(console::write_bitmap_file("map.bmp", c));
    const std::string written = read_file("map.bmp");
    const std::vector<std::uint8_t> expected = console::bitmap_file_bytes(c);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), written.begin(), written.end(),
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));

    const std::optional<console::BitmapFailure> failure = console::write_bitmap_file("no/such/dir/map.bmp", c);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, "CreateFile");
    EXPECT_NE(failure->code, 0);
    if (file_exists("/dev/full")) {
        const std::optional<console::BitmapFailure> full = console::write_bitmap_file("/dev/full", c);
        ASSERT_TRUE(full);
        EXPECT_TRUE(full->step == "WriteFile" || full->step == "CloseHandle") << full->step;
    }
}

}  // namespace
}  // namespace corvane::testing
