// The inventory and country-list writers of the version 2 set.
#include "v2_files.hpp"

#include <fstream>

namespace corvane::data_set {

namespace {

// " lat lon elev": the columns both kinds of inventory line share after the name.
void put_position(std::string& s, const Station& st) {
    s += ' ';
    put_fixed2(s, st.lat, 6);
    s += ' ';
    put_fixed2(s, st.lon, 7, st.negative_zero_lon);
    s += ' ';
    put_int(s, st.elevation, 4);
}

std::string country_name(const std::vector<Country>& countries, int code) {
    for (const Country& c : countries) {
        if (c.code == code) return c.name.substr(0, c.name.find(" ("));
    }
    return {};
}

}  // namespace

void put_station_id(std::string& s, const Station& st) {
    put_int(s, st.country, 3);
    char number[12];
    std::snprintf(number, sizeof number, "%08d", st.number);
    s.append(number);
}

bool write_temperature_inventory(const std::filesystem::path& path, bool crlf, const std::vector<Station>& stations) {
    LineFile f(path, crlf);
    for (const Station& st : stations) {
        std::string& s = f.line();
        put_station_id(s, st);
        s += ' ';
        put_padded(s, st.name, 30);
        put_position(s, st);
        s += "    0R   -9FLxxno-9x-9MIXED           A    0";  // columns 63-106, not read
        f.end_line();
    }
    return f.close();
}

bool write_short_inventory(const std::filesystem::path& path, bool crlf, const std::vector<Station>& stations,
                           const std::vector<Country>& countries) {
    LineFile f(path, crlf);
    for (const Station& st : stations) {
        std::string& s = f.line();
        put_station_id(s, st);
        s += ' ';
        put_padded(s, st.name, 20);
        put_padded(s, country_name(countries, st.country), 10);
        put_position(s, st);
        f.end_line();
    }
    return f.close();
}

bool read_countries(const std::string& path, std::vector<Country>& countries, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line;
        text += '\n';
        if (line.size() < 5 || line[0] < '0' || line[0] > '9') continue;
        countries.push_back({std::stoi(line.substr(0, 3)), line.substr(4)});
    }
    return !countries.empty();
}

bool copy_country_list(const std::filesystem::path& path, const std::string& text, bool crlf) {
    LineFile f(path, crlf);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        f.line().append(text, start, end - start);
        f.end_line();
        start = end + 1;
    }
    return f.close();
}

double scale_factor(Scale s) { return s == Scale::full ? 1.0 : s == Scale::medium ? 0.1 : 0.01; }

}  // namespace corvane::data_set
