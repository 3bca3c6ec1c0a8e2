// The floor of the whole-run benchmark: a plain hand-written pass that does the least an
// extraction must do with a data file. It reads every record, takes its fields from
// their columns (country 1-3, station 4-11, duplicate 12, year 13-16, twelve values of
// five columns from 17) and writes the year and the twelve values back as (i4,12i5) with
// CR LF.
//   corvane-floor-copy DATA_FILE OUTPUT_FILE
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t block = 1 << 20;

// A right-justified decimal field of `width` columns starting at `p` (blanks read as nothing).
int field(const char* p, int width) {
    int i = 0;
    while (i < width && p[i] == ' ') ++i;
    bool negative = false;
    if (i < width && p[i] == '-') {
        negative = true;
        ++i;
    }
    int value = 0;
    for (; i < width; ++i) value = value * 10 + (p[i] - '0');
    return negative ? -value : value;
}

// `value` right-justified in `width` columns, asterisks when it does not fit.
char* put(char* at, int value, int width) {
    char digits[12];
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[n++] = '-';
    if (n > width) return static_cast<char*>(std::memset(at, '*', static_cast<std::size_t>(width))) + width;
    for (int i = width - n; i > 0; --i) *at++ = ' ';
    while (n > 0) *at++ = digits[--n];
    return at;
}

bool write_all(int fd, const char* data, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0) return false;
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvane-floor-copy DATA_FILE OUTPUT_FILE\n");
        return 2;
    }
    const int in = ::open(argv[1], O_RDONLY);
    const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("corvane-floor-copy");
        return 1;
    }
    std::vector<char> input(block + 128), output(block + 128);
    std::size_t position = 0, have = 0, used = 0;
    long records = 0, checksum = 0;
    bool at_end = false;
    for (;;) {
        const char* start = input.data() + position;
        const char* newline = static_cast<const char*>(std::memchr(start, '\n', have - position));
        if (!newline && !at_end) {  // move the part line to the front and read on
            std::memmove(input.data(), start, have - position);
            have -= position;
            position = 0;
            const ssize_t n = ::read(in, input.data() + have, block - have);
            if (n < 0) return 1;
            at_end = n == 0;
            have += static_cast<std::size_t>(n);
            continue;
        }
        if (!newline && position == have) break;
        const char* line_end = newline ? newline : input.data() + have;
        std::size_t length = static_cast<std::size_t>(line_end - start);
        position += length + (newline ? 1 : 0);
        if (length > 0 && start[length - 1] == '\r') --length;
        char record[80];
        std::memset(record, ' ', sizeof record);
        std::memcpy(record, start, length < 76 ? length : 76);

        const int country = field(record, 3), station = field(record + 3, 8), duplicate = field(record + 11, 1);
        checksum += country + station + duplicate;
        if (used + 80 > block) {
            if (!write_all(out, output.data(), used)) return 1;
            used = 0;
        }
        char* at = put(output.data() + used, field(record + 12, 4), 4);
        for (int m = 0; m < 12; ++m) at = put(at, field(record + 16 + 5 * m, 5), 5);
        *at++ = '\r';
        *at++ = '\n';
        used = static_cast<std::size_t>(at - output.data());
        ++records;
    }
    if (!write_all(out, output.data(), used) || ::close(out) != 0) return 1;
    std::printf("%ld records (checksum %ld)\n", records, checksum);
    return 0;
}
