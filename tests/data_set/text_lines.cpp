// Formatting with snprintf rather than streams, so that the bytes do not depend on a locale.
#include "text_lines.hpp"

namespace corvane::data_set {

void put_int(std::string& s, long long v, int width) {
    char text[24];
    const int n = std::snprintf(text, sizeof text, "%*lld", width, v);
    s.append(text, static_cast<std::size_t>(n));
}

void put_fixed2(std::string& s, double v, int width, bool negative_zero) {
    char text[32];
    const int n = negative_zero ? std::snprintf(text, sizeof text, "%*s", width, "-0.00")
                                : std::snprintf(text, sizeof text, "%*.2f", width, v);
    s.append(text, static_cast<std::size_t>(n));
}

void put_fixed1(std::string& s, double v, int width) {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%*.1f", width, v);
    s.append(text, static_cast<std::size_t>(n));
}

void put_padded(std::string& s, std::string_view text, std::size_t width) {
    text = text.substr(0, width);
    s.append(text);
    s.append(width - text.size(), ' ');
}

void LineFile::end_line() {
    if (crlf_) buffer_ += '\r';
    buffer_ += '\n';
    if (buffer_.size() >= (1u << 20)) flush();
}

bool LineFile::close() {
    if (!file_) return false;
    flush();
    failed_ |= std::fclose(file_) != 0;
    file_ = nullptr;
    return !failed_;
}

void LineFile::flush() {
    if (file_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
}

}  // namespace corvane::data_set
