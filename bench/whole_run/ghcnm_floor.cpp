// The floor of the version 4 whole run: a plain hand-written pass that does the least an
// extraction of every station must do. It takes each `.inv` line's fields from their
// columns, parses every `.dat` record from its columns (ID 1-11, YEAR 12-15, ELEMENT 16-19,
// then per month a 5-column value and three one-column flags) and writes the rows of the
// three CSV files: values.csv in long form with the exact decimal of each value (a value
// whose QC flag marks a failed check left empty and listed in failed_values.csv), and one
// stations.csv row per station with its first and last year and its count of values.
// Lines end in CR LF, as the run-time's records do, so that its files compare byte for byte.
//   corvane-ghcnm-floor DAT_FILE INV_FILE OUT_DIR
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t block = 1 << 20;

// Buffered output to one file, flushed a block at a time.
class Output {
public:
    explicit Output(const std::string& path) : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
        buffer_.resize(block + 512);
    }
    bool ok() const { return fd_ >= 0; }
    // Room for at least 512 characters from the returned position on.
    char* at() {
        if (used_ + 512 > block) flush();
        return buffer_.data() + used_;
    }
    void advance_to(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
    bool flush() {
        const char* p = buffer_.data();
        while (used_ > 0) {
            const ssize_t w = ::write(fd_, p, used_);
            if (w <= 0) return false;
            p += w;
            used_ -= static_cast<std::size_t>(w);
        }
        return true;
    }
    bool close() { return flush() && ::close(fd_) == 0; }

private:
    int fd_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
};

struct Station {
    std::string row_start;  // id, country, name, latitude, longitude, elevation
    int first = 0, last = 0;
    long count = 0;
    bool listed = false;
};

// A right-justified decimal field of `width` columns (blanks read as nothing).
int field(const char* p, int width) {
    int i = 0;
    while (i < width && p[i] == ' ') ++i;
    const bool negative = i < width && p[i] == '-';
    if (negative) ++i;
    int value = 0;
    for (; i < width; ++i) value = value * 10 + (p[i] - '0');
    return negative ? -value : value;
}

char* put_unsigned(char* at, unsigned value) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) *at++ = digits[--n];
    return at;
}

// Hundredths as their exact decimal: 1234 -> 12.34, -5 -> -0.05.
char* put_degrees(char* at, int hundredths) {
    unsigned magnitude = static_cast<unsigned>(hundredths);
    if (hundredths < 0) {
        *at++ = '-';
        magnitude = 0u - magnitude;
    }
    at = put_unsigned(at, magnitude / 100);
    *at++ = '.';
    *at++ = static_cast<char>('0' + magnitude % 100 / 10);
    *at++ = static_cast<char>('0' + magnitude % 10);
    return at;
}

char* put_text(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

bool failed_check(char qcflag) { return qcflag != ' ' && std::strchr("EDRKWILOST M", qcflag) != nullptr; }

// The stations of the inventory, by identifier, with the start of their stations.csv row.
std::unordered_map<std::string, Station> read_inventory(const char* path) {
    std::unordered_map<std::string, Station> stations;
    FILE* in = std::fopen(path, "r");
    if (!in) return stations;
    char line[256];
    while (std::fgets(line, sizeof line, in)) {
        std::string_view s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
        if (s.size() < 38) continue;
        const std::string_view id = s.substr(0, 11), elevation = trimmed(s.substr(31, 6));
        std::string row(id);
        row += ',' + std::string(id.substr(0, 2)) + ",," + std::string(trimmed(s.substr(38))) + ',';
        row += std::string(trimmed(s.substr(12, 8))) + ',' + std::string(trimmed(s.substr(21, 9))) + ',';
        if (elevation != "-999.0" && elevation != "9999.0") row += elevation;
        stations[std::string(id)].row_start = std::move(row);
    }
    std::fclose(in);
    return stations;
}

// One record's twelve rows of values.csv and its rows of failed_values.csv.
void write_record(const char* r, Station& station, Output& values, Output& failed) {
    const int year = field(r + 11, 4);
    for (int m = 0; m < 12; ++m) {
        const char* v = r + 19 + 8 * m;
        const int hundredths = field(v, 5);
        const bool dropped = hundredths != -9999 && failed_check(v[6]);
        char* at = put_text(values.at(), std::string_view(r, 11));
        *at++ = ',';
        at = put_unsigned(at, static_cast<unsigned>(year));
        *at++ = ',';
        at = put_unsigned(at, static_cast<unsigned>(m + 1));
        *at++ = ',';
        if (hundredths != -9999 && !dropped) {
            at = put_degrees(at, hundredths);
            if (station.count++ == 0) station.first = year;
            station.last = year;
        }
        for (int f = 5; f < 8; ++f) {
            *at++ = ',';
            if (v[f] != ' ') *at++ = v[f];
        }
        *at++ = '\r';
        *at++ = '\n';
        values.advance_to(at);
        if (!dropped) continue;
        at = put_text(failed.at(), std::string_view(r, 11));
        *at++ = ',';
        at = put_unsigned(at, static_cast<unsigned>(year));
        *at++ = ',';
        at = put_unsigned(at, static_cast<unsigned>(m + 1));
        *at++ = ',';
        at = put_degrees(at, hundredths);
        *at++ = ',';
        *at++ = v[6];
        *at++ = '\r';
        *at++ = '\n';
        failed.advance_to(at);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: corvane-ghcnm-floor DAT_FILE INV_FILE OUT_DIR\n");
        return 2;
    }
    auto stations = read_inventory(argv[2]);
    const std::string dir = argv[3];
    Output values(dir + "/values.csv"), failed(dir + "/failed_values.csv"), listed(dir + "/stations.csv");
    const int in = ::open(argv[1], O_RDONLY);
    if (in < 0 || !values.ok() || !failed.ok() || !listed.ok()) {
        std::perror("corvane-ghcnm-floor");
        return 1;
    }
    std::vector<std::string> order;
    std::vector<char> input(block + 256);
    std::size_t position = 0, have = 0;
    bool at_end = false;
    long records = 0;
    Station* current = nullptr;
    std::string current_id;
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
        if (length < 115) {
            std::fprintf(stderr, "corvane-ghcnm-floor: line %ld is cut short\n", records + 1);
            return 1;
        }
        ++records;
        if (!current || std::string_view(start, 11) != current_id) {
            current_id.assign(start, 11);
            const auto found = stations.find(current_id);
            current = found == stations.end() ? nullptr : &found->second;
            if (current && !current->listed) {
                current->listed = true;
                order.push_back(current_id);
            }
        }
        if (current) write_record(start, *current, values, failed);
    }
    for (const std::string& id : order) {
        const Station& s = stations[id];
        char* at = put_text(listed.at(), s.row_start);
        at += std::snprintf(at, 64, ",%d,%d,%ld\r\n", s.first, s.last, s.count);
        listed.advance_to(at);
    }
    if (!values.close() || !failed.close() || !listed.close()) return 1;
    std::printf("%ld records\n", records);
    return 0;
}
