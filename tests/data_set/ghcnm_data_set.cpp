// The values of a station are drawn once (a seasonal cycle, a slow anomaly, noise) and each
// file kind is derived from them as NOAA derives its files: the adjusted file shifts the
// values before a break and sets flagged values to missing; version 4's file with
// estimates covers 1961-2010 and fills gaps with estimated values.
#include "ghcnm_data_set.hpp"

#include <zlib.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "ghcnm_stations.hpp"
#include "series.hpp"
#include "text_lines.hpp"
#include "v2_files.hpp"

namespace corvane::data_set {

namespace {

struct Month {
    int value = missing;
    char dm = ' ', qc = ' ', ds = ' ';
};
using MonthRow = std::array<Month, 12>;

struct YearRow {
    int year = 0;
    MonthRow months;
};

constexpr std::string_view v4_qcu_letters = "EDRKWILOSTM";
constexpr std::string_view v3_qcu_letters = "DILMOSW";

struct Edition {
    int number;
    std::string release, date;
    std::vector<std::string> kinds;     // file kinds in name order
    std::vector<std::string> elements;  // "tavg", ...
};

Edition edition_of(int number) {
    if (number == 4) return {4, "0.1", "20240105", {"qcu", "qcf", "qfe"}, {"tavg"}};
    return {3, "3.0", "20190821", {"qcu", "qca"}, {"tavg", "tmax", "tmin"}};
}

std::string file_stem(const Edition& e, const std::string& element, const std::string& kind) {
    return "ghcnm." + element + ".v" + std::to_string(e.number) + "." + e.release + "." + e.date + "." + kind;
}

// ---- values ----

int hundredths(double degrees) { return static_cast<int>(std::floor(degrees * 100.0 + 0.5)); }

// Mean temperature in hundredths for each year of the station.
std::vector<std::array<int, 12>> station_climate(Random& r, const GhcnmStation& st) {
    const double alat = std::fabs(st.latitude);
    const double base = 27.0 - 0.0055 * alat * alat - 0.0065 * st.climate_elevation + r.gauss(0, 1);
    const double amp = (1.0 + 0.2 * std::max(0.0, alat - 8)) * r.uniform(0.85, 1.15);
    const double warm = st.latitude >= 0 ? 6.5 : 0.5;
    std::vector<std::array<int, 12>> years;
    double anomaly = r.gauss(0, 0.5);
    for (int y = st.first_year; y <= st.last_year; ++y) {
        anomaly = 0.6 * anomaly + r.gauss(0, 0.35);
        std::array<int, 12> v{};
        for (int m = 0; m < 12; ++m) v[m] = hundredths(base + amp * season(m, warm) + anomaly + r.gauss(0, 0.6));
        years.push_back(v);
    }
    return years;
}

// The unadjusted rows of an element: gaps, day-count and source flags, failed checks.
std::vector<YearRow> unadjusted_rows(Random& r, const GhcnmStation& st, const std::vector<std::array<int, 12>>& climate,
                                     int offset, std::string_view letters) {
    const char source = "CDGKMPUWZ"[r.next() % 9];
    std::vector<YearRow> rows;
    int month_count = 0;
    for (std::size_t i = 0; i < climate.size(); ++i) {
        YearRow row{st.first_year + static_cast<int>(i), {}};
        for (int m = 0; m < 12; ++m, ++month_count) {
            Month& mo = row.months[m];
            const bool lettered = st.hard_case == HardCase::every_qc_letter && month_count < static_cast<int>(letters.size());
            if (r.chance(0.03) && !lettered) continue;  // missing, flags blank
            mo.value = std::clamp(climate[i][m] + offset, -9998, 99999);
            mo.ds = r.chance(0.05) ? ' ' : source;
            if (r.chance(0.02)) mo.dm = static_cast<char>('a' + r.between(0, 8));
            if (lettered) mo.qc = letters[month_count];
            else if (r.chance(0.004)) mo.qc = letters[r.next() % letters.size()];
        }
        rows.push_back(row);
        if (st.hard_case == HardCase::year_twice && row.year == 2001) {
            for (Month& mo : row.months) mo.value = mo.value == missing ? missing : mo.value + 7;
            rows.push_back(row);  // the year again, as some sources deliver it
        }
    }
    return rows;
}

// The adjusted rows: a step before a break year; flagged values set to missing with M,
// a few removed (X, and v3's Q), a few noted as adjusted another way (A). The hard case
// of every letter takes A, X (and Q) in its first unflagged months.
std::vector<YearRow> adjusted_rows(Random& r, const GhcnmStation& st, std::vector<YearRow> rows, bool v3) {
    const int break_year = r.between(1900, 2010);
    const int step = hundredths(r.gauss(0, 0.4));
    const std::string_view removals = v3 ? "XQ" : "X";
    const std::string_view forced = st.hard_case == HardCase::every_qc_letter ? (v3 ? "AXQ" : "AX") : "";
    std::size_t next_forced = 0;
    for (YearRow& row : rows) {
        for (Month& mo : row.months) {
            if (mo.value == missing) continue;
            if (mo.qc != ' ') {
                mo = {missing, ' ', 'M', mo.ds};
                continue;
            }
            const char letter = next_forced < forced.size() ? forced[next_forced++] : ' ';
            if (letter == 'X' || letter == 'Q' || (letter == ' ' && r.chance(0.003))) {
                mo = {missing, ' ', letter != ' ' ? letter : removals[r.next() % removals.size()], mo.ds};
                continue;
            }
            mo.value += row.year < break_year ? step : 0;
            if (letter == 'A' || r.chance(0.01)) mo.qc = 'A';
        }
    }
    return rows;
}

// Version 4's adjusted file with estimates: 1961-2010, gaps filled and marked E.
std::vector<YearRow> estimated_rows(Random& r, const std::vector<YearRow>& adjusted) {
    std::vector<YearRow> rows;
    for (YearRow row : adjusted) {
        if (row.year < 1961 || row.year > 2010) continue;
        int last = 0;
        for (Month& mo : row.months) {
            if (mo.value != missing) last = mo.value;
            else if (mo.qc != 'X') mo = {last + r.between(-150, 150), 'E', ' ', ' '};
        }
        rows.push_back(row);
    }
    return rows;
}

// ---- files ----

void put_record(std::string& s, const GhcnmStation& st, const std::string& element, const YearRow& row) {
    s += st.id;
    put_int(s, row.year, 4);
    for (char c : element) s += static_cast<char>(c - 'a' + 'A');
    for (const Month& mo : row.months) {
        put_int(s, mo.value, 5);
        s += mo.dm;
        s += mo.qc;
        s += mo.ds;
    }
}

void put_v3_metadata(Random& r, std::string& s, const GhcnmStation& st) {
    s += ' ';
    put_int(s, static_cast<long long>(std::max(0.0, st.climate_elevation)) + r.between(-20, 20), 4);
    s += "RSU"[r.next() % 3];
    put_int(s, r.chance(0.5) ? -9 : r.between(10, 9000), 5);
    put_padded(s, std::array{"FL", "HI", "MT", "MV"}[r.next() % 4], 2);
    put_padded(s, std::array{"xx", "DE", "FO", "IC"}[r.next() % 4], 2);
    put_padded(s, std::array{"no", "CO", "LA"}[r.next() % 3], 2);
    put_int(s, r.chance(0.5) ? -9 : r.between(1, 30), 2);
    s += r.chance(0.3) ? 'A' : 'x';
    put_int(s, r.chance(0.5) ? -9 : r.between(1, 40), 2);
    put_padded(s, std::array{"WARM CROPS", "COOL MIXED", "WATER", "TROP. SAVANNA"}[r.next() % 4], 16);
    s += "ABC"[r.next() % 3];
}

void put_inventory_line(Random& r, std::string& s, const GhcnmStation& st, int edition) {
    s += st.id;
    s += ' ';
    char numbers[64];
    if (edition == 4)
        std::snprintf(numbers, sizeof numbers, "%8.4f %9.4f %6s ", st.latitude, st.longitude, st.elevation_text.c_str());
    else
        std::snprintf(numbers, sizeof numbers, "%8.2f %9.2f %6s ", st.latitude, st.longitude, st.elevation_text.c_str());
    s += numbers;
    put_padded(s, st.name, 30);
    if (edition == 3) put_v3_metadata(r, s, st);
}

struct KindFiles {
    std::unique_ptr<LineFile> data, inventory;
};

bool write_country_list(const std::filesystem::path& dir, const GhcnmSetOptions& o) {
    if (o.edition == 3) {
        std::vector<Country> countries;
        std::string text;
        return read_countries(o.country_codes, countries, text) && copy_country_list(dir / "country-codes", text, false);
    }
    LineFile f(dir / "ghcnm-countries.txt", false);
    for (const GhcnmCountry& c : v4_countries()) f.line() += c.code + " " + c.name, f.end_line();
    return f.close();
}

// In pieces, so that a full-size file does not have to fit in memory.
bool gzip_copy(const std::filesystem::path& from) {
    std::ifstream in(from, std::ios::binary);
    gzFile out = gzopen((from.string() + ".gz").c_str(), "wb9");
    if (!in || !out) return out == nullptr ? false : (gzclose(out), false);
    std::vector<char> piece(1 << 20);
    bool ok = true;
    while (ok && in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const auto n = static_cast<int>(in.gcount());
        ok = n == 0 || gzwrite(out, piece.data(), static_cast<unsigned>(n)) == n;
    }
    return gzclose(out) == Z_OK && ok;
}

class SetWriter {
public:
    SetWriter(const std::filesystem::path& dir, const GhcnmSetOptions& o) : dir_(dir), o_(o), e_(edition_of(o.edition)) {
        for (const std::string& element : e_.elements)
            for (const std::string& kind : e_.kinds) {
                const std::string stem = file_stem(e_, element, kind);
                files_.push_back({std::make_unique<LineFile>(dir / (stem + ".dat"), false),
                                  std::make_unique<LineFile>(dir / (stem + ".inv"), false)});
            }
    }

