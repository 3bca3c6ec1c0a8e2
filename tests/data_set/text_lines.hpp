// The text of the generated files: right-aligned numbers, padded names, and a text file
// written line by line through a large buffer, with LF or CR LF line ends.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace corvane::data_set {

void put_int(std::string& s, long long v, int width);
// Two decimals; `negative_zero` writes -0.00, as some real inventory lines hold.
void put_fixed2(std::string& s, double v, int width, bool negative_zero = false);
// One decimal (the elevations of the version 3 and 4 inventories).
void put_fixed1(std::string& s, double v, int width);
// Left-aligned in `width` columns, cut when longer.
void put_padded(std::string& s, std::string_view text, std::size_t width);

class LineFile {
public:
    LineFile(const std::filesystem::path& path, bool crlf) : file_(std::fopen(path.c_str(), "wb")), crlf_(crlf) {}
    ~LineFile() { close(); }
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    bool ok() const { return file_ != nullptr && !failed_; }
    std::string& line() { return buffer_; }
    void end_line();
    bool close();

private:
    void flush();
    std::FILE* file_;
    bool crlf_;
    bool failed_ = false;
    std::string buffer_;
};

}  // namespace corvane::data_set
