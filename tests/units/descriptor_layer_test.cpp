// Numbered descriptors: text-mode translation on reading and writing, and the error codes.
#include <gtest/gtest.h>

#include <string>

#include "test_support.hpp"
#include "units/descriptor_layer.hpp"

namespace corvane::testing {
namespace {

using namespace units;

// All of a file read through a text-mode descriptor, `chunk` bytes per call.
std::string read_text(const char* name, std::size_t chunk) {
    const int d = descriptor_open(name, descriptor_text);
    std::string text;
    char buffer[64];
    for (std::int64_t n; (n = descriptor_read(d, buffer, chunk)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    EXPECT_EQ(descriptor_close(d), 0);
    return text;
}

TEST(DescriptorLayerTest, TextModeReading) {
    ScratchDirectory dir;
    start_descriptor_layer();
    write_file("t.txt", "a\r\nb");
    EXPECT_EQ(read_text("t.txt", 64), "a\nb");
    // Only CR LF becomes LF, also when a read ends between the two; a lone CR stays.
    write_file("t.txt", "a\rb\r\r\nc\r");
    for (std::size_t chunk : {1u, 2u, 3u, 64u}) EXPECT_EQ(read_text("t.txt", chunk), "a\rb\r\nc\r") << chunk;
    write_file("t.txt", std::string("ab\x1a") + "cd");  // Ctrl-Z ends the data
    EXPECT_EQ(read_text("t.txt", 64), "ab");
    const int raw = descriptor_open("t.txt", 0);
    char buffer[8];
    EXPECT_EQ(descriptor_read(raw, buffer, sizeof buffer), 5);  // no text mode: bytes as they are
    EXPECT_EQ(descriptor_close(raw), 0);
}

TEST(DescriptorLayerTest, TextModeWritingAndErrors) {
    ScratchDirectory dir;
    start_descriptor_layer();
    int d = descriptor_open("w.txt", descriptor_write_only | descriptor_truncate | descriptor_text);
    EXPECT_EQ(d, 3);  // the smallest number not in use
    EXPECT_EQ(descriptor_write(d, "a\n", 2), 2);
    const std::string many(300, '\n');  // more than one piece of translated output
    EXPECT_EQ(descriptor_write(d, many.data(), many.size()), 300);
    EXPECT_EQ(descriptor_close(d), 0);
    std::string expected = "a\r\n";
    for (int i = 0; i < 300; ++i) expected += "\r\n";
    EXPECT_EQ(read_file("w.txt"), expected);

    d = descriptor_open("w.txt", descriptor_write_only | descriptor_append);
    EXPECT_EQ(descriptor_seek(d, 0, 0), 0);
    EXPECT_EQ(descriptor_write(d, "end\n", 4), 4);  // appended wherever the position was
    EXPECT_EQ(descriptor_seek(d, 0, 7), -1);
    EXPECT_EQ(descriptor_error(), descriptor_error_origin);
    EXPECT_EQ(descriptor_close(d), 0);
    EXPECT_EQ(read_file("w.txt"), expected + "end\n");
    {
        ScriptedConsole console;  // the standard streams reach the console hooks
        EXPECT_EQ(descriptor_write(1, "out\n", 4), 4);
        EXPECT_EQ(descriptor_write(2, "err\n", 4), 4);
        EXPECT_EQ(console.output() + console.errors(), "out\r\nerr\r\n");
    }
    EXPECT_EQ(descriptor_close(d), -1);  // already closed
    EXPECT_EQ(descriptor_error(), descriptor_error_bad);
    EXPECT_EQ(descriptor_write(42, "x", 1), -1);
    EXPECT_EQ(descriptor_error(), descriptor_error_bad);
    EXPECT_EQ(descriptor_open("missing.txt", 0), -1);
    EXPECT_EQ(descriptor_error(), descriptor_error_io);
    EXPECT_EQ(descriptor_delete("missing.txt"), -1);
    EXPECT_EQ(descriptor_error(), descriptor_error_delete);
    EXPECT_EQ(descriptor_rename("w.txt", "v.txt"), 0);
    EXPECT_TRUE(descriptor_exists("v.txt") && !descriptor_exists("w.txt"));
}

}  // namespace
}  // namespace corvane::testing
