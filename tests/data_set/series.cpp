// The years and months of a series are drawn from the station's random stream, before its
// values, so that every file of the station agrees on them.
#include "series.hpp"

#include <algorithm>
#include <cmath>

namespace corvane::data_set {

namespace {

int first_year(int country, bool pressure) {
    if (country == 700) return 1945;
    if (country == 701) return 1903;
    if (country == 800) return 1946;
    if (pressure) return 1850;
    if (country / 100 == 6) return 1701;
    if (country == 403 || country == 425) return 1740;
    return country / 100 == 2 ? 1800 : 1830;
}

int pick_series_count(Random& r, const std::vector<double>& weights) {
    double u = r.uniform();
    for (std::size_t k = 0; k < weights.size(); ++k) {
        if ((u -= weights[k]) < 0) return static_cast<int>(k) + 1;
    }
    return static_cast<int>(weights.size());
}

}  // namespace

std::vector<Series> plan_series(Random& r, int country, bool pressure, const std::vector<double>& weights,
                                double mean_length, double duplicate_length) {
    const int count = pick_series_count(r, weights);
    std::vector<int> digits;
    if (count < 10 && r.chance(0.1)) {
        std::vector<int> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        for (int i = 9; i > 0; --i) std::swap(all[static_cast<std::size_t>(i)], all[r.next() % (i + 1)]);
        digits.assign(all.begin(), all.begin() + count);
        std::sort(digits.begin(), digits.end());
    } else {
        for (int d = 0; d < count; ++d) digits.push_back(d);
    }
    const int first = first_year(country, pressure);
    const double u = r.uniform();
    const int end = u < 0.5 ? (r.chance(0.8) ? last_year : last_year - r.between(1, 3))
                  : u < 0.65 ? r.between(1988, 1992) : r.between(1950, 2004);
    int start = end - 2 - static_cast<int>(r.gamma2(mean_length));
    if (country / 100 == 6 && !pressure && r.chance(0.06)) start = r.between(first, std::max(first, end - 10));
    start = std::clamp(start, first, end);

    std::vector<Series> out;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        int s = start, e = end;
        if (k > 0) {
            const int lo = std::max(first, start - 10);
            s = r.between(lo, std::max(lo, end - 2));
            e = std::min(last_year, s + 1 + static_cast<int>(r.gamma2(duplicate_length)));
        }
        Series series{digits[k], {}};
        int gap0 = 0, gap1 = -1;
        if (k == 0 && e - s > 30 && r.chance(0.15)) {
            gap0 = r.between(s + 5, e - 15);
            gap1 = gap0 + r.between(2, 12);
        }
        for (int y = s; y <= e; ++y) {
            if (!r.chance(0.03) && (y < gap0 || y > gap1)) series.years.push_back(y);
        }
        if (series.years.empty()) series.years.push_back(e);
        out.push_back(std::move(series));
    }
    return out;
}

MissingMonths missing_months(Random& r, const Series& series, std::size_t index, double p) {
    MissingMonths miss{};
    for (bool& m : miss) m = r.chance(p);
    if (index == 0 && r.chance(0.4)) std::fill_n(miss.begin(), r.between(0, 11), true);
    if (index + 1 == series.years.size() && r.chance(0.4)) std::fill(miss.begin() + r.between(1, 11), miss.end(), true);
    if (r.chance(0.02)) {
        for (int k = r.between(4, 11); k > 0; --k) miss[r.next() % 12] = true;
    }
    if (series.years[index] == last_year) std::fill(miss.begin() + r.between(8, 12), miss.end(), true);
    return miss;
}
int tenths(double x) { return static_cast<int>(std::floor(x * 10.0 + 0.5)); }

double season(int month, double peak) { return std::cos(6.283185307179586 * (month - peak) / 12.0); }

int fail_temperature(Random& r, int v) {
    const double u = r.uniform();
    if (u < 0.08) return std::array{999, -999, 9999, -1000, 0}[r.next() % 5];
    if (u < 0.15) return v ? -v : 250;  // a sign error
    if (u < 0.22) return v * 10;        // a decimal point error
    return v + (r.chance(0.5) ? -1 : 1) * r.between(80, 350);
}

int fail_precipitation(Random& r, int v) {
    const double u = r.uniform();
    if (u < 0.1) return std::array{99999, 9999, 8888}[r.next() % 3];
    if (u < 0.2) return v * 10 + r.between(0, 9);
    return std::max(v, 0) * r.between(3, 12) + r.between(800, 12000);
}

int fail_pressure(Random& r, int v) {
    if (r.chance(0.1)) return std::array{0, 9999, 99999}[r.next() % 3];
    return v + (r.chance(0.5) ? -1 : 1) * r.between(150, 700);
}

int elevation_for_climate(const Station& st) { return st.elevation <= -900 ? 100 : st.elevation; }


}  // namespace corvane::data_set