    void station(Random& r, const GhcnmStation& st, GhcnmSetSummary& summary) {
        const auto climate = station_climate(r, st);
        for (std::size_t e = 0; e < e_.elements.size(); ++e) {
            const int offset = e == 0 ? 0 : (e == 1 ? 1 : -1) * hundredths(r.uniform(3.5, 7.0));
            const auto qcu = unadjusted_rows(r, st, climate, offset, o_.edition == 4 ? v4_qcu_letters : v3_qcu_letters);
            const auto adjusted = adjusted_rows(r, st, qcu, o_.edition == 3);
            write(r, files_[e * e_.kinds.size()], st, e_.elements[e], qcu);
            write(r, files_[e * e_.kinds.size() + 1], st, e_.elements[e], adjusted);
            if (o_.edition == 4) write(r, files_[2], st, e_.elements[e], estimated_rows(r, adjusted));
            if (e == 0) summary.records += static_cast<std::int64_t>(qcu.size());
        }
    }

    bool close(GhcnmSetSummary& summary) {
        bool ok = true;
        for (KindFiles& f : files_) ok = f.data->close() && f.inventory->close() && ok;
        summary.data_file = file_stem(e_, "tavg", "qcu") + ".dat";
        if (ok && o_.gzip_copy) ok = gzip_copy(dir_ / summary.data_file);
        return ok;
    }

private:
    void write(Random& r, KindFiles& f, const GhcnmStation& st, const std::string& element,
               const std::vector<YearRow>& rows) {
        if (rows.empty()) return;
        for (const YearRow& row : rows) put_record(f.data->line(), st, element, row), f.data->end_line();
        if (st.hard_case == HardCase::not_in_inventory) return;
        put_inventory_line(r, f.inventory->line(), st, o_.edition);
        f.inventory->end_line();
    }

    std::filesystem::path dir_;
    const GhcnmSetOptions& o_;
    Edition e_;
    std::vector<KindFiles> files_;
};

}  // namespace

bool generate_ghcnm_set(const GhcnmSetOptions& o, GhcnmSetSummary& summary, std::string& error) {
    const std::filesystem::path dir = o.directory;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::vector<Country> v3_countries;
    std::string text;
    if (o.edition == 3 && !read_countries(o.country_codes, v3_countries, text)) {
        error = "cannot read the country list " + o.country_codes;
        return false;
    }
    Random r(o.seed, o.edition == 4 ? "ghcnm-v4" : "ghcnm-v3");
    const bool full = o.scale == GhcnmScale::full;
    const int count = full ? (o.edition == 4 ? 27000 : 7280) : 24;
    const std::vector<GhcnmStation> stations = make_ghcnm_stations(r, o.edition, count, full, v3_countries);
    summary.stations = static_cast<int>(stations.size());
    SetWriter writer(dir, o);
    for (const GhcnmStation& st : stations) writer.station(r, st, summary);
    if (!writer.close(summary) || !write_country_list(dir, o)) {
        error = "cannot write the files into " + dir.string();
        return false;
    }
    return true;
}

}  // namespace corvane::data_set
